// UTF-8 and UTF-16, the two forms text takes between Dorv and its workbooks
// (BIFF8 texts and compound-file names are UTF-16).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dorv::utf16 {

// The code point `c` (at most U+10FFFF) appended as UTF-8.
void appendUtf8(std::string &out, char32_t c);

// The length of the valid UTF-8 character at the start of `s`, its code
// point stored in `c`; 0 when `s` is empty or starts with no valid character
// (a stray or missing continuation byte, an over-long form, a surrogate,
// anything above U+10FFFF).
std::size_t decodeUtf8(std::string_view s, char32_t &c);

// UTF-16 code units -> UTF-8; a surrogate without its partner becomes U+FFFD.
std::string toUtf8(std::u16string_view units);

// UTF-8 -> UTF-16 code units; every byte that starts no valid character
// becomes U+FFFD.
std::u16string fromUtf8(std::string_view utf8);

}  // namespace dorv::utf16
