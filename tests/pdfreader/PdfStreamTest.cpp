// The reader facade as the open command uses it: opening files, page count
// and page selection, the text items, and page images decoded through the
// JPEG decoder, damaged ones included.
#include "pdfreader/PdfStream.h"
#include "pdfreader/JpegImage.h"
#include "PdfBuilder.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstdio> // jpeglib.h needs FILE and size_t
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include <jpeglib.h>

using namespace pdftest;
using pdfreader::JpegImage;
using pdfreader::TPdfStream;

namespace {

using Lines = std::vector<std::string>;

// JPEG bytes of a w x h picture, 1 (grey) or 3 (RGB) samples per pixel, from
// a function giving the samples of each pixel.
std::string encodeJpeg(int width, int height, int components,
                       const std::function<void(int x, int y, unsigned char *samples)> &pixel)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x)
            pixel(x, static_cast<int>(cinfo.next_scanline), &row[static_cast<std::size_t>(x * components)]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char *>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&cinfo);
    return bytes;
}

// 32 x 16 RGB: left half red, right half blue.
std::string redBlueJpeg()
{
    return encodeJpeg(32, 16, 3, [](int x, int, unsigned char *s) {
        s[0] = x < 16 ? 255 : 0;
        s[1] = 0;
        s[2] = x < 16 ? 0 : 255;
    });
}

// 64 x 48 RGB with busy content, so that the picture data (after the
// start-of-scan marker) is long enough to be cut in the middle.
std::string busyJpeg()
{
    return encodeJpeg(64, 48, 3, [](int x, int y, unsigned char *s) {
        s[0] = static_cast<unsigned char>((x * 37 + y * 91) % 256);
        s[1] = static_cast<unsigned char>((x * x + y * 13) % 256);
        s[2] = static_cast<unsigned char>((x * y * 7) % 256);
    });
}

// The bytes up to the middle of the picture data.
std::string cutInPictureData(const std::string &jpeg)
{
    const std::size_t scan = jpeg.find("\xFF\xDA");
    if (scan == std::string::npos || jpeg.size() - scan < 200)
        throw std::logic_error("no long picture data");
    return jpeg.substr(0, scan + (jpeg.size() - scan) / 2);
}

// Gives page `pageIndex` (0-based) of a planFile an image object with these
// stream bytes as its first external object.
void attachImage(PdfFile &file, std::size_t pageIndex, const std::string &data, int objectNumber)
{
    const int page = 4 + 2 * static_cast<int>(pageIndex);
    file.objects[page] = dict({{"Type", "/Page"},
                               {"Parent", "3 0 R"},
                               {"MediaBox", "[0 0 596 842 ]"},
                               {"Resources", "<<\r\n/XObject <<\r\n/Im1 " + std::to_string(objectNumber) +
                                                 " 0 R\r\n>>\r\n/ProcSet [/PDF /ImageC ]\r\n>>"},
                               {"Contents", std::to_string(page + 1) + " 0 R"}});
    file.objects[objectNumber] = "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Width 32\r\n/Height 16\r\n"
                                 "/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n/Filter /DCTDecode\r\n/Length " +
                                 std::to_string(data.size()) + "\r\n>>\r\nstream\r\n" + data + "\nendstream";
}

TextObject at(const std::string &x, const std::string &y, Lines lines)
{
    return TextObject{x, y, std::move(lines)};
}

// Writes test files into the test's own temporary folder.
class PdfStreamTest : public testing::Test {
protected:
    std::string write(const std::string &name, const std::string &bytes)
    {
        const auto path = m_dir / name;
        testsupport::writeFile(path, bytes);
        return path.string();
    }
    std::string write(const std::string &name, const PdfFile &file) { return write(name, file.build()); }

    testsupport::TempDir m_dir{"ovilant-pdfstream"};
};

