// The frequency view: the bars of every chart after a test selection, the
// charts hidden for a proficiency test, the title, the overlay of the
// student's band, and the same chart drawn into a printer rectangle.
#include "modal.h"
#include "recording_services.h"
#include "test_env.h"

#include "print/stats/calc_test.h"
#include "print/views/DorvPrintDispDosu.h"
#include "print/views/dosu_chart.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::RecordingServices;
using testing::RunModal;

constexpr std::uint8_t M = 255;  // no score

std::vector<TDosuBar> Bands(std::vector<int> lengths) {
    std::vector<TDosuBar> bars;
    for (int b = 0; b < 10; ++b) bars.push_back({10 * b + 5, lengths[b]});
    return bars;
}

std::string Describe(const std::vector<TDosuBar> &bars) {
    std::string s;
    for (const TDosuBar &b : bars) s += std::to_string(b.Position) + ":" + std::to_string(b.Length) + " ";
    return s.empty() ? "(empty)" : s;
}

// What the Qt series holds for a chart: the categories and the two sets.
struct QtBars {
    QStringList categories;
    std::vector<double> front, back;
};

QtBars QtSide(const TDosuChart &chart) {
    QtBars q;
    q.categories = chart.leftAxis()->categories();
    for (int i = 0; i < chart.frontSet()->count(); ++i) q.front.push_back(chart.frontSet()->at(i));
    for (int i = 0; i < chart.backSet()->count(); ++i) q.back.push_back(chart.backSet()->at(i));
    return q;
}

struct Student {
    int cls, number;
    std::vector<std::uint8_t> scores;  // subjects 0..8
};

class DispDosu : public ::testing::Test {
protected:
    void SetUp() override {
        CurCalcTest = new TCalcTest;
        CurTeikiTestName = new TTeikiTestName;
        CurJitsuTestName = new TJitsuTestName;
        CurTeikiTestName->TestName[2][4] = "期末";
        CurJitsuTestName->TestName[1][2] = "第2回実力";
        SelectedGrade = 2;
        SelectedTest = 4;
        TestId = {0, 4};
    }
    void TearDown() override {
        delete CurCalcTest;
        delete CurTeikiTestName;
        delete CurJitsuTestName;
        CurCalcTest = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        TestId = {};
    }

    // What a test selection leaves: the statistics of these students.
    void Select(int kind, int grade, int test, const std::vector<Student> &students) {
        SelectedGrade = static_cast<std::uint8_t>(grade);
        SelectedTest = static_cast<std::uint8_t>(test);
        TestId = {static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(test)};
        auto names = std::make_unique<TNameData>();
        auto scores = std::make_unique<TSotenData>();
        for (int r = 1; r <= 420; ++r)
            for (int j = 0; j < 12; ++j) scores->Score[r][j] = M;
        for (const Student &s : students) {
            const int slot = SlotOf(s.cls, s.number);
            names->Names[slot] = "生徒" + std::to_string(slot);
            names->Sex[slot] = 0;
            for (int j = 0; j < 9; ++j) scores->Score[slot][j] = s.scores[j];
        }
        CurCalcTest->Compute(3, *names, *scores);
    }

    RecordingServices services;
    TfrmDispDosu form;
};

