// Grade and test of the proficiency tests (実力テスト); the row stays where it was: the cell (grade - 1, test).
#pragma once

#include "dialogs/SelectGridDialog.h"

namespace dorv {

class TfrmSelectJitsu : public SelectGridDialog {
    Q_OBJECT

public:
    explicit TfrmSelectJitsu(QWidget *parent = nullptr);

    StringGrid *sgrJitsuTestName;

protected:
    void formShow() override;
    void writeSelection() override;
};

extern TfrmSelectJitsu *frmSelectJitsu;

}  // namespace dorv
