#include "input/DorvInputHyotei.h"

#include "dialogs/DorvSelectHyotei.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/settings.h"

namespace dorv {

TfrmDorvInputHyotei *frmDorvInputHyotei = nullptr;

namespace {

HyoteiFormDesign HyoteiDesign() {
    HyoteiFormDesign d;
    d.objectName = "frmDorvInputHyotei";
    d.caption = "Dorv成績処理－評定の入力－";
    d.border = Form::Border::Dialog;
    d.width = 767;
    d.height = 672;
    d.titleWidth = 192;
    d.gridName = "sgrInputHyotei";
    d.editName = "edtInputHyotei";
    d.spinName = "sbtInputHyotei";
    d.titleName = "lblHyoteiName";
    d.kantenWorkbook = TKantenData::kTermWorkbook;
    d.isYouroku = 0;
    d.zeroWithMarks = false;
    return d;
}

}  // namespace

TfrmDorvInputHyotei::TfrmDorvInputHyotei(QWidget *parent) : TfrmDorvInputHyoteiForm(HyoteiDesign(), parent) {}

bool TfrmDorvInputHyotei::selectGrade() { return frmSelectHyotei && frmSelectHyotei->run() == QDialog::Accepted; }

QString TfrmDorvInputHyotei::titleText() const {
    const std::string_view term = SelectedTerm >= 1 && SelectedTerm <= 3 ? HyoteiFileNames[SelectedTerm] : "";
    return QString::number(SelectedGrade) + "年  " +
           QString::fromUtf8(term.data(), static_cast<qsizetype>(term.size()));
}

}  // namespace dorv
