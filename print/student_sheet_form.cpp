#include "print/student_sheet_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "print/one_sheet_group.h"
#include "schooldata/desktop/error_box.h"
#include "schooldata/desktop/fonts.h"

namespace dorv {

TStudentSheetForm::TStudentSheetForm(const TLayout &layout, QWidget *parent) : Form(parent) {
    setObjectName(layout.objectName);
    setBorder(Border::Dialog);
    setWindowTitle(QString::fromUtf8(layout.caption));
    setClientSize(layout.width, layout.height);
    setBackground(QColor(128, 0, 0));
    SetUiFont(this, kMsPGothic, 12);

    btnPrintOut = new QPushButton("すべて印刷実行", this);
    btnPrintOut->setObjectName("btnPrintOut");
    btnPrintOut->setGeometry(24, 16, layout.printOutWidth, 49);
    connect(btnPrintOut, &QPushButton::clicked, this, Guarded([this] { btnPrintOutClick(); }, this));

    one_ = std::make_unique<TOneSheetGroup>(this, 24, 80, layout.groupWidth);
    gbxPrintOne = one_->gbxPrintOne;
    edtClass = one_->edtClass;
    lblClass = one_->lblClass;
    edtNumber = one_->edtNumber;
    lblNumber = one_->lblNumber;
    btnPrintOne = one_->btnPrintOne;
    connect(btnPrintOne, &QPushButton::clicked, this, Guarded([this] { btnPrintOneClick(); }, this));

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(160, 216, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, &TStudentSheetForm::reject);
    setCancelButton(btnClose);
}

TStudentSheetForm::~TStudentSheetForm() = default;

std::optional<std::pair<int, int>> TStudentSheetForm::ClassNumber(int classCount) {
    return one_->ClassNumber(this, classCount);
}

}  // namespace dorv
