// The grade alone, as a radio group. "決定" does nothing until a grade is
// chosen: every loader needs a grade 1..3.
#pragma once

#include "desktop/form.h"
#include "desktop/radio_group.h"

class QPushButton;

namespace dorv {

class TfrmSelectGakunen : public Form {
    Q_OBJECT

public:
    explicit TfrmSelectGakunen(QWidget *parent = nullptr);

    RadioGroup *rgrGakunen;
    QPushButton *btnOK;

protected:
    void formShow() override;
};

extern TfrmSelectGakunen *frmSelectGakunen;

}  // namespace dorv
