// The byte-level routines of the reader on in-memory bytes.
#include "pdfreader/Base.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <functional>

using namespace std::string_literals;

namespace {

// A minimal file that opens (version 1.0 skips the first-object check)
// with `payload` starting at byte 9, and access to the routines.
class Probe : public TPdfBase {
public:
    explicit Probe(const std::string &payload)
        : TPdfBase(TPdfInputStream::fromBytes("%PDF-1.0\n" + payload + "\nstartxref\n0\n%%EOF"))
    {
        seek(9);
    }
    using TPdfBase::GetDictionaryOrArrayToken;
    using TPdfBase::GetDictionaryToken;
    using TPdfBase::GetIDArrayToken;
    using TPdfBase::position;
    using TPdfBase::ReadDigits;
    using TPdfBase::ReadHexDigits;
    using TPdfBase::ReadKey;
    using TPdfBase::ReadLine;
    using TPdfBase::ReadName;
    using TPdfBase::ReadNameOrArray;
    using TPdfBase::ReadReal;
    using TPdfBase::ReadReference;
    using TPdfBase::ReadString;
    using TPdfBase::ReadStringOrArray;
    using TPdfBase::ReadToken;
    using TPdfBase::seek;
    using TPdfBase::SkipArray;
    using TPdfBase::SkipBlanks;
    using TPdfBase::SkipDictionary;
    using TPdfBase::SkipDictionaryOrArray;
    using TPdfBase::SkipLineEnd;
    std::string rest() { return readBytes(1000); }
};

std::string messageOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const EPdfReadError &e) {
        return e.what();
    }
    return "(no error)";
}

TEST(Lexer, BlanksStopAfterOneLineEndAndLineEndTakesAtMostTwo)
{
    Probe p(" \t\0\f\r\n\nX"s);
    p.SkipBlanks(); // stops right after the CR
    EXPECT_EQ(p.position(), 9 + 5);
    p.SkipLineEnd(); // LF and the next LF
    EXPECT_EQ(p.rest().substr(0, 1), "X");

    Probe q("abc\r\ndef");
    EXPECT_EQ(q.ReadLine(), "abc");
    EXPECT_EQ(q.ReadLine(), "def");
}

TEST(Lexer, KeysNamesTokensAndDigitsStopAtTheirDelimiters)
{
    Probe p("Type /Catalog\r\n");
    EXPECT_EQ(p.ReadKey(), "Type");
    p.SkipBlanks();
    EXPECT_EQ(p.ReadName(), "Catalog");

    Probe name("/F0)rest");
    EXPECT_EQ(name.ReadName(), "F0");
    Probe notName("Catalog");
    EXPECT_EQ(notName.ReadName(), "");
    EXPECT_EQ(notName.rest().substr(0, 6), "atalog") << "the first byte stays consumed";

    Probe token("5 0 R/Next");
    EXPECT_EQ(token.ReadToken(), "5 0 R");
    Probe digits("0123x");
    EXPECT_EQ(digits.ReadDigits(), "0123");
    Probe hex("09AFaf");
    EXPECT_EQ(hex.ReadHexDigits(), "09AF") << "upper case only";

    Probe ref("  12 0 R  /Next");
    EXPECT_EQ(ref.ReadReference(), "12 0 R");
    EXPECT_EQ(ref.rest().substr(0, 5), "/Next");
}

TEST(Lexer, RealsKeepFourDecimalsAndRefuseOtherForms)
{
    Probe a("12.5 ");
    EXPECT_EQ(a.ReadReal(), 125000);
    Probe b("554.25 ");
    EXPECT_EQ(b.ReadReal(), 5542500);
    Probe c("0.123456 ");
    EXPECT_EQ(c.ReadReal(), 1235);
    Probe minus("-12 ");
    EXPECT_EQ(minus.ReadReal(), 0);
    EXPECT_EQ(minus.position(), 9) << "the minus sign stays unread";
    Probe twoPoints("1.2.3 ");
    EXPECT_EQ(twoPoints.ReadReal(), 0);
    Probe point(". ");
    EXPECT_EQ(point.ReadReal(), 0);
    EXPECT_EQ(pdfreader::parseCurrency("922337203685476.9999"), 9223372036854769999);
    EXPECT_EQ(pdfreader::parseCurrency("922337203685477"), 0) << "too large for the fixed-point value";
    EXPECT_EQ(pdfreader::parseCurrency("99999999999999999999999"), 0);
}

