// The conversion workbook the external school-affairs system takes over:
// the ratings and viewpoint marks of every subject, one sheet per subject,
// one row per student in class and number order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dorv {

// The last worksheet row a student can occupy (420 slots below the
// headings); the export empties its columns down to here.
inline constexpr int kHenkanLastRow = 421;

// "<grade folder>/変換/<name>.xls" of SelectedGrade: the term workbook name
// of SelectedTerm when isYouroku is 0, the register's otherwise; "" when the
// selection names no workbook.
std::string HenkanWorkbookPath(std::uint8_t isYouroku);

// The slots exported, in row order: classes 1..classCount (at most 10),
// numbers ascending, every slot whose flag is set. A slot left empty by a
// student who left does not end the class.
std::vector<int> HenkanSlots(const std::uint8_t (&exists)[421], std::uint8_t classCount);

// The viewpoints a subject's sheet carries: five for 国語, four otherwise.
constexpr int HenkanViewpoints(int subject) { return subject == 0 ? 5 : 4; }

class THyoteiData;

// Writes the ratings and marks of the slots of data.Exists (classes
// 1..classCount) into the workbook of data.IsYouroku and clears
// data.Modified. It checks that the workbook and its nine subject sheets
// exist before it writes anything, and a failure leaves the file as it was
// (ExcelError).
void ExportHenkan(THyoteiData &data, std::uint8_t classCount);

}  // namespace dorv
