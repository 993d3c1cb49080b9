// The school-report form driven as a teacher drives it on a small school:
// the grid, what Enter stores or refuses, the mark counts and the mean,
// display mode, what the save writes (read back through our reader and
// python3-xlrd), the term dialog's preselection, and the failures.
#include "hyotei_form_fixture.h"

#include "modal.h"

#include "input/DorvInputNaishin.h"
#include "input/DorvSelectNaishin.h"

#include "dialogs/DorvInputWait.h"
#include "records_cells.h"
#include "schooldata/globals.h"
#include "schooldata/naishin_data.h"

#include <QBarSet>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::Opening;
using testing::RatingSchool;
using testing::ReaderCells;
using testing::SheetSpec;
using testing::WriteXls;
using testing::XlrdCells;

// Grade 2 term 2: 国語 marks 3, 4, 5 for slots 1, 2, 4; 数学 (the teacher's
// subject) 2 for slot 2 and 4 for slot 44.
class NaishinForm : public ::testing::Test {
protected:
    void SetUp() override {
        WriteXls(school.naishin(), {{"Data",
                                     {{"A1", "番号"},
                                      {"B1", "国語"},
                                      {"B2", "3"},
                                      {"B3", "4"},
                                      {"B5", "5"},
                                      {"D3", "2"},
                                      {"D45", "4"},
                                      {"J2", "1"}}}});
    }

    Opening open(const std::function<void()> &steps) {
        return testing::OpenWith(
            form, *school.selectNaishin, [&] { testing::ChooseNaishin(*school.selectNaishin); }, steps);
    }
    void type(const QString &text) { testing::TypeAndEnter(*form.edtInputNaishin, text); }
    QString cell(int col, int row) const { return form.sgrInputNaishin->cell(col, row); }
    std::vector<int> bars() const {
        std::vector<int> out;
        for (int i = 0; i < form.chartBars->count(); ++i) out.push_back(static_cast<int>(form.chartBars->at(i)));
        return out;
    }

    RatingSchool school;
    TfrmDorvInputNaishin form;
};

TEST_F(NaishinForm, GridCountsAndMeanOfTheTeachersColumn) {
    const Opening o = open([&] {
        StringGrid &g = *form.sgrInputNaishin;
        EXPECT_EQ(form.windowTitle(), "frmDorvInputNaishin");
        EXPECT_EQ(form.lblTestName->text(), "2年  ２学期内申");
        EXPECT_EQ(g.rowCount(), 85);
        EXPECT_EQ(g.colCount(), 12);
        const QStringList headings = {"番号", "名前", "性別", "国語", "社会", "数学",
                                      "理科", "英語", "音楽", "美術", "保体", "技家"};
        for (int c = 0; c < 12; ++c) EXPECT_EQ(g.cell(c, 0), headings[c]);
        EXPECT_EQ(cell(0, 1), " 101");
        EXPECT_EQ(cell(3, 1), "   3");
        EXPECT_EQ(cell(5, 1), "");
        EXPECT_EQ(g.col(), 5);
        EXPECT_EQ(form.lblKyoka->text(), "数学");
        EXPECT_EQ(bars(), (std::vector<int>{0, 1, 0, 1, 0}));
        EXPECT_EQ(form.lblMean->text(), "平均　3.00");

        g.setCurrentCell(8, 1);  // entry mode keeps the teacher's column
        EXPECT_EQ(g.col(), 5);
        type("3");
        type("5");
        EXPECT_EQ(g.row(), 3);
        EXPECT_EQ(cell(5, 1), "   3");
        EXPECT_EQ(cell(5, 2), "   5");
        EXPECT_EQ(bars(), (std::vector<int>{0, 0, 1, 1, 1}));
        EXPECT_EQ(form.lblMean->text(), "平均　4.00");
        type("4");  // no student in slot 3: ignored
        EXPECT_EQ(g.row(), 4);
        EXPECT_EQ(CurNaishinData->Modified[3], 0);
        EXPECT_EQ(CurNaishinData->Mark[3][2], 255);
        type("0");
        EXPECT_EQ(bars(), (std::vector<int>{0, 0, 1, 1, 1}));  // 0 counts for the mean only
        EXPECT_EQ(form.lblMean->text(), "平均　3.00");
    });
    ASSERT_TRUE(o.opened);
}

