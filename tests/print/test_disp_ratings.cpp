// The report-card and school-register views on the sample school with a
// few cells of student 1 set by hand: the texts of one student in both
// views, fresh viewpoint labels at each opening, the navigation of the spin
// buttons for 3, 1 and 0 classes, and a failed load.
#include "modal.h"
#include "recording_services.h"
#include "test_env.h"

#include "desktop/string_grid.h"
#include "dialogs/DorvInputWait.h"
#include "print/views/DorvDispTutihyo.h"
#include "print/views/DorvDispYouroku.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"

#include <QLabel>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::RecordingServices;
using testing::RunModal;
using testing::ShellQuote;
using testing::TestEnv;

void SetCells(const fs::path &book, const std::vector<std::string> &cells) {
    std::string command = ShellQuote(TestEnv("DORV_BIN_DIR") + "/xls-set") + " " + ShellQuote(book.string());
    for (const std::string &c : cells) command += " " + ShellQuote(c);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class DispRatings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        school = new fs::path(testing::MakeSampleSchool("dorv-disp-ratings-school"));
        const fs::path data = *school / "Dorv" / "Data";
        // Student 1 of grade 2: 国語 3, 社会 empty, 英語 4; 国語's
        // viewpoints A, empty, ..., C in the sixth, which has no label.
        SetCells(data / "２年生" / "３学期評定.xls",
                 {"Data!B2=3", "Data!C2=", "Data!F2=4", "Kokugo!B2=A", "Kokugo!C2=", "Kokugo!G2=C"});
        SetCells(data / "２年生" / "指導要録評定.xls", {"Data!B2=5", "Data!C2=", "Kokugo!B2=B", "Eigo!B2=A"});
        // A sixth label in the register's workbook only.
        SetCells(data / "Kihon" / "YourokuKantenKoumoku.xls", {"Kokugo!A6=六つ目の観点"});
    }
    static void TearDownTestSuite() {
        fs::remove_all(*school);
        delete school;
    }

    void SetUp() override {
        WorkDrive = school->string();
        SelectedGrade = 2;
        SelectedTerm = 3;
        CurKurasuSuData = new TKurasuSuData;
        CurKantenData = new TKantenData;
        CurNameData = new TNameData;
        CurNameData->Grade = 2;
        CurHyoteiData = new THyoteiData;
        frmWait = &wait;
    }
    void TearDown() override {
        frmWait = nullptr;
        delete CurKurasuSuData;
        delete CurKantenData;
        delete CurNameData;
        delete CurHyoteiData;
        CurKurasuSuData = nullptr;
        CurKantenData = nullptr;
        CurNameData = nullptr;
        CurHyoteiData = nullptr;
        ClassCountOfGrade = 0;
    }

    static std::string Cell(const StringGrid *grid, int col, int row) { return grid->cell(col, row).toStdString(); }

    static std::string RosterName(int slot) {
        TNameData names;
        names.Grade = 2;
        names.LoadMeibo(3);
        return names.Names[slot];
    }

    static fs::path *school;
    RecordingServices services;
    TfrmWait wait;
};

fs::path *DispRatings::school = nullptr;

