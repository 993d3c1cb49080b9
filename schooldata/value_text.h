// The cell text a save writes for a stored value byte: its decimal digits,
// or the empty text (a blank cell) for "no value".
#pragma once

#include <cstdint>
#include <string>

#include "schooldata/convert.h"

namespace dorv {

inline std::string ValueCellText(std::uint8_t value) {
    return value == kEmptyValue ? std::string() : std::to_string(value);
}

}  // namespace dorv
