// Opening checks, the cross-reference chain, catalog, information, page tree
// and outline titles, on files written by the test builder.
#include "ReaderTestSupport.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pdftest;

namespace {

PdfFile twoPages() { return planFile({{{"100", "700", {"abc"}}}, {{"200", "600", {"def"}}}}); }

TEST(Opening, OurOwnFileOpensWithItsMarkersAndCatalog)
{
    PdfFile file = twoPages();
    const std::string bytes = file.build();
    ASSERT_EQ(bytes.substr(0, 11), "%PDF-1.2 \r\n");
    auto reader = TPdfPage::fromBytes(bytes);
    EXPECT_EQ(reader->version(), "1.2");
    EXPECT_FALSE(reader->linearized());
    EXPECT_EQ(reader->lastCrossReferenceOffset(), static_cast<std::int64_t>(file.xrefOffset));
    EXPECT_EQ(reader->author(), cp932::fromUtf8("Ｒ１．０"));
    EXPECT_EQ(reader->subject(), cp932::fromUtf8("ＲＩＨＡ"));
    EXPECT_EQ(reader->info().producer, "Ovilant version 1.0");
    EXPECT_EQ(reader->info().creationDate, "D:20240131143005");
    EXPECT_EQ(reader->info().title, "");
    EXPECT_EQ(reader->catalog().pageMode, "UseNone");
    EXPECT_EQ(reader->catalog().pageLayout, "SinglePage");
    EXPECT_EQ(reader->trailer().root, "1 0 R");
    EXPECT_EQ(reader->trailer().info, "2 0 R");
    EXPECT_EQ(reader->trailer().prev, "");
    EXPECT_EQ(reader->entries().count(), 9u);
    ASSERT_EQ(reader->pages().count(), 2u);
    EXPECT_EQ(reader->pages().get(0).objectNumber, 4);
    EXPECT_EQ(reader->pages().get(1).objectNumber, 6);
    EXPECT_EQ(reader->pages().get(0).title, "");
}

TEST(Opening, HeaderVersionsAndCommentLines)
{
    for (const char *version : {"1.2", "1.3", "1.5", "1.6", "1.7"}) {
        PlanOptions options;
        options.version = version;
        EXPECT_EQ(readError(planFile({{}}, options).build()), "(no error)") << version;
    }
    // Version 1.4 takes the resources' Font as a reference.
    PlanOptions v14;
    v14.version = "1.4";
    PdfFile direct = planFile({{}}, v14);
    EXPECT_EQ(readError(direct.build()), "PDF PAGE RESOURCE ERROR");
    direct.objects[4] = dict({{"Type", "/Page"}, {"Parent", "3 0 R"}, {"Resources", "<<\r\n/Font 6 0 R\r\n>>"},
                              {"Contents", "5 0 R"}});
    EXPECT_EQ(readError(direct.build()), "(no error)");
    PlanOptions v20;
    v20.version = "2.0";
    EXPECT_EQ(readError(planFile({{}}, v20).build()), "PDF VERSION NOT SUPPORT");

    // Versions 1.0 and 1.1 do not look at the first object.
    for (const char *version : {"1.0", "1.1"}) {
        PdfFile file = planFile({{}});
        file.header = std::string("%PDF-") + version + "\r\n";
        file.headOverride[1] = "1 0 ob";
        // With 1.2 this head would be refused; the catalog is found
        // through the cross-reference table, whose head check still applies.
        const std::string bytes = file.build();
        EXPECT_EQ(readError(bytes), "PDF OBJ NOT FOUND ERROR Address : " + hex8(file.offsets[1] + 7)) << version;
    }

    PdfFile marked = planFile({{}});
    marked.header += "%\xE2\xE3\xCF\xD3\r\n";
    EXPECT_EQ(readError(marked.build()), "(no error)");
    marked.header += "% second comment\r\n";
    EXPECT_EQ(readError(marked.build()), "(no error)");
}

TEST(Opening, LinearizationDictionaryOfTheFirstObject)
{
    // The catalog moves to object 30; object 1 becomes the linearization
    // dictionary, all on one line as other producers write it.
    PdfFile file = twoPages();
    file.objects[30] = file.objects[1];
    file.objects[1] = "<< /Linearized 1 /L 2400 /H [ 600 140 ] /O 4 /E 900 /N 2 /T 2200 >>";
    file.trailer = {{"Size", "31"}, {"Root", "30 0 R"}, {"Info", "2 0 R"}};
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_TRUE(reader->linearized());
    EXPECT_EQ(reader->linearization().l, "2400");
    EXPECT_EQ(reader->linearization().t, "2200");
    EXPECT_EQ(reader->linearization().n, "2");
    EXPECT_GT(reader->linearization().hPosition, 0);
    EXPECT_EQ(reader->pages().count(), 2u);

    // Any other first key: not linearized.
    file.objects[1] = "<< /Linearized 1 /Other 5 >>";
    EXPECT_FALSE(TPdfPage::fromBytes(file.build())->linearized());
}

TEST(Opening, EndMarkerMayBeFollowedByAtMostTwoLineEnds)
{
    for (const char *eof : {"%%EOF", "%%EOF\n", "%%EOF\r\n", "%%EOF\n\n", "%%EOF\r"}) {
        PdfFile file = planFile({{}});
        file.eof = eof;
        EXPECT_EQ(readError(file.build()), "(no error)") << eof;
    }
    for (const char *eof : {"%%EOF ", "%%EOF\n\n\n", "%%EO", "%EOF\n"}) {
        PdfFile file = planFile({{}});
        file.eof = eof;
        EXPECT_EQ(readError(file.build()), "PDF FILE EOF ERROR") << eof;
    }
}

TEST(Opening, StartxrefMustStartWithinFiftyBytesOfTheEnd)
{
    // "startxref" CR LF digits CR LF "%%EOF": pad between number and marker.
    auto withPadding = [](int pad) {
        PdfFile file = planFile({{}});
        file.eof = std::string(static_cast<std::size_t>(pad), ' ') + "\r\n%%EOF";
        return file;
    };
    // From the keyword to the end: "startxref" CR LF, the offset's digits,
    // CR LF, the padding, CR LF, "%%EOF"; at most 50 bytes.
    PdfFile probe = withPadding(0);
    probe.build();
    const std::size_t numberDigits = std::to_string(probe.xrefOffset).size();
    const int room = 50 - static_cast<int>(9 + 2 + numberDigits + 2 + 2 + 5);
    EXPECT_EQ(readError(withPadding(room).build()), "(no error)");
    EXPECT_EQ(readError(withPadding(room + 1).build()), "PDF STARTXREF ERROR");

    PdfFile oneLine = planFile({{}});
    std::string bytes = oneLine.build();
    const std::size_t at = bytes.find("startxref\r\n");
    bytes.replace(at, 11, "startxref ");
    EXPECT_EQ(readError(bytes), "PDF LASTCROSSREF ERROR");
}

TEST(CrossReference, SubsectionsNumberTheirEntriesFromTheirFirstNumber)
{
    PdfFile file = twoPages();
    file.splitAt = 5;
    auto reader = TPdfPage::fromBytes(file.build());
    ASSERT_EQ(reader->entries().count(), 9u);
    EXPECT_EQ(reader->entries().at(5).objectNumber, 5);
    EXPECT_EQ(reader->entries().at(8).objectNumber, 8);
    EXPECT_EQ(reader->pages().count(), 2u);

    // Hand-made: one entry from 0, two from 5.
    std::string bytes = file.build();
    const std::size_t xref = file.xrefOffset;
    const std::string table = "xref\r\n0 1\r\n0000000000 65535 f\r\n5 2\r\n" + [&] {
        char line[64];
        std::snprintf(line, sizeof line, "%010zu 00000 n\r\n%010zu 00000 n\r\n", file.offsets[1], file.offsets[2]);
        return std::string(line);
    }() + "trailer\r\n<<\r\n/Size 7\r\n/Root 5 0 R\r\n/Info 6 0 R\r\n>>\r\nstartxref\r\n" + std::to_string(xref)
        + "\r\n%%EOF\r\n";
    bytes = bytes.substr(0, xref) + table;
    try {
        TPdfPage::fromBytes(bytes);
        FAIL() << "object 5 is the catalog's offset but says 1 0 obj";
    } catch (const EPdfReadError &e) {
        EXPECT_STREQ(e.what(), "SYSTEM OBJ UNMATCH ERROR");
    }
}

TEST(CrossReference, FindTakesEachObjectsNewestEntry)
{
    TArrayList list;
    // Newest first, as the sections are read.
    for (const TXrefEntry &entry : std::vector<TXrefEntry>{{3, 0, 100, 'f'}, {3, 0, 200, 'n'}, {4, 1, 400, 'n'},
                                                          {4, 0, 450, 'n'}, {6, 0, 600, 'n'}, {6, 0, 700, 'n'},
                                                          {0, 0, 500, 'n'}, {2147483700, 0, 800, 'n'}})
        list.add(entry);
    const struct {
        std::int64_t number;
        std::int32_t generation;
        std::optional<std::int64_t> offset;
    } cases[] = {
        {3, 0, std::nullopt}, // freed in the newest section
        {4, 1, 400},          {4, 0, std::nullopt}, // an older generation is gone
        {6, 0, 600},          {0, 0, std::nullopt}, {5, 0, std::nullopt}, {2147483700, 0, 800},
    };
    for (const auto &c : cases)
        EXPECT_EQ(list.find(c.number, c.generation), c.offset) << c.number << " " << c.generation;
    list.clear();
    EXPECT_FALSE(list.find(6, 0));
}

// An incremental update: a newer section rewrites the info dictionary and
// points back at the original section with Prev.
std::string incrementalUpdate(PdfFile &file, const std::string &newAuthor, const std::string &prev)
{
    std::string bytes = file.build();
    const std::size_t infoOffset = bytes.size();
    bytes += "2 0 obj\r\n" + dict({{"Author", infoText(sjis(newAuthor))}, {"Subject", infoText(sjis("ＲＩＨＡ"))}})
        + "\r\nendobj\r\n";
    const std::size_t xref = bytes.size();
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n\r\n", infoOffset);
    bytes += "xref\r\n2 1\r\n" + std::string(line) + "trailer\r\n<<\r\n/Size 9\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n/Prev "
        + prev + "\r\n>>\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
    return bytes;
}

TEST(CrossReference, IncrementalUpdateOverridesOlderSection)
{
    PdfFile file = twoPages();
    const std::string bytes = incrementalUpdate(file, "Ｒ２", "");
    // Prev filled in after building, so the original offset is known.
    PdfFile again = twoPages();
    again.build();
    const std::string updated = incrementalUpdate(again, "Ｒ２", std::to_string(again.xrefOffset));
    auto reader = TPdfPage::fromBytes(updated);
    EXPECT_EQ(reader->author(), sjis("Ｒ２"));
    EXPECT_EQ(reader->trailer().prev, std::to_string(again.xrefOffset)) << "the newest trailer's values remain";
    EXPECT_EQ(reader->entries().count(), 10u);
    EXPECT_EQ(reader->pages().count(), 2u);
    (void)bytes;

    // Comments naming the older section near the end never count: the last
    // "startxref" keyword does.
    const std::string older = std::to_string(again.xrefOffset);
    const std::size_t keyword = updated.rfind("startxref\r\n");
    for (const auto &[before, after] : std::vector<std::pair<std::string, std::string>>{
             {"%startxref\r\n" + older + "\r\n", ""},
             {"% startxref\r\n", ""},
             {"", "%startxref " + older + "\r\n"}}) {
        std::string tail = updated.substr(0, keyword) + before + updated.substr(keyword);
        tail.insert(tail.rfind("%%EOF"), after);
        EXPECT_EQ(TPdfPage::fromBytes(tail)->author(), sjis("Ｒ２")) << before << after;
    }
}

TEST(CrossReference, PrevChainThatLoopsOrIsNoNumberIsRefused)
{
    PdfFile file = twoPages();
    file.build();
    // The newer section's Prev points at itself.
    std::string bytes = incrementalUpdate(file, "Ｒ２", "0");
    const std::size_t self = bytes.rfind("xref\r\n2 1");
    bytes = incrementalUpdate(file, "Ｒ２", std::to_string(self));
    EXPECT_EQ(readError(bytes), "PDF TRAILER PREV XREF ERROR");

    // Old section pointing back at the new one: a two-section loop. The
    // old Prev is written with ten digits so that its value does not move
    // the newer section.
    PdfFile looping = twoPages();
    looping.trailer = {{"Size", "9"}, {"Root", "1 0 R"}, {"Info", "2 0 R"}, {"Prev", "0000000000"}};
    looping.build();
    const std::size_t newXref = incrementalUpdate(looping, "Ｒ２", std::to_string(looping.xrefOffset)).rfind("xref\r\n2 1");
    char padded[16];
    std::snprintf(padded, sizeof padded, "%010zu", newXref);
    looping.trailer.back().second = padded;
    looping.build();
    const std::string loop = incrementalUpdate(looping, "Ｒ２", std::to_string(looping.xrefOffset));
    ASSERT_EQ(loop.rfind("xref\r\n2 1"), newXref);
    EXPECT_EQ(readError(loop), "PDF TRAILER PREV XREF ERROR");

    PdfFile noNumber = twoPages();
    noNumber.trailer = {{"Size", "9"}, {"Root", "1 0 R"}, {"Info", "2 0 R"}, {"Prev", "99999999999999999999"}};
    EXPECT_EQ(readError(noNumber.build()), "PDF TRAILER PREV XREF ERROR");
    // Prev is read as digits: a value of another form unsettles the trailer.
    noNumber.trailer.back().second = "x";
    EXPECT_EQ(readError(noNumber.build()), "PDF DICTIONARY ERROR");
}

// A cross-reference offset at or past the end of the file: the "xref"
// line is read at the end, which raises the read error there.
TEST(CrossReference, OffsetPastTheEndRaisesTheReadError)
{
    PdfFile file = twoPages();
    const std::string bytes = file.build();
    const std::string offset = std::to_string(file.xrefOffset);
    const std::size_t at = bytes.rfind("startxref\r\n" + offset + "\r\n");
    ASSERT_NE(at, std::string::npos);
    const std::size_t pastEnd = bytes.size() + 100;
    std::string past = bytes;
    past.replace(at + 11, offset.size(), std::to_string(pastEnd));
    EXPECT_EQ(readError(past), "PDF FILE READ ERROR Address : " + hex8(pastEnd));
}

TEST(CrossReference, UnknownTrailerKeysAndIdArraysArePassedOver)
{
    PdfFile file = twoPages();
    file.trailer = {{"Size", "9"},
                    {"ID", "[<0123456789ABCDEF>\r\n<0123456789ABCDEF>]"},
                    {"Root", "1 0 R"},
                    {"Custom", "<< /A 1 >>"},
                    {"Info", "2 0 R"},
                    {"DocChecksum", "/ABCDEF"},
                    {"XRefStm", "1234"},
                    {"Encrypt", "9 0 R"}};
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_GT(reader->trailer().id, 0);
    EXPECT_EQ(reader->trailer().docChecksum, "ABCDEF");
    EXPECT_EQ(reader->trailer().xrefStm, "1234");
    EXPECT_EQ(reader->trailer().encrypt, "9 0 R");
    EXPECT_EQ(reader->pages().count(), 2u);
}

TEST(Catalog, KeysAreComparedExactly)
{
    PdfFile lower = twoPages();
    lower.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"Outputintents", "/X"}, {"Lang", "(ja)"},
                             {"ViewerPreferences", "<< /HideToolbar true >>"}, {"OpenAction", "[4 0 R /Fit]"}});
    EXPECT_EQ(readError(lower.build()), "(no error)");
    // An OpenAction given by reference is neither a dictionary nor an array.
    PdfFile action = twoPages();
    action.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"OpenAction", "7 0 R"}});
    const std::string actionBytes = action.build();
    EXPECT_EQ(readError(actionBytes), "Not < : Dictionary" + hex8(actionBytes.find("/OpenAction 7") + 13));
    PdfFile capital = twoPages();
    capital.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"OutputIntents", "[]"}});
    EXPECT_EQ(readError(capital.build()), "PDF CATALOG KEY NOT SUPPORT");
    PdfFile info = twoPages();
    info.objects[2] = dict({{"Author", "(a)"}, {"Company", "(b)"}});
    EXPECT_EQ(readError(info.build()), "PDF INFO KEY NOT SUPPORT");
    PdfFile literalInfo = twoPages();
    literalInfo.objects[2] = dict({{"Author", literal("a(b)\\c")}, {"Trapped", "/False"}});
    auto reader = TPdfPage::fromBytes(literalInfo.build());
    EXPECT_EQ(reader->author(), "a(b)\\c");
    EXPECT_EQ(reader->info().trapped, "False");
}

