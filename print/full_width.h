// Digits and Latin letters in their full-width forms, for ratings and
// viewpoint marks on screens and sheets ("3" -> "３", "A" -> "Ａ").
#pragma once

#include <string>
#include <string_view>

namespace dorv {

// Each character of the first 80 CP932 bytes of `text`: 0-9, A-Z and a-z
// become ０-９, Ａ-Ｚ and ａ-ｚ; every other byte has no full-width form
// here and becomes U+FFFD, one per byte, so the width stays two bytes per
// input byte.
std::string ToFullWidth(std::string_view text);

}  // namespace dorv
