// The C4th conversion form (C4th変換): on opening it loads the class
// counts, the roster and the selected ratings; its button writes them into
// the conversion workbook of the grade's "変換" folder and closes.
#pragma once

#include "desktop/form.h"

class QPushButton;

namespace dorv {

class TfrmHenkan : public Form {
    Q_OBJECT

public:
    explicit TfrmHenkan(QWidget *parent = nullptr);

    QPushButton *btnHenkan;
    QPushButton *btnClose;

protected:
    void formShow() override;

private:
    void btnHenkanClick();
    void btnCloseClick();
};

extern TfrmHenkan *frmHenkan;

}  // namespace dorv
