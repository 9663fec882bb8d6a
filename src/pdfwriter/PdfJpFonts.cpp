#include "pdfwriter/PdfJpFonts.h"

#include "plan/Cp932.h"

namespace {

const TPdfJpStyle kGothic{5, 0, 78};
const TPdfJpStyle kGothicBold{262149, 0, 156};
const TPdfJpStyle kGothicItalic{5, -11, 78};
const TPdfJpStyle kGothicBoldItalic{262149, -11, 156};
const TPdfJpStyle kMincyo{7, 0, 78};
const TPdfJpStyle kMincyoBold{262151, 0, 156};
const TPdfJpStyle kMincyoItalic{7, -11, 78};
const TPdfJpStyle kMincyoBoldItalic{262151, -11, 156};
const TPdfJpStyle kPGothic{4, 0, 78};
const TPdfJpStyle kPGothicBold{262148, 0, 156};
const TPdfJpStyle kPGothicItalic{4, -11, 78};
const TPdfJpStyle kPGothicBoldItalic{262148, -11, 156};
const TPdfJpStyle kPMincyo{6, 0, 78};
const TPdfJpStyle kPMincyoBold{262150, 0, 156};
const TPdfJpStyle kPMincyoItalic{6, -11, 78};
const TPdfJpStyle kPMincyoBoldItalic{262150, -11, 156};

const TPdfNumber *asNumber(const TPdfArray &array, std::size_t index)
{
    return dynamic_cast<const TPdfNumber *>(array.Items(index));
}

TPdfObject *resolve(TPdfObjectMgr *mgr, TPdfObject *obj)
{
    if (obj != nullptr && obj->ObjectType() == TPdfObjectType::otVirtualObject && mgr != nullptr) {
        return mgr->GetObject(obj->ObjectNumber());
    }
    return obj;
}

} // namespace

// ---------------------------------------------------------------------------

void TPdfType0Font::SetData(TPdfDictionary *data)
{
    TPdfFont::SetData(data);
    ForgetCodeWidths();
    m_widths.clear();
    m_defaultWidth = 1000;
    m_missingWidth = 500;
    const TPdfArray *descendants = data->PdfArrayByName("DescendantFonts");
    if (descendants == nullptr) {
        return;
    }
    auto *descendant = dynamic_cast<TPdfDictionary *>(resolve(ObjectMgr(), descendants->Items(0)));
    if (descendant == nullptr) {
        return;
    }
    if (const TPdfNumber *dw = descendant->PdfNumberByName("DW")) {
        m_defaultWidth = dw->Value();
    }
    if (const TPdfDictionary *descriptor = descendant->PdfDictionaryByName("FontDescriptor")) {
        if (const TPdfNumber *mw = descriptor->PdfNumberByName("MissingWidth")) {
            m_missingWidth = mw->Value();
        }
    }
    const TPdfArray *w = descendant->PdfArrayByName("W");
    if (w == nullptr) {
        return;
    }
    // W holds "first [w1 w2 ...]" (one width per CID) and "first last w".
    std::size_t i = 0;
    while (i < w->ItemCount()) {
        const TPdfNumber *start = asNumber(*w, i);
        if (start == nullptr) {
            throw EPdfInvalidValue("invalid W array start pos..");
        }
        TPdfObject *next = w->Items(i + 1);
        if (const auto *list = dynamic_cast<const TPdfArray *>(next)) {
            for (std::size_t k = 0; k < list->ItemCount(); ++k) {
                const TPdfNumber *value = asNumber(*list, k);
                if (value == nullptr) {
                    throw EPdfInvalidValue("invalid W array value..");
                }
                const int cid = start->Value() + static_cast<int>(k);
                m_widths.push_back({cid, cid, value->Value()});
            }
            i += 2;
        } else if (const auto *end = dynamic_cast<const TPdfNumber *>(next)) {
            const TPdfNumber *value = asNumber(*w, i + 2);
            if (value == nullptr) {
                throw EPdfInvalidValue("invalid W array value..");
            }
            m_widths.push_back({start->Value(), end->Value(), value->Value()});
            i += 3;
        } else {
            throw EPdfInvalidValue("invalid W array end pos..");
        }
    }
}

void TPdfType0Font::SetCharToCIDFunc(const TPdfCIDRangeTable *table)
{
    m_cidTable = table;
    ForgetCodeWidths();
}

void TPdfType0Font::ForgetCodeWidths()
{
    m_singleWidths.fill(0);
    for (auto &block : m_doubleWidths) {
        block.reset();
    }
}

