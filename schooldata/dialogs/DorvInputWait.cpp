#include "schooldata/dialogs/DorvInputWait.h"

#include "desktop/fonts.h"

#include <QLabel>
#include <QProgressBar>

namespace dorv {

TfrmWait *frmWait = nullptr;

TfrmWait::TfrmWait(QWidget *parent) : Form(parent) {
    setObjectName("frmWait");
    setWindowTitle("お知らせ");
    setBorder(Border::None);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    setClientSize(366, 105);
    setBackground(colours::teal);
    setCursor(Qt::WaitCursor);
    SetUiFont(this, kMsPGothic, 12);

    lblWait = new QLabel("しばらくお待ちください", this);
    lblWait->setObjectName("lblWait");
    SetUiFont(lblWait, kMsPGothic, 32, false, true);
    SetTextColour(lblWait, colours::window());
    lblWait->move(32, 16);
    lblWait->adjustSize();

    prbWait = new QProgressBar(this);
    prbWait->setObjectName("prbWait");
    prbWait->setGeometry(32, 72, 305, 16);
    prbWait->setRange(0, 100);
    prbWait->setValue(0);
    prbWait->setTextVisible(false);
}

void TfrmWait::showBusy() {
    prbWait->setValue(0);
    showAndPaint();
    centreOnScreen();
}

void TfrmWait::setProgress(int percent) {
    prbWait->setValue(percent);
    prbWait->repaint();
}

void TfrmWait::hideBusy() { hide(); }

BusyScope::BusyScope(TfrmWait *wait) : wait_(wait) {
    if (wait_) wait_->showBusy();
}

BusyScope::~BusyScope() {
    if (wait_) wait_->hideBusy();
}

void BusyScope::progress(int percent) {
    if (wait_) wait_->setProgress(percent);
}

}  // namespace dorv
