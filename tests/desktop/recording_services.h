// Services for the form and print tests: messages and errors are recorded
// instead of shown, beeps are counted, "today", the login and host names and
// the spreadsheet check are set by the test. Installed for the object's
// lifetime.
#pragma once

#include "desktop/services.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <string>

namespace dorv::testing {

class RecordingServices : public DesktopServices {
public:
    RecordingServices() { SetServices(this); }
    explicit RecordingServices(QDate today) : date(today) { SetServices(this); }
    ~RecordingServices() override { SetServices(nullptr); }
    RecordingServices(const RecordingServices &) = delete;
    RecordingServices &operator=(const RecordingServices &) = delete;

    void showMessage(QWidget *, const QString &text) override { messages << text; }
    void showError(QWidget *, const QString &text) override { errors << text; }
    void beep() override { ++beeps; }
    QDate today() override { return date; }
    std::string loginName() override { return login; }
    std::string hostName() override { return host; }
    bool isExcelRunning() override { return excelRunning; }

    QStringList messages;
    QStringList errors;
    int beeps = 0;
    QDate date{2026, 9, 1};
    std::string login = "1001";
    std::string host = "school-pc";
    bool excelRunning = false;
};

}  // namespace dorv::testing
