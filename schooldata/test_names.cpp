#include "schooldata/test_names.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"

namespace dorv {

std::string TTestNameSet::WorkbookPath() const { return KihonFilePath(fileName_); }

void TTestNameSet::ReadTestNameCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data) {
    if (sheetNo < 1 || sheetNo > 3 || col != 0 || row > 4) return;
    TestName[sheetNo][row + 1] = CutBytes(data, kNameBytes);
}

void TTestNameSet::LoadTestNames() {
    LoadPlan plan;
    plan.path = WorkbookPath();
    plan.kind = WorkbookKind::Master;
    plan.clear = [&] {
        for (auto &grade : TestName)
            for (auto &name : grade) name.clear();
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadTestNameCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        for (int g = 1; g <= 3; ++g) {
            TExcelWorksheet &sheet = session.Sheet(std::string(NenSheetNames[g - 1]));
            for (unsigned t = 1; t <= 5; ++t) TestName[g][t] = CutBytes(sheet.ReadCell(CellAddress(0, t)), kNameBytes);
        }
    };
    LoadWorkbook(plan);
}

}  // namespace dorv
