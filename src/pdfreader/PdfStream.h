#pragma once

#include "pdfreader/JpegImage.h"
#include "pdfreader/Page.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pdfreader {

// The one object through which the open command reads a plan file: it owns
// the page reader of the file being opened and the picture of the selected
// page, and answers how many pages the file has, what its Author and Subject
// are, and which text objects its pages hold. What the text means is for
// the caller to tell: the reader knows nothing of plans.
//
// Typical use by the open command:
//     pdfreader::TPdfStream pdf;
//     pdf.open(fileName);                         // raises EPdfReadError
//     check pdf.author() and pdf.subject()        // CP932 bytes
//     for (int p = 0; p < pdf.pageCount(); ++p)
//         pdf.selectPage(p);                      // raises only for a damaged image
//     for (const TTextItem &item : pdf.textItems())
//         ... item.page, item.x, item.y, item.lines
//
// Before a successful open the facade is empty: no pages, empty texts, no
// items, and selecting a page does nothing.
//
// Running out of memory anywhere in open, selectPage, image or textItems
// raises EPdfReadError(pdfreader::kOutOfMemoryMessage) like any other fault.
//
// (The writer has a stream object class of the same name; this one lives in
// the reader's namespace so that a program can link both.)
class TPdfStream {
public:
    TPdfStream();
    ~TPdfStream();
    TPdfStream(const TPdfStream &) = delete;
    TPdfStream &operator=(const TPdfStream &) = delete;

    // Reads the whole file (header, cross-references, catalog, information,
    // every page and its text items) with a new page reader, replacing any
    // earlier one, then starts over with an empty page image. Every fault of
    // the file raises EPdfReadError with the reader's message; the facade is
    // then left without a page reader (as if never opened) and its image
    // as it was.
    //
    // Only a regular file is opened (a pipe, device or folder is refused
    // with the file-open message without waiting on it), and one larger
    // than MaxFileSize is refused before anything is parsed with
    // tooLargeMessage().
    void open(const std::filesystem::path &fileName);
    // The same, keeping only the text items that start in one of `keepOnly`
    // (TPdfString::keepOnly): a caller that needs the text of a few places
    // pays for no copy of the rest. Every fault is found as by open().
    void open(const std::filesystem::path &fileName, const std::vector<TTextWindow> &keepOnly);
    // The same over a file's bytes in memory.
    void openBytes(std::string bytes);

    // A plan file is about 100 KB; anything this large is something else,
    // and refusing it at once keeps the reader's time and memory small.
    static constexpr std::int64_t MaxFileSize = 16 * 1024 * 1024;
    // "ファイルが大きすぎます。計画書のファイルではありません。" (CP932).
    static const std::string &tooLargeMessage();

    // The information dictionary's Author and Subject, CP932 bytes as read.
    const std::string &author() const;
    const std::string &subject() const;

    int pageCount() const;
    // The record of page `index` (from 0): its boxes, image and notes as
    // read. Only for 0 <= index < pageCount().
    const TPageRecord &pageRecord(int index) const;

    // Makes page `index` (from 0) the selected one, clamped into
    // 0..pageCount() - 1, and makes its image the page image when it
    // carries one (more than 3 bytes of data); otherwise the previous image
    // stays. Only the image's headers are read here: an image whose headers
    // are damaged, or that claims too many pixels, raises EPdfReadError
    // with the decoder's message and leaves the previous image and image
    // data length in place; nothing else raises.
    void selectPage(int index);
    int selectedPage() const { return m_selectedPage; }
    // Image data length of the selected page's record (0 without an image).
    std::int32_t imageDataLength() const { return m_imageDataLength; }
    // The page image, its pixels decoded now if they were not yet; none
    // before the first open, empty until a page with an image is selected.
    // Each image of the file is decoded at most once, however many pages
    // show it, and all of a file's images together may take no more pixel
    // bytes than a budget in proportion to the file's size (8 MiB and 256
    // bytes for each byte of the file, at most JpegImage::MaxPixelBytes):
    // a few bytes of JPEG data can claim a huge picture. Picture data that
    // fails to decode, or a picture beyond the budget, raises EPdfReadError
    // with the decoder's message or "JPEG IMAGE SIZE ERROR", each time the
    // image is asked for.
    const JpegImage *image() const;
    // Pixel bytes decoded from this file's images so far.
    std::size_t decodedPixelBytes() const { return m_decodedPixelBytes; }

    // The text items of all pages in page and content order; empty before
    // an open. They live until the next open or the facade's end.
    const std::vector<TTextItem> &textItems() const;
    // Hands the text items over, so that they outlive the facade without a
    // copy; textItems() is empty afterwards.
    std::vector<TTextItem> takeTextItems();
    // How many text items the pages hold, kept or not; before takeTextItems.
    std::size_t textItemsSeen() const { return m_reader ? m_reader->itemsSeen() : 0; }
    // How many fill colour selections (`rg`) each selected page's content
    // holds outside its text objects (index 0 is page 1).
    std::vector<std::int32_t> fillColours() const;

    // The Creator and Keywords texts of the file's information, CP932
    // bytes as read.
    const std::string &creator() const;
    const std::string &keywords() const;

private:
    // One image object of the file, found by the position of its data.
    struct Picture {
        std::int64_t position = 0;
        std::int32_t length = 0;
        std::string headerError; // the headers' fault; empty when they read
        std::size_t pixelBytes = 0;
        std::string decodeError; // the picture data's fault; empty when none
        std::unique_ptr<JpegImage> image; // once decoded
    };

    void start(std::unique_ptr<TPdfInputStream> stream, const std::vector<TTextWindow> *keepOnly = nullptr);
    void loadPageImage();
    const JpegImage *decodedImage() const;

    std::unique_ptr<TPdfPage> m_reader;
    int m_selectedPage = 0;
    std::unique_ptr<JpegImage> m_empty; // the page image until one is selected
    std::map<std::int64_t, std::shared_ptr<Picture>> m_pictures; // by data position
    std::shared_ptr<Picture> m_current;
    mutable std::size_t m_pixelBudget = 0;
    mutable std::size_t m_decodedPixelBytes = 0;
    std::int64_t m_headerBytesBudget = 0;
    std::int32_t m_imageDataLength = 0;
};

} // namespace pdfreader
