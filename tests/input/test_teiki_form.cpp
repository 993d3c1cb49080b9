// The regular-test form driven as a teacher drives it, on a small school:
// what the grid shows, what Enter stores, what the save writes (read back
// through our reader and python3-xlrd), the averages and the chart, and the
// failures of opening and saving.
#include "soten_form_fixture.h"

#include "modal.h"

#include "input/DorvInputTeiki.h"
#include "input/dosu_chart.h"

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectTeiki.h"
#include "records_cells.h"
#include "schooldata/globals.h"
#include "schooldata/soten_data.h"

#include <QBarSet>
#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::Opening;
using testing::ReaderCells;
using testing::SotenSchool;
using testing::Stamp;
using testing::TypeAndEnter;
using testing::WriteXls;
using testing::XlrdCells;

constexpr TTestId kRegular{0, SotenSchool::kTest};

// Grade 2 with two classes: class 1 has students in slots 1, 2, 4, 5 and 6
// (slot 3 is empty), class 2 in slots 43 and 44. Other teachers' columns
// hold texts that load leniently ("欠", "72.5"), and a second sheet.
class TeikiForm : public ::testing::Test {
protected:
    void SetUp() override {
        school.setRoster({{1, "青木一郎", "男"},
                          {2, "井上花子", "女"},
                          {4, "上田健", "男"},
                          {5, "江藤由美", "女"},
                          {6, "大野翔", "男"},
                          {43, "加藤愛", "女"},
                          {44, "木村拓", "男"}});
        WriteXls(school.regular(), {{"Data",
                                     {{"A1", "番号"},
                                      {"B1", "国語"},
                                      {"D1", "数学"},
                                      {"A2", "101"},
                                      {"B2", "70"},
                                      {"C2", "欠"},
                                      {"D2", "55"},
                                      {"E2", "72.5"},
                                      {"I2", "64"},
                                      {"J2", "70"},
                                      {"K2", "30"},
                                      {"L2", "40"},
                                      {"D3", "60"},
                                      {"I3", "81"},
                                      {"K3", "45"},
                                      {"D5", "90"},
                                      {"J5", "50"},
                                      {"L5", "50"},
                                      {"D44", "40"}},
                                     {{"E2", "72.5"}}},
                                    {"Memo", {{"A1", "採点者"}, {"N2", "99"}}}});  // beyond the score columns
    }

    Opening open(const std::function<void()> &steps) { return testing::OpenForm(form, *school.selectTeiki, steps); }
    QString cell(int col, int row) const { return form.sgrInput->cell(col, row); }

    SotenSchool school;
    TfrmDorvInputTeiki form;
};

TEST_F(TeikiForm, GridShowsEveryClassSlotWithPaddedScores) {
    school.setClassCounts(1, 3, 1);
    school.setTeacher(2);  // 数学
    const Opening o = open([&] {
        StringGrid &g = *form.sgrInput;
        EXPECT_EQ(form.windowTitle(), "Dorv成績処理－定期テストの素点の入力");
        EXPECT_EQ(form.lblTestName->text(), "2年  １学期期末テスト");
        EXPECT_EQ(g.rowCount(), 127);
        EXPECT_EQ(g.colCount(), 14);
        EXPECT_EQ(g.fixedCols(), 3);
        const QStringList headings = {"番号", "名前", "性別", "国語", "社会", "数学", "理科",
                                      "英語", "音楽", "美術", "保体", "技家", "技術", "家庭"};
        for (int c = 0; c < 14; ++c) EXPECT_EQ(g.cell(c, 0), headings[c]) << c;
        const int widths[] = {28, 90, 28, 26};
        for (int c = 0; c < 4; ++c) EXPECT_EQ(g.colWidth(c), widths[c]) << c;
        EXPECT_EQ(g.colWidth(13), 26);

        struct Row {
            int row;
            const char *number, *name, *sex, *kokugo, *shakai, *sugaku, *rika;
        } rows[] = {
            {1, " 101", "青木一郎", "男子", "  70", "   0", "  55", "  72"},  // "欠" and "72.5" as loaded
            {3, " 103", "", "", "", "", "", ""},
            {43, " 201", "加藤愛", "女子", "", "", "  40", ""},
            {44, " 202", "木村拓", "男子", "", "", "", ""},
            {85, " 301", "", "", "", "", "", ""},
            {126, " 342", "", "", "", "", "", ""},
        };
        for (const Row &r : rows) {
            SCOPED_TRACE(r.row);
            EXPECT_EQ(g.cell(0, r.row), r.number);
            EXPECT_EQ(g.cell(1, r.row), r.name);
            EXPECT_EQ(g.cell(2, r.row), r.sex);
            EXPECT_EQ(g.cell(3, r.row), r.kokugo);
            EXPECT_EQ(g.cell(4, r.row), r.shakai);
            EXPECT_EQ(g.cell(5, r.row), r.sugaku);
            EXPECT_EQ(g.cell(6, r.row), r.rika);
        }
        EXPECT_EQ(g.cell(11, 1), "  70");
        EXPECT_EQ(g.cell(12, 1), "  30");
        EXPECT_EQ(g.cell(13, 1), "  40");

        // The panel mirrors the current cell; the column is always his.
        EXPECT_EQ(g.col(), 5);
        EXPECT_EQ(g.row(), 1);
        EXPECT_EQ(form.lblID->text(), " 101");
        EXPECT_EQ(form.lblName->text(), "青木一郎");
        EXPECT_EQ(form.lblKyoka->text(), "数学");
        EXPECT_EQ(form.edtInput->text(), "55");
        g.setCurrentCell(8, 43);
        EXPECT_EQ(g.col(), 5);
        EXPECT_EQ(form.lblID->text(), " 201");
        EXPECT_EQ(form.edtInput->text(), "40");
        EXPECT_FALSE(frmWait->isVisible());
    });
    EXPECT_TRUE(o.opened);
}

