#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pdfreader {

// The picture carried by a page's image object, decoded from its JPEG bytes
// into 8-bit samples, row after row, without padding.
//
// The decoder's failures never end the process: a damaged or truncated
// stream raises EPdfReadError with the decoder's message, and the image
// keeps the picture it held before.
class JpegImage {
public:
    // Size and samples per pixel as the headers give them.
    struct Header {
        int width = 0;
        int height = 0;
        int components = 0;
        std::size_t pixelBytes() const
        {
            return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                   static_cast<std::size_t>(components);
        }
    };

    // Reads only the headers of a JPEG stream: a damaged header, a picture
    // of no pixels, or one larger than MaxPixelBytes raises EPdfReadError.
    // Cheap: no picture data is decoded.
    static Header readHeader(std::string_view data);

    // Decodes a complete JPEG stream (the raw bytes of the image object).
    // A picture whose samples take more than `maxPixelBytes` (never more
    // than MaxPixelBytes) is refused with "JPEG IMAGE SIZE ERROR" before
    // anything is decoded, and so is a progressive one of more than
    // MaxScans scans when its data comes to them: each scan is a pass over
    // the whole picture, and a few bytes make a scan.
    void loadFromMemory(std::string_view data, std::size_t maxPixelBytes = MaxPixelBytes);

    bool empty() const { return m_pixels.empty(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Samples per pixel: 1 grey, 3 RGB, 4 CMYK (kept as the file has it).
    int components() const { return m_components; }
    const std::vector<std::uint8_t> &pixels() const { return m_pixels; }

    // Largest picture accepted, in bytes of decoded samples. A header that
    // claims more is refused before anything is allocated; an A4 page
    // scanned in colour at 300 dpi needs 26 MB.
    static constexpr std::size_t MaxPixelBytes = 64u * 1024u * 1024u;
    // Progressive pictures are usually written in about 10 scans; 100 is
    // far beyond what an encoder chooses.
    static constexpr int MaxScans = 100;

private:
    int m_width = 0;
    int m_height = 0;
    int m_components = 0;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace pdfreader
