// What the roster's form tests share: the application object on the
// offscreen platform, recorded message and error boxes, and running one
// modal opening of a form with the test's steps inside it.
#pragma once

#include "desktop/form.h"
#include "desktop/services.h"

#include <QString>

#include <functional>
#include <vector>

namespace rostertest {

class RecordedBoxes : public dorv::DesktopServices {
public:
    void showMessage(QWidget *, const QString &text) override { messages.push_back(text); }
    void showError(QWidget *, const QString &text) override { errors.push_back(text); }
    void beep() override {}
    std::vector<QString> messages;
    std::vector<QString> errors;
};

// Puts `boxes` in place of the system's (the application object comes from
// the form tests' main).
void InitQt(RecordedBoxes &boxes);

// One opening of `form`: `steps` run once the modal loop is up; a form they
// leave open is closed afterwards; a form whose show step closes it runs
// none of them. Returns the form's result.
int OpenAndRun(dorv::Form &form, const std::function<void()> &steps);

}  // namespace rostertest
