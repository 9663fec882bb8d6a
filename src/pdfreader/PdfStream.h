#pragma once

#include "pdfreader/JpegImage.h"
#include "pdfreader/Page.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pdfreader {

// The one object through which the open command reads a plan file: it owns
// the page reader of the file being opened and the picture of the selected
// page, and answers how many pages the file has, what its Author and Subject
// are, and which lines were printed where a form field belongs.
//
// Typical use by the open command:
//     pdfreader::TPdfStream pdf;
//     pdf.open(fileName);                         // raises EPdfReadError
//     check pdf.author() and pdf.subject()        // CP932 bytes
//     for (int p = 0; p < pdf.pageCount(); ++p)
//         pdf.selectPage(p);                      // raises only for a damaged image
//     if (const auto *lines = pdf.item(field))    // field index 0..247
//         ... (*lines)[0], lines->size()
//
// Before a successful open the facade is empty: no pages, empty texts, no
// items, and selecting a page does nothing.
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
    void open(const std::string &fileName);

    // The information dictionary's Author and Subject, CP932 bytes as read.
    const std::string &author() const;
    const std::string &subject() const;

    int pageCount() const;

    // Makes page `index` (from 0) the selected one, clamped into
    // 0..pageCount() - 1, and loads its image when it carries one (more than
    // 3 bytes of data); otherwise the previous image stays. A damaged image
    // raises EPdfReadError with the decoder's message and leaves the previous
    // image and image data length in place; nothing else raises.
    void selectPage(int index);
    int selectedPage() const { return m_selectedPage; }
    // Image data length of the selected page's record (0 without an image).
    std::int32_t imageDataLength() const { return m_imageDataLength; }
    // The page image; none before the first open.
    const JpegImage *image() const { return m_image.get(); }

    // The lines of the first text item (in page and content order) that lies
    // on the field's page within 5 units of the field's position on both
    // axes, coordinates truncated to whole units. None when there is no such
    // item, when the field index is not below the total number of items, or
    // when it lies outside 0..247. The list belongs to the facade and lives
    // until the next open or the facade's end.
    const std::vector<std::string> *item(int fieldIndex) const;

    // The text items of all pages (empty before an open), in the plain form
    // that planfile::decodePlan reads.
    std::vector<planfile::TextItem> textItems() const;

private:
    void loadPageImage();

    std::unique_ptr<TPdfPage> m_reader;
    int m_selectedPage = 0;
    std::unique_ptr<JpegImage> m_image;
    std::int32_t m_imageDataLength = 0;
};

} // namespace pdfreader