TEST_F(PdfStreamTest, EmptyBeforeOpenAndAfterAFailedOpen)
{
    TPdfStream pdf;
    EXPECT_EQ(pdf.pageCount(), 0);
    EXPECT_EQ(pdf.author(), "");
    EXPECT_TRUE(pdf.textItems().empty());
    EXPECT_EQ(pdf.image(), nullptr);
    pdf.selectPage(0); // nothing to select: no effect, no fault
    EXPECT_EQ(pdf.selectedPage(), 0);

    pdf.open(write("plan.pdf", planFile({{at("488", "822", {"date"})}, {}})));
    ASSERT_EQ(pdf.pageCount(), 2);
    ASSERT_EQ(pdf.textItems().size(), 1u);
    EXPECT_EQ(pdf.textItems()[0].lines, Lines{"date"});

    // A failed open drops the earlier file instead of answering from it.
    EXPECT_THROW(pdf.open((m_dir / "missing.pdf").string()), EPdfReadError);
    EXPECT_EQ(pdf.pageCount(), 0);
    EXPECT_EQ(pdf.author(), "");
    EXPECT_TRUE(pdf.textItems().empty());
}

TEST_F(PdfStreamTest, MarkersPagesAndReopening)
{
    TPdfStream pdf;
    pdf.open(write("plan.pdf", planFile({{}, {}})));
    EXPECT_EQ(pdf.author(), sjis("Ｒ１．０"));
    EXPECT_EQ(pdf.subject(), sjis("ＲＩＨＡ"));
    EXPECT_EQ(pdf.pageCount(), 2);

    pdf.selectPage(-1);
    EXPECT_EQ(pdf.selectedPage(), 0);
    pdf.selectPage(5);
    EXPECT_EQ(pdf.selectedPage(), 1);
    pdf.selectPage(2);
    EXPECT_EQ(pdf.selectedPage(), 1);
    pdf.selectPage(0);
    EXPECT_EQ(pdf.selectedPage(), 0);
    EXPECT_EQ(pdf.imageDataLength(), 0);
    ASSERT_NE(pdf.image(), nullptr);
    EXPECT_TRUE(pdf.image()->empty()) << "the plan's own pages carry no image";

    // Opening another file replaces everything read from the first.
    PlanOptions other;
    other.author = "someone";
    other.subject = "else";
    pdf.open(write("other.pdf", planFile({{}, {}, {at("488", "822", {"x"})}}, other)));
    EXPECT_EQ(pdf.author(), "someone");
    EXPECT_EQ(pdf.subject(), "else");
    EXPECT_EQ(pdf.pageCount(), 3);
    EXPECT_EQ(pdf.selectedPage(), 0);
    ASSERT_EQ(pdf.textItems().size(), 1u);
    EXPECT_EQ(pdf.textItems()[0].page, 3) << "the only item lies on page 3";
    EXPECT_EQ(pdf.textItems()[0].lines, Lines{"x"});
}