TEST(Lexer, LiteralStringsFollowPdfSyntax)
{
    EXPECT_EQ(Probe("(abc)").ReadString(), "abc");
    EXPECT_EQ(Probe("(a(b)c)").ReadString(), "a(b)c");
    EXPECT_EQ(Probe(R"((a\)b))").ReadString(), "a)b");
    EXPECT_EQ(Probe(R"((\(\)\\\r\n\t\b\f))").ReadString(), "()\\\r\n\t\b\f");
    EXPECT_EQ(Probe(R"((\101\60\0610\7))").ReadString(), std::string("A0") + "10" + "\x07");
    EXPECT_EQ(Probe("(ab\\\r\ncd\\\ne)").ReadString(), "abcde") << "backslash + end of line continues";
    EXPECT_EQ(Probe(R"((\q\/))").ReadString(), "q/");
    // A text that once forged another field stays one string.
    EXPECT_EQ(Probe(R"((x\)Q BT 453 763 Td \(SPOOF\)Tj ET))").ReadString(), "x)Q BT 453 763 Td (SPOOF)Tj ET");
    // Bytes before the string are passed over; a line end before it gives
    // an empty result.
    EXPECT_EQ(Probe("  (x)").ReadString(), "x");
    EXPECT_EQ(Probe(" \n(x)").ReadString(), "");
}

TEST(Lexer, HexStringsDropTheMarkerAndDecodeToCp932)
{
    EXPECT_EQ(Probe("<FEFF001B656E001BFF32FF11FF0EFF10>").ReadString(), cp932::fromUtf8("Ｒ１．０"));
    EXPECT_EQ(Probe("<FEFF001B656E001B0041>").ReadString(), "A");
    EXPECT_EQ(Probe("<FEFF001B656E001B>").ReadString(), "Error") << "nothing converted";
    // At most 255 digits after the marker are kept: 63 whole characters.
    std::string hex = "<FEFF001B656E001B";
    for (int i = 0; i < 100; ++i)
        hex += "0041";
    EXPECT_EQ(Probe(hex + ">").ReadString(), std::string(63, 'A'));
    EXPECT_EQ(TPdfBase::DecodeUnicodeHex("00410000 0042"), "A") << "U+0000 ends the text";
}

TEST(Lexer, StringOrArrayAndNameOrArray)
{
    Probe array("[(a) (b)] x");
    EXPECT_EQ(array.ReadStringOrArray(), "");
    EXPECT_EQ(array.rest().substr(0, 2), " x");
    EXPECT_EQ(Probe("(a)").ReadStringOrArray(), "a");
    Probe other("5 x");
    EXPECT_EQ(other.ReadStringOrArray(), "");
    EXPECT_EQ(other.position(), 10);

    EXPECT_EQ(Probe("/DCTDecode").ReadNameOrArray(), "DCTDecode");
    EXPECT_EQ(Probe("[/A [/B] /C] tail").ReadNameOrArray(), "[/A [/B] /C]");
    EXPECT_EQ(messageOf([] { Probe("5").ReadNameOrArray(); }), "PDF ARRAY OR / TOKEN ERROR Adaress : 0000000A");
}

