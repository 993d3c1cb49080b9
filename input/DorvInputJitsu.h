// Raw scores of a proficiency test (実力テスト): five subject columns, no sums
// and no tints; a double click on the form acts as a click on the grid.
#pragma once

#include "input/DorvInputSoten.h"

namespace dorv {

class TfrmDorvInputJitsu : public TfrmDorvInputSoten {
    Q_OBJECT

public:
    explicit TfrmDorvInputJitsu(QWidget *parent = nullptr);

protected:
    void selectTest() override;
    const TTestNameSet *testNames() const override;
};

extern TfrmDorvInputJitsu *frmDorvInputJitsu;

}  // namespace dorv
