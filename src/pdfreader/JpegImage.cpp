#include "pdfreader/JpegImage.h"

#include "pdfreader/PdfReadError.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE and size_t without declaring them

#include <jerror.h>
#include <jpeglib.h>

namespace pdfreader {
namespace {

// The decoder's own memory for one picture (progressive images keep all
// their coefficients, two bytes each, at most as many as there are samples):
// beyond this it fails with its out-of-memory message instead of asking the
// system for more than the picture needs.
long decoderMemoryFor(std::size_t pixelBytes)
{
    return static_cast<long>(2 * pixelBytes + (std::size_t(4) << 20));
}

// Everything the decoder touches lives in this one object, owned by the
// caller of the functions that call setjmp: after a jump back nothing is
// read from their locals, and no C++ object lies between the jump and its
// target (only the library's C frames and the handlers below).
struct Decoder {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    jpeg_progress_mgr progress{};
    bool readingHeaders = true;
    bool allRowsRead = false;
    bool tooManyScans = false;

    Decoder();
    // Frees the library's memory pools; harmless when creation never ran or
    // failed half-way (the pools are then absent).
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;
};

// Replaces the library's error exit, which would end the whole program:
// keep the message and jump back to the step that was running.
[[noreturn]] void failDecoding(j_common_ptr cinfo)
{
    auto *decoder = static_cast<Decoder *>(cinfo->client_data);
    (*cinfo->err->format_message)(cinfo, decoder->message);
    std::longjmp(decoder->jump, 1);
}

// The library reports lost picture data only as a warning and fills the gap
// with grey. Such a warning means a damaged image, and it fails like an
// error: running out of bits in the middle of the picture data, bad codes,
// lost restart markers, and the end of the data while the headers are still
// being read. The end of the data alone, once rows are being decoded, is not
// a fault: the decoder reads ahead, and a picture whose end marker is
// missing is complete. Other warnings (an unknown JFIF revision, say) and
// anything after the last row are harmless. Nothing is ever printed.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    const auto *decoder = static_cast<const Decoder *>(cinfo->client_data);
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
        if (decoder->readingHeaders)
            failDecoding(cinfo);
        break;
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        if (!decoder->allRowsRead)
            failDecoding(cinfo);
        break;
    default:
        break;
    }
}

void onOutput(j_common_ptr) {}

// Called by the decoder as it goes through the picture data: a progressive
// picture of more scans than anyone writes is refused as it reaches them.
void onProgress(j_common_ptr cinfo)
{
    auto *decoder = static_cast<Decoder *>(cinfo->client_data);
    const auto *info = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (info->input_scan_number > JpegImage::MaxScans) {
        decoder->tooManyScans = true;
        std::longjmp(decoder->jump, 1);
    }
}

Decoder::Decoder()
{
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = failDecoding;
    err.emit_message = onMessage;
    err.output_message = onOutput;
    progress.progress_monitor = onProgress;
    cinfo.client_data = this;
}

// Reads the headers and fixes the output form: grey stays grey, CMYK stays
// CMYK (the library converts it to nothing else), everything else is RGB.
bool readHeader(Decoder *decoder, const unsigned char *data, unsigned long size)
{
    if (setjmp(decoder->jump))
        return false;
    jpeg_create_decompress(&decoder->cinfo);
    decoder->cinfo.progress = &decoder->progress;
    decoder->cinfo.mem->max_memory_to_use = decoderMemoryFor(JpegImage::MaxPixelBytes);
    jpeg_mem_src(&decoder->cinfo, data, size);
    jpeg_read_header(&decoder->cinfo, TRUE);
    switch (decoder->cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        decoder->cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        decoder->cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        decoder->cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&decoder->cinfo);
    decoder->readingHeaders = false;
    return true;
}

// Decodes every row into `pixels`, which holds `height` rows of `stride` bytes.
bool readRows(Decoder *decoder, std::uint8_t *pixels, std::size_t stride, unsigned height)
{
    if (setjmp(decoder->jump))
        return false;
    decoder->cinfo.mem->max_memory_to_use = decoderMemoryFor(stride * height);
    jpeg_start_decompress(&decoder->cinfo);
    // The sizes were fixed by readHeader; never write past the buffer.
    if (static_cast<std::size_t>(decoder->cinfo.output_width) * decoder->cinfo.output_components != stride ||
        decoder->cinfo.output_height != height)
        return false;
    while (decoder->cinfo.output_scanline < decoder->cinfo.output_height) {
        JSAMPROW row = pixels + stride * decoder->cinfo.output_scanline;
        jpeg_read_scanlines(&decoder->cinfo, &row, 1);
    }
    decoder->allRowsRead = true;
    jpeg_finish_decompress(&decoder->cinfo);
    return true;
}


// The headers, read and checked: a picture of no pixels or of more samples
// than `maxPixelBytes` is refused.
void readCheckedHeader(Decoder &decoder, std::string_view data, std::size_t maxPixelBytes)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.data());
    if (!readHeader(&decoder, bytes, static_cast<unsigned long>(data.size())))
        throw EPdfReadError(decoder.message);
    const jpeg_decompress_struct &info = decoder.cinfo;
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
    const unsigned height = info.output_height;
    maxPixelBytes = std::min(maxPixelBytes, JpegImage::MaxPixelBytes);
    if (stride == 0 || height == 0 || stride > maxPixelBytes / height)
        throw EPdfReadError("JPEG IMAGE SIZE ERROR");
}

} // namespace

JpegImage::Header JpegImage::readHeader(std::string_view data)
{
    Decoder decoder;
    readCheckedHeader(decoder, data, MaxPixelBytes);
    Header header;
    header.width = static_cast<int>(decoder.cinfo.output_width);
    header.height = static_cast<int>(decoder.cinfo.output_height);
    header.components = decoder.cinfo.output_components;
    return header;
}

void JpegImage::loadFromMemory(std::string_view data, std::size_t maxPixelBytes)
{
    Decoder decoder;
    readCheckedHeader(decoder, data, maxPixelBytes);
    const jpeg_decompress_struct &info = decoder.cinfo;
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
    const unsigned height = info.output_height;

    std::vector<std::uint8_t> pixels(stride * height);
    if (!readRows(&decoder, pixels.data(), stride, height)) {
        if (decoder.tooManyScans || decoder.message[0] == '\0')
            throw EPdfReadError("JPEG IMAGE SIZE ERROR");
        throw EPdfReadError(decoder.message);
    }

    m_pixels = std::move(pixels);
    m_width = static_cast<int>(info.output_width);
    m_height = static_cast<int>(height);
    m_components = info.output_components;
}

} // namespace pdfreader
