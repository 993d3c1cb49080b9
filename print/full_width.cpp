#include "print/full_width.h"

#include "workbook/cp932.h"

namespace dorv {

std::string ToFullWidth(std::string_view text) {
    const std::string bytes = cp932::fromUtf8(cp932::cut(text, 80));
    std::string out;
    for (unsigned char c : bytes) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!digit && !letter) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            continue;
        }
        // U+FF10 + (c - '0') and so on: the full-width block mirrors ASCII.
        const unsigned code = 0xFF00u + (c - 0x20u);
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

}  // namespace dorv
