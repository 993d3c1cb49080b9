#include "schooldata/hyotei_data.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"
#include "schooldata/value_text.h"

namespace dorv {

namespace {

constexpr unsigned kViewpoints = 6;

}  // namespace

std::string THyoteiData::WorkbookPath() const {
    if (SelectedGrade < 1 || SelectedGrade > 3) return std::string();
    if (IsYouroku != 0) return GradeFilePath(SelectedGrade, "指導要録評定.xls");
    if (SelectedTerm < 1 || SelectedTerm > 3) return std::string();
    return GradeFilePath(SelectedGrade, std::string(HyoteiFileNames[SelectedTerm]) + ".xls");
}

void THyoteiData::ReadHyoteiCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots) return;
    if (sheetNo == 1) {
        if (col < 1 || col > kSubjects) return;
        // A text that is no whole number sends the load to the service path.
        Hyotei[row][col].Rating = StrictValueByte(data);
    } else if (sheetNo >= 2 && sheetNo <= 1 + kSubjects) {
        if (col < 1 || col > kViewpoints) return;
        Hyotei[row][sheetNo - 1].Kanten[col] = ViewpointByte(data);
    }
}

void THyoteiData::LoadHyotei(std::uint8_t classCount) {
    const std::string path = WorkbookPath();
    if (path.empty()) throw ExcelError("学年または学期が選択されていません");

    LoadPlan plan;
    plan.path = path;
    plan.kind = WorkbookKind::Grade;
    plan.clear = [&] {
        for (int r = 1; r <= kSlots; ++r)
            for (int k = 1; k <= kSubjects; ++k) {
                Hyotei[r][k].Rating = kEmptyValue;
                for (unsigned i = 1; i <= kViewpoints; ++i) Hyotei[r][k].Kanten[i] = kEmptyValue;
            }
    };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadHyoteiCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &data = session.Sheet("Data");
        ForEachSlot(classCount, [&](int r) {
            for (int m = 0; m < kSubjects; ++m) {
                const std::string text = data.ReadCell(CellAddress(1 + m, r + 1));
                Hyotei[r][m + 1].Rating = text.empty() ? kEmptyValue : StrictValueByte(text);
            }
        });
        for (int m = 0; m < kSubjects; ++m) {
            TExcelWorksheet &sheet = session.Sheet(std::string(KyokaSheetNames[m]));
            ForEachSlot(classCount, [&](int r) {
                for (unsigned i = 1; i <= kViewpoints; ++i)
                    Hyotei[r][m + 1].Kanten[i] = ViewpointByte(sheet.ReadCell(CellAddress(i, r + 1)));
            });
        }
    };
    LoadWorkbook(plan);
    ClearFlags(Modified);
}

void THyoteiData::SaveHyoteiSubject(std::uint8_t classCount, std::uint8_t subject) {
    // Only the nine rated subjects have a column and a viewpoint sheet.
    if (subject >= kSubjects) return;
    const std::string path = WorkbookPath();
    if (path.empty()) throw ExcelError("学年または学期が選択されていません");
    SaveWorkbook(path, [&](ServiceSession &session) {
        TExcelWorksheet &data = session.Sheet("Data");
        ForEachModifiedSlot(Modified, classCount, [&](int r) {
            data.WriteCell(CellAddress(1 + subject, r + 1), ValueCellText(Hyotei[r][subject + 1].Rating));
        });
        TExcelWorksheet &sheet = session.Sheet(std::string(KyokaSheetNames[subject]));
        ForEachModifiedSlot(Modified, classCount, [&](int r) {
            for (unsigned i = 1; i <= kViewpoints; ++i)
                sheet.WriteText(CellAddress(i, r + 1), ViewpointText(Hyotei[r][subject + 1].Kanten[i]));
        });
    });
    ClearFlags(Modified);
}

}  // namespace dorv
