#include "pdfwriter/PdfDoc.h"

#include "pdfwriter/PdfFonts.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

const char kProducer[] = "Ovilant version 1.0";

// The text state is kept in these hidden entries of a page while another
// page is current.
const char kFontKey[] = "_Font";
const char kFontSizeKey[] = "_Font_Size";
const char kWordSpaceKey[] = "_Word_Space";
const char kCharSpaceKey[] = "_Char_Space";
const char kHScalingKey[] = "_HScalling";
const char kLeadingKey[] = "_Leading";

// Bytes collected before they are handed to the output.
constexpr std::size_t kFlushSize = 64 * 1024;

const char *const kPageLayoutNames[] = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
const char *const kPageModeNames[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};
const char *const kViewerPreferenceKeys[] = {"HideToolbar", "HideMenubar", "HideWindowUI", "FitWindow",
                                             "CenterWindow"};

} // namespace

// ---------------------------------------------------------------------------

bool TPdfStringOutput::Write(std::string_view bytes)
{
    m_target.append(bytes);
    return true;
}

TPdfFileOutput::TPdfFileOutput(const std::string &path)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        throw EPdfWriteError("Cannot create file \"" + path + "\"");
    }
}

TPdfFileOutput::~TPdfFileOutput()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool TPdfFileOutput::Write(std::string_view bytes)
{
    if (m_file == nullptr || m_failed) {
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_failed = true;
    }
    return !m_failed;
}

void TPdfFileOutput::Close()
{
    if (m_file == nullptr) {
        return;
    }
    const bool flushed = std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (m_failed || !flushed || !closed) {
        throw EPdfWriteError("SaveToStream --failed to write the file.");
    }
}

// ---------------------------------------------------------------------------

void TPdfHeader::WriteToStream(std::string &out) const
{
    out += "%PDF-1.2 \r\n";
}

TPdfTrailer::TPdfTrailer(TPdfObjectMgr *objectMgr) : m_attributes(std::make_unique<TPdfDictionary>(objectMgr))
{
    m_attributes->AddItem("Size", new TPdfNumber(0));
}

void TPdfTrailer::WriteToStream(std::string &out)
{
    out += "trailer\r\n";
    m_attributes->WriteToStream(out);
    out += "\r\nstartxref\r\n";
    pdfformat::appendInt(out, m_xrefAddress);
    out += "\r\n%%EOF\r\n";
}

