// Term ratings (評定) with their viewpoints, for the term the teacher picks.
#pragma once

#include "input/DorvInputHyoteiForm.h"

namespace dorv {

class TfrmDorvInputHyotei : public TfrmDorvInputHyoteiForm {
    Q_OBJECT

public:
    explicit TfrmDorvInputHyotei(QWidget *parent = nullptr);

protected:
    bool selectGrade() override;
    QString titleText() const override;
};

extern TfrmDorvInputHyotei *frmDorvInputHyotei;

}  // namespace dorv
