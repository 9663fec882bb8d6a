// Byte layout of the PDF objects and the cross-reference table.

#include "pdfwriter/PdfTypes.h"
#include "PdfTestSupport.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

namespace {

std::string str(TPdfObject &obj)
{
    return PdfObjectToString(obj);
}

TEST(PdfNumberFormat, CanvasNumbersAreRoundedToTwoDecimals)
{
    EXPECT_EQ(pdfformat::float2(8), "8");
    EXPECT_EQ(pdfformat::float2(566.4), "566.4");
    EXPECT_EQ(pdfformat::float2(814.2000001), "814.2");
    EXPECT_EQ(pdfformat::float2(0.125), "0.13");
    EXPECT_EQ(pdfformat::float2(-141), "-141");
    // Single-precision coordinates as the canvas hands them over.
    EXPECT_EQ(pdfformat::float2(static_cast<float>(842 - 34 - 0.85 * 8)), "801.2");
    EXPECT_EQ(pdfformat::float2(0.5019607843), "0.5");
    EXPECT_EQ(pdfformat::float2(-0.29), "-0.29");
    // Negative values round like their positive mirror; tiny ones give 0, never "-0".
    EXPECT_EQ(pdfformat::float2(-0.004), "0");
    EXPECT_EQ(pdfformat::float2(-0.006), "-0.01");
    EXPECT_EQ(pdfformat::float2(-0.125), "-0.13");
    EXPECT_EQ(pdfformat::float2(-140.999), "-141");
    EXPECT_EQ(pdfformat::float2(123456.789), "123456.79");
    EXPECT_EQ(pdfformat::float2(0), "0");
}

TEST(PdfNumberFormat, IntegersAndReals)
{
    TPdfNumber n(-12);
    EXPECT_EQ(str(n), "-12");
    TPdfNumber zero(0);
    EXPECT_EQ(str(zero), "0");
    TPdfNumber big(2147483647);
    EXPECT_EQ(str(big), "2147483647");
    TPdfReal r(1.5);
    EXPECT_EQ(str(r), "1.5");
    TPdfReal ten(10);
    EXPECT_EQ(str(ten), "10");
    TPdfReal third(1.0 / 3);
    EXPECT_EQ(str(third), "0.333333333333333");
    TPdfBoolean t(true), f(false);
    EXPECT_EQ(str(t), "true");
    EXPECT_EQ(str(f), "false");
    TPdfNull null;
    EXPECT_EQ(str(null), "null");
}

TEST(PdfTextObject, SingleByteTextIsLiteralWithEscapes)
{
    TPdfText empty("");
    EXPECT_EQ(str(empty), "()");
    TPdfText plain("Ovilant version 1.0");
    EXPECT_EQ(str(plain), "(Ovilant version 1.0)");
    TPdfText special("a(b)c\\d\re\nf\tg\bh\fi");
    EXPECT_EQ(str(special), "(a\\(b\\)c\\\\d\\re\\nf\\tg\\bh\\fi)");
    // Half-width katakana are single-byte characters: copied unchanged.
    TPdfText kana(cp932::fromUtf8("ｱｲ"));
    EXPECT_EQ(str(kana), "(\xB1\xB2)");
}

TEST(PdfTextObject, DoubleByteTextIsUtf16HexWithLanguagePrefix)
{
    TPdfText author(cp932::fromUtf8("Ｒ１．０"));
    EXPECT_EQ(str(author), "<FEFF001B656E001BFF32FF11FF0EFF10>");
    TPdfText subject(cp932::fromUtf8("ＲＩＨＡ"));
    EXPECT_EQ(str(subject), "<FEFF001B656E001BFF32FF29FF28FF21>");
    // One double-byte character turns the whole text into hex, nothing escaped.
    TPdfText mixed(cp932::fromUtf8("(a)氏"));
    EXPECT_EQ(str(mixed), "<FEFF001B656E001B0028006100296C0F>");
}

TEST(PdfNameObject, EscapesDelimitersAndNonPrintables)
{
    TPdfName bold("Gothic,Bold");
    EXPECT_EQ(str(bold), "/Gothic,Bold");
    TPdfName space("A B");
    EXPECT_EQ(str(space), "/A#20B");
    TPdfName delims("#%()/<>[]{}");
    EXPECT_EQ(str(delims), "/#23#25#28#29#2F#3C#3E#5B#5D#7B#7D");
    TPdfName high(std::string("a\x7F\x80\x01~!", 6));
    EXPECT_EQ(str(high), "/a#7F#80#01~!");
    TPdfName digits("128");
    EXPECT_EQ(str(digits), "/128");
}

TEST(PdfArrayObject, LayoutReferencesAndOwnership)
{
    TPdfXref xref;
    TPdfArray empty(&xref);
    EXPECT_EQ(str(empty), "[]");

    TPdfArray box(&xref);
    for (int v : {0, 0, 596, 842}) {
        box.AddItem(new TPdfNumber(v));
    }
    EXPECT_EQ(str(box), "[0 0 596 842 ]");

    auto *indirect = new TPdfDictionary(&xref);
    xref.AddObject(indirect);
    TPdfArray refs(&xref);
    refs.AddItem(indirect);
    refs.AddItem(indirect);
    EXPECT_EQ(str(refs), "[1 0 R 1 0 R ]");
    EXPECT_EQ(refs.Items(0)->ObjectType(), TPdfObjectType::otVirtualObject);

    // The same direct instance is held once.
    TPdfArray names(&xref);
    auto *name = new TPdfName("PDF");
    names.AddItem(name);
    names.AddItem(name);
    names.AddItem(new TPdfName("Text"));
    EXPECT_EQ(str(names), "[/PDF /Text ]");
}

TEST(PdfDictionaryObject, LayoutKeyOrderAndHiddenElements)
{
    TPdfXref xref;
    TPdfDictionary empty(&xref);
    EXPECT_EQ(str(empty), "<<\r\n>>");

    TPdfDictionary d(&xref);
    d.AddItem("Type", new TPdfName("Page"));
    d.AddItem("Count", new TPdfNumber(1));
    d.AddInternalItem("_Font", new TPdfName("Arial"));
    d.AddItem("Kids", new TPdfArray(&xref));
    EXPECT_EQ(str(d), "<<\r\n/Type /Page\r\n/Count 1\r\n/Kids []\r\n>>");
    // Hidden entries are found like any other.
    ASSERT_NE(d.PdfNameByName("_Font"), nullptr);
    EXPECT_EQ(d.PdfNameByName("_Font")->Value(), "Arial");

    // A key set again moves to the end and is written once.
    d.AddItem("Type", new TPdfName("Pages"));
    EXPECT_EQ(str(d), "<<\r\n/Count 1\r\n/Kids []\r\n/Type /Pages\r\n>>");
    // Changing a value in place keeps the position.
    d.PdfNumberByName("Count")->SetValue(7);
    EXPECT_EQ(str(d), "<<\r\n/Count 7\r\n/Kids []\r\n/Type /Pages\r\n>>");
    // Storing the very value already stored must not free it.
    TPdfObject *kids = d.ValueByName("Kids");
    d.AddItem("Kids", kids);
    EXPECT_EQ(str(d), "<<\r\n/Count 7\r\n/Type /Pages\r\n/Kids []\r\n>>");

    // Lookups are case-sensitive and typed.
    EXPECT_EQ(d.ValueByName("count"), nullptr);
    EXPECT_EQ(d.PdfTextByName("Count"), nullptr);
    EXPECT_EQ(d.TypeOf(), "Pages");

    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { d.AddItem("X", nullptr); }), "internal error. wrong object.");
}

