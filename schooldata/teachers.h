// The staff list "Shokuin.xls": every teacher's staff number, name, subject,
// homeroom class and classes taught.
#pragma once

#include <cstdint>
#include <string>

#include "schooldata/teacher_class.h"

namespace dorv {

struct TTeacherRec {
    std::string StaffNo;             // at most 6 CP932 bytes; "" = no teacher
    std::string TeacherName;         // at most 14 CP932 bytes
    std::uint8_t Kyoka = 11;         // subject code 0..10, 11 (or above 10) = none
    TTeacherClass TeacherClass[28];  // [0] homeroom, [1..27] classes taught
};

class TTeachers {
public:
    static constexpr int kRecords = 100;

    // [1..100]: record i from worksheet row i + 1. Record 0 is the empty
    // teacher (no staff number, no name, subject 11, no homeroom): the record
    // of a login that is not in the list.
    TTeacherRec Teacher[101];

    // Fills Teacher from "Shokuin.xls" in the master folder, starting from
    // an empty list. Raises only what the service path raises.
    void LoadShokuin();

    // The index 1..100 of the first teacher whose staff number begins with
    // digits whose value is staffNo; 0 when there is none.
    std::uint8_t IndexOfStaffNo(std::int32_t staffNo) const;

    static std::string ShokuinPath();

    // The reader's cell handler (sheet numbers from 1, rows/columns from 0).
    void ReadShokuinCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);

private:
    void Clear();
};

}  // namespace dorv