TEST_F(TeikiForm, SaveWritesExactlyHisTypedColumnAndKeepsAColleaguesSave) {
    school.setTeacher(2);  // 数学
    CellMap readerBefore, xlrdBefore;
    const Opening o = open([&] {
        TypeAndEnter(form, "100");  // row 1
        EXPECT_EQ(cell(5, 1), " 100");
        TypeAndEnter(form, "085");  // row 2: shown as typed, stored as 85
        EXPECT_EQ(cell(5, 2), " 085");
        EXPECT_EQ(CurSotenData->Score[2][2], 85);
        EXPECT_EQ(form.sgrInput->row(), 3);
        TypeAndEnter(form, "50");  // row 3 has no student: only moves down
        EXPECT_EQ(cell(5, 3), "");
        EXPECT_EQ(CurSotenData->Score[3][2], 255);
        EXPECT_EQ(CurSotenData->Modified[3], 0);
        EXPECT_EQ(form.edtInput->text(), "90");  // row 4 mirrored
        TypeAndEnter(form, "");                  // row 4: emptied, no score
        EXPECT_EQ(CurSotenData->Score[4][2], 255);
        form.edtInput->setText("0");  // row 5, through the button
        form.btnEnter->click();
        EXPECT_EQ(cell(5, 5), "   0");
        EXPECT_EQ(form.sgrInput->row(), 6);
        form.sgrInput->setRow(43);
        TypeAndEnter(form, "77");

        // A 国語 colleague saves the same workbook meanwhile.
        TSotenData colleague;
        colleague.LoadTest(kRegular, 2);
        colleague.Score[1][0] = 88;
        colleague.Score[43][0] = 66;
        colleague.Modified[1] = colleague.Modified[43] = 1;
        colleague.SaveTestColumn(kRegular, 2, 0);
        readerBefore = ReaderCells(school.regular());
        xlrdBefore = XlrdCells(school.regular());

        form.btnClose->click();
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_TRUE(school.boxes.errors.isEmpty()) << school.boxes.errors.join("|").toStdString();
    EXPECT_FALSE(frmWait->isVisible());

    const CellMap mine = {{"Data!D2", "55 => 100"},
                          {"Data!D3", "60 => 85"},
                          {"Data!D5", "90 => "},
                          {"Data!D6", " => 0"},
                          {"Data!D44", "40 => 77"}};
    const CellMap readerAfter = ReaderCells(school.regular());
    const CellMap xlrdAfter = XlrdCells(school.regular());
    EXPECT_EQ(Changes(readerBefore, readerAfter), mine);
    EXPECT_EQ(Changes(xlrdBefore, xlrdAfter), mine);
    EXPECT_EQ(xlrdAfter.at("Data!B2"), "88");  // the colleague's save survives
    EXPECT_EQ(xlrdAfter.at("Data!B44"), "66");
    EXPECT_EQ(xlrdAfter.at("Data!C2"), "欠");  // other columns as they were
    EXPECT_EQ(xlrdAfter.at("Data!E2"), "72.5");
    EXPECT_EQ(xlrdAfter.at("Memo!N2"), "99");
    EXPECT_EQ(CurSotenData, nullptr);  // freed with the form
}

TEST_F(TeikiForm, RefusedEntriesBeepOrNameTheTextAndLeaveValueCellAndFile) {
    school.setTeacher(2);
    const auto before = Stamp(school.regular());
    struct Case {
        const char *typed;
        bool beeps;  // otherwise the conversion error
    } cases[] = {{"101", true}, {"255", true}, {"-1", true}, {"-50", true}, {"abc", false}, {"7.5", false}};
    const Opening o = open([&] {
        int beeps = 0;
        for (const Case &c : cases) {
            SCOPED_TRACE(c.typed);
            school.boxes.errors.clear();
            TypeAndEnter(form, c.typed);
            EXPECT_EQ(form.sgrInput->row(), 1);  // the cursor stays
            EXPECT_EQ(cell(5, 1), "  55");       // the stored value shows again
            EXPECT_EQ(CurSotenData->Score[1][2], 55);
            EXPECT_EQ(CurSotenData->Modified[1], 0);
            EXPECT_EQ(form.lblMeans->text(), "学級平均：68.3");  // 55, 60, 90
            if (c.beeps) {
                EXPECT_EQ(school.boxes.beeps, ++beeps);
                EXPECT_EQ(form.edtInput->text(), "");
                EXPECT_TRUE(school.boxes.errors.isEmpty());
            } else {
                EXPECT_EQ(school.boxes.beeps, beeps);
                EXPECT_EQ(school.boxes.errors, QStringList{"'" + QString(c.typed) + "' は整数ではありません."});
            }
        }
        form.btnClose->click();  // nothing was stored: nothing to write
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(Stamp(school.regular()).bytes, before.bytes);
}

TEST_F(TeikiForm, TechHomeShowsTheSumAndIsNotWritten) {
    school.setTeacher(9);  // 技術
    CellMap before;
    const Opening o = open([&] {
        before = XlrdCells(school.regular());
        EXPECT_EQ(form.sgrInput->col(), 12);
        struct Step {
            int row;
            const char *typed;
            const char *sumCell;
            int sumValue;
        } steps[] = {
            {1, "35", "75", 75},                      // 家庭 holds 40
            {2, "30", "30", 30},                      // 家庭 empty counts as 0
            {4, "60", "110", 110},                    // above 100: shown, held as no score
            {5, "20", "20", 20},   {2, "", "", 255},  // both empty: no sum
        };
        for (const Step &s : steps) {
            SCOPED_TRACE(s.row);
            form.sgrInput->setRow(s.row);
            TypeAndEnter(form, s.typed);
            EXPECT_EQ(cell(11, s.row), s.sumCell);
            EXPECT_EQ(CurSotenData->Score[s.row][8], s.sumValue);
        }
        form.sgrInput->setRow(1);
        EXPECT_EQ(form.edtInput->text(), "35");
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap mine = {{"Data!K2", "30 => 35"}, {"Data!K3", "45 => "}, {"Data!K5", " => 60"}, {"Data!K6", " => 20"}};
    EXPECT_EQ(Changes(before, XlrdCells(school.regular())), mine);
}

TEST_F(TeikiForm, AveragesAndChartFollowTheCurrentRow) {
    // Class 1: twenty students whose 数学 scores make 61.05; class 2: 0 and 1.
    std::vector<testing::Student> roster;
    const int scores[20] = {100, 0, 95, 85, 75, 65, 55, 45, 35, 25, 15, 5, 80, 80, 80, 80, 80, 80, 80, 61};
    std::vector<std::pair<std::string, std::string>> cells;
    for (int n = 1; n <= 20; ++n) {
        roster.push_back({n, "生徒" + std::to_string(n), n % 2 ? "男" : "女"});
        cells.push_back({"D" + std::to_string(n + 1), std::to_string(scores[n - 1])});
    }
    roster.push_back({43, "加藤愛", "女"});
    roster.push_back({44, "木村拓", "男"});
    roster.push_back({45, "工藤蓮", "男"});
    cells.push_back({"D44", "0"});
    cells.push_back({"D45", "1"});
    cells.push_back({"D46", "101"});  // no score: in no mean and no band
    school.setRoster(roster);
    WriteXls(school.regular(), {{"Data", cells}});
    school.setClassCounts(1, 3, 1);
    school.setTeacher(2);

    const Opening o = open([&] {
        EXPECT_EQ(form.lblMeans->text(), "学級平均：61.1");
        EXPECT_EQ(form.lblGMean->text(), "学年平均：55.5");    // 1222 / 22 = 55.545...
        const int bands[10] = {4, 1, 1, 1, 1, 1, 2, 1, 8, 2};  // 0, 5, 0, 1 | ... | 95 and 100 share the top band
        DosuChart &chart = *form.chtDosu;
        ASSERT_EQ(chart.barCount(), 10);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(chart.barPosition(i), 10 * i + 5) << i;
            EXPECT_EQ(chart.barLength(i), bands[i]) << i;
        }
        EXPECT_EQ(chart.barSet()->color(), QColor(0, 128, 255));
        EXPECT_EQ(chart.chart()->title(), "度数分布");
        EXPECT_FALSE(chart.chart()->legend()->isVisible());

        form.sgrInput->setRow(43);
        EXPECT_EQ(form.lblMeans->text(), "学級平均：.5");
        form.sgrInput->setRow(85);
        EXPECT_EQ(form.lblMeans->text(), "学級平均：");  // class 3 has no score

        // An entry counts once the cursor has moved on.
        form.sgrInput->setRow(43);
        TypeAndEnter(form, "100");
        EXPECT_EQ(form.sgrInput->row(), 44);
        EXPECT_EQ(form.lblMeans->text(), "学級平均：50.5");
        EXPECT_EQ(chart.barLength(9), 3);
        EXPECT_EQ(chart.barLength(0), 3);
        form.btnNoSave->click();
    });
    EXPECT_TRUE(o.opened);
}

TEST_F(TeikiForm, SpinButtonsAndArrowKeysMoveOnlyTheRow) {
    school.setTeacher(2);
    const Opening o = open([&] {
        StringGrid &g = *form.sgrInput;
        form.sbtInputUp->click();
        EXPECT_EQ(g.row(), 1);
        form.sbtInputDown->click();
        EXPECT_EQ(g.row(), 2);
        QTest::keyClick(form.edtInput, Qt::Key_Down);
        EXPECT_EQ(g.row(), 3);
        QTest::keyClick(form.edtInput, Qt::Key_Up);
        EXPECT_EQ(g.row(), 2);
        EXPECT_EQ(form.edtInput->text(), "60");
        g.setRow(g.rowCount() - 1);
        form.sbtInputDown->click();
        EXPECT_EQ(g.row(), 84);
        EXPECT_EQ(g.col(), 5);
        form.btnNoSave->click();
    });
    EXPECT_TRUE(o.opened);
}

TEST_F(TeikiForm, LastRowKeepsTheCursorAfterEnter) {
    school.setRoster({{1, "青木一郎", "男"}, {84, "最後一人", "女"}});
    school.setTeacher(2);
    const Opening o = open([&] {
        form.sgrInput->setRow(84);
        TypeAndEnter(form, "64");
        EXPECT_EQ(form.sgrInput->row(), 84);
        EXPECT_EQ(CurSotenData->Score[84][2], 64);
        EXPECT_EQ(CurSotenData->Modified[84], 1);
        EXPECT_EQ(form.edtInput->text(), "64");
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(XlrdCells(school.regular()).at("Data!D85"), "64");
}

TEST_F(TeikiForm, ReopeningKeepsTheRowInsideTheNewGrade) {
    school.setTeacher(2);
    EXPECT_TRUE(open([&] { form.sgrInput->setRow(80); }).opened);
    school.setClassCounts(3, 1, 1);
    const Opening o = open([&] {
        EXPECT_EQ(form.sgrInput->rowCount(), 43);
        EXPECT_EQ(form.sgrInput->row(), 42);
        EXPECT_EQ(form.sgrInput->col(), 5);
        EXPECT_EQ(form.lblID->text(), " 142");
    });
    EXPECT_TRUE(o.opened);
}

TEST_F(TeikiForm, LeavingWithoutSavingWritesNothing) {
    school.setTeacher(2);
    const auto before = Stamp(school.regular());
    struct Case {
        const char *how;
        std::function<void(TfrmDorvInputTeiki &)> leave;
    } cases[] = {
        {"保存しないで終了", [](TfrmDorvInputTeiki &f) { f.btnNoSave->click(); }},
        {"Escape", [](TfrmDorvInputTeiki &f) { QTest::keyClick(f.edtInput, Qt::Key_Escape); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        const Opening o = open([&] {
            TypeAndEnter(form, "12");
            TypeAndEnter(form, "34");
            c.leave(form);
            EXPECT_FALSE(form.isVisible());
        });
        EXPECT_TRUE(o.opened);
        EXPECT_EQ(Stamp(school.regular()), before);
        EXPECT_EQ(CurSotenData, nullptr);
    }
}

TEST_F(TeikiForm, WindowManagerCloseIsIgnored) {
    school.setTeacher(2);
    const Opening o = open([&] {
        TypeAndEnter(form, "12");
        testing::WindowManagerClose(form);
        EXPECT_TRUE(form.isVisible());
        ASSERT_NE(CurSotenData, nullptr);
        EXPECT_EQ(CurSotenData->Modified[1], 1);
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(XlrdCells(school.regular()).at("Data!D2"), "12");
}

TEST_F(TeikiForm, FailedOpeningShowsTheErrorAndTheFormStaysShut) {
    school.setTeacher(2);
    struct Case {
        const char *what;
        std::function<void()> spoil;
        QString error;
    } cases[] = {
        {"no classes", [&] { school.setClassCounts(3, 0, 1); },
         "2年の学級数が 0 です。KurasuSu.xls に 1 から 10 までの学級数を入れてください."},
        {"no score workbook", [&] { std::filesystem::remove(school.regular()); }, ""},
        {"no subject of this test", [&] { school.setTeacher(11); }, "この教科の素点は入力できません."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        school.setClassCounts(3, 2, 1);
        school.setTeacher(2);
        c.spoil();
        school.boxes.errors.clear();
        testing::ExpectRefusedOpening(open([] {}), form, school.boxes, c.error);
        EXPECT_EQ(CurSotenData, nullptr);
        EXPECT_EQ(CurNameData, nullptr);
    }
}

TEST_F(TeikiForm, FailedSaveKeepsTheFormAndItsEntriesForAnotherTry) {
    school.setTeacher(2);
    const Opening o = open([&] {
        TypeAndEnter(form, "42");
        const std::filesystem::path held = school.regular().string() + ".away";
        std::filesystem::rename(school.regular(), held);
        form.btnClose->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(school.boxes.errors.size(), 1);
        EXPECT_FALSE(frmWait->isVisible());
        ASSERT_NE(CurSotenData, nullptr);
        EXPECT_EQ(CurSotenData->Modified[1], 1);
        EXPECT_EQ(cell(5, 1), "  42");

        std::filesystem::rename(held, school.regular());
        form.btnClose->click();
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(school.boxes.errors.size(), 1);
    EXPECT_EQ(XlrdCells(school.regular()).at("Data!D2"), "42");
}

TEST_F(TeikiForm, PhysEdTintsBoysAndGirlsAndEveryFifthStudentIsUnderlined) {
    struct Case {
        int kyoka;
        QColor boys, girls;
    } cases[] = {{7, QColor(224, 224, 255), QColor(255, 224, 224)}, {2, Qt::white, Qt::white}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kyoka);
        school.setTeacher(c.kyoka);
        const Opening o = open([&] {
            form.sgrInput->setRow(6);
            const int other = 9;                                            // 美術: empty cells, not his column
            EXPECT_EQ(testing::GridPixel(form, other, 1, 20, 8), c.boys);   // 青木一郎 男
            EXPECT_EQ(testing::GridPixel(form, other, 2, 20, 8), c.girls);  // 井上花子 女
            EXPECT_EQ(testing::GridPixel(form, other, 3, 20, 8), QColor(Qt::white));  // no student
            // Student 105 is underlined on the grid line below its cell;
            // 104 is not.
            const QRect r5 = form.sgrInput->cellRect(other, 5);
            EXPECT_EQ(testing::GridPixel(form, other, 5, 4, r5.height()), QColor(Qt::black));
            const QColor under4 = testing::GridPixel(form, other, 4, 4, r5.height());
            EXPECT_NE(under4, QColor(Qt::black));
            form.btnNoSave->click();
        });
        EXPECT_TRUE(o.opened);
    }
}

}  // namespace
}  // namespace dorv
