#pragma once

// PDF fonts: a font wraps its font dictionary (registered with the document's
// object manager when the font is created) and measures characters.
// Type1 standard fonts (Courier, Helvetica and Times families, WinAnsi
// encoding) are defined here; the Japanese composite fonts in PdfJpFonts.h.
// CreatePdfFont looks a font class up by its registered name.

#include "pdfwriter/PdfTypes.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TPdfFont : public TPdfDictionaryWrapper {
public:
    TPdfFont(TPdfObjectMgr *objectMgr, std::string name) : m_objectMgr(objectMgr), m_name(std::move(name)) {}

    const std::string &Name() const { return m_name; }
    // Width of the character that starts at byte `pos` of `text`, in 1/1000
    // of the font size; 0 for a trail byte.
    virtual int GetCharWidth(std::string_view text, std::size_t pos) const;
    // Widths of every byte of `text` in one pass (widths.size() == text.size()),
    // the same values GetCharWidth gives byte by byte.
    virtual void GetCharWidths(std::string_view text, std::vector<int> &widths) const;

protected:
    TPdfObjectMgr *ObjectMgr() const { return m_objectMgr; }

private:
    TPdfObjectMgr *m_objectMgr;
    std::string m_name;
};

// Widths of codes 32..255 of a Type1 font, in 1/1000 em.
using TPdfType1Widths = std::array<short, 224>;

// One font dictionary: Type, Subtype, Encoding, FirstChar, LastChar,
// BaseFont (the hidden Widths array keeps the metrics for measuring).
class TPdfType1Font : public TPdfFont {
public:
    TPdfType1Font(TPdfObjectMgr *objectMgr, std::string name, const char *baseFont, const TPdfType1Widths &widths);
    // Reads the width table back from Widths, FirstChar and MissingWidth.
    void SetData(TPdfDictionary *data) override;
    int GetCharWidth(std::string_view text, std::size_t pos) const override;

private:
    std::array<int, 256> m_widths{};
};

#define OVILANT_TYPE1_FONT(ClassName)                                                                                  \
    class ClassName : public TPdfType1Font {                                                                           \
    public:                                                                                                            \
        ClassName(TPdfObjectMgr *objectMgr, std::string name);                                                         \
    };
OVILANT_TYPE1_FONT(TPdfFixedWidth)
OVILANT_TYPE1_FONT(TPdfFixedWidthBold)
OVILANT_TYPE1_FONT(TPdfFixedWidthItalic)
OVILANT_TYPE1_FONT(TPdfFixedWidthBoldItalic)
OVILANT_TYPE1_FONT(TPdfArial)
OVILANT_TYPE1_FONT(TPdfArialBold)
OVILANT_TYPE1_FONT(TPdfArialItalic)
OVILANT_TYPE1_FONT(TPdfArialBoldItalic)
OVILANT_TYPE1_FONT(TPdfTimesRoman)
OVILANT_TYPE1_FONT(TPdfTimesBold)
OVILANT_TYPE1_FONT(TPdfTimesItalic)
OVILANT_TYPE1_FONT(TPdfTimesBoldItalic)
#undef OVILANT_TYPE1_FONT

// Creates the font registered under `name` ("Arial", "Gothic,Bold", ...),
// registering its dictionaries with `objectMgr`. An unknown name raises
// EPdfError "CreateFont --InvalidFontName:" followed by the name.
std::unique_ptr<TPdfFont> CreatePdfFont(TPdfObjectMgr *objectMgr, const std::string &name);
// True when a font class is registered under `name`.
bool IsPdfFontName(std::string_view name);

// Standard metrics of the Type1 families for codes 32..255 (generated data).
namespace pdfmetrics {
extern const TPdfType1Widths Helvetica;
extern const TPdfType1Widths HelveticaBold;
extern const TPdfType1Widths HelveticaOblique;
extern const TPdfType1Widths HelveticaBoldOblique;
extern const TPdfType1Widths TimesRoman;
extern const TPdfType1Widths TimesBold;
extern const TPdfType1Widths TimesItalic;
extern const TPdfType1Widths TimesBoldItalic;
} // namespace pdfmetrics
