#include "pdfwriter/PdfCanvas.h"

#include "pdfwriter/PdfDoc.h"
#include "pdfwriter/PdfFonts.h"

#include <cmath>

namespace {

// The text state is kept in these hidden entries of a page while another
// page is current.
const char kFontKey[] = "_Font";
const char kFontSizeKey[] = "_Font_Size";
const char kWordSpaceKey[] = "_Word_Space";
const char kCharSpaceKey[] = "_Char_Space";
const char kHScalingKey[] = "_HScalling";
const char kLeadingKey[] = "_Leading";

} // namespace

TPdfCanvas::TPdfCanvas(TPdfDoc *doc) : m_doc(doc) {}

void TPdfCanvas::RequirePage() const
{
    if (m_page == nullptr) {
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    }
}

bool TPdfCanvas::CanWrite() const
{
    RequirePage();
    return !m_measuringOnly && m_contents != nullptr;
}

void TPdfCanvas::Append(std::string_view bytes)
{
    if (CanWrite()) {
        m_contents->Stream().append(bytes);
    }
}

void TPdfCanvas::AppendNumbers(std::initializer_list<double> values, std::string_view op)
{
    if (!CanWrite()) {
        return;
    }
    std::string &out = m_contents->Stream();
    bool first = true;
    for (double v : values) {
        if (!first) {
            out.push_back(' ');
        }
        first = false;
        pdfformat::appendFloat2(out, v);
    }
    out.push_back(' ');
    out.append(op);
    out.push_back('\n');
}

void TPdfCanvas::SaveState()
{
    const std::string fontName = m_attr.Font != nullptr ? m_attr.Font->Name() : std::string();
    m_page->AddInternalItem(kFontKey, new TPdfName(fontName));
    m_page->AddInternalItem(kFontSizeKey, new TPdfReal(m_attr.FontSize));
    m_page->AddInternalItem(kWordSpaceKey, new TPdfReal(m_attr.WordSpace));
    m_page->AddInternalItem(kCharSpaceKey, new TPdfReal(m_attr.CharSpace));
    m_page->AddInternalItem(kHScalingKey, new TPdfNumber(m_attr.HorizontalScaling));
    m_page->AddInternalItem(kLeadingKey, new TPdfReal(m_attr.Leading));
}

void TPdfCanvas::RestoreOrResetState()
{
    const TPdfName *font = m_page->PdfNameByName(kFontKey);
    if (font != nullptr && !font->Value().empty()) {
        auto real = [this](const char *key, double fallback) {
            const TPdfReal *r = m_page->PdfRealByName(key);
            return static_cast<float>(r != nullptr ? r->Value() : fallback);
        };
        m_attr.Font = m_doc->GetFont(font->Value());
        m_attr.FontSize = real(kFontSizeKey, 10);
        m_attr.WordSpace = real(kWordSpaceKey, 0);
        m_attr.CharSpace = real(kCharSpaceKey, 0);
        m_attr.Leading = real(kLeadingKey, 0);
        const TPdfNumber *scaling = m_page->PdfNumberByName(kHScalingKey);
        m_attr.HorizontalScaling = static_cast<std::uint16_t>(scaling != nullptr ? scaling->Value() : 100);
        return;
    }
    // A fresh page starts with the default state; the font is written so
    // that every page's content begins with "/F0 10 Tf".
    m_attr = TPdfCanvasAttribute{};
    m_attr.Font = nullptr;
    SetFontAndSize(m_doc->GetFont("Arial"), 10);
}

void TPdfCanvas::SetPage(TPdfDictionary *page)
{
    if (m_page != nullptr) {
        SaveState();
    }
    m_page = page;
    m_contents = nullptr;
    if (m_page == nullptr) {
        return;
    }
    m_contents = dynamic_cast<TPdfStream *>(m_page->ValueByName("Contents"));
    RestoreOrResetState();
}

int TPdfCanvas::PageHeight() const
{
    RequirePage();
    const TPdfArray *box = m_page->PdfArrayByName("MediaBox");
    const auto *n = box != nullptr ? dynamic_cast<const TPdfNumber *>(box->Items(3)) : nullptr;
    return n != nullptr ? n->Value() : 0;
}

int TPdfCanvas::PageWidth() const
{
    RequirePage();
    const TPdfArray *box = m_page->PdfArrayByName("MediaBox");
    const auto *n = box != nullptr ? dynamic_cast<const TPdfNumber *>(box->Items(2)) : nullptr;
    return n != nullptr ? n->Value() : 0;
}

void TPdfCanvas::SetPageHeight(int value)
{
    RequirePage();
    const TPdfArray *box = m_page->PdfArrayByName("MediaBox");
    if (auto *n = box != nullptr ? dynamic_cast<TPdfNumber *>(box->Items(3)) : nullptr) {
        n->SetValue(value);
    }
}

