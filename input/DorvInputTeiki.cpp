#include "input/DorvInputTeiki.h"

#include "dialogs/DorvSelectTeiki.h"
#include "schooldata/globals.h"
#include "schooldata/test_names.h"

#include <QApplication>
#include <QPalette>

namespace dorv {

TfrmDorvInputTeiki *frmDorvInputTeiki = nullptr;

namespace {

SotenFormDesign TeikiDesign() {
    SotenFormDesign d;
    d.objectName = "frmDorvInputTeiki";
    d.caption = "Dorv成績処理－定期テストの素点の入力";
    d.background = QApplication::palette().color(QPalette::Highlight);
    d.width = 896;
    d.height = 669;
    d.subjectColumns = 11;
    d.gridWidth = 467;
    d.gridName = "sgrInputTeiki";
    d.panelName = "pnlInputTeiki";
    d.editName = "edtInputTeiki";
    d.spinName = "sbtInputTeiki";
    d.closeText = "保存して終了";
    d.closeWidth = 131;
    d.testKind = 0;
    d.sumsTechHome = true;
    d.tintsPhysEd = true;
    return d;
}

}  // namespace

TfrmDorvInputTeiki::TfrmDorvInputTeiki(QWidget *parent) : TfrmDorvInputSoten(TeikiDesign(), parent) {}

void TfrmDorvInputTeiki::selectTest() {
    if (frmSelectTeiki) frmSelectTeiki->run();
}

const TTestNameSet *TfrmDorvInputTeiki::testNames() const { return CurTeikiTestName; }

}  // namespace dorv
