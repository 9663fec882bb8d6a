// Writes the fuzzer's seed files (our own file shape and its variations)
// into a folder, or, with --bad, the bad-file catalogue and its list of
// expected messages (messages.txt, UTF-8: file name, TAB, message).
#include "BadFiles.h"
#include "PdfBuilder.h"

#include "plan/Cp932.h"

#include <fstream>
#include <iostream>

using namespace pdftest;

namespace {

void write(const std::string &dir, const std::string &name, const std::string &bytes)
{
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--bad") {
        const std::string dir = argv[2];
        std::ofstream list(dir + "/messages.txt", std::ios::binary);
        for (const BadFile &bad : badFiles()) {
            write(dir, bad.name + ".pdf", bad.bytes);
            list << bad.name << ".pdf\t" << cp932::toUtf8(bad.message) << "\n";
        }
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: pdfreader_seedgen <folder> | --bad <folder>\n";
        return 2;
    }
    const std::string dir = argv[1];
    write(dir, "seed-plan-2pages.pdf", planFile({planLikePage(1, 12), planLikePage(2, 6)}).build());
    write(dir, "seed-empty-page.pdf", planFile({{}}).build());

    PdfFile nested = planFile({planLikePage(1, 2), planLikePage(2, 2), planLikePage(3, 2)});
    nested.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[20 0 R 8 0 R ]"}, {"Count", "3"}});
    nested.objects[20] = dict({{"Type", "/Pages"}, {"Parent", "3 0 R"}, {"Kids", "[4 0 R 6 0 R ]"}, {"Count", "2"}});
    write(dir, "seed-nested.pdf", nested.build());

    PdfFile outline = planFile({planLikePage(1, 3), planLikePage(2, 3)});
    outline.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"Outlines", "20 0 R"}});
    outline.objects[20] = dict({{"Type", "/Outlines"}, {"First", "21 0 R"}, {"Last", "22 0 R"}, {"Count", "2"}});
    outline.objects[21] = dict({{"Title", "(First)"}, {"Parent", "20 0 R"}, {"Next", "22 0 R"}, {"Dest", "[4 0 R /Fit]"}});
    outline.objects[22] = dict({{"Title", "<FEFF001B656E001BFF32FF29>"}, {"Parent", "20 0 R"}, {"Prev", "21 0 R"},
                                {"Dest", "[6 0 R /Fit]"}});
    write(dir, "seed-outline.pdf", outline.build());

    PdfFile image = planFile({planLikePage(1, 2)});
    image.objects[4] = dict({{"Type", "/Page"}, {"Parent", "3 0 R"}, {"MediaBox", "[0 0 596 842 ]"},
                             {"Resources", "<<\r\n/XObject <<\r\n/Im1 20 0 R\r\n>>\r\n/ProcSet [/PDF /ImageC ]\r\n>>"},
                             {"Contents", "5 0 R"}, {"Annots", "[21 0 R]"}});
    image.objects[20] = "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Width 1\r\n/Height 1\r\n/BitsPerComponent 8\r\n"
                        "/ColorSpace /DeviceRGB\r\n/Filter /DCTDecode\r\n/Length 4\r\n>>\r\nstream\r\nABCD\nendstream";
    image.objects[21] = dict({{"Type", "/Annot"}, {"Subtype", "/Text"}, {"Contents", "(note \\(1\\))"},
                              {"Rect", "[0 0 10 10]"}});
    write(dir, "seed-image-annot.pdf", image.build());

    PdfFile v10 = planFile({planLikePage(1, 2)}, PlanOptions{"Ｒ１．０", "ＲＩＨＡ", "1.0"});
    v10.header += "%\xE2\xE3\xCF\xD3\r\n";
    v10.splitAt = 3;
    v10.eof = "%%EOF";
    write(dir, "seed-v10-split.pdf", v10.build());
    return 0;
}