TEST_F(NaishinForm, AFullGradeIsCountedWithoutOverflow) {
    school.setClassCounts(3, 10, 1);
    SheetSpec roster{"Data", {{"A1", "番号"}, {"B1", "氏名"}, {"C1", "性別"}}};
    SheetSpec marks{"Data", {{"A1", "番号"}}};
    for (int slot = 1; slot <= 420; ++slot) {
        const std::string row = std::to_string(slot + 1);
        roster.cells.push_back({"B" + row, "生徒" + std::to_string(slot)});
        roster.cells.push_back({"C" + row, slot % 2 ? "男" : "女"});
        marks.cells.push_back({"D" + row, slot <= 300 ? "5" : "4"});
    }
    WriteXls(school.folder.Grade(RatingSchool::kGrade, "名簿.xls"), {roster});
    WriteXls(school.naishin(), {marks});
    const Opening o = open([&] {
        EXPECT_EQ(form.sgrInputNaishin->rowCount(), 421);
        EXPECT_EQ(cell(0, 420), " 1042");
        EXPECT_EQ(bars(), (std::vector<int>{0, 0, 0, 120, 300}));
        EXPECT_EQ(form.lblMean->text(), "平均　4.71");  // 1980 / 420 = 4.714...
    });
    ASSERT_TRUE(o.opened);
}

