#include "report/PReport.h"

#include "plan/TextParse.h"

#include <algorithm>
#include <array>

TPdfCanvas &TPRPdfCanvas::Canvas() const
{
    if (m_canvas == nullptr) {
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    }
    return *m_canvas;
}

// ---- component tree ---------------------------------------------------------

TPRControl::TPRControl(std::string name, bool windowed) : m_name(std::move(name)), m_windowed(windowed) {}

TPRControl::~TPRControl()
{
    if (m_parent != nullptr) {
        // Searched from the end: a form that frees its items last-made first
        // finds each at once.
        auto &siblings = m_parent->m_children;
        const auto it = std::find(siblings.rbegin(), siblings.rend(), this);
        if (it != siblings.rend()) {
            siblings.erase(std::next(it).base());
        }
    }
    for (TPRControl *child : m_children) {
        child->m_parent = nullptr;
    }
}

void TPRControl::SetBounds(int left, int top, int width, int height)
{
    m_bounds = TRect{left, top, left + width, top + height};
}

void TPRControl::SetParent(TPRControl *parent)
{
    if (parent == m_parent) {
        return;
    }
    if (parent != nullptr) {
        CheckParent(*parent);
    }
    if (m_parent != nullptr) {
        // Searched from the end: a form that frees its items last-made first
        // finds each at once.
        auto &siblings = m_parent->m_children;
        const auto it = std::find(siblings.rbegin(), siblings.rend(), this);
        if (it != siblings.rend()) {
            siblings.erase(std::next(it).base());
        }
    }
    m_parent = parent;
    if (parent != nullptr) {
        parent->m_children.push_back(this);
    }
}

std::vector<TPRControl *> TPRControl::ChildrenInPrintOrder() const
{
    std::vector<TPRControl *> ordered;
    ordered.reserve(m_children.size());
    std::copy_if(m_children.begin(), m_children.end(), std::back_inserter(ordered),
                 [](const TPRControl *c) { return !c->IsWindowed(); });
    std::copy_if(m_children.begin(), m_children.end(), std::back_inserter(ordered),
                 [](const TPRControl *c) { return c->IsWindowed(); });
    return ordered;
}

void TPRControl::CheckParent(const TPRControl &) const {}

void TPRControl::PrintInParent(TPRCanvas &, const TRect &) {}

TRect TPRControl::OffsetBy(const TRect &parent) const
{
    return TRect{m_bounds.Left + parent.Left, m_bounds.Top + parent.Top, m_bounds.Right + parent.Left,
                 m_bounds.Bottom + parent.Top};
}

void TPRControl::PrintChildren(TPRCanvas &canvas, const TRect &rect)
{
    // Two passes over the children instead of a reordered copy: this runs
    // for every panel of every page laid out.
    for (TPRControl *child : m_children) {
        if (!child->m_windowed) {
            child->PrintInParent(canvas, rect);
        }
    }
    for (TPRControl *child : m_children) {
        if (child->m_windowed) {
            child->PrintInParent(canvas, rect);
        }
    }
}

TPRPanel::TPRPanel(std::string name) : TPRControl(std::move(name), true)
{
    SetBounds(0, 0, 100, 100);
}

void TPRPanel::CheckParent(const TPRControl &parent) const
{
    if (dynamic_cast<const TPRPage *>(&parent) == nullptr && dynamic_cast<const TPRPanel *>(&parent) == nullptr) {
        throw EPReportError(std::string("TPRPage can not set on ") + parent.ClassName());
    }
}

void TPRPanel::Print(TPRCanvas &canvas, const TRect &rect)
{
    PrintChildren(canvas, rect);
}

void TPRPanel::PrintInParent(TPRCanvas &canvas, const TRect &parent)
{
    Print(canvas, OffsetBy(parent));
}

TPRPage::TPRPage(std::string name) : TPRControl(std::move(name), true)
{
    SetBounds(0, 0, 596, 842);
}

void TPRPage::CheckParent(const TPRControl &parent) const
{
    throw EPReportError(std::string("TPRPage can not set on ") + parent.ClassName());
}

void TPRPage::Print(TPRCanvas &canvas)
{
    canvas.SetPageHeight(Height());
    canvas.SetPageWidth(Width());
    // Only panels sit on a page; each prints at its own bounds.
    PrintChildren(canvas, TRect{});
}

