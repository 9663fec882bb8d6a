#include "pdfreader/PdfStream.h"

namespace pdfreader {

namespace {
const std::string &emptyText()
{
    static const std::string empty;
    return empty;
}
} // namespace

TPdfStream::TPdfStream() = default;
TPdfStream::~TPdfStream() = default;

void TPdfStream::open(const std::string &fileName)
{
    // The old reader goes first, so that a failed open leaves none behind.
    m_reader.reset();
    m_selectedPage = 0;
    m_imageDataLength = 0;
    m_reader = TPdfPage::openFile(fileName);
    m_image = std::make_unique<JpegImage>();
}

const std::string &TPdfStream::author() const
{
    return m_reader ? m_reader->author() : emptyText();
}

const std::string &TPdfStream::subject() const
{
    return m_reader ? m_reader->subject() : emptyText();
}

int TPdfStream::pageCount() const
{
    return m_reader ? static_cast<int>(m_reader->pages().count()) : 0;
}

void TPdfStream::selectPage(int index)
{
    const int count = pageCount();
    if (count == 0)
        return;
    if (index < 0)
        index = 0;
    if (index >= count)
        index = count - 1;
    m_selectedPage = index;
    loadPageImage();
    m_imageDataLength = m_reader->pages().records()[static_cast<std::size_t>(index)].imageDataLength;
}

// Decodes the selected page's image from the raw bytes of its image object.
// A record with 3 bytes of data or fewer carries no picture worth decoding
// (the plan files' own pages carry none at all).
void TPdfStream::loadPageImage()
{
    const auto page = static_cast<std::size_t>(m_selectedPage);
    if (m_reader->pages().records()[page].imageDataLength <= 3)
        return;
    const std::string data = m_reader->imageData(page);
    m_image->loadFromMemory(data);
}

const std::vector<std::string> *TPdfStream::item(int fieldIndex) const
{
    return m_reader ? m_reader->itemLines(fieldIndex) : nullptr;
}

std::vector<planfile::TextItem> TPdfStream::textItems() const
{
    return m_reader ? m_reader->strings().plainItems() : std::vector<planfile::TextItem>();
}

} // namespace pdfreader
