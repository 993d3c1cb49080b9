// The era name and two-digit era year of the school year a day belongs to
// ("令和05"); printed sheets append "年度". The school year begins in April.
#pragma once

#include <chrono>
#include <string>

namespace dorv {

// The school year of `today`: in January to March the same day of the
// previous year (29 February becomes 28 February), then the era of that day
// from our own table (昭和 from 1926-12-25, 平成 from 1989-01-08, 令和 from
// 2019-05-01) and its year as at least two digits ("令和01", never "元").
// A day before the table, or an invalid date, gives "".
std::string NendoEraText(std::chrono::year_month_day today);

}  // namespace dorv
