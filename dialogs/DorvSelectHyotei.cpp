#include "dialogs/DorvSelectHyotei.h"

#include "dialogs/selection_rules.h"

#include "desktop/services.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

namespace dorv {

TfrmSelectHyotei *frmSelectHyotei = nullptr;

TfrmSelectHyotei::TfrmSelectHyotei(QWidget *parent)
    : SelectGridDialog({"評定の選択", "評定を選択してください", "sgrHyoteiName", 369, 302, 105, 4, 200, 210},
                       Border::Sizeable, parent) {
    setObjectName("frmSelectHyotei");
    sgrHyoteiName = grid;
}

void TfrmSelectHyotei::formShow() {
    fillHeadings();
    for (int col = 0; col < 3; ++col)
        for (int term = 1; term <= 3; ++term)
            grid->setCell(
                col, term,
                QString::fromUtf8(HyoteiFileNames[term].data(), static_cast<qsizetype>(HyoteiFileNames[term].size())));
    preselectHomeroomColumn();
    if (const auto term = TermForMonth(Services().today().month())) grid->setRow(*term);
}

void TfrmSelectHyotei::writeSelection() {
    SelectedGrade = static_cast<std::uint8_t>(grid->col() + 1);
    SelectedTerm = static_cast<std::uint8_t>(grid->row());
}

}  // namespace dorv
