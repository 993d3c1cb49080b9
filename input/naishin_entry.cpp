#include "input/naishin_entry.h"

#include <cstdio>

namespace dorv {

MarkEntry ParseMarkEntry(std::string_view text) { return ParseWholeEntry(text, 5); }

std::string MarkMeanLabel(std::int64_t sum, std::int64_t count) {
    std::int64_t hundredths = 0;
    if (count > 0 && sum >= 0) hundredths = (200 * sum + count) / (2 * count);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%lld.%02lld", static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100));
    return std::string("平均　") + buf;
}

}  // namespace dorv
