// The main menu of the display and print program: the caption, the shared
// data objects, and which outputs each selection enables, driven through
// the real selection dialogs with the loads replaced.
#include "modal.h"
#include "recording_services.h"
#include "test_env.h"

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "dialogs/DorvVersion.h"
#include "print/forms/DorvPrintMain.h"
#include "print/forms/nendo_era_today.h"
#include "print/stats/calc_test.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::RecordingServices;
using testing::RunModal;

// What a step of a scenario does with the dialog its button opens.
struct Step {
    enum Kind { Teiki, Jitsu, Hyotei, Youroku } kind;
    int grade = 1;       // 1..3
    int row = 1;         // test or term
    bool choose = true;  // false: the dialog is closed without a choice
    bool fails = false;  // the computation raises
};

// The outputs enabled after a scenario, in a fixed order of names.
struct Outputs {
    bool dosu, tutihyou, dispYouroku, kojin, ichiran, kondan, henkan;
    bool operator==(const Outputs &) const = default;
};

std::string Describe(const Outputs &o) {
    std::string s;
    auto add = [&](bool on, const char *name) {
        if (on) s += std::string(s.empty() ? "" : " ") + name;
    };
    add(o.dosu, "度数分布");
    add(o.tutihyou, "評定");
    add(o.dispYouroku, "指導要録");
    add(o.kojin, "個人票");
    add(o.ichiran, "一覧表");
    add(o.kondan, "懇談資料");
    add(o.henkan, "C4th変換");
    return s.empty() ? "(none)" : s;
}

class PrintMenu : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("dorv-print-menu-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "Dorv.INI") << "[School]\nName=ノルベ第二中学校\nSection=学習指導部\n"
                                        << "[Work]\ndrive=" << (dir / "nowhere").string() << "\n";
        SetExeDirSource([this] { return dir.string() + "/"; });
        services.login = "1002";
        SelectedGrade = 1;
        SelectedTest = 1;
        SelectedTerm = 1;
        TestId = {0, 1};

        menu.setLoads({
            [this](TTeachers &t) {
                ++shokuinLoads;
                t.Teacher[1].StaffNo = "1001";
                t.Teacher[2].StaffNo = "1002";
                t.Teacher[2].TeacherName = "佐藤花子";
            },
            [this](TTestNameSet &names) {
                ++testNameLoads;
                for (int g = 1; g <= 3; ++g)
                    for (int t = 1; t <= 5; ++t)
                        names.TestName[g][t] = "テスト" + std::to_string(g) + std::to_string(t);
            },
            [this](TCalcTest &calc) {
                ++calculations;
                if (failNext) throw std::runtime_error("ファイル 名簿.xls は他のプログラムが使用中です");
                calc.CalcGrade = SelectedGrade;
                calc.CalcTestId = TestId;
                calc.GradeCount[0] = 100 + SelectedGrade;
            },
        });
    }
    void TearDown() override {
        ResetEnvironmentSources();
        fs::remove_all(dir);
    }

    Outputs outputs() const {
        return {menu.btnDispDosu->isEnabled(), menu.btnDispTutihyou->isEnabled(), menu.btnDispYouroku->isEnabled(),
                menu.btnPrKojin->isEnabled(),  menu.btnPrIchiran->isEnabled(),    menu.btnPrKondan->isEnabled(),
                menu.btnHenkan->isEnabled()};
    }

    // Presses the step's button and acts in the dialog once it is open.
    void run(const Step &step) {
        failNext = step.fails;
        Form *dialog = nullptr;
        QPushButton *button = nullptr;
        std::function<void()> choose;
        switch (step.kind) {
        case Step::Teiki:
            dialog = &teiki;
            button = menu.btnSelectTeiki;
            choose = [&] {
                teiki.sgrTeikiTestName->setCurrentCell(step.grade - 1, step.row);
                teiki.btnOK->click();
            };
            break;
        case Step::Jitsu:
            dialog = &jitsu;
            button = menu.btnSelectJitsu;
            choose = [&] {
                jitsu.sgrJitsuTestName->setCurrentCell(step.grade - 1, step.row);
                jitsu.btnOK->click();
            };
            break;
        case Step::Hyotei:
            dialog = &hyotei;
            button = menu.btnSelectHyotei;
            choose = [&] {
                hyotei.sgrHyoteiName->setCurrentCell(step.grade - 1, step.row);
                hyotei.btnOK->click();
            };
            break;
        case Step::Youroku:
            dialog = &gakunen;
            button = menu.btnSelectYouroku;
            choose = [&] {
                gakunen.rgrGakunen->button(step.grade - 1)->click();
                gakunen.btnOK->click();
            };
            break;
        }
        bool opened = false;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!dialog->isRunning() || !dialog->isVisible()) return;
            poll.stop();
            opened = true;
            if (step.choose) choose();
            else dialog->done(QDialog::Rejected);
        });
        poll.start();
        button->click();
        poll.stop();
        EXPECT_TRUE(opened);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(wait.isVisible());
    }

    fs::path dir;
    RecordingServices services;
    TfrmWait wait;
    TfrmSelectTeiki teiki;
    TfrmSelectJitsu jitsu;
    TfrmSelectHyotei hyotei;
    TfrmSelectGakunen gakunen;
    TfrmVersion version;
    TfrmDorvPrint menu;
    int shokuinLoads = 0;
    int testNameLoads = 0;
    int calculations = 0;
    bool failNext = false;

    struct Globals {
        Globals(PrintMenu *t) {
            frmWait = &t->wait;
            frmSelectTeiki = &t->teiki;
            frmSelectJitsu = &t->jitsu;
            frmSelectHyotei = &t->hyotei;
            frmSelectGakunen = &t->gakunen;
            frmVersion = &t->version;
        }
        ~Globals() {
            frmWait = nullptr;
            frmSelectTeiki = nullptr;
            frmSelectJitsu = nullptr;
            frmSelectHyotei = nullptr;
            frmSelectGakunen = nullptr;
            frmVersion = nullptr;
        }
    } globals{this};
};

