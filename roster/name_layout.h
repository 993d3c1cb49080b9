// The seven-character name layout of the roster: family name on the left,
// given name on the right, full-width spaces between, fourteen CP932 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv {

// `count` copies of the first character of `ch`; "" for 0 copies or an
// empty `ch`.
std::string RepeatStr(std::uint8_t count, std::string_view ch);

// The name laid out in seven full-width characters. The family and given
// parts are split at the first half-width space (the first full-width space
// counts as one). Names the layout has no rule for are returned unchanged:
// half-width characters in either part, an empty family part, a family part
// of more than four characters.
std::string NameTo7Chars(std::string_view name);

// True when the editor converts a text of this CP932 width: names of 6 to
// 13 bytes.
bool IsConvertibleWidth(std::size_t cp932Bytes);

}  // namespace dorv
