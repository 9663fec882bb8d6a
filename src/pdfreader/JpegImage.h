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
    // Decodes a complete JPEG stream (the raw bytes of the image object).
    void loadFromMemory(std::string_view data);

    bool empty() const { return m_pixels.empty(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Samples per pixel: 1 grey, 3 RGB, 4 CMYK (kept as the file has it).
    int components() const { return m_components; }
    const std::vector<std::uint8_t> &pixels() const { return m_pixels; }

    // Largest picture accepted, in bytes of decoded samples. A header that
    // claims more is refused before anything is allocated; the largest
    // real page scans need well under half of it.
    static constexpr std::size_t MaxPixelBytes = 128u * 1024u * 1024u;

private:
    int m_width = 0;
    int m_height = 0;
    int m_components = 0;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace pdfreader