std::string PdfDateString(TDateTime value)
{
    double day = std::trunc(value);
    long long ms = std::llround(std::fabs(value - day) * 86400000.0);
    if (ms >= 86400000LL) {
        ms -= 86400000LL;
        day += value < 0 ? -1 : 1;
    }
    const CivilDate date = decodeDate(day);
    const long long seconds = ms / 1000;
    char buf[40];
    std::snprintf(buf, sizeof buf, "D:%04d%02d%02d%02lld%02lld%02lld", date.year, date.month, date.day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

// ---------------------------------------------------------------------------

void TPdfInfo::SetText(const char *key, const std::string &value)
{
    Data()->AddItem(key, new TPdfText(value));
}

std::string TPdfInfo::Text(const char *key) const
{
    const TPdfText *text = Data()->PdfTextByName(key);
    return text != nullptr ? text->Value() : std::string();
}

void TPdfInfo::SetAuthor(const std::string &value) { SetText("Author", value); }
void TPdfInfo::SetCreationDate(TDateTime value) { SetText("CreationDate", PdfDateString(value)); }
void TPdfInfo::SetModDate(TDateTime value) { SetText("ModDate", PdfDateString(value)); }
void TPdfInfo::SetCreator(const std::string &value) { SetText("Creator", value); }
void TPdfInfo::SetProducer(const std::string &value) { SetText("Producer", value); }
void TPdfInfo::SetTitle(const std::string &value) { SetText("Title", value); }
void TPdfInfo::SetSubject(const std::string &value) { SetText("Subject", value); }
void TPdfInfo::SetKeywords(const std::string &value) { SetText("Keywords", value); }
std::string TPdfInfo::Author() const { return Text("Author"); }
std::string TPdfInfo::Creator() const { return Text("Creator"); }
std::string TPdfInfo::Title() const { return Text("Title"); }
std::string TPdfInfo::Subject() const { return Text("Subject"); }
std::string TPdfInfo::Keywords() const { return Text("Keywords"); }

// ---------------------------------------------------------------------------

void TPdfCatalog::SetPages(TPdfDictionary *pages)
{
    if (pages != nullptr && pages->TypeOf() == "Pages") {
        Data()->AddItem("Pages", pages);
    }
}

void TPdfCatalog::SetPageLayout(TPdfPageLayout value)
{
    Data()->AddItem("PageLayout", new TPdfName(kPageLayoutNames[value]));
}

void TPdfCatalog::SetPageMode(TPdfPageMode value)
{
    Data()->AddItem("PageMode", new TPdfName(kPageModeNames[value]));
}

TPdfDictionary *TPdfCatalog::ViewerPreferences()
{
    TPdfDictionary *prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    if (prefs == nullptr) {
        prefs = new TPdfDictionary(Data()->ObjectMgr());
        Data()->AddItem("ViewerPreferences", prefs);
    }
    return prefs;
}

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode value)
{
    TPdfDictionary *prefs = ViewerPreferences();
    if (value == pmUseNone || value == pmFullScreen) {
        prefs->RemoveItem("NonFullScreenPageMode");
    } else {
        prefs->AddItem("NonFullScreenPageMode", new TPdfName(kPageModeNames[value]));
    }
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences value)
{
    TPdfDictionary *prefs = ViewerPreferences();
    for (unsigned i = 0; i < 5; ++i) {
        if ((value & (1u << i)) != 0) {
            prefs->AddItem(kViewerPreferenceKeys[i], new TPdfBoolean(true));
        } else {
            prefs->RemoveItem(kViewerPreferenceKeys[i]);
        }
    }
}

TPdfPageLayout TPdfCatalog::PageLayout() const
{
    if (const TPdfName *name = Data()->PdfNameByName("PageLayout")) {
        for (int i = 0; i < 4; ++i) {
            if (name->Value() == kPageLayoutNames[i]) {
                return static_cast<TPdfPageLayout>(i);
            }
        }
    }
    return plSinglePage;
}

TPdfPageMode TPdfCatalog::PageMode() const
{
    if (const TPdfName *name = Data()->PdfNameByName("PageMode")) {
        for (int i = 0; i < 4; ++i) {
            if (name->Value() == kPageModeNames[i]) {
                return static_cast<TPdfPageMode>(i);
            }
        }
    }
    return pmUseNone;
}

// ---------------------------------------------------------------------------

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
void TPdfCanvas::BeginText() { Append("BT\n"); }
void TPdfCanvas::EndText() { Append("ET\n"); }
void TPdfCanvas::MoveToNextLine() { Append("T*\n"); }

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
void TPdfCanvas::MoveTextPoint(float x, float y) { AppendNumbers({x, y}, "Td"); }

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
    const TPdfName *resourceName = font->Data()->PdfNameByName("Name");
    const std::string name = resourceName != nullptr ? resourceName->Value() : font->Name();

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

    if (font != m_attr.Font || size != m_attr.FontSize) {
        m_attr.Font = font;
        m_attr.FontSize = size;
        if (CanWrite()) {
            std::string &out = m_contents->Stream();
            pdfformat::appendEscapedName(out, name);
            out.push_back(' ');
            pdfformat::appendFloat2(out, size);
            out += " Tf\n";
        }
    }
}

void TPdfCanvas::SetFont(const std::string &name, float size)
{
    // Without a page nothing may be created: the font would stay registered.
    RequirePage();
    SetFontAndSize(m_doc->GetFont(name), size);
}

void TPdfCanvas::ShowText(std::string_view text)
{
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
    std::vector<int> widths;
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
    std::vector<int> widths;
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
    float top = rect.Top;
    BeginText();
    MoveTextPoint(rect.Left, static_cast<float>(top - static_cast<double>(m_attr.FontSize) * 0.85));

    const float lineWidth = rect.Right - rect.Left;
    const auto showCut = [&](std::string_view line) {
        ShowText(line.substr(0, static_cast<std::size_t>(MeasureText(line, lineWidth))));
    };
    const auto advance = [&](std::string_view word) {
        double w = TextWidth(word);
        if (endsWithSpace(word)) {
            w += m_attr.WordSpace;
        }
        return w;
    };

    std::size_t pos = 0;
    std::size_t end = wordEnd(text, pos);
    std::string line(text.substr(pos, end - pos));
    float x = static_cast<float>(rect.Left + advance(line));
    pos = end;

    while (pos < text.size()) {
        end = wordEnd(text, pos);
        const std::string_view word = text.substr(pos, end - pos);
        pos = end;

        bool forced = false;
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
            line.resize(line.size() - 2);
            forced = true;
        }
        const double wordWidth = TextWidth(word);
        if (forced || (wordWrap && x + wordWidth > rect.Right)) {
            if (!line.empty()) {
                showCut(line);
            }
            line.clear();
            MoveToNextLine();
            top = static_cast<float>(static_cast<double>(top) - m_attr.Leading);
            if (rect.Bottom + static_cast<double>(m_attr.FontSize) > top) {
                // The next line would fall below the box: drop the rest.
                EndText();
                return;
            }
            x = rect.Left;
        }
        x = static_cast<float>(x + wordWidth + (endsWithSpace(word) ? m_attr.WordSpace : 0.0f));
        line.append(word);
    }
    if (!line.empty()) {
        showCut(line);
    }
    EndText();
}