int TPdfType0Font::WidthOfCode(unsigned code, bool doubleByte) const
{
    std::uint16_t *slot = nullptr;
    if (!doubleByte) {
        slot = &m_singleWidths[code & 0xFF];
    } else {
        std::unique_ptr<CodeWidths> &block = m_doubleWidths[(code >> 8) & 0xFF];
        if (!block) {
            block = std::make_unique<CodeWidths>();
            block->fill(0);
        }
        slot = &(*block)[code & 0xFF];
    }
    if (*slot != 0) {
        return *slot - 1;
    }
    const int width = WidthOfCID(CodeToCID(code), doubleByte);
    // A width beyond what a slot holds (never one of ours) is looked up each time.
    if (width >= 0 && width < 0xFFFF) {
        *slot = static_cast<std::uint16_t>(width + 1);
    }
    return width;
}

int TPdfType0Font::CodeToCID(unsigned code) const
{
    return m_cidTable != nullptr ? m_cidTable->Lookup(code) : 0;
}

int TPdfType0Font::CharToCID(std::string_view text, std::size_t pos) const
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool pair = cp932::isLeadByte(b) && i + 1 < text.size();
        if (i == pos) {
            return CodeToCID(pair ? b * 256u + static_cast<unsigned char>(text[i + 1]) : b);
        }
        if (pair && i + 1 == pos) {
            return -1;
        }
        i += pair ? 2 : 1;
    }
    return 0;
}

int TPdfType0Font::WidthOfCID(int cid, bool doubleByte) const
{
    for (const TPdfCIDWidthItem &item : m_widths) {
        if (item.EndIndex >= cid) {
            if (item.StartIndex <= cid) {
                return item.Width;
            }
            break;
        }
    }
    return doubleByte ? m_defaultWidth : m_missingWidth;
}

int TPdfType0Font::GetCharWidth(std::string_view text, std::size_t pos) const
{
    if (pos >= text.size()) {
        return 0;
    }
    const int cid = CharToCID(text, pos);
    if (cid < 0) {
        return 0;
    }
    const bool doubleByte = cp932::isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
    return WidthOfCID(cid, doubleByte);
}

void TPdfType0Font::GetCharWidths(std::string_view text, std::vector<int> &widths) const
{
    widths.assign(text.size(), 0);
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool pair = cp932::isLeadByte(b) && i + 1 < text.size();
        const unsigned code = pair ? b * 256u + static_cast<unsigned char>(text[i + 1]) : b;
        widths[i] = WidthOfCode(code, pair);
        i += pair ? 2 : 1;
    }
}

// ---------------------------------------------------------------------------

void TPdfJpFont::Build()
{
    TPdfObjectMgr *mgr = ObjectMgr();
    auto *font = new TPdfDictionary(mgr);
    mgr->AddObject(font);
    auto *descendant = new TPdfDictionary(mgr);
    mgr->AddObject(descendant);
    auto *descriptor = new TPdfDictionary(mgr);
    mgr->AddObject(descriptor);

    const std::string baseName = GetFontName();

    font->AddItem("BaseFont", new TPdfName(baseName));
    auto *descendants = new TPdfArray(mgr);
    descendants->AddItem(descendant);
    font->AddItem("DescendantFonts", descendants);
    font->AddItem("Type", new TPdfName("Font"));
    font->AddItem("Subtype", new TPdfName("Type0"));
    font->AddItem("Encoding", new TPdfName(EncodingName()));

    descendant->AddItem("Type", new TPdfName("Font"));
    descendant->AddItem("Subtype", new TPdfName("CIDFontType2"));
    descendant->AddItem("WinCharSet", new TPdfName("128"));
    descendant->AddItem("BaseFont", new TPdfName(baseName));
    auto *systemInfo = new TPdfDictionary(mgr);
    systemInfo->AddItem("Registry", new TPdfText("Adobe"));
    systemInfo->AddItem("Ordering", new TPdfText("Japan1"));
    systemInfo->AddItem("Supplement", new TPdfNumber(2));
    descendant->AddItem("CIDSystemInfo", systemInfo);
    descendant->AddItem("DW", new TPdfNumber(1000));
    AddWidthItem(*descendant);
    descendant->AddItem("FontDescriptor", descriptor);

    descriptor->AddItem("Type", new TPdfName("FontDescriptor"));
    descriptor->AddItem("FontName", new TPdfName(baseName));
    descriptor->AddItem("Ascent", new TPdfNumber(859));
    descriptor->AddItem("CapHeight", new TPdfNumber(859));
    descriptor->AddItem("Descent", new TPdfNumber(-141));
    descriptor->AddItem("MissingWidth", new TPdfNumber(500));
    AddDescriptorItem(*descriptor);
    auto *bbox = new TPdfArray(mgr);
    for (int v : {0, -141, 1000, 859}) {
        bbox->AddItem(new TPdfNumber(v));
    }
    descriptor->AddItem("FontBBox", bbox);

    SetCharToCIDFunc(&CIDTable());
    SetData(font);
}

