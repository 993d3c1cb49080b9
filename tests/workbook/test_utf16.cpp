#include "workbook/utf16.h"

#include <gtest/gtest.h>

#include <string>

using namespace dorv;

TEST(Utf16, ValidTextRoundTrips) {
    struct Case {
        const char *utf8;
        std::u16string units;
    } cases[] = {
        {"", u""},
        {"A1", u"A1"},
        {"\xC3\xA9", u"\u00E9"},  // two-byte form
        {"山田 ﾀﾛｳ", u"山田 ﾀﾛｳ"},
        {"\xEF\xBF\xBF", u"\uFFFF"},          // the top of the basic plane
        {"\xF0\x9F\x98\x80", u"\U0001F600"},  // a surrogate pair
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},  // the last code point
    };
    for (const auto &c : cases) {
        EXPECT_EQ(utf16::fromUtf8(c.utf8), c.units) << c.utf8;
        EXPECT_EQ(utf16::toUtf8(c.units), c.utf8) << c.utf8;
    }
}

TEST(Utf16, EveryByteStartingNoValidCharacterBecomesOneReplacement) {
    // Text stored in a workbook must never carry a lone surrogate or a NUL
    // smuggled in through an over-long form.
    struct Case {
        const char *name;
        std::string utf8;
        std::u16string units;
    } cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"cut-off sequence at the end", "a\xE3\x81", u"a\uFFFD\uFFFD"},
        {"sequence broken by ASCII",
         "\xE3\x81"
         "A",
         u"\uFFFD\uFFFDA"},
        {"over-long NUL", std::string("\xC0\x80", 2), u"\uFFFD\uFFFD"},
        {"over-long slash", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"bytes never in UTF-8", "\xFE\xFF", u"\uFFFD\uFFFD"},
    };
    for (const auto &c : cases) EXPECT_EQ(utf16::fromUtf8(c.utf8), c.units) << c.name;
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacement) {
    struct Case {
        const char *name;
        std::u16string units;
        const char *utf8;
    } cases[] = {
        {"high at the end", u"a\xD83D", "a\xEF\xBF\xBD"},
        {"low alone", u"\xDE00z", "\xEF\xBF\xBDz"},
        {"high before a non-surrogate",
         u"\xD83D"
         "A",
         "\xEF\xBF\xBD"
         "A"},
        {"pair in the wrong order", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto &c : cases) EXPECT_EQ(utf16::toUtf8(c.units), c.utf8) << c.name;
}

TEST(Utf16, DecodeGivesLengthAndCodePoint) {
    struct Case {
        std::string s;
        std::size_t length;
        char32_t c;
    } cases[] = {
        {"A", 1, U'A'}, {"\xC3\xA9x", 2, 0xE9}, {"山", 3, U'山'},   {"\xF0\x9F\x98\x80", 4, 0x1F600},
        {"", 0, 0},     {"\x80", 0, 0},         {"\xE5\xB1", 0, 0}, {"\xC1\xBF", 0, 0},
    };
    for (const auto &c : cases) {
        char32_t got = 0;
        EXPECT_EQ(utf16::decodeUtf8(c.s, got), c.length) << c.s;
        if (c.length) {
            EXPECT_EQ(got, c.c) << c.s;
        }
    }
}
