// The roster program's writers run while another process holds what they
// wait for, with each action a teacher can take during the wait (each
// button, Escape, Enter, typing, a click into the list, the window
// manager's close): nothing of it reaches a form, the roster holds exactly
// what an undisturbed run writes, and the forms end as they would have.
#include "desktop/radio_group.h"
#include "desktop/string_grid.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvVersion.h"
#include "held_lock.h"
#include "qt_roster_env.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"
#include "roster/roster_paths.h"
#include "roster_fixture.h"
#include "save_wait.h"
#include "schooldata/access.h"
#include "schooldata/settings.h"
#include "tests/desktop/recording_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using rostertest::DataFolder;
using rostertest::FileBytes;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

std::vector<std::string> NamesOf(const std::vector<dorv::testing::UserAction> &actions) {
    std::vector<std::string> names;
    for (const auto &a : actions) names.push_back(a.name);
    return names;
}

QString waitingFor(const std::string &file) { return QString::fromStdString(file) + " が空くのを待っています"; }

class RosterSaveWaits : public ::testing::Test {
protected:
    void SetUp() override { dorv::SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(10000)}); }
    void TearDown() override { dorv::SetRetryTiming({}); }

    void clearBoxes() {
        boxes.errors.clear();
        boxes.messages.clear();
    }
    std::string boxTexts() const {
        std::string all;
        for (const auto &list : {boxes.errors, boxes.messages})
            for (const QString &text : list) all += s(text) + "|";
        return all;
    }

    dorv::testing::RecordingServices boxes;
    DataFolder folder{{4, 6, 3}};
    // The program's busy window, shown by the wait alone.
    dorv::TfrmWait wait;
};

// Two names changed as a teacher changes them: a click on the row, the
// name typed over the old one, a sex chosen, 変更.
void ChangeTwoNames(dorv::TfrmNameEdit &editor) {
    const struct {
        int row;
        const char *name;
        int sex;
    } edits[] = {{2, "林 花子", 1}, {5, "中村 由美", 1}};
    for (const auto &e : edits) {
        const QRect cell = editor.sgdName->cellRect(1, e.row);
        QTest::mouseClick(editor.sgdName->viewport(), Qt::LeftButton, {}, cell.center());
        // Japanese text arrives as the input method's commit, over the old name.
        editor.edtOne->selectAll();
        QInputMethodEvent typed;
        typed.setCommitString(QString::fromUtf8(e.name));
        QApplication::sendEvent(editor.edtOne, &typed);
        QAbstractButton *sex = editor.rgpDanjo->button(e.sex);
        QTest::mouseClick(sex, Qt::LeftButton, {}, sex->rect().center());
        QTest::mouseClick(editor.btnChange, Qt::LeftButton, {}, editor.btnChange->rect().center());
    }
}

TEST_F(RosterSaveWaits, TheEditorSavesWhateverTheTeacherDoesDuringTheWait) {
    folder.writeRoster(3, {{1, "山田　太郎", "男"}, {2, "佐藤 花子", "女"}, {4, "田中 次郎", "男"}});
    const std::string roster = folder.roster(3);
    const std::string original = FileBytes(roster);
    dorv::TfrmNameEdit editor;
    editor.setGrade(3);

    std::vector<dorv::testing::UserAction> actions;
    const int undisturbedResult = rostertest::OpenAndRun(editor, [&] {
        ChangeTwoNames(editor);
        actions = dorv::testing::UserActionsOn(editor);
        ASSERT_TRUE(dorv::testing::ClickButton(editor, "保存して終了"));
    });
    ASSERT_EQ(undisturbedResult, QDialog::Accepted);
    ASSERT_TRUE(boxes.errors.empty()) << boxTexts();
    const std::string saved = FileBytes(roster);
    ASSERT_NE(saved, original);
    ASSERT_EQ(rostertest::ReadCells(roster).at({1, 2, 1}), "林　　　花　子");  // the typing reached the roster
    ASSERT_EQ(NamesOf(actions),
              (std::vector<std::string>{"button 男子", "button 女子", "button 変更", "button １行削除",
                                        "button すべて変換⇒７文字", "button 保存して終了", "button 保存しないで終了",
                                        "Escape", "Enter", "typing", "click into grid 1", "window manager close"}));

    for (const dorv::testing::UserAction &action : actions) {
        SCOPED_TRACE(action.name);
        rostertest::WriteBytes(roster, original);
        clearBoxes();
        dorv::testing::WaitRun run;
        bool openInWait = false;
        bool closed = false;
        const int result = rostertest::OpenAndRun(editor, [&] {
            ChangeTwoNames(editor);
            dorv::testing::LockHeldElsewhere lock(roster);
            run = dorv::testing::SaveThroughAWait(
                wait, lock, [&] { dorv::testing::ClickButton(editor, "保存して終了"); },
                [&] {
                    action.act(editor);
                    openInWait = editor.isVisible();
                });
            closed = !editor.isVisible();
        });
        EXPECT_TRUE(run.waited);
        EXPECT_TRUE(run.actedInside);
        EXPECT_EQ(run.notice, waitingFor("名簿.xls"));
        EXPECT_TRUE(openInWait);
        EXPECT_TRUE(closed);
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_TRUE(boxes.errors.empty() && boxes.messages.empty()) << boxTexts();
        EXPECT_FALSE(wait.isVisible());
        EXPECT_EQ(editor.nameData(), nullptr);
        EXPECT_TRUE(FileBytes(roster) == saved);
    }
}

