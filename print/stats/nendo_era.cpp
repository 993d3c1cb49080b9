#include "print/stats/nendo_era.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace dorv {

namespace {

using namespace std::chrono;

struct Era {
    std::string_view name;
    year_month_day start;
};

// Newest first.
constexpr std::array<Era, 3> kEras = {{
    {"令和", year{2019} / May / 1},
    {"平成", year{1989} / January / 8},
    {"昭和", year{1926} / December / 25},
}};

year_month_day SchoolYearDay(year_month_day today) {
    if (today.month() > March) return today;
    const year previous = today.year() - years{1};
    const year_month_day shifted = previous / today.month() / today.day();
    if (shifted.ok()) return shifted;
    return year_month_day{year_month_day_last{previous, month_day_last{today.month()}}};
}

}  // namespace

std::string NendoEraText(year_month_day today) {
    if (!today.ok()) return {};
    const year_month_day day = SchoolYearDay(today);
    for (const Era &era : kEras) {
        if (day < era.start) continue;
        const int eraYear = static_cast<int>(day.year()) - static_cast<int>(era.start.year()) + 1;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02d", eraYear);
        return std::string(era.name) + digits;
    }
    return {};
}

}  // namespace dorv