TEST_F(DispDosu, BarsOfEveryChartAfterATestSelection) {
    struct Case {
        const char *what;
        int kind;
        std::vector<Student> students;
        // Series 0 of each subject 0..8; {} for an empty chart.
        std::vector<std::vector<int>> bands;
        const char *title;
    };
    const std::vector<Case> cases = {
        {"regular test with scores in 国語 and 数学 only",
         0,
         {{1, 1, {100, M, 0, M, M, M, M, M, M}},
          {1, 2, {95, M, 15, M, M, M, M, M, M}},
          {2, 1, {7, M, 55, M, M, M, M, M, M}},
          {3, 42, {M, M, 19, M, M, M, M, M, M}}},
         {{1, 0, 0, 0, 0, 0, 0, 0, 0, 2}, {}, {1, 2, 0, 0, 0, 1, 0, 0, 0, 0}, {}, {}, {}, {}, {}, {}},
         "2年期末テスト　度数分布"},
        {"regular test with every subject",
         0,
         {{1, 1, {50, 60, 70, 80, 90, 100, 10, 20, 30}}, {2, 3, {59, 61, 79, 80, 99, 9, 10, 29, 30}}},
         {{0, 0, 0, 0, 0, 2, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 2, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 2, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 2, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
          {1, 0, 0, 0, 0, 0, 0, 0, 0, 1},
          {0, 2, 0, 0, 0, 0, 0, 0, 0, 0},
          {0, 0, 2, 0, 0, 0, 0, 0, 0, 0},
          {0, 0, 0, 2, 0, 0, 0, 0, 0, 0}},
         "2年期末テスト　度数分布"},
        {"proficiency test of five subjects",
         1,
         {{1, 1, {40, 41, 42, 43, 100, M, M, M, M}}, {1, 5, {0, 99, M, 43, 100, M, M, M, M}}},
         {{1, 0, 0, 0, 1, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
          {0, 0, 0, 0, 1, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 2, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
          {},
          {},
          {},
          {}},
         "1年第2回実力テスト　度数分布"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Select(c.kind, c.kind == 0 ? 2 : 1, c.kind == 0 ? 4 : 2, c.students);
        const auto run = RunModal(form, [&] {
            EXPECT_EQ(form.lblTitle->text().toStdString(), c.title);
            for (int j = 0; j < 9; ++j) {
                const TDosuChart &chart = *form.chart(j);
                const auto expected = c.bands[j].empty() ? std::vector<TDosuBar>{} : Bands(c.bands[j]);
                EXPECT_EQ(Describe(chart.bars(0)), Describe(expected)) << "subject " << j;
                EXPECT_TRUE(chart.bars(1).empty()) << "subject " << j;
                // The chart draws what it holds: one category per band,
                // nothing at the student's base.
                const QtBars q = QtSide(chart);
                ASSERT_EQ(q.categories.size(), static_cast<qsizetype>(expected.size())) << "subject " << j;
                for (std::size_t b = 0; b < expected.size(); ++b) {
                    EXPECT_EQ(q.categories[b].toInt(), expected[b].Position);
                    EXPECT_EQ(q.back[b], expected[b].Length);
                    EXPECT_EQ(q.front[b], 0);
                }
            }
        });
        EXPECT_TRUE(run.wasOpen);
        EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
    }
}

TEST_F(DispDosu, ProficiencyTestHidesTheFourLastChartsUntilARegularTest) {
    const std::vector<Student> students = {{1, 1, {50, 50, 50, 50, 50, 50, 50, 50, 50}}};
    const struct {
        int kind;
        bool lastFourVisible;
    } steps[] = {{0, true}, {1, false}, {1, false}, {0, true}};
    for (const auto &step : steps) {
        Select(step.kind, 1, 2, students);
        RunModal(form, [&] {
            for (int j = 0; j < 9; ++j)
                EXPECT_EQ(form.chart(j)->isVisible(), j < 5 || step.lastFourVisible)
                    << "kind " << step.kind << " subject " << j;
        });
    }
}

TEST_F(DispDosu, OpeningEmptiesWhatTheIndividualSheetAdded) {
    Select(0, 2, 4, {{1, 1, {75, 75, 75, 75, 75, 75, 75, 75, 75}}});
    form.FillCharts();
    for (int j = 0; j < 9; ++j)
        for (int b = 0; b < 10; ++b) form.chart(j)->addBar(1, 10 * b + 5, b == 7 ? 1 : 0);
    RunModal(form, [&] {
        for (int j = 0; j < 9; ++j) {
            EXPECT_TRUE(form.chart(j)->bars(1).empty());
            for (double v : QtSide(*form.chart(j)).front) EXPECT_EQ(v, 0);
        }
    });
}

// What a chart draws, as the print draws it.
QImage Drawing(const TDosuChart &chart) {
    QImage image(2 * TDosuChart::kWidth, 2 * TDosuChart::kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.Paint(painter, QRectF(image.rect()));
    return image;
}

// A subject without scores after the individual sheet has marked a band in
// every chart, and after a test with scores in it: shown again, its chart is
// as empty as one that never had bars, without the band labels or lines it
// had.
TEST_F(DispDosu, AChartWithoutScoresStaysEmptyAfterBarsItHad) {
    std::vector<std::uint8_t> noScience = {75, 75, 75, M, 75, 75, 75, 75, 75};
    std::vector<std::uint8_t> all = {75, 75, 75, 75, 75, 75, 75, 75, 75};
    const struct {
        const char *what;
        std::vector<std::uint8_t> before;
        bool sheetBars;
    } cases[] = {
        {"the individual sheet's bands", noScience, true},
        {"a test with 理科 scores before", all, false},
    };
    TDosuChart fresh("理科");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Select(0, 2, 4, {{1, 1, c.before}});
        form.FillCharts();
        if (c.sheetBars)
            for (int b = 0; b < 10; ++b) form.chart(3)->addBar(1, 10 * b + 5, 0);
        ASSERT_FALSE(QtSide(*form.chart(3)).categories.isEmpty());
        Select(0, 2, 4, {{1, 1, noScience}});
        RunModal(form, [&] { EXPECT_TRUE(Drawing(*form.chart(3)) == Drawing(fresh)); });
    }
}

// Series 1 lies over series 0: the student's band shows at the base in its
// own set, the grade's bar only beyond it.
TEST(DosuChart, StudentBandLaysOverTheGradeBars) {
    const struct {
        std::vector<int> grade, student;
        std::vector<double> front, back;
    } cases[] = {
        {{4, 6, 0}, {0, 6, 0}, {0, 6, 0}, {4, 0, 0}},
        {{4, 6, 0}, {}, {0, 0, 0}, {4, 6, 0}},
        {{4, 6, 0}, {0, 2, 0}, {0, 2, 0}, {4, 4, 0}},
        // Longer than the grade's bar: the student's bar alone.
        {{1, 0, 3}, {0, 0, 5}, {0, 0, 5}, {1, 0, 0}},
    };
    for (const auto &c : cases) {
        TDosuChart chart("国語");
        for (std::size_t i = 0; i < c.grade.size(); ++i) chart.addBar(0, 10 * static_cast<int>(i) + 5, c.grade[i]);
        for (std::size_t i = 0; i < c.student.size(); ++i) chart.addBar(1, 10 * static_cast<int>(i) + 5, c.student[i]);
        const QtBars q = QtSide(chart);
        EXPECT_EQ(q.categories, (QStringList{"5", "15", "25"}));
        EXPECT_EQ(q.front, c.front);
        EXPECT_EQ(q.back, c.back);
        // The bottom axis reaches the longest bar.
        EXPECT_GE(chart.bottomAxis()->max(), *std::max_element(c.grade.begin(), c.grade.end()));
    }
}

// The print draws the chart's own scene: the grade's blue and the
// student's navy come out inside the printer rectangle only.
TEST(DosuChart, DrawsIntoAPrinterRectangleWithBothSeries) {
    TDosuChart chart("数学");
    for (int b = 0; b < 10; ++b) chart.addBar(0, 10 * b + 5, b + 1);
    chart.addBar(1, 95, 10);
    QImage page(3000, 2000, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        chart.Paint(painter, QRectF(500, 400, 1400, 1100));
    }
    int blue = 0, navy = 0, outside = 0;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2) {
            const QColor c = page.pixelColor(x, y);
            const bool inRect = x >= 500 && x < 1900 && y >= 400 && y < 1500;
            if (c != QColor(Qt::white) && !inRect) ++outside;
            if (c == QColor(0, 128, 255)) ++blue;
            if (c == QColor(0, 0, 64)) ++navy;
        }
    EXPECT_GT(blue, 100);
    EXPECT_GT(navy, 100);
    EXPECT_EQ(outside, 0);
}

// The sample school through the program's own computation: every chart
// holds the grade's bands of the selected test. With DORV_VIEW_SCREENSHOT
// set, the view of the regular test is saved there as PNG.
TEST(DispDosuSample, ChartsHoldTheGradeBandsOfTheSampleSchool) {
    RecordingServices services;
    const fs::path school = testing::MakeSampleSchool("dorv-disp-dosu-school");
    WorkDrive = school.string();
    CurCalcTest = new TCalcTest;
    CurKurasuSuData = new TKurasuSuData;
    CurNameData = new TNameData;
    CurSotenData = new TSotenData;
    CurTeikiTestName = new TTeikiTestName;
    CurJitsuTestName = new TJitsuTestName;
    CurTeikiTestName->LoadTestNames();
    CurJitsuTestName->LoadTestNames();
    TfrmDispDosu form;
    const struct {
        int kind, grade, test;
        int charts;
    } cases[] = {{0, 2, 1, 9}, {1, 1, 1, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind));
        SelectedGrade = static_cast<std::uint8_t>(c.grade);
        SelectedTest = static_cast<std::uint8_t>(c.test);
        TestId = {static_cast<std::uint8_t>(c.kind), static_cast<std::uint8_t>(c.test)};
        CurCalcTest->Calculate();
        const TTestNameSet &names =
            c.kind ? static_cast<TTestNameSet &>(*CurJitsuTestName) : static_cast<TTestNameSet &>(*CurTeikiTestName);
        ASSERT_FALSE(names.TestName[c.grade][c.test].empty());
        RunModal(form, [&] {
            EXPECT_EQ(form.lblTitle->text().toStdString(),
                      std::to_string(c.grade) + "年" + names.TestName[c.grade][c.test] + "テスト　度数分布");
            int visible = 0, filled = 0;
            for (int j = 0; j < 9; ++j) {
                visible += form.chart(j)->isVisible();
                std::vector<TDosuBar> expected;
                if (CurCalcTest->GradeCount[j] > 0) {
                    ++filled;
                    for (int b = 0; b < 10; ++b) expected.push_back({10 * b + 5, CurCalcTest->GradeBin[j][b]});
                }
                EXPECT_EQ(Describe(form.chart(j)->bars(0)), Describe(expected)) << "subject " << j;
            }
            EXPECT_EQ(visible, c.charts);
            EXPECT_GE(filled, 5);
            if (const char *path = std::getenv("DORV_VIEW_SCREENSHOT"); path && *path && c.kind == 0) {
                EXPECT_TRUE(form.grab().save(path));
            }
        });
        EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
    }
    delete CurCalcTest;
    delete CurKurasuSuData;
    delete CurNameData;
    delete CurSotenData;
    delete CurTeikiTestName;
    delete CurJitsuTestName;
    CurCalcTest = nullptr;
    CurKurasuSuData = nullptr;
    CurNameData = nullptr;
    CurSotenData = nullptr;
    CurTeikiTestName = nullptr;
    CurJitsuTestName = nullptr;
    TestId = {};
    fs::remove_all(school);
}

}  // namespace
}  // namespace dorv
