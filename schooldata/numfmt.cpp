#include "schooldata/numfmt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace dorv {
namespace {

// The magnitude of a number as decimal digits: value = digits x 10^-decimals.
struct TDecimal {
    bool negative = false;
    std::string digits;  // no leading zeros, "0" for zero
    int decimals = 0;
};

std::string StripLeadingZeros(std::string digits) {
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return "0";
    return digits.substr(first);
}

// |value| rounded half away from zero to `decimals` decimals, from its first
// 15 significant digits.
TDecimal RoundReal(double value, int decimals) {
    TDecimal out;
    out.decimals = decimals;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);  // [-]d.dddddddddddddde[+-]x
    std::string_view text(buf);
    if (text.front() == '-') {
        out.negative = true;
        text.remove_prefix(1);
    }
    const auto e = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, e))
        if (c != '.') mantissa += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());

    // Digits kept: those above 10^-decimals.
    const long keep = static_cast<long>(exponent) + 1 + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep < 0) {
        kept = "0";
    } else if (keep >= static_cast<long>(mantissa.size())) {
        kept = mantissa + std::string(static_cast<std::size_t>(keep) - mantissa.size(), '0');
    } else {
        kept = mantissa.substr(0, static_cast<std::size_t>(keep));
        roundUp = mantissa[static_cast<std::size_t>(keep)] >= '5';
        if (kept.empty()) kept = "0";
    }
    if (roundUp) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0) kept.insert(kept.begin(), '1');
        else ++kept[i - 1];
    }
    out.digits = StripLeadingZeros(std::move(kept));
    if (out.digits == "0") out.negative = false;
    return out;
}

TDecimal ExactInteger(long long value) {
    TDecimal out;
    out.negative = value < 0;
    // Through unsigned so that the most negative value has a magnitude too.
    unsigned long long magnitude =
        out.negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    out.digits = std::to_string(magnitude);
    return out;
}

// Integer and fraction digits of a decimal, the integer part without
// leading zeros ("" for zero).
void Split(const TDecimal &d, std::string &integer, std::string &fraction) {
    std::string digits = d.digits;
    const auto dec = static_cast<std::size_t>(d.decimals);
    if (digits.size() <= dec) digits.insert(0, dec + 1 - digits.size(), '0');
    integer = digits.substr(0, digits.size() - dec);
    fraction = digits.substr(digits.size() - dec);
    const auto first = integer.find_first_not_of('0');
    integer = first == std::string::npos ? std::string() : integer.substr(first);
}

[[noreturn]] void BadPattern(std::string_view pattern) {
    throw std::invalid_argument("unsupported number pattern \"" + std::string(pattern) + "\"");
}

// A parsed printf-style pattern.
struct TPrintfPattern {
    std::string prefix, suffix;
    int width = 0;
    int precision = -1;   // -1: none given
    char conversion = 0;  // 'd' or 'f'
};

// Literal text with "%%" turned into "%"; a lone '%' is no literal.
std::string Literal(std::string_view pattern, std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 1 >= text.size() || text[i + 1] != '%') BadPattern(pattern);
            ++i;
        }
        out += text[i];
    }
    return out;
}

int ReadCount(std::string_view pattern, std::string_view &rest) {
    int n = 0;
    std::size_t i = 0;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
        n = n * 10 + (rest[i] - '0');
        if (n > 1000) BadPattern(pattern);
        ++i;
    }
    rest.remove_prefix(i);
    return n;
}

