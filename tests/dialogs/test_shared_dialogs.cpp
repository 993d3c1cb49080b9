#include "modal.h"
#include "recording_services.h"

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "dialogs/DorvVersion.h"
#include "dialogs/selection_rules.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace dorv {
namespace {

using testing::RecordingServices;
using testing::RunModal;

// The shared state the dialogs read: a staff list whose teacher 1 has the
// given homeroom grade, test names, and the selection globals at their
// start values.
class SelectionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        teachers = std::make_unique<TTeachers>();
        teachers->Teacher[1].StaffNo = "1001";
        teachers->Teacher[1].TeacherName = "山田太郎";
        teachers->Teacher[1].Kyoka = 0;
        CurTeachers = teachers.get();
        TeacherIndex = 1;
        teiki = std::make_unique<TTeikiTestName>();
        jitsu = std::make_unique<TJitsuTestName>();
        for (int g = 1; g <= 3; ++g)
            for (int t = 1; t <= 5; ++t) {
                teiki->TestName[g][t] = std::to_string(g) + "年定期" + std::to_string(t);
                jitsu->TestName[g][t] = std::to_string(g) + "年実力" + std::to_string(t);
            }
        CurTeikiTestName = teiki.get();
        CurJitsuTestName = jitsu.get();
        SelectedGrade = 1;
        SelectedTest = 1;
        SelectedTerm = 1;
        TestId = {0, 1};
    }
    void TearDown() override {
        CurTeachers = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        TeacherIndex = 0;
    }
    void setHomeroom(int grade) { teachers->Teacher[1].TeacherClass[0].Grade = static_cast<std::uint8_t>(grade); }

    RecordingServices services;
    std::unique_ptr<TTeachers> teachers;
    std::unique_ptr<TTeikiTestName> teiki;
    std::unique_ptr<TJitsuTestName> jitsu;
};

using SelectDialogs = SelectionFixture;

TEST_F(SelectDialogs, TestAndTermFollowTheMonth) {
    // Before each showing the cell is put on (column 0, row 3 / row 2) so a
    // month that changes nothing shows as that row.
    struct Case {
        int month;
        int teikiRow;
        int termRow;
    };
    const Case cases[] = {
        {1, 3, 3}, {2, 5, 3}, {3, 5, 3}, {4, 3, 1},  {5, 1, 1},  {6, 2, 1},
        {7, 2, 1}, {8, 3, 2}, {9, 3, 2}, {10, 3, 2}, {11, 4, 2}, {12, 4, 2},
    };
    TfrmSelectTeiki teikiDialog;
    TfrmSelectHyotei termDialog;
    TfrmSelectJitsu jitsuDialog;
    for (const Case &c : cases) {
        services.date = QDate(2026, c.month, 15);
        teikiDialog.sgrTeikiTestName->setCurrentCell(0, 3);
        RunModal(teikiDialog, [&] { teikiDialog.btnOK->click(); });
        EXPECT_EQ(SelectedTest, c.teikiRow) << "month " << c.month;
        EXPECT_EQ(TestId.TestNo, c.teikiRow) << "month " << c.month;

        termDialog.sgrHyoteiName->setCurrentCell(0, 2);
        RunModal(termDialog, [&] { termDialog.btnOK->click(); });
        EXPECT_EQ(SelectedTerm, c.termRow) << "month " << c.month;

        // The proficiency dialog has no month rule at all.
        jitsuDialog.sgrJitsuTestName->setCurrentCell(0, 4);
        RunModal(jitsuDialog, [&] { jitsuDialog.btnOK->click(); });
        EXPECT_EQ(SelectedTest, 4) << "month " << c.month;
    }
}

