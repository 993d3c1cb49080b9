#include "print/forms/StudentSheetForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/services.h"
#include "print/pages/sheet_loop.h"
#include "schooldata/access.h"
#include "schooldata/name_data.h"

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

    gbxPrintOne = new QGroupBox("１枚印刷", this);
    gbxPrintOne->setObjectName("gbxPrintOne");
    gbxPrintOne->setGeometry(24, 80, layout.groupWidth, 113);
    SetUiFont(gbxPrintOne, kMsPGothic, 16);
    SetCaptionColour(gbxPrintOne, Qt::white);

    edtClass = new QLineEdit(gbxPrintOne);
    edtClass->setObjectName("edtClass");
    edtClass->setGeometry(16, 32, 25, 24);
    lblClass = new QLabel("組", gbxPrintOne);
    lblClass->setObjectName("lblClass");
    lblClass->move(48, 40);
    edtNumber = new QLineEdit(gbxPrintOne);
    edtNumber->setObjectName("edtNumber");
    edtNumber->setGeometry(72, 32, 33, 24);
    lblNumber = new QLabel("番", gbxPrintOne);
    lblNumber->setObjectName("lblNumber");
    lblNumber->move(112, 40);
    for (QWidget *w : {static_cast<QWidget *>(edtClass), static_cast<QWidget *>(lblClass),
                       static_cast<QWidget *>(edtNumber), static_cast<QWidget *>(lblNumber)})
        SetUiFont(w, kMsPGothic, 12);

    btnPrintOne = new QPushButton("印刷実行", gbxPrintOne);
    btnPrintOne->setObjectName("btnPrintOne");
    btnPrintOne->setGeometry(80, 72, 75, 25);
    SetUiFont(btnPrintOne, kMsPGothic, 12);
    connect(btnPrintOne, &QPushButton::clicked, this, Guarded([this] { btnPrintOneClick(); }, this));

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(160, 216, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, &TStudentSheetForm::reject);
    setCancelButton(btnClose);
}

std::optional<std::pair<int, int>> TStudentSheetForm::ClassNumber(int classCount) {
    const auto classNumber =
        OneSheetClassNumber(edtClass->text().toStdString(), edtNumber->text().toStdString(), classCount);
    if (!classNumber)
        Services().showMessage(this, QString::fromUtf8(kBadClassNumberMessage.data(),
                                                       static_cast<qsizetype>(kBadClassNumberMessage.size())));
    return classNumber;
}

bool TStudentSheetForm::HasStudent(const TNameData &names, int classNo, int number) {
    if (!names.Names[SlotOf(classNo, number)].empty()) return true;
    Services().showMessage(
        this, QStringLiteral("%1組%2番には生徒がいないため、印刷するものがありません").arg(classNo).arg(number));
    return false;
}

bool TStudentSheetForm::HasStudents(const TNameData &names, int classCount, int grade) {
    if (AnyStudent(names, classCount)) return true;
    Services().showMessage(this, QStringLiteral("%1年には生徒がいないため、印刷するものがありません").arg(grade));
    return false;
}

}  // namespace dorv
