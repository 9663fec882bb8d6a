#include "report/PReport.h"

#include "plan/Cp932.h"
#include "plan/TextParse.h"

#include <algorithm>
#include <array>

std::string PRFontName(TPRFontName name, bool bold, bool italic)
{
    // Regular, bold, italic, bold italic.
    static const std::array<std::array<const char *, 4>, 7> names = {{
        {"FixedWidth", "FixedWidth-Bold", "FixedWidth-Italic", "FixedWidth-BoldItalic"},
        {"Arial", "Arial-Bold", "Arial-Italic", "Arial-BoldItalic"},
        {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
        {"Gothic", "Gothic,Bold", "Gothic,Italic", "Gothic,BoldItalic"},
        {"Mincyo", "Mincyo,Bold", "Mincyo,Italic", "Mincyo,BoldItalic"},
        {"PGothic", "PGothic,Bold", "PGothic,Italic", "PGothic,BoldItalic"},
        {"PMincyo", "PMincyo,Bold", "PMincyo,Italic", "PMincyo,BoldItalic"},
    }};
    const std::size_t style = (bold ? 1u : 0u) + (italic ? 2u : 0u);
    return names.at(static_cast<std::size_t>(name))[style];
}

TPdfCanvas &TPRPdfCanvas::Canvas() const
{
    if (m_canvas == nullptr) {
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    }
    return *m_canvas;
}

// ---- component tree ---------------------------------------------------------

TPRControl::TPRControl(std::string name) : m_name(std::move(name)) {}

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

TPRPanel::TPRPanel(std::string name) : TPRControl(std::move(name))
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

void TPRPanel::PrintChildren(TPRCanvas &canvas, const TRect &rect)
{
    for (TPRControl *child : ChildrenInPrintOrder()) {
        TRect r = child->BoundsRect();
        r.Left += rect.Left;
        r.Right += rect.Left;
        r.Top += rect.Top;
        r.Bottom += rect.Top;
        if (auto *panel = dynamic_cast<TPRPanel *>(child)) {
            panel->Print(canvas, r);
        } else if (auto *item = dynamic_cast<TPRItem *>(child)) {
            if (item->Printable) {
                canvas.BeginItem(*item);
                item->Print(canvas, r);
            }
        }
    }
}

TPRLayoutPanel::TPRLayoutPanel(std::string name) : TPRPanel(std::move(name)) {}

void TPRLayoutPanel::Print(TPRCanvas &canvas, const TRect &rect)
{
    if (BeforePrint) {
        BeforePrint(*this, canvas, rect);
    }
    PrintChildren(canvas, rect);
    if (AfterPrint) {
        AfterPrint(*this, canvas, rect);
    }
}

TPRPage::TPRPage(std::string name) : TPRControl(std::move(name))
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
    if (OnPrintPage) {
        OnPrintPage(*this, canvas);
    }
    for (TPRControl *child : ChildrenInPrintOrder()) {
        if (auto *panel = dynamic_cast<TPRPanel *>(child)) {
            panel->Print(canvas, panel->BoundsRect());
        }
    }
}

TPRItem::TPRItem(std::string name) : TPRControl(std::move(name))
{
    SetBounds(0, 0, 100, 30);
}

void TPRItem::CheckParent(const TPRControl &parent) const
{
    if (dynamic_cast<const TPRPanel *>(&parent) == nullptr) {
        throw EPReportError("this component must set on TPRPanel");
    }
}

// ---- labels and text blocks ---------------------------------------------------

TPRCustomLabel::TPRCustomLabel(std::string name) : TPRItem(std::move(name)) {}

void TPRCustomLabel::SetFontColor(TColor value)
{
    if (value > 0x0FFFFFFF) {
        throw EPdfInvalidValue("the color you selected is not allowed.");
    }
    m_fontColor = value;
}

void TPRCustomLabel::SetFontSize(double value)
{
    if (value > 0) {
        m_fontSize = value;
    }
}

void TPRCustomLabel::SetWordSpace(double value)
{
    if (value >= 0) {
        m_wordSpace = value;
    }
}

namespace {

// Page coordinates (y upward) of a component rectangle.
TPdfRect toPdfRect(const TRect &rect, int pageHeight)
{
    return TPdfRect{static_cast<float>(rect.Left), static_cast<float>(pageHeight - rect.Top),
                    static_cast<float>(rect.Right), static_cast<float>(pageHeight - rect.Bottom)};
}

// Characters of a CP932 text; a double-byte character counts once.
int charCount(std::string_view text)
{
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (cp932::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
        ++count;
    }
    return count;
}

TPdfAlignment pdfAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return paRightJustify;
    case taCenter:
        return paCenter;
    case taLeftJustify:
        break;
    }
    return paLeftJustify;
}

} // namespace

