#include "workbook/utf16.h"

namespace dorv::utf16 {

void appendUtf8(std::string &out, char32_t c) {
    char buf[4];
    out.append(buf, putUtf8(buf, c));
}

std::size_t decodeUtf8(std::string_view s, char32_t &c) {
    if (s.empty()) return 0;
    const auto c0 = static_cast<unsigned char>(s[0]);
    std::size_t n = 0;
    if (c0 < 0x80) n = 1;
    else if ((c0 & 0xE0) == 0xC0) n = 2;
    else if ((c0 & 0xF0) == 0xE0) n = 3;
    else if ((c0 & 0xF8) == 0xF0) n = 4;
    if (n == 0 || n > s.size()) return 0;
    if (n == 1) {
        c = c0;
        return 1;
    }
    char32_t cp = c0 & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    c = cp;
    return n;
}

std::string toUtf8(std::u16string_view u) {
    std::string out(3 * u.size(), '\0');
    Utf8Writer w(out.data());
    for (char16_t c : u) w.put(c);
    out.resize(std::size_t(w.finish() - out.data()));
    return out;
}

std::u16string fromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t c = 0;
        const std::size_t n = decodeUtf8(s.substr(i), c);
        if (n == 0) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        i += n;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

}  // namespace dorv::utf16
