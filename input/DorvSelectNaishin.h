// Grade and term of the school-report marks: the cell (grade - 1, term).
#pragma once

#include "dialogs/SelectGridDialog.h"

namespace dorv {

class TfrmSelectNaishin : public SelectGridDialog {
    Q_OBJECT

public:
    explicit TfrmSelectNaishin(QWidget *parent = nullptr);

    StringGrid *sgrNaishinName;

protected:
    void formShow() override;
    void writeSelection() override;
};

extern TfrmSelectNaishin *frmSelectNaishin;

}  // namespace dorv