// Page tree of `levels` nested Pages nodes above one page.
PdfFile nested(int levels)
{
    PdfFile file = planFile({{{"1", "2", {"deep"}}}});
    // 3 is the root; 20, 21, ... the further levels; the last holds page 4.
    int parent = 3;
    for (int level = 1; level < levels; ++level) {
        const int node = 19 + level;
        file.objects[parent] = dict({{"Type", "/Pages"}, {"Kids", "[" + std::to_string(node) + " 0 R]"}, {"Count", "1"}});
        parent = node;
    }
    file.objects[parent] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R]"}, {"Count", "1"}});
    return file;
}

TEST(PageTree, NestedNodesAreWalkedInKidsOrder)
{
    PdfFile file = planFile({{{"1", "1", {"p1"}}}, {{"2", "2", {"p2"}}}, {{"3", "3", {"p3"}}}});
    file.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[20 0 R 8 0 R]"}, {"Count", "3"}});
    file.objects[20] = dict({{"Type", "/Pages"}, {"Parent", "3 0 R"}, {"Kids", "[\n4 0 R\n6 0 R\n]"}, {"Count", "2"}});
    auto reader = TPdfPage::fromBytes(file.build());
    ASSERT_EQ(reader->pages().count(), 3u);
    EXPECT_EQ(reader->pages().get(0).objectNumber, 4);
    EXPECT_EQ(reader->pages().get(1).objectNumber, 6);
    EXPECT_EQ(reader->pages().get(2).objectNumber, 8);
    ASSERT_EQ(reader->itemCount(), 3u);
    EXPECT_EQ(reader->strings().at(2).page, 3);
    EXPECT_EQ(reader->strings().at(2).lines, std::vector<std::string>{"p3"});
}

