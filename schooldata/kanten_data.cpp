#include "schooldata/kanten_data.h"

#include "schooldata/access.h"
#include "schooldata/settings.h"

namespace dorv {

std::string TKantenData::WorkbookPath() const { return KihonFilePath(WorkbookName); }

void TKantenData::ReadKantenCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data) {
    if (sheetNo >= 1 && sheetNo <= 9 && row <= 5 && col == 0) Koumoku[sheetNo - 1][row] = data;
}

void TKantenData::LoadKanten() {
    LoadPlan plan;
    plan.path = WorkbookPath();
    plan.kind = WorkbookKind::Master;
    // Both viewpoint workbooks may be loaded into one object in turn: labels
    // of the other workbook must not linger.
    plan.clear = [&] {
        for (auto &subject : Koumoku)
            for (auto &label : subject) label.clear();
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadKantenCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        for (int s = 0; s < 9; ++s) {
            TExcelWorksheet &sheet = session.Sheet(std::string(KyokaSheetNames[s]));
            for (unsigned r = 1; r <= 6; ++r) {
                std::string text = sheet.ReadCell(CellAddress(0, r));
                if (!text.empty()) Koumoku[s][r - 1] = text;
                if (Koumoku[s][r - 1].empty()) break;
            }
        }
    };
    LoadWorkbook(plan);
}

}  // namespace dorv
