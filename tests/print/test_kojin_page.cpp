// The individual result sheet's text on a recording canvas, and where its
// charts and the student's bands go.
#include "print/pages/kojin_page.h"

#include "print/layer/recording_canvas.h"
#include "print/stats/calc_test.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dorv {
namespace {

constexpr std::uint8_t X = 255;

// A grade of one class: 1-1 山田 80 70 90 60 50 | 音楽 - 美術 absent 保体 7
// 技家 100; 1-2 佐藤 without 社会; 1-3 free. Nobody has 音楽.
struct Grade {
    std::unique_ptr<TNameData> names = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores = std::make_unique<TSotenData>();
    std::unique_ptr<TCalcTest> calc = std::make_unique<TCalcTest>();

    explicit Grade(std::uint8_t kind) {
        for (auto &row : scores->Score)
            for (auto &v : row) v = X;
        names->Names[1] = "山田　太郎　　";
        names->Names[2] = "佐藤　花子　　";
        const std::uint8_t a[] = {80, 70, 90, 60, 50, X, X, 7, 100};
        const std::uint8_t b[] = {85, X, 61, 60, 60, X, 40, 90, 30};
        for (int j = 0; j < 9; ++j) {
            scores->Score[1][j] = a[j];
            scores->Score[2][j] = b[j];
        }
        calc->Compute(1, *names, *scores);
        calc->CalcGrade = 3;
        calc->CalcTestId = {kind, 2};
    }
    TKojinSource Source() const {
        return {*calc, *names, *scores, "２学期中間", "ノルベ市立中学校", "学習指導部", "令和08"};
    }
};

// (x, y) -> text of every text drawn.
std::map<std::pair<int, int>, std::string> Texts(const print::TRecordingCanvas &canvas) {
    std::map<std::pair<int, int>, std::string> out;
    for (const auto &op : canvas.Texts()) out[{op.X, op.Y}] = op.Text;
    return out;
}

TEST(IndividualSheet, RegularTestText) {
    Grade grade(0);
    print::TRecordingCanvas canvas;
    PrintKojinText(canvas, grade.Source(), 1, 1);
    const std::map<std::pair<int, int>, std::string> expected = {
        {{200, 40}, "令和08年度２学期中間テスト個人結果"},
        {{360, 85}, "ノルベ市立中学校  3年1組1番　山田　太郎　　"},
        {{100, 120}, "　　　　国語　社会　数学　理科　英語　音楽　美術　保体　技家　５計　５平均"},
        {{100, 150}, "素点"},
        {{100, 180}, "平均"},
        {{165, 150}, " 80"},
        {{215, 150}, " 70"},
        {{265, 150}, " 90"},
        {{315, 150}, " 60"},
        {{365, 150}, " 50"},
        {{515, 150}, "  7"},
        {{565, 150}, "100"},  // 音楽 none, 美術 absent
        // Means: 82.5 -> 83, 70, 75.5 -> 76, 60, 55; 美術 40, 保体 48.5 -> 49, 技家 65.
        {{170, 180}, "83"},
        {{220, 180}, "70"},
        {{270, 180}, "76"},
        {{320, 180}, "60"},
        {{370, 180}, "55"},
        {{470, 180}, "40"},
        {{520, 180}, "49"},
        {{570, 180}, "65"},
        {{606, 150}, "350"},
        {{661, 150}, "70"},
        {{606, 180}, "350"},
        {{661, 180}, "70"},  // only 山田 has a complete total
        {{600, 1160}, "※１９点以下はまとめてあります"},
        {{600, 1200}, "ノルベ市立中学校学習指導部"},
    };
    EXPECT_EQ(Texts(canvas), expected);

    const std::map<std::pair<int, int>, double> sizes = {
        {{200, 40}, 4}, {{360, 85}, 3}, {{100, 120}, 2}, {{600, 1200}, 2}};
    for (const auto &op : canvas.Texts()) {
        EXPECT_DOUBLE_EQ(op.ScaleX, 1400.0 / 297);
        EXPECT_DOUBLE_EQ(op.ScaleY, 1100.0 / 209);
        EXPECT_EQ(op.Font.Colour, print::kBlack);
        if (auto it = sizes.find({op.X, op.Y}); it != sizes.end()) {
            EXPECT_EQ(op.Font.Size, it->second) << op.Text;
        }
    }
    EXPECT_EQ(canvas.UnitScaleX(), 1);  // the charts of the next sheet go to device pixels
}

TEST(IndividualSheet, ProficiencyTestAndAStudentWithoutTotal) {
    Grade grade(1);
    // The grade's totals as in a larger grade: 8461 over 20 students.
    grade.calc->GradeSum5 = 8461;
    grade.calc->GradeCnt5 = 20;
    print::TRecordingCanvas canvas;
    PrintKojinText(canvas, grade.Source(), 1, 2);
    const auto texts = Texts(canvas);
    for (int j = 5; j < 9; ++j) {
        EXPECT_FALSE(texts.count({165 + 50 * j, 150})) << j;  // no other subjects on a proficiency sheet
        EXPECT_FALSE(texts.count({170 + 50 * j, 180})) << j;
    }
    EXPECT_FALSE(texts.count({215, 150}));  // no 社会 score
    EXPECT_FALSE(texts.count({606, 150}));  // and so no total
    EXPECT_FALSE(texts.count({661, 150}));
    EXPECT_EQ(texts.at({606, 180}), "423");
    EXPECT_EQ(texts.at({661, 180}), "84.6");
    EXPECT_EQ(texts.at({360, 85}), "ノルベ市立中学校  3年1組2番　佐藤　花子　　");
}

TEST(IndividualSheet, FreeSlotAndAGradeWithoutTotals) {
    Grade grade(0);
    print::TRecordingCanvas canvas;
    PrintKojinText(canvas, grade.Source(), 1, 3);
    PrintKojinText(canvas, grade.Source(), 0, 1);
    EXPECT_TRUE(canvas.Ops().empty());

    grade.calc->GradeCnt5 = 0;
    PrintKojinText(canvas, grade.Source(), 1, 1);
    const auto texts = Texts(canvas);
    EXPECT_FALSE(texts.count({606, 180}));
    EXPECT_FALSE(texts.count({661, 180}));
    EXPECT_EQ(texts.at({606, 150}), "350");
}

TEST(IndividualSheet, ChartsAndBands) {
    const std::vector<std::pair<int, print::TRect>> rects = {
        {0, {500, 1100, 1900, 2200}},  {1, {500, 2200, 1900, 3300}},  {4, {500, 5500, 1900, 6600}},
        {5, {2500, 1100, 3900, 2200}}, {8, {2500, 4400, 3900, 5500}},
    };
    for (const auto &[j, rect] : rects) EXPECT_EQ(KojinChartRect(j), rect) << j;

    Grade grade(0);
    for (int j = 0; j < 9; ++j) EXPECT_EQ(KojinPrintsChart(*grade.calc, j), j != 5) << j;  // nobody has 音楽
    EXPECT_FALSE(KojinPrintsChart(*grade.calc, 9));

    struct Case {
        std::uint8_t score;
        int band;
    };
    for (const Case c : {Case{100, 9}, Case{99, 9}, Case{90, 9}, Case{89, 8}, Case{15, 1}, Case{10, 1}, Case{9, 0},
                         Case{0, 0}, Case{101, -1}, Case{255, -1}}) {
        grade.scores->Score[3][0] = c.score;
        EXPECT_EQ(KojinBand(*grade.scores, 3, 0), c.band) << int(c.score);
    }
}

}  // namespace
}  // namespace dorv
