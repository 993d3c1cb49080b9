// Writing the edited roster back into the grade's "名簿.xls".
#pragma once

#include <cstdint>

namespace dorv {

class TNameData;

// For every flagged slot of classes 1..classCount (at most 10): the name
// into column B as a text (a name that spells a number or a date stays a
// text; an empty name blanks the cell), "男", "女" or a blank into column C.
// The flags stay set. A roster that a desktop office program holds open or
// that is read-only is refused before anything is written; every failure
// raises and leaves the file as it was.
void SaveMeibo(TNameData &data, std::uint8_t classCount);

}  // namespace dorv
