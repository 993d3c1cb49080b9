#include "input/DorvOtsukare.h"

#include "desktop/fonts.h"

#include <QLabel>

namespace dorv {

TfrmOtsukareMessage *frmOtsukareMessage = nullptr;

TfrmOtsukareMessage::TfrmOtsukareMessage(QWidget *parent) : Form(parent) {
    setObjectName("frmOtsukareMessage");
    setBorder(Border::Dialog);
    setWindowTitle("終了です");
    setModal(false);
    setClientSize(334, 99);
    setBackground(colours::buttonFace());
    SetUiFont(this, kMsPGothic, 12);

    lblOtsukare = new QLabel("お疲れ様でした", this);
    lblOtsukare->setObjectName("lblOtsukare");
    lblOtsukare->setGeometry(56, 32, 217, 33);
    SetUiFont(lblOtsukare, kMsPGothic, 32, true, true);
    SetTextColour(lblOtsukare, colours::activeCaption());
    centreOnScreen();
}

}  // namespace dorv