TPRItem::TPRItem(std::string name) : TPRControl(std::move(name), false)
{
    SetBounds(0, 0, 100, 30);
}

void TPRItem::CheckParent(const TPRControl &parent) const
{
    if (dynamic_cast<const TPRPanel *>(&parent) == nullptr) {
        throw EPReportError("this component must set on TPRPanel");
    }
}

void TPRItem::PrintInParent(TPRCanvas &canvas, const TRect &parent)
{
    canvas.BeginItem(*this);
    Print(canvas, OffsetBy(parent));
}

// ---- labels and text blocks ---------------------------------------------------

TPRCustomLabel::TPRCustomLabel(std::string name) : TPRItem(std::move(name)) {}

void TPRCustomLabel::SetFontSize(double value)
{
    if (value > 0) {
        m_fontSize = value;
    }
}

const std::string &TPRCustomLabel::InternalFontName() const
{
    static const std::string regular = "Gothic";
    static const std::string bold = "Gothic,Bold";
    return m_fontBold ? bold : regular;
}

namespace {

constexpr TPdfColor kBlack = 0x000000;
// The dash pattern of a solid line ("[] 0 d").
const std::vector<int> kSolid{0};

// Page coordinates (y upward) of a component rectangle.
TPdfRect toPdfRect(const TRect &rect, int pageHeight)
{
    return TPdfRect{static_cast<float>(rect.Left), static_cast<float>(pageHeight - rect.Top),
                    static_cast<float>(rect.Right), static_cast<float>(pageHeight - rect.Bottom)};
}

} // namespace

TPRLabel::TPRLabel(std::string name) : TPRCustomLabel(std::move(name)) {}

void TPRLabel::Print(TPRCanvas &canvas, const TRect &rect)
{
    if (Caption.empty()) {
        return;
    }
    canvas.SetFont(InternalFontName(), static_cast<float>(FontSize()));
    canvas.SetRGBFillColor(kBlack);
    canvas.TextRect(toPdfRect(rect, canvas.PageHeight()), Caption);
}

TPRText::TPRText(std::string name) : TPRCustomLabel(std::move(name)) {}

std::string TPRText::Text() const
{
    std::string text;
    for (const std::string &line : Lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TPRText::SetText(std::string_view text)
{
    Lines.clear();
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            Lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        Lines.emplace_back(text.substr(start));
    }
}

void TPRText::SetLeading(double value)
{
    if (value >= 0) {
        m_leading = value;
    }
}

std::string TPRText::PrintedText() const
{
    // Text() trimmed: the break after the last line is a control character
    // that trimming drops, so the lines are joined with breaks between them
    // only, and the blanks are dropped in place.
    std::size_t size = 0;
    for (const std::string &line : Lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += Lines[i];
    }
    const std::string_view kept = plantext::trimmed(text);
    const auto first = static_cast<std::size_t>(kept.data() - text.data());
    text.erase(first + kept.size());
    text.erase(0, first);
    return text;
}

namespace {

// The text state of a text block, on either kind of canvas: both take the
// same operators with the same values.
template <class Canvas> void selectTextState(const TPRText &text, Canvas &canvas)
{
    canvas.SetFont(text.InternalFontName(), static_cast<float>(text.FontSize()));
    canvas.SetRGBFillColor(kBlack);
    canvas.SetLeading(static_cast<float>(text.Leading()));
}

} // namespace

TPdfTextLayout TPRText::Layout(TPdfCanvas &canvas, const TRect &rect) const
{
    selectTextState(*this, canvas);
    return canvas.LayoutTextRect(toPdfRect(rect, canvas.PageHeight()), PrintedText(), WordWrap);
}

void TPRText::Print(TPRCanvas &canvas, const TRect &rect)
{
    const std::string text = PrintedText();
    selectTextState(*this, canvas);
    canvas.MultilineTextRect(toPdfRect(rect, canvas.PageHeight()), text, WordWrap);
}

// ---- rectangles -----------------------------------------------------------------

TPRRect::TPRRect(std::string name) : TPRItem(std::move(name)) {}

void TPRRect::Print(TPRCanvas &canvas, const TRect &rect)
{
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 1 && height <= 1) {
        return;
    }
    const int pageHeight = canvas.PageHeight();
    // The outline runs along the inside of the right and bottom edges.
    const auto x0 = static_cast<float>(rect.Left);
    const auto y0 = static_cast<float>(pageHeight - rect.Top);
    const auto x1 = static_cast<float>(width > 1 ? rect.Right - 1 : rect.Right);
    const auto y1 = static_cast<float>(height >= 2 ? pageHeight - rect.Bottom + 1 : pageHeight - rect.Bottom);

    canvas.SetDash(kSolid, 0);
    canvas.MoveTo(x0, y0);
    if (width > 1) {
        canvas.LineTo(x1, y0);
        if (height > 1) {
            canvas.LineTo(x1, y1);
        }
    }
    if (height > 1) {
        canvas.LineTo(x0, y1);
    }
    canvas.SetRGBStrokeColor(kBlack);
    canvas.SetLineWidth(0);
    if (width > 1 && height > 1) {
        canvas.ClosePathStroke();
    } else {
        canvas.Stroke();
        canvas.NewPath();
    }
}