// A page named twice, directly or through a shared Pages node, is walked
// once per naming, with its items each time.
TEST(PageTree, SharedKidsAreWalkedOncePerNaming)
{
    PdfFile twice = twoPages();
    twice.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R 6 0 R 4 0 R]"}, {"Count", "3"}});
    auto reader = TPdfPage::fromBytes(twice.build());
    ASSERT_EQ(reader->pages().count(), 3u);
    EXPECT_EQ(reader->pages().get(0).objectNumber, 4);
    EXPECT_EQ(reader->pages().get(1).objectNumber, 6);
    EXPECT_EQ(reader->pages().get(2).objectNumber, 4);
    ASSERT_EQ(reader->itemCount(), reader->pages().count());
    EXPECT_EQ(reader->strings().at(2).page, 3);
    EXPECT_EQ(reader->strings().at(2).lines, reader->strings().at(0).lines);

    PdfFile shared = twoPages();
    shared.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[20 0 R 20 0 R]"}, {"Count", "4"}});
    shared.objects[20] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R 6 0 R]"}, {"Count", "2"}});
    reader = TPdfPage::fromBytes(shared.build());
    ASSERT_EQ(reader->pages().count(), 4u);
    const std::int32_t expected[] = {4, 6, 4, 6};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(reader->pages().get(i).objectNumber, expected[i]) << i;
}

