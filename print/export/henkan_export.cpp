#include "print/export/henkan_export.h"

#include <array>

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/settings.h"

namespace dorv {

namespace {

constexpr const char *kDash = "-";
constexpr int kSubjects = THyoteiData::kSubjects;
constexpr std::uint8_t kEmpty = THyoteiData::kEmpty;

std::string MarkText(std::uint8_t mark) {
    std::string t = ViewpointText(mark);
    return t.empty() ? kDash : t;
}

}  // namespace

std::string HenkanWorkbookPath(std::uint8_t isYouroku) {
    if (SelectedGrade < 1 || SelectedGrade > 3) return std::string();
    if (isYouroku != 0) return ConversionFolderPath(SelectedGrade) + "指導要録評定.xls";
    if (SelectedTerm < 1 || SelectedTerm > 3) return std::string();
    return ConversionFolderPath(SelectedGrade) + std::string(HyoteiFileNames[SelectedTerm]) + ".xls";
}

std::vector<int> HenkanSlots(const std::uint8_t (&exists)[421], std::uint8_t classCount) {
    std::vector<int> slots;
    ForEachSlot(classCount, [&](int slot) {
        if (exists[slot] != 0) slots.push_back(slot);
    });
    return slots;
}

void ExportHenkan(THyoteiData &data, std::uint8_t classCount) {
    const std::string path = HenkanWorkbookPath(data.IsYouroku);
    if (path.empty()) throw ExcelError("学年または学期が選択されていません");
    const std::vector<int> slots = HenkanSlots(data.Exists, classCount);

    bool checked = false;
    try {
        SaveWorkbook(path, [&](ServiceSession &session) {
            // Every sheet is found before the first cell is written, so a
            // workbook prepared wrongly is refused as a whole.
            std::array<TExcelWorksheet, kSubjects> sheets;
            for (int j = 0; j < kSubjects; ++j) sheets[j] = session.Sheet(std::string(KyokaSheetNames[j]));
            checked = true;

            for (int j = 0; j < kSubjects; ++j) {
                TExcelWorksheet &sheet = sheets[j];
                const unsigned m = static_cast<unsigned>(HenkanViewpoints(j));
                unsigned row = 1;
                for (int slot : slots) {
                    ++row;
                    const THyoteiRec &rec = data.Hyotei[slot][j + 1];
                    sheet.WriteCell(CellAddress(0, row), std::to_string(ClassOfSlot(slot) * 100 + NumberOfSlot(slot)));
                    for (unsigned i = 1; i <= m; ++i) sheet.WriteText(CellAddress(i, row), MarkText(rec.Kanten[i]));
                    if (rec.Rating == kEmpty) sheet.WriteText(CellAddress(m + 1, row), kDash);
                    else sheet.WriteCell(CellAddress(m + 1, row), std::to_string(rec.Rating));
                }
                // Students of an earlier export who are no longer listed
                // must not reach the next import.
                for (unsigned r = row + 1; r <= static_cast<unsigned>(kHenkanLastRow); ++r)
                    for (unsigned c = 0; c <= m + 1; ++c) sheet.WriteText(CellAddress(c, r), "");
            }
        });
    } catch (const WorkbookBusyError &) {
        throw;
    } catch (const ExcelError &e) {
        if (checked) throw;
        throw ExcelError(std::string("C4th変換を行えません。") + e.what());
    }
    ClearFlags(data.Modified);
}

}  // namespace dorv
