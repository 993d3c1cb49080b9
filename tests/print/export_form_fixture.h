// The C4th conversion form opened from the main menu of the display
// program on the sample school, with the selection dialogs and the busy
// window the program has, for the tests that drive the export end to end.
#pragma once

#include "recording_services.h"
#include "test_env.h"

#include "desktop/string_grid.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvVersion.h"
#include "print/forms/DorvPrintMain.h"
#include "print/forms/DorvTransfer.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace dorv::testing {

// Presses `button` and, once `dialog` is open and shown, runs `act`.
inline bool PressAndAct(QPushButton *button, Form &dialog, const std::function<void()> &act) {
    bool opened = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog.isRunning() || !dialog.isVisible()) return;
        poll.stop();
        opened = true;
        act();
    });
    poll.start();
    button->click();
    poll.stop();
    return opened;
}

class ExportForm : public ::testing::Test {
protected:
    void SetUp() override {
        school = MakeSampleSchool("dorv-export-form-school");
        dir = std::filesystem::temp_directory_path() / ("dorv-export-form-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "Dorv.INI") << "[School]\nName=ノルベ第二中学校\n[Work]\ndrive=" << school.string() << "\n";
        SetExeDirSource([this] { return dir.string() + "/"; });
        TfrmDorvPrint::OutputForms outputs;
        outputs.henkan = &henkan;
        menu.setOutputForms(outputs);
    }
    void TearDown() override {
        ResetEnvironmentSources();
        std::filesystem::remove_all(dir);
        std::filesystem::remove_all(school);
    }

    void SelectTerm(int grade, int term) {
        EXPECT_TRUE(PressAndAct(menu.btnSelectHyotei, hyotei, [&] {
            hyotei.sgrHyoteiName->setCurrentCell(grade - 1, term);
            hyotei.btnOK->click();
        }));
    }
    void SelectRegister(int grade) {
        EXPECT_TRUE(PressAndAct(menu.btnSelectYouroku, gakunen, [&] {
            gakunen.rgrGakunen->button(grade - 1)->click();
            gakunen.btnOK->click();
        }));
    }
    std::filesystem::path GradeFile(int grade, const std::string &name) const {
        return school / "Dorv/Data" / std::string(GakunenFolders[grade]) / name;
    }

    std::filesystem::path school, dir;
    RecordingServices services;
    TfrmWait wait;
    TfrmSelectHyotei hyotei;
    TfrmSelectGakunen gakunen;
    TfrmVersion version;
    TfrmDorvPrint menu;
    TfrmHenkan henkan;

    struct Globals {
        explicit Globals(ExportForm *t) {
            frmWait = &t->wait;
            frmSelectHyotei = &t->hyotei;
            frmSelectGakunen = &t->gakunen;
            frmVersion = &t->version;
            frmHenkan = &t->henkan;
        }
        ~Globals() {
            frmWait = nullptr;
            frmSelectHyotei = nullptr;
            frmSelectGakunen = nullptr;
            frmVersion = nullptr;
            frmHenkan = nullptr;
        }
    } globals{this};
};

}  // namespace dorv::testing
