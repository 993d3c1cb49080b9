// UTF-8 and UTF-16, the two forms text takes between Dorv and its workbooks
// (BIFF8 texts and compound-file names are UTF-16).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dorv::utf16 {

// The code point `c` (at most U+10FFFF) appended as UTF-8.
void appendUtf8(std::string &out, char32_t c);
// The same written at `o` (room for four bytes); returns the end.
inline char *putUtf8(char *o, char32_t c) {
    if (c < 0x80) {
        *o++ = char(c);
    } else if (c < 0x800) {
        *o++ = char(0xC0 | (c >> 6));
        *o++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *o++ = char(0xE0 | (c >> 12));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    } else {
        *o++ = char(0xF0 | (c >> 18));
        *o++ = char(0x80 | ((c >> 12) & 0x3F));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    }
    return o;
}

// The length of the valid UTF-8 character at the start of `s`, its code
// point stored in `c`; 0 when `s` is empty or starts with no valid character
// (a stray or missing continuation byte, an over-long form, a surrogate,
// anything above U+10FFFF).
std::size_t decodeUtf8(std::string_view s, char32_t &c);

// UTF-16 code units -> UTF-8; a surrogate without its partner becomes U+FFFD.
std::string toUtf8(std::u16string_view units);

// The same one code unit at a time, written through a pointer into room the
// caller provides: three bytes for every unit put. A text given in pieces
// keeps a surrogate pair that spans two of them.
class Utf8Writer {
public:
    explicit Utf8Writer(char *out) : o_(out) {}
    void put(char16_t c) {
        if (high_ == 0) {  // the common cases first, without a call
            if (c < 0x80) {
                *o_++ = char(c);
                return;
            }
            if (c < 0x800) {
                *o_++ = char(0xC0 | (c >> 6));
                *o_++ = char(0x80 | (c & 0x3F));
                return;
            }
            if (c < 0xD800 || c > 0xDFFF) {
                *o_++ = char(0xE0 | (c >> 12));
                *o_++ = char(0x80 | ((c >> 6) & 0x3F));
                *o_++ = char(0x80 | (c & 0x3F));
                return;
            }
        }
        putSlow(c);
    }
    // Puts get(0), get(1), ... up to get(n - 1) or the first NUL, whichever
    // comes first.
    template <class Get>
    void putUntilNul(std::size_t n, Get get) {
        char *o = o_;  // kept in a register, which a member written through a char pointer is not
        for (std::size_t k = 0; k < n; ++k) {
            const char16_t c = get(k);
            if (high_ != 0 || (c >= 0xD800 && c <= 0xDFFF)) {
                o_ = o;
                putSlow(c);
                o = o_;
            } else if (c < 0x80) {
                if (c == 0) break;
                *o++ = char(c);
            } else {
                o = putUtf8(o, c);
            }
        }
        o_ = o;
    }
    // Ends the text; returns the end of what was written.
    char *finish() {
        if (high_ != 0) putCodePoint(0xFFFD);
        high_ = 0;
        return o_;
    }

private:
    void putSlow(char16_t c) {
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high_ != 0) {
            if (low) {
                putCodePoint(0x10000 + ((char32_t(high_) - 0xD800) << 10) + (c - 0xDC00));
                high_ = 0;
                return;
            }
            putCodePoint(0xFFFD);
            high_ = 0;
        }
        if (c >= 0xD800 && c <= 0xDBFF) high_ = c;
        else putCodePoint(low ? 0xFFFD : c);
    }
    void putCodePoint(char32_t c) { o_ = putUtf8(o_, c); }

    char *o_;
    char16_t high_ = 0;  // a high surrogate waiting for its partner
};

// UTF-8 -> UTF-16 code units; every byte that starts no valid character
// becomes U+FFFD.
std::u16string fromUtf8(std::string_view utf8);

}  // namespace dorv::utf16
