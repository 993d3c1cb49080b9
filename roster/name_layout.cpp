#include "roster/name_layout.h"

#include "workbook/cp932.h"

#include <vector>

namespace dorv {
namespace {

constexpr std::string_view kFullSpace = "\xE3\x80\x80";  // U+3000

std::string join(const std::vector<std::string_view> &chars, std::size_t from, std::size_t count) {
    std::string out;
    for (std::size_t i = from; i < from + count && i < chars.size(); ++i) out += chars[i];
    return out;
}

std::string spaces(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += kFullSpace;
    return out;
}

}  // namespace

std::string RepeatStr(std::uint8_t count, std::string_view ch) {
    const auto chars = cp932::chars(ch);
    if (chars.empty()) return {};
    std::string out;
    for (unsigned i = 0; i < count; ++i) out += chars.front();
    return out;
}

bool IsConvertibleWidth(std::size_t cp932Bytes) { return cp932Bytes > 5 && cp932Bytes < 14; }

std::string NameTo7Chars(std::string_view name) {
    // Only the first full-width space separates; later ones belong to the
    // given part.
    std::string s(name);
    if (const auto pos = s.find(kFullSpace); pos != std::string::npos) s.replace(pos, kFullSpace.size(), " ");

    const std::vector<std::string_view> chars = cp932::chars(s);
    std::size_t split = chars.size();
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == " ") {
            split = i;
            break;
        }
    }
    // The layout is made of byte positions that fall between full-width
    // characters only; a half-width character would put them inside one.
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (i != split && cp932::charWidth(chars[i]) != 2) return std::string(name);

    if (split == chars.size()) {
        std::string family = join(chars, 0, 7);
        return family + spaces((14 - cp932::width(family)) / 2);
    }

    const std::size_t familyChars = split;
    if (familyChars < 1 || familyChars > 4) return std::string(name);

    const std::size_t givenStart = split + 1;
    const std::size_t givenMax = familyChars == 4 ? 3 : 4;
    const std::size_t givenChars = std::min(givenMax, chars.size() - givenStart);
    const auto c = [&](std::size_t i) { return std::string(chars[i]); };

    std::string family;
    switch (familyChars) {
    case 1: family = c(0) + spaces(3); break;
    case 2: family = c(0) + spaces(1) + c(1) + spaces(1); break;
    case 3: family = join(chars, 0, 3) + spaces(1); break;
    default: family = join(chars, 0, 4); break;
    }
    std::string given = join(chars, givenStart, givenChars);

    switch (givenChars) {
    case 1: given = spaces(2) + given; break;
    case 2: given = familyChars == 4 ? spaces(1) + given : c(givenStart) + spaces(1) + c(givenStart + 1); break;
    case 4:
        // A four-character given name takes one space from the family part.
        if (familyChars == 1) family = c(0) + spaces(2);
        else if (familyChars == 2) family = c(0) + c(1) + spaces(1);
        else family = join(chars, 0, 3);
        break;
    default: break;
    }
    return family + given;
}

}  // namespace dorv
