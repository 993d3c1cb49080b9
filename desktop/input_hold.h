// While a workbook operation waits, the windows keep painting but nothing
// the teacher does reaches a form: a click, a key, the wheel or the window
// manager's close would otherwise run a form's handlers in the middle of
// the save that the form's data is being written from.
#pragma once

#include <QObject>

namespace dorv {

// Holds the user's input away from every window of the application for as
// long as it lives; holds nest.
class UserInputHold : public QObject {
public:
    UserInputHold();
    ~UserInputHold() override;
    UserInputHold(const UserInputHold &) = delete;
    UserInputHold &operator=(const UserInputHold &) = delete;

    // True for the events of the user's input and for a window's close,
    // which a hold swallows.
    static bool isUserInput(const QEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace dorv
