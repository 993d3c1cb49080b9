// The version box of every program.
#pragma once

#include "desktop/form.h"

class QLabel;
class QPushButton;

namespace dorv {

class TfrmVersion : public Form {
    Q_OBJECT

public:
    explicit TfrmVersion(QWidget *parent = nullptr);

    QLabel *lblTitle;
    QLabel *lblDiscription;
    QLabel *Image1;
    QPushButton *btnClose;

protected:
    void formShow() override;
};

extern TfrmVersion *frmVersion;

}  // namespace dorv
