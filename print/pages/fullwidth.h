// Full-width digits and letters for the views and the printed sheets: JIS
// X 0208 row-and-cell byte pairs turned into Shift_JIS, and ASCII text turned
// into its full-width form. Plain C++; lengths are CP932 byte counts.
#pragma once

#include <string>
#include <string_view>

namespace dorv {

// JIS X 0208 byte pairs -> the Shift_JIS (CP932) bytes of the same
// characters, as many bytes as the pairs. A text that starts with ESC
// carries a two-byte shift-in before and a two-byte shift-out after its
// pairs; they are dropped (such a text shorter than 4 bytes has no pairs).
// A lone byte left at the end of an odd-length text is copied unchanged.
std::string JisToSjis(std::string_view jis);

// The full-width form of each CP932 byte of the UTF-8 text, for its first 80
// bytes: ASCII digits and letters become ０..９, Ａ..Ｚ, ａ..ｚ. Returns
// UTF-8; a byte whose full-width pair is no character decodes to U+FFFD
// (never an error).
std::string ToFullWidth(std::string_view utf8);

// The same, as CP932 bytes (2 per input byte).
std::string ToFullWidthSjis(std::string_view utf8);

}  // namespace dorv
