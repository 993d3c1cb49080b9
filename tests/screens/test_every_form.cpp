// Every form and dialog of the three programs, opened on the sample school
// the way a teacher reaches it, looked at as he sees it: texts uncut and
// readable, grids that fit shown whole.
#include "form_walk.h"
#include "large_school.h"
#include "no_printer.h"
#include "pdf_home.h"
#include "recording_services.h"
#include "school_fixture.h"
#include "screen_check.h"

#include "desktop/string_grid.h"
#include "dialogs/DorvVersion.h"
#include "input/program.h"
#include "print/forms/StudentSheetForm.h"
#include "print/program.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace dorv {
namespace {

using testing::WalkStep;

// The program blocks' forms, created in their fixed order and published in
// their globals for as long as the object lives.
// The entry program's forms, all of them, as the program creates them.
struct InputProgram {
    DorvInputFormsFirst first;
    DorvInputFormsRest rest{first};
};

struct NameProgram {
    TfrmDorvName main;
    TfrmNameEdit editor{&main};
    TfrmVersion version{&main};
    NameProgram() {
        frmVersion = &version;
        main.setForms(&editor, &version);
    }
    ~NameProgram() { frmVersion = nullptr; }
};

enum class Program { Input, Print, Name };

struct FormCase {
    const char *name;
    Program program;
    std::vector<WalkStep> steps;  // the last one looks at the form
    // Changes to the sample school before the program starts.
    std::function<void(const std::filesystem::path &)> prepare = {};
};

void PrintTo(const FormCase &c, std::ostream *os) { *os << c.name; }

// A step that presses a button of the window, found by its object name.
WalkStep Press(const char *window, const char *button) {
    return {window, [button](Form &f) {
                auto *b = f.findChild<QAbstractButton *>(button);
                ASSERT_NE(b, nullptr) << f.objectName().toStdString() << " has no " << button;
                b->click();
            }};
}
WalkStep Press(const char *window, QAbstractButton *(*button)(Form &)) {
    return {window, [button](Form &f) { button(f)->click(); }};
}
// The sheet of student 1 of class 1 printed from a student-sheet form,
// which stays open until closed.
WalkStep PrintFirstStudentAndClose(const char *window) {
    return {window, [](Form &f) {
                auto &form = static_cast<TStudentSheetForm &>(f);
                form.edtClass->setText("1");
                form.edtNumber->setText("1");
                form.btnPrintOne->click();
                form.done(0);
            }};
}
WalkStep Look(const char *window) {
    return {window, [](Form &f) { testing::ExpectEverythingInView(f); }};
}
// A form the program shows without a modal loop, looked at while it is up.
WalkStep LookShown(const char *window, Form *(*form)()) {
    return {window, [form](Form &) {
                Form *shown = form();
                shown->showAndPaint();
                testing::ExpectEverythingInView(*shown);
                shown->hide();
            }};
}

void WriteClassCounts(const std::filesystem::path &drive, int grade1, int grade2, int grade3) {
    testing::WriteClassCountsXls(drive / "Dorv/Data/Kihon/KurasuSu.xls", grade1, grade2, grade3);
}

QAbstractButton *Grade1(Form &f) { return static_cast<TfrmDorvName &>(f).btnG1; }
QAbstractButton *Grade3(Form &f) { return static_cast<TfrmDorvName &>(f).btnG3; }
QAbstractButton *NameVersion(Form &f) { return static_cast<TfrmDorvName &>(f).btnVersion; }

const FormCase kForms[] = {
    // DorvInput
    {"InputMenu", Program::Input, {Look("frmDorvInput")}},
    {"InputWait", Program::Input, {LookShown("frmDorvInput", []() -> Form * { return frmWait; })}},
    {"InputFarewell", Program::Input, {LookShown("frmDorvInput", []() -> Form * { return frmOtsukareMessage; })}},
    {"InputVersion", Program::Input, {Press("frmDorvInput", "btnVersion"), Look("frmVersion")}},
    {"InputSelectTeiki", Program::Input, {Press("frmDorvInput", "btnTeiki"), Look("frmSelectTeiki")}},
    {"InputTeiki",
     Program::Input,
     {Press("frmDorvInput", "btnTeiki"), Press("frmSelectTeiki", "btnOK"), Look("frmDorvInputTeiki")}},
    {"InputSelectJitsu", Program::Input, {Press("frmDorvInput", "btnJitsu"), Look("frmSelectJitsu")}},
    {"InputJitsu",
     Program::Input,
     {Press("frmDorvInput", "btnJitsu"), Press("frmSelectJitsu", "btnOK"), Look("frmDorvInputJitsu")}},
    {"InputSelectHyotei", Program::Input, {Press("frmDorvInput", "btnHyotei"), Look("frmSelectHyotei")}},
    {"InputHyotei",
     Program::Input,
     {Press("frmDorvInput", "btnHyotei"), Press("frmSelectHyotei", "btnOK"), Look("frmDorvInputHyotei")}},
    {"InputSelectNaishin", Program::Input, {Press("frmDorvInput", "btnJudan"), Look("frmSelectNaishin")}},
    {"InputNaishin",
     Program::Input,
     {Press("frmDorvInput", "btnJudan"), Press("frmSelectNaishin", "btnOK"), Look("frmDorvInputNaishin")}},
    {"InputSelectGakunen", Program::Input, {Press("frmDorvInput", "btnYouroku"), Look("frmSelectGakunen")}},
    {"InputYouroku",
     Program::Input,
     {Press("frmDorvInput", "btnYouroku"), Press("frmSelectGakunen", "btnOK"), Look("frmDorvInputYouroku")}},
    // DorvPrint
    {"PrintMenu", Program::Print, {Look("frmDorvPrint")}},
    {"PrintVersion", Program::Print, {Press("frmDorvPrint", "btnVersion"), Look("frmVersion")}},
    {"PrintSelectTeiki", Program::Print, {Press("frmDorvPrint", "btnSelectTeiki"), Look("frmSelectTeiki")}},
    {"PrintSelectJitsu", Program::Print, {Press("frmDorvPrint", "btnSelectJitsu"), Look("frmSelectJitsu")}},
    {"PrintSelectHyotei", Program::Print, {Press("frmDorvPrint", "btnSelectHyotei"), Look("frmSelectHyotei")}},
    {"PrintSelectGakunen", Program::Print, {Press("frmDorvPrint", "btnSelectYouroku"), Look("frmSelectGakunen")}},
    {"PrintDosu",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectTeiki"), Press("frmSelectTeiki", "btnOK"), Press("frmDorvPrint", "btnDispDosu"),
      Look("frmDispDosu")}},
    // The charts the individual sheet has printed, shown again in the view.
    {"PrintDosuAfterKojin",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectTeiki"), Press("frmSelectTeiki", "btnOK"), Press("frmDorvPrint", "btnPrKojin"),
      PrintFirstStudentAndClose("frmPrintKojin"), Press("frmDorvPrint", "btnDispDosu"), Look("frmDispDosu")}},
    {"PrintKojin",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectTeiki"), Press("frmSelectTeiki", "btnOK"), Press("frmDorvPrint", "btnPrKojin"),
      Look("frmPrintKojin")}},
    {"PrintIchiran",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectJitsu"), Press("frmSelectJitsu", "btnOK"), Press("frmDorvPrint", "btnPrIchiran"),
      Look("frmPrintIchiran")}},
    {"PrintTutihyo",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectHyotei"), Press("frmSelectHyotei", "btnOK"),
      Press("frmDorvPrint", "btnDispTutihyou"), Look("frmDispTutihyo")}},
    {"PrintKondan",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectHyotei"), Press("frmSelectHyotei", "btnOK"), Press("frmDorvPrint", "btnPrKondan"),
      Look("frmPrintKondan")}},
    {"PrintHenkan",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectHyotei"), Press("frmSelectHyotei", "btnOK"), Press("frmDorvPrint", "btnHenkan"),
      Look("frmHenkan")}},
    {"PrintYouroku",
     Program::Print,
     {Press("frmDorvPrint", "btnSelectYouroku"), Press("frmSelectGakunen", "btnOK"),
      Press("frmDorvPrint", "btnDispYouroku"), Look("frmDispYouroku")}},
    // DorvName
    {"NameMenu", Program::Name, {Look("frmDorvName")}},
    {"NameVersion", Program::Name, {Press("frmDorvName", &NameVersion), Look("frmVersion")}},
    {"NameEdit", Program::Name, {Press("frmDorvName", &Grade1), Look("frmNameEdit")}},
    {"NameEditOfAGradeWithoutClasses",
     Program::Name,
     {Press("frmDorvName", &Grade3), Look("frmNameEdit")},
     [](const std::filesystem::path &drive) { WriteClassCounts(drive, 3, 3, 0); }},
    // The number of the last slot of class 10 has four digits.
    {"NameEditOfClassTen",
     Program::Name,
     {Press("frmDorvName", &Grade1),
      {"frmNameEdit",
       [](Form &f) {
           StringGrid &grid = *static_cast<TfrmNameEdit &>(f).sgdName;
           grid.setCurrentCell(1, grid.rowCount() - 1);
           EXPECT_EQ(static_cast<TfrmNameEdit &>(f).lblNumber->text(), "1042");
           testing::ExpectEverythingInView(f);
       }}},
     [](const std::filesystem::path &drive) { WriteClassCounts(drive, 10, 3, 2); }},
};

