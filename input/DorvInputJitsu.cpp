#include "input/DorvInputJitsu.h"

#include "desktop/form.h"
#include "dialogs/DorvSelectJitsu.h"
#include "schooldata/globals.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmDorvInputJitsu *frmDorvInputJitsu = nullptr;

namespace {

SotenFormDesign JitsuDesign() {
    SotenFormDesign d;
    d.objectName = "frmDorvInputJitsu";
    d.caption = "実力テストの素点の入力";
    d.background = colours::navy;
    d.width = 760;
    d.height = 673;
    d.subjectColumns = 5;
    d.gridWidth = 305;
    d.gridName = "sgrInputJitsu";
    d.panelName = "pnlInputJitsu";
    d.editName = "edtInputJitsu";
    d.spinName = "sbtINputJitsu";
    d.closeText = "終了";
    d.closeWidth = 91;
    d.testKind = 1;
    d.formDoubleClickSelects = true;
    return d;
}

}  // namespace

TfrmDorvInputJitsu::TfrmDorvInputJitsu(QWidget *parent) : TfrmDorvInputSoten(JitsuDesign(), parent) {}

void TfrmDorvInputJitsu::selectTest() {
    if (frmSelectJitsu) frmSelectJitsu->run();
}

const TTestNameSet *TfrmDorvInputJitsu::testNames() const { return CurJitsuTestName; }

}  // namespace dorv
