// DorvName: the roster program.
#include "desktop/application.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvVersion.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"

int main(int argc, char **argv) {
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();

    // The three forms, in this order, live for the whole run.
    dorv::TfrmDorvName frmDorvName;
    dorv::TfrmNameEdit frmNameEdit(&frmDorvName);
    dorv::TfrmVersion version(&frmDorvName);
    dorv::frmVersion = &version;
    // Shown only while a save or creation waits for a file another program holds.
    dorv::TfrmWait wait;
    frmDorvName.setForms(&frmNameEdit, &version);
    frmDorvName.run();
    dorv::frmVersion = nullptr;
    return 0;
}
