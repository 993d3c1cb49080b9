#include "schooldata/kurasusu_data.h"

#include <algorithm>

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"

namespace dorv {

std::string TKurasuSuData::KurasuSuPath() { return KihonFilePath("KurasuSu.xls"); }

void TKurasuSuData::SetGradeClasses(int grade, std::int64_t count) {
    if (grade < 1 || grade > 3) return;
    GradeClasses[grade] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(count, 0, kMaxClasses));
}

void TKurasuSuData::ReadKurasuSuCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row >= 1 && row <= 3 && col == 1) SetGradeClasses(static_cast<int>(row), StrictInt(data));
}

void TKurasuSuData::LoadKurasuSu() {
    LoadPlan plan;
    plan.path = KurasuSuPath();
    plan.kind = WorkbookKind::Master;
    plan.clear = [&] { std::fill(std::begin(GradeClasses), std::end(GradeClasses), std::uint8_t{0}); };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadKurasuSuCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("KurasuSu");
        for (int g = 1; g <= 3; ++g)
            SetGradeClasses(g,
                            LeadingInteger(sheet.ReadCell(CellAddress(1, static_cast<unsigned>(g + 1)))).value_or(0));
    };
    LoadWorkbook(plan);
}

}  // namespace dorv