// The sample school as it is, and grown as large as a school gets: the
// grade of the teacher's homeroom (3) with ten full classes (420 students,
// numbers up to 1042, frequency bands of more than 100, no 理科 scores yet in
// the last regular test) and every test with a long name.
enum class School { Sample, Large };

void PrintTo(School school, std::ostream *os) { *os << (school == School::Large ? "large school" : "sample school"); }

void Grow(const std::filesystem::path &drive) {
    testing::GiveTestsLongNames(drive);
    testing::FillGradeToTenFullClasses(drive, 3);
}

using ScreenCase = std::tuple<FormCase, School>;

QString BinDir() {
    const QByteArray env = qgetenv("DORV_BIN_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromLocal8Bit(env);
}

// The sample school in a fresh folder and "Dorv.INI" pointing at it; the
// teacher of 英語 with his homeroom class in grade 3 logged in, in February:
// every selection dialog preselects its last column, the test dialog its
// last row.
class Screens : public ::testing::TestWithParam<ScreenCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(drive_.isValid() && exeDir_.isValid() && home_.Ready());
        const std::string command =
            "'" + BinDir().toStdString() + "/dorv-sample-school' '" + drive_.path().toStdString() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::ofstream(exeDir_.filePath("Dorv.INI").toStdString())
            << "[School]\nName=ノルベ市立中学校\n[Work]\ndrive=" << drive_.path().toStdString() << "\n";
        SetExeDirSource([dir = exeDir_.path().toStdString() + "/"] { return dir; });
        services_.login = "52209";
        services_.date = QDate(2026, 2, 16);
        SelectedGrade = 1;
        SelectedTest = 1;
        SelectedTerm = 1;
        TestId = {0, 1};
    }
    void TearDown() override {
        // The login and host names stay with the recording services.
        SetExeDirSource(&DefaultExeDir);
        WorkDrive.clear();
    }

    std::filesystem::path Drive() const { return drive_.path().toStdString(); }

    testing::RecordingServices services_;