TPrintfPattern ParsePrintf(std::string_view pattern) {
    // The conversion is the first '%' that is not part of "%%".
    std::size_t at = 0;
    for (;;) {
        at = pattern.find('%', at);
        if (at == std::string_view::npos) BadPattern(pattern);
        if (at + 1 < pattern.size() && pattern[at + 1] == '%') {
            at += 2;
            continue;
        }
        break;
    }
    TPrintfPattern p;
    p.prefix = Literal(pattern, pattern.substr(0, at));
    std::string_view rest = pattern.substr(at + 1);
    p.width = ReadCount(pattern, rest);
    if (!rest.empty() && rest.front() == '.') {
        rest.remove_prefix(1);
        p.precision = ReadCount(pattern, rest);
    }
    if (rest.empty() || (rest.front() != 'd' && rest.front() != 'f')) BadPattern(pattern);
    p.conversion = rest.front();
    if (p.conversion == 'd' && p.precision >= 0) BadPattern(pattern);
    rest.remove_prefix(1);
    p.suffix = Literal(pattern, rest);
    return p;
}

bool IsPicture(std::string_view pattern) {
    if (pattern.empty()) return false;
    int points = 0;
    for (char c : pattern) {
        if (c == '.') {
            ++points;
        } else if (c != '#' && c != '0') {
            return false;
        }
    }
    return points <= 1;
}

int PictureDecimals(std::string_view pattern) {
    const auto point = pattern.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

std::string ApplyPicture(std::string_view pattern, const TDecimal &d) {
    const auto point = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, point);
    const std::string_view fracPart = point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    // Every position from the first '0' before the point is written.
    const std::size_t firstZero = intPart.find('0');
    const std::size_t minInt = firstZero == std::string_view::npos ? 0 : intPart.size() - firstZero;
    const std::size_t lastZero = fracPart.rfind('0');
    const std::size_t minFrac = lastZero == std::string_view::npos ? 0 : lastZero + 1;

    std::string integer, fraction;
    Split(d, integer, fraction);
    while (fraction.size() > minFrac && fraction.back() == '0') fraction.pop_back();
    if (integer.size() < minInt) integer.insert(0, minInt - integer.size(), '0');
    if (integer.empty() && fraction.empty()) integer = "0";

    std::string out = d.negative ? "-" : "";
    out += integer;
    if (!fraction.empty()) out += "." + fraction;
    return out;
}

std::string ApplyPrintf(const TPrintfPattern &p, const TDecimal &d) {
    std::string integer, fraction;
    Split(d, integer, fraction);
    if (integer.empty()) integer = "0";
    std::string number = d.negative ? "-" : "";
    number += integer;
    if (!fraction.empty()) number += "." + fraction;
    if (number.size() < static_cast<std::size_t>(p.width))
        number.insert(0, static_cast<std::size_t>(p.width) - number.size(), ' ');
    return p.prefix + number + p.suffix;
}

// Decimals a printf conversion writes: 6 for "%f" as the C library does.
int PrintfDecimals(const TPrintfPattern &p) {
    if (p.conversion == 'd') return 0;
    return p.precision < 0 ? 6 : p.precision;
}

}  // namespace

std::string FormatNumber(std::string_view pattern, double value) {
    if (!std::isfinite(value)) return BlankNumber(pattern);
    if (IsPicture(pattern)) return ApplyPicture(pattern, RoundReal(value, PictureDecimals(pattern)));
    const TPrintfPattern p = ParsePrintf(pattern);
    return ApplyPrintf(p, RoundReal(value, PrintfDecimals(p)));
}

std::string FormatInteger(std::string_view pattern, long long value) {
    if (IsPicture(pattern)) {
        if (PictureDecimals(pattern) > 0) return FormatNumber(pattern, static_cast<double>(value));
        return ApplyPicture(pattern, ExactInteger(value));
    }
    const TPrintfPattern p = ParsePrintf(pattern);
    if (p.conversion == 'f') return FormatNumber(pattern, static_cast<double>(value));
    return ApplyPrintf(p, ExactInteger(value));
}

std::string BlankNumber(std::string_view pattern) {
    if (IsPicture(pattern)) return {};
    const TPrintfPattern p = ParsePrintf(pattern);
    return p.prefix + std::string(static_cast<std::size_t>(p.width), ' ') + p.suffix;
}

}  // namespace dorv
