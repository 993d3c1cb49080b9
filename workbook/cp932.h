// CP932 (the Microsoft variant of Shift_JIS) at the edges of the program.
// Text inside Dorv is UTF-8; every length or position counted in Shift_JIS
// bytes goes through these functions, never through std::string::size().
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dorv::cp932 {

// Bytes in CP932 -> UTF-8. A byte sequence that maps to no character becomes
// U+FFFD; a lone lead byte at the end becomes U+FFFD too.
std::string toUtf8(std::string_view cp932);

// UTF-8 -> CP932 bytes. A character outside CP932 becomes the full-width
// question mark (2 bytes) so the byte layout keeps its width; `lossless`
// (when given) tells whether that happened. Invalid UTF-8 counts as such a
// character, one per bad byte.
std::string fromUtf8(std::string_view utf8, bool *lossless = nullptr);

// Width of one UTF-8 encoded character in CP932 bytes: 1 or 2. A character
// outside CP932 counts 2.
std::size_t charWidth(std::string_view utf8Char);

// Width of a UTF-8 text in CP932 bytes.
std::size_t width(std::string_view utf8);

// The longest prefix of `utf8` whose CP932 width is at most `maxBytes`; never
// splits a character.
std::string cut(std::string_view utf8, std::size_t maxBytes);

// The text split into its characters (each a UTF-8 substring). Invalid bytes
// come out one per element.
std::vector<std::string_view> chars(std::string_view utf8);

// True when `bytes` is valid UTF-8.
bool isValidUtf8(std::string_view bytes);

}  // namespace dorv::cp932