namespace {

void addStyle(TPdfDictionary &descriptor, const TPdfJpStyle &style)
{
    descriptor.AddItem("Flags", new TPdfNumber(style.Flags));
    descriptor.AddItem("ItalicAngle", new TPdfNumber(style.ItalicAngle));
    descriptor.AddItem("StemV", new TPdfNumber(style.StemV));
}

// CIDs 231..631 are the half-width characters of Adobe-Japan1.
void addHalfWidthRange(TPdfArray &w)
{
    w.AddItem(new TPdfNumber(231));
    w.AddItem(new TPdfNumber(631));
    w.AddItem(new TPdfNumber(500));
}

} // namespace

void TPdfJpFixedFont::AddDescriptorItem(TPdfDictionary &descriptor)
{
    addStyle(descriptor, m_style);
}

void TPdfJpFixedFont::AddWidthItem(TPdfDictionary &descendant)
{
    auto *w = new TPdfArray(descendant.ObjectMgr());
    addHalfWidthRange(*w);
    descendant.AddItem("W", w);
}

void TPdfJpProportionalFont::AddDescriptorItem(TPdfDictionary &descriptor)
{
    addStyle(descriptor, m_style);
}

void TPdfJpProportionalFont::AddWidthItem(TPdfDictionary &descendant)
{
    TPdfObjectMgr *mgr = descendant.ObjectMgr();
    auto *w = new TPdfArray(mgr);
    const int *data = pdfcmap::ProportionalWidthData;
    const int *end = data + pdfcmap::ProportionalWidthDataSize;
    while (data + 2 <= end) {
        const int first = data[0];
        const int count = data[1];
        data += 2;
        auto *list = new TPdfArray(mgr);
        for (int i = 0; i < count && data < end; ++i, ++data) {
            list->AddItem(new TPdfNumber(*data));
        }
        w->AddItem(new TPdfNumber(first));
        w->AddItem(list);
    }
    descendant.AddItem("W", w);
}

namespace {
using Fixed = TPdfJpFixedFont;
using Prop = TPdfJpProportionalFont;
} // namespace

TPdfGothic::TPdfGothic(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kGothic) {}
TPdfGothicBold::TPdfGothicBold(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kGothicBold) {}
TPdfGothicItalic::TPdfGothicItalic(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kGothicItalic) {}
TPdfGothicBoldItalic::TPdfGothicBoldItalic(TPdfObjectMgr *m, std::string n)
    : Fixed(m, std::move(n), kGothicBoldItalic)
{
}
TPdfMincyo::TPdfMincyo(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kMincyo) {}
TPdfMincyoBold::TPdfMincyoBold(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kMincyoBold) {}
TPdfMincyoItalic::TPdfMincyoItalic(TPdfObjectMgr *m, std::string n) : Fixed(m, std::move(n), kMincyoItalic) {}
TPdfMincyoBoldItalic::TPdfMincyoBoldItalic(TPdfObjectMgr *m, std::string n)
    : Fixed(m, std::move(n), kMincyoBoldItalic)
{
}
TPdfPGothic::TPdfPGothic(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPGothic) {}
TPdfPGothicBold::TPdfPGothicBold(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPGothicBold) {}
TPdfPGothicItalic::TPdfPGothicItalic(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPGothicItalic) {}
TPdfPGothicBoldItalic::TPdfPGothicBoldItalic(TPdfObjectMgr *m, std::string n)
    : Prop(m, std::move(n), kPGothicBoldItalic)
{
}
TPdfPMincyo::TPdfPMincyo(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPMincyo) {}
TPdfPMincyoBold::TPdfPMincyoBold(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPMincyoBold) {}
TPdfPMincyoItalic::TPdfPMincyoItalic(TPdfObjectMgr *m, std::string n) : Prop(m, std::move(n), kPMincyoItalic) {}
TPdfPMincyoBoldItalic::TPdfPMincyoBoldItalic(TPdfObjectMgr *m, std::string n)
    : Prop(m, std::move(n), kPMincyoBoldItalic)
{
}
