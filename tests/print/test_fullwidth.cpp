// Full-width digits and letters: JIS pairs to Shift_JIS, and ASCII text to
// its full-width form, checked against the CP932 bytes of the characters.
#include "print/pages/fullwidth.h"

#include "workbook/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace dorv {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

std::string Hex(const std::string &s) {
    static const char *digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

TEST(JisToSjis, ConvertsRowAndCellPairs) {
    const struct {
        std::string jis, sjis;
    } cases[] = {
        {Bytes({0x30, 0x21}), Bytes({0x88, 0x9F})},  // 亜: odd row, cell below 0x60
        {Bytes({0x23, 0x41}), Bytes({0x82, 0x60})},  // Ａ
        {Bytes({0x23, 0x61}), Bytes({0x82, 0x81})},  // ａ: odd row, cell from 0x60
        {Bytes({0x23, 0x30}), Bytes({0x82, 0x4F})},  // ０
        {Bytes({0x24, 0x22}), Bytes({0x82, 0xA0})},  // あ: even row
        {Bytes({0x5E, 0x21}), Bytes({0x9F, 0x9F})},  // last row of the first lead range
        {Bytes({0x5F, 0x21}), Bytes({0xE0, 0x40})},  // first row of the second lead range
        {Bytes({0x74, 0x26}), Bytes({0xEA, 0xA4})},  // the last kanji of the set
        {Bytes({0x30, 0x21, 0x23, 0x41}), Bytes({0x88, 0x9F, 0x82, 0x60})},
        {"", ""},
        // ESC-introduced: the two bytes before and after the pairs go.
        {Bytes({0x1B, 0x24, 0x23, 0x41, 0x1B, 0x28}), Bytes({0x82, 0x60})},
        {Bytes({0x1B, 0x24, 0x1B, 0x28}), ""},
        // Shorter than its shift-in and shift-out: nothing to read.
        {Bytes({0x1B}), ""},
        {Bytes({0x1B, 0x24, 0x40}), ""},
        // A lone byte at the end stays as it is.
        {Bytes({0x23, 0x41, 0x42}), Bytes({0x82, 0x60, 0x42})},
        {Bytes({0x1B, 0x24, 0x23, 0x1B, 0x28}), Bytes({0x23})},
    };
    for (const auto &c : cases) {
        const std::string got = JisToSjis(c.jis);
        EXPECT_EQ(Hex(got), Hex(c.sjis)) << "JIS " << Hex(c.jis);
    }
}

TEST(ToFullWidth, DigitsAndLettersBecomeTheirFullWidthCharacters) {
    const struct {
        std::string text, utf8;
    } cases[] = {
        {"3", "３"}, {"5", "５"}, {"12", "１２"}, {"A", "Ａ"}, {"B", "Ｂ"}, {"Zz09", "Ｚｚ０９"}, {"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ToFullWidth(c.text), c.utf8) << c.text;
        // Two CP932 bytes per input byte, the bytes of the full-width forms.
        EXPECT_EQ(Hex(ToFullWidthSjis(c.text)), Hex(cp932::fromUtf8(c.utf8))) << c.text;
        EXPECT_EQ(ToFullWidthSjis(c.text).size(), 2 * c.text.size()) << c.text;
    }
    EXPECT_EQ(Hex(ToFullWidthSjis("12")), Hex(Bytes({0x82, 0x50, 0x82, 0x51})));
}

TEST(ToFullWidth, TakesTheFirstEightyBytes) {
    const std::string hundred(100, '7');
    EXPECT_EQ(ToFullWidthSjis(hundred).size(), 160u);
    EXPECT_EQ(cp932::chars(ToFullWidth(hundred)).size(), 80u);
    EXPECT_EQ(ToFullWidth(std::string(81, 'a')), ToFullWidth(std::string(80, 'a')));
}

TEST(ToFullWidth, BytesWithoutAFullWidthCharacterNeverRaise) {
    // Space, symbols, control bytes and the bytes of a double-byte character
    // give pairs that are no assigned character: replacement marks, and the
    // digits beside them are still converted.
    const std::string texts[] = {" ", "-", "\x01", "\x7f", "亜", "a b", "9\xff"};
    for (const std::string &text : texts) {
        std::string got;
        EXPECT_NO_THROW(got = ToFullWidth(text)) << Hex(text);
        EXPECT_TRUE(cp932::isValidUtf8(got)) << Hex(text);
        EXPECT_EQ(ToFullWidthSjis(text).size(), 2 * cp932::fromUtf8(text).size()) << Hex(text);
    }
    EXPECT_EQ(ToFullWidth("a b").substr(0, 3), "ａ");
    EXPECT_EQ(ToFullWidth("a b").substr(ToFullWidth("a b").size() - 3), "ｂ");
}

}  // namespace
}  // namespace dorv
