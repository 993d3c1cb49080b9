// The cell record layouts as the reader, the service and the older-format
// conversion read them: values of every layout, the version's choices, and
// what a damaged body gives (fields past its end as zeros, the two run
// lengths, the two text lengths).
#include <gtest/gtest.h>

#include "biff_builder.h"
#include "workbook/biff_ids.h"
#include "workbook/cell_records.h"
#include "workbook/utf16.h"

namespace {

using dorv::biff::CellRecord;
using dorv::test::B;
using dorv::test::Bytes;
using Kind = CellRecord::Kind;
namespace id = dorv::biff8::id;

// A record body with the decoder's view of it, which points into the body.
struct Decoded {
    Decoded(std::uint16_t rid, Bytes bytes, int version)
        : body(std::move(bytes)), record(rid, body.data(), body.size(), version) {}
    Decoded(const Decoded &) = delete;
    const CellRecord *operator->() const { return &record; }
    Bytes body;
    CellRecord record;
};

Decoded decode(std::uint16_t rid, Bytes body, int version) { return Decoded(rid, std::move(body), version); }

// Row 3, column 2 and the XF index 15, or BIFF2's attribute bytes 01 02 03.
B header() { return B().u16(3).u16(2).u16(15); }
B header2() { return B().u16(3).u16(2).u8(1).u8(2).u8(3); }

TEST(CellRecords, NumbersOfEveryLayout) {
    struct Case {
        const char *what;
        std::uint16_t rid;
        int version;
        Bytes body;
        int xf;
        double number;
    } cases[] = {
        {"BIFF2 INTEGER", id::Integer2, 2, header2().u16(4660), 0x030201, 4660},
        {"BIFF2 NUMBER", id::Number2, 2, header2().f64(12.5), 0x030201, 12.5},
        {"NUMBER", id::Number, 8, header().f64(-0.25), 15, -0.25},
        {"RK integer", id::Rk, 8, header().u32((1234u << 2) | 2), 15, 1234},
        {"RK integer in hundredths", id::Rk, 5, header().u32((1234u << 2) | 3), 15, 12.34},
        {"FORMULA number result", id::Formula, 8, header().f64(7.5).zeros(8), 15, 7.5},
        {"BIFF2 FORMULA", id::Formula, 2, header2().f64(7.5).zeros(3), 0x030201, 7.5},
        // The stream's version decides, whichever of the FORMULA ids.
        {"BIFF3 FORMULA id in a BIFF2 stream", id::Formula3, 2, header2().f64(7.5).zeros(3), 0x030201, 7.5},
        {"BIFF3 FORMULA", id::Formula3, 3, header().f64(7.5).zeros(6), 15, 7.5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded r = decode(c.rid, c.body, c.version);
        EXPECT_TRUE(r->whole());
        EXPECT_EQ(r->row(), 3);
        EXPECT_EQ(r->col(), 2);
        EXPECT_EQ(r->xf(), c.xf);
        EXPECT_EQ(r->number(), c.number);
    }
}

TEST(CellRecords, FieldsPastTheEndOfTheBodyReadAsZeros) {
    const Bytes number = header().f64(-0.25);
    // One byte short: the upper half of the number reads as 0 as a whole,
    // the lower half is kept.
    const Bytes cut(number.begin(), number.end() - 1);
    const Decoded r = decode(id::Number, cut, 8);
    EXPECT_FALSE(r->whole());
    EXPECT_EQ(r->number(), 0.0);  // -0.25 has a zero lower half
    const Bytes halves = header().u32(1).u16(0x7FF0);
    EXPECT_EQ(decode(id::Number, halves, 8)->number(), 4.9406564584124654e-324);

    const Decoded empty = decode(id::BoolErr, {}, 8);
    EXPECT_EQ(empty->kind(), Kind::BoolErr);
    EXPECT_FALSE(empty->whole());
    EXPECT_EQ(empty->row(), 0);
    EXPECT_EQ(empty->xf(), 0);
    EXPECT_EQ(empty->boolErrValue(), 0);
    EXPECT_FALSE(empty->isError());
    EXPECT_EQ(decode(id::LabelSst, header().u16(1), 8)->sharedIndex(), 0u);
}

TEST(CellRecords, WholeWithEveryFixedField) {
    struct Case {
        std::uint16_t rid;
        int version;
        std::size_t size;
    } cases[] = {
        {id::Integer2, 2, 9}, {id::Number2, 2, 15},  {id::Number, 8, 14},  {id::Rk, 8, 10},     {id::MulRk, 8, 6},
        {id::Blank, 8, 6},    {id::MulBlank, 8, 6},  {id::Label2, 2, 8},   {id::Label, 5, 8},   {id::Label, 8, 8},
        {id::RString, 8, 8},  {id::LabelSst, 8, 10}, {id::BoolErr2, 2, 9}, {id::BoolErr, 8, 8}, {id::Formula, 2, 15},
        {id::Formula, 8, 14}, {id::Formula4, 4, 14}, {id::String2, 2, 1},  {id::String, 5, 2},  {id::String, 8, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.rid) + " in BIFF" + std::to_string(c.version));
        const Bytes full(c.size, 0), shorter(c.size - 1, 0);
        EXPECT_TRUE(decode(c.rid, full, c.version)->whole());
        EXPECT_FALSE(decode(c.rid, shorter, c.version)->whole());
    }
    EXPECT_EQ(decode(id::Bof, Bytes(16, 0), 8)->kind(), Kind::None);
    EXPECT_EQ(decode(id::ColInfo, Bytes(12, 0), 8)->kind(), Kind::None);
}

TEST(CellRecords, RunsByBodySizeAndByTheirLastColumn) {
    // Two RK numbers, a last column that says three.
    const Bytes mulrk = B().u16(3).u16(2).u16(20).u32((5u << 2) | 2).u16(21).u32((6u << 2) | 2).u16(4);
    const Decoded r = decode(id::MulRk, mulrk, 8);
    EXPECT_EQ(r->kind(), Kind::NumberRun);
    EXPECT_EQ(r->runLength(), 2u);
    EXPECT_EQ(r->lastCol(), 4);
    EXPECT_EQ(r->runXf(0), 20);
    EXPECT_EQ(r->runXf(1), 21);
    EXPECT_EQ(r->runNumber(0), 5);
    EXPECT_EQ(r->runNumber(1), 6);
    EXPECT_EQ(r->runNumber(2), 0);  // past the body
    EXPECT_EQ(r->runXf(2), 4);      // the last column where a third XF would stand

    const Decoded b = decode(id::MulBlank, B().u16(3).u16(2).u16(20).u16(21).u16(22).u16(4), 8);
    EXPECT_EQ(b->kind(), Kind::BlankRun);
    EXPECT_EQ(b->runLength(), 3u);
    EXPECT_EQ(b->lastCol(), 4);
    EXPECT_EQ(b->runXf(2), 22);

    EXPECT_EQ(decode(id::MulRk, B().u16(3).u16(2), 8)->runLength(), 0u);
    EXPECT_EQ(decode(id::MulRk, B().u16(3), 8)->lastCol(), 3);
    EXPECT_EQ(decode(id::MulRk, B().u8(3), 8)->lastCol(), 0);
}

std::string text8(const Decoded &r, std::size_t n) {
    return std::string(reinterpret_cast<const char *>(r->chars()), n);
}

TEST(CellRecords, EightBitTextsWithTheirTwoLengths) {
    struct Case {
        const char *what;
        std::uint16_t rid;
        int version;
        Bytes body;
        std::size_t stated, available;
        std::string chars;
    } cases[] = {
        {"BIFF2 LABEL", id::Label2, 2, header2().u8(2).str("abXY"), 2, 4, "abXY"},
        {"LABEL", id::Label, 5, header().u16(2).str("abXY"), 2, 4, "abXY"},
        {"RSTRING with its runs behind", id::RString, 4, header().u16(3).str("abc").u8(1).u8(0), 3, 5,
         std::string("abc\1\0", 5)},
        {"LABEL longer than its body", id::Label, 5, header().u16(9).str("ab"), 9, 2, "ab"},
        {"LABEL without its length field", id::Label, 5, header().u8(1), 0, 0, ""},
        {"BIFF2 STRING", id::String2, 2, B().u8(2).str("abc"), 2, 3, "abc"},
        {"STRING", id::String, 5, B().u16(3).str("abc"), 3, 3, "abc"},
        // The stream's version decides, whichever of the STRING ids.
        {"STRING id in a BIFF2 stream", id::String, 2, B().u8(2).str("abc"), 2, 3, "abc"},
        {"BIFF2 STRING id in a BIFF5 stream", id::String2, 5, B().u16(3).str("abc"), 3, 3, "abc"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded r = decode(c.rid, c.body, c.version);
        EXPECT_FALSE(r->unicode());
        EXPECT_EQ(r->statedLength(), c.stated);
        EXPECT_EQ(r->availableLength(), c.available);
        EXPECT_EQ(text8(r, r->availableLength()), c.chars);
    }
}

TEST(CellRecords, Biff8Strings) {
    struct Case {
        const char *what;
        std::uint16_t rid;
        Bytes body;
        std::u16string text;
    } cases[] = {
        {"LABEL, compressed", id::Label, header().u16(2).u8(0).str("ab"), u"ab"},
        {"LABEL, 16-bit", id::Label, header().u16(2).u8(1).utf16(u"国語"), u"国語"},
        {"RSTRING, its runs behind", id::RString, header().u16(1).u8(0).str("a").u16(1).u16(0).u16(0), u"a"},
        {"LABEL longer than its body", id::Label, header().u16(5).u8(0).str("ab"), u"ab"},
        {"LABEL with a NUL", id::Label, header().u16(3).u8(0).str(std::string_view("a\0b", 3)),
         std::u16string(u"a\0b", 3)},
        {"STRING", id::String, B().u16(2).u8(1).utf16(u"数学"), u"数学"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded r = decode(c.rid, c.body, 8);
        EXPECT_TRUE(r->unicode());
        EXPECT_EQ(r->unicodeText(), c.text);
    }
    // Before BIFF8 the same LABEL is 8-bit.
    EXPECT_FALSE(decode(id::Label, header().u16(2).str("ab"), 5)->unicode());
    // BIFF2's LABEL stays 8-bit in any stream.
    EXPECT_FALSE(decode(id::Label2, header2().u8(2).str("ab"), 8)->unicode());
}

TEST(CellRecords, BooleansErrorsAndFormulaResults) {
    const Decoded yes = decode(id::BoolErr, header().u8(1).u8(0), 8);
    EXPECT_EQ(yes->boolErrValue(), 1);
    EXPECT_FALSE(yes->isError());
    const Decoded div0 = decode(id::BoolErr, header().u8(0x07).u8(1), 8);
    EXPECT_EQ(div0->boolErrValue(), 0x07);
    EXPECT_TRUE(div0->isError());
    const Decoded biff2 = decode(id::BoolErr2, header2().u8(0x2A).u8(1), 2);
    EXPECT_EQ(biff2->xf(), 0x030201);
    EXPECT_EQ(biff2->boolErrValue(), 0x2A);
    EXPECT_TRUE(biff2->isError());

    struct Case {
        const char *what;
        Bytes result;
        bool isNumber;
        int type, value;
    } cases[] = {
        {"number", B().f64(3), true, 0, 0},
        {"text in the STRING behind", B().u8(0).zeros(5).u16(0xFFFF), false, 0, 0},
        {"boolean", B().u8(1).u8(0).u8(1).zeros(3).u16(0xFFFF), false, 1, 1},
        {"error", B().u8(2).u8(0).u8(0x07).zeros(3).u16(0xFFFF), false, 2, 0x07},
        {"empty text", B().u8(3).zeros(5).u16(0xFFFF), false, 3, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded r = decode(id::Formula, header().bytes(c.result).u16(0).u32(0).u16(0), 8);
        EXPECT_EQ(r->kind(), Kind::Formula);
        EXPECT_EQ(r->resultIsNumber(), c.isNumber);
        if (c.isNumber) continue;
        EXPECT_EQ(r->resultType(), c.type);
        EXPECT_EQ(r->resultValue(), c.value);
    }
    // A shared formula: its option flags and the token that refers to the shared one.
    const Decoded shared = decode(id::Formula, header().f64(1).u16(0x0008).u32(0).u16(5).u8(0x01).u16(3).u16(2), 8);
    EXPECT_EQ(shared->formulaOptions(), 0x0008);
    EXPECT_EQ(shared->firstToken(), 0x01);
}

}  // namespace