// ---------------------------------------------------------------------------

TPdfDoc::TPdfDoc() : m_clock(currentDateTime) {}

TPdfDoc::~TPdfDoc()
{
    FreeDoc();
}

void TPdfDoc::SetClock(std::function<TDateTime()> clock)
{
    m_clock = clock ? std::move(clock) : std::function<TDateTime()>(currentDateTime);
}

TDateTime TPdfDoc::Now() const
{
    return m_clock();
}

void TPdfDoc::SetUseOutlines(bool value)
{
    m_useOutlines = value;
}

void TPdfDoc::SetCompressionMethod(TPdfCompressionMethod value)
{
    m_compressionMethod = value;
}

void TPdfDoc::NewDoc()
{
    FreeDoc();
    try {
        m_xref = std::make_unique<TPdfXref>();
        m_header = std::make_unique<TPdfHeader>();
        m_trailer = std::make_unique<TPdfTrailer>(m_xref.get());

        auto *catalog = new TPdfDictionary(m_xref.get());
        m_xref->AddObject(catalog);
        catalog->AddItem("Type", new TPdfName("Catalog"));
        m_trailer->Attributes().AddItem("Root", catalog);
        m_catalog = std::make_unique<TPdfCatalog>();
        m_catalog->SetData(catalog);

        if (m_useOutlines) {
            m_outlineRoot = new TPdfDictionary(m_xref.get());
            m_xref->AddObject(m_outlineRoot);
            m_outlineRoot->AddItem("Type", new TPdfName("Outlines"));
            catalog->AddItem("Outlines", m_outlineRoot);
        }

        auto *info = new TPdfDictionary(m_xref.get());
        m_xref->AddObject(info);
        info->AddItem("Producer", new TPdfText(kProducer));
        m_trailer->Attributes().AddItem("Info", info);
        m_info = std::make_unique<TPdfInfo>();
        m_info->SetData(info);
        m_info->SetCreationDate(Now());

        m_root = new TPdfDictionary(m_xref.get());
        m_xref->AddObject(m_root);
        m_root->AddItem("Type", new TPdfName("Pages"));
        m_root->AddItem("Kids", new TPdfArray(m_xref.get()));
        m_root->AddItem("Count", new TPdfNumber(0));
        catalog->AddItem("Pages", m_root);
        m_catalog->SetPages(m_root);

        m_canvas = std::make_unique<TPdfCanvas>(this);
        m_hasDoc = true;
    } catch (...) {
        FreeDoc();
        throw;
    }
}

void TPdfDoc::NewDocForMeasuring()
{
    NewDoc();
    m_canvas->SetMeasuringOnly(true);
    AddPage();
}

void TPdfDoc::AddPage()
{
    if (m_root == nullptr) {
        throw EPdfInvalidOperation("AddPage --current pages null.");
    }
    auto *page = new TPdfDictionary(m_xref.get());
    m_xref->AddObject(page);
    TPdfArray *kids = m_root->PdfArrayByName("Kids");
    kids->AddItem(page);
    m_root->PdfNumberByName("Count")->SetValue(static_cast<std::int32_t>(kids->ItemCount()));

    page->AddItem("Type", new TPdfName("Page"));
    page->AddItem("Parent", m_root);
    auto *mediaBox = new TPdfArray(m_xref.get());
    mediaBox->AddItem(new TPdfNumber(0));
    mediaBox->AddItem(new TPdfNumber(0));
    mediaBox->AddItem(new TPdfNumber(m_defaultPageWidth));
    mediaBox->AddItem(new TPdfNumber(m_defaultPageHeight));
    page->AddItem("MediaBox", mediaBox);

    auto *resources = new TPdfDictionary(m_xref.get());
    resources->AddItem("Font", new TPdfDictionary(m_xref.get()));
    resources->AddItem("XObject", new TPdfDictionary(m_xref.get()));
    auto *procSet = new TPdfArray(m_xref.get());
    for (const char *name : {"PDF", "Text", "ImageC"}) {
        procSet->AddItem(new TPdfName(name));
    }
    resources->AddItem("ProcSet", procSet);
    page->AddItem("Resources", resources);

    auto *contents = new TPdfStream(m_xref.get());
    m_xref->AddObject(contents);
    page->AddItem("Contents", contents);

    m_canvas->SetPage(page);
}

