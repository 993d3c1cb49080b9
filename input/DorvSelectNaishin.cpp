#include "input/DorvSelectNaishin.h"

#include "desktop/fonts.h"
#include "desktop/services.h"
#include "dialogs/selection_rules.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

namespace dorv {

TfrmSelectNaishin *frmSelectNaishin = nullptr;

TfrmSelectNaishin::TfrmSelectNaishin(QWidget *parent)
    : SelectGridDialog({"frmSelectNaishin", "内申を選択してください", "sgrNaishinName", 420, 268, 105, 4, 264, 208},
                       Border::Dialog, parent) {
    setObjectName("frmSelectNaishin");
    sgrNaishinName = grid;
    grid->setDefaultColWidth(120);
    grid->setGeometry(24, 72, 366, 105);
}

void TfrmSelectNaishin::formShow() {
    fillHeadings();
    for (int col = 0; col < 3; ++col)
        for (int term = 1; term <= 3; ++term)
            grid->setCell(col, term,
                          QString::fromUtf8(NaishinFileNames[term].data(),
                                            static_cast<qsizetype>(NaishinFileNames[term].size())));
    preselectHomeroomColumn();
    if (const auto term = TermForMonth(Services().today().month())) grid->setRow(*term);
}

void TfrmSelectNaishin::writeSelection() {
    SelectedGrade = static_cast<std::uint8_t>(grid->col() + 1);
    SelectedTerm = static_cast<std::uint8_t>(grid->row());
}

}  // namespace dorv
