#include "BadFiles.h"

#include "PdfBuilder.h"
#include "pdfreader/PdfReadError.h"

#include "plan/Cp932.h"

#include <functional>
#include <stdexcept>

namespace pdftest {

namespace {

PdfFile base() { return planFile({{{"100", "700", {"abc"}}}, {{"200", "600", {"def"}}}}); }

std::string hex8(std::size_t position) { return pdfreader::hexPosition(static_cast<std::int64_t>(position)); }

// Replaces the first `from` at or after `start` with `to`; the text must occur.
std::string replaced(std::string bytes, const std::string &from, const std::string &to, std::size_t start = 0)
{
    const std::size_t at = bytes.find(from, start);
    if (at == std::string::npos)
        throw std::logic_error("bad-file recipe: no " + from);
    return bytes.replace(at, from.size(), to);
}

std::size_t find(const std::string &bytes, const std::string &what)
{
    const std::size_t at = bytes.find(what);
    if (at == std::string::npos)
        throw std::logic_error("bad-file recipe: no " + what);
    return at;
}

const std::string pageKeys = "/Type /Page\r\n/Parent 3 0 R\r\n";

// Page 1 with its resources replaced.
PdfFile withResources(const std::string &resources, const std::string &extra = std::string())
{
    PdfFile file = base();
    file.objects[4] = "<<\r\n" + pageKeys + "/Resources " + resources + "\r\n/Contents 5 0 R\r\n" + extra + ">>";
    return file;
}

PdfFile withImage(const std::string &imageDictionary, const std::string &afterDictionary = "stream\r\nDATA\nendstream")
{
    PdfFile file = withResources("<<\r\n/XObject <<\r\n/Im0 20 0 R\r\n>>\r\n>>");
    file.objects[20] = imageDictionary + "\r\n" + afterDictionary;
    return file;
}

PdfFile withOutline(const std::string &root, const std::string &item)
{
    PdfFile file = base();
    file.objects[1] = "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/Outlines 20 0 R\r\n>>";
    file.objects[20] = root;
    if (!item.empty())
        file.objects[21] = item;
    return file;
}

PdfFile withContent(const std::string &object)
{
    PdfFile file = base();
    file.objects[5] = object;
    return file;
}

} // namespace

std::vector<BadFile> badFiles()
{
    std::vector<BadFile> list;
    auto add = [&list](const std::string &name, const std::string &bytes, const std::string &message) {
        list.push_back({name, bytes, message});
    };
    auto add1 = [&](const std::string &name, PdfFile file, const std::string &message) {
        add(name, file.build(), message);
    };
    const std::string ok = base().build();

    // Header, first object and tail.
    add("01-not-a-pdf", "%!PS-Adobe-3.0\r\n" + ok.substr(11), "PDF FILE ERROR");
    add("02-version-2-0", replaced(ok, "%PDF-1.2", "%PDF-2.0"), "PDF VERSION NOT SUPPORT");
    {
        PdfFile f = base();
        f.headOverride[1] = "x 0 obj";
        add1("03-first-object-no-number", f, "PDF OBJ NO ERROR Address : 0000000B");
        f.headOverride[1] = "1 x obj";
        add1("04-first-object-no-generation", f, "PDF GEN NO ERROR");
        f.headOverride[1] = "1 0 ojb";
        add1("05-first-object-no-obj", f, "PDF OBJ NOT FOUND ERROR Address : 00000012");
    }
    {
        PdfFile f = base();
        f.eof = "%%EOF ";
        add1("06-eof-marker-not-at-end", f, "PDF FILE EOF ERROR");
        f.eof = std::string(40, ' ') + "\r\n%%EOF\r\n";
        add1("07-startxref-too-far-from-end", f, "PDF STARTXREF ERROR");
    }
    add("08-startxref-number-on-same-line", replaced(ok, "startxref\r\n", "startxref "), "PDF LASTCROSSREF ERROR");

    // Cross-reference section and trailer.
    {
        PdfFile f = base();
        const std::string bytes = f.build();
        const std::size_t x = f.xrefOffset;
        add("09-xref-keyword-missing", replaced(bytes, "xref\r\n0 9", "xrex\r\n0 9", x), "PDF XREF ERROR");
        add("10-subsection-no-first-number", replaced(bytes, "xref\r\n0 9", "xref\r\nx 9", x), "PDF OBJ NO ERROR");
        add("11-subsection-no-count", replaced(bytes, "xref\r\n0 9", "xref\r\n0 x", x), "PDF GEN NO ERROR");
        add("12-entry-offset-not-a-number", replaced(bytes, "0000000000 65535 f", "00000000x0 65535 f", x),
            "PDF XREF ENTRY OBJ NO ERROR");
        add("13-entry-generation-not-a-number", replaced(bytes, "0000000000 65535 f", "0000000000 6553x f", x),
            "PDF XREF ENTRY GEN NO ERROR");
        add("14-entry-kind-not-n-or-f", replaced(bytes, "0000000000 65535 f", "0000000000 65535 x", x),
            "PDF XREF ENTRY N/F ERROR");
        add("15-trailer-not-closed", replaced(bytes, "/Info 2 0 R\r\n>>", "/Info 2 0 R\r\n)>", x),
            "PDF DICTIONARY ERROR");
        PdfFile loop = base();
        loop.trailer = {{"Size", "9"}, {"Root", "1 0 R"}, {"Info", "2 0 R"}, {"Prev", std::to_string(x)}};
        add1("16-prev-points-at-itself", loop, "PDF TRAILER PREV XREF ERROR");
        PdfFile noInfo = base();
        noInfo.trailer = {{"Size", "9"}, {"Root", "1 0 R"}};
        add1("17-trailer-without-info", noInfo, "PDF OBJ FORMAT ERROR");
        PdfFile badRoot = base();
        badRoot.trailer = {{"Size", "9"}, {"Root", "30 0 R"}, {"Info", "2 0 R"}};
        add1("18-root-not-in-xref", badRoot, "PDF OBJ INDEX ERROR");
    }

    // Objects reached through the table.
    {
        PdfFile f = base();
        f.headOverride[2] = "x 0 obj";
        std::string bytes = f.build();
        add("19-object-head-no-number", bytes, "PDF OBJ NO ERROR Address : " + hex8(f.offsets[2]));
        f.headOverride[2] = "2 0 obx";
        bytes = f.build();
        add("20-object-head-no-obj", bytes, "PDF OBJ NOT FOUND ERROR Address : " + hex8(f.offsets[2] + 7));
        f.headOverride[2] = "7 0 obj";
        add1("21-object-number-mismatch", f, "SYSTEM OBJ UNMATCH ERROR");
        f.headOverride[2] = "2 1 obj";
        add1("22-object-generation-mismatch", f, "SYSTEM GEN UNMATCH ERROR");
    }

    // Catalog and information.
    {
        PdfFile f = base();
        f.objects[1] = "[/Catalog]";
        add1("23-catalog-not-a-dictionary", f, "PDF CATALOG DICTIONARY ERROR");
        f.objects[1] = "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>> junk";
        add1("24-catalog-without-endobj", f, "PDF CATALOG PAGE ERROR");
        f.objects[1] = "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/OutputIntents [ ]\r\n>>";
        add1("25-catalog-unknown-key", f, "PDF CATALOG KEY NOT SUPPORT");
    }
    {
        PdfFile f = base();
        f.objects[2] = "(Author)";
        add1("26-info-not-a-dictionary", f, "PDF INFO DICTIONARY ERROR");
        f.objects[2] = "<<\r\n/Author (a)\r\n>> junk";
        add1("27-info-without-endobj", f, "PDF INFO OBJ ERROR");
        f.objects[2] = "<<\r\n/Author (a)\r\n/Company (b)\r\n>>";
        add1("28-info-unknown-key", f, "PDF INFO KEY NOT SUPPORT");
    }

    // Page tree.
    {
        PdfFile f = withResources("<<\r\n/XObject <<\r\n>>\r\n>>", "/Foo 1\r\n");
        const std::string bytes = f.build();
        add("29-page-node-unknown-key", bytes, "Pages Error Object Address : " + hex8(find(bytes, "/Foo 1") + 5));
        PdfFile r = withResources("5 R");
        const std::string rb = r.build();
        add("30-resources-reference-too-short", rb,
            "PDF PAGE RESOURCES ERROR Address : " + hex8(find(rb, "/Resources 5 R") + 15));
        add1("31-page-with-thumb", withResources("<<\r\n>>", "/Thumb 9 0 R\r\n"), "thumb " + cp932::fromUtf8("未サポート"));
        add1("32-page-with-metadata", withResources("<<\r\n>>", "/Metadata 9 0 R\r\n"),
             "Metadata " + cp932::fromUtf8("未サポート"));
        PdfFile empty = base();
        empty.objects[3] = "<<\r\n/Type /Pages\r\n/Kids []\r\n/Count 0\r\n>>";
        add1("33-pages-with-empty-kids", empty, "PDF INDEX ARRAY ERROR");
        PdfFile type = base();
        type.objects[4] = "<<\r\n/Type /Font\r\n>>";
        add1("34-kid-neither-pages-nor-page", type, "PDF PAGE TYPE ERROR");
        PdfFile deep = base();
        deep.objects[3] = "<<\r\n/Type /Pages\r\n/Kids [20 0 R]\r\n/Count 1\r\n>>";
        // The root and nodes 20 to 28: ten nested levels.
        for (int level = 20; level < 28; ++level)
            deep.objects[level] = "<<\r\n/Type /Pages\r\n/Kids [" + std::to_string(level + 1) + " 0 R]\r\n>>";
        deep.objects[28] = "<<\r\n/Type /Pages\r\n/Kids [4 0 R]\r\n>>";
        add1("35-ten-levels-of-pages", deep, "PDF STACK OVERFLOW ERROR");
        PdfFile direct = base();
        direct.objects[3] = "<<\r\n/Type /Pages\r\n/Kids [<< /Type /Page >>]\r\n/Count 1\r\n>>";
        add1("36-kids-holding-a-dictionary", direct, "PDF KIDS ARRAY ERROR");
        // Eight levels, each naming the next ten times: 10^8 pages from a
        // file of a few kilobytes. The walk gives up on the page visit that
        // exceeds a fifth of the file size, just after loading page 4.
        PdfFile shared = base();
        const std::string tenTimes = [] {
            std::string kids;
            for (int i = 0; i < 10; ++i)
                kids += " @ 0 R";
            return kids;
        }();
        auto kidsOf = [&tenTimes](int next) {
            std::string kids = tenTimes;
            for (std::size_t at = kids.find('@'); at != std::string::npos; at = kids.find('@'))
                kids.replace(at, 1, std::to_string(next));
            return "<<\r\n/Type /Pages\r\n/Kids [" + kids.substr(1) + "]\r\n>>";
        };
        shared.objects[3] = kidsOf(20);
        for (int level = 20; level < 27; ++level)
            shared.objects[level] = kidsOf(level + 1);
        shared.objects[27] = kidsOf(4);
        const std::string sharedBytes = shared.build();
        const std::size_t afterPage = sharedBytes.find("endobj\r\n", shared.offsets[4]) + 8;
        add("37-pages-shared-millions-of-times", sharedBytes, "PDF READ LIMIT ERROR Address : " + hex8(afterPage));
    }

    // Outline.
    {
        add1("38-outline-root-unknown-key", withOutline("<<\r\n/Type /Outlines\r\n/Foo 1\r\n>>", ""),
             "PDF OUTLINE DICTIONARY ERROR");
        add1("39-outline-without-count", withOutline("<<\r\n/Type /Outlines\r\n/First 21 0 R\r\n>>", ""),
             "PDF OUTLINES COUNT ERROR");
        PdfFile item = withOutline("<<\r\n/Type /Outlines\r\n/First 21 0 R\r\n/Count 1\r\n>>",
                                   "<<\r\n/Title (a)\r\n/Foo 1\r\n>>");
        const std::string bytes = item.build();
        add("40-outline-item-unknown-key", bytes, "PDF OUTLINE OBJ ERROR Address :" + hex8(find(bytes, "/Foo 1") + 5));
        add1("41-outline-dest-not-a-reference",
             withOutline("<<\r\n/Type /Outlines\r\n/First 21 0 R\r\n/Count 1\r\n>>",
                         "<<\r\n/Title (a)\r\n/Dest [/Fit]\r\n>>"),
             "PDF OUTLINE DEST ERROR");
    }

    // Resources, external objects and annotations.
    {
        add1("42-resources-unknown-key", withResources("<<\r\n/Foo 1\r\n>>"), "PDF PAGE RESOURCE ERROR");
        std::string many = "<<\r\n/XObject <<\r\n";
        for (int i = 0; i < 20; ++i)
            many += "/Im" + std::to_string(i) + " 20 0 R\r\n";
        add1("43-twenty-external-objects", withResources(many + ">>\r\n>>"), "PDF PAGE XOBJECT ERROR");

        const std::string head = "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Length 4\r\n";
        PdfFile bad = withImage(head + "/Foo 1\r\n>>");
        std::string bytes = bad.build();
        add("44-external-object-unknown-key", bytes, "PDF EXTERNAL OBJECT ERROR " + hex8(find(bytes, "/Foo 1") + 5));
        add1("45-external-object-with-f", withImage(head + "/F (file.jpg)\r\n>>"), "F KEYIS NO SURPORTED ");
        add1("46-external-object-with-smask", withImage(head + "/SMask 9 0 R\r\n>>"), "SMasklnData KEYIS NO SURPORTED");
        add1("47-external-object-with-metadata", withImage(head + "/Metadata 9 0 R\r\n>>"),
             "Metadata KEYIS NO SURPORTED");
        bad = withImage(head + "/Filter 5\r\n>>");
        bytes = bad.build();
        add("48-image-filter-a-number", bytes, "PDF ARRAY OR / TOKEN ERROR Adaress : " + hex8(find(bytes, "/Filter 5") + 9));
        bad = withImage(head + "/DecodeParms 5\r\n>>");
        bytes = bad.build();
        add("49-image-decodeparms-a-number", bytes,
            "PDF DICTIONARY OR ARRAY ERROR address : " + hex8(find(bytes, "/DecodeParms 5") + 14));
        bad = withImage(head + ">>", "strean\r\nDATA\nendstream");
        bytes = bad.build();
        add("50-image-without-stream-keyword", bytes, "PDF EXTERNAL OBJECT ERROR " + hex8(find(bytes, "strean") + 6));
        add1("51-image-length-too-large-for-an-integer",
             withImage("<<\r\n/Subtype /Image\r\n/Length 99999999999\r\n>>"),
             "'99999999999' is not a valid integer value");
        bad = withImage("<<\r\n/Subtype /Image\r\n/Length 99999\r\n>>");
        bytes = bad.build();
        add("52-image-length-past-end-of-file", bytes,
            "PDF EXTERNAL OBJECT ERROR " + hex8(find(bytes, "stream\r\nDATA") + 8));

        PdfFile annot = withResources("<<\r\n>>", "/Annots [21 0 R]\r\n");
        annot.objects[21] = "(note)";
        add1("53-annotation-not-a-dictionary", annot, "PDF ANNOTATION DICTIONARY << ERROR");
        annot.objects[21] = "<<\r\n/Subtype /Text\r\n/P 4 0 R\r\n>>";
        add1("54-annotation-parent-reference", annot, "PDF ANNOTATION DICTIONARY ERROR");
    }

    // Content streams.
    {
        const std::string data = "BT\n1 2 Td\n(a) Tj\nET\n";
        add1("55-content-dictionary-unknown-value",
             withContent("<<\r\n/Length 19\r\n/DecodeParms 7\r\n>>\r\nstream\r\n" + data + "\nendstream"),
             "PDF ANNOTATION DICTIONARY ERROR");
        PdfFile f = withContent("<<\r\n/Length -19\r\n>>\r\nstream\r\n" + data + "\nendstream");
        std::string bytes = f.build();
        add("56-content-length-negative", bytes,
            "PDF Contents OBJECT Stream Length ERROR " + hex8(find(bytes, "/Length -19") + 8));
        f = withContent("<<\r\n/Length 999999\r\n>>\r\nstream\r\n" + data + "\nendstream");
        bytes = f.build();
        add("57-content-length-past-end-of-file", bytes,
            "PDF Contents OBJECT Stream Length ERROR " + hex8(find(bytes, "stream\r\nBT") + 8));
        add1("58-content-without-stream-keyword",
             withContent("<<\r\n/Length 19\r\n>>\r\nsteam\r\n" + data + "\nendstream"), "PDF Contents Stram ERROR");
    }

    // A string left open runs into the end of the file.
    {
        PdfFile f = base();
        f.objects[2] = "<<\r\n/Author (abc(((((\r\n>>";
        const std::string bytes = f.build();
        add("59-string-open-to-end-of-file", bytes, "PDF FILE READ ERROR Address : " + hex8(bytes.size()));
    }
    return list;
}

} // namespace pdftest
