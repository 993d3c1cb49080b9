#include "schooldata/numfmt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace dorv {
namespace {

struct RealCase {
    const char *pattern;
    double value;
    const char *expected;
};

// Reals given as double: decimal quotients round as the decimal they stand
// for, ties away from zero, right-aligned and widening.
TEST(FormatNumber, PrintfRealsRoundHalfAwayAlignAndWiden) {
    const RealCase cases[] = {
        {"%5.1f", 62.25, " 62.3"},          // exact tie: printf would give 62.2
        {"%5.1f", 62.35, " 62.4"},          // 62.35 is 62.349999... in binary
        {"%5.1f", 1221.0 / 20.0, " 61.1"},  // 61.0499999...
        {"%5.1f", 0.05, "  0.1"},
        {"%5.1f", 0.04999, "  0.0"},
        {"%5.1f", 99.95, "100.0"},    // carry through every digit
        {"%5.1f", 999.95, "1000.0"},  // widens
        {"%5.1f", 0.0, "  0.0"},
        {"%5.1f", -62.25, "-62.3"},  // away from zero on the negative side
        {"%5.1f", -0.04, "  0.0"},   // no minus on a rounded zero
        {"%3.1f", 62.34, "62.3"},    // narrower than the number: widens
        {"%4.1f", 7.0, " 7.0"},
        {"%6.1f", 350.0, " 350.0"},
        {"%3.0f", 72.5, " 73"},
        {"%3.0f", 71.5, " 72"},
        {"%3.0f", 70.0, " 70"},
        {"   %3.0f", 423.05, "   423"},
        {"   %3.0f", 84.5, "    85"},
        {"%.2f", 3.4, "3.40"},
        {"%.2f", 2.675, "2.68"},  // 2.67499999... in binary
        {"平均　%.2f", 0.0, "平均　0.00"},
        {"%f", 1.5, "1.500000"},
        {"%d", 2.5, "3"},  // a real with an integer conversion rounds
        {"%5.1f%%", 12.25, " 12.3%"},
        {"%5.1f", 1e20, "100000000000000000000.0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatNumber(c.pattern, c.value), c.expected) << c.pattern << " of " << c.value;
}

// Single-precision values are rounded by the value they hold.
TEST(FormatNumber, FloatsRoundByTheValueTheyHold) {
    struct Case {
        const char *pattern;
        float value;
        const char *expected;
    };
    const Case cases[] = {
        {"##.#", 72.35f, "72.3"},                                                          // held as 72.3499985
        {"##.#", 62.25f, "62.3"},                                                          // exact
        {"##.#", 7.25f, "7.3"},    {"##.#", 12.25f, "12.3"},  {"%5.1f", 61.05f, " 61.0"},  // held as 61.0499992
        {"%5.1f", 50.0f, " 50.0"}, {"%3.1f", 62.34f, "62.3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatNumber(c.pattern, c.value), c.expected) << c.pattern << " of " << c.value;
}

TEST(FormatNumber, PicturePatterns) {
    const RealCase cases[] = {
        {"##.#", 0.5, ".5"},
        {"##.#", 0.4, ".4"},
        {"##.#", 0.04, "0"},  // rounds to a whole zero: still a digit
        {"##.#", 0.0, "0"},
        {"##.#", 80.0, "80"},
        {"##.#", 79.96, "80"},
        {"##.#", 84.6, "84.6"},
        {"##.#", 8461.0 / 20.0 / 5.0, "84.6"},
        {"##.#", 100.0, "100"},
        {"##.#", 123.45, "123.5"},  // wider than the picture: never cut
        {"##.#", -0.5, "-.5"},
        {"###", 8461.0 / 20.0, "423"},
        {"###", 72.5, "73"},
        {"###", 0.4, "0"},
        {"###", 1234.5, "1235"},
        {"###", -72.5, "-73"},
        {"0.0", 0.5, "0.5"},
        {"#.00", 0.5, ".50"},
        {"000", 7.0, "007"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatNumber(c.pattern, c.value), c.expected) << c.pattern << " of " << c.value;
}

TEST(FormatNumber, IntegersAreWrittenExactly) {
    struct Case {
        const char *pattern;
        long long value;
        const char *expected;
    };
    const Case cases[] = {
        {"%3d", 85, " 85"},       {"%3d", 5, "  5"},
        {"%3d", 100, "100"},      {"%3d", 1000, "1000"},
        {"%2d", 42, "42"},        {"%2d", 7, " 7"},
        {"%6d", 1, "     1"},     {"%4d", 350, " 350"},
        {"%d", -12, "-12"},       {"%3d", -5, " -5"},
        {"   %3d", 80, "    80"}, {"%d", std::numeric_limits<long long>::min(), "-9223372036854775808"},
        {"%5.1f", 70, " 70.0"},  // an integer under a real conversion
        {"###", 423, "423"},      {"###", 0, "0"},
        {"##.#", 80, "80"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatInteger(c.pattern, c.value), c.expected) << c.pattern << " of " << c.value;

    // The overload set takes the school's small types without ambiguity.
    const std::uint8_t score = 85;
    EXPECT_EQ(FormatNumber("%3d", score), " 85");
    EXPECT_EQ(FormatNumber("%3d", 7), "  7");
    EXPECT_EQ(FormatNumber("%5.1f", 7), "  7.0");
}

// A division by a count of 0 must not print "nan" or "inf" into a column.
TEST(FormatNumber, NonFiniteValuesBlankTheFieldOnly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const RealCase cases[] = {
        {"%5.1f", nan, "     "},       {"%4.1f", inf, "    "}, {"%6.1f", -inf, "      "}, {"   %3.0f", nan, "      "},
        {"平均　%.2f", nan, "平均　"}, {"###", nan, ""},       {"##.#", inf, ""},         {"%3d", nan, "   "},
    };
    for (const auto &c : cases) EXPECT_EQ(FormatNumber(c.pattern, c.value), c.expected) << c.pattern;
    EXPECT_EQ(BlankNumber("%5.1f"), "     ");
    EXPECT_EQ(BlankNumber("%2d"), "  ");
}

TEST(FormatNumber, MalformedPatternsAreRefused) {
    for (const char *pattern : {"", "%", "%5.1", "%5.1g", "%s", "abc", "#.#.#", "%.1d", "50%", "%99999d"}) {
        EXPECT_THROW(FormatNumber(pattern, 1.0), std::invalid_argument) << pattern;
        EXPECT_THROW(FormatInteger(pattern, 1), std::invalid_argument) << pattern;
    }
}

}  // namespace
}  // namespace dorv
