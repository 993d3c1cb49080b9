// What the forms need from the machine and the user's desktop, behind one
// replaceable object: the one-button message and error boxes, the beep,
// today's date, the login and host names and the spreadsheet-running check.
// Tests put in their own to record messages and to set "today" and the
// login.
#pragma once

#include <QDate>
#include <QString>

#include <string>

class QWidget;

namespace dorv {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // One-button box titled with the application's name; returns when closed.
    virtual void showMessage(QWidget *parent, const QString &text);
    // The application's error box (one button, stop icon).
    virtual void showError(QWidget *parent, const QString &text);
    virtual void beep();
    virtual QDate today();
    // LOGNAME, else USER, else the password database entry of the user.
    virtual std::string loginName();
    virtual std::string hostName();
    virtual bool isExcelRunning();
};

DesktopServices &Services();
// Puts `services` in place (not owned); nullptr brings back the system ones.
void SetServices(DesktopServices *services);

}  // namespace dorv
