// The school-report mark entry rules as tables: what a typed mark means and
// how the mean reads.
#include "input/naishin_entry.h"

#include "schooldata/convert.h"

#include <gtest/gtest.h>

namespace dorv {
namespace {

TEST(NaishinEntry, TypedMarks) {
    using K = MarkEntry::Kind;
    struct Case {
        const char *typed;
        K kind;
        int value;
    } cases[] = {
        {"", K::Store, 255},      {"0", K::Store, 0},      {"1", K::Store, 1},        {"5", K::Store, 5},
        {" 4", K::Store, 4},      {"+3", K::Store, 3},     {"05", K::Store, 5},       {"6", K::Refused, 255},
        {"255", K::Refused, 255}, {"-1", K::Refused, 255}, {"-251", K::Refused, 255},  // its low byte would be 5
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const MarkEntry e = ParseMarkEntry(c.typed);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.value, c.value);
    }
    // A number beyond 32 bits is no whole number to the conversion either.
    for (const char *typed : {"x", "3.5", "５", "3a", "99999999999"}) {
        SCOPED_TRACE(typed);
        EXPECT_THROW(ParseMarkEntry(typed), ConvertError);
    }
}

TEST(NaishinEntry, MeanWithTwoDecimalsRoundedHalfAwayFromZero) {
    struct Case {
        long long sum, count;
        const char *label;
    } cases[] = {
        {0, 0, "平均　0.00"}, {12, 3, "平均　4.00"},     {17, 5, "平均　3.40"},
        {1, 8, "平均　0.13"}, {5, 3, "平均　1.67"},      {2, 3, "平均　0.67"},
        {0, 4, "平均　0.00"}, {2100, 420, "平均　5.00"}, {1891, 420, "平均　4.50"},  // 4.502...
        {3, 8, "平均　0.38"},                                                        // 0.375 exactly
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MarkMeanLabel(c.sum, c.count), c.label);
    }
}

}  // namespace
}  // namespace dorv