TEST_F(DispRatings, ReportCardShowsTheTermRatingsOfOneStudent) {
    TfrmDispTutihyo view;
    const auto run = RunModal(view, [&] {
        EXPECT_EQ(view.windowTitle().toStdString(), "通知票（評定・観点）");
        EXPECT_EQ(view.lblTitle->text().toStdString(), "２年生３学期評定");
        EXPECT_EQ(view.lblNo->text().toStdString(), "2年1組1番");
        EXPECT_EQ(view.lblName->text().toStdString(), RosterName(1));
        EXPECT_FALSE(view.lblName->text().isEmpty());
        EXPECT_EQ(view.pos(), QPoint(20, 20));
        EXPECT_FALSE(wait.isVisible());

        const char *subjects[] = {"教科", "国語", "社会", "数学", "理科", "音楽", "美術", "保体", "技家", "英語"};
        for (int row = 0; row < 10; ++row) EXPECT_EQ(Cell(view.sgrHyotei, 0, row), subjects[row]) << row;
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 0), "評定");
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 1), "３");
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 2), "");
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 9), "４");

        const StringGrid *kokugo = view.sgrKokugo;
        EXPECT_EQ(Cell(kokugo, 0, 0), "観点項目");
        EXPECT_EQ(Cell(kokugo, 1, 0), "評価");
        EXPECT_EQ(Cell(kokugo, 0, 1), "国語への関心・意欲・態度");
        EXPECT_EQ(Cell(kokugo, 0, 5), "言語についての知識・理解・技能");
        EXPECT_EQ(Cell(kokugo, 1, 1), "Ａ");
        EXPECT_EQ(Cell(kokugo, 1, 2), "");
        // No label, but the mark the workbook holds.
        EXPECT_EQ(Cell(kokugo, 0, 6), "");
        EXPECT_EQ(Cell(kokugo, 1, 6), "Ｃ");
        EXPECT_EQ(kokugo->colWidth(0), 150);
        EXPECT_EQ(kokugo->colWidth(1), 40);
        EXPECT_EQ(view.kantenGrid(4), view.sgrEigo);
        EXPECT_EQ(Cell(view.sgrEigo, 0, 1), "コミュニケーションへの関心・意欲・態度");
    });
    EXPECT_TRUE(run.wasOpen);
    EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
    // The loads stay with the shared objects.
    EXPECT_EQ(ClassCountOfGrade, 3);
    EXPECT_EQ(CurHyoteiData->IsYouroku, 0);
    EXPECT_EQ(CurKantenData->WorkbookName, "KantenKoumoku.xls");
}

TEST_F(DispRatings, RegisterViewShowsTheRegisterWorkbooks) {
    TfrmDispYouroku view;
    RunModal(view, [&] {
        EXPECT_EQ(view.windowTitle().toStdString(), "frmDispYouroku");
        EXPECT_EQ(view.lblTitle->text().toStdString(), "２年生指導要録");
        EXPECT_EQ(view.lblNo->text().toStdString(), "2年1組1番");
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 1), "５");
        EXPECT_EQ(Cell(view.sgrHyotei, 1, 2), "");
        EXPECT_EQ(Cell(view.sgrKokugo, 1, 1), "Ｂ");
        EXPECT_EQ(Cell(view.sgrEigo, 1, 1), "Ａ");
        EXPECT_EQ(Cell(view.sgrKokugo, 0, 1), "知識・技能");
        EXPECT_EQ(Cell(view.sgrKokugo, 0, 6), "六つ目の観点");
    });
    EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
    EXPECT_EQ(CurHyoteiData->IsYouroku, 1);
}

// Both views fill one label object in turn: the report card opened after
// the register shows none of the register's labels.
TEST_F(DispRatings, EachOpeningShowsOnlyItsOwnLabels) {
    TfrmDispYouroku youroku;
    TfrmDispTutihyo tutihyo;
    RunModal(youroku, [&] { EXPECT_EQ(Cell(youroku.sgrKokugo, 0, 6), "六つ目の観点"); });
    RunModal(tutihyo, [&] {
        EXPECT_EQ(Cell(tutihyo.sgrKokugo, 0, 6), "");
        EXPECT_EQ(Cell(tutihyo.sgrKokugo, 0, 1), "国語への関心・意欲・態度");
        EXPECT_EQ(Cell(tutihyo.sgrHyotei, 1, 1), "３");
    });
    RunModal(youroku, [&] { EXPECT_EQ(Cell(youroku.sgrKokugo, 0, 6), "六つ目の観点"); });
    EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
}