TPRLabel::TPRLabel(std::string name) : TPRCustomLabel(std::move(name)) {}

void TPRLabel::Print(TPRCanvas &prCanvas, const TRect &rect)
{
    if (Caption.empty()) {
        return;
    }
    TPRCanvas &canvas = prCanvas;
    canvas.SetFont(InternalFontName(), static_cast<float>(FontSize()));
    canvas.SetRGBFillColor(FontColor());
    canvas.SetWordSpace(static_cast<float>(WordSpace()));
    if (AlignJustified) {
        // Spread the characters over the whole width of the label.
        canvas.SetCharSpace(0);
        const int chars = charCount(Caption);
        if (chars >= 2) {
            const double space = (Width() - static_cast<double>(canvas.TextWidth(Caption))) / (chars - 1);
            if (space > 0) {
                canvas.SetCharSpace(static_cast<float>(space));
            }
        }
    } else {
        canvas.SetCharSpace(static_cast<float>(CharSpace()));
    }
    canvas.TextRect(toPdfRect(rect, canvas.PageHeight()), Caption, pdfAlignment(Alignment), Clipping);
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
    return std::string(plantext::trimmed(Text()));
}

namespace {

// The text state of a text block, on either kind of canvas: both take the
// same operators with the same values.
template <class Canvas> void selectTextState(const TPRText &text, Canvas &canvas)
{
    canvas.SetFont(text.InternalFontName(), static_cast<float>(text.FontSize()));
    canvas.SetRGBFillColor(text.FontColor());
    canvas.SetCharSpace(static_cast<float>(text.CharSpace()));
    canvas.SetWordSpace(static_cast<float>(text.WordSpace()));
    canvas.SetLeading(static_cast<float>(text.Leading()));
}

} // namespace

void TPRText::SelectTextState(TPdfCanvas &canvas) const
{
    selectTextState(*this, canvas);
}

void TPRText::SelectTextState(TPRCanvas &canvas) const
{
    selectTextState(*this, canvas);
}

TPdfTextLayout TPRText::Layout(TPdfCanvas &canvas, const TRect &rect) const
{
    SelectTextState(canvas);
    return canvas.LayoutTextRect(toPdfRect(rect, canvas.PageHeight()), PrintedText(), WordWrap);
}

void TPRText::Print(TPRCanvas &canvas, const TRect &rect)
{
    const std::string text = PrintedText();
    SelectTextState(canvas);
    canvas.MultilineTextRect(toPdfRect(rect, canvas.PageHeight()), text, WordWrap);
}

// ---- shapes -------------------------------------------------------------------

TPRShape::TPRShape(std::string name) : TPRItem(std::move(name)) {}

void TPRShape::SetLineWidth(double value)
{
    if (value >= 0) {
        m_lineWidth = value;
    }
}

TPRRect::TPRRect(std::string name) : TPRShape(std::move(name)) {}

void TPRRect::Print(TPRCanvas &prCanvas, const TRect &rect)
{
    const int width = rect.Width();
    const int height = rect.Height();
    const bool lineVisible = LineColor != clNone && LineStyle != psClear;
    if ((width <= 1 && height <= 1) || (!lineVisible && (width < 2 || height < 2))) {
        return;
    }
    TPRCanvas &canvas = prCanvas;
    const int pageHeight = canvas.PageHeight();
    // The outline runs along the inside of the right and bottom edges.
    const auto x0 = static_cast<float>(rect.Left);
    const auto y0 = static_cast<float>(pageHeight - rect.Top);
    const auto x1 = static_cast<float>(width > 1 ? rect.Right - 1 : rect.Right);
    const auto y1 = static_cast<float>(height >= 2 ? pageHeight - rect.Bottom + 1 : pageHeight - rect.Bottom);

    switch (LineStyle) {
    case psSolid:
    case psInsideFrame:
        canvas.SetDash({0}, 0);
        break;
    case psDash:
        canvas.SetDash({16, 8}, 0);
        break;
    case psDot:
        canvas.SetDash({8, 7, 2, 7}, 0);
        break;
    case psDashDot:
        canvas.SetDash({8, 4, 2, 4, 2, 4}, 0);
        break;
    case psDashDotDot:
        canvas.SetDash({3}, 0);
        break;
    case psClear:
        break;
    }

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

    const bool box = width > 1 && height > 1;
    const bool filled = FillColor != clNone;
    if (filled && box) {
        canvas.SetRGBFillColor(FillColor);
    }
    if (LineColor != clNone) {
        canvas.SetRGBStrokeColor(LineColor);
        canvas.SetLineWidth(static_cast<float>(LineWidth()));
    }
    if (box && !filled) {
        canvas.ClosePathStroke();
    } else if (box) {
        canvas.ClosePath();
        if (!lineVisible) {
            canvas.Fill();
        } else {
            canvas.ClosePathFillStroke();
        }
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
