#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

namespace {

struct Typed {
    std::string text; // UTF-8 for readable expectations
    int caret;
};

// Feeds keys one by one to the editor, starting from a UTF-8 text and caret.
Typed type(const std::string &startUtf8, int caret, const std::string &keys)
{
    std::string text = cp932::fromUtf8(startUtf8);
    for (char k : keys) {
        char key = k;
        EditEraDate(caret, text, key, 0);
        EXPECT_EQ(key, '\0');
    }
    return {cp932::toUtf8(text), caret};
}

const char *const kBlank = "＿＿__年__月__日";

bool parse(const std::string &utf8, TDateTime &date)
{
    return ParseEraDate(cp932::fromUtf8(utf8), date);
}

} // namespace

TEST(EraDateEditor, TypingAWholeDate)
{
    const Typed t = type(kBlank, 0, "H150401");
    EXPECT_EQ(t.text, "平成15年 4月 1日");
    EXPECT_EQ(t.caret, 16);
    TDateTime d = 0;
    ASSERT_TRUE(parse(t.text, d));
    EXPECT_EQ(decodeDate(d), (CivilDate{2003, 4, 1}));

    const Typed r = type(kBlank, 0, "r080115");
    EXPECT_EQ(r.text, "令和 8年 1月15日");
    ASSERT_TRUE(parse(r.text, d));
    EXPECT_EQ(decodeDate(d), (CivilDate{2026, 1, 15}));
}

TEST(EraDateEditor, SpecialRequests)
{
    int caret = -1;
    std::string text = "junk";
    char key = 'x';
    EditEraDate(caret, text, key, 0);
    EXPECT_EQ(cp932::toUtf8(text), kBlank);
    EXPECT_EQ(caret, 0);
    EXPECT_EQ(key, '\0');

    caret = -2;
    EditEraDate(caret, text, key, encodeDateTime(2026, 12, 7, 15, 30, 0));
    EXPECT_EQ(cp932::toUtf8(text), "令和08年12月07日");
    EXPECT_EQ(caret, 0);
}

TEST(EraDateEditor, EraField)
{
    EXPECT_EQ(type("平成15年 4月 1日", 2, "s").text, "昭和15年 4月 1日");
    EXPECT_EQ(type("平成15年 4月 1日", 2, "s").caret, 4);
    EXPECT_EQ(type("平成15年 4月 1日", 0, "m").text, "明治15年 4月 1日");
    EXPECT_EQ(type("平成15年 4月 1日", 0, "T").text, "大正15年 4月 1日");
    const Typed other = type("平成15年 4月 1日", 1, "x");
    EXPECT_EQ(other.text, "平成15年 4月 1日");
    EXPECT_EQ(other.caret, 4);
}

TEST(EraDateEditor, YearDigits)
{
    // A first digit 1-9 or 0/space; anything else is ignored.
    EXPECT_EQ(type(kBlank, 4, "x").caret, 4);
    EXPECT_EQ(type(kBlank, 4, "x").text, kBlank);
    EXPECT_EQ(type(kBlank, 4, "0").text, "＿＿ _年__月__日");
    // Space then 0 makes year 0: "_" at byte 6, caret stays at 5.
    const Typed zero = type(kBlank, 4, " 0");
    EXPECT_EQ(zero.text, "＿＿ _年__月__日");
    EXPECT_EQ(zero.caret, 5);
    // "_" at byte 5 with the caret placed at 5: both digits reset, caret to 4.
    const Typed reset = type(kBlank, 5, "5");
    EXPECT_EQ(reset.text, kBlank);
    EXPECT_EQ(reset.caret, 4);
    EXPECT_EQ(type("平成15年 4月 1日", 6, "9").caret, 8);
    EXPECT_EQ(type("平成15年 4月 1日", 7, "9").text, "平成15年 4月 1日");
}

TEST(EraDateEditor, MonthDigits)
{
    // Only 0, space or 1 start a month.
    const Typed two = type(kBlank, 8, "2");
    EXPECT_EQ(two.text, kBlank);
    EXPECT_EQ(two.caret, 8);
    EXPECT_EQ(type(kBlank, 8, "02").text, "＿＿__年 2月__日");
    EXPECT_EQ(type(kBlank, 8, "02").caret, 12);
    const Typed thirteen = type(kBlank, 8, "13");
    EXPECT_EQ(thirteen.text, "＿＿__年1_月__日");
    EXPECT_EQ(thirteen.caret, 9);
    EXPECT_EQ(type(kBlank, 8, "00").caret, 9);
    EXPECT_EQ(type(kBlank, 9, "1").text, kBlank);
    EXPECT_EQ(type(kBlank, 9, "1").caret, 8);
    EXPECT_EQ(type(kBlank, 10, "1").caret, 12);
    EXPECT_EQ(type(kBlank, 11, "x").caret, 12);
}

