#include "tests/desktop/modal.h"
#include "tests/desktop/recording_services.h"
#include "tests/schooldata/school_fixture.h"

#include "input/DorvInputMain.h"
#include "input/DorvOtsukare.h"
#include "input/program.h"

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvVersion.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

namespace dorv {
namespace {

using testing::RecordingServices;
using testing::RunModal;
using testing::SchoolFolder;
using testing::WriteXls;

// An entry form as the menu sees it: counts its openings and runs a test
// action while it is open.
class EntryFormStub : public Form {
public:
    int openings = 0;
    std::function<void()> whileOpen;

protected:
    void formShow() override {
        ++openings;
        QTimer::singleShot(0, this, [this] {
            if (whileOpen) whileOpen();
            done(0);
        });
    }
};

// A school with five teachers, the test names, and "Dorv.INI" beside a
// stand-in executable folder pointing at it; the forms of the program.
class DorvInputFixture : public ::testing::Test {
protected:
    void SetUp() override {
        exeDir = school.Root() / "bin";
        std::filesystem::create_directories(exeDir);
        SetExeDirSource([dir = exeDir.string() + "/"] { return dir; });
        writeIni("[Work]\ndrive=" + school.Root().string() + "\n[School]\nName=みなと市立第一中学校\n");
        WriteXls(school.Kihon("Shokuin.xls"), {{"Meibo",
                                                {{"A1", "職員番号"},
                                                 {"B1", "氏名"},
                                                 {"C1", "教科"},
                                                 {"D1", "担任"},
                                                 {"A2", "1001"},
                                                 {"B2", "山田太郎"},
                                                 {"C2", "5"},
                                                 {"D2", "21"},
                                                 {"A3", "1002"},
                                                 {"B3", "音楽花子"},
                                                 {"C3", "6"},
                                                 {"A4", "1003"},
                                                 {"B4", "教頭先生"},
                                                 {"C4", "12"},
                                                 {"A5", "1004"},
                                                 {"B5", "技術一郎"},
                                                 {"C5", "10"},
                                                 {"A6", "1005"},
                                                 {"B6", "長谷川美智代子"},
                                                 {"C6", "1"}}}});
        for (const char *file : {"TeikiTestName.xls", "JitsuTestName.xls"}) {
            std::vector<testing::SheetSpec> sheets;
            for (const char *sheet : {"1nen", "2nen", "3nen"})
                sheets.push_back(
                    {sheet, {{"A1", "第1回"}, {"A2", "第2回"}, {"A3", "第3回"}, {"A4", "第4回"}, {"A5", "第5回"}}});
            WriteXls(school.Kihon(file), sheets);
        }
        wait = std::make_unique<TfrmWait>();
        frmWait = wait.get();
        version = std::make_unique<TfrmVersion>();
        frmVersion = version.get();
        otsukare = std::make_unique<TfrmOtsukareMessage>();
        frmOtsukareMessage = otsukare.get();
        main = std::make_unique<TfrmDorvInput>();
        main->setEntryForms({&teiki, &jitsu, &hyotei, &naishin, &youroku});
    }
    void TearDown() override {
        main.reset();
        frmWait = nullptr;
        frmVersion = nullptr;
        frmOtsukareMessage = nullptr;
        SetExeDirSource(&DefaultExeDir);  // the login and host sources stay the desktop services
    }
    void writeIni(const std::string &text) { std::ofstream(exeDir / "Dorv.INI", std::ios::trunc) << text; }
    // Watches for the farewell window during the one-second wait.
    void watchFarewell() {
        farewellSeen = false;
        farewellWatch.setInterval(50);
        QObject::disconnect(&farewellWatch, nullptr, nullptr, nullptr);
        QObject::connect(&farewellWatch, &QTimer::timeout, [this] {
            if (frmOtsukareMessage && frmOtsukareMessage->isVisible() &&
                frmOtsukareMessage->lblOtsukare->text() == "お疲れ様でした")
                farewellSeen = true;
        });
        farewellWatch.start();
    }

