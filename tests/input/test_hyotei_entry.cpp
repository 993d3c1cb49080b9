// The rating entry rules as tables: what a typed text changes, and when a
// row's rating disagrees with its marks.
#include "input/hyotei_entry.h"

#include "schooldata/convert.h"

#include <gtest/gtest.h>

#include <string>

namespace dorv {
namespace {

constexpr std::uint8_t E = 255;  // emptied

// The record after an entry into one holding rating 2 and marks C C C C C C
// ("_" for empty).
std::string After(const QString &typed, int column, int viewpoints, bool zeroWithMarks) {
    THyoteiRec rec{2, {0, 'C', 'C', 'C', 'C', 'C', 'C'}};
    ApplyHyoteiEntry(ParseHyoteiEntry(typed, column, {viewpoints, zeroWithMarks}), rec);
    std::string s = rec.Rating == E ? "_" : std::to_string(rec.Rating);
    s += ' ';
    for (int i = 1; i <= 6; ++i) s += rec.Kanten[i] == E ? '_' : static_cast<char>(rec.Kanten[i]);
    return s;
}

TEST(HyoteiEntry, TypedTextsChangeTheRatingAndTheTypedMarksOnly) {
    struct Case {
        const char *typed;
        int column, viewpoints;
        bool zeroWithMarks;
        const char *after;
    } cases[] = {
        {"3bbab", 3, 4, false, "3 BBABCC"},
        {"3BBXB", 3, 4, false, "3 BBCBCC"},  // a refused mark keeps the stored
                                             // one
        {"6BBAB", 3, 4, false, "2 BBABCC"},  // a refused rating too
        {"0BBAB", 3, 4, false, "2 BBABCC"},  // term: 0 with marks is refused
        {"0BBAB", 3, 4, true, "0 BBABCC"},   // register keeps it
        {"0", 3, 4, false, "0 CCCCCC"},      // alone, 0 counts in both
        {"0", 3, 4, true, "0 CCCCCC"},
        {"6", 3, 4, false, "2 CCCCCC"},
        {"", 3, 4, false, "_ CCCCCC"},
        {"3BB", 3, 4, false, "3 BBCCCC"},      // marks not typed keep their values
        {"5AABAAB", 3, 4, false, "5 AABACC"},  // beyond the subject's viewpoints: ignored
        {"BB", 7, 4, false, "2 BBCCCC"},       // from 観① whatever the column
        {"b", 5, 4, false, "2 CBCCCC"},
        {"D", 5, 4, false, "2 CCCCCC"},
        {"", 6, 4, false, "2 CC_CCC"},
        {"ABABAB", 4, 4, false, "2 ABABCC"},
        {"ａ", 4, 4, false, "2 CCCCCC"},   // a full-width letter is no mark
        {"3AB", 3, 0, false, "3 CCCCCC"},  // no viewpoints: the rating only
        {"A", 4, 0, false, "2 CCCCCC"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        SCOPED_TRACE(c.column);
        EXPECT_EQ(After(QString::fromUtf8(c.typed), c.column, c.viewpoints, c.zeroWithMarks), c.after);
    }
}

TEST(HyoteiEntry, ARatingCharacterThatIsNoDigitChangesNothing) {
    for (const char *typed : {"X", "XBBAB", "-", "３", "３BBAB", " 3"}) {
        SCOPED_TRACE(typed);
        try {
            ParseHyoteiEntry(QString::fromUtf8(typed), 3, {4, false});
            ADD_FAILURE() << "no error";
        } catch (const ConvertError &e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + QString::fromUtf8(typed).left(1).toStdString() + "' は整数ではありません");
        }
    }
}

TEST(HyoteiEntry, RatingsDisagreeingWithTheSumOfTheirMarks) {
    struct Case {
        const char *rating;
        const char *marks;  // one letter per viewpoint, '_' empty
        bool red;
    } cases[] = {
        {"5", "AABA", false}, {"5", "ABBA", true},   {"3", "AAAA", true},   {"3", "CCCC", true},
        {"3", "BBBB", false}, {"1", "CCCCB", false}, {"1", "CCCBB", true},  {"2", "BBBC", false},
        {"2", "BBBB", true},  {"4", "BBBA", false},  {"4", "BBBB", true},   {"4", "ABBBB", false},
        {"4", "BBBBB", true}, {"5", "AAABA", false}, {"5", "ABBBA", true},  {"3", "CCCCCC", false},
        {"3", "CCCCC", true}, {"3", "AAAAA", true},  {"3", "AABBB", false}, {"2", "BBBBC", false},
        {"2", "BBBBB", true}, {"1", "A", false},     {"1", "AB", false},    {"1", "AAA", true},
        {"5", "AA_A", false},                                               // an empty mark is never red
        {"0", "CCCC", false}, {"", "CCCC", false},   {"10", "AAAA", true},  // the first character counts
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.rating) + " " + c.marks);
        std::array<QString, 6> marks;
        const int n = static_cast<int>(std::string(c.marks).size());
        for (int i = 0; i < n; ++i)
            marks[static_cast<std::size_t>(i)] = c.marks[i] == '_' ? QString() : QString(QChar(c.marks[i]));
        EXPECT_EQ(RatingDisagrees(c.rating, marks, n), c.red);
    }
    EXPECT_FALSE(RatingDisagrees("3", {}, 0));
}

TEST(HyoteiEntry, CellTextsOfStoredValues) {
    EXPECT_EQ(RatingCellText(0), "0");
    EXPECT_EQ(RatingCellText(5), "5");
    EXPECT_EQ(RatingCellText(10), "10");
    EXPECT_EQ(RatingCellText(11), "");
    EXPECT_EQ(RatingCellText(255), "");
    EXPECT_EQ(MarkCellText('A'), "A");
    EXPECT_EQ(MarkCellText('C'), "C");
    EXPECT_EQ(MarkCellText('a'), "");
    EXPECT_EQ(MarkCellText('D'), "");
    EXPECT_EQ(MarkCellText(255), "");
}

}  // namespace
}  // namespace dorv
