#include "schooldata/name_data.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"

namespace dorv {

std::uint8_t TNameData::SexFromText(std::string_view text) {
    if (text == "男") return kSexBoy;
    if (text == "女") return kSexGirl;
    return kSexNone;
}

std::string TNameData::MeiboPath() const { return GradeFilePath(Grade, "名簿.xls"); }

void TNameData::ReadMeiboCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots) return;
    if (col == 1) Names[row] = CutBytes(data, kNameBytes);
    else if (col == 2) Sex[row] = SexFromText(data);
}

void TNameData::LoadMeibo(std::uint8_t classCount) {
    LoadPlan plan;
    plan.path = MeiboPath();
    plan.kind = WorkbookKind::Grade;
    plan.clear = [&] {
        for (int r = 1; r <= kSlots; ++r) {
            Names[r].clear();
            Sex[r] = kSexNone;
        }
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) { ReadMeiboCell(s, row, col, d); };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachSlot(classCount, [&](int r) {
            Names[r] = CutBytes(sheet.ReadCell(CellAddress(1, r + 1)), kNameBytes);
            Sex[r] = SexFromText(sheet.ReadCell(CellAddress(2, r + 1)));
        });
    };
    LoadWorkbook(plan);
    ForEachSlot(classCount, [&](int r) { Exists[r] = Names[r].empty() ? 0 : 1; });
    ClearFlags(Modified);
}

}  // namespace dorv
