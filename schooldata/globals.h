// The selection state and the current data objects that the programs share.
// One copy per program; the selection dialogs and the forms write them, the
// loaders read them to build file names.
#pragma once

#include <cstdint>

namespace dorv {

class TNameData;
class TSotenData;
class THyoteiData;
class TNaishinData;
class TKantenData;
class TKurasuSuData;
class TTeachers;
class TTeikiTestName;
class TJitsuTestName;

// The kind (0 regular, 1 proficiency) and number of the selected test.
struct TTestId {
    std::uint8_t TestKind = 0;
    std::uint8_t TestNo = 1;
};

extern std::uint8_t SelectedGrade;  // 1..3
extern std::uint8_t SelectedTest;   // 1..5
extern std::uint8_t SelectedTerm;   // 1..3
extern TTestId TestId;              // starts as (0, 1)

// Class count of the selected grade, taken from TKurasuSuData::GradeClasses
// (so always 0..10); bounds every per-slot loop.
extern std::uint8_t ClassCountOfGrade;

// Position of the logged-in teacher in CurTeachers (1..100; 0 = not in the
// staff list, whose record 0 is the empty teacher).
extern std::uint8_t TeacherIndex;

// Created and freed by the forms that use them; null otherwise.
extern TNameData *CurNameData;
extern TSotenData *CurSotenData;
extern THyoteiData *CurHyoteiData;
extern TNaishinData *CurNaishinData;
extern TKantenData *CurKantenData;
extern TKurasuSuData *CurKurasuSuData;
extern TTeachers *CurTeachers;
extern TTeikiTestName *CurTeikiTestName;
extern TJitsuTestName *CurJitsuTestName;

}  // namespace dorv
