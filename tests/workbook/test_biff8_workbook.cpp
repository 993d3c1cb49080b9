// The BIFF8 record model: what a save keeps byte for byte, what it lays out
// anew, and how writes treat cell runs, formulas and formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/workbook/biff8_test_support.h"
#include "workbook/biff8_workbook.h"

namespace dorv::biff8 {
namespace {

using testing::ForeignBiff8Workbooks;
using testing::ReadBytes;
using testing::StreamRecords;
using testing::WorkbookStream;

std::vector<std::size_t> positions(const std::vector<Record> &recs) {
    std::vector<std::size_t> pos;
    std::size_t p = 0;
    for (const Record &r : recs) {
        pos.push_back(p);
        p += serialisedSize(r);
    }
    return pos;
}

// Checks every absolute position of a stream and the bookkeeping of every
// sheet. Returns the records of each worksheet substream.
std::vector<std::vector<Record>> expectConsistent(const std::string &stream) {
    auto recs = StreamRecords(stream);
    auto pos = positions(recs);
    auto subs = splitSubstreams(recs);
    std::set<std::size_t> bofAt;
    for (const Substream &s : subs) bofAt.insert(s.offset);
    for (std::size_t i = subs[0].begin; i < subs[0].end; ++i) {
        if (recs[i].id == id::BoundSheet) {
            EXPECT_TRUE(bofAt.count(get32(recs[i].body, 0))) << "sheet position";
        }
    }
    for (const Record &r : recs) {
        if (r.id == id::Sst || r.id == id::Continue) {
            EXPECT_LE(r.body.size(), kMaxRecordBody);
        }
    }

    std::vector<std::vector<Record>> sheets;
    for (std::size_t k = 1; k < subs.size(); ++k) {
        const Substream &s = subs[k];
        if (s.type != 0x0010) continue;
        sheets.emplace_back(recs.begin() + static_cast<std::ptrdiff_t>(s.begin),
                            recs.begin() + static_cast<std::ptrdiff_t>(s.end));
        std::vector<std::size_t> dbcells;
        std::size_t defColWidth = 0;
        const Record *index = nullptr;
        std::set<std::size_t> rowAt;
        int depth = 0;
        for (std::size_t i = s.begin; i < s.end; ++i) {
            if (recs[i].id == id::Bof) ++depth;
            if (recs[i].id == id::Eof) --depth;
            if (depth != 1) continue;
            if (recs[i].id == id::Index) index = &recs[i];
            if (recs[i].id == id::DefColWidth) defColWidth = pos[i];
            if (recs[i].id == id::Row) rowAt.insert(pos[i]);
            if (recs[i].id == id::DbCell) {
                dbcells.push_back(pos[i]);
                EXPECT_TRUE(rowAt.count(pos[i] - get32(recs[i].body, 0))) << "DBCELL points at no ROW";
            }
        }
        if (index) {
            EXPECT_EQ((index->body.size() - 16) / 4, dbcells.size());
            for (std::size_t d = 0; d < dbcells.size(); ++d) EXPECT_EQ(get32(index->body, 16 + 4 * d), dbcells[d]);
            if (defColWidth && get32(index->body, 12)) {
                EXPECT_EQ(get32(index->body, 12), defColWidth);
            }
        }
    }
    return sheets;
}

bool hasRecord(const std::vector<Record> &recs, std::uint16_t rid) {
    for (const Record &r : recs)
        if (r.id == rid) return true;
    return false;
}

std::vector<Record> withoutIndex(std::vector<Record> recs) {
    std::erase_if(recs, [](const Record &r) { return r.id == id::Index; });
    return recs;
}

bool sameRecords(const std::vector<Record> &a, const std::vector<Record> &b) { return serialise(a) == serialise(b); }

TEST(Biff8Workbook, ForeignWorkbooksWithoutWritesSaveByteForByte) {
    auto files = ForeignBiff8Workbooks();
    ASSERT_FALSE(files.empty()) << "interop workbooks missing";
    for (const auto &f : files) {
        SCOPED_TRACE(f.filename().string());
        std::string stream = WorkbookStream(ReadBytes(f));
        Workbook wb = Workbook::parse(stream);
        wb.sheet(0);  // reading a sheet is no change
        EXPECT_FALSE(wb.changed());
        EXPECT_EQ(wb.save(true), stream);
    }
}

TEST(Biff8Workbook, WritesRelayOutTheChangedSheetAndMoveTheOthersWhole) {
    for (const auto &f : ForeignBiff8Workbooks()) {
        SCOPED_TRACE(f.filename().string());
        std::string stream = WorkbookStream(ReadBytes(f));
        auto before = expectConsistent(stream);
        Workbook wb = Workbook::parse(stream);
        ASSERT_GE(wb.sheetCount(), 2u);
        SheetCells &s = wb.sheet(0);
        struct W {
            std::uint16_t row, col;
            int kind;  // 0 number, 1 text, 2 blank
            double n;
            const char *t;
        };
        const W writes[] = {{1, 1, 0, 85, ""},   {2, 2, 1, 0, "山田　花子"}, {3, 3, 2, 0, ""},   {0, 0, 1, 0, "見出し"},
                            {150, 7, 0, -5, ""}, {999, 200, 1, 0, "遠く"},   {1, 2, 0, 12.5, ""}};
        for (const W &w : writes) {
            if (w.kind == 0) s.setNumber(w.row, w.col, w.n);
            else if (w.kind == 1) s.setShared(w.row, w.col, wb.sst().add(w.t));
            else s.setBlank(w.row, w.col);
        }
        std::string saved = wb.save(true);
        auto after = expectConsistent(saved);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_TRUE(hasRecord(after[0], id::Uncalced));
        for (std::size_t k = 1; k < after.size(); ++k) {
            EXPECT_FALSE(hasRecord(after[k], id::Uncalced));
            EXPECT_TRUE(sameRecords(withoutIndex(after[k]), withoutIndex(before[k]))) << "sheet " << k;
        }
        // DIMENSIONS of the changed sheet covers its farthest cell.
        for (const Record &r : after[0])
            if (r.id == id::Dimensions) {
                EXPECT_EQ(get32(r.body, 4), 1000u);
                EXPECT_EQ(get16(r.body, 10), 201u);
            }

        Workbook back = Workbook::parse(saved);
        for (std::size_t i = 0; i < wb.sheetCount(); ++i) EXPECT_EQ(back.sheetName(i), wb.sheetName(i));
        const SheetCells &b = back.sheet(0);
        EXPECT_EQ(b.text(1, 1, back.sst()), "85");
        EXPECT_EQ(b.text(2, 2, back.sst()), "山田　花子");
        EXPECT_EQ(b.value(3, 3, back.sst()).kind, CellKind::Empty);
        EXPECT_EQ(b.text(0, 0, back.sst()), "見出し");
        EXPECT_EQ(b.text(150, 7, back.sst()), "-5");
        EXPECT_EQ(b.text(999, 200, back.sst()), "遠く");
        EXPECT_EQ(b.text(1, 2, back.sst()), "12.5");
        // The strings that were there keep their indexes.
        const Workbook original = Workbook::parse(stream);
        ASSERT_GE(back.sst().size(), original.sst().size());
        for (std::size_t i = 0; i < original.sst().size(); ++i)
            EXPECT_EQ(back.sst().at(i).utf8, original.sst().at(i).utf8);
    }
}

// A workbook with two sheets whose first sheet holds `cells` (and `extra`
// records in front of its cells), laid out with correct sheet positions.
std::string handMade(const std::vector<Record> &cells, const std::vector<Record> &extra = {}) {
    WorkbookModel m;
    m.sheets.push_back(ModelSheet{"S", {}, {}});
    m.sheets.push_back(ModelSheet{"Other", {{{0, 0}, {true, 1, {}}}}, {}});
    auto recs = StreamRecords(writeWorkbookStream(m));
    auto subs = splitSubstreams(recs);
    std::vector<Record> globals(recs.begin(), recs.begin() + static_cast<std::ptrdiff_t>(subs[0].end));
    std::vector<Record> first(recs.begin() + static_cast<std::ptrdiff_t>(subs[1].begin),
                              recs.begin() + static_cast<std::ptrdiff_t>(subs[1].end));
    std::vector<Record> second(recs.begin() + static_cast<std::ptrdiff_t>(subs[2].begin),
                               recs.begin() + static_cast<std::ptrdiff_t>(subs[2].end));
    for (auto it = first.begin(); it != first.end(); ++it)
        if (it->id == id::Dimensions) {
            it = first.insert(it, extra.begin(), extra.end()) + static_cast<std::ptrdiff_t>(extra.size()) + 1;
            first.insert(it, cells.begin(), cells.end());
            break;
        }
    const std::size_t moved = serialise(first).size() - (subs[2].offset - subs[1].offset);
    for (Record &r : second)
        if (r.id == id::Index)
            for (std::size_t at = 12; at + 4 <= r.body.size(); at += 4)
                if (get32(r.body, at)) put32(r.body, at, static_cast<std::uint32_t>(get32(r.body, at) + moved));
    std::size_t p = serialise(globals).size();
    int k = 0;
    for (Record &r : globals)
        if (r.id == id::BoundSheet)
            put32(r.body, 0, static_cast<std::uint32_t>(k++ == 0 ? p : p + serialise(first).size()));
    return serialise(globals) + serialise(first) + serialise(second);
}

Record rec(std::uint16_t rid, std::initializer_list<std::uint16_t> words, std::string more = {}) {
    Record r{rid, {}};
    for (auto w : words) append16(r.body, w);
    r.body += more;
    return r;
}

std::string rk(std::uint32_t v) {
    std::string s;
    append32(s, (v << 2) | 2);
    return s;
}

// The XF of the record that holds (row, col) in the first sheet.
int xfAt(const std::string &stream, std::uint16_t row, std::uint16_t col) {
    auto recs = StreamRecords(stream);
    auto subs = splitSubstreams(recs);
    for (std::size_t i = subs[1].begin; i < subs[1].end; ++i) {
        const Record &r = recs[i];
        if (r.body.size() < 6 || get16(r.body, 0) != row) continue;
        std::uint16_t c1 = get16(r.body, 2);
        if (r.id == id::MulRk || r.id == id::MulBlank) {
            std::uint16_t c2 = get16(r.body, r.body.size() - 2);
            if (col >= c1 && col <= c2) return get16(r.body, 4 + (col - c1) * (r.id == id::MulRk ? 6 : 2));
        } else if ((r.id == id::Number || r.id == id::Rk || r.id == id::LabelSst || r.id == id::Blank ||
                    r.id == id::Formula) &&
                   c1 == col) {
            return get16(r.body, 4);
        }
    }
    return -1;
}

TEST(Biff8Workbook, AWriteIntoARunSplitsItAndKeepsEveryOtherCell) {
    // Row 3: MULRK over columns 1..5 (values 1..5, XFs 21..25);
    // row 4: MULBLANK over columns 0..3 (XFs 30..33).
    std::string mulrk, mulblank;
    for (std::uint16_t c = 0; c < 5; ++c) {
        append16(mulrk, static_cast<std::uint16_t>(21 + c));
        mulrk += rk(c + 1u);
    }
    append16(mulrk, 5);
    for (std::uint16_t c = 0; c < 4; ++c) append16(mulblank, static_cast<std::uint16_t>(30 + c));
    append16(mulblank, 3);
    const std::string stream = handMade({rec(id::MulRk, {3, 1}, mulrk), rec(id::MulBlank, {4, 0}, mulblank)});

    for (std::uint16_t col : {1, 2, 3, 5}) {
        for (std::uint16_t row : {3, 4}) {
            SCOPED_TRACE(::testing::Message() << "row " << row << " col " << col);
            Workbook wb = Workbook::parse(stream);
            wb.sheet(0).setShared(row, col, wb.sst().add("書"));
            std::string saved = wb.save(true);
            expectConsistent(saved);
            Workbook back = Workbook::parse(saved);
            const SheetCells &s = back.sheet(0);
            for (std::uint16_t r : {3, 4}) {
                for (std::uint16_t c = 0; c <= 6; ++c) {
                    const bool written = r == row && c == col;
                    const std::string old = (r == 3 && c >= 1 && c <= 5) ? std::to_string(c) : "";
                    EXPECT_EQ(s.text(r, c, back.sst()), written ? "書" : old) << r << "," << c;
                    int oldXf = r == 3 ? (c >= 1 && c <= 5 ? 20 + c : -1) : (c <= 3 ? 30 + c : -1);
                    EXPECT_EQ(xfAt(saved, r, c), written && oldXf < 0 ? 15 : oldXf) << r << "," << c;
                }
            }
        }
    }
}

TEST(Biff8Workbook, SharedArrayAndTableFormulasAreRefused) {
    auto formula = [](std::uint16_t row, std::uint16_t col, std::uint16_t flags, std::string tokens) {
        Record r = rec(id::Formula, {row, col, 15});
        appendDouble(r.body, 7);
        append16(r.body, flags);
        append32(r.body, 0);
        append16(r.body, static_cast<std::uint16_t>(tokens.size()));
        r.body += tokens;
        return r;
    };
    const std::string tExp("\x01\x01\x00\x01\x00", 5), plain("\x1E\x07\x00", 3);  // tExp / tInt 7
    const std::string stream = handMade({
        formula(1, 1, 0x0008, tExp),
        rec(id::ShrFmla, {1, 2, 1, 1}, std::string(6, '\0')),
        formula(2, 1, 0x0008, tExp),  // a shared formula's other cell
        formula(3, 1, 0, tExp),
        rec(id::Array, {3, 3, 1, 1}, std::string(8, '\0')),
        formula(4, 1, 0, std::string("\x02\x04\x00\x01\x00", 5)),  // a table cell
        formula(5, 1, 0, plain),
    });
    for (std::uint16_t row : {1, 2, 3, 4}) {
        Workbook wb = Workbook::parse(stream);
        EXPECT_EQ(wb.sheet(0).text(row, 1, wb.sst()), "7");
        EXPECT_THROW(wb.sheet(0).setNumber(row, 1, 1), CellRefused) << row;
        EXPECT_THROW(wb.sheet(0).setBlank(row, 1), CellRefused) << row;
        EXPECT_FALSE(wb.changed());
    }
    Workbook wb = Workbook::parse(stream);
    wb.sheet(0).setNumber(5, 1, 8);  // an ordinary formula gives way to the value
    Workbook back = Workbook::parse(wb.save(true));
    EXPECT_EQ(back.sheet(0).text(5, 1, back.sst()), "8");
    EXPECT_EQ(back.sheet(0).text(1, 1, back.sst()), "7");
}

TEST(Biff8Workbook, ACellKeepsItsFormatAndANewCellTakesTheRowsOrTheColumns) {
    // Column 5 formatted with XF 17; row 7 formatted with XF 18; NUMBER at
    // (2,2) with XF 19.
    Record number = rec(id::Number, {2, 2, 19});
    appendDouble(number.body, 3);
    Record row7 = rec(id::Row, {7, 0, 0, 0x00FF, 0, 0, 0x0180, 18});
    const std::string stream = handMade({row7, number}, {rec(id::ColInfo, {5, 5, 3000, 17, 0, 0})});
    struct Case {
        std::uint16_t row, col;
        int xf;
    };
    for (Case c : {Case{2, 2, 19}, Case{7, 5, 18}, Case{7, 1, 18}, Case{2, 5, 17}, Case{2, 9, 15}}) {
        Workbook wb = Workbook::parse(stream);
        wb.sheet(0).setNumber(c.row, c.col, 42);
        std::string saved = wb.save(true);
        EXPECT_EQ(xfAt(saved, c.row, c.col), c.xf) << c.row << "," << c.col;
    }
}

TEST(Biff8Workbook, TablesBeyondOneRecordAndMissingTablesAreWritten) {
    // A workbook without any text gets a table when the first text arrives.
    WorkbookModel m;
    m.sheets.push_back(ModelSheet{"Data", {{{0, 0}, {true, 5, {}}}}, {}});
    Workbook wb = Workbook::parse(writeWorkbookStream(m));
    for (std::uint16_t r = 0; r < 1000; ++r)
        wb.sheet(0).setShared(r, 1, wb.sst().add("生徒" + std::to_string(r) + "番の名前です"));
    std::string saved = wb.save(true);
    expectConsistent(saved);
    Workbook back = Workbook::parse(saved);
    ASSERT_EQ(back.sst().size(), 1000u);
    EXPECT_EQ(back.sheet(0).text(999, 1, back.sst()), "生徒999番の名前です");
    EXPECT_EQ(back.sheet(0).text(0, 0, back.sst()), "5");
}

TEST(Biff8Workbook, AContinueBehindACellStaysWithIt) {
    const Record cont{id::Continue, std::string("\x01\x02\x03", 3)};
    const std::string stream = handMade({rec(id::Rk, {1, 0, 15}, rk(7)), cont, rec(id::Rk, {2, 0, 15}, rk(8))});
    Workbook wb = Workbook::parse(stream);
    wb.sheet(0).setNumber(5, 1, 9);
    auto sheets = expectConsistent(wb.save(false));
    const auto &recs = sheets.at(0);
    auto it =
        std::find_if(recs.begin(), recs.end(), [](const Record &r) { return r.id == id::Rk && get16(r.body, 0) == 1; });
    ASSERT_NE(it, recs.end());
    ASSERT_NE(it + 1, recs.end());
    EXPECT_EQ((it + 1)->id, id::Continue);
    EXPECT_EQ((it + 1)->body, cont.body);
}

// Cell records, with an embedded chart substream (its cached values in a
// NUMBER record) behind them or, with `cellAfter`, between them.
std::vector<Record> chartBetweenCells(bool cellAfter) {
    std::vector<Record> recs = {rec(id::Rk, {3, 1, 15}, rk(7)), rec(id::Bof, {0x0600, 0x0020, 0, 0, 0, 0, 0, 0}),
                                rec(id::Number, {3, 1, 15, 0, 0, 0, 0x4000}), Record{id::Eof, {}}};
    if (cellAfter) recs.push_back(rec(id::Rk, {4, 1, 15}, rk(8)));
    return recs;
}

TEST(Biff8Workbook, AChartBehindTheCellTableStaysBehindIt) {
    Workbook wb = Workbook::parse(handMade(chartBetweenCells(false)));
    wb.sheet(0).setNumber(5, 1, 9);
    auto sheets = expectConsistent(wb.save(false));
    const auto &recs = sheets.at(0);
    auto rk = std::find_if(recs.begin(), recs.end(), [](const Record &r) { return r.id == id::Rk; });
    auto chart = std::find_if(recs.begin() + 1, recs.end(), [](const Record &r) { return r.id == id::Bof; });
    ASSERT_NE(chart, recs.end());
    EXPECT_LT(rk, chart);
    EXPECT_EQ((chart + 1)->id, id::Number);
}

TEST(Biff8Workbook, RefusedStreams) {
    WorkbookModel m;
    m.sheets.push_back(ModelSheet{"Data", {}, {}});
    const std::string good = writeWorkbookStream(m);
    auto recs = StreamRecords(good);
    std::vector<Record> encrypted = recs;
    encrypted.insert(encrypted.begin() + 1, Record{id::FilePass, std::string(54, '\x01')});
    std::vector<Record> noEof = recs;
    noEof.pop_back();
    std::vector<Record> badPosition = recs;
    for (Record &r : badPosition)
        if (r.id == id::BoundSheet) put32(r.body, 0, 7);
    struct Case {
        const char *name;
        std::string stream;
        FormatError::Kind kind;
    };
    const Case cases[] = {
        {"encrypted", serialise(encrypted), FormatError::Kind::Encrypted},
        {"cut off", serialise(noEof), FormatError::Kind::Damaged},
        {"half a record", good.substr(0, good.size() - 3), FormatError::Kind::Damaged},
        {"sheet position", serialise(badPosition), FormatError::Kind::Damaged},
        {"no BOF", std::string(300, 'x'), FormatError::Kind::NotWorkbook},
        // A broken cell record is found at open, not at the first write.
        {"short cell record", handMade({rec(id::Number, {2})}), FormatError::Kind::Damaged},
        {"one cell twice", handMade({rec(id::Rk, {3, 1, 15}, rk(7)), rec(id::Blank, {3, 1, 15})}),
         FormatError::Kind::Damaged},
        {"a run over a cell", handMade({rec(id::Rk, {3, 2, 15}, rk(7)), rec(id::MulBlank, {3, 1, 15, 15, 15, 3})}),
         FormatError::Kind::Damaged},
        {"a chart's cells inside the cell table", handMade(chartBetweenCells(true)), FormatError::Kind::Damaged},
        {"a formula's text behind a number", handMade({rec(id::Rk, {3, 1, 15}, rk(7)), rec(id::String, {1, 0x7800})}),
         FormatError::Kind::Damaged},
        {"an older format's cell", handMade({rec(0x0004, {3, 1, 0, 0, 0x0100}, "x")}), FormatError::Kind::Damaged},
        {"empty", std::string(), FormatError::Kind::NotWorkbook},
    };
    for (const Case &c : cases) {
        try {
            Workbook::parse(c.stream);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const FormatError &e) {
            EXPECT_EQ(e.kind(), c.kind) << c.name;
        }
    }
}

}  // namespace
}  // namespace dorv::biff8
