// What the reader reports for each cell record, the number texts, and the
// shared string table with its CONTINUE records.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "xbiff_recorder.h"

namespace {

using namespace dorv::test;
using dorv::TXBiff;
using dorv::XBiffError;
using Events = std::vector<std::string>;

TEST(XBiffNumbers, RkDecoding) {
    std::uint32_t oneUpper = 0x3FF00000;  // upper half of the double 1.0
    struct Case {
        std::uint32_t rk;
        const char *text;
    } cases[] = {
        {402, "100"},
        {403, "1"},
        {0xFFFFFFEE, "-5"},  // (-5 << 2) | 2
        {oneUpper, "1"},
        {oneUpper | 1, "0.01"},
        {(1234u << 2) | 3, "12.34"},
        {0x80000002, "-536870912"},  // the smallest 30-bit integer
        {0x7FFFFFFE, "536870911"},
        {2, "0"},
        {0xC0240000 | 1, "-0.1"},  // -10.0, divided by 100
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rk);
        EXPECT_EQ(TXBiff::formatGeneral(TXBiff::RkToFloat(c.rk)), c.text);
        Recorder r;
        EXPECT_EQ(r.texts(biff8File(rk(0, 0, c.rk))), Events{c.text});
    }
}

TEST(XBiffNumbers, GeneralFormat) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        const char *text;
    } cases[] = {
        {12, "12"},
        {12.5, "12.5"},
        {0.1 + 0.2, "0.3"},
        {1e20, "1E20"},
        {0.000012345, "0.000012345"},
        {0.00001, "0.00001"},
        {0.0000099, "9.9E-6"},
        {-0.0000012345, "-1.2345E-6"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {123456789012345.6, "123456789012346"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {-1234.5, "-1234.5"},
        {100, "100"},
        {-0.0, "0"},
        {0, "0"},
        {1e-300, "1E-300"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {std::nan(""), "NAN"},
        {inf, "INF"},
        {-inf, "-INF"},
    };
    for (const auto &c : cases) EXPECT_EQ(TXBiff::formatGeneral(c.value), c.text) << c.value;
}

TEST(XBiffCells, NumberRecordsOfEveryVersion) {
    const Bytes biff2Int = rec(0x0002, B().u16(1).u16(2).u8(0x40).u8(0x00).u8(0x01).u16(65535));
    const Bytes biff2Num = rec(0x0003, B().u16(1).u16(3).u8(1).u8(2).u8(3).f64(-2.5));
    struct Case {
        const char *what;
        Bytes file;
        Events events;
    } cases[] = {
        {"BIFF2 INTEGER and NUMBER with their attribute bytes",
         cat({bof2(kWorksheet), biff2Int, biff2Num}),
         {"cell 1 1 2 65600 65535", "cell 1 1 3 197121 -2.5"}},
        {"NUMBER", biff8File(number(7, 8, 12.5, 21)), {"cell 1 7 8 21 12.5"}},
        {"RK", biff8File(rk(65535, 255, 403, 99)), {"cell 1 65535 255 99 1"}},
        {"MULRK at columns 2 to 4",
         biff8File(rec(0x00BD, B().u16(4).u16(2).u16(20).u32(402).u16(21).u32(403).u16(22).u32(0xFFFFFFEE).u16(4))),
         {"cell 1 4 2 20 100", "cell 1 4 3 21 1", "cell 1 4 4 22 -5"}},
        {"MULRK of one value", biff8File(rec(0x00BD, B().u16(0).u16(9).u16(1).u32(402).u16(9))), {"cell 1 0 9 1 100"}},
        {"MULRK without values", biff8File(rec(0x00BD, B().u16(0).u16(9).u16(8))), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.run(c.file), c.events);
    }
}

TEST(XBiffCells, FormulaResults) {
    const auto formula = [](unsigned col, const Bytes &result) {
        return rec(0x0006, B().u16(3).u16(col).u16(17).bytes(result).u16(0).u32(0).u16(3).u8(0x1E).u16(1));
    };
    const auto special = [](unsigned kind, unsigned value) {
        return B().u8(kind).u8(0).u8(value).u8(0).u16(0).u16(0xFFFF).b;
    };
    // A double whose first byte is 1 (1.0000000000000002).
    const Bytes oneish = B().f64(std::nextafter(1.0, 2.0)).b;
    ASSERT_EQ(oneish[0], 1);
    const Bytes string8 = rec(0x0207, B().u16(5).u8(0).str("hello"));
    const Bytes string16 = rec(0x0207, B().u16(2).u8(1).utf16(u"合格"));
    struct Case {
        const char *what;
        Bytes cells;
        Events events;
    } cases[] = {
        {"TRUE", formula(0, special(1, 1)), {"cell 1 3 0 17 TRUE"}},
        {"FALSE", formula(0, special(1, 0)), {"cell 1 3 0 17 FALSE"}},
        {"number whose first byte is 1", formula(0, oneish), {"cell 1 3 0 17 1"}},
        {"number", formula(1, B().f64(57.5)), {"cell 1 3 1 17 57.5"}},
        {"error", formula(0, special(2, 7)), {"cell 1 3 0 17 NAN"}},
        {"empty", formula(0, special(3, 0)), {"cell 1 3 0 17 NAN"}},
        {"8-bit text", cat({formula(4, special(0, 0)), string8}), {"cell 1 3 4 17 NAN", "cell 1 3 4 17 hello"}},
        {"16-bit text", cat({formula(5, special(0, 0)), string16}), {"cell 1 3 5 17 NAN", "cell 1 3 5 17 合格"}},
        {"text without STRING", formula(0, special(0, 0)), {"cell 1 3 0 17 NAN"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.run(biff8File(c.cells)), c.events);
    }
}

TEST(XBiffCells, FormulaAndStringLayoutsFollowTheVersion) {
    // CP932 bytes of 山田.
    const std::string yamada = "\x8E\x52\x93\x63";
    const Bytes result = B().u8(0).u8(0).u8(0).u8(0).u16(0).u16(0xFFFF);
    const auto later = [&](std::uint16_t id) { return rec(id, B().u16(1).u16(2).u16(33).bytes(result).u16(0).u16(0)); };
    const Bytes biff2Formula = rec(0x0006, B().u16(1).u16(2).u8(1).u8(2).u8(3).f64(7.25).u8(0).u8(0));
    const Bytes string2 = rec(0x0007, B().u8(4).str(yamada));
    const Bytes string5 = rec(0x0207, B().u16(4).str(yamada));
    const auto bof = [](std::uint16_t id) { return rec(id, B().u16(0).u16(kWorksheet).u16(0)); };
    struct Case {
        const char *what;
        Bytes file;
        Events events;
    } cases[] = {
        {"BIFF2", cat({bof2(kWorksheet), biff2Formula, string2}), {"cell 1 1 2 197121 7.25", "cell 1 1 2 197121 山田"}},
        {"plain BIFF3", cat({bof(0x0209), later(0x0206), string5}), {"cell 1 1 2 33 NAN", "cell 1 1 2 33 山田"}},
        {"plain BIFF4", cat({bof(0x0409), later(0x0406), string5}), {"cell 1 1 2 33 NAN", "cell 1 1 2 33 山田"}},
        {"plain BIFF5", cat({bof5(kWorksheet), later(0x0006), string5}), {"cell 1 1 2 33 NAN", "cell 1 1 2 33 山田"}},
        {"BIFF5 book stream",
         makeCompoundFile({{u"Book", cat({bof5(kGlobals), eof(), bof5(kWorksheet), later(0x0006), string5})}}),
         {"cell 1 1 2 33 NAN", "cell 1 1 2 33 山田"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.run(c.file), c.events);
    }
}

TEST(XBiffCells, TextRecords) {
    const Bytes cp1252 = rec(0x0042, B().u16(1252));
    struct Case {
        const char *what;
        Bytes file;
        Events events;
    } cases[] = {
        {"BIFF2 LABEL in CP932",
         cat({bof2(kWorksheet), rec(0x0004, B().u16(0).u16(1).u8(0).u8(0).u8(9).u8(4).str("\x8E\x52\x93\x63"))}),
         {"cell 1 0 1 589824 山田"}},
        {"BIFF5 LABEL up to its first NUL",
         cat({bof5(kWorksheet),
              rec(0x0204, B().u16(2).u16(0).u16(15).u16(7).str(std::string_view("ab\0cd", 5)).str("\xB1"))}),
         {"cell 1 2 0 15 ab"}},
        {"BIFF5 LABEL with half-width katakana",
         cat({bof5(kWorksheet), rec(0x0204, B().u16(2).u16(0).u16(15).u16(2).str("\xB6\xC5"))}),
         {"cell 1 2 0 15 ｶﾅ"}},
        {"BIFF5 LABEL in code page 1252",
         cat({bof5(kGlobals), cp1252, eof(), bof5(kWorksheet),
              rec(0x0204, B().u16(0).u16(0).u16(15).u16(5).str("Cr\xE8me"))}),
         {"cell 1 0 0 15 Crème"}},
        {"BIFF5 RSTRING",
         cat({bof5(kWorksheet), rec(0x00D6, B().u16(0).u16(3).u16(15).u16(3).str("abc").u8(1).u8(0).u8(0))}),
         {"cell 1 0 3 15 abc"}},
        {"BIFF8 LABEL, 16-bit",
         biff8File(rec(0x0204, B().u16(0).u16(0).u16(15).bytes(str16(u"髙橋①")))),
         {"cell 1 0 0 15 髙橋①"}},
        {"BIFF8 LABEL, 8-bit",
         biff8File(rec(0x0204, B().u16(0).u16(0).u16(15).bytes(str8("Cr\xE8me")))),
         {"cell 1 0 0 15 Crème"}},
        {"BIFF8 LABEL, count past the body",
         biff8File(rec(0x0204, B().u16(0).u16(0).u16(15).u16(50).u8(0).str("ab"))),
         {"cell 1 0 0 15 ab"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.run(c.file), c.events);
    }
}

TEST(XBiffCells, SheetListAndColumnWidths) {
    const auto sheet8 = [](unsigned type, const Bytes &name) {
        return rec(0x0085, B().u32(0).u8(0).u8(type).bytes(Bytes(name.begin() + 1, name.end())));
    };
    const auto colinfo = [](unsigned first, unsigned last, unsigned width) {
        return rec(0x007D, B().u16(first).u16(last).u16(width).u16(15).u16(0).u16(0));
    };
    struct Case {
        const char *what;
        Bytes file;
        Events events;
    } cases[] = {
        {"BIFF8 names, a chart sheet between",
         biff8File({},
                   cat({sheet8(0, B().u8(0).u8(2).u8(1).utf16(u"成績")), sheet8(2, B().u8(0).u8(5).u8(0).str("Chart")),
                        sheet8(0, B().u8(0).u8(5).u8(0).str("Cr\xE8me"))})),
         {"sheet 成績", "sheet Crème"}},
        {"BIFF5 names in CP932",
         makeCompoundFile({{u"Book", cat({bof5(kGlobals),
                                          rec(0x0085, B().u32(0).u8(0).u8(0).u8(4).str("\x90\xAC\x90\xD1")), eof()})}}),
         {"sheet 成績"}},
        {"COLINFO for columns 0 to 3",
         biff8File(colinfo(0, 3, 2560)),
         {"colw 1 0 2560", "colw 1 1 2560", "colw 1 2 2560", "colw 1 3 2560"}},
        {"COLINFO of one column in the globals",
         makeCompoundFile({{u"Workbook", cat({bof8(kGlobals), colinfo(7, 7, 300)})}}),
         {"colw 0 7 300"}},
        {"COLINFO with last below first", biff8File(colinfo(5, 4, 2560)), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.run(c.file), c.events);
    }
}

TEST(XBiffCells, RecordsShorterThanTheirFieldsReportNothing) {
    const Bytes shortOnes[] = {
        rec(0x0002, B().zeros(8)), rec(0x0003, B().zeros(14)), rec(0x0203, B().zeros(13)), rec(0x0004, B().zeros(7)),
        rec(0x0204, B().zeros(7)), rec(0x00D6, B().zeros(7)),  rec(0x0006, B().zeros(13)), rec(0x027E, B().zeros(9)),
        rec(0x00BD, B().zeros(5)), rec(0x00FD, B().zeros(9)),  rec(0x0085, B().zeros(6)),  rec(0x007D, B().zeros(5)),
        rec(0x0207, B().zeros(2)), rec(0x0042, B().zeros(1)),
    };
    for (const auto &r0 : shortOnes) {
        SCOPED_TRACE(testing::Message() << "id " << std::hex << (r0[0] | r0[1] << 8));
        Recorder r;
        EXPECT_EQ(r.run(biff8File(r0)), Events{});
    }
    // A worksheet BOF too short for its type counts no sheet.
    Recorder r;
    EXPECT_EQ(r.run(cat({bof8(kGlobals), rec(0x0809, B().u16(0x0600).u8(0x10)), rk(0, 0, 402)})),
              Events{"cell 0 0 0 15 100"});
}

// --- shared string table -------------------------------------------------

Bytes sstFile(const Bytes &sstAndContinues, unsigned cells) {
    Bytes lookups;
    for (unsigned i = 0; i < cells; ++i) {
        const Bytes c = labelSst(i, 0, i);
        lookups.insert(lookups.end(), c.begin(), c.end());
    }
    return biff8File(lookups, sstAndContinues);
}

TEST(XBiffSharedStrings, StringsSplitAcrossContinueRecords) {
    const std::string a100(100, 'a');
    struct Case {
        const char *what;
        Bytes records;
        Events texts;
    } cases[] = {
        {"one segment", rec(0x00FC, sstBody({str8("one"), str16(u"二"), str8("")})), {"one", "二", ""}},
        {"8-bit characters go on as 16-bit",
         cat({rec(0x00FC, B().u32(1).u32(1).u16(6).u8(0).str("abc")), rec(0x003C, B().u8(1).utf16(u"漢字X"))}),
         {"abc漢字X"}},
        {"16-bit characters go on as 8-bit",
         cat({rec(0x00FC, B().u32(1).u32(1).u16(4).u8(1).utf16(u"山田")), rec(0x003C, B().u8(0).str("ab"))}),
         {"山田ab"}},
        {"three pieces",
         cat({rec(0x00FC, B().u32(1).u32(1).u16(3).u8(0).str("a")), rec(0x003C, B().u8(1).utf16(u"b")),
              rec(0x003C, B().u8(0).str("c"))}),
         {"abc"}},
        {"next string begins a segment",
         cat({rec(0x00FC, B().u32(2).u32(2).bytes(str8("first"))), rec(0x003C, str16(u"次"))}),
         {"first", "次"}},
        {"header ends a segment",
         cat({rec(0x00FC, B().u32(1).u32(1).u16(2).u8(0)), rec(0x003C, B().u8(1).utf16(u"表示"))}),
         {"表示"}},
        {"rich text and extension skipped across segments",
         cat({rec(0x00FC, B().u32(2).u32(2).u16(2).u8(0x0D).u16(2).u32(3).utf16(u"赤")),
              rec(0x003C, B().u8(1).utf16(u"字").zeros(4)), rec(0x003C, B().zeros(4).zeros(3).bytes(str8("next")))}),
         {"赤字", "next"}},
        {"surrogate pair split between pieces",
         cat({rec(0x00FC, B().u32(1).u32(1).u16(2).u8(1).u16(0xD842)), rec(0x003C, B().u8(1).u16(0xDFB7))}),
         {"𠮷"}},
        {"characters missing at the end",
         cat({rec(0x00FC, B().u32(2).u32(2).bytes(str8("kept")).u16(9).u8(0).str("lost"))}),
         {"kept"}},
        {"runs that cannot be skipped", rec(0x00FC, B().u32(2).u32(2).u16(1).u8(8).u16(50).str("x").zeros(4)), {"x"}},
        {"table of counts only", rec(0x00FC, B().u32(0).u32(0)), {}},
        {"table shorter than its counts", rec(0x00FC, B().u32(0)), {}},
        {"long strings", cat({rec(0x00FC, B().u32(2).u32(2).bytes(str8(a100)).bytes(str8(a100)))}), {a100, a100}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        EXPECT_EQ(r.texts(sstFile(c.records, 4)), c.texts);
    }
}

TEST(XBiffSharedStrings, LookupsOutsideTheTableReportNothing) {
    Recorder r;
    const Bytes sst = rec(0x00FC, sstBody({str8("zero"), str8("one")}));
    EXPECT_EQ(r.run(biff8File(cat({labelSst(0, 0, 1), labelSst(0, 1, 2), labelSst(0, 2, 0xFFFFFFFF)}), sst)),
              Events{"cell 1 0 0 0 one"});
    // A lookup before any table.
    EXPECT_EQ(
        r.run(makeCompoundFile({{u"Workbook", cat({bof8(kWorksheet), labelSst(0, 0, 0), sst, labelSst(0, 0, 0)})}})),
        Events{"cell 1 0 0 0 zero"});
}

TEST(XBiffSharedStrings, RecordSizeLimit) {
    // A body of exactly `size` bytes: counts, then one 8-bit string filling it.
    const auto sstOf = [](std::size_t size) {
        return rec(0x00FC, B().u32(1).u32(1).bytes(str8(std::string(size - 11, 'x'))));
    };
    const Bytes bigContinue = cat(
        {rec(0x00FC, B().u32(1).u32(1).u16(9000).u8(0).str("ab")), rec(0x003C, B().u8(0).str(std::string(8224, 'y')))});
    struct Case {
        const char *what;
        Bytes records;
        bool fails;
    } cases[] = {
        {"8224 bytes", sstOf(8224), false},
        {"8225 bytes", sstOf(8225), true},
        {"CONTINUE of 8225 bytes", bigContinue, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        if (!c.fails) {
            EXPECT_EQ(r.texts(sstFile(c.records, 1)), Events{std::string(8224 - 11, 'x')});
            continue;
        }
        try {
            r.run(sstFile(c.records, 1));
            FAIL() << "no exception";
        } catch (const XBiffError &e) {
            EXPECT_STREQ(e.what(), "未知のフォーマット.");
        }
    }
}

TEST(XBiffSharedStrings, TableOfManyStringsAcrossRecords) {
    // 3000 strings written the way Excel writes them: records of at most 8224
    // bytes, a string split wherever a record fills up.
    std::vector<std::u16string> strings;
    for (int i = 0; i < 3000; ++i) {
        std::u16string s = (i % 2 ? u"生徒" : u"student");
        for (char c : std::to_string(i)) s.push_back(char16_t(c));
        strings.push_back(s);
    }
    Bytes records;
    B cur;
    cur.u32(3000).u32(3000);
    bool first = true;
    const auto flush = [&] {
        const Bytes r = rec(first ? 0x00FC : 0x003C, cur.b);
        records.insert(records.end(), r.begin(), r.end());
        cur.b.clear();
        first = false;
    };
    for (const auto &s : strings) {
        const bool wide = s[0] > 0xFF;
        if (cur.b.size() + 3 > 8224) flush();
        cur.u16(unsigned(s.size())).u8(wide ? 1 : 0);
        for (std::size_t k = 0; k < s.size(); ++k) {
            if (cur.b.size() + (wide ? 2 : 1) > 8224) {
                flush();
                cur.u8(wide ? 1 : 0);
            }
            if (wide) cur.u16(s[k]);
            else cur.u8(unsigned(s[k]));
        }
    }
    flush();
    Recorder r;
    const Events got = r.texts(sstFile(records, 3000));
    ASSERT_EQ(got.size(), 3000u);
    for (std::size_t i = 0; i < got.size(); i += 499)
        EXPECT_EQ(got[i], (i % 2 ? "生徒" : "student") + std::to_string(i));
    EXPECT_EQ(got.back(), "生徒2999");
}

}  // namespace
