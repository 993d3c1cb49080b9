#include "schooldata/soten_data.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"
#include "schooldata/test_names.h"
#include "schooldata/value_text.h"

namespace dorv {

namespace {

int ColumnsOfKind(std::uint8_t testKind) {
    return testKind == 0 ? TSotenData::kTeikiColumns : TSotenData::kJitsuColumns;
}

}  // namespace

std::string TSotenData::WorkbookPath(std::uint8_t testKind) {
    const TTestNameSet *names = nullptr;
    if (testKind == 0) names = CurTeikiTestName;
    else if (testKind == 1) names = CurJitsuTestName;
    if (names == nullptr || SelectedGrade < 1 || SelectedGrade > 3 || SelectedTest < 1 || SelectedTest > 5)
        return std::string();
    return GradeFilePath(SelectedGrade, names->TestName[SelectedGrade][SelectedTest] + ".xls");
}

void TSotenData::ReadTeikiCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots || col < 1 || col > kTeikiColumns) return;
    Score[row][col - 1] = ScoreFromText(data);
}

void TSotenData::ReadJitsuCell(unsigned, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kSlots || col < 1 || col > kJitsuColumns) return;
    Score[row][col - 1] = ScoreFromText(data);
}

void TSotenData::LoadTest(TTestId id, std::uint8_t classCount) {
    if (id.TestKind > 1) return;
    Load(id.TestKind, classCount);
}

void TSotenData::Load(std::uint8_t testKind, std::uint8_t classCount) {
    const std::string path = WorkbookPath(testKind);
    // Without a selected test there is no workbook to name; an empty path
    // would otherwise be reported as a missing file "".
    if (path.empty()) throw ExcelError("試験が選択されていません");
    const int columns = ColumnsOfKind(testKind);

    LoadPlan plan;
    plan.path = path;
    plan.kind = WorkbookKind::Grade;
    plan.clear = [&] {
        for (int r = 1; r <= kSlots; ++r)
            for (int i = 0; i < kSubjects; ++i) Score[r][i] = kEmptyValue;
    };
    if (testKind == 0)
        plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
            ReadTeikiCell(s, row, col, d);
        };
    else
        plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
            ReadJitsuCell(s, row, col, d);
        };
    plan.service = [&](ServiceSession &session) { ReadExcel(session, classCount, columns); };
    LoadWorkbook(plan);
    ClearFlags(Modified);
}

void TSotenData::ReadTeikiExcel(ServiceSession &session, std::uint8_t classCount) {
    ReadExcel(session, classCount, kTeikiColumns);
}

void TSotenData::ReadExcel(ServiceSession &session, std::uint8_t classCount, int columns) {
    TExcelWorksheet &sheet = session.Sheet("Data");
    ForEachSlot(classCount, [&](int r) {
        for (int i = 0; i < columns; ++i) Score[r][i] = ScoreFromText(sheet.ReadCell(CellAddress(1 + i, r + 1)));
    });
}

void TSotenData::SaveTest(TTestId id, std::uint8_t classCount) {
    if (id.TestKind > 1) return;
    Save(id.TestKind, classCount, 0, ColumnsOfKind(id.TestKind) - 1);
}

void TSotenData::SaveTestColumn(TTestId id, std::uint8_t classCount, std::uint8_t column) {
    if (id.TestKind > 1) return;
    // A column outside the test's layout has no cell to go to (column M of a
    // regular test, G of a proficiency test belong to nobody).
    if (column >= ColumnsOfKind(id.TestKind)) return;
    Save(id.TestKind, classCount, column, column);
}

void TSotenData::Save(std::uint8_t testKind, std::uint8_t classCount, int firstColumn, int lastColumn) {
    const std::string path = WorkbookPath(testKind);
    if (path.empty()) throw ExcelError("試験が選択されていません");
    SaveWorkbook(path, [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachModifiedSlot(Modified, classCount, [&](int r) {
            for (int i = firstColumn; i <= lastColumn; ++i)
                sheet.WriteCell(CellAddress(1 + i, r + 1), ValueCellText(Score[r][i]));
        });
    });
    ClearFlags(Modified);
}

void TSotenData::CalcColumnStats(std::uint8_t column, std::uint8_t classCount) {
    ColStats = TColStats{};
    if (column >= kSubjects) return;
    TColStats &st = ColStats;
    const int classes = classCount > kMaxClasses ? kMaxClasses : classCount;
    for (int c = 1; c <= classes; ++c) {
        for (int n = 1; n <= kStudentsPerClass; ++n) {
            const int s = Score[SlotOf(c, n)][column];
            if (s > 100) continue;
            ++st.ColCount[c];
            ++st.ColTotalCount;
            st.ColSum[c] += s;
            st.ColTotalSum += s;
            ++st.ColBand[s == 100 ? 9 : s / 10];
        }
        if (st.ColCount[c] > 0) st.ColMean[c] = static_cast<float>(st.ColSum[c]) / static_cast<float>(st.ColCount[c]);
    }
    if (st.ColTotalCount > 0)
        st.ColTotalMean = static_cast<float>(st.ColTotalSum) / static_cast<float>(st.ColTotalCount);
}

}  // namespace dorv