void TPdfCanvas::SetPageWidth(int value)
{
    RequirePage();
    const TPdfArray *box = m_page->PdfArrayByName("MediaBox");
    if (auto *n = box != nullptr ? dynamic_cast<TPdfNumber *>(box->Items(2)) : nullptr) {
        n->SetValue(value);
    }
}

void TPdfCanvas::GSave() { Append("q\n"); }
void TPdfCanvas::GRestore() { Append("Q\n"); }
void TPdfCanvas::ClosePath() { Append("h\n"); }
void TPdfCanvas::NewPath() { Append("n\n"); }
void TPdfCanvas::Stroke() { Append("S\n"); }
void TPdfCanvas::ClosePathStroke() { Append("s\n"); }
void TPdfCanvas::Fill() { Append("f\n"); }
void TPdfCanvas::ClosePathFillStroke() { Append("b\n"); }
void TPdfCanvas::Clip() { Append("W\n"); }
void TPdfCanvas::EndText() { Append("ET\n"); }

void TPdfCanvas::BeginText()
{
    m_lineX = 0;
    m_lineY = 0;
    if (m_textSink != nullptr) {
        m_textSink->BeginText();
    }
    Append("BT\n");
}

void TPdfCanvas::MoveToNextLine()
{
    m_lineY -= m_attr.Leading;
    if (m_textSink != nullptr) {
        m_textSink->MoveToNextLine();
    }
    Append("T*\n");
}

void TPdfCanvas::SetDash(const std::vector<int> &pattern, int phase)
{
    if (!CanWrite()) {
        return;
    }
    std::string &out = m_contents->Stream();
    out.push_back('[');
    // A pattern starting with 0 means a solid line.
    if (!pattern.empty() && pattern.front() != 0) {
        for (int v : pattern) {
            pdfformat::appendInt(out, v);
            out.push_back(' ');
        }
    }
    out += "] ";
    pdfformat::appendInt(out, phase);
    out += " d\n";
}

void TPdfCanvas::SetLineWidth(float width) { AppendNumbers({width}, "w"); }
void TPdfCanvas::MoveTo(float x, float y) { AppendNumbers({x, y}, "m"); }
void TPdfCanvas::LineTo(float x, float y) { AppendNumbers({x, y}, "l"); }
void TPdfCanvas::MoveTextPoint(float x, float y)
{
    // Td moves relative to the start of the current line.
    m_lineX += x;
    m_lineY += y;
    if (m_textSink != nullptr) {
        m_textSink->MoveTextPoint(x, y);
    }
    AppendNumbers({x, y}, "Td");
}

void TPdfCanvas::WriteColor(TPdfColor color, std::string_view op)
{
    if (color < 0) {
        color = 0;
    }
    const auto channel = [color](int shift) { return static_cast<double>((color >> shift) & 0xFF) / 255; };
    AppendNumbers({channel(0), channel(8), channel(16)}, op);
}

void TPdfCanvas::SetRGBFillColor(TPdfColor color) { WriteColor(color, "rg"); }
void TPdfCanvas::SetRGBStrokeColor(TPdfColor color) { WriteColor(color, "RG"); }

void TPdfCanvas::SetCharSpace(float value)
{
    // Written as !(in range) so that a NaN is refused too: it would pass
    // every comparison and poison all later measuring.
    if (!(value >= -30 && value <= 300)) {
        throw EPdfInvalidValue("SetCharSpace --invalid char space");
    }
    RequirePage();
    if (value != m_attr.CharSpace) {
        m_attr.CharSpace = value;
        AppendNumbers({value}, "Tc");
    }
}

void TPdfCanvas::SetWordSpace(float value)
{
    // An infinite word space could not be written ("0 Tw" would disagree
    // with the state used for measuring), so only finite values count.
    if (!(std::isfinite(value) && value >= 0)) {
        throw EPdfInvalidValue("SetWordSpace --invalid word space");
    }
    RequirePage();
    if (value != m_attr.WordSpace) {
        m_attr.WordSpace = value;
        AppendNumbers({value}, "Tw");
    }
}

void TPdfCanvas::SetLeading(float value)
{
    if (!(value >= 0 && value <= 300)) {
        throw EPdfInvalidValue("SetLeading --invalid font size");
    }
    RequirePage();
    if (value != m_attr.Leading) {
        m_attr.Leading = value;
        AppendNumbers({value}, "TL");
    }
}

void TPdfCanvas::SetHorizontalScaling(int value)
{
    if (value < 10 || value > 300) {
        throw EPdfInvalidValue("SetHorizontalScaling --invalid font size");
    }
    RequirePage();
    if (value != m_attr.HorizontalScaling) {
        m_attr.HorizontalScaling = static_cast<std::uint16_t>(value);
        AppendNumbers({static_cast<double>(value)}, "Tz");
    }
}

