// Saving through a wait for another writer while the teacher keeps
// clicking: the actions a teacher can take on an open form, and a save run
// with its workbook's lock held by another process until an action has been
// tried inside the wait.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace dorv {
class TfrmWait;
}

namespace dorv::testing {

class LockHeldElsewhere;

struct UserAction {
    std::string name;
    std::function<void(QWidget &form)> act;
};

// Every action a teacher can take on `form` as it is now: a click on each
// visible, enabled button (found again by its caption when acted), Escape,
// Enter, typing digits and letters with Enter into the focused widget, a
// click into every grid, the window manager's close.
std::vector<UserAction> UserActionsOn(QWidget &form);

struct WaitRun {
    bool waited = false;  // the busy window named the file while the save waited
    QString notice;       // the line it showed
    bool actedInside = false;
};

// Runs `save` (the teacher's click that saves) with `lock` held; once the
// busy window names the file, runs `during`, lets events flow for a while
// and releases the lock, so that the save goes on.
WaitRun SaveThroughAWait(TfrmWait &wait, LockHeldElsewhere &lock, const std::function<void()> &save,
                         const std::function<void()> &during);

// A real click (press and release through the application) on the button
// of `form` with this caption; false when there is none.
bool ClickButton(QWidget &form, const QString &caption);

}  // namespace dorv::testing
