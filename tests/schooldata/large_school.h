// Changes to a written school (the sample school, say) that make it as large
// as a school gets: a grade of ten full classes, and test names as long as a
// school may keep in its test-name workbooks. The screen and print tests
// look at what the forms and sheets show of them.
#pragma once

#include <filesystem>

namespace dorv::testing {

// Grade `grade` of the school in `drive` gets ten classes of 42 students
// (420, the last number 1042) with ordinary scores in every subject of every
// test its test-name workbooks name, but for 理科 in the last regular test,
// which is still to be entered; the other grades keep their class counts.
void FillGradeToTenFullClasses(const std::filesystem::path &drive, int grade);

// Every test of every grade gets a long name, most of them too long for a
// selection grid's cell at its font, one longer than a name's 40 bytes; the
// score workbooks move to the new names.
void GiveTestsLongNames(const std::filesystem::path &drive);

}  // namespace dorv::testing
