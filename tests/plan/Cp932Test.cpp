#include "plan/Cp932.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(Cp932, ConvertsFullWidthHalfWidthKatakanaAndExtensions)
{
    EXPECT_EQ(cp932::fromUtf8("平成"), "\x95\xbd\x90\xac"s);
    EXPECT_EQ(cp932::fromUtf8("ｱｲ"), "\xb1\xb2"s);           // half-width katakana: one byte each
    EXPECT_EQ(cp932::fromUtf8("①"), "\x87\x40"s);             // NEC special row
    EXPECT_EQ(cp932::fromUtf8("～"), "\x81\x60"s);            // full-width tilde
    EXPECT_EQ(cp932::fromUtf8("〜"), "\x81\x60"s);            // wave dash goes to the same bytes
    EXPECT_EQ(cp932::fromUtf8("丨"), "\xfa\x68"s);            // held twice: IBM extension bytes win
    EXPECT_EQ(cp932::fromUtf8("ⅰ"), "\xfa\x40"s);
    EXPECT_EQ(cp932::fromUtf8("a\\b~"), "a\\b~"s);           // ASCII stays ASCII
    EXPECT_EQ(cp932::fromUtf8("表"), "\x95\x5c"s);            // trail byte equal to a backslash
}

TEST(Cp932, RoundTripsThroughUtf8AndUtf16)
{
    const std::string text = "氏名：山田　太郎（ﾔﾏﾀﾞ）①～髙\r\n(x)\\";
    const std::string bytes = cp932::fromUtf8(text);
    EXPECT_EQ(cp932::toUtf8(bytes), text);
    EXPECT_EQ(cp932::fromUtf16(cp932::toUtf16(bytes)), bytes);
    EXPECT_EQ(cp932::toUtf16(cp932::fromUtf8("髙")), u"髙");
}

TEST(Cp932, LengthsCountBytes)
{
    EXPECT_EQ(cp932::fromUtf8("あいう").size(), 6u);
    EXPECT_EQ(cp932::fromUtf8("ｱｲｳ").size(), 3u);
    EXPECT_EQ(cp932::fromUtf8("A").size(), 1u);
}

TEST(Cp932, ReportsCharactersItCannotHold)
{
    EXPECT_FALSE(cp932::firstUnrepresentable(u"山田①～丨"));
    EXPECT_EQ(cp932::firstUnrepresentable(u"ab😀c"), 2u);
    EXPECT_EQ(cp932::firstUnrepresentable(u"山𠮷"), 1u);
    EXPECT_EQ(cp932::firstUnrepresentable(u"a\xD800"), 1u); // lone surrogate
    EXPECT_EQ(cp932::firstUnrepresentableUtf8("ab😀"), 2u);
    EXPECT_EQ(cp932::firstUnrepresentableUtf8("a\xff"), 1u); // malformed UTF-8
    EXPECT_EQ(cp932::fromUtf8("a😀b"), "a?b");
}

TEST(Cp932, DecodesBrokenBytesWithoutLosingTheRest)
{
    EXPECT_EQ(cp932::toUtf8("a\x81"s), "a\xEF\xBF\xBD"); // lone lead byte at the end
    EXPECT_EQ(cp932::toUtf8("\xa0z"s), "\xEF\xBF\xBDz");
}

TEST(Cp932, LeadBytesAndCaretMapping)
{
    EXPECT_TRUE(cp932::isLeadByte(0x81));
    EXPECT_TRUE(cp932::isLeadByte(0x9F));
    EXPECT_TRUE(cp932::isLeadByte(0xE0));
    EXPECT_TRUE(cp932::isLeadByte(0xFC));
    EXPECT_FALSE(cp932::isLeadByte(0x80));
    EXPECT_FALSE(cp932::isLeadByte(0xA0));
    EXPECT_FALSE(cp932::isLeadByte(0xB1)); // half-width katakana
    EXPECT_FALSE(cp932::isLeadByte(0xFD));

    const std::string date = cp932::fromUtf8("平成15年 4月 1日");
    ASSERT_EQ(date.size(), 16u);
    EXPECT_EQ(cp932::charsInBytes(date, 4), 2u);
    EXPECT_EQ(cp932::charsInBytes(date, 8), 5u);
    EXPECT_EQ(cp932::charsInBytes(date, 16), 11u);
    EXPECT_EQ(cp932::bytesInChars(date, 2), 4u);
    EXPECT_EQ(cp932::bytesInChars(date, 5), 8u);
    EXPECT_EQ(cp932::bytesInChars(date, 11), 16u);
    EXPECT_EQ(cp932::bytesInChars(date, 99), 16u);
}
