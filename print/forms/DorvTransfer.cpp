#include "print/forms/DorvTransfer.h"

#include <QPushButton>

#include <algorithm>
#include <iterator>

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "dialogs/DorvInputWait.h"
#include "print/export/henkan_export.h"
#include "schooldata/excel_service.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"

namespace dorv {

TfrmHenkan *frmHenkan = nullptr;

namespace {

bool HaveDataObjects() { return CurKurasuSuData && CurNameData && CurHyoteiData; }

}  // namespace

TfrmHenkan::TfrmHenkan(QWidget *parent) : Form(parent) {
    setObjectName("frmHenkan");
    setBorder(Border::Dialog);
    setWindowTitle("C4th変換");
    setClientSize(343, 196);
    setBackground(QColor(128, 0, 0));
    SetUiFont(this, kMsPGothic, 12);

    btnHenkan = new QPushButton("C4th用に変換", this);
    btnHenkan->setObjectName("btnHenkan");
    SetUiFont(btnHenkan, kMsPGothic, 16);
    btnHenkan->setGeometry(48, 40, 145, 81);
    connect(btnHenkan, &QPushButton::clicked, this, Guarded([this] { btnHenkanClick(); }, this));

    btnClose = new QPushButton("閉じる", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(240, 128, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
    setCancelButton(btnClose);
}

void TfrmHenkan::formShow() {
    try {
        if (!HaveDataObjects()) throw ExcelError("データが用意されていません");
        CurKurasuSuData->LoadKurasuSu();
        ClassCountOfGrade = SelectedGrade >= 1 && SelectedGrade <= 3 ? CurKurasuSuData->GradeClasses[SelectedGrade] : 0;
        CurNameData->LoadMeibo(ClassCountOfGrade);
        CurHyoteiData->LoadHyotei(ClassCountOfGrade);
    } catch (...) {
        // Half-loaded data must never reach the external system: the form
        // does not open.
        done(QDialog::Rejected);
        throw;
    }
}

void TfrmHenkan::btnHenkanClick() {
    if (!HaveDataObjects()) throw ExcelError("データが用意されていません");
    {
        BusyScope busy(frmWait);
        std::copy(std::begin(CurNameData->Exists), std::end(CurNameData->Exists), std::begin(CurHyoteiData->Exists));
        busy.progress(33);
        ExportHenkan(*CurHyoteiData, ClassCountOfGrade);
        busy.progress(66);
    }
    accept();
}

void TfrmHenkan::btnCloseClick() { reject(); }

}  // namespace dorv