TEST(PageTree, NineLevelsAreAcceptedTenOverflow)
{
    EXPECT_EQ(readError(nested(9).build()), "(no error)");
    EXPECT_EQ(readError(nested(10).build()), "PDF STACK OVERFLOW ERROR");
}

TEST(PageTree, MalformedTreesAreRefusedNotLooped)
{
    PdfFile empty = twoPages();
    empty.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[]"}, {"Count", "0"}});
    EXPECT_EQ(readError(empty.build()), "PDF INDEX ARRAY ERROR");

    // Elements are read as references one after the other; what is read
    // is a kid, and one that names no node stops the walk when reached. A
    // CR LF before the closing bracket leaves an empty element after the CR.
    PdfFile loose = twoPages();
    loose.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R\r\n6 0 R\r\n]"}, {"Count", "2"}});
    EXPECT_EQ(readError(loose.build()), "PDF PAGE TYPE ERROR");
    loose.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R\r\n6 0 R]"}, {"Count", "2"}});
    EXPECT_EQ(readError(loose.build()), "(no error)");
    loose.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[ ]"}, {"Count", "0"}});
    EXPECT_EQ(readError(loose.build()), "PDF PAGE TYPE ERROR");
    loose.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R x6 0 R]"}, {"Count", "2"}});
    EXPECT_EQ(readError(loose.build()), "PDF OBJ FORMAT ERROR") << "the text \"x6 0 R\" is followed when reached";
    loose.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R\n6 0 R]"}, {"Count", "2"}});
    EXPECT_EQ(readError(loose.build()), "(no error)") << "one line-end byte between elements is a blank";

    PdfFile direct = twoPages();
    direct.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[<< /Type /Page >>]"}, {"Count", "1"}});
    EXPECT_EQ(readError(direct.build()), "PDF KIDS ARRAY ERROR");
    direct.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R /Page]"}, {"Count", "1"}});
    EXPECT_EQ(readError(direct.build()), "PDF KIDS ARRAY ERROR");

    // A Pages node among its own kids.
    PdfFile self = twoPages();
    self.objects[3] = dict({{"Type", "/Pages"}, {"Kids", "[4 0 R 3 0 R]"}, {"Count", "2"}});
    EXPECT_EQ(readError(self.build()), "PDF STACK OVERFLOW ERROR");


    PdfFile wrongType = twoPages();
    wrongType.objects[4] = dict({{"Type", "/Pagee"}});
    EXPECT_EQ(readError(wrongType.build()), "PDF PAGE TYPE ERROR");
}