TEST_F(PrintMenu, StartUpShowsTheSchoolAndOffersOnlyTheSelections) {
    const auto opening = RunModal(menu, [&] {
        EXPECT_EQ(menu.windowTitle(), QString("Dorv成績処理－表示・印刷－\u3000ノルベ第二中学校"));
        EXPECT_EQ(outputs(), Outputs{});
        for (QPushButton *b : {menu.btnSelectTeiki, menu.btnSelectJitsu, menu.btnSelectHyotei, menu.btnSelectYouroku,
                               menu.btnVersion, menu.btnClose})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_FALSE(wait.isVisible());
        EXPECT_EQ(shokuinLoads, 1);
        EXPECT_EQ(TeacherIndex, 2);
        EXPECT_NE(CurCalcTest, nullptr);
        EXPECT_NE(CurNameData, nullptr);
        EXPECT_NE(CurSotenData, nullptr);
        EXPECT_NE(CurTeikiTestName, nullptr);
        EXPECT_NE(CurJitsuTestName, nullptr);
        EXPECT_NE(CurTeachers, nullptr);
        EXPECT_NE(CurKurasuSuData, nullptr);
        EXPECT_NE(CurHyoteiData, nullptr);
        EXPECT_NE(CurKantenData, nullptr);
        menu.btnClose->click();
    });
    EXPECT_FALSE(opening.leftOpen);
    EXPECT_EQ(CurCalcTest, nullptr);
    EXPECT_EQ(CurNameData, nullptr);
    EXPECT_EQ(CurTeachers, nullptr);
    EXPECT_EQ(CurKantenData, nullptr);
}

TEST_F(PrintMenu, StaffListThatFailsToLoadLeavesAUsableMenu) {
    menu.setLoads({[](TTeachers &) { throw std::runtime_error("ファイル Shokuin.xls がありません"); },
                   [](TTestNameSet &) {}, [](TCalcTest &) {}});
    RunModal(menu, [&] {
        EXPECT_EQ(services.errors, QStringList{"ファイル Shokuin.xls がありません."});
        EXPECT_EQ(TeacherIndex, 0);
        EXPECT_EQ(outputs(), Outputs{});
        EXPECT_TRUE(menu.btnSelectTeiki->isEnabled());
        EXPECT_FALSE(wait.isVisible());
    });
}

