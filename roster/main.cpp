// DorvName: the roster program.
#include "desktop/application.h"
#include "roster/DorvNameEdit.h"
#include "roster/DorvNameMain.h"
#include "schooldata/dialogs/DorvVersion.h"

int main(int argc, char **argv) {
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();

    // The three forms, in this order, live for the whole run.
    dorv::TfrmDorvName frmDorvName;
    dorv::TfrmNameEdit frmNameEdit(&frmDorvName);
    dorv::TfrmVersion version(&frmDorvName);
    dorv::frmVersion = &version;
    frmDorvName.setForms(&frmNameEdit, &version);
    frmDorvName.run();
    dorv::frmVersion = nullptr;
    return 0;
}
