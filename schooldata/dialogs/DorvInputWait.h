// The busy window the forms show while they load: a frameless box with a
// progress bar, always on top, centred on the screen.
#pragma once

#include "desktop/form.h"

class QLabel;
class QProgressBar;

namespace dorv {

class TfrmWait : public Form {
    Q_OBJECT

public:
    explicit TfrmWait(QWidget *parent = nullptr);

    // Shows the window, progress 0, painted at once.
    void showBusy();
    // Sets the bar and paints it at once.
    void setProgress(int percent);
    void hideBusy();

    QLabel *lblWait;
    QProgressBar *prbWait;
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
