#pragma once

// Japanese composite fonts: a Type0 font over a CIDFontType2 descendant with
// the Adobe-Japan1 collection and Shift-JIS (CP932) codes. Each font writes
// three objects: the Type0 dictionary, the descendant font, the descriptor.
// Fixed fonts (Gothic, Mincyo) use the 90ms-RKSJ-H encoding: single-byte
// characters 500/1000 wide, double-byte 1000/1000; proportional fonts
// (PGothic, PMincyo) use 90msp-RKSJ-H with per-CID widths.

#include "PdfFonts.h"
#include "PdfJpCMap.h"

#include <vector>

struct TPdfCIDWidthItem {
    int StartIndex;
    int EndIndex;
    int Width;
};

// Measures through the descendant's DW and W and the descriptor's
// MissingWidth, with a code-to-CID function.
class TPdfType0Font : public TPdfFont {
public:
    using TPdfFont::TPdfFont;
    // Reads DW, W and MissingWidth back from the dictionaries. A malformed W
    // raises EPdfInvalidValue "invalid W array start pos..", "invalid W array
    // end pos.." or "invalid W array value..".
    void SetData(TPdfDictionary *data) override;
    int GetCharWidth(std::string_view text, std::size_t pos) const override;
    void GetCharWidths(std::string_view text, std::vector<int> &widths) const override;
    // CID of the character starting at `pos`; -1 on a trail byte.
    int CharToCID(std::string_view text, std::size_t pos) const;
    virtual void SetCharToCIDFunc(const TPdfCIDRangeTable *table) { m_cidTable = table; }
    const std::vector<TPdfCIDWidthItem> &Widths() const { return m_widths; }

private:
    int CodeToCID(unsigned code) const;
    int WidthOfCID(int cid, bool doubleByte) const;

    int m_defaultWidth = 1000;
    int m_missingWidth = 500;
    std::vector<TPdfCIDWidthItem> m_widths;
    const TPdfCIDRangeTable *m_cidTable = nullptr;
};

// Builds the three dictionaries; subclasses give the style entries, the W
// array, the encoding and the base font name.
class TPdfJpFont : public TPdfType0Font {
public:
    using TPdfType0Font::TPdfType0Font;
    // Creates and registers the dictionaries, then reads the widths back.
    void Build();

protected:
    virtual void AddDescriptorItem(TPdfDictionary &descriptor) = 0; // Flags, ItalicAngle, StemV
    virtual void AddWidthItem(TPdfDictionary &descendant) = 0;      // W
    virtual std::string GetFontName() const { return Name(); }
    virtual const char *EncodingName() const = 0;
    virtual const TPdfCIDRangeTable &CIDTable() const = 0;
};

// Style values of one class: Flags, ItalicAngle, StemV.
struct TPdfJpStyle {
    int Flags;
    int ItalicAngle;
    int StemV;
};

class TPdfJpFixedFont : public TPdfJpFont {
public:
    TPdfJpFixedFont(TPdfObjectMgr *objectMgr, std::string name, TPdfJpStyle style)
        : TPdfJpFont(objectMgr, std::move(name)), m_style(style) {}

protected:
    void AddDescriptorItem(TPdfDictionary &descriptor) override;
    void AddWidthItem(TPdfDictionary &descendant) override; // [231 631 500 ]
    const char *EncodingName() const override { return "90ms-RKSJ-H"; }
    const TPdfCIDRangeTable &CIDTable() const override { return pdfcmap::Cmap90msRKSJH; }

private:
    TPdfJpStyle m_style;
};

class TPdfJpProportionalFont : public TPdfJpFont {
public:
    TPdfJpProportionalFont(TPdfObjectMgr *objectMgr, std::string name, TPdfJpStyle style)
        : TPdfJpFont(objectMgr, std::move(name)), m_style(style) {}

protected:
    void AddDescriptorItem(TPdfDictionary &descriptor) override;
    void AddWidthItem(TPdfDictionary &descendant) override; // proportional widths
    const char *EncodingName() const override { return "90msp-RKSJ-H"; }
    const TPdfCIDRangeTable &CIDTable() const override { return pdfcmap::Cmap90mspRKSJH; }

private:
    TPdfJpStyle m_style;
};

#define OVILANT_JP_FONT(ClassName, Base)                                                                               \
    class ClassName : public Base {                                                                                    \
    public:                                                                                                            \
        ClassName(TPdfObjectMgr *objectMgr, std::string name);                                                         \
    };
OVILANT_JP_FONT(TPdfGothic, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfGothicBold, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfGothicItalic, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfGothicBoldItalic, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfMincyo, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfMincyoBold, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfMincyoItalic, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfMincyoBoldItalic, TPdfJpFixedFont)
OVILANT_JP_FONT(TPdfPGothic, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPGothicBold, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPGothicItalic, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPGothicBoldItalic, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPMincyo, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPMincyoBold, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPMincyoItalic, TPdfJpProportionalFont)
OVILANT_JP_FONT(TPdfPMincyoBoldItalic, TPdfJpProportionalFont)
#undef OVILANT_JP_FONT
