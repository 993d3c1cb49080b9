// The shared text-to-value conversions, as tables of cell texts.
#include <gtest/gtest.h>

#include <string>

#include "schooldata/access.h"
#include "schooldata/convert.h"

namespace dorv {
namespace {

TEST(Convert, ScoreFromTextIsLenientAndNeverWrapsAround) {
    struct Case {
        const char *text;
        int want;
    };
    const Case cases[] = {
        {"", 255},    {"85", 85},   {"0", 0},     {"100", 100},  {"72.5", 72},
        {"欠", 0},    {"  42", 42}, {"+7", 7},    {"12abc", 12}, {"$1F", 31},
        {"0x10", 16}, {"x0A", 10},  {"255", 255}, {"254", 254},  {"256", 255},
        {"300", 255}, {"-1", 255},  {"-0", 0},    {" ", 0},      {"99999999999999999999999", 255},
    };
    for (const Case &c : cases) EXPECT_EQ(ScoreFromText(c.text), c.want) << "'" << c.text << "'";
}

TEST(Convert, StrictIntTakesOnlyAWholeNumber) {
    struct Case {
        const char *text;
        int want;
    };
    const Case good[] = {{"3", 3},
                         {"  3", 3},
                         {"-12", -12},
                         {"+5", 5},
                         {"$ff", 255},
                         {"0x1A", 26},
                         {"X10", 16},
                         {"2147483647", 2147483647},
                         {"-2147483648", -2147483647 - 1}};
    for (const Case &c : good) EXPECT_EQ(StrictInt(c.text), c.want) << c.text;

    const char *bad[] = {"", " ", "3.5", "三", "3 ", "4組", "1e3", "-", "$", "0x", "2147483648", "--1", "１"};
    for (const char *text : bad) {
        try {
            StrictInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError &e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は整数ではありません");
            EXPECT_EQ(e.text(), text);
        }
    }
}

TEST(Convert, StrictValueByteMapsWholeNumbersOutsideAByteToEmpty) {
    struct Case {
        const char *text;
        int want;
    };
    const Case cases[] = {{"3", 3}, {"0", 0}, {"255", 255}, {"261", 255}, {"256", 255}, {"-1", 255}, {"5", 5}};
    for (const Case &c : cases) EXPECT_EQ(StrictValueByte(c.text), c.want) << c.text;
    EXPECT_THROW(StrictValueByte("3.5"), ConvertError);
    EXPECT_THROW(StrictValueByte(""), ConvertError);
}

TEST(Convert, SubjectCodeCellIsCodePlusOne) {
    struct Case {
        const char *text;
        bool strict;
        int want;
    };
    const Case cases[] = {
        {"1", true, 0},   {"9", true, 8},    {"12", true, 11},   {"", true, 11},    {"0", true, 255},
        {"13", true, 12}, {"257", true, 11}, {"-3", true, 11},   {"11", false, 10}, {"国語", false, 255},
        {"", false, 11},  {"3組", false, 2}, {"300", false, 11},
    };
    for (const Case &c : cases) EXPECT_EQ(KyokaFromText(c.text, c.strict), c.want) << c.text << " " << c.strict;
    EXPECT_THROW(KyokaFromText("国語", true), ConvertError);
}

TEST(Convert, StaffNumberValueReadsLeadingDecimalDigits) {
    struct Case {
        const char *text;
        long long want;
    };
    const Case cases[] = {{"00815", 815}, {"123A", 123}, {"A123", 0}, {"", 0}, {" 42", 42}, {"-7", -7}, {"$10", 0}};
    for (const Case &c : cases) EXPECT_EQ(StaffNumberValue(c.text), c.want) << c.text;
}

TEST(Convert, CutBytesNeverSplitsADoubleByteCharacter) {
    struct Case {
        std::string text;
        std::size_t max;
        std::string want;
    };
    const Case cases[] = {
        {"山田太郎花子一二", 14, "山田太郎花子一"},  // 16 bytes -> 14
        {"山田太郎花子一X", 14, "山田太郎花子一"},   // 15 bytes, the ASCII letter goes
        {"X山田太郎花子一", 14, "X山田太郎花子"},    // 15 bytes: 14 would split 一
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ", 14, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ"},   // half-width kana are one byte
        {"1234567", 6, "123456"},
        {"", 14, ""},
    };
    for (const Case &c : cases) EXPECT_EQ(CutBytes(c.text, c.max), c.want) << c.text;
}

TEST(Convert, ViewpointByteKeepsASingleByteFirstCharacterOnly) {
    struct Case {
        const char *text;
        int want;
    };
    const Case cases[] = {{"A", 'A'},  {"B+", 'B'}, {"a", 'a'},  {"", 255},
                          {"Ａ", 255}, {"良", 255}, {" C", ' '}, {"ｱ", 0xB1}};
    for (const Case &c : cases) EXPECT_EQ(ViewpointByte(c.text), c.want) << c.text;

    for (const char *text : {"A", "c", "ｱ"}) EXPECT_EQ(ViewpointText(ViewpointByte(text)), text);
    EXPECT_EQ(ViewpointText(255), "");
}

TEST(Convert, ClassCellRule) {
    struct Case {
        const char *text;
        bool homeroom;
        int grade, classNo, kind;
    };
    const Case cases[] = {
        {"21M", false, 2, 1, 0},  {"21W", false, 2, 1, 1}, {"32", false, 3, 2, 2}, {"2A", false, 2, 0, 2},
        {"210", false, 2, 1, 2},  {"3", false, 3, 0, 2},   {"", false, 0, 0, 2},   {"21m", false, 2, 1, 2},
        {"31", true, 3, 1, 2},    {"310", true, 3, 1, 2},  {"3", true, 3, 0, 2},   {"31M", true, 3, 1, 2},
        {"２１", false, 0, 0, 2}, {"A1M", false, 0, 1, 0},
    };
    for (const Case &c : cases) {
        TTeacherClass tc = ClassFromCell(c.text, c.homeroom);
        EXPECT_EQ(tc.Grade, c.grade) << c.text;
        EXPECT_EQ(tc.ClassNo, c.classNo) << c.text;
        EXPECT_EQ(tc.Kind, c.kind) << c.text;
    }
}

TEST(Convert, RepeatChar) {
    EXPECT_EQ(RepeatChar(0, ' '), "");
    EXPECT_EQ(RepeatChar(3, ' '), "   ");
    EXPECT_EQ(RepeatChar(255, 'x').size(), 255u);
    EXPECT_EQ(RepeatChar(2, std::string_view("　")), "　　");
    EXPECT_EQ(RepeatChar(0, std::string_view("　")), "");
}

TEST(Convert, CellAddressAndSlots) {
    struct Case {
        unsigned col, row;
        const char *want;
    };
    const Case cases[] = {{0, 1, "A1"},       {1, 2, "B2"},   {25, 10, "Z10"}, {26, 2, "AA2"},
                          {30, 101, "AE101"}, {51, 3, "AZ3"}, {52, 3, "BA3"}};
    for (const Case &c : cases) EXPECT_EQ(CellAddress(c.col, c.row), c.want);

    EXPECT_EQ(SlotOf(1, 1), 1);
    EXPECT_EQ(SlotOf(3, 15), 99);
    EXPECT_EQ(SlotOf(10, 42), 420);
}

TEST(Convert, SlotLoopsStayInsideTheClassesAndTheArrays) {
    std::uint8_t flags[421] = {};
    flags[1] = flags[42] = flags[43] = flags[90] = flags[420] = 1;
    std::vector<int> seen;
    ForEachModifiedSlot(flags, 2, [&](int slot) { seen.push_back(slot); });
    EXPECT_EQ(seen, (std::vector<int>{1, 42, 43}));

    seen.clear();
    ForEachModifiedSlot(flags, 200, [&](int slot) { seen.push_back(slot); });  // held to 10 classes
    EXPECT_EQ(seen, (std::vector<int>{1, 42, 43, 90, 420}));

    int count = 0;
    ForEachSlot(0, [&](int) { ++count; });
    EXPECT_EQ(count, 0);

    ClearFlags(flags);
    for (int i = 0; i <= 420; ++i) EXPECT_EQ(flags[i], 0);
}

}  // namespace
}  // namespace dorv