private:
    // What a form prints becomes a PDF in a home of the test's own.
    testing::NoPrinterScope noPrinter_;
    testing::PdfHome home_;
    QTemporaryDir drive_;
    QTemporaryDir exeDir_;
};

TEST_P(Screens, ShowEveryTextWholeAndEveryGridThatFitsWithoutScrolling) {
    const auto &[c, school] = GetParam();
    if (school == School::Large) Grow(Drive());
    if (c.prepare) c.prepare(Drive());
    int stepsRun = 0;
    switch (c.program) {
    case Program::Input: {
        InputProgram program;
        stepsRun = testing::Walk(*program.first.main.form, c.steps);
        break;
    }
    case Program::Print: {
        DorvPrintForms program;
        stepsRun = testing::Walk(*program.main.form, c.steps);
        break;
    }
    case Program::Name: {
        NameProgram program;
        stepsRun = testing::Walk(program.main, c.steps);
        break;
    }
    }
    EXPECT_EQ(stepsRun, static_cast<int>(c.steps.size())) << "the form was never reached";
    EXPECT_TRUE(services_.errors.isEmpty()) << services_.errors.join(" | ").toStdString();
}

std::string CaseName(const ::testing::TestParamInfo<ScreenCase> &info) {
    const bool large = std::get<School>(info.param) == School::Large;
    return std::string(std::get<FormCase>(info.param).name) + (large ? "OfALargeSchool" : "");
}

INSTANTIATE_TEST_SUITE_P(AllForms, Screens,
                         ::testing::Combine(::testing::ValuesIn(kForms),
                                            ::testing::Values(School::Sample, School::Large)),
                         CaseName);

// The menu of the entry program opens on the first of its tab order.
TEST_F(Screens, EntryMenuOpensWithTheFocusOnClose) {
    InputProgram program;
    QWidget *focused = nullptr;
    testing::Walk(*program.first.main.form, {{"frmDorvInput", [&](Form &f) { focused = f.focusWidget(); }}});
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), "btnClose");
}

}  // namespace
}  // namespace dorv