void TPdfDoc::FreeDoc()
{
    m_hasDoc = false;
    m_canvas.reset();
    m_fontList.clear();
    m_info.reset();
    m_catalog.reset();
    m_trailer.reset();
    m_header.reset();
    m_root = nullptr;
    m_outlineRoot = nullptr;
    m_xref.reset();
}

TPdfCanvas &TPdfDoc::Canvas()
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    }
    return *m_canvas;
}

TPdfInfo &TPdfDoc::Info()
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("GetInfo --this method can not use this state..");
    }
    return *m_info;
}

TPdfCatalog &TPdfDoc::Root()
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("GetRoot --this method can not use this state..");
    }
    return *m_catalog;
}

TPdfDictionary &TPdfDoc::OutlineRoot()
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("GetOutlineRoot --document is null..");
    }
    if (!m_useOutlines || m_outlineRoot == nullptr) {
        throw EPdfInvalidOperation("GetOutlineRoot --not use outline mode..");
    }
    return *m_outlineRoot;
}

TPdfFont *TPdfDoc::GetFont(const std::string &name)
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("GetFont --document is null.");
    }
    for (const auto &font : m_fontList) {
        if (font->Name() == name) {
            return font.get();
        }
    }
    std::unique_ptr<TPdfFont> font = CreatePdfFont(m_xref.get(), name);
    std::string resourceName = "F";
    pdfformat::appendInt(resourceName, static_cast<long long>(m_fontList.size()));
    font->Data()->AddItem("Name", new TPdfName(resourceName));
    m_fontList.push_back(std::move(font));
    return m_fontList.back().get();
}

void TPdfDoc::SaveToStream(TPdfOutput &output)
{
    if (!m_hasDoc) {
        throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    }
    if (m_canvas->Page() == nullptr) {
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    }
    m_info->SetModDate(Now());
    // No open action is ever set, so the catalog carries none.
    m_catalog->Data()->RemoveItem("OpenAction");

    std::string buffer;
    buffer.reserve(kFlushSize + 4096);
    std::uint64_t flushed = 0;
    const auto flush = [&] {
        if (!buffer.empty()) {
            if (!output.Write(buffer)) {
                throw EPdfWriteError("SaveToStream --failed to write the stream.");
            }
            flushed += buffer.size();
            buffer.clear();
        }
    };
    const auto offset = [&]() -> std::int32_t {
        const std::uint64_t at = flushed + buffer.size();
        if (at > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            throw EPdfInvalidValue("SaveToStream --the document is too large.");
        }
        return static_cast<std::int32_t>(at);
    };

    m_header->WriteToStream(buffer);
    const std::size_t count = m_xref->ItemCount();
    for (std::size_t i = 1; i < count; ++i) {
        TPdfXrefEntry &entry = m_xref->Items(i);
        entry.ByteOffset = offset();
        entry.Value->WriteIndirectToStream(buffer);
        if (buffer.size() >= kFlushSize) {
            flush();
        }
    }

    m_trailer->SetXrefAddress(offset());
    buffer += "xref\r\n0 ";
    pdfformat::appendInt(buffer, static_cast<long long>(count));
    buffer += "\r\n";
    for (std::size_t i = 0; i < count; ++i) {
        m_xref->Items(i).WriteTo(buffer);
    }
    m_trailer->Attributes().PdfNumberByName("Size")->SetValue(static_cast<std::int32_t>(count));
    m_trailer->WriteToStream(buffer);
    flush();
}

std::string TPdfDoc::SaveToString()
{
    std::string result;
    TPdfStringOutput output(result);
    SaveToStream(output);
    return result;
}

void TPdfDoc::SaveToFile(const std::string &path)
{
    TPdfFileOutput output(path);
    SaveToStream(output);
    output.Close();
}