PdfFile withOutline(const std::vector<std::pair<std::string, std::string>> &root,
                    const std::map<int, std::string> &items)
{
    PdfFile file = twoPages();
    file.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"Outlines", "20 0 R"}});
    file.objects[20] = dict(root);
    for (const auto &[number, value] : items)
        file.objects[number] = value;
    return file;
}

TEST(Outline, TopLevelTitlesNameTheirPages)
{
    const auto root = std::vector<std::pair<std::string, std::string>>{
        {"Type", "/Outlines"}, {"First", "21 0 R"}, {"Last", "22 0 R"}, {"Count", "2"}};
    PdfFile file = withOutline(
        root, {{21, dict({{"Title", "(Page two)"}, {"Parent", "20 0 R"}, {"Next", "22 0 R"}, {"Dest", "[6 0 R /Fit]"}})},
               {22, dict({{"Title", infoText(sjis("一頁目"))}, {"Prev", "21 0 R"}, {"Dest", "[4 0 R /XYZ 0 0 0]"}})}});
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_EQ(reader->pages().get(0).title, sjis("一頁目"));
    EXPECT_EQ(reader->pages().get(1).title, "Page two");

    // Next leading back to the first item ends the search.
    PdfFile loop = withOutline(
        root, {{21, dict({{"Title", "(a)"}, {"Next", "22 0 R"}, {"Dest", "[6 0 R]"}})},
               {22, dict({{"Title", "(b)"}, {"Next", "21 0 R"}, {"Dest", "[6 0 R]"}})}});
    auto looped = TPdfPage::fromBytes(loop.build());
    EXPECT_EQ(looped->pages().get(0).title, "");
    EXPECT_EQ(looped->pages().get(1).title, "a");

    // Not an outline root, or a count of 0: no titles, no errors.
    PdfFile notOutline = withOutline({{"Type", "/Other"}, {"Count", "5"}}, {});
    EXPECT_EQ(readError(notOutline.build()), "(no error)");
    PdfFile zero = withOutline({{"Type", "/Outlines"}, {"Count", "0"}}, {});
    EXPECT_EQ(readError(zero.build()), "(no error)");

    // The first page's item comes before a broken one; the second page's
    // search reaches it.
    PdfFile broken = withOutline(
        root, {{21, dict({{"Title", "(a)"}, {"Next", "22 0 R"}, {"Dest", "[4 0 R]"}})},
               {22, dict({{"Title", "(b)"}, {"Dest", "/Named"}})}});
    EXPECT_EQ(readError(broken.build()), "Not Array : GetIDArrayToken");
}

} // namespace

