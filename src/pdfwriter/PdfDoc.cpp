#include "pdfwriter/PdfDoc.h"

#include "pdfwriter/PdfFonts.h"

#include <limits>

namespace {

const char kProducer[] = "Ovilant version 1.0";

// Bytes collected before they are handed to the output.
constexpr std::size_t kFlushSize = 64 * 1024;

} // namespace

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
