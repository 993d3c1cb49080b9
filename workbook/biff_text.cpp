#include "workbook/biff_text.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "workbook/cp932.h"
#include "workbook/little_endian.h"
#include "workbook/utf16.h"

namespace dorv::biff {
namespace {

// The iconv name of a single-byte Windows, DOS or Macintosh code page, or
// nothing for double-byte and Unicode code pages.
std::string iconvName(std::uint16_t cp) {
    switch (cp) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:  // double-byte
    case 1200:
    case 1201:
    case 65000:
    case 65001:  // Unicode
        return {};
    case 367: return "ASCII";
    case 10000:
    case 32768: return "MACINTOSH";
    case 32769: return "CP1252";
    case 10006: return "MACGREEK";
    case 10007: return "MACCYRILLIC";
    case 10029: return "MACCENTRALEUROPE";
    case 10079: return "MACICELAND";
    case 10081: return "MACTURKISH";
    default: return "CP" + std::to_string(cp);
    }
}

}  // namespace

std::string latin1ToUtf8(const std::uint8_t *p, std::size_t n) {
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n && p[i] != 0; ++i) utf16::appendUtf8(out, p[i]);
    return out;
}

std::u16string biff8StringUnits(const std::uint8_t *body, std::size_t size, std::size_t at, bool shortCount) {
    std::u16string out;
    const std::size_t countSize = shortCount ? 1 : 2;
    if (at > size || size - at < countSize + 1) return out;
    const std::size_t count = shortCount ? body[at] : le::u16(body + at);
    const std::uint8_t flags = body[at + countSize];
    std::size_t p = at + countSize + 1;
    if (!shortCount && (flags & 0x08)) p += 2;
    if (!shortCount && (flags & 0x04)) p += 4;
    if (p > size) return out;
    const bool wide = flags & 0x01;
    const std::size_t n = std::min(count, (size - p) / (wide ? 2 : 1));
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out.push_back(wide ? le::u16(body + p + 2 * i) : char16_t(body[p + i]));
    return out;
}

void CodePage::select(std::uint16_t codePage) {
    table_.clear();
    const std::string name = iconvName(codePage);
    if (name.empty()) return;
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    std::vector<std::string> table(256);
    for (int b = 1; b < 256; ++b) {
        char in = char(b);
        char out[8];
        char *ip = &in, *op = out;
        std::size_t il = 1, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == std::size_t(-1) || il != 0) table[b] = "\xEF\xBF\xBD";
        else table[b].assign(out, std::size_t(op - out));
    }
    iconv_close(cd);
    table_ = std::move(table);
}

std::string CodePage::toUtf8(const std::uint8_t *p, std::size_t n) const {
    const auto *nul = static_cast<const std::uint8_t *>(std::memchr(p, 0, n));
    if (nul) n = std::size_t(nul - p);
    if (table_.empty()) return cp932::toUtf8(std::string_view(reinterpret_cast<const char *>(p), n));
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out += table_[p[i]];
    return out;
}

}  // namespace dorv::biff
