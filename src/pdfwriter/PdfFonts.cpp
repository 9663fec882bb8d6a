#include "pdfwriter/PdfFonts.h"

#include "pdfwriter/PdfJpFonts.h"

#include <algorithm>
#include <functional>
#include <utility>

int TPdfFont::GetCharWidth(std::string_view, std::size_t) const
{
    return 0;
}

TPdfType1Font::TPdfType1Font(TPdfObjectMgr *objectMgr, std::string name, const char *baseFont,
                             const TPdfType1Widths &widths)
    : TPdfFont(objectMgr, std::move(name))
{
    auto *font = new TPdfDictionary(objectMgr);
    objectMgr->AddObject(font);
    font->AddItem("Type", new TPdfName("Font"));
    font->AddItem("Subtype", new TPdfName("Type1"));
    font->AddItem("Encoding", new TPdfName("WinAnsiEncoding"));
    font->AddItem("FirstChar", new TPdfNumber(32));
    font->AddItem("LastChar", new TPdfNumber(255));
    font->AddItem("BaseFont", new TPdfName(baseFont));
    auto *widthArray = new TPdfArray(objectMgr);
    for (short w : widths) {
        widthArray->AddItem(new TPdfNumber(w));
    }
    // Kept for measuring only: viewers use the standard metrics anyway.
    font->AddInternalItem("Widths", widthArray);
    TPdfType1Font::SetData(font);
}

void TPdfType1Font::SetData(TPdfDictionary *data)
{
    TPdfFont::SetData(data);
    const TPdfNumber *missing = data->PdfNumberByName("MissingWidth");
    m_widths.fill(missing != nullptr ? missing->Value() : 0);
    const TPdfNumber *firstChar = data->PdfNumberByName("FirstChar");
    const TPdfArray *widths = data->PdfArrayByName("Widths");
    if (firstChar == nullptr || widths == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < widths->ItemCount(); ++i) {
        const long long code = firstChar->Value() + static_cast<long long>(i);
        const auto *w = dynamic_cast<const TPdfNumber *>(widths->Items(i));
        if (code >= 0 && code < 256 && w != nullptr) {
            m_widths[static_cast<std::size_t>(code)] = w->Value();
        }
    }
}

int TPdfType1Font::GetCharWidth(std::string_view text, std::size_t pos) const
{
    if (pos >= text.size()) {
        return 0;
    }
    return m_widths[static_cast<unsigned char>(text[pos])];
}

namespace {

TPdfType1Widths courierWidths()
{
    TPdfType1Widths w{};
    w.fill(600);
    return w;
}

const TPdfType1Widths kCourier = courierWidths();

} // namespace

