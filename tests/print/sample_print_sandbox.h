// The ground of an end-to-end print test: the sample school written into a
// fresh folder that becomes the work drive, a fresh home for the PDFs, and
// the recording desktop services installed. Everything is put back when the
// sandbox goes.
#pragma once

#include "print_test_support.h"
#include "schooldata/settings.h"
#include "tests/desktop/recording_services.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

namespace dorv::testing {

// HOME (and the configuration folder) moved to a fresh folder, so that a
// job without a printer writes its PDF into <home>/Documents/Dorv; HOME is
// put back when it goes.
class PdfHome {
public:
    PdfHome() {
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
    }
    ~PdfHome() { qputenv("HOME", savedHome_); }
    PdfHome(const PdfHome &) = delete;
    PdfHome &operator=(const PdfHome &) = delete;

    bool Ready() const { return home_.isValid(); }
    QString File(const QString &name) const { return home_.filePath(name); }
    // The PDFs written so far, by name.
    QStringList Pdfs() const {
        const QDir out(home_.filePath("Documents/Dorv"));
        QStringList paths;
        for (const QString &name : out.entryList({"*.pdf"}, QDir::Files, QDir::Name)) paths << out.filePath(name);
        return paths;
    }

private:
    QTemporaryDir home_;
    QByteArray savedHome_;
};

class SamplePrintSandbox {
public:
    explicit SamplePrintSandbox(QDate today) : services(today) {
        const std::string command =
            BinDir().toStdString() + "/dorv-sample-school '" + drive_.path().toStdString() + "' > /dev/null";
        ready_ = drive_.isValid() && home_.Ready() && std::system(command.c_str()) == 0;
        WorkDrive = drive_.path().toStdString();
        SchoolName = "ノルベ市立中学校";
        SchoolSection = "学習指導部";
    }
    SamplePrintSandbox(const SamplePrintSandbox &) = delete;
    SamplePrintSandbox &operator=(const SamplePrintSandbox &) = delete;

    bool Ready() const { return ready_; }
    // The data folder of a grade ("１年生" for 1).
    QString GradeFolder(int grade) const {
        return QDir(drive_.path())
            .filePath(QString("Dorv/Data/") + QString::fromStdString(std::string(GakunenFolders[grade])));
    }
    QString HomeFile(const QString &name) const { return home_.File(name); }
    QStringList Pdfs() const { return home_.Pdfs(); }

    RecordingServices services;

private:
    QTemporaryDir drive_;
    PdfHome home_;
    bool ready_ = false;
};

}  // namespace dorv::testing
