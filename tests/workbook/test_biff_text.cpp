#include "workbook/biff_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dorv;

namespace {

std::u16string units(const std::vector<std::uint8_t> &body, std::size_t at, bool shortCount = false) {
    return biff::biff8StringUnits(body.data(), body.size(), at, shortCount);
}

}  // namespace

TEST(BiffText, StringUnitsFromRecordBodies) {
    struct Case {
        const char *name;
        std::vector<std::uint8_t> body;
        std::size_t at;
        bool shortCount;
        std::u16string want;
    } cases[] = {
        {"compressed", {2, 0, 0, 'A', 0xE9}, 0, false, u"A\u00E9"},
        {"16-bit, behind a cell header", {9, 9, 1, 0, 1, 0x71, 0x5C}, 2, false, u"山"},
        {"run count and phonetic size skipped", {1, 0, 0x0C, 1, 0, 4, 0, 0, 0, 'Z', 0xAA}, 0, false, u"Z"},
        {"NULs kept", {3, 0, 0, 'a', 0, 'b'}, 0, false, std::u16string(u"a\0b", 3)},
        {"8-bit count of a sheet name", {2, 1, 0x71, 0x5C, 0x30, 0x75}, 0, true, u"山田"},
        {"8-bit count: flag bits of long strings ignored", {1, 0x0C, 'S'}, 0, true, u"S"},
        {"count beyond the body", {5, 0, 0, 'a', 'b'}, 0, false, u"ab"},
        {"16-bit character cut in two", {2, 0, 1, 'a', 0, 'b'}, 0, false, u"a"},
        {"no flags byte", {1, 0}, 0, false, u""},
        {"start past the body", {1, 0, 0, 'a'}, 9, false, u""},
        {"run count past the body", {1, 0, 0x08, 1}, 0, false, u""},
        {"empty body", {}, 0, false, u""},
    };
    for (const auto &c : cases) EXPECT_EQ(units(c.body, c.at, c.shortCount), c.want) << c.name;
}