void TPdfCanvas::SetFontAndSize(TPdfFont *font, float size)
{
    if (!(size >= 0 && size <= 300)) {
        throw EPdfInvalidValue("SetCharSpace --invalid font size");
    }
    RequirePage();
    if (font == nullptr || font->Data() == nullptr) {
        throw EPdfInvalidValue("internal error. wrong object.");
    }
    // The current font is among the page's resources already: it was listed
    // when it became current on this page. Most texts of a page keep it.
    if (font == m_attr.Font && size == m_attr.FontSize) {
        return;
    }
    const bool listed = font == m_attr.Font;
    const bool write = CanWrite();
    std::string name;
    if (!listed || write) {
        const TPdfName *resourceName = font->Data()->PdfNameByName("Name");
        name = resourceName != nullptr ? resourceName->Value() : font->Name();
    }
    if (!listed) {
        // The page must list the font among its resources.
        TPdfDictionary *resources = m_page->PdfDictionaryByName("Resources");
        if (resources == nullptr) {
            resources = new TPdfDictionary(m_page->ObjectMgr());
            m_page->AddItem("Resources", resources);
        }
        TPdfDictionary *fonts = resources->PdfDictionaryByName("Font");
        if (fonts == nullptr) {
            fonts = new TPdfDictionary(m_page->ObjectMgr());
            resources->AddItem("Font", fonts);
        }
        if (fonts->ValueByName(name) == nullptr) {
            fonts->AddItem(name, font->Data());
        }
    }

    m_attr.Font = font;
    m_attr.FontSize = size;
    if (write) {
        std::string &out = m_contents->Stream();
        pdfformat::appendEscapedName(out, name);
        out.push_back(' ');
        pdfformat::appendFloat2(out, size);
        out += " Tf\n";
    }
}

void TPdfCanvas::SetFont(const std::string &name, float size)
{
    // Without a page nothing may be created: the font would stay registered.
    RequirePage();
    // The current font needs no search among the document's fonts.
    TPdfFont *font = m_attr.Font != nullptr && m_attr.Font->Name() == name ? m_attr.Font : m_doc->GetFont(name);
    SetFontAndSize(font, size);
}

void TPdfCanvas::ShowText(std::string_view text)
{
    if (m_textSink != nullptr) {
        RequirePage();
        m_textSink->ShowText(m_lineX, m_lineY, text, m_attr);
    }
    if (!CanWrite()) {
        return;
    }
    std::string &out = m_contents->Stream();
    if (pdfformat::hasDoubleByteChar(text)) {
        static const char kHex[] = "0123456789ABCDEF";
        out.push_back('<');
        for (char ch : text) {
            const auto b = static_cast<unsigned char>(ch);
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        }
        out.push_back('>');
    } else {
        pdfformat::appendEscapedText(out, text);
    }
    out += " Tj\n";
}

void TPdfCanvas::TextOut(float x, float y, std::string_view text)
{
    BeginText();
    MoveTextPoint(x, y);
    ShowText(text);
    EndText();
}

float TPdfCanvas::TextWidth(std::string_view text) const
{
    if (m_attr.Font == nullptr) {
        RequirePage();
        return 0;
    }
    std::vector<int> &widths = m_widths;
    m_attr.Font->GetCharWidths(text, widths);
    float result = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        float w = static_cast<float>(widths[i] * static_cast<double>(m_attr.FontSize) / 1000);
        if (m_attr.HorizontalScaling != 100) {
            w = static_cast<float>(w * static_cast<double>(m_attr.HorizontalScaling) / 100);
        }
        if (w > 0) {
            result = static_cast<float>(result + static_cast<double>(w) + m_attr.CharSpace);
        }
        if (text[i] == ' ' && i + 1 < text.size()) {
            result = static_cast<float>(result + static_cast<double>(m_attr.WordSpace));
        }
    }
    return static_cast<float>(result - static_cast<double>(m_attr.CharSpace));
}

int TPdfCanvas::MeasureText(std::string_view text, float width) const
{
    if (m_attr.Font == nullptr) {
        RequirePage();
        return 0;
    }
    std::vector<int> &widths = m_widths;
    m_attr.Font->GetCharWidths(text, widths);
    float sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        float w = static_cast<float>(widths[i] * static_cast<double>(m_attr.FontSize) / 1000);
        if (m_attr.HorizontalScaling != 100) {
            w = static_cast<float>(w * static_cast<double>(m_attr.HorizontalScaling) / 100);
        }
        if (w > 0) {
            sum = static_cast<float>(sum + static_cast<double>(w) + m_attr.CharSpace);
        }
        if (text[i] == ' ' && i + 1 < text.size()) {
            sum = static_cast<float>(sum + static_cast<double>(m_attr.WordSpace));
        }
        if (sum > width) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(text.size());
}

