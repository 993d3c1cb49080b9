// Writing the edited roster back into the grade's "名簿.xls".
#pragma once

#include <cstdint>

namespace dorv {

class TNameData;

// For every flagged slot of classes 1..classCount (at most 10): the name
// into column B as a text (a name that spells a number or a date stays a
// text; an empty name blanks the cell; a name that loaded cut short and was
// not edited since stays as the workbook has it), "男", "女" or a blank into
// column C.
// The flags stay set. A read-only roster is refused before anything is
// written, one a desktop office program holds open by the service; every
// failure raises and leaves the file as it was.
void SaveMeibo(TNameData &data, std::uint8_t classCount);

}  // namespace dorv
