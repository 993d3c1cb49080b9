// The individual result sheet's text on a recording canvas, beside the
// layout tests: the five-subject figures of the student and of the grade
// for the values that round, widen or vanish, and the all-students loop of
// a grade of two classes giving one page per student in order.
#include "print/pages/kojin_page.h"

#include "print/layer/recording_canvas.h"
#include "print/pages/sheet_loop.h"
#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dorv {
namespace {

constexpr std::uint8_t X = 255;  // no score

struct Grade {
    std::unique_ptr<TNameData> names = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores = std::make_unique<TSotenData>();
    std::unique_ptr<TCalcTest> calc = std::make_unique<TCalcTest>();

    Grade() {
        for (auto &row : scores->Score)
            for (auto &v : row) v = X;
    }
    void Student(int c, int n, const std::string &name, std::vector<std::uint8_t> s) {
        names->Names[SlotOf(c, n)] = name;
        for (std::size_t j = 0; j < s.size(); ++j) scores->Score[SlotOf(c, n)][j] = s[j];
    }
    void Compute(std::uint8_t classes) {
        calc->Compute(classes, *names, *scores);
        calc->CalcGrade = 2;
        calc->CalcTestId = {0, 4};
    }
    TKojinSource Source() const {
        return {*calc, *names, *scores, "２学期期末", "ノルベ市立中学校", "学習指導部", "令和08"};
    }
};

// The texts of one row (y) at the two five-subject places.
std::map<int, std::string> FiveSubjectCells(const print::TRecordingCanvas &canvas, int y) {
    std::map<int, std::string> cells;
    for (const auto &op : canvas.Texts())
        if (op.Y == y && (op.X == 606 || op.X == 661)) cells[op.X] = op.Text;
    return cells;
}

TEST(IndividualSheetText, FiveSubjectFiguresOfTheStudentAndTheGrade) {
    struct Case {
        std::int32_t total;  // the student's
        std::int32_t gradeSum, gradeCount;
        std::map<int, std::string> scoreRow, meanRow;
    } cases[] = {
        // 8461 over 20 students: 423.05 and 84.61.
        {298, 8461, 20, {{606, "298"}, {661, "59.6"}}, {{606, "423"}, {661, "84.6"}}},
        // Whole fifths lose the point; a full mark widens nothing.
        {500, 1600, 4, {{606, "500"}, {661, "100"}}, {{606, "400"}, {661, "80"}}},
        // Halves round away from zero; below 1 there is no leading zero;
        // "%3d" pads a small total with blanks.
        {0, 5, 2, {{606, "  0"}, {661, "0"}}, {{606, "3"}, {661, ".5"}}},
        {2, 1, 1, {{606, "  2"}, {661, ".4"}}, {{606, "1"}, {661, ".2"}}},
        {37, 4575, 10, {{606, " 37"}, {661, "7.4"}}, {{606, "458"}, {661, "91.5"}}},
        // No valid total of the student: nothing in the score row; none in
        // the grade: nothing in the mean row.
        {TCalcTest::kExcluded, 0, 0, {}, {}},
        {501, 610, 2, {}, {{606, "305"}, {661, "61"}}},
    };
    for (const Case &c : cases) {
        Grade g;
        g.Student(1, 1, "山田　太郎", {80, 70, 60, 50, 40});
        g.Compute(1);
        g.calc->Total5[SlotOf(1, 1)] = c.total;
        g.calc->GradeSum5 = c.gradeSum;
        g.calc->GradeCnt5 = c.gradeCount;
        print::TRecordingCanvas canvas;
        PrintKojinText(canvas, g.Source(), 1, 1);
        EXPECT_EQ(FiveSubjectCells(canvas, 150), c.scoreRow) << c.total;
        EXPECT_EQ(FiveSubjectCells(canvas, 180), c.meanRow) << c.gradeSum << "/" << c.gradeCount;
    }
}

TEST(IndividualSheetText, TwoClassesOfThirtyAndThirtyOneGiveSixtyOnePages) {
    Grade g;
    for (int n = 1; n <= 30; ++n) g.Student(1, n, "一組" + std::to_string(n), {50, 50, 50, 50, 50});
    for (int n = 1; n <= 31; ++n) g.Student(2, n, "二組" + std::to_string(n), {60, 60, 60, 60, 60});
    // A third class on the roster lies outside the statistics' two classes.
    g.Student(3, 1, "三組", {70, 70, 70, 70, 70});
    g.Compute(2);
    const TKojinSource source = g.Source();

    print::TRecordingCanvas canvas;
    PrintAllStudents(canvas, *g.names, g.calc->ClassCount, [&](int c, int n) { PrintKojinText(canvas, source, c, n); });
    EXPECT_EQ(canvas.PageCount(), 61);
    EXPECT_EQ(canvas.Ops().back().Page, 61);  // no empty page after the last sheet
    for (int page = 1; page <= 61; ++page) {
        const auto texts = canvas.Texts(page);
        ASSERT_GE(texts.size(), 3u) << page;
        const int c = page <= 30 ? 1 : 2;
        const int n = page <= 30 ? page : page - 30;
        EXPECT_EQ(texts[0].Text, "令和08年度２学期期末テスト個人結果") << page;
        EXPECT_EQ(texts[1].Text, "ノルベ市立中学校  2年" + std::to_string(c) + "組" + std::to_string(n) + "番　" +
                                     (c == 1 ? "一組" : "二組") + std::to_string(n))
            << page;
        EXPECT_EQ(texts.back().Text, "ノルベ市立中学校学習指導部") << page;
    }
    // The grade row is the same on every page: (30 * 250 + 31 * 300) / 61.
    std::vector<std::string> gradeTotals;
    for (const auto &op : canvas.Texts())
        if (op.Y == 180 && op.X == 606) gradeTotals.push_back(op.Text);
    EXPECT_EQ(gradeTotals, std::vector<std::string>(61, "275"));
}

}  // namespace
}  // namespace dorv