TEST_F(DispRatings, SpinButtonsStepThroughTheStudents) {
    struct Press {
        char what;  // n: number, c: class
        char dir;   // + down (次), - up (前)
        int times;
    };
    const struct Case {
        const char *what;
        int classes;
        std::vector<Press> presses;
        int cls, number;
    } cases[] = {
        {"up on the first student stays", 3, {{'n', '-', 1}}, 1, 1},
        {"down within a class", 3, {{'n', '+', 41}}, 1, 42},
        {"down from number 42 goes to the next class", 3, {{'n', '+', 42}}, 2, 1},
        {"up from number 1 goes to number 42 of the class before", 3, {{'c', '+', 1}, {'n', '-', 1}}, 1, 42},
        {"down on the last student stays", 3, {{'c', '+', 2}, {'n', '+', 41}, {'n', '+', 3}}, 3, 42},
        {"class down keeps the number and stops at the last class", 3, {{'n', '+', 4}, {'c', '+', 5}}, 3, 5},
        {"class up stops at class 1", 3, {{'c', '+', 1}, {'n', '+', 6}, {'c', '-', 3}}, 1, 7},
        {"one class: down stops at number 42", 1, {{'n', '+', 45}, {'c', '+', 1}}, 1, 42},
        {"no class: nothing moves", 0, {{'n', '+', 2}, {'c', '+', 1}, {'n', '-', 1}, {'c', '-', 1}}, 1, 1},
    };
    const fs::path kurasu = *school / "Dorv" / "Data" / "Kihon" / "KurasuSu.xls";
    int classes = 3;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.classes != classes) {
            SetCells(kurasu, {"KurasuSu!B3=" + std::to_string(c.classes)});
            classes = c.classes;
        }
        TfrmDispTutihyo view;
        RunModal(view, [&] {
            EXPECT_EQ(ClassCountOfGrade, c.classes);
            EXPECT_EQ(view.lblNo->text().toStdString(), "2年1組1番");
            for (const Press &p : c.presses) {
                const SpinButtons &spin = p.what == 'n' ? view.sbtNumber : view.sbtClass;
                for (int i = 0; i < p.times; ++i) (p.dir == '+' ? spin.down : spin.up)->click();
            }
            EXPECT_EQ(view.CurClass(), c.cls);
            EXPECT_EQ(view.CurNumber(), c.number);
            EXPECT_EQ(view.lblNo->text().toStdString(),
                      "2年" + std::to_string(c.cls) + "組" + std::to_string(c.number) + "番");
            const int slot = SlotOf(c.cls, c.number);
            EXPECT_EQ(view.lblName->text().toStdString(), CurNameData->Names[slot]);
        });
    }
    SetCells(kurasu, {"KurasuSu!B3=3"});
    EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
}

// Every cell of the value columns is set for each student: what the
// student before showed does not stay.
TEST_F(DispRatings, NextStudentReplacesEveryValue) {
    TfrmDispTutihyo view;
    RunModal(view, [&] {
        // Slot 42 of class 1 has no student in the sample school's grade 2
        // roster when its name is empty; either way its cells are its own.
        view.sbtNumber.down->click();
        const THyoteiRec *h = CurHyoteiData->Hyotei[2];
        const int rowSubjects[] = {0, 1, 2, 3, 5, 6, 7, 8, 4};
        for (int row = 1; row <= 9; ++row) {
            const std::uint8_t r = h[rowSubjects[row - 1] + 1].Rating;
            EXPECT_EQ(Cell(view.sgrHyotei, 1, row).empty(), r == THyoteiData::kEmpty) << row;
        }
        for (int item = 1; item <= 6; ++item)
            EXPECT_EQ(Cell(view.sgrKokugo, 1, item).empty(), h[1].Kanten[item] == THyoteiData::kEmpty) << item;
        EXPECT_NE(Cell(view.sgrHyotei, 1, 1) + Cell(view.sgrKokugo, 1, 6), "３Ｃ");
    });
}

TEST_F(DispRatings, FailedLoadShowsTheErrorAndDoesNotOpen) {
    const fs::path empty = fs::temp_directory_path() / ("dorv-disp-ratings-empty-" + std::to_string(::getpid()));
    fs::create_directories(empty);
    WorkDrive = empty.string();
    CurNameData->Names[1] = "前の名前";
    ClassCountOfGrade = 7;
    for (int twin = 0; twin < 2; ++twin) {
        services.errors.clear();
        TfrmDispTutihyo tutihyo;
        TfrmDispYouroku youroku;
        Form &view = twin == 0 ? static_cast<Form &>(tutihyo) : static_cast<Form &>(youroku);
        const auto run = RunModal(view, [] {});
        EXPECT_FALSE(run.wasOpen) << twin;
        EXPECT_EQ(services.errors.size(), 1) << twin;
        EXPECT_FALSE(wait.isVisible()) << twin;
        EXPECT_EQ(CurNameData->Names[1], "前の名前") << twin;
        EXPECT_EQ(ClassCountOfGrade, 7) << twin;
    }
    fs::remove_all(empty);
}

}  // namespace
}  // namespace dorv