namespace {

PdfFile pageWith(const std::string &resources, const std::string &extraKeys)
{
    PdfFile file = twoPages();
    file.objects[4] = "<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n/Resources " + resources
        + "\r\n/Contents 5 0 R\r\n" + extraKeys + ">>";
    return file;
}

TEST(PageRecords, FirstImageAndFirstTextAnnotation)
{
    PdfFile file = pageWith("<<\r\n/XObject <<\r\n/Im1 20 0 R\r\n/Im2 21 0 R\r\n>>\r\n/ProcSet [/PDF /ImageC ]\r\n>>",
                            "/Annots [22 0 R 23 0 R]\r\n");
    file.objects[20] = "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Width 1\r\n/Height 1\r\n/BitsPerComponent 8\r\n"
                       "/ColorSpace /DeviceRGB\r\n/Filter [/DCTDecode]\r\n/Decode [0 1 0 1 0 1]\r\n/Length 5\r\n>>\r\n"
                       "stream\r\nJPEG!\nendstream";
    file.objects[21] = "<<\r\n/Subtype /Image\r\n/F (never read)\r\n>>";
    file.objects[22] = dict({{"Type", "/Annot"}, {"Subtype", "/Text"}, {"Contents", "(note \\(1\\))"},
                             {"Rect", "[0 0 10 10]"}, {"M", "(D:2024)"}, {"F", "4"}});
    file.objects[23] = "(never read)";
    auto reader = TPdfPage::fromBytes(file.build());
    const TPageRecord first = reader->pages().get(0);
    EXPECT_EQ(first.externalObjectName, "Im1");
    EXPECT_EQ(first.imageDataLength, 5);
    EXPECT_EQ(first.imageDataPosition, static_cast<std::int64_t>(file.build().find("JPEG!")));
    EXPECT_EQ(reader->imageData(0), "JPEG!");
    EXPECT_EQ(first.annotationText, "note (1)");
    const TPageRecord second = reader->pages().get(1);
    EXPECT_EQ(second.externalObjectName, "");
    EXPECT_EQ(second.imageDataLength, 0);
    EXPECT_EQ(reader->imageData(1), "");
}

TEST(PageRecords, OtherExternalObjectsAndAnnotationsLeaveTheRecordEmpty)
{
    // A form XObject: named, but no image data. A link annotation: no text.
    PdfFile file = pageWith("<<\r\n/XObject <<\r\n/Fm0 20 0 R\r\n>>\r\n>>", "/Annots [21 0 R]\r\n");
    file.objects[20] = "<<\r\n/Type /XObject\r\n/Subtype /Form\r\n/Length 3\r\n>>\r\nstream\r\nq Q\nendstream";
    file.objects[21] = dict({{"Type", "/Annot"}, {"Subtype", "/Link"}, {"Contents", "(x)"}});
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_EQ(reader->pages().get(0).externalObjectName, "Fm0");
    EXPECT_EQ(reader->pages().get(0).imageDataLength, 0);
    EXPECT_EQ(reader->pages().get(0).annotationText, "");
}

// A dictionary ends at the first byte that is not `/` and the byte after
// it; both are read before the dictionary is found badly ended, and the
// position in the message is after them.
TEST(PageRecords, BadlyEndedDictionariesReportThePositionAfterTheirTwoLastBytes)
{
    PdfFile node = pageWith("<<\r\n/XObject <<\r\n>>\r\n>>", "}}");
    std::string bytes = node.build();
    EXPECT_EQ(readError(bytes), "Pages Error Object Address : " + hex8(bytes.find("}}") + 2));

    PdfFile image = pageWith("<<\r\n/XObject <<\r\n/Im1 20 0 R\r\n>>\r\n>>", "");
    image.objects[20] = "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Length 5\r\n}}\r\nstream\r\nJPEG!\nendstream";
    bytes = image.build();
    EXPECT_EQ(readError(bytes), "PDF EXTERNAL OBJECT ERROR " + hex8(bytes.find("}}") + 2));

    // The external-object table of the resources ends the same way.
    PdfFile table = pageWith("<<\r\n/XObject <<\r\n/Im1 20 0 R\r\n}}>>\r\n>>", "");
    table.objects[20] = "<<\r\n/Subtype /Form\r\n>>";
    bytes = table.build();
    EXPECT_EQ(readError(bytes), "PDF PAGE XOBJECT ERROR");
}

TEST(PageRecords, NineteenExternalObjectsAreTheLimit)
{
    auto table = [](int count) {
        std::string resources = "<<\r\n/XObject <<\r\n";
        for (int i = 0; i < count; ++i)
            resources += "/X" + std::to_string(i) + " 9 0 R\r\n";
        return resources + ">>\r\n>>";
    };
    PdfFile nineteen = pageWith(table(19), "");
    nineteen.objects[9] = "<<\r\n/Subtype /Form\r\n>>";
    EXPECT_EQ(readError(nineteen.build()), "(no error)");
    PdfFile twenty = pageWith(table(20), "");
    twenty.objects[9] = "<<\r\n/Subtype /Form\r\n>>";
    EXPECT_EQ(readError(twenty.build()), "PDF PAGE XOBJECT ERROR");
}

TEST(PageRecords, ResourcesByReference)
{
    PdfFile file = pageWith("20 0 R", "");
    file.objects[20] = "<<\r\n/Font <<\r\n/F0 8 0 R\r\n>>\r\n/ProcSet [/PDF /Text]\r\n>>";
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_EQ(reader->itemCount(), 2u);
}

} // namespace

