#include "dialogs/selection_rules.h"

#include "schooldata/globals.h"
#include "schooldata/teachers.h"

namespace dorv {

int HomeroomGrade() {
    if (!CurTeachers || TeacherIndex > TTeachers::kRecords) return 0;
    const int grade = CurTeachers->Teacher[TeacherIndex].TeacherClass[0].Grade;
    return grade >= 1 && grade <= 3 ? grade : 0;
}

std::optional<int> TeikiTestForMonth(int month) {
    switch (month) {
    case 5: return 1;
    case 6:
    case 7: return 2;
    case 10: return 3;
    case 11:
    case 12: return 4;
    case 2:
    case 3: return 5;
    default: return std::nullopt;
    }
}

std::optional<int> TermForMonth(int month) {
    if (month >= 1 && month <= 3) return 3;
    if (month >= 4 && month <= 7) return 1;
    if (month >= 9 && month <= 12) return 2;
    return std::nullopt;
}

}  // namespace dorv
