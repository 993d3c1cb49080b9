#include "qt_roster_env.h"

#include "dialogs/DorvVersion.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"
#include "roster_fixture.h"
#include "schooldata/settings.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace rostertest {

int OpenAndRun(dorv::Form &form, const std::function<void()> &steps) {
    bool ran = false;  // a form whose show step fails never runs the steps
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ran = true;
        steps();
        if (form.isVisible()) form.done(-1);
    });
    timer.start(0);
    const int result = form.run();
    timer.stop();
    (void)ran;
    return result;
}

NameProgram::NameProgram(const std::filesystem::path &root) : exeDir_(root.string() + "/") {
    WriteBytes(exeDir_ + "Dorv.INI", "[Work]\ndrive=" + root.string() + "\n[School]\nName=テスト市立第二中学校\n");
    dorv::SetExeDirSource([dir = exeDir_] { return dir; });
    main = std::make_unique<dorv::TfrmDorvName>();
    editor = std::make_unique<dorv::TfrmNameEdit>(main.get());
    version = std::make_unique<dorv::TfrmVersion>(main.get());
    main->setForms(editor.get(), version.get());
}

NameProgram::~NameProgram() {
    version.reset();
    editor.reset();
    main.reset();
    dorv::ResetEnvironmentSources();
    std::filesystem::remove(exeDir_ + "Dorv.INI");
}

}  // namespace rostertest
