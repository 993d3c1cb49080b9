// Raw scores of a regular test (定期テスト): eleven subject columns, the
// 技家 sum of 技術 and 家庭, the boys' and girls' tints for 保体.
#pragma once

#include "input/DorvInputSoten.h"

namespace dorv {

class TfrmDorvInputTeiki : public TfrmDorvInputSoten {
    Q_OBJECT

public:
    explicit TfrmDorvInputTeiki(QWidget *parent = nullptr);

protected:
    void selectTest() override;
    const TTestNameSet *testNames() const override;
};

extern TfrmDorvInputTeiki *frmDorvInputTeiki;

}  // namespace dorv