TEST_F(SelectDialogs, HomeroomGradeIsPreselected) {
    struct Case {
        int homeroom;
        int expectedColumn;  // -1: the column of the previous closing
        int expectedItem;    // -1: the previous item
    };
    // 4 and 9 are staff-list typos: treated as no homeroom.
    const Case cases[] = {{2, 1, 1}, {3, 2, 2}, {1, 0, 0}, {0, -1, -1}, {4, -1, -1}, {9, -1, -1}};
    for (const Case &c : cases) {
        setHomeroom(c.homeroom);
        services.date = QDate(2026, 8, 1);  // no month rule
        TfrmSelectTeiki teikiDialog;
        TfrmSelectHyotei termDialog;
        TfrmSelectGakunen gradeDialog;
        RunModal(teikiDialog, [&] {
            EXPECT_EQ(teikiDialog.sgrTeikiTestName->col(), c.expectedColumn < 0 ? 0 : c.expectedColumn)
                << "homeroom " << c.homeroom;
            EXPECT_EQ(teikiDialog.sgrTeikiTestName->row(), 1);
            teikiDialog.sgrTeikiTestName->setCol(2);
            teikiDialog.btnOK->click();
        });
        // The second showing keeps the column of the last closing unless
        // the homeroom decides.
        RunModal(teikiDialog, [&] {
            EXPECT_EQ(teikiDialog.sgrTeikiTestName->col(), c.expectedColumn < 0 ? 2 : c.expectedColumn);
            teikiDialog.btnOK->click();
        });
        RunModal(termDialog, [&] {
            EXPECT_EQ(termDialog.sgrHyoteiName->col(), c.expectedColumn < 0 ? 0 : c.expectedColumn);
            termDialog.btnOK->click();
        });
        RunModal(gradeDialog, [&] {
            EXPECT_EQ(gradeDialog.rgrGakunen->itemIndex(), c.expectedItem) << "homeroom " << c.homeroom;
            gradeDialog.rgrGakunen->button(0)->click();
            gradeDialog.btnOK->click();
        });
    }
}

TEST_F(SelectDialogs, HomeroomOfAStaffRecordOutsideTheListCountsAsNone) {
    setHomeroom(2);
    TeacherIndex = 200;
    EXPECT_EQ(HomeroomGrade(), 0);
    TeacherIndex = 1;
    EXPECT_EQ(HomeroomGrade(), 2);
    CurTeachers = nullptr;
    EXPECT_EQ(HomeroomGrade(), 0);
}

TEST_F(SelectDialogs, OkWritesTheSelectionOfEachDialog) {
    services.date = QDate(2026, 8, 1);
    TfrmSelectTeiki teikiDialog;
    RunModal(teikiDialog, [&] {
        EXPECT_EQ(teikiDialog.sgrTeikiTestName->cell(1, 0), "２年");
        EXPECT_EQ(teikiDialog.sgrTeikiTestName->cell(1, 3), "2年定期3");
        teikiDialog.sgrTeikiTestName->setCurrentCell(1, 3);
        teikiDialog.btnOK->click();
    });
    EXPECT_EQ(SelectedGrade, 2);
    EXPECT_EQ(SelectedTest, 3);
    EXPECT_EQ(TestId.TestKind, 0);
    EXPECT_EQ(TestId.TestNo, 3);
    SelectedTerm = 2;

    TfrmSelectJitsu jitsuDialog;
    RunModal(jitsuDialog, [&] {
        EXPECT_EQ(jitsuDialog.sgrJitsuTestName->cell(2, 5), "3年実力5");
        jitsuDialog.sgrJitsuTestName->setCurrentCell(1, 3);
        jitsuDialog.btnOK->click();
    });
    EXPECT_EQ(SelectedGrade, 2);
    EXPECT_EQ(SelectedTest, 3);
    EXPECT_EQ(TestId.TestKind, 1);
    EXPECT_EQ(TestId.TestNo, 3);
    EXPECT_EQ(SelectedTerm, 2);  // not a test dialog's business

    TfrmSelectHyotei termDialog;
    RunModal(termDialog, [&] {
        EXPECT_EQ(termDialog.sgrHyoteiName->cell(2, 3), "３学期評定");
        termDialog.sgrHyoteiName->setCurrentCell(2, 3);
        termDialog.btnOK->click();
    });
    EXPECT_EQ(SelectedGrade, 3);
    EXPECT_EQ(SelectedTerm, 3);
    EXPECT_EQ(SelectedTest, 3);
    EXPECT_EQ(TestId.TestKind, 1);
}

TEST_F(SelectDialogs, GradeDialogWaitsForAChoiceAndTermDialogClosedFromTitleBarWritesNothing) {
    // A teacher without a homeroom at the first showing: no item chosen.
    TfrmSelectGakunen gradeDialog;
    SelectedGrade = 2;
    const auto run = RunModal(gradeDialog, [&] {
        EXPECT_EQ(gradeDialog.rgrGakunen->itemIndex(), -1);
        gradeDialog.btnOK->click();
        EXPECT_TRUE(gradeDialog.isVisible());  // still waiting for a grade
        gradeDialog.rgrGakunen->button(2)->click();
        gradeDialog.btnOK->click();
    });
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(SelectedGrade, 3);

    // The globals start on valid values, so a caller that goes on after the
    // title-bar close still has a grade and a term.
    TfrmSelectHyotei termDialog;
    SelectedGrade = 1;
    SelectedTerm = 1;
    services.date = QDate(2026, 1, 10);
    RunModal(termDialog, [&] {
        termDialog.sgrHyoteiName->setCurrentCell(2, 2);
        testing::WindowManagerClose(termDialog);
    });
    EXPECT_FALSE(termDialog.isVisible());
    EXPECT_EQ(SelectedGrade, 1);
    EXPECT_EQ(SelectedTerm, 1);

    // The dialogs without a close box ignore the window manager's close.
    TfrmSelectTeiki teikiDialog;
    const auto stays = RunModal(teikiDialog, [&] { testing::WindowManagerClose(teikiDialog); });
    EXPECT_TRUE(stays.leftOpen);
}