TEST(Lexer, SkipsCountNestingAndConsumeNothingOnOtherValues)
{
    Probe array("[1 [2 3] (]) 4] tail");
    array.SkipArray();
    EXPECT_EQ(array.rest().substr(0, 9), ") 4] tail") << "brackets in strings count too";
    Probe noArray("5 tail");
    noArray.SkipArray();
    EXPECT_EQ(noArray.position(), 9);

    Probe dict("<< /A << /B 1 >> /C <AB> >> tail");
    dict.SkipDictionary();
    EXPECT_EQ(dict.rest().substr(0, 5), " tail");
    Probe notDict("<A> tail");
    notDict.SkipDictionary();
    EXPECT_EQ(notDict.position(), 9);

    EXPECT_EQ(messageOf([] { Probe("5").SkipDictionaryOrArray(); }),
              "PDF DICTIONARY OR ARRAY ERROR address : 0000000A");
    Probe either("[1] tail");
    either.SkipDictionaryOrArray();
    EXPECT_EQ(either.rest().substr(0, 5), " tail");
}

TEST(Lexer, TokensGiveTheirPositionsOrTheirMessages)
{
    Probe id("[<AB> <CD>] tail");
    EXPECT_EQ(id.GetIDArrayToken(), 10);
    EXPECT_EQ(id.rest().substr(0, 5), " tail");
    EXPECT_EQ(messageOf([] { Probe("(x)").GetIDArrayToken(); }), "Not Array : GetIDArrayToken");

    Probe d("<< /A 1 >> tail");
    EXPECT_EQ(d.GetDictionaryToken(), 9);
    EXPECT_EQ(d.rest().substr(0, 5), " tail");
    EXPECT_EQ(messageOf([] { Probe("xx").GetDictionaryToken(); }), "Not < : Dictionary00000009");
    EXPECT_EQ(messageOf([] { Probe("<A>").GetDictionaryToken(); }), "Not << : Dictionary");

    EXPECT_EQ(Probe("[1] ").GetDictionaryOrArrayToken(), 10);
    EXPECT_EQ(Probe("<</A 1>> ").GetDictionaryOrArrayToken(), 9);
    EXPECT_EQ(messageOf([] { Probe("<A>").GetDictionaryOrArrayToken(); }), "Not << : Dictionary");
    // Here the position is after the byte read, not that of the value.
    EXPECT_EQ(messageOf([] { Probe("/A").GetDictionaryOrArrayToken(); }), "Not < : Dictionary0000000A");
}

TEST(Lexer, ParseReference)
{
    const auto a = TPdfBase::ParseReference("12 0 R");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 12);
    EXPECT_EQ(a->generation, 0);
    const auto b = TPdfBase::ParseReference("12  3 R");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->generation, 3);
    EXPECT_FALSE(TPdfBase::ParseReference(""));
    EXPECT_FALSE(TPdfBase::ParseReference("R"));
    EXPECT_FALSE(TPdfBase::ParseReference("12 R"));
    EXPECT_FALSE(TPdfBase::ParseReference("99999999999 0 R")) << "object numbers are 32-bit";
}

TEST(Lexer, ReadingPastTheEndRaisesTheReadError)
{
    // SkipBlanks at the very end of the file.
    Probe p("");
    p.seek(1000);
    EXPECT_EQ(messageOf([&] { p.SkipBlanks(); }), "PDF FILE READ ERROR Address : 000003E8");
    // A line read at the end of the file, or one running up to it, has no
    // line end to skip.
    Probe atEnd("");
    atEnd.seek(1000);
    EXPECT_EQ(messageOf([&] { atEnd.ReadLine(); }), "PDF FILE READ ERROR Address : 000003E8");
    Probe lastLine("");
    const std::int64_t eofStart = 9 + std::string("\nstartxref\n0\n").size();
    lastLine.seek(eofStart);
    EXPECT_EQ(messageOf([&] { lastLine.ReadLine(); }), "PDF FILE READ ERROR Address : " + pdfreader::hexPosition(eofStart + 5));
    Probe unterminated("(x");
    EXPECT_NE(messageOf([&] { unterminated.ReadString(); }).find("PDF FILE READ ERROR"), std::string::npos);
}

} // namespace