// ---- the report -----------------------------------------------------------------

TPReport::TPReport() : m_creationDate(currentDateTime()) {}

TPReport::~TPReport() = default;

void TPReport::CheckNoDoc(const char *message) const
{
    if (m_doc) {
        throw EPdfInvalidOperation(message);
    }
}

void TPReport::SetAuthor(std::string value)
{
    CheckNoDoc("SetAuthor --invalid operation.");
    m_author = std::move(value);
}

void TPReport::SetCreationDate(TDateTime value)
{
    CheckNoDoc("SetCreationDate --invalid operation.");
    m_creationDate = value;
}

void TPReport::SetCreator(std::string value)
{
    CheckNoDoc("SetCreator --invalid operation.");
    m_creator = std::move(value);
}

void TPReport::SetModDate(TDateTime value)
{
    CheckNoDoc("SetModDate --invalid operation.");
    m_modDate = value;
}

void TPReport::SetKeywords(std::string value)
{
    CheckNoDoc("SetKeywords --invalid operation.");
    m_keywords = std::move(value);
}

void TPReport::SetSubject(std::string value)
{
    CheckNoDoc("SetSubject --invalid operation.");
    m_subject = std::move(value);
}

void TPReport::SetUseOutlines(bool value)
{
    CheckNoDoc("SetUseOutlines --invalid operation.");
    m_useOutlines = value;
}

void TPReport::SetViewerPreference(TPdfViewerPreferences value)
{
    CheckNoDoc("SetViewerPreference --invalid operation.");
    m_viewerPreference = value;
}

void TPReport::BeginDoc()
{
    Abort();
    auto doc = std::make_unique<TPdfDoc>();
    if (m_clock) {
        doc->SetClock(m_clock);
    }
    doc->SetUseOutlines(m_useOutlines);
    doc->NewDoc();
    if (m_useOutlines) {
        doc->OutlineRoot();
    }
    TPdfCatalog &catalog = doc->Root();
    catalog.SetPageMode(pmUseNone);
    catalog.SetPageLayout(plSinglePage);
    if (m_viewerPreference != 0) {
        catalog.SetViewerPreference(m_viewerPreference);
    }
    TPdfInfo &info = doc->Info();
    info.SetAuthor(m_author);
    info.SetCreationDate(m_creationDate);
    info.SetCreator(m_creator);
    info.SetKeywords(m_keywords);
    info.SetModDate(m_modDate);
    info.SetSubject(m_subject);
    info.SetTitle("");
    m_doc = std::move(doc);
    m_pageCount = 0;
}

void TPReport::Print(TPRPage &page)
{
    if (!m_doc) {
        throw EInvalidOperation("document is null..");
    }
    m_doc->AddPage();
    ++m_pageCount;
    m_canvas.SetPdfCanvas(&m_doc->Canvas());
    page.Print(m_canvas);
}

std::string TPReport::EndDocToString()
{
    if (!m_doc) {
        throw EInvalidOperation("document is null..");
    }
    std::string bytes = m_doc->SaveToString();
    Abort();
    return bytes;
}

void TPReport::Abort()
{
    m_canvas.SetPdfCanvas(nullptr);
    m_doc.reset();
}