TPdfFixedWidth::TPdfFixedWidth(TPdfObjectMgr *m, std::string n) : TPdfType1Font(m, std::move(n), "Courier", kCourier) {}
TPdfFixedWidthBold::TPdfFixedWidthBold(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Courier-Bold", kCourier)
{
}
TPdfFixedWidthItalic::TPdfFixedWidthItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Courier-Oblique", kCourier)
{
}
TPdfFixedWidthBoldItalic::TPdfFixedWidthBoldItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Courier-BoldOblique", kCourier)
{
}
TPdfArial::TPdfArial(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Helvetica", pdfmetrics::Helvetica)
{
}
TPdfArialBold::TPdfArialBold(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Helvetica-Bold", pdfmetrics::HelveticaBold)
{
}
TPdfArialItalic::TPdfArialItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Helvetica-Oblique", pdfmetrics::HelveticaOblique)
{
}
TPdfArialBoldItalic::TPdfArialBoldItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Helvetica-BoldOblique", pdfmetrics::HelveticaBoldOblique)
{
}
TPdfTimesRoman::TPdfTimesRoman(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Times-Roman", pdfmetrics::TimesRoman)
{
}
TPdfTimesBold::TPdfTimesBold(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Times-Bold", pdfmetrics::TimesBold)
{
}
TPdfTimesItalic::TPdfTimesItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Times-Italic", pdfmetrics::TimesItalic)
{
}
TPdfTimesBoldItalic::TPdfTimesBoldItalic(TPdfObjectMgr *m, std::string n)
    : TPdfType1Font(m, std::move(n), "Times-BoldItalic", pdfmetrics::TimesBoldItalic)
{
}

namespace {

using FontFactory = std::unique_ptr<TPdfFont> (*)(TPdfObjectMgr *, const std::string &);

template <class T>
std::unique_ptr<TPdfFont> makeType1(TPdfObjectMgr *m, const std::string &name)
{
    return std::make_unique<T>(m, name);
}

// Japanese fonts build their three dictionaries after construction, when
// their virtual style and width hooks are in place.
template <class T>
std::unique_ptr<TPdfFont> makeJp(TPdfObjectMgr *m, const std::string &name)
{
    auto font = std::make_unique<T>(m, name);
    font->Build();
    return font;
}

struct FontClass {
    std::string_view name;
    FontFactory create;
};

// The registered font classes, looked up by name.
constexpr FontClass kFontClasses[] = {
    {"FixedWidth", makeType1<TPdfFixedWidth>},
    {"FixedWidth-Bold", makeType1<TPdfFixedWidthBold>},
    {"FixedWidth-Italic", makeType1<TPdfFixedWidthItalic>},
    {"FixedWidth-BoldItalic", makeType1<TPdfFixedWidthBoldItalic>},
    {"Arial", makeType1<TPdfArial>},
    {"Arial-Bold", makeType1<TPdfArialBold>},
    {"Arial-Italic", makeType1<TPdfArialItalic>},
    {"Arial-BoldItalic", makeType1<TPdfArialBoldItalic>},
    {"Times-Roman", makeType1<TPdfTimesRoman>},
    {"Times-Bold", makeType1<TPdfTimesBold>},
    {"Times-Italic", makeType1<TPdfTimesItalic>},
    {"Times-BoldItalic", makeType1<TPdfTimesBoldItalic>},
    {"Gothic", makeJp<TPdfGothic>},
    {"Gothic,Bold", makeJp<TPdfGothicBold>},
    {"Gothic,Italic", makeJp<TPdfGothicItalic>},
    {"Gothic,BoldItalic", makeJp<TPdfGothicBoldItalic>},
    {"Mincyo", makeJp<TPdfMincyo>},
    {"Mincyo,Bold", makeJp<TPdfMincyoBold>},
    {"Mincyo,Italic", makeJp<TPdfMincyoItalic>},
    {"Mincyo,BoldItalic", makeJp<TPdfMincyoBoldItalic>},
    {"PGothic", makeJp<TPdfPGothic>},
    {"PGothic,Bold", makeJp<TPdfPGothicBold>},
    {"PGothic,Italic", makeJp<TPdfPGothicItalic>},
    {"PGothic,BoldItalic", makeJp<TPdfPGothicBoldItalic>},
    {"PMincyo", makeJp<TPdfPMincyo>},
    {"PMincyo,Bold", makeJp<TPdfPMincyoBold>},
    {"PMincyo,Italic", makeJp<TPdfPMincyoItalic>},
    {"PMincyo,BoldItalic", makeJp<TPdfPMincyoBoldItalic>},
};

const FontClass *findFontClass(std::string_view name)
{
    for (const FontClass &c : kFontClasses) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace

bool IsPdfFontName(std::string_view name)
{
    return findFontClass(name) != nullptr;
}

std::unique_ptr<TPdfFont> CreatePdfFont(TPdfObjectMgr *objectMgr, const std::string &name)
{
    const FontClass *c = findFontClass(name);
    if (c == nullptr) {
        throw EPdfError("CreateFont --InvalidFontName:" + name);
    }
    return c->create(objectMgr, name);
}

void TPdfFont::GetCharWidths(std::string_view text, std::vector<int> &widths) const
{
    widths.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        widths[i] = GetCharWidth(text, i);
    }
}
