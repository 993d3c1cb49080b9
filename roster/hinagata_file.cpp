#include "roster/hinagata_file.h"

#include "roster/roster_paths.h"
#include "schooldata/access.h"

#include <algorithm>

namespace dorv {

THinagataFile *CurHinagataFile = nullptr;

void THinagataFile::WriteNumbers(std::uint8_t classCount) { WriteNumbersTo(HinagataPath(), classCount); }

void THinagataFile::WriteNumbersTo(const std::string &path, std::uint8_t classCount) {
    const std::uint8_t classes = std::min<std::uint8_t>(classCount, kMaxClasses);
    SaveWorkbook(path, [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        for (int c = 1; c <= classes; ++c)
            for (int n = 1; n <= kStudentsPerClass; ++n)
                sheet.WriteCell(CellAddress(0, static_cast<unsigned>(SlotOf(c, n) + 1)), std::to_string(c * 100 + n));
    });
}

}  // namespace dorv
