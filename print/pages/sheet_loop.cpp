#include "print/pages/sheet_loop.h"

#include <algorithm>

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/name_data.h"

namespace dorv {

namespace {

int Classes(int classCount) { return std::clamp(classCount, 0, 10); }

}  // namespace

void PrintAllStudents(print::TCanvas &canvas, const TNameData &names, int classCount,
                      const std::function<void(int classNo, int number)> &sheet) {
    const int classes = Classes(classCount);
    bool first = true;
    for (int c = 1; c <= classes; ++c) {
        for (int n = 1; n <= 42; ++n) {
            if (names.Names[SlotOf(c, n)].empty()) continue;
            if (!first) canvas.NewPage();
            first = false;
            sheet(c, n);
        }
    }
}

bool AnyStudent(const TNameData &names, int classCount) {
    for (int c = 1; c <= Classes(classCount); ++c)
        for (int n = 1; n <= 42; ++n)
            if (!names.Names[SlotOf(c, n)].empty()) return true;
    return false;
}

std::optional<std::pair<int, int>> OneSheetClassNumber(std::string_view classText, std::string_view numberText,
                                                       int classCount) {
    const std::int32_t classNo = StrictInt(classText);
    const std::int32_t number = StrictInt(numberText);
    if (classNo < 1 || classNo > std::min(classCount, 10) || number < 1 || number > 42) return std::nullopt;
    return std::pair<int, int>{classNo, number};
}

}  // namespace dorv
