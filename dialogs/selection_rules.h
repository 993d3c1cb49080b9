// What the selection dialogs preselect: the grade of the logged-in
// teacher's homeroom class and the test or term that follows the month.
#pragma once

#include <optional>

namespace dorv {

// The grade 1..3 of the homeroom class of CurTeachers' record at
// TeacherIndex; 0 for a teacher without one, and also for a grade outside
// 1..3 (a staff list typo must not point a dialog at a grade that does not
// exist).
int HomeroomGrade();

// The regular test (grid row) that month 1..12 preselects; none where the
// previous selection stays.
std::optional<int> TeikiTestForMonth(int month);

// The term (grid row) that month 1..12 preselects; none in August.
std::optional<int> TermForMonth(int month);

}  // namespace dorv
