// The ground of an end-to-end print test: the sample school written into a
// fresh folder that becomes the work drive, a fresh home for the PDFs, and
// the recording desktop services installed. Everything is put back when the
// sandbox goes.
#pragma once

#include "pdf_home.h"
#include "print_test_support.h"
#include "schooldata/settings.h"
#include "tests/desktop/recording_services.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace dorv::testing {

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
    // The folder the work drive points at.
    std::filesystem::path Drive() const { return drive_.path().toStdString(); }
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
