#include "roster/name_layout.h"

#include "workbook/cp932.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    const char *name;
    const char *expected;
};

// The placeholders 甲乙丙丁戊己庚 stand for any full-width characters.
const LayoutCase kLayouts[] = {
    {"甲 乙丙", "甲　　　乙　丙"},
    {"甲乙 丙丁", "甲　乙　丙　丁"},
    {"甲乙　丙丁", "甲　乙　丙　丁"},
    {"甲乙 丙", "甲　乙　　　丙"},
    {"甲乙丙 丁", "甲乙丙　　　丁"},
    {"甲乙丙 丁戊", "甲乙丙　丁　戊"},
    {"甲乙 丙丁戊己", "甲乙　丙丁戊己"},
    {"甲 乙丙丁戊", "甲　　乙丙丁戊"},
    {"甲乙丙 丁戊己庚", "甲乙丙丁戊己庚"},
    {"甲乙丙丁 戊己", "甲乙丙丁　戊己"},
    {"甲乙丙丁", "甲乙丙丁　　　"},
    // Only the first full-width space separates the parts.
    {"甲乙　丙丁　", "甲　乙　丙丁　"},
    // 13 bytes: the given part keeps its first four characters.
    {"甲 乙丙丁戊己", "甲　　乙丙丁戊"},
    // A four-character family name keeps three given characters.
    {"甲乙丙丁 戊己庚辛", "甲乙丙丁戊己庚"},
    {"甲乙丙丁 戊", "甲乙丙丁　　戊"},
    // One-character family names.
    {"林 一", "林　　　　　一"},
    {"林　一", "林　　　　　一"},
    {"林 一二三", "林　　　一二三"},
    // Exactly 6 bytes, no separator: padded to seven characters.
    {"山田花", "山田花　　　　"},
    {"山田 太郎", "山　田　太　郎"},
    // Full-width letters and digits are full-width characters like any other.
    {"ＡＢ Ｃ", "Ａ　Ｂ　　　Ｃ"},
    // Longer than the editor converts: the function alone keeps seven characters.
    {"甲乙丙丁戊己庚辛", "甲乙丙丁戊己庚"},
    {"", "　　　　　　　"},
    // Names the layout has no rule for come back as they are.
    {"山田 Taro", "山田 Taro"},
    {"Yamada 太郎", "Yamada 太郎"},
    {"ﾔﾏﾀﾞ ﾀﾛｳ", "ﾔﾏﾀﾞ ﾀﾛｳ"},
    {"山田太郎1", "山田太郎1"},
    {"山田 太 郎", "山田 太 郎"},
    {" 山田太郎", " 山田太郎"},
    {"　山田太郎", "　山田太郎"},
    {"甲乙丙丁戊 己", "甲乙丙丁戊 己"},
    {"Tom Lee", "Tom Lee"},
};

TEST(NameTo7Chars, LaysOutNamesOnCharacterPositions) {
    for (const auto &c : kLayouts) {
        EXPECT_EQ(dorv::NameTo7Chars(c.name), c.expected) << "name: " << c.name;
    }
}

TEST(NameTo7Chars, EditorConvertsSixToThirteenBytes) {
    const struct {
        const char *name;
        bool converted;
    } cases[] = {
        {"林 一", false},           // 5 bytes
        {"林　一", true},           // 6 bytes
        {"甲 乙丙丁戊己", true},    // 13 bytes
        {"甲乙丙丁戊己庚", false},  // 14 bytes
        {"", false},
    };
    for (const auto &c : cases) EXPECT_EQ(dorv::IsConvertibleWidth(dorv::cp932::width(c.name)), c.converted) << c.name;
}

TEST(RepeatStr, RepeatsTheFirstCharacter) {
    EXPECT_EQ(dorv::RepeatStr(3, "　"), "　　　");
    EXPECT_EQ(dorv::cp932::width(dorv::RepeatStr(3, "　")), 6u);
    EXPECT_EQ(dorv::RepeatStr(0, "　"), "");
    EXPECT_EQ(dorv::RepeatStr(2, "甲乙"), "甲甲");
    EXPECT_EQ(dorv::RepeatStr(4, ""), "");
}

}  // namespace
