// The rules of one raw-score entry, apart from the form: cell texts, what a
// typed text means, the 技家 sum and the average labels.
#include "input/soten_entry.h"

#include "schooldata/convert.h"

#include <gtest/gtest.h>

#include <string>

namespace dorv {
namespace {

TEST(ScoreCells, StoredAndTypedTextsLineUpInFourPositions) {
    struct Case {
        int value;
        const char *cell;
    } stored[] = {{255, ""}, {0, "   0"}, {7, "   7"}, {85, "  85"}, {100, " 100"}, {150, " 150"}, {254, " 254"}};
    for (const Case &c : stored) EXPECT_EQ(ScoreCellText(static_cast<std::uint8_t>(c.value)), c.cell) << c.value;

    struct Typed {
        const char *text;
        const char *cell;
    } typed[] = {{"085", " 085"},  {"7", "   7"},      {"+5", "  +5"}, {" 7", "   7"},
                 {"1000", "1000"}, {"00085", "00085"}, {"８", "  ８"}};  // a full-width digit takes two positions
    for (const Typed &t : typed) EXPECT_EQ(PadEntryText(t.text), t.cell) << t.text;
}

TEST(ScoreCells, SlotNumbersFollowClassAndAttendanceNumber) {
    struct Case {
        int slot;
        const char *text;
    } cases[] = {{1, " 101"}, {42, " 142"}, {43, " 201"}, {85, " 301"}, {126, " 342"}, {379, " 1001"}, {420, " 1042"}};
    for (const Case &c : cases) EXPECT_EQ(SlotNumberText(c.slot), c.text) << c.slot;
}

TEST(ScoreEntries, WholeNumbersFrom0To100AreStoredOthersRefused) {
    using K = ScoreEntry::Kind;
    struct Case {
        const char *text;
        K kind;
        int value;
    } cases[] = {
        {"", K::Store, 255},    {"0", K::Store, 0},     {"100", K::Store, 100},        {"085", K::Store, 85},
        {"  42", K::Store, 42}, {"+7", K::Store, 7},    {"101", K::Refused, 0},        {"255", K::Refused, 0},
        {"-1", K::Refused, 0},  {"-50", K::Refused, 0}, {"2147483647", K::Refused, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const ScoreEntry e = ParseScoreEntry(c.text);
        EXPECT_EQ(e.kind, c.kind);
        if (c.kind == K::Store) {
            EXPECT_EQ(e.value, c.value);
        }
    }
}

TEST(ScoreEntries, TextsThatAreNoWholeNumberRaiseTheConversionMessage) {
    for (const char *text : {"abc", "7.5", "85 ", "欠", "1 2", "-", "99999999999"}) {
        SCOPED_TRACE(text);
        try {
            ParseScoreEntry(text);
            ADD_FAILURE() << "accepted";
        } catch (const ConvertError &e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は整数ではありません");
        }
    }
}

TEST(TechHome, SumCountsAnEmptyPartAsZeroAndBothEmptyAsNoSum) {
    struct Case {
        int tech, home;
        const char *shown;
        int value;
    } cases[] = {
        {30, 40, "70", 70},     {30, 255, "30", 30},  {255, 40, "40", 40}, {255, 255, "", 255},
        {0, 0, "0", 0},         {60, 50, "110", 110},  // above 100: held, and every consumer reads no score
        {200, 200, "400", 255},                        // beyond a byte: no score rather than a wrapped value
    };
    for (const Case &c : cases) {
        const TechHomeSum s = SumTechHome(static_cast<std::uint8_t>(c.tech), static_cast<std::uint8_t>(c.home));
        EXPECT_EQ(s.shown, c.shown) << c.tech << "+" << c.home;
        EXPECT_EQ(s.value, c.value) << c.tech << "+" << c.home;
    }
}

TEST(MeanLabels, ExactQuotientRoundedHalfAwayFromZero) {
    struct Case {
        long long sum, count;
        const char *label;
    } cases[] = {
        {1221, 20, "学級平均：61.1"},  // 61.05, which a float would hold as 61.0499...
        {1447, 20, "学級平均：72.4"},  // 72.35
        {29, 4, "学級平均：7.3"},      // 7.25
        {49, 4, "学級平均：12.3"},     // 12.25
        {1, 2, "学級平均：.5"},       {100, 1, "学級平均：100"}, {164, 2, "学級平均：82"},
        {200, 3, "学級平均：66.7"},   {0, 5, "学級平均："},      {0, 0, "学級平均："},
    };
    for (const Case &c : cases) EXPECT_EQ(MeanLabel("学級平均：", c.sum, c.count), c.label) << c.sum << "/" << c.count;
}

}  // namespace
}  // namespace dorv
