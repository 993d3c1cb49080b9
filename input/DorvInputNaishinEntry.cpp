#include "input/DorvInputNaishinEntry.h"

#include "schooldata/convert.h"

#include <cstdio>

namespace dorv {

MarkEntry ParseMarkEntry(std::string_view text) {
    if (text.empty()) return {MarkEntry::Kind::Store, kEmptyValue};
    const std::int32_t n = StrictInt(text);
    if (n < 0 || n > 5) return {MarkEntry::Kind::Refused, kEmptyValue};
    return {MarkEntry::Kind::Store, static_cast<std::uint8_t>(n)};
}

std::string MarkMeanLabel(std::int64_t sum, std::int64_t count) {
    std::int64_t hundredths = 0;
    if (count > 0 && sum >= 0) hundredths = (200 * sum + count) / (2 * count);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%lld.%02lld", static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100));
    return std::string("平均　") + buf;
}

}  // namespace dorv