TEST_F(PdfStreamTest, PageImagesAreDecodedWhenTheirPageIsSelected)
{
    const std::string jpeg = redBlueJpeg();
    PdfFile file = planFile({{}, {}, {}});
    attachImage(file, 1, jpeg, 20);
    const std::string grey = encodeJpeg(8, 24, 1, [](int, int y, unsigned char *s) { *s = y < 12 ? 0 : 255; });
    attachImage(file, 2, grey, 21);

    TPdfStream pdf;
    pdf.open(write("images.pdf", file));
    ASSERT_EQ(pdf.pageCount(), 3);
    pdf.selectPage(0);
    ASSERT_TRUE(pdf.image()->empty());

    pdf.selectPage(1);
    EXPECT_EQ(pdf.imageDataLength(), static_cast<std::int32_t>(jpeg.size()));
    const JpegImage &image = *pdf.image();
    ASSERT_EQ(image.width(), 32);
    ASSERT_EQ(image.height(), 16);
    ASSERT_EQ(image.components(), 3);
    ASSERT_EQ(image.pixels().size(), 32u * 16u * 3u);
    auto sample = [&image](int x, int y, int c) {
        return static_cast<int>(
            image.pixels()[static_cast<std::size_t>((y * image.width() + x) * image.components() + c)]);
    };
    // Lossy, so near the colours drawn rather than equal.
    EXPECT_GT(sample(2, 8, 0), 200);
    EXPECT_LT(sample(2, 8, 2), 60);
    EXPECT_LT(sample(29, 8, 0), 60);
    EXPECT_GT(sample(29, 8, 2), 200);

    // Back to a page without an image: the picture of page 2 stays.
    pdf.selectPage(0);
    EXPECT_EQ(pdf.imageDataLength(), 0);
    EXPECT_EQ(pdf.image()->width(), 32);

    pdf.selectPage(2);
    EXPECT_EQ(pdf.image()->width(), 8);
    EXPECT_EQ(pdf.image()->height(), 24);
    EXPECT_EQ(pdf.image()->components(), 1);
    EXPECT_LT(pdf.image()->pixels()[2 * 8 + 3], 40);
    EXPECT_GT(pdf.image()->pixels()[20 * 8 + 3], 215);
}

TEST_F(PdfStreamTest, ADamagedImageRaisesTheReadersErrorAndKeepsThePreviousPicture)
{
    const std::string jpeg = redBlueJpeg();
    PdfFile file = planFile({{at("488", "822", {"date"})}, {}, {}, {}});
    attachImage(file, 0, jpeg, 20);
    attachImage(file, 1, "this is no JPEG stream at all", 21);
    attachImage(file, 2, cutInPictureData(busyJpeg()), 22);
    attachImage(file, 3, "ABC", 23); // 3 bytes: not decoded at all

    TPdfStream pdf;
    pdf.open(write("damaged.pdf", file));
    pdf.selectPage(0);
    ASSERT_EQ(pdf.image()->width(), 32);
    const auto goodPixels = pdf.image()->pixels();

    // Damaged headers are found when the page is selected.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            pdf.selectPage(1);
            ADD_FAILURE() << "a damaged image was taken";
        } catch (const EPdfReadError &e) {
            EXPECT_EQ(std::string(e.what()), "Not a JPEG file: starts with 0x74 0x68");
        }
        EXPECT_EQ(pdf.selectedPage(), 1);
        EXPECT_TRUE(pdf.image()->pixels() == goodPixels) << "the previous picture stays";
        EXPECT_EQ(pdf.imageDataLength(), static_cast<std::int32_t>(jpeg.size()))
            << "the length is stored only once the image is taken";
    }

    // Damaged picture data behind sound headers is found when the pixels
    // are asked for, every time they are.
    pdf.selectPage(2);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            pdf.image();
            ADD_FAILURE() << "a damaged image was decoded";
        } catch (const EPdfReadError &e) {
            EXPECT_EQ(std::string(e.what()), "Corrupt JPEG data: premature end of data segment");
        }
    }

    pdf.selectPage(3);
    EXPECT_EQ(pdf.imageDataLength(), 3);
    EXPECT_THROW(pdf.image(), EPdfReadError) << "page 3 shows page 2's picture still";

    // Everything else still answers after the failures.
    ASSERT_FALSE(pdf.textItems().empty());
    EXPECT_EQ(pdf.textItems()[0].lines, Lines{"date"});
}

// A file whose one page, showing this picture, the page tree names `times`
// times.
PdfFile pageNamedManyTimes(const std::string &jpeg, int times)
{
    PdfFile file = planFile({{}});
    attachImage(file, 0, jpeg, 20);
    std::string kids = "[";
    for (int i = 0; i < times; ++i)
        kids += "4 0 R ";
    file.objects[3] = dict({{"Type", "/Pages"}, {"Kids", kids + "]"}, {"Count", std::to_string(times)}});
    return file;
}

