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

void TNameData::loadName(int slot, std::string_view text) {
    Names[slot] = CutBytes(text, kNameBytes);
    Cut[slot] = Names[slot].size() < text.size() ? 1 : 0;
}

void TNameData::ReadMeiboCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots) return;
    if (col == 1) loadName(static_cast<int>(row), data);
    else if (col == 2) Sex[row] = SexFromText(data);
}

void TNameData::LoadMeibo(std::uint8_t classCount) {
    LoadPlan plan;
    plan.path = MeiboPath();
    plan.kind = WorkbookKind::Grade;
    plan.clear = [&] {
        for (int r = 1; r <= kSlots; ++r) {
            Names[r].clear();
            Cut[r] = 0;
            Sex[r] = kSexNone;
        }
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadMeiboCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachSlot(classCount, [&](int r) {
            loadName(r, sheet.ReadCell(CellAddress(1, r + 1)));
            Sex[r] = SexFromText(sheet.ReadCell(CellAddress(2, r + 1)));
        });
    };
    LoadWorkbook(plan);
    ForEachSlot(classCount, [&](int r) { Exists[r] = Names[r].empty() ? 0 : 1; });
    ClearFlags(Modified);
}

}  // namespace dorv
