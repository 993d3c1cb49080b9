// What the printed-sheet tests share: desktop services that record the
// message and error boxes and fix "today", the build's bin/ folder, and a
// copy of a written PDF kept in the build tree for looking at.
#pragma once

#include "desktop/services.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>

namespace dorv::testing {

class RecordingServices : public DesktopServices {
public:
    explicit RecordingServices(QDate today = QDate(2026, 6, 15)) : today_(today) {}
    void showMessage(QWidget *, const QString &text) override { messages << text; }
    void showError(QWidget *, const QString &text) override { errors << text; }
    QDate today() override { return today_; }
    QStringList messages, errors;

private:
    QDate today_;
};

// Where dorv-sample-school is: DORV_BIN_DIR, else beside the test.
inline QString BinDir() {
    const QByteArray env = qgetenv("DORV_BIN_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromLocal8Bit(env);
}

// A copy in the build tree's "print-samples", to render and look at.
inline void KeepForLooking(const QString &pdf, const QString &name) {
    const QString folder = QDir(BinDir()).filePath("../print-samples");
    QDir().mkpath(folder);
    QFile::remove(QDir(folder).filePath(name));
    QFile::copy(pdf, QDir(folder).filePath(name));
}

}  // namespace dorv::testing
