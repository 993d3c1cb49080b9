// The small text-to-value conversions shared by every loader, entry form and
// print, so that a cell text means the same thing everywhere.
//
// All texts are UTF-8; byte counts are CP932 byte counts.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "schooldata/teacher_class.h"

namespace dorv {

// A text that had to be a whole number and is not one. what() is
// "'<text>' は整数ではありません".
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string &text);
    const std::string &text() const { return text_; }

private:
    std::string text_;
};

// The value byte that means "no value" for scores, ratings, viewpoints and
// marks.
inline constexpr std::uint8_t kEmptyValue = 255;

// The prefixes after which digits are read as hexadecimal.
enum class HexPrefixes {
    None,        // decimal digits only
    DollarOr0x,  // "$", "0x" or "0X"
    AlsoBareX,   // those and a bare "x" or "X"
};

// The integer a text begins with: leading blanks skipped, an optional sign,
// then decimal digits, or hexadecimal digits after one of `hex`; reading
// stops at the first character that does not belong. No digits give
// nullopt. A value too large for 64 bits saturates.
std::optional<std::int64_t> LeadingInteger(std::string_view text, HexPrefixes hex = HexPrefixes::AlsoBareX);

// The whole text as an integer (leading blanks, sign, decimal or "$"/"x"/
// "0x" hexadecimal digits, nothing after them) that fits in 32 bits;
// anything else, the empty text included, raises ConvertError.
std::int32_t StrictInt(std::string_view text);

// A stored value byte from a whole number: 0..255 unchanged, anything else
// is no value (255) rather than a wrapped-around byte.
std::uint8_t ValueByte(std::int64_t n);

// Lenient score conversion: "" gives 255; otherwise the integer the text
// begins with ("72.5" gives 72, "欠" gives 0) as a value byte.
std::uint8_t ScoreFromText(std::string_view text);

// Strict value conversion (ratings, marks): the whole number of the text as
// a value byte; a text that is not a whole number raises ConvertError.
std::uint8_t StrictValueByte(std::string_view text);

// The numeric value of a staff number text: blanks, sign, decimal digits up
// to the first other character; no digits give 0 ("00815" gives 815,
// "123A" 123, "A123" 0).
std::int64_t StaffNumberValue(std::string_view text);

// The subject code of a staff-list cell holding subject code + 1: "" gives
// 11 (none); a number 0..255 gives that number - 1 kept to a byte (0 gives
// 255, which users treat as none); a number outside 0..255 gives 11.
// `strict` raises ConvertError for a text that is not a whole number, the
// lenient form takes its leading integer (no digits count as 0).
std::uint8_t KyokaFromText(std::string_view text, bool strict);

// The first `maxBytes` CP932 bytes of a text, never splitting a character.
std::string CutBytes(std::string_view text, std::size_t maxBytes);

// A viewpoint letter as stored: the CP932 byte of the text's first
// character; 255 for an empty text or a double-byte first character.
std::uint8_t ViewpointByte(std::string_view text);

// The text a stored viewpoint byte stands for ("" for 255).
std::string ViewpointText(std::uint8_t b);

// A class cell of the staff list: first character the grade digit, second
// the class digit (a missing or non-digit character counts 0); unless
// `homeroom`, a third character "M" gives Kind 0 and "W" Kind 1. The
// homeroom entry and a cell without such a letter keep Kind 2.
TTeacherClass ClassFromCell(std::string_view text, bool homeroom);

// `count` copies of `ch`; 0 gives "".
std::string RepeatChar(std::uint8_t count, char ch);
// `count` copies of one character given as UTF-8 (such as "　").
std::string RepeatChar(std::uint8_t count, std::string_view ch);

}  // namespace dorv
