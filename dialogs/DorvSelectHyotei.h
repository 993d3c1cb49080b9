// Grade and term of the term ratings: the cell (grade - 1, term). The one
// dialog that can also be closed from its title bar; that selects nothing.
#pragma once

#include "dialogs/SelectGridDialog.h"

namespace dorv {

class TfrmSelectHyotei : public SelectGridDialog {
    Q_OBJECT

public:
    explicit TfrmSelectHyotei(QWidget *parent = nullptr);

    StringGrid *sgrHyoteiName;

protected:
    void formShow() override;
    void writeSelection() override;
};

extern TfrmSelectHyotei *frmSelectHyotei;

}  // namespace dorv
