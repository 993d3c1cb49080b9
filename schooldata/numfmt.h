// Number texts of the forms and printed pages: one formatter for every
// pattern they use.
//
// Two kinds of pattern:
//   printf style, one conversion with optional literal text around it:
//     "%3d", "%5.1f", "   %3.0f", "%.2f", "平均　%.2f", "%%" for a percent
//     sign. The number is right-aligned in the width with blanks and widens
//     when it needs more positions.
//   picture style, made of '#', '0' and at most one '.':
//     "###", "##.#". A '#' is an optional digit, a '0' a digit that is always
//     written; the value is rounded to as many decimals as placeholders follow
//     the point. Whole values lose the point (80.0 -> "80"), values below 1
//     lose the leading zero (0.5 -> ".5"); a zero is still written as "0".
//     Picture patterns never pad.
//
// Rounding is half away from zero everywhere (72.5 -> 73, 62.25 -> 62.3,
// -2.5 -> -3), unlike the C library's ties-to-even.
//
// Which value is rounded: a double is taken at 15 significant decimal digits
// before rounding, so that a quotient such as 1221 / 20, which binary holds
// as 61.04999999999999..., rounds as the 61.05 it stands for (61.1). A float
// (the single-precision means and deviation values) widens to double exactly
// and is rounded by the value it really holds: 72.35f is 72.3499985 and gives
// 72.3, while 62.25f is exact and gives 62.3. Fifteen digits are far finer
// than a float's spacing, so no float is ever moved onto a tie.
//
// A value that is not finite (a division by a count of 0) gives blanks in
// place of the number's field: the width of the conversion, literal text
// kept ("%5.1f" -> 5 blanks, "   %3.0f" -> 6 blanks, "###" -> "").
//
// A malformed pattern is a programming error: std::invalid_argument.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace dorv {

std::string FormatNumber(std::string_view pattern, double value);

// Integers are written exactly; with a real conversion ("%5.1f", "##.#")
// they are treated as the real value.
std::string FormatInteger(std::string_view pattern, long long value);

template <std::integral T>
std::string FormatNumber(std::string_view pattern, T value) {
    return FormatInteger(pattern, static_cast<long long>(value));
}

// The text a non-finite value gives: the pattern with its number field
// blanked.
std::string BlankNumber(std::string_view pattern);

}  // namespace dorv
