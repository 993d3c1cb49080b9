#include "dialogs/DorvVersion.h"

#include "desktop/fonts.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace dorv {

TfrmVersion *frmVersion = nullptr;

namespace {

// The program's mark: a white "D" on a navy tile.
QPixmap programMark() {
    QPixmap pixmap(33, 33);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours::navy);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 32, 32), 5, 5);
    p.setPen(Qt::white);
    p.setFont(UiFont(kMsGothic, 24, true));
    p.drawText(QRect(0, 0, 33, 33), Qt::AlignCenter, "D");
    return pixmap;
}

}  // namespace

TfrmVersion::TfrmVersion(QWidget *parent) : Form(parent) {
    setObjectName("frmVersion");
    setBorder(Border::Dialog);
    setWindowTitle("バージョン情報");
    setClientSize(274, 162);
    setBackground(colours::buttonFace());
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    SetUiFont(lblTitle, kMsPGothic, 16);
    lblTitle->move(32, 24);

    lblDiscription = new QLabel("ノルベ市教育情報ネットワーク対応", this);
    lblDiscription->setObjectName("lblDiscription");
    lblDiscription->move(32, 56);
    lblDiscription->adjustSize();

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(40, 96, 33, 33);
    Image1->setPixmap(programMark());

    btnClose = new QPushButton("閉じる", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(168, 120, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, &TfrmVersion::accept);
}

void TfrmVersion::formShow() {
    lblTitle->setText("成績処理Dorv Ver.1.12");
    lblTitle->adjustSize();
    centreOnScreen();
}

}  // namespace dorv
