// Grade and test of the regular tests (定期テスト): the cell (grade - 1, test).
#pragma once

#include "dialogs/SelectGridDialog.h"

namespace dorv {

class TfrmSelectTeiki : public SelectGridDialog {
    Q_OBJECT

public:
    explicit TfrmSelectTeiki(QWidget *parent = nullptr);

    StringGrid *sgrTeikiTestName;

protected:
    void formShow() override;
    void writeSelection() override;
};

extern TfrmSelectTeiki *frmSelectTeiki;

}  // namespace dorv
