#include "print/one_sheet_group.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "print/sheet_loop.h"
#include "schooldata/desktop/fonts.h"
#include "schooldata/desktop/form.h"
#include "schooldata/desktop/services.h"

namespace dorv {

TOneSheetGroup::TOneSheetGroup(QWidget *parent, int left, int top, int width) {
    gbxPrintOne = new QGroupBox("１枚印刷", parent);
    gbxPrintOne->setObjectName("gbxPrintOne");
    gbxPrintOne->setGeometry(left, top, width, 113);
    SetUiFont(gbxPrintOne, kMsPGothic, 16);
    SetTextColour(gbxPrintOne, Qt::white);

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
}

std::optional<std::pair<int, int>> TOneSheetGroup::ClassNumber(QWidget *form, int classCount) const {
    const auto classNumber =
        OneSheetClassNumber(edtClass->text().toStdString(), edtNumber->text().toStdString(), classCount);
    if (!classNumber)
        Services().showMessage(form, QString::fromUtf8(kBadClassNumberMessage.data(),
                                                       static_cast<qsizetype>(kBadClassNumberMessage.size())));
    return classNumber;
}

}  // namespace dorv
