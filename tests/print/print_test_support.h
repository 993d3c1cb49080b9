// What the printed-sheet tests share: the recording desktop services, the
// build's bin/ folder, and a copy of a written PDF kept in the build tree for
// looking at.
#pragma once

#include "tests/desktop/recording_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

namespace dorv::testing {

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