// The main window with its editor, as the program sets them up.
class CreationWaits : public RosterSaveWaits {
protected:
    // A grade button pressed for real; every opening of the editor is
    // counted and closed without saving once it is up, and the version
    // window, which no click may open here, is closed if it appears.
    struct Press {
        int editorOpenings = 0;
        int editorClasses = 0;
        bool versionShown = false;
    };
    Press pressGrade(const QString &caption, const std::function<void(const std::function<void()> &)> &around) {
        Press press;
        bool editorUp = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (version->isVisible()) {
                press.versionShown = true;
                version->done(0);
            }
            if (!editor->isRunning() || !editor->isVisible()) {
                editorUp = false;
                return;
            }
            if (editorUp) return;
            editorUp = true;
            ++press.editorOpenings;
            press.editorClasses = editor->classCount();
            editor->btnExit->click();
        });
        watch.start(5);
        around([&] { dorv::testing::ClickButton(*main, caption); });
        watch.stop();
        return press;
    }

    rostertest::NameProgram program{folder.root()};
    dorv::TfrmDorvName *main = program.main.get();
    dorv::TfrmNameEdit *editor = program.editor.get();
    dorv::TfrmVersion *version = program.version.get();
};

TEST_F(CreationWaits, ARosterCreatedWhateverTheTeacherDoesDuringTheWait) {
    const std::string roster = folder.roster(2);  // grade 2 has six classes and no roster yet
    ASSERT_FALSE(fs::exists(roster));

    std::vector<dorv::testing::UserAction> actions;
    Press undisturbed;
    rostertest::OpenAndRun(*main, [&] {
        actions = dorv::testing::UserActionsOn(*main);
        undisturbed = pressGrade("２年名簿編集", [](const std::function<void()> &click) { click(); });
        EXPECT_TRUE(main->isVisible());
    });
    ASSERT_EQ(undisturbed.editorOpenings, 1);
    ASSERT_EQ(undisturbed.editorClasses, 6);
    ASSERT_TRUE(boxes.errors.empty()) << boxTexts();
    const std::string created = FileBytes(roster);
    ASSERT_EQ(rostertest::ReadCells(roster).at({1, 252, 0}), "642");
    ASSERT_EQ(dorv::CreationLockPath(), folder.file(".Hinagata.lock"));
    ASSERT_EQ(NamesOf(actions),
              (std::vector<std::string>{"button １年名簿編集", "button ２年名簿編集", "button ３年名簿編集",
                                        "button 本ソフトについて", "button 終了", "Escape", "Enter", "typing",
                                        "window manager close"}));

    for (const dorv::testing::UserAction &action : actions) {
        SCOPED_TRACE(action.name);
        fs::remove(roster);
        clearBoxes();
        dorv::testing::WaitRun run;
        Press press;
        bool openInWait = false;
        bool mainOpen = false;
        rostertest::OpenAndRun(*main, [&] {
            dorv::testing::LockHeldElsewhere lock(folder.file(".Hinagata.lock"),
                                                  dorv::WorkbookLock::OpenMode::CreateForWriting);
            press = pressGrade("２年名簿編集", [&](const std::function<void()> &click) {
                run = dorv::testing::SaveThroughAWait(wait, lock, click, [&] {
                    action.act(*main);
                    openInWait = main->isVisible();
                });
            });
            mainOpen = main->isVisible();
        });
        EXPECT_TRUE(run.waited);
        EXPECT_TRUE(run.actedInside);
        EXPECT_EQ(run.notice, waitingFor("Hinagata.xls"));
        EXPECT_TRUE(openInWait);
        EXPECT_TRUE(mainOpen);
        EXPECT_EQ(press.editorOpenings, 1);
        EXPECT_EQ(press.editorClasses, 6);
        EXPECT_FALSE(press.versionShown);
        EXPECT_TRUE(boxes.errors.empty() && boxes.messages.empty()) << boxTexts();
        EXPECT_FALSE(wait.isVisible());
        EXPECT_TRUE(FileBytes(roster) == created);
        EXPECT_FALSE(fs::exists(folder.hinagata()));
        EXPECT_FALSE(fs::exists(folder.file(".Hinagata.lock")));
        for (int grade : {1, 3}) EXPECT_FALSE(fs::exists(folder.roster(grade))) << grade;
    }
}

}  // namespace
