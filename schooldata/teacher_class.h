// One class entry of a teacher in the staff list: the homeroom class or a
// class taught.
#pragma once

#include <cstdint>

namespace dorv {

struct TTeacherClass {
    std::uint8_t Grade = 0;    // 1..3; 0 = no class in this entry
    std::uint8_t ClassNo = 0;  // 1..9; 0 = none
    std::uint8_t Kind = 2;     // 0 boys only, 1 girls only, 2 boys and girls
};

}  // namespace dorv
