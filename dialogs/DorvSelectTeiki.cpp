#include "dialogs/DorvSelectTeiki.h"

#include "dialogs/selection_rules.h"

#include "desktop/services.h"
#include "schooldata/globals.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmSelectTeiki *frmSelectTeiki = nullptr;

TfrmSelectTeiki::TfrmSelectTeiki(QWidget *parent)
    : SelectGridDialog({"定期テストの選択", "テストを選択してください", "sgrTeikiTestName", 359, 308, 153, 6, 200, 248},
                       Border::Dialog, parent) {
    setObjectName("frmSelectTeiki");
    sgrTeikiTestName = grid;
}

void TfrmSelectTeiki::formShow() {
    fillHeadings();
    fillTestNames(CurTeikiTestName);
    preselectHomeroomColumn();
    if (const auto test = TeikiTestForMonth(Services().today().month())) grid->setRow(*test);
}

void TfrmSelectTeiki::writeSelection() {
    SelectedGrade = static_cast<std::uint8_t>(grid->col() + 1);
    SelectedTest = static_cast<std::uint8_t>(grid->row());
    TestId = {0, SelectedTest};
}

}  // namespace dorv