void TPdfCanvas::TextRect(const TPdfRect &rect, std::string_view text, TPdfAlignment alignment, bool clipping)
{
    RequirePage();
    double offset = 0;
    if (alignment == paRightJustify) {
        offset = (static_cast<double>(rect.Right) - rect.Left) - std::nearbyint(TextWidth(text));
    } else if (alignment == paCenter) {
        offset = std::nearbyint((static_cast<double>(rect.Right) - rect.Left - TextWidth(text)) / 2);
    }
    if (clipping) {
        GSave();
        MoveTo(rect.Left, rect.Top);
        LineTo(rect.Left, rect.Bottom);
        LineTo(rect.Right, rect.Bottom);
        LineTo(rect.Right, rect.Top);
        ClosePath();
        Clip();
        NewPath();
    }
    BeginText();
    MoveTextPoint(static_cast<float>(rect.Left + offset),
                  static_cast<float>(rect.Top - static_cast<double>(m_attr.FontSize) * 0.85));
    ShowText(text);
    EndText();
    if (clipping) {
        GRestore();
    }
}

namespace {

// The next word of a text block: up to and including the next space, or the
// next LF that follows a CR, or the end of the text.
std::size_t wordEnd(std::string_view text, std::size_t pos)
{
    for (std::size_t i = pos; i < text.size(); ++i) {
        if (text[i] == ' ') {
            return i + 1;
        }
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r') {
            return i + 1;
        }
    }
    return text.size();
}

bool endsWithSpace(std::string_view word)
{
    return !word.empty() && word.back() == ' ';
}

} // namespace

void TPdfCanvas::MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap)
{
    RequirePage();
    TPdfTextLayout &layout = m_layout;
    LayoutTextRect(rect, text, wordWrap, layout);
    BeginText();
    MoveTextPoint(rect.Left, static_cast<float>(rect.Top - static_cast<double>(m_attr.FontSize) * 0.85));
    for (std::size_t i = 0; i < layout.Lines.size(); ++i) {
        const TPdfTextLine &line = layout.Lines[i];
        if (i > 0) {
            MoveToNextLine();
        }
        if (line.Length > 0) {
            ShowText(text.substr(line.Start, line.Shown));
        }
    }
    if (layout.DroppedAt != TPdfTextLayout::npos) {
        MoveToNextLine();
    }
    EndText();
}

TPdfTextLayout TPdfCanvas::LayoutTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) const
{
    TPdfTextLayout layout;
    LayoutTextRect(rect, text, wordWrap, layout);
    return layout;
}

void TPdfCanvas::LayoutTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap,
                                TPdfTextLayout &layout) const
{
    layout.Lines.clear();
    layout.DroppedAt = TPdfTextLayout::npos;
    float top = rect.Top;
    const float lineWidth = rect.Right - rect.Left;
    const auto advance = [&](std::string_view word) {
        double w = TextWidth(word);
        if (endsWithSpace(word)) {
            w += m_attr.WordSpace;
        }
        return w;
    };
    // A line is a run of whole words, so it is a range of the text; a break
    // that ends it is taken off when the next word arrives.
    std::size_t lineStart = 0;
    std::size_t lineLength = 0;
    const auto endLine = [&] {
        const std::string_view line = text.substr(lineStart, lineLength);
        const std::size_t shown = line.empty() ? 0 : static_cast<std::size_t>(MeasureText(line, lineWidth));
        layout.Lines.push_back(TPdfTextLine{lineStart, lineLength, shown});
    };

    std::size_t pos = 0;
    std::size_t end = wordEnd(text, pos);
    lineLength = end - pos;
    float x = static_cast<float>(rect.Left + advance(text.substr(pos, end - pos)));
    pos = end;

    while (pos < text.size()) {
        const std::size_t wordStart = pos;
        end = wordEnd(text, pos);
        const std::string_view word = text.substr(pos, end - pos);
        pos = end;

        bool forced = false;
        if (lineLength >= 2 && text.compare(lineStart + lineLength - 2, 2, "\r\n") == 0) {
            lineLength -= 2;
            forced = true;
        }
        const double wordWidth = TextWidth(word);
        if (forced || (wordWrap && x + wordWidth > rect.Right)) {
            endLine();
            top = static_cast<float>(static_cast<double>(top) - m_attr.Leading);
            if (rect.Bottom + static_cast<double>(m_attr.FontSize) > top) {
                // The next line would fall below the box: drop the rest.
                layout.DroppedAt = wordStart;
                return;
            }
            x = rect.Left;
            lineStart = wordStart;
            lineLength = 0;
        }
        x = static_cast<float>(x + wordWidth + (endsWithSpace(word) ? m_attr.WordSpace : 0.0f));
        lineLength += word.size();
    }
    endLine();
}
