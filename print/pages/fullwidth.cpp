#include "print/pages/fullwidth.h"

#include "workbook/cp932.h"

#include <algorithm>
#include <cstddef>

namespace dorv {

namespace {

constexpr char kEsc = 0x1B;
constexpr std::size_t kMaxFullWidthInput = 80;
// Row 3 of JIS X 0208 holds the full-width digits and Latin letters at the
// codes of their ASCII forms.
constexpr unsigned char kAlphanumericRow = 0x23;

}  // namespace

std::string JisToSjis(std::string_view jis) {
    if (!jis.empty() && jis.front() == kEsc) jis = jis.size() < 4 ? std::string_view{} : jis.substr(2, jis.size() - 4);

    std::string out;
    out.reserve(jis.size());
    std::size_t i = 0;
    for (; i + 1 < jis.size(); i += 2) {
        const unsigned j1 = static_cast<unsigned char>(jis[i]);
        const unsigned j2 = static_cast<unsigned char>(jis[i + 1]);
        const unsigned s1 = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
        unsigned s2;
        if (j1 % 2 == 0) s2 = j2 + 0x7E;
        else s2 = j2 + (j2 < 0x60 ? 0x1F : 0x20);
        out.push_back(static_cast<char>(s1 & 0xFF));
        out.push_back(static_cast<char>(s2 & 0xFF));
    }
    if (i < jis.size()) out.push_back(jis[i]);
    return out;
}

std::string ToFullWidthSjis(std::string_view utf8) {
    std::string bytes = cp932::fromUtf8(utf8);
    bytes.resize(std::min(bytes.size(), kMaxFullWidthInput));
    std::string jis;
    jis.reserve(2 * bytes.size());
    for (char c : bytes) {
        jis.push_back(static_cast<char>(kAlphanumericRow));
        jis.push_back(c);
    }
    return JisToSjis(jis);
}

std::string ToFullWidth(std::string_view utf8) { return cp932::toUtf8(ToFullWidthSjis(utf8)); }

}  // namespace dorv