// The JPEG bytes with the size in the start-of-frame header replaced.
std::string claimingSize(std::string jpeg, int width, int height)
{
    const std::size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos)
        throw std::logic_error("no baseline frame header");
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

// Every naming of a page used to decode its picture again: a few bytes of
// JPEG data named by many pages kept the reader busy for a minute. Each
// image object is now decoded once, and only when its pixels are asked for;
// all the pictures of a file share a pixel budget in proportion to its size.
TEST_F(PdfStreamTest, ImagesAreDecodedOnceAndWithinThePixelBudget)
{
    const std::string grey = encodeJpeg(64, 48, 1, [](int x, int y, unsigned char *s) { *s = static_cast<unsigned char>(x * y); });
    TPdfStream pdf;
    pdf.open(write("shared.pdf", pageNamedManyTimes(grey, 200)));
    ASSERT_EQ(pdf.pageCount(), 200);
    for (int page = 0; page < 200; ++page) {
        pdf.selectPage(page);
        EXPECT_EQ(pdf.decodedPixelBytes(), 0u) << "nothing decoded before the pixels are asked for";
    }
    for (int page = 0; page < 200; ++page) {
        pdf.selectPage(page);
        ASSERT_EQ(pdf.image()->width(), 64) << page;
    }
    EXPECT_EQ(pdf.decodedPixelBytes(), 64u * 48u) << "decoded once for 200 pages";

    // A header claiming a picture beyond any budget is refused when the page
    // is selected; one within the largest picture but beyond this file's
    // budget, when its pixels are asked for, before anything is decoded.
    const std::string small = encodeJpeg(16, 16, 1, [](int x, int, unsigned char *s) { *s = static_cast<unsigned char>(x * 16); });
    pdf.open(write("bomb.pdf", pageNamedManyTimes(claimingSize(small, 11585, 11585), 200)));
    try {
        pdf.selectPage(0);
        ADD_FAILURE() << "a picture of 134 million samples was taken";
    } catch (const EPdfReadError &e) {
        EXPECT_EQ(std::string(e.what()), "JPEG IMAGE SIZE ERROR");
    }
    pdf.open(write("budget.pdf", pageNamedManyTimes(claimingSize(small, 4000, 4000), 200)));
    for (int page = 0; page < 200; ++page) {
        pdf.selectPage(page);
        try {
            pdf.image();
            ADD_FAILURE() << "16 MB of samples were decoded from a file of a few KB";
        } catch (const EPdfReadError &e) {
            ASSERT_EQ(std::string(e.what()), "JPEG IMAGE SIZE ERROR");
        }
    }
}

// A progressive grey 16 x 16 picture in `scans` scans: DC, then single AC
// coefficients first at half precision and then refined.
std::string progressiveJpeg(int scans)
{
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0, 0, 0, 0}, 0, 0, 0, 0});
    for (int k = 1; k <= 63 && static_cast<int>(script.size()) < scans; ++k)
        script.push_back({1, {0, 0, 0, 0}, k, k, 0, 1});
    for (int k = 1; k <= 63 && static_cast<int>(script.size()) < scans; ++k)
        script.push_back({1, {0, 0, 0, 0}, k, k, 1, 0});
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&cinfo, TRUE);
    unsigned char row[16];
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < 16; ++x)
            row[x] = static_cast<unsigned char>((x * 37 + static_cast<int>(cinfo.next_scanline) * 11) % 256);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char *>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&cinfo);
    return bytes;
}

// Each scan of a progressive picture is a pass over all of it, and a scan
// takes a few bytes: more than 100 are refused.
TEST(JpegImage, ProgressivePicturesOfMoreThanAHundredScansAreRefused)
{
    JpegImage image;
    image.loadFromMemory(progressiveJpeg(100));
    EXPECT_EQ(image.width(), 16);
    const std::string many = progressiveJpeg(127);
    EXPECT_NO_THROW(JpegImage::readHeader(many)) << "the headers alone do not show the scans";
    try {
        JpegImage refused;
        refused.loadFromMemory(many);
        ADD_FAILURE() << "127 scans were decoded";
    } catch (const EPdfReadError &e) {
        EXPECT_EQ(std::string(e.what()), "JPEG IMAGE SIZE ERROR");
    }
}

