// School-register ratings (指導要録) with their viewpoints, for a grade.
#pragma once

#include "input/DorvInputHyoteiForm.h"

namespace dorv {

class TfrmDorvInputYouroku : public TfrmDorvInputHyoteiForm {
    Q_OBJECT

public:
    explicit TfrmDorvInputYouroku(QWidget *parent = nullptr);

protected:
    bool selectGrade() override;
    QString titleText() const override;
};

extern TfrmDorvInputYouroku *frmDorvInputYouroku;

}  // namespace dorv