TEST(EraDateEditor, DayDigits)
{
    const Typed four = type("平成15年 4月 1日", 12, "4");
    EXPECT_EQ(four.text, "平成15年 4月_1日");
    EXPECT_EQ(four.caret, 12);
    // The calendar test on the last digit: 30 February fails.
    const Typed feb30 = type("平成15年 2月__日", 12, "30");
    EXPECT_EQ(feb30.text, "平成15年 2月3_日");
    EXPECT_EQ(feb30.caret, 13);
    const Typed feb28 = type("平成15年 2月__日", 12, "28");
    EXPECT_EQ(feb28.text, "平成15年 2月28日");
    EXPECT_EQ(feb28.caret, 16);
    EXPECT_EQ(type("平成15年 2月__日", 12, "00").caret, 13);
    // Day in a date whose era placeholder does not parse: the day is refused.
    EXPECT_EQ(type(kBlank, 12, "15").caret, 13);
    // A "_" first digit then a digit resets both.
    const Typed reset = type(kBlank, 13, "5");
    EXPECT_EQ(reset.caret, 12);
    // Backspace reaching the editor at caret 12 writes "_" at byte 13.
    EXPECT_EQ(type("平成15年 4月 1日", 12, "\b").text, "平成15年 4月_1日");
}

TEST(EraDateEditor, NothingChangesAtTheEnd)
{
    for (int caret : {14, 15, 16, 17}) {
        const Typed t = type("平成15年 4月 1日", caret, "1");
        EXPECT_EQ(t.text, "平成15年 4月 1日");
        EXPECT_EQ(t.caret, caret);
    }
}

TEST(EraDateEditor, ShortAndLongTextsStayBounded)
{
    // The 17-byte text that clearing the form leaves, and an empty field.
    const Typed cleared = type("平成   年  月  日", 0, "H150401");
    EXPECT_LE(cp932::fromUtf8(cleared.text).size(), 17u);
    const Typed empty = type("", 0, "H1");
    EXPECT_EQ(empty.text, "平成1");
}

TEST(EraDateParse, Examples)
{
    TDateTime d = 0;
    EXPECT_FALSE(parse(kBlank, d));
    EXPECT_FALSE(parse("平成  年  月  日", d));
    EXPECT_FALSE(parse("平成   年  月  日", d));
    EXPECT_FALSE(parse("", d));
    ASSERT_TRUE(parse("昭和70年 1月 1日", d));
    EXPECT_EQ(decodeDate(d), (CivilDate{1995, 1, 1}));
    ASSERT_TRUE(parse("平成 1年 1月 1日", d));
    EXPECT_EQ(decodeDate(d), (CivilDate{1989, 1, 1}));
    ASSERT_TRUE(parse("明治01年01月01日", d));
    EXPECT_EQ(decodeDate(d), (CivilDate{1868, 1, 1}));
    ASSERT_TRUE(parse("平和15年04月01日", d)); // the second era character is not examined
    EXPECT_EQ(decodeDate(d), (CivilDate{2003, 4, 1}));
    EXPECT_FALSE(parse("平成15年02月29日", d));
    EXPECT_TRUE(parse("平成16年02月29日", d));
    EXPECT_FALSE(parse("平成15年13月01日", d));
    EXPECT_FALSE(parse("平成15年 4月1_日", d));
    EXPECT_FALSE(parse("西暦15年04月01日", d));
}

TEST(EraDateFormat, EraBoundaries)
{
    auto fmt = [](int y, int m, int d) { return cp932::toUtf8(FormatEraDate(encodeDate(y, m, d))); };
    EXPECT_EQ(fmt(1912, 7, 29), "明治45年07月29日");
    EXPECT_EQ(fmt(1912, 7, 30), "大正01年07月30日");
    EXPECT_EQ(fmt(1926, 12, 24), "大正15年12月24日");
    EXPECT_EQ(fmt(1926, 12, 25), "昭和01年12月25日");
    EXPECT_EQ(fmt(1989, 1, 7), "昭和64年01月07日");
    EXPECT_EQ(fmt(1989, 1, 8), "平成01年01月08日");
    EXPECT_EQ(fmt(2019, 4, 30), "平成31年04月30日");
    EXPECT_EQ(fmt(2019, 5, 1), "令和01年05月01日");
    // The time of day does not move the date.
    EXPECT_EQ(cp932::toUtf8(FormatEraDate(encodeDateTime(2003, 4, 1, 23, 59, 59))), "平成15年04月01日");
}

TEST(EraDateFormat, EveryDayRoundTrips)
{
    const TDateTime first = encodeDate(1873, 1, 1);
    const TDateTime last = encodeDate(2100, 12, 31);
    for (TDateTime day = first; day <= last; day += 1) {
        const std::string text = FormatEraDate(day);
        ASSERT_EQ(text.size(), 16u) << cp932::toUtf8(text);
        TDateTime back = -1;
        ASSERT_TRUE(ParseEraDate(text, back)) << cp932::toUtf8(text);
        ASSERT_EQ(back, day) << cp932::toUtf8(text);
    }
}

TEST(AgeInYears, UsesTheQuarterDayYear)
{
    const TDateTime a = encodeDate(2000, 1, 1);
    EXPECT_EQ(AgeInYears(a, a + 365), 0);
    EXPECT_EQ(AgeInYears(a, a + 366), 1);
    EXPECT_EQ(AgeInYears(a, a + 1461), 4);
    EXPECT_EQ(AgeInYears(a + 1461, a), 4);
    EXPECT_EQ(AgeInYears(a, a + 1460.99), 3);
    // Against a plan date that carries a time of day.
    EXPECT_EQ(AgeInYears(encodeDate(2003, 4, 1), encodeDateTime(2026, 4, 1, 12, 0, 0)), 23);
}

TEST(DateTime, EpochAndNegativeDays)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(decodeDate(-1.25), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(encodeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
    EXPECT_EQ(decodeDate(encodeDate(2026, 12, 7)), (CivilDate{2026, 12, 7}));
}
