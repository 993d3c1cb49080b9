#include "desktop/string_grid.h"
#include "dialogs/DorvVersion.h"
#include "qt_roster_env.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"
#include "roster/file_helpers.h"
#include "roster_fixture.h"
#include "schooldata/access.h"
#include "schooldata/settings.h"
#include "schooldata/workbook_lock.h"
#include "tests/desktop/recording_services.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using rostertest::DataFolder;
using rostertest::FileBytes;

namespace {

class NameMain : public ::testing::Test {
protected:
    void SetUp() override { dorv::SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(200)}); }
    void TearDown() override { dorv::SetRetryTiming({}); }

    // Presses a grade button; `inEditor` runs in the editor if it opens.
    bool pressGrade(QPushButton *button, const std::function<void()> &inEditor) {
        bool opened = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            opened = editor->isVisible();
            if (opened) inEditor();
            if (editor->isVisible()) editor->btnExit->click();
        });
        timer.start(0);
        button->click();
        timer.stop();
        return opened;
    }

    dorv::testing::RecordingServices boxes;
    DataFolder folder{{4, 6, 3}};
    rostertest::NameProgram program{folder.root()};
    dorv::TfrmDorvName *main = program.main.get();
    dorv::TfrmNameEdit *editor = program.editor.get();
    dorv::TfrmVersion *version = program.version.get();
};

TEST_F(NameMain, ShowsTheSchoolInTheCaption) {
    rostertest::OpenAndRun(*main, [&] {
        EXPECT_EQ(main->windowTitle().toStdString(), "Dorv成績処理－名簿管理－　テスト市立第二中学校");
        EXPECT_EQ(dorv::WorkDrive, folder.root().string());
        main->btnClose->click();
        EXPECT_FALSE(main->isVisible());
    });
}

TEST_F(NameMain, AGradeButtonCreatesAMissingRosterAndOpensTheEditorOnIt) {
    rostertest::OpenAndRun(*main, [&] {
        const bool opened = pressGrade(main->btnG2, [&] {
            EXPECT_EQ(editor->sgdName->rowCount(), 6 * 42 + 1);
            EXPECT_EQ(editor->sgdName->cell(0, 252).toStdString(), "642");
        });
        EXPECT_TRUE(opened);
        EXPECT_EQ(main->lblShow->text().toStdString(), "");
    });
    EXPECT_TRUE(boxes.errors.empty());
    EXPECT_EQ(rostertest::ReadCells(folder.roster(2)).at({1, 252, 0}), "642");
    EXPECT_FALSE(fs::exists(folder.hinagata()));
}

TEST_F(NameMain, ARosterHeldElsewhereGivesTheMessageAndNoEditor) {
    folder.writeRoster(1, {{1, "山田　太郎", "男"}});
    const std::string roster = folder.roster(1);
    rostertest::WriteBytes(dorv::DesktopLockFileNames(roster)[0], ",someone,host,10.12.2026 09:00,file:///");
    const std::string before = FileBytes(roster);
    rostertest::OpenAndRun(*main, [&] {
        EXPECT_FALSE(pressGrade(main->btnG1, [] {}));
        EXPECT_EQ(main->lblShow->text().toStdString(), "しばらくお待ちください");
        // Free again, the same button opens the editor on the roster as it was.
        fs::remove(dorv::DesktopLockFileNames(roster)[0]);
        EXPECT_TRUE(
            pressGrade(main->btnG1, [&] { EXPECT_EQ(editor->sgdName->cell(1, 1).toStdString(), "山田　太郎"); }));
    });
    ASSERT_EQ(boxes.errors.size(), 1);
    // The lock file is named: one left by a crashed program is found and removed.
    EXPECT_EQ(boxes.errors[0].toStdString(), "ファイル " + roster + " を作成できません（ロックファイル " +
                                                 dorv::DesktopLockFileNames(roster)[0] +
                                                 " があります。このファイルを開いているプログラムがなければ、"
                                                 "ロックファイルを削除してください）.");
    EXPECT_EQ(FileBytes(roster), before);
}

}  // namespace