namespace {

TEST(ReadLimit, OwnFilesReadEachByteAFewTimesAndRepeatedReadingIsStopped)
{
    const std::string bytes = planFile({planLikePage(1, 250), planLikePage(2, 250)}).build();
    auto reader = TPdfPage::fromBytes(bytes);
    EXPECT_LT(reader->bytesRead(), 4 * static_cast<std::int64_t>(bytes.size()));

    // Many pages sharing one large resource dictionary read it once each.
    PdfFile shared = planFile(std::vector<std::vector<TextObject>>(200));
    std::string resources = "<<\r\n/ProcSet [";
    while (resources.size() < 20000)
        resources += "/PDF ";
    shared.objects[900] = resources + "]\r\n>>";
    for (int i = 0; i < 200; ++i)
        shared.objects[4 + 2 * i] = dict({{"Type", "/Page"}, {"Parent", "3 0 R"}, {"Resources", "900 0 R"}});
    const std::string sharedBytes = shared.build();
    EXPECT_EQ(readError(sharedBytes), "(no error)") << "within the default limit";
    auto stream = TPdfInputStream::fromBytes(sharedBytes);
    stream->setReadLimit(8 * static_cast<std::int64_t>(sharedBytes.size()));
    try {
        TPdfPage page(std::move(stream));
        FAIL() << "read past its limit";
    } catch (const EPdfReadError &e) {
        EXPECT_EQ(std::string(e.what()).rfind("PDF READ LIMIT ERROR Address : ", 0), 0u) << e.what();
    }
}

// Every part of a file is bounded by the file's size or a fixed limit, so
// that no small file makes the reader work for long or hold much: at most
// 10,000 pages however the page tree shares its nodes, no more cross-
// reference entries than the file has room for, no token beyond 64 KiB.
TEST(ReadLimit, PagesEntriesAndTokensAreBounded)
{
    const auto startsWithLimit = [](const std::string &message) {
        return message.rfind("PDF READ LIMIT ERROR Address : ", 0) == 0;
    };
    const auto namingPage = [](int times) {
        PdfFile file = twoPages();
        std::string kids = "[";
        for (int i = 0; i < times; ++i)
            kids += "4 0 R ";
        file.objects[3] = dict({{"Type", "/Pages"}, {"Kids", kids + "]"}, {"Count", "1"}});
        return file.build();
    };
    auto reader = TPdfPage::fromBytes(namingPage(10000));
    EXPECT_EQ(reader->pages().count(), 10000u);
    EXPECT_TRUE(startsWithLimit(readError(namingPage(10001)))) << readError(namingPage(10001));
    // Shared nodes: 100 kids of 100 kids of one page each.
    PdfFile shared = twoPages();
    std::string kids = "[";
    for (int i = 0; i < 101; ++i)
        kids += "20 0 R ";
    shared.objects[3] = dict({{"Type", "/Pages"}, {"Kids", kids + "]"}, {"Count", "1"}});
    std::string inner = "[";
    for (int i = 0; i < 100; ++i)
        inner += "4 0 R ";
    shared.objects[20] = dict({{"Type", "/Pages"}, {"Kids", inner + "]"}, {"Count", "100"}});
    EXPECT_TRUE(startsWithLimit(readError(shared.build()))) << readError(shared.build());

    // A subsection claiming ten million entries in a file of a few KB.
    std::string bytes = twoPages().build();
    const std::size_t xref = bytes.find("xref\r\n0 ");
    ASSERT_NE(xref, std::string::npos);
    const std::size_t count = xref + 8;
    bytes.replace(count, bytes.find("\r\n", count) - count, "10000000");
    EXPECT_TRUE(startsWithLimit(readError(bytes))) << readError(bytes);

    // Every text item is looked at for each field of the layout: no more
    // than 20,000 in a file.
    const auto items = [](int count) {
        std::vector<TextObject> objects(static_cast<std::size_t>(count), TextObject{"1", "2", {"x"}});
        return planFile({objects}).build();
    };
    EXPECT_EQ(readError(items(20000)), "(no error)");
    EXPECT_TRUE(startsWithLimit(readError(items(20001)))) << readError(items(20001));

    // A key of 70,000 bytes in the catalog.
    PdfFile longKey = twoPages();
    longKey.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {std::string(70000, 'K'), "/X"}});
    EXPECT_TRUE(startsWithLimit(readError(longKey.build()))) << readError(longKey.build()).substr(0, 80);
}

