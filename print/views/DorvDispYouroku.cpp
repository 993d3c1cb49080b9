#include "print/views/DorvDispYouroku.h"

#include "schooldata/kanten_data.h"

namespace dorv {

TfrmDispYouroku *frmDispYouroku = nullptr;

namespace {

// The desktop colour of the school's machines.
const QColor kDesktop{0, 128, 128};

}  // namespace

TfrmDispYouroku::TfrmDispYouroku(QWidget *parent)
    : TfrmDispHyotei({"frmDispYouroku", "frmDispYouroku", kDesktop, TKantenData::kRegisterWorkbook, 1}, parent) {}

}  // namespace dorv
