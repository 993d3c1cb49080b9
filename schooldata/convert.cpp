#include "schooldata/convert.h"

#include <limits>

#include "workbook/cp932.h"

namespace dorv {

ConvertError::ConvertError(const std::string &text)
    : std::runtime_error("'" + text + "' は整数ではありません"), text_(text) {}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The integer at text[pos..]: sign, then digits. Reports where reading
// stopped and whether the value left the 64-bit range.
struct Scan {
    bool digits = false;
    bool overflow = false;
    std::int64_t value = 0;
    std::size_t end = 0;
};

Scan scanInteger(std::string_view text, HexPrefixes hex) {
    Scan s;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (hex != HexPrefixes::None && i < text.size()) {
        if (text[i] == '$' || (hex == HexPrefixes::AlsoBareX && (text[i] == 'x' || text[i] == 'X'))) {
            base = 16;
            ++i;
        } else if (text[i] == '0' && i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
                   digitValue(text[i + 2], 16) >= 0) {
            base = 16;
            i += 2;
        }
    }
    // Accumulate as a negative number so that the 64-bit minimum fits.
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    std::int64_t acc = 0;
    for (; i < text.size(); ++i) {
        int d = digitValue(text[i], base);
        if (d < 0) break;
        s.digits = true;
        if (!s.overflow) {
            if (acc < (lo + d) / base) {
                s.overflow = true;
                acc = lo;
            } else {
                acc = acc * base - d;
            }
        }
    }
    s.end = i;
    if (negative) {
        s.value = acc;
    } else if (acc == lo) {
        s.value = std::numeric_limits<std::int64_t>::max();
        s.overflow = true;
    } else {
        s.value = -acc;
    }
    return s;
}

}  // namespace

std::optional<std::int64_t> LeadingInteger(std::string_view text, HexPrefixes hex) {
    Scan s = scanInteger(text, hex);
    if (!s.digits) return std::nullopt;
    return s.value;
}

std::int32_t StrictInt(std::string_view text) {
    Scan s = scanInteger(text, HexPrefixes::AlsoBareX);
    if (!s.digits || s.overflow || s.end != text.size() || s.value < std::numeric_limits<std::int32_t>::min() ||
        s.value > std::numeric_limits<std::int32_t>::max())
        throw ConvertError(std::string(text));
    return static_cast<std::int32_t>(s.value);
}

std::uint8_t ValueByte(std::int64_t n) { return n >= 0 && n <= 255 ? static_cast<std::uint8_t>(n) : kEmptyValue; }

std::uint8_t ScoreFromText(std::string_view text) {
    if (text.empty()) return kEmptyValue;
    return ValueByte(LeadingInteger(text, HexPrefixes::AlsoBareX).value_or(0));
}

std::uint8_t StrictValueByte(std::string_view text) { return ValueByte(StrictInt(text)); }

std::int64_t StaffNumberValue(std::string_view text) { return LeadingInteger(text, HexPrefixes::None).value_or(0); }

std::uint8_t KyokaFromText(std::string_view text, bool strict) {
    constexpr std::uint8_t none = 11;
    if (text.empty()) return none;
    std::int64_t n = strict ? StrictInt(text) : LeadingInteger(text, HexPrefixes::None).value_or(0);
    if (n < 0 || n > 255) return none;
    return static_cast<std::uint8_t>(n - 1);  // 0 wraps to 255, which reads as none too
}

std::string CutBytes(std::string_view text, std::size_t maxBytes) { return cp932::cut(text, maxBytes); }

std::uint8_t ViewpointByte(std::string_view text) {
    if (text.empty()) return kEmptyValue;
    std::string_view first = cp932::chars(text).front();
    if (cp932::charWidth(first) != 1) return kEmptyValue;
    std::string bytes = cp932::fromUtf8(first);
    if (bytes.size() != 1) return kEmptyValue;
    return static_cast<std::uint8_t>(bytes[0]);
}

std::string ViewpointText(std::uint8_t b) {
    if (b == kEmptyValue) return {};
    return cp932::toUtf8(std::string(1, static_cast<char>(b)));
}

TTeacherClass ClassFromCell(std::string_view text, bool homeroom) {
    auto chars = cp932::chars(text);
    auto digitAt = [&](std::size_t i) -> std::uint8_t {
        if (i >= chars.size() || chars[i].size() != 1) return 0;
        char c = chars[i][0];
        return c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0') : 0;
    };
    TTeacherClass tc;
    tc.Grade = digitAt(0);
    tc.ClassNo = digitAt(1);
    tc.Kind = 2;
    if (!homeroom && chars.size() >= 3) {
        if (chars[2] == "M") tc.Kind = 0;
        else if (chars[2] == "W") tc.Kind = 1;
    }
    return tc;
}

std::string RepeatChar(std::uint8_t count, char ch) { return std::string(count, ch); }

std::string RepeatChar(std::uint8_t count, std::string_view ch) {
    std::string s;
    s.reserve(ch.size() * count);
    for (int i = 0; i < count; ++i) s += ch;
    return s;
}

}  // namespace dorv