TEST_F(PrintMenu, EachSelectionEnablesItsOutputs) {
    using S = Step;
    const Outputs none{};
    const Outputs test{true, false, false, true, true, false, false};
    const Outputs term{false, true, false, false, false, true, true};
    const Outputs reg{false, false, true, false, false, false, true};
    const Outputs testTerm{true, true, false, true, true, true, true};
    const Outputs testReg{true, false, true, true, true, false, true};
    struct Case {
        const char *what;
        std::vector<Step> steps;
        Outputs after;
        int calculations;
    };
    const std::vector<Case> cases = {
        {"regular test", {{S::Teiki, 1, 2}}, test, 1},
        {"proficiency test", {{S::Jitsu, 3, 5}}, test, 1},
        {"term right after start-up", {{S::Hyotei, 1, 1}}, term, 0},
        {"register right after start-up", {{S::Youroku, 2}}, reg, 0},
        {"test, then the register of its grade", {{S::Teiki, 1, 1}, {S::Youroku, 1}}, testReg, 1},
        {"test, then a term of its grade", {{S::Teiki, 2, 1}, {S::Hyotei, 2, 3}}, testTerm, 1},
        {"term, then register", {{S::Hyotei, 1, 1}, {S::Youroku, 1}}, reg, 0},
        {"register, then term", {{S::Youroku, 1}, {S::Hyotei, 1, 2}}, term, 0},
        {"term, then a test closes the term outputs", {{S::Hyotei, 1, 1}, {S::Teiki, 1, 1}}, test, 1},
        {"register, then a proficiency test", {{S::Youroku, 2}, {S::Jitsu, 2, 1}}, test, 1},
        // The test outputs would print one grade's names over another's
        // statistics.
        {"test, then a term of another grade", {{S::Teiki, 1, 1}, {S::Hyotei, 2, 1}}, term, 1},
        {"test, then the register of another grade", {{S::Jitsu, 3, 1}, {S::Youroku, 1}}, reg, 1},
        {"test, another grade's term, back to its grade",
         {{S::Teiki, 1, 1}, {S::Hyotei, 2, 1}, {S::Hyotei, 1, 1}},
         term,
         1},
        {"test, another grade's term, a test again", {{S::Teiki, 1, 1}, {S::Hyotei, 2, 1}, {S::Teiki, 2, 4}}, test, 2},
        // A dialog closed without a choice changes nothing.
        {"test dialog closed at start-up", {{S::Teiki, 2, 1, false}}, none, 0},
        {"term dialog closed at start-up", {{S::Hyotei, 2, 1, false}}, none, 0},
        {"test, then the test dialog closed", {{S::Teiki, 1, 1}, {S::Jitsu, 2, 1, false}}, test, 1},
        {"term, then the term dialog closed", {{S::Hyotei, 1, 1}, {S::Hyotei, 3, 2, false}}, term, 0},
        {"test and term, then the term dialog closed",
         {{S::Teiki, 1, 1}, {S::Hyotei, 1, 1}, {S::Hyotei, 3, 2, false}},
         testTerm,
         1},
        // A failing computation leaves the outputs as they were.
        {"failing test at start-up", {{S::Teiki, 1, 1, true, true}}, none, 1},
        {"test, then a failing test", {{S::Teiki, 1, 1}, {S::Jitsu, 2, 1, true, true}}, test, 2},
        {"term, then a failing test", {{S::Hyotei, 1, 1}, {S::Teiki, 1, 1, true, true}}, term, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        calculations = 0;
        services.errors.clear();
        RunModal(menu, [&] {
            for (const Step &s : c.steps) run(s);
            EXPECT_EQ(outputs(), c.after) << Describe(outputs()) << " / expected " << Describe(c.after);
            EXPECT_EQ(calculations, c.calculations);
            const bool failed = !c.steps.empty() && c.steps.back().fails;
            EXPECT_EQ(services.errors.size(), failed ? 1 : 0);
        });
    }
}

TEST_F(PrintMenu, SelectionsSetTheGradeTheRatingFlagAndTheStatistics) {
    RunModal(menu, [&] {
        run({Step::Jitsu, 2, 4});
        EXPECT_EQ(testNameLoads, 1);
        EXPECT_EQ(SelectedGrade, 2);
        EXPECT_EQ(SelectedTest, 4);
        EXPECT_EQ(TestId.TestKind, 1);
        EXPECT_EQ(CurNameData->Grade, 2);
        EXPECT_EQ(CurCalcTest->CalcGrade, 2);
        EXPECT_EQ(CurCalcTest->GradeCount[0], 102);

        run({Step::Youroku, 3});
        EXPECT_EQ(CurHyoteiData->IsYouroku, 1);
        EXPECT_EQ(CurNameData->Grade, 3);
        // Only a test selection recomputes.
        EXPECT_EQ(CurCalcTest->CalcGrade, 2);
        EXPECT_EQ(calculations, 1);

        run({Step::Hyotei, 1, 2});
        EXPECT_EQ(CurHyoteiData->IsYouroku, 0);
        EXPECT_EQ(SelectedTerm, 2);
        EXPECT_EQ(CurNameData->Grade, 1);

        // A register dialog closed without a choice keeps the term flag.
        run({Step::Youroku, 2, 1, false});
        EXPECT_EQ(CurHyoteiData->IsYouroku, 0);
        EXPECT_EQ(SelectedGrade, 1);
        EXPECT_GE(shokuinLoads, 5);
    });
}

TEST_F(PrintMenu, FailingComputationKeepsThePreviousStatisticsAndSelection) {
    RunModal(menu, [&] {
        run({Step::Teiki, 1, 3});
        const TCalcTest *statistics = CurCalcTest;
        run({Step::Jitsu, 3, 2, true, true});
        EXPECT_EQ(services.errors, QStringList{"ファイル 名簿.xls は他のプログラムが使用中です."});
        EXPECT_EQ(CurCalcTest, statistics);
        EXPECT_EQ(CurCalcTest->CalcGrade, 1);
        EXPECT_EQ(CurCalcTest->GradeCount[0], 101);
        EXPECT_EQ(SelectedGrade, 1);
        EXPECT_EQ(SelectedTest, 3);
        EXPECT_EQ(TestId.TestKind, 0);
        EXPECT_EQ(TestId.TestNo, 3);
        EXPECT_EQ(CurNameData->Grade, 1);
        EXPECT_FALSE(wait.isVisible());
        // The next selection works as usual.
        run({Step::Jitsu, 3, 2});
        EXPECT_EQ(CurCalcTest->CalcGrade, 3);
    });
}

TEST_F(PrintMenu, OutputButtonsOpenTheirForms) {
    struct Probe : Form {
        int openings = 0;
        void formShow() override {
            ++openings;
            QTimer::singleShot(0, this, [this] { done(0); });
        }
    };
    Probe dosu, ichiran, tutihyo, henkan;
    menu.setOutputForms({&dosu, &tutihyo, nullptr, nullptr, &ichiran, nullptr, &henkan});
    RunModal(menu, [&] {
        run({Step::Teiki, 1, 1});
        menu.btnDispDosu->click();
        menu.btnPrIchiran->click();
        menu.btnPrKojin->click();  // no form yet: nothing opens
        run({Step::Hyotei, 1, 1});
        menu.btnDispTutihyou->click();
        menu.btnHenkan->click();
        menu.btnHenkan->click();
    });
    EXPECT_EQ(dosu.openings, 1);
    EXPECT_EQ(ichiran.openings, 1);
    EXPECT_EQ(tutihyo.openings, 1);
    EXPECT_EQ(henkan.openings, 2);
}

// The program's own loads on the sample school: a regular test of grade 2
// computes that grade's statistics from its workbooks.
TEST_F(PrintMenu, RealLoadsComputeTheSelectedTestOfTheSampleSchool) {
    const fs::path school = testing::MakeSampleSchool("dorv-print-menu-school");
    std::ofstream(dir / "Dorv.INI") << "[School]\nName=ノルベ第二中学校\n[Work]\ndrive=" << school.string() << "\n";
    menu.setLoads(TfrmDorvPrint::DefaultLoads());
    RunModal(menu, [&] {
        EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
        EXPECT_EQ(CurTeachers->Teacher[1].StaffNo.empty(), false);
        run({Step::Teiki, 2, 1});
        EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
        EXPECT_EQ(outputs(), (Outputs{true, false, false, true, true, false, false}));
        EXPECT_EQ(CurCalcTest->CalcGrade, 2);
        EXPECT_EQ(CurCalcTest->ClassCount, ClassCountOfGrade);
        EXPECT_GT(CurCalcTest->ClassCount, 0);
        EXPECT_GT(CurCalcTest->GradeCount[0], 0);
        EXPECT_GT(CurCalcTest->GradeCnt5, 0);
        EXPECT_EQ(CurNameData->Grade, 2);
        EXPECT_FALSE(CurNameData->Names[1].empty());
    });
    fs::remove_all(school);
}

TEST(NendoEraToday, TakesTodayFromTheDesktopClock) {
    RecordingServices services;
    const std::pair<QDate, const char *> cases[] = {
        {{2024, 2, 29}, "令和05"}, {{2019, 5, 1}, "令和01"}, {{2020, 1, 10}, "平成31"}};
    for (const auto &[date, text] : cases) {
        services.date = date;
        EXPECT_EQ(NendoEraText(), text) << date.toString(Qt::ISODate).toStdString();
    }
}

}  // namespace
}  // namespace dorv
