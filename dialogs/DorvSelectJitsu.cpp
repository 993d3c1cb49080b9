#include "dialogs/DorvSelectJitsu.h"

#include "dialogs/selection_rules.h"

#include "desktop/services.h"
#include "schooldata/globals.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmSelectJitsu *frmSelectJitsu = nullptr;

TfrmSelectJitsu::TfrmSelectJitsu(QWidget *parent)
    : SelectGridDialog(
          {"実力テストの選択", "入力するテストを選択してください", "sgrJitsuTestName", 433, 306, 153, 6, 240, 248},
          Border::Dialog, parent) {
    setObjectName("frmSelectJitsu");
    sgrJitsuTestName = grid;
}

void TfrmSelectJitsu::formShow() {
    fillHeadings();
    fillTestNames(CurJitsuTestName);
    preselectHomeroomColumn();
}

void TfrmSelectJitsu::writeSelection() {
    SelectedGrade = static_cast<std::uint8_t>(grid->col() + 1);
    SelectedTest = static_cast<std::uint8_t>(grid->row());
    TestId = {1, SelectedTest};
}

}  // namespace dorv
