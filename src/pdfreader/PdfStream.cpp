#include "pdfreader/PdfStream.h"

#include "plan/Cp932.h"

#include <algorithm>
#include <new>

namespace pdfreader {

namespace {
const std::string &emptyText()
{
    static const std::string empty;
    return empty;
}

// Runs one step of reading, turning a failed allocation into the reader's
// own error: callers catch EPdfReadError only.
template <class Step> decltype(auto) withinMemory(Step &&step)
{
    try {
        return step();
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(kOutOfMemoryMessage);
    }
}

// Pixel bytes all the images of a file may take together.
std::size_t pixelBudgetFor(std::int64_t fileSize)
{
    const std::int64_t budget = (std::int64_t(8) << 20) + 256 * fileSize;
    return static_cast<std::size_t>(std::min<std::int64_t>(budget, JpegImage::MaxPixelBytes));
}
} // namespace

TPdfStream::TPdfStream() = default;
TPdfStream::~TPdfStream() = default;

const std::string &TPdfStream::tooLargeMessage()
{
    static const std::string message = cp932::fromUtf8("ファイルが大きすぎます。計画書のファイルではありません。");
    return message;
}

void TPdfStream::open(const std::filesystem::path &fileName)
{
    // The old reader goes first, so that a failed open leaves none behind.
    m_reader.reset();
    withinMemory([&] { start(TPdfInputStream::fromFile(fileName)); });
}

void TPdfStream::open(const std::filesystem::path &fileName, const std::vector<TTextWindow> &keepOnly)
{
    m_reader.reset();
    withinMemory([&] { start(TPdfInputStream::fromFile(fileName), &keepOnly); });
}

void TPdfStream::openBytes(std::string bytes)
{
    m_reader.reset();
    withinMemory([&] { start(TPdfInputStream::fromBytes(std::move(bytes))); });
}

void TPdfStream::start(std::unique_ptr<TPdfInputStream> stream, const std::vector<TTextWindow> *keepOnly)
{
    m_reader.reset();
    m_pictures.clear();
    // A picture not decoded yet cannot be decoded without its reader.
    if (m_current && !m_current->image)
        m_current.reset();
    m_selectedPage = 0;
    m_imageDataLength = 0;
    const std::int64_t size = stream->size();
    if (size > MaxFileSize)
        throw EPdfReadError(tooLargeMessage());
    m_reader = std::make_unique<TPdfPage>(std::move(stream), keepOnly);
    m_pixelBudget = pixelBudgetFor(size);
    m_decodedPixelBytes = 0;
    // The headers of all images together are read from at most this many
    // bytes: image objects whose data overlap would otherwise read the
    // same bytes again and again.
    m_headerBytesBudget = 4 * size + (std::int64_t(1) << 20);
    m_current.reset();
    m_empty = std::make_unique<JpegImage>();
}

const std::string &TPdfStream::author() const
{
    return m_reader ? m_reader->author() : emptyText();
}

const std::string &TPdfStream::subject() const
{
    return m_reader ? m_reader->subject() : emptyText();
}

const std::string &TPdfStream::creator() const
{
    return m_reader ? m_reader->info().creator : emptyText();
}

const std::string &TPdfStream::keywords() const
{
    return m_reader ? m_reader->info().keywords : emptyText();
}

int TPdfStream::pageCount() const
{
    return m_reader ? static_cast<int>(m_reader->pages().count()) : 0;
}

const TPageRecord &TPdfStream::pageRecord(int index) const
{
    return m_reader->pages().records().at(static_cast<std::size_t>(index));
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
    withinMemory([this] { loadPageImage(); });
    m_imageDataLength = m_reader->pages().records()[static_cast<std::size_t>(index)].imageDataLength;
}

// Makes the selected page's image the page image, reading its headers the
// first time the image object is met. A record with 3 bytes of data or
// fewer carries no picture worth decoding (the plan files' own pages carry
// none at all).
void TPdfStream::loadPageImage()
{
    const TPageRecord &record = m_reader->pages().records()[static_cast<std::size_t>(m_selectedPage)];
    if (record.imageDataLength <= 3)
        return;
    std::shared_ptr<Picture> &picture = m_pictures[record.imageDataPosition];
    if (!picture) {
        picture = std::make_shared<Picture>();
        picture->position = record.imageDataPosition;
        picture->length = record.imageDataLength;
        m_headerBytesBudget -= record.imageDataLength;
        if (m_headerBytesBudget < 0) {
            picture->headerError = "JPEG IMAGE SIZE ERROR";
        } else {
            try {
                picture->pixelBytes = JpegImage::readHeader(m_reader->imageData(static_cast<std::size_t>(m_selectedPage))).pixelBytes();
            } catch (const EPdfReadError &e) {
                picture->headerError = e.message();
            }
        }
    }
    if (!picture->headerError.empty())
        throw EPdfReadError(picture->headerError);
    m_current = picture;
}

const JpegImage *TPdfStream::image() const
{
    return withinMemory([this] { return decodedImage(); });
}

const JpegImage *TPdfStream::decodedImage() const
{
    if (!m_current)
        return m_empty.get();
    Picture &picture = *m_current;
    if (picture.image)
        return picture.image.get();
    if (picture.decodeError.empty()) {
        if (picture.pixelBytes > m_pixelBudget) {
            picture.decodeError = "JPEG IMAGE SIZE ERROR";
        } else {
            auto image = std::make_unique<JpegImage>();
            try {
                image->loadFromMemory(m_reader->readRange(picture.position, picture.length), m_pixelBudget);
                m_pixelBudget -= image->pixels().size();
                m_decodedPixelBytes += image->pixels().size();
                picture.image = std::move(image);
                return picture.image.get();
            } catch (const EPdfReadError &e) {
                picture.decodeError = e.message();
            }
        }
    }
    throw EPdfReadError(picture.decodeError);
}

const std::vector<TTextItem> &TPdfStream::textItems() const
{
    static const std::vector<TTextItem> none;
    return m_reader ? m_reader->strings().items() : none;
}

std::vector<std::int32_t> TPdfStream::fillColours() const
{
    return m_reader ? m_reader->strings().fillColours() : std::vector<std::int32_t>();
}

std::vector<TTextItem> TPdfStream::takeTextItems()
{
    return withinMemory([this] { return m_reader ? m_reader->takeStrings() : std::vector<TTextItem>(); });
}

} // namespace pdfreader
