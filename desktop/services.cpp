#include "desktop/services.h"

#include "schooldata/settings.h"

#include <QApplication>
#include <QMessageBox>

namespace dorv {

namespace {

DesktopServices &systemServices() {
    static DesktopServices services;
    return services;
}

DesktopServices *current = nullptr;

void oneButtonBox(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void DesktopServices::showMessage(QWidget *parent, const QString &text) {
    oneButtonBox(parent, QMessageBox::NoIcon, text);
}

void DesktopServices::showError(QWidget *parent, const QString &text) {
    oneButtonBox(parent, QMessageBox::Critical, text);
}

void DesktopServices::beep() { QApplication::beep(); }

QDate DesktopServices::today() { return QDate::currentDate(); }

std::string DesktopServices::loginName() { return DefaultLoginName(); }

std::string DesktopServices::hostName() { return DefaultHostName(); }

bool DesktopServices::isExcelRunning() { return IsExcelRunning(); }

DesktopServices &Services() { return current ? *current : systemServices(); }

void SetServices(DesktopServices *services) { current = services; }

}  // namespace dorv