    SchoolFolder school;
    std::filesystem::path exeDir;
    RecordingServices services;
    std::unique_ptr<TfrmWait> wait;
    std::unique_ptr<TfrmVersion> version;
    std::unique_ptr<TfrmOtsukareMessage> otsukare;
    std::unique_ptr<TfrmDorvInput> main;
    EntryFormStub teiki, jitsu, hyotei, naishin, youroku;
    bool farewellSeen = false;
    QTimer farewellWatch;
};

using DorvInputStart = DorvInputFixture;

TEST_F(DorvInputStart, GreetsOrRefusesTheLoggedInTeacher) {
    const struct {
        std::string login;
        QString greeting;  // empty: refused
        QString refusal;
    } cases[] = {
        {"1001", "山田太郎　先生　の入力です。", ""},
        {"1005", "長谷川美智代子　先生　の入力です。", ""},  // 14 bytes, not cut
        {"01004", "技術一郎　先生　の入力です。", ""},
        {"1003", "", "教頭先生　先生は入力できません"},  // subject なし
        {"9999", "", "　先生は入力できません"},          // not in the list
        {"taro", "", "　先生は入力できません"},          // no digits: staff number 0
    };
    for (const auto &c : cases) {
        services.login = c.login;
        services.messages.clear();
        watchFarewell();
        const auto run = RunModal(*main, [&] {
            EXPECT_EQ(main->findChild<QLabel *>("lblTeacherName")->text(), c.greeting) << c.login;
            EXPECT_FALSE(frmWait->isVisible());
            main->btnClose->click();
        });
        EXPECT_FALSE(frmWait->isVisible()) << c.login;
        if (c.greeting.isEmpty()) {
            EXPECT_FALSE(run.wasOpen) << c.login << ": the menu must not run";
            EXPECT_FALSE(main->greeted());
            EXPECT_EQ(services.messages, QStringList{c.refusal}) << c.login;
            EXPECT_TRUE(main->lblTeacherName->text().isEmpty());
        } else {
            EXPECT_TRUE(run.wasOpen) << c.login;
            EXPECT_TRUE(main->greeted());
            EXPECT_TRUE(services.messages.isEmpty()) << c.login;
        }
        // Refused or finished with 終了: both say goodbye, and the shared
        // objects are gone.
        EXPECT_TRUE(farewellSeen) << c.login;
        EXPECT_FALSE(frmOtsukareMessage->isVisible());
        EXPECT_EQ(CurTeachers, nullptr);
        EXPECT_EQ(CurTeikiTestName, nullptr);
        EXPECT_EQ(CurJitsuTestName, nullptr);
    }
}

TEST_F(DorvInputStart, CaptionCarriesTheSchoolNameOfTheSettings) {
    services.login = "1001";
    RunModal(*main, [&] {
        EXPECT_EQ(main->windowTitle(), "成績処理Dorv入力 - みなと市立第一中学校");
        EXPECT_EQ(WorkDrive, school.Root().string());
        main->done(0);
    });
    // Without a school name the default one; the drive still from the file.
    writeIni("[Work]\ndrive=" + school.Root().string() + "\n");
    RunModal(*main, [&] {
        EXPECT_EQ(main->windowTitle(), "成績処理Dorv入力 - ノルベ市立中学校");
        main->done(0);
    });
}

TEST_F(DorvInputStart, FailureToLoadTheMasterDataEndsTheProgramWithTheErrorBox) {
    services.login = "1001";
    for (const char *file : {"TeikiTestName.xls", "JitsuTestName.xls", "Shokuin.xls"}) {
        std::filesystem::remove(school.Kihon(file));
        services.errors.clear();
        const auto run = RunModal(*main, [&] { main->done(0); });
        EXPECT_FALSE(run.wasOpen) << file;
        EXPECT_TRUE(main->startFailed()) << file;
        EXPECT_FALSE(main->greeted()) << file;
        EXPECT_FALSE(frmWait->isVisible()) << file;
        ASSERT_EQ(services.errors.size(), 1) << file;
        EXPECT_TRUE(services.errors[0].endsWith(".")) << services.errors[0].toStdString();
        EXPECT_TRUE(services.messages.isEmpty()) << file;
        EXPECT_EQ(CurTeachers, nullptr) << file;
        EXPECT_EQ(CurJitsuTestName, nullptr) << file;
    }
}

TEST_F(DorvInputStart, ProficiencyEntryOnlyForTheFiveTestedSubjects) {
    const struct {
        std::string login;
        bool reachesForm;
    } cases[] = {{"1001", true}, {"1002", false}, {"1004", false}};
    for (const auto &c : cases) {
        services.messages.clear();
        services.login = c.login;
        jitsu.openings = 0;
        teiki.openings = 0;
        watchFarewell();
        const auto run = RunModal(*main, [&] {
            main->btnTeiki->click();
            main->btnJitsu->click();
        });
        EXPECT_EQ(teiki.openings, 1) << c.login;
        EXPECT_EQ(jitsu.openings, c.reachesForm ? 1 : 0) << c.login;
        if (c.reachesForm) {
            EXPECT_TRUE(run.leftOpen) << c.login;
            EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join(",").toStdString();
        } else {
            EXPECT_FALSE(run.leftOpen) << c.login << ": the program ends";
            EXPECT_EQ(services.messages, QStringList{"実力テストの素点は入力できません"});
            EXPECT_FALSE(farewellSeen) << "no farewell after the proficiency refusal";
        }
    }
}

TEST_F(DorvInputStart, MenuButtonsOpenTheirForms) {
    services.login = "1004";
    bool versionShown = false;
    RunModal(*main, [&] {
        main->btnHyotei->click();
        main->btnJudan->click();
        main->btnYouroku->click();
        QTimer::singleShot(0, [&] {
            versionShown = frmVersion->isVisible() &&
                           frmVersion->findChild<QLabel *>("lblTitle")->text() == "成績処理Dorv Ver.1.12";
            frmVersion->btnClose->click();
        });
        main->btnVersion->click();
    });
    EXPECT_TRUE(services.messages.isEmpty() && services.errors.isEmpty())
        << services.messages.join(",").toStdString() << services.errors.join(",").toStdString();
    EXPECT_EQ(hyotei.openings, 1);
    EXPECT_EQ(naishin.openings, 1);
    EXPECT_EQ(youroku.openings, 1);
    EXPECT_TRUE(versionShown);
}

TEST_F(DorvInputStart, WindowManagerCloseWaitsForTheOpenFormThenEndsWithoutFarewell) {
    services.login = "1001";
    bool stayedOpen = false;
    teiki.whileOpen = [&] {
        testing::WindowManagerClose(*main);
        stayedOpen = main->isVisible();
    };
    watchFarewell();
    const auto run = RunModal(*main, [&] {
        main->btnTeiki->click();
        EXPECT_TRUE(main->isVisible());
        testing::WindowManagerClose(*main);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_FALSE(farewellSeen);
    EXPECT_EQ(CurTeachers, nullptr);
}

// The whole program block with the spreadsheet program running: the one
// message, and no window of the program ever appears.
TEST(DorvInputProgram, RefusesToStartBesideARunningSpreadsheet) {
    RecordingServices services;
    services.excelRunning = true;
    struct ShowWatch : QObject {
        int shown = 0;
        bool eventFilter(QObject *o, QEvent *e) override {
            if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow()) ++shown;
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    const int code = RunDorvInput();
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(services.messages, QStringList{"エクセルが起動しています。閉じてからもう一度実行してください"});
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(QApplication::applicationName(), "成績処理Dorv素点の入力");
    EXPECT_EQ(frmDorvInput, nullptr);
    EXPECT_EQ(frmWait, nullptr);
}

}  // namespace
}  // namespace dorv
