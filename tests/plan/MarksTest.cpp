// Conversions between the full-width marks shown in a mark cell and the
// single-byte letters kept in the plan record.

#include "plan/Marks.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

namespace {

std::string sj(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

} // namespace

TEST(MarkToHalfWidth, KeepsLettersInTheirOrder)
{
    EXPECT_EQ(MarkToHalfWidth(sj("ＡＢＣ")), "ABC");
    EXPECT_EQ(MarkToHalfWidth(sj("ＡＣ")), "AC");
    EXPECT_EQ(MarkToHalfWidth(sj("ＢＣ")), "BC");
    EXPECT_EQ(MarkToHalfWidth(sj("Ｃ")), "C");
    EXPECT_EQ(MarkToHalfWidth(sj("Ａ")), "A");
}

TEST(MarkToHalfWidth, BlankAndForeignTextsGiveNothing)
{
    EXPECT_EQ(MarkToHalfWidth(sj("　")), "");
    EXPECT_EQ(MarkToHalfWidth(""), "");
    EXPECT_EQ(MarkToHalfWidth("AB"), "");       // half-width letters are not marks
    EXPECT_EQ(MarkToHalfWidth(sj("ａｂ")), ""); // nor are lower-case ones
}

TEST(MarkToHalfWidth, DropsLettersOutOfOrder)
{
    EXPECT_EQ(MarkToHalfWidth(sj("ＣＡ")), "C");
    EXPECT_EQ(MarkToHalfWidth(sj("ＢＡ")), "B");
    EXPECT_EQ(MarkToHalfWidth(sj("ＡＡ")), "A");
    // Each place is read for itself: a blank first place does not stop the rest.
    EXPECT_EQ(MarkToHalfWidth(sj("　Ｂ")), "B");
    EXPECT_EQ(MarkToHalfWidth(sj("ＡＢＣＣ")), "ABC"); // only three places are read
}

TEST(MarkToFullWidth, KeepsLettersInTheirOrder)
{
    EXPECT_EQ(MarkToFullWidth("AB"), sj("ＡＢ"));
    EXPECT_EQ(MarkToFullWidth("BC"), sj("ＢＣ"));
    EXPECT_EQ(MarkToFullWidth("ABC"), sj("ＡＢＣ"));
    EXPECT_EQ(MarkToFullWidth(""), "");
}

TEST(MarkToFullWidth, DropsLettersOutOfOrderAndOthers)
{
    EXPECT_EQ(MarkToFullWidth("CA"), sj("Ｃ"));
    EXPECT_EQ(MarkToFullWidth("a"), "");
    EXPECT_EQ(MarkToFullWidth(" B"), sj("Ｂ"));
}

TEST(Marks, RoundTripTheEightMarksTheDialogWrites)
{
    for (const char *letters : {"", "A", "B", "C", "AB", "AC", "BC", "ABC"}) {
        EXPECT_EQ(MarkToHalfWidth(MarkToFullWidth(letters)), letters) << letters;
    }
}
