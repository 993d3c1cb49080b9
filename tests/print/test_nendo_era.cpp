// The era text of the school year a day belongs to.
#include <gtest/gtest.h>

#include <chrono>

#include "print/stats/nendo_era.h"

namespace dorv {
namespace {

using namespace std::chrono;

TEST(NendoEraText, SchoolYearEraAndTwoDigitYear) {
    struct Case {
        int y;
        unsigned m, d;
        const char *text;
    };
    const Case cases[] = {
        {2019, 4, 1, "平成31"},                           // April: no shift; 令和 has not begun
        {2019, 4, 30, "平成31"}, {2019, 5, 1, "令和01"},  // first day of the era: "01", not "元"
        {2020, 1, 10, "平成31"},                          // same day of 2019, before May
        {2020, 3, 31, "平成31"}, {2020, 4, 1, "令和02"},   {2024, 2, 29, "令和05"},  // 2023 has no 29 February
        {2024, 3, 1, "令和05"},  {2025, 12, 31, "令和07"}, {1990, 1, 7, "昭和64"},  // 1989-01-07, the last day of 昭和
        {1990, 1, 8, "平成01"},  {1989, 1, 8, "昭和63"},                            // January: the school year of 1988
        {2004, 3, 31, "平成15"}, {2003, 4, 1, "平成15"},   {1993, 4, 1, "平成05"},
        {1927, 1, 1, ""},  // 1926-01-01 lies before the table
        {1928, 1, 1, "昭和02"},  {1926, 12, 25, "昭和01"}, {1926, 12, 24, ""},
        {2118, 5, 1, "令和100"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(NendoEraText(year{c.y} / month{c.m} / day{c.d}), c.text);
    }
}

TEST(NendoEraText, InvalidDateGivesNoText) {
    EXPECT_EQ(NendoEraText(year{2023} / February / 29), "");
    EXPECT_EQ(NendoEraText(year{2023} / month{13} / 1), "");
    EXPECT_EQ(NendoEraText(year{2023} / April / 31), "");
}

}  // namespace
}  // namespace dorv