TEST_F(SelectDialogs, EnterAndEscapeDoNotCloseADialogWithoutCancelButton) {
    TfrmSelectTeiki teikiDialog;
    SelectedTest = 1;
    services.date = QDate(2026, 6, 1);
    const auto run = RunModal(teikiDialog, [&] {
        QTest::keyClick(&teikiDialog, Qt::Key_Return);
        QTest::keyClick(&teikiDialog, Qt::Key_Enter);
        QTest::keyClick(&teikiDialog, Qt::Key_Escape);
        EXPECT_FALSE(teikiDialog.btnOK->autoDefault());
        EXPECT_FALSE(teikiDialog.btnOK->isDefault());
    });
    EXPECT_TRUE(run.wasOpen);
    EXPECT_TRUE(run.leftOpen);
    EXPECT_EQ(SelectedTest, 1);
}

TEST(VersionBox, ShowsTheProgramsVersionTexts) {
    TfrmVersion box;
    const auto run = RunModal(box, [&] {
        EXPECT_EQ(box.windowTitle(), "バージョン情報");
        EXPECT_EQ(box.findChild<QLabel *>("lblTitle")->text(), "成績処理Dorv Ver.1.12");
        EXPECT_EQ(box.findChild<QLabel *>("lblDiscription")->text(), "ノルベ市教育情報ネットワーク対応");
        EXPECT_FALSE(box.findChild<QLabel *>("Image1")->pixmap().isNull());
        auto *close = box.findChild<QPushButton *>("btnClose");
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->text(), "閉じる");
        close->click();
    });
    EXPECT_TRUE(run.wasOpen);
    EXPECT_FALSE(run.leftOpen);
}

TEST(BusyWindow, IsHiddenWhenTheWorkRaises) {
    TfrmWait wait;
    EXPECT_THROW(
        {
            BusyScope busy(&wait);
            EXPECT_TRUE(wait.isVisible());
            EXPECT_EQ(wait.prbWait->value(), 0);
            busy.progress(33);
            EXPECT_EQ(wait.prbWait->value(), 33);
            throw std::runtime_error("load failed");
        },
        std::runtime_error);
    EXPECT_FALSE(wait.isVisible());
    EXPECT_EQ(wait.lblWait->text(), "しばらくお待ちください");
    EXPECT_TRUE(wait.windowFlags() & Qt::WindowStaysOnTopHint);
}

// A wait for another program's file names the file on the busy window:
// beside a form's own busy window, or in one shown for the wait alone.
TEST(BusyWindow, NamesTheFileAWaitIsFor) {
    TfrmWait wait;
    const int height = wait.height();
    {
        WaitNotice notice("/mnt/j/Dorv/2年/１学期期末テスト.xls");
        EXPECT_TRUE(wait.isVisible());
        EXPECT_TRUE(wait.lblWaitFor->isVisible());
        EXPECT_EQ(wait.lblWaitFor->text(), "１学期期末テスト.xls が空くのを待っています");
        EXPECT_EQ(wait.lblWaitFor->toolTip(), "/mnt/j/Dorv/2年/１学期期末テスト.xls");
        EXPECT_GT(wait.height(), height);
        EXPECT_TRUE(wait.rect().contains(wait.lblWaitFor->geometry()));
    }
    EXPECT_FALSE(wait.isVisible());
    EXPECT_FALSE(wait.lblWaitFor->isVisible());
    EXPECT_EQ(wait.height(), height);

    {
        BusyScope busy(&wait);
        {
            WaitNotice notice("/data/" + std::string(60, 'x') + ".xls");
            const QString line = wait.lblWaitFor->text();
            EXPECT_TRUE(line.contains(QStringLiteral("…")));
            EXPECT_LE(wait.lblWaitFor->fontMetrics().horizontalAdvance(line), wait.lblWaitFor->width());
        }
        EXPECT_TRUE(wait.isVisible());  // the form's busy window stays until its work ends
        EXPECT_FALSE(wait.lblWaitFor->isVisible());
    }
    EXPECT_FALSE(wait.isVisible());
}

}  // namespace
}  // namespace dorv
