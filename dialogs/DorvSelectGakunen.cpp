#include "dialogs/DorvSelectGakunen.h"

#include "dialogs/selection_rules.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "schooldata/globals.h"

#include <QPushButton>

namespace dorv {

TfrmSelectGakunen *frmSelectGakunen = nullptr;

TfrmSelectGakunen::TfrmSelectGakunen(QWidget *parent) : Form(parent) {
    setObjectName("frmSelectGakunen");
    setBorder(Border::SizeableNoIcons);
    setWindowTitle("学年を選んでください");
    setClientSize(393, 246);
    setBackground(colours::aqua);
    SetUiFont(this, kMsPGothic, 12);

    rgrGakunen = new RadioGroup(this);
    rgrGakunen->setObjectName("rgrGakunen");
    rgrGakunen->setTitle("学年を選んでください");
    SetUiFont(rgrGakunen, kMsPGothic, 19);
    rgrGakunen->setGeometry(32, 24, 185, 105);
    rgrGakunen->setItems({"１年", "２年", "３年"});

    btnOK = new QPushButton("決定", this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(232, 152, 97, 33);
    SetUiFont(btnOK, kMsPGothic, 19);
    connect(btnOK, &QPushButton::clicked, this,
            Guarded(
                [this] {
                    const int item = rgrGakunen->itemIndex();
                    if (item < 0) return;
                    SelectedGrade = static_cast<std::uint8_t>(item + 1);
                    accept();
                },
                this));
}

void TfrmSelectGakunen::formShow() {
    if (const int grade = HomeroomGrade(); grade != 0) rgrGakunen->setItemIndex(grade - 1);
}

}  // namespace dorv
