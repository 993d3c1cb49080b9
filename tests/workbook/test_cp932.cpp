#include "workbook/cp932.h"

#include <gtest/gtest.h>

using namespace dorv;

TEST(Cp932, DecodesAndEncodesMicrosoftExtensions) {
    // ① (NEC row 13) and 髙 (IBM extension) exist only in the Microsoft variant;
    // ～ (FULLWIDTH TILDE) is where CP932 and plain Shift_JIS map 0x8160 apart.
    struct Case {
        const char *utf8;
        const char *bytes;
    } cases[] = {
        {"山田", "\x8E\x52\x93\x63"}, {"①", "\x87\x40"},  {"髙", "\xFB\xFC"},
        {"～", "\x81\x60"},           {"ｱｲ", "\xB1\xB2"}, {"A1", "A1"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cp932::fromUtf8(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(cp932::toUtf8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(Cp932, BadBytesDecodeToReplacement) {
    EXPECT_EQ(cp932::toUtf8("A\x81"), "A\xEF\xBF\xBD");  // lone lead byte at the end
    EXPECT_EQ(cp932::toUtf8("\xA0"), "\xEF\xBF\xBD");
}

TEST(Cp932, WidthCountsBytesNotUtf8Size) {
    struct Case {
        const char *text;
        std::size_t width;
    } cases[] = {
        {"", 0},    {"abc", 3},      {"山田太郎", 8},
        {"ｱｲｳ", 3}, {"山田 ﾀﾛｳ", 8}, {"😀", 2},  // outside CP932: counts two and is kept
    };
    for (const auto &c : cases) EXPECT_EQ(cp932::width(c.text), c.width) << c.text;
}

TEST(Cp932, CutNeverSplitsACharacter) {
    struct Case {
        const char *text;
        std::size_t max;
        const char *expected;
    } cases[] = {
        {"山田太郎花子次郎", 14, "山田太郎花子次"},
        {"a山田太郎花子次郎", 14, "a山田太郎花子"},  // 13 bytes: the next character would make 15
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ", 14, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ"},
        {"abc", 0, ""},
        {"abc", 10, "abc"},
    };
    for (const auto &c : cases) EXPECT_EQ(cp932::cut(c.text, c.max), c.expected) << c.text;
}

TEST(Cp932, UnmappableCharacterKeepsItsWidthWhenEncoded) {
    bool lossless = true;
    EXPECT_EQ(cp932::fromUtf8("a😀b", &lossless),
              "a\x81\x48"
              "b");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(cp932::fromUtf8("ab", &lossless), "ab");
    EXPECT_TRUE(lossless);
}