// Only regular files are read: a FIFO would block the open until someone
// writes to it, a device could be read for ever. Both, and a folder, are
// refused with the file-open message at once; a file beyond the size of
// any plan file is refused before it is parsed.
TEST_F(PdfStreamTest, OnlyRegularFilesOfAPlausibleSizeAreOpened)
{
    TPdfStream pdf;
    std::vector<std::filesystem::path> refused = testsupport::nonRegularFiles(m_dir.path());
    refused.push_back(m_dir.path());
    for (const std::filesystem::path &name : refused) {
        SCOPED_TRACE(name);
        try {
            pdf.open(name);
            ADD_FAILURE() << "opened";
        } catch (const EPdfReadError &e) {
            EXPECT_EQ(e.text(), "PDF FILE OPEN ERROR : ");
            EXPECT_EQ(e.fileName(), name.string());
        }
        EXPECT_EQ(pdf.pageCount(), 0);
    }

    const std::string large = (m_dir / "large.pdf").string();
    const auto refusal = [&](std::int64_t size) -> std::string {
        std::filesystem::resize_file(large, static_cast<std::uintmax_t>(size));
        try {
            pdf.open(large);
        } catch (const EPdfReadError &e) {
            return e.what();
        }
        return "(opened)";
    };
    write("large.pdf", planFile({{}}).build());
    EXPECT_EQ(refusal(TPdfStream::MaxFileSize + 1), TPdfStream::tooLargeMessage());
    EXPECT_EQ(refusal(TPdfStream::MaxFileSize), "PDF FILE EOF ERROR") << "parsed: its tail is zeros";
}

TEST(JpegImage, DecoderFaultsComeBackAsMessages)
{
    const std::string jpeg = redBlueJpeg();
    auto message = [](const std::string &bytes) -> std::string {
        JpegImage image;
        try {
            image.loadFromMemory(bytes);
        } catch (const EPdfReadError &e) {
            EXPECT_TRUE(image.empty());
            return e.what();
        }
        return "(decoded)";
    };
    EXPECT_EQ(message(jpeg), "(decoded)");
    EXPECT_EQ(message(""), "Empty input file");
    EXPECT_EQ(message("GIF89a......"), "Not a JPEG file: starts with 0x47 0x49");
    EXPECT_EQ(message(jpeg.substr(0, 300)), "Premature end of JPEG file") << "cut inside the headers";

    const std::string busy = busyJpeg();
    EXPECT_EQ(message(busy), "(decoded)");
    EXPECT_EQ(message(cutInPictureData(busy)), "Corrupt JPEG data: premature end of data segment");
    // A missing end marker after complete picture data loses nothing.
    ASSERT_EQ(busy.substr(busy.size() - 2), "\xFF\xD9");
    EXPECT_EQ(message(busy.substr(0, busy.size() - 2)), "(decoded)");
    // Picture data overwritten with a marker code in the middle.
    std::string marked = busy;
    const std::size_t middle = cutInPictureData(busy).size();
    marked.replace(middle, 2, "\xFF\xD0");
    EXPECT_EQ(message(marked), "Corrupt JPEG data: premature end of data segment");

    // A header claiming 60000 x 60000 pixels is refused before any allocation.
    std::string huge = jpeg;
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (std::size_t at : {sof + 5, sof + 7}) {
        huge[at] = static_cast<char>(0xEA);
        huge[at + 1] = static_cast<char>(0x60);
    }
    EXPECT_EQ(message(huge), "JPEG IMAGE SIZE ERROR");
}

} // namespace
