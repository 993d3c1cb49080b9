#include "schooldata/globals.h"

namespace dorv {

std::uint8_t SelectedGrade = 1;
std::uint8_t SelectedTest = 1;
std::uint8_t SelectedTerm = 1;
TTestId TestId{0, 1};
std::uint8_t ClassCountOfGrade = 0;
std::uint8_t TeacherIndex = 0;

TNameData *CurNameData = nullptr;
TSotenData *CurSotenData = nullptr;
THyoteiData *CurHyoteiData = nullptr;
TNaishinData *CurNaishinData = nullptr;
TKantenData *CurKantenData = nullptr;
TKurasuSuData *CurKurasuSuData = nullptr;
TTeachers *CurTeachers = nullptr;
TTeikiTestName *CurTeikiTestName = nullptr;
TJitsuTestName *CurJitsuTestName = nullptr;

}  // namespace dorv
