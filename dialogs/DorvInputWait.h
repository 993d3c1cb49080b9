// The busy window the forms show while they load: a frameless box with a
// progress bar, always on top, centred on the screen. While a workbook
// operation waits for a file another program holds, the newest busy window
// names that file on a line of its own (and shows itself for the wait when
// the program had not).
#pragma once

#include "desktop/form.h"

#include <string>

class QLabel;
class QProgressBar;

namespace dorv {

class TfrmWait : public Form {
    Q_OBJECT

public:
    explicit TfrmWait(QWidget *parent = nullptr);
    ~TfrmWait() override;

    // Shows the window, progress 0, painted at once.
    void showBusy();
    // Sets the bar and paints it at once.
    void setProgress(int percent);
    void hideBusy();

    // The line naming the file waited for; an empty path ends the wait.
    void showWaitingFor(const std::string &path);

    QLabel *lblWait;
    QProgressBar *prbWait;
    QLabel *lblWaitFor;

private:
    bool shownForWait_ = false;  // shown by a wait, not by a form
};

// Shows the busy window for a scope and hides it on the way out, however
// the scope is left.
class BusyScope {
public:
    explicit BusyScope(TfrmWait *wait);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;
    void progress(int percent);

private:
    TfrmWait *wait_;
};

extern TfrmWait *frmWait;

}  // namespace dorv
