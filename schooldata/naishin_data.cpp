#include "schooldata/naishin_data.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"
#include "schooldata/value_text.h"

namespace dorv {

std::string TNaishinData::WorkbookPath() {
    if (SelectedGrade < 1 || SelectedGrade > 3 || SelectedTerm < 1 || SelectedTerm > 3) return std::string();
    return GradeFilePath(SelectedGrade, std::string(NaishinFileNames[SelectedTerm]) + ".xls");
}

void TNaishinData::ReadNaishinCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots || col < 1 || col > kSubjects) return;
    // A text that is no whole number sends the load to the service path.
    Mark[row][col - 1] = StrictValueByte(data);
}

void TNaishinData::LoadNaishin(std::uint8_t, std::uint8_t classCount) {
    const std::string path = WorkbookPath();
    if (path.empty()) throw ExcelError("学年または学期が選択されていません");

    LoadPlan plan;
    plan.path = path;
    plan.kind = WorkbookKind::Grade;
    plan.clear = [&] {
        for (int r = 1; r <= kSlots; ++r)
            for (auto &m : Mark[r]) m = kEmptyValue;
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadNaishinCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachSlot(classCount, [&](int r) {
            for (int j = 0; j < kSubjects; ++j) {
                const std::string text = sheet.ReadCell(CellAddress(1 + j, r + 1));
                Mark[r][j] = text.empty() ? kEmptyValue : StrictValueByte(text);
            }
        });
    };
    LoadWorkbook(plan);
    ClearFlags(Modified);
}

void TNaishinData::SaveNaishinSubject(std::uint8_t, std::uint8_t classCount, std::uint8_t subject) {
    // Only the nine subjects B..J have a column.
    if (subject >= kSubjects) return;
    const std::string path = WorkbookPath();
    if (path.empty()) throw ExcelError("学年または学期が選択されていません");
    SaveWorkbook(path, [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachModifiedSlot(Modified, classCount, [&](int r) {
            sheet.WriteCell(CellAddress(1 + subject, r + 1), ValueCellText(Mark[r][subject]));
        });
    });
    ClearFlags(Modified);
}

void TNaishinData::CalcNaishinStats(std::uint8_t subject, std::uint8_t classCount) {
    MarkCount = 0;
    for (auto &b : MarkBand) b = 0;
    MarkMean = 0;
    if (subject >= kSubjects) return;
    std::int32_t sum = 0;
    ForEachSlot(classCount, [&](int r) {
        const std::uint8_t m = Mark[r][subject];
        if (m > 5) return;  // empty (255) or out of the five steps
        ++MarkCount;
        sum += m;
        if (m >= 1) ++MarkBand[m];
    });
    if (MarkCount > 0) MarkMean = static_cast<float>(sum) / static_cast<float>(MarkCount);
}

}  // namespace dorv
