#include "input/DorvInputYouroku.h"

#include "dialogs/DorvSelectGakunen.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"

namespace dorv {

TfrmDorvInputYouroku *frmDorvInputYouroku = nullptr;

namespace {

HyoteiFormDesign YourokuDesign() {
    HyoteiFormDesign d;
    d.objectName = "frmDorvInputYouroku";
    d.caption = "frmDorvInputYouroku";
    d.border = Form::Border::SizeableNoIcons;
    d.width = 774;
    d.height = 666;
    d.titleWidth = 215;
    d.gridName = "sgrInputYouroku";
    d.editName = "edtInputYouroku";
    d.spinName = "sbtInputYouroku";
    d.titleName = "lblYourokuName";
    d.kantenWorkbook = TKantenData::kRegisterWorkbook;
    d.isYouroku = 1;
    d.zeroWithMarks = true;
    return d;
}

}  // namespace

TfrmDorvInputYouroku::TfrmDorvInputYouroku(QWidget *parent) : TfrmDorvInputHyoteiForm(YourokuDesign(), parent) {}

bool TfrmDorvInputYouroku::selectGrade() { return frmSelectGakunen && frmSelectGakunen->run() == QDialog::Accepted; }

QString TfrmDorvInputYouroku::titleText() const { return QString::number(SelectedGrade) + "年  指導要録"; }

}  // namespace dorv
