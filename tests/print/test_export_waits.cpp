// The C4th export run while another process holds the conversion workbook,
// with each action a teacher can take on the conversion form during the
// wait (its buttons, Escape, Enter, typing, the window manager's close):
// nothing of it reaches the form, the workbook holds exactly what an
// undisturbed export writes, and the form ends as it would have.
#include "export_form_fixture.h"
#include "held_lock.h"
#include "modal.h"
#include "save_wait.h"

#include "../workbook/biff8_test_support.h"
#include "schooldata/access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace dorv {
namespace {

using testing::PressAndAct;
using testing::RunModal;

class ExportWaits : public testing::ExportForm {
protected:
    void SetUp() override {
        testing::ExportForm::SetUp();
        SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(10000)});
    }
    void TearDown() override {
        SetRetryTiming({});
        testing::ExportForm::TearDown();
    }

    // One export of term 1 of grade 1 from the main menu: `inForm` runs in
    // the open conversion form and presses C4th用に変換 itself.
    struct Outcome {
        bool opened = false;
        bool closed = false;
        int result = -1;
    };
    Outcome exportTerm(const std::function<void()> &inForm) {
        Outcome o;
        RunModal(menu, [&] {
            SelectTerm(1, 1);
            o.opened = PressAndAct(menu.btnHenkan, henkan, [&] {
                inForm();
                o.closed = !henkan.isVisible();
            });
            o.result = henkan.result();
        });
        return o;
    }
};

std::vector<std::string> NamesOf(const std::vector<testing::UserAction> &actions) {
    std::vector<std::string> names;
    for (const auto &a : actions) names.push_back(a.name);
    return names;
}

TEST_F(ExportWaits, TheExportWritesWhateverTheTeacherDoesDuringTheWait) {
    const std::filesystem::path out = GradeFile(1, "変換/１学期評定.xls");
    const std::string original = testing::ReadBytes(out);

    std::vector<testing::UserAction> actions;
    const Outcome undisturbed = exportTerm([&] {
        actions = testing::UserActionsOn(henkan);
        ASSERT_TRUE(testing::ClickButton(henkan, "C4th用に変換"));
    });
    ASSERT_TRUE(undisturbed.opened);
    ASSERT_TRUE(undisturbed.closed);
    ASSERT_EQ(undisturbed.result, QDialog::Accepted);
    ASSERT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
    const QStringList successMessages = services.messages;
    const std::string exported = testing::ReadBytes(out);
    ASSERT_NE(exported, original);
    ASSERT_EQ(NamesOf(actions), (std::vector<std::string>{"button C4th用に変換", "button 閉じる", "Escape", "Enter",
                                                          "typing", "window manager close"}));

    for (const testing::UserAction &action : actions) {
        SCOPED_TRACE(action.name);
        testing::WriteBytes(out, original);
        services.errors.clear();
        services.messages.clear();
        testing::WaitRun run;
        bool openInWait = false;
        const Outcome o = exportTerm([&] {
            testing::LockHeldElsewhere lock(out.string());
            run = testing::SaveThroughAWait(
                wait, lock, [&] { testing::ClickButton(henkan, "C4th用に変換"); },
                [&] {
                    action.act(henkan);
                    openInWait = henkan.isVisible();
                });
        });
        ASSERT_TRUE(o.opened);
        EXPECT_TRUE(run.waited);
        EXPECT_TRUE(run.actedInside);
        EXPECT_EQ(run.notice, QString("１学期評定.xls が空くのを待っています"));
        EXPECT_TRUE(openInWait);
        EXPECT_TRUE(o.closed);
        EXPECT_EQ(o.result, QDialog::Accepted);
        EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
        EXPECT_EQ(services.messages, successMessages);
        EXPECT_FALSE(wait.isVisible());
        EXPECT_TRUE(testing::ReadBytes(out) == exported);
    }
}

}  // namespace
}  // namespace dorv