TEST(PdfDictionaryObject, IndirectValuesAreReferencesResolvedOnLookup)
{
    TPdfXref xref;
    auto *root = new TPdfDictionary(&xref);
    xref.AddObject(root);
    root->AddItem("Type", new TPdfName("Pages"));
    auto *page = new TPdfDictionary(&xref);
    xref.AddObject(page);
    page->AddItem("Parent", root);
    EXPECT_EQ(str(*page), "<<\r\n/Parent 1 0 R\r\n>>");
    EXPECT_EQ(page->PdfDictionaryByName("Parent"), root);
}

TEST(PdfStreamObject, LengthFilterAndStreamLayout)
{
    TPdfXref xref;
    auto *stream = new TPdfStream(&xref);
    xref.AddObject(stream);
    stream->Stream() = "/F0 10 Tf\n";
    stream->Attributes().PdfArrayByName("Filter")->AddItem(new TPdfName("FlateDecode"));
    std::string out;
    stream->WriteIndirectToStream(out);
    EXPECT_EQ(out, "1 0 obj\r\n<<\r\n/Length 10\r\n/Filter []\r\n>>\r\nstream\r\n/F0 10 Tf\n\nendstream\r\nendobj\r\n");

    TPdfStream empty(&xref);
    EXPECT_EQ(str(empty), "<<\r\n/Length 0\r\n/Filter []\r\n>>\r\nstream\r\n\nendstream");
}

TEST(PdfXrefTable, NumbersObjectsAndWritesTwentyByteLines)
{
    TPdfXref xref;
    ASSERT_EQ(xref.ItemCount(), 1u);
    std::string line;
    xref.Items(0).WriteTo(line);
    EXPECT_EQ(line, "0000000000 65535 f\r\n");

    auto *a = new TPdfNumber(1);
    auto *b = new TPdfNumber(2);
    xref.AddObject(a);
    xref.AddObject(b);
    EXPECT_EQ(a->ObjectNumber(), 1);
    EXPECT_EQ(b->ObjectNumber(), 2);
    EXPECT_EQ(a->ObjectType(), TPdfObjectType::otIndirectObject);
    EXPECT_EQ(xref.GetObject(2), b);
    EXPECT_EQ(xref.GetObject(3), nullptr);
    EXPECT_EQ(xref.GetObject(-1), nullptr);

    xref.Items(1).ByteOffset = 11;
    xref.Items(2).ByteOffset = 1234567890;
    line.clear();
    xref.Items(1).WriteTo(line);
    xref.Items(2).WriteTo(line);
    EXPECT_EQ(line, "0000000011 00000 n\r\n1234567890 00000 n\r\n");

    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { xref.AddObject(a); }), "AddObject --wrong object type.");
}

TEST(PdfObjectMisuse, Messages)
{
    EXPECT_EQ(messageOf<EPdfError>([] { TPdfVirtualObject v(0); }),
              "virtualObject must be create by CreateVirtual method.");
    TPdfNumber direct(3);
    std::string out;
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { direct.WriteIndirectToStream(out); }),
              "internal error wrong object type");
    TPdfVirtualObject ref(5);
    EXPECT_EQ(str(ref), "5 0 R");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { ref.WriteIndirectToStream(out); }),
              "internal error wrong object type");
    // Both writer exceptions share one base whose what() is the bare message.
    try {
        throw EPdfInvalidValue("x");
    } catch (const EPdfError &e) {
        EXPECT_STREQ(e.what(), "x");
    }
}

} // namespace