// A literal string is bounded like a token: the byte after 64 KiB is
// refused where it lies in the content stream. What a file keeps as text is
// bounded however it repeats itself: 2 MiB and 100,000 lines in its items,
// 2 MiB in its pages' titles and notes.
TEST(ReadLimit, StringsAndKeptTextAreBounded)
{
    const std::string limit = "PDF READ LIMIT ERROR Address : ";
    const auto oneLine = [](std::size_t size) { return planFile({{{"1", "2", {std::string(size, 'x')}}}}).build(); };
    EXPECT_EQ(readError(oneLine(65536)), "(no error)");
    const std::string stream = content({{"1", "2", {"x"}}});
    EXPECT_EQ(readError(oneLine(2'000'000)), limit + hex8(stream.find('(') + 1 + 65537)) << "in the stream";
    const std::string text(64000, 't');
    const std::vector<std::pair<int, std::function<std::string(int)>>> keeping = {
        {32, [&](int n) { return planFile({std::vector<TextObject>(n, {"1", "2", {text}})}).build(); }},
        {100000, [](int n) {
             TextObject lines{"1", "2", std::vector<std::string>(n)};
             lines.lines.front() = lines.lines.back() = "a";
             return planFile({{lines}}).build();
         }},
        {32, [&](int n) { // visits of a page with a long title
             PdfFile file = withOutline({{"Type", "/Outlines"}, {"First", "21 0 R"}, {"Count", "1"}},
                                        {{21, dict({{"Title", "(" + text + ")"}, {"Dest", "[4 0 R]"}})}});
             std::string kids = "[";
             while (n-- > 0)
                 kids += "4 0 R ";
             file.objects[3] = dict({{"Type", "/Pages"}, {"Kids", kids + "]"}});
             return file.build();
         }},
    };
    for (const auto &[fits, file] : keeping) {
        EXPECT_EQ(readError(file(fits)), "(no error)") << fits;
        EXPECT_EQ(readError(file(fits + 1)).rfind(limit, 0), 0u) << fits;
    }
}

} // namespace