TEST_F(NaishinForm, RefusedMarksBeepAndKeepTheStoredMark) {
    const Opening o = open([&] {
        StringGrid &g = *form.sgrInputNaishin;
        g.setRow(2);
        struct Case {
            const char *typed;
            int beeps;
            int errors;
        } cases[] = {{"6", 1, 0}, {"-1", 1, 0}, {"-251", 1, 0}, {"x", 0, 1}, {"2.5", 0, 1}};
        for (const Case &c : cases) {
            SCOPED_TRACE(c.typed);
            school.boxes.beeps = 0;
            school.boxes.errors.clear();
            type(c.typed);
            EXPECT_EQ(school.boxes.beeps, c.beeps);
            EXPECT_EQ(school.boxes.errors.size(), c.errors);
            EXPECT_EQ(g.row(), 2);
            EXPECT_EQ(cell(5, 2), "   2");
            EXPECT_EQ(CurNaishinData->Mark[2][2], 2);
            EXPECT_EQ(CurNaishinData->Modified[2], 0);
            if (c.beeps) {
                EXPECT_EQ(form.edtInputNaishin->text(), "");
            }
        }
        EXPECT_EQ(school.boxes.errors.value(0), "'2.5' は整数ではありません.");
        type("");  // emptied
        EXPECT_EQ(cell(5, 2), "");
        EXPECT_EQ(CurNaishinData->Mark[2][2], 255);
        EXPECT_EQ(CurNaishinData->Modified[2], 1);
        g.setRow(44);
        type("5");
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap cells = XlrdCells(school.naishin());
    EXPECT_EQ(cells.count("Data!D3"), 0u);
    EXPECT_EQ(cells.at("Data!D45"), "5");
}

TEST_F(NaishinForm, DisplayModeBrowsesEverySubjectAndTheSaveKeepsToTheTeachersColumn) {
    const CellMap before = XlrdCells(school.naishin());
    const Opening o = open([&] {
        StringGrid &g = *form.sgrInputNaishin;
        g.setRow(1);
        type("4");
        form.cbxDisp->click();
        EXPECT_FALSE(form.edtInputNaishin->isEnabled());
        EXPECT_FALSE(form.btnEnter->isEnabled());
        g.setCurrentCell(3, 4);
        EXPECT_EQ(g.col(), 3);
        EXPECT_EQ(form.lblKyoka->text(), "国語");
        EXPECT_EQ(form.edtInputNaishin->text(), "5");
        EXPECT_EQ(bars(), (std::vector<int>{0, 0, 1, 1, 1}));
        EXPECT_EQ(form.lblMean->text(), "平均　4.00");
        form.btnEnter->click();  // disabled: nothing happens
        QTest::keyClick(form.edtInputNaishin, Qt::Key_Return);
        EXPECT_EQ(CurNaishinData->Mark[4][0], 5);
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap after = XlrdCells(school.naishin());
    EXPECT_EQ(Changes(before, after), (CellMap{{"Data!D2", " => 4"}}));
    EXPECT_EQ(ReaderCells(school.naishin()), after);

    // Opens again in display mode; clearing it brings back the teacher's column.
    const Opening again = open([&] {
        EXPECT_TRUE(form.cbxDisp->isChecked());
        EXPECT_FALSE(form.edtInputNaishin->isEnabled());
        form.sgrInputNaishin->setCurrentCell(4, 2);
        EXPECT_EQ(form.sgrInputNaishin->col(), 4);
        form.cbxDisp->click();
        EXPECT_TRUE(form.edtInputNaishin->isEnabled());
        EXPECT_EQ(form.sgrInputNaishin->col(), 5);
        EXPECT_EQ(form.lblKyoka->text(), "数学");
    });
    ASSERT_TRUE(again.opened);
    EXPECT_TRUE(school.boxes.errors.isEmpty());
}

TEST_F(NaishinForm, TechnologyTeachersEnterTechAndHome) {
    for (int kyoka : {9, 10}) {
        SCOPED_TRACE(kyoka);
        school.setTeacher(kyoka);
        const CellMap before = XlrdCells(school.naishin());
        const Opening o = open([&] {
            EXPECT_EQ(form.sgrInputNaishin->col(), 11);
            EXPECT_EQ(form.lblKyoka->text(), "技家");
            form.sgrInputNaishin->setRow(4);
            type(QString::number(kyoka - 6));
            form.btnClose->click();
        });
        ASSERT_TRUE(o.opened);
        const CellMap changes = Changes(before, XlrdCells(school.naishin()));
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes.begin()->first, "Data!J5");
    }
}

TEST_F(NaishinForm, TheDialogPreselectsTheTermOfTheMonthAndTheHomeroomGrade) {
    TfrmSelectNaishin &dialog = *school.selectNaishin;
    struct Case {
        int month;
        int homeroom;
        int col, row;
    } cases[] = {{3, 0, 0, 3}, {5, 2, 1, 1}, {10, 3, 2, 2}, {8, 0, 2, 2}, {1, 1, 0, 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.month);
        school.boxes.date = QDate(2026, c.month, 10);
        school.teachers.Teacher[1].TeacherClass[0].Grade = static_cast<std::uint8_t>(c.homeroom);
        const testing::ModalRun run = testing::RunModal(dialog, [&] {
            EXPECT_EQ(dialog.grid->col(), c.col);
            EXPECT_EQ(dialog.grid->row(), c.row);
            EXPECT_EQ(dialog.grid->cell(c.col, 2), "２学期内申");
            dialog.btnOK->click();
        });
        EXPECT_TRUE(run.wasOpen);
        EXPECT_EQ(SelectedGrade, c.col + 1);
        EXPECT_EQ(SelectedTerm, c.row);
    }
    EXPECT_EQ(dialog.windowTitle(), "frmSelectNaishin");
    EXPECT_EQ(dialog.grid->cell(1, 0), "２年");
}

TEST_F(NaishinForm, FailuresOfOpeningAndSaving) {
    struct Case {
        const char *what;
        std::function<void()> spoil;
        QString error;
    } cases[] = {
        {"no classes", [&] { school.setClassCounts(3, 0, 1); },
         "2年の学級数が 0 です。KurasuSu.xls に 1 から 10 までの学級数を入れてください."},
        {"no workbook", [&] { std::filesystem::rename(school.naishin(), school.naishin().string() + ".away"); }, ""},
        {"no subject", [&] { school.setTeacher(11); }, "この教科の内申は入力できません."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        school.boxes.errors.clear();
        testing::ExpectRefusedOpening(open([] {}), form, school.boxes, c.error);
        EXPECT_EQ(CurNaishinData, nullptr);
        school.setClassCounts(3, 2, 1);
        school.setTeacher(2);
        if (std::filesystem::exists(school.naishin().string() + ".away"))
            std::filesystem::rename(school.naishin().string() + ".away", school.naishin());
    }

    school.boxes.errors.clear();
    const Opening o = open([&] {
        form.sgrInputNaishin->setRow(1);
        type("5");
        const std::filesystem::path held = school.naishin().string() + ".away";
        std::filesystem::rename(school.naishin(), held);
        form.btnClose->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(school.boxes.errors.size(), 1);
        EXPECT_FALSE(frmWait->isVisible());
        EXPECT_EQ(CurNaishinData->Modified[1], 1);
        std::filesystem::rename(held, school.naishin());
        testing::WindowManagerClose(form);
        EXPECT_TRUE(form.isVisible());
        form.btnClose->click();
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(XlrdCells(school.naishin()).at("Data!D2"), "5");
}

}  // namespace
}  // namespace dorv
