// The reader's opening, version detection, record walk, progress and
// cancellation.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <sys/stat.h>

#include "xbiff_recorder.h"

namespace {

using namespace dorv::test;
using dorv::TXBiff;
using dorv::XBiffError;
using Events = std::vector<std::string>;

const char *const kOpenFailed = "ﾌｧｲﾙを開くことに失敗しました";

TEST(XBiffWalk, VersionAndSheetNumbersFollowTheFirstBof) {
    const Bytes sheet1 = cat({bof8(kWorksheet), rk(0, 0, 402), eof()});
    const Bytes chart = cat({bof8(kChart), rk(9, 9, 403), eof()});
    const Bytes sheet2 = cat({bof8(kWorksheet), rk(1, 1, 403), eof()});
    const Bytes biff8 = cat({bof8(kGlobals), eof(), sheet1, chart, sheet2});
    const Bytes biff5 = cat({bof5(kGlobals), eof(), bof5(kWorksheet), rk(0, 0, 402), eof()});
    const Bytes biff2 = cat({bof2(kWorksheet), rec(0x0002, B().u16(3).u16(4).u8(1).u8(2).u8(3).u16(77)), eof()});
    const Bytes biff3 = cat({rec(0x0209, B().u16(0).u16(kWorksheet).u16(0)), rk(0, 0, 402), eof()});
    const Bytes biff4 = cat({rec(0x0409, B().u16(0).u16(kWorksheet).u16(0)), rk(0, 0, 402), eof()});
    struct Case {
        const char *what;
        Bytes file;
        int state;
        Events cells;
    } cases[] = {
        {"BIFF8 Workbook stream",
         makeCompoundFile({{u"Workbook", biff8}}),
         8,
         {"cell 1 0 0 15 100", "cell 1 9 9 15 1", "cell 2 1 1 15 1"}},
        {"Excel 5 Book stream", makeCompoundFile({{u"Book", biff5}}), 4, {"cell 1 0 0 15 100"}},
        {"BIFF5 in a Workbook stream", makeCompoundFile({{u"Workbook", biff5}}), 5, {"cell 1 0 0 15 100"}},
        {"Workbook preferred over book",
         makeCompoundFile({{u"book", biff5}, {u"WORKBOOK", biff8}}),
         8,
         {"cell 1 0 0 15 100", "cell 1 9 9 15 1", "cell 2 1 1 15 1"}},
        {"plain BIFF8", biff8, 8, {"cell 1 0 0 15 100", "cell 1 9 9 15 1", "cell 2 1 1 15 1"}},
        {"plain BIFF2 worksheet", biff2, 2, {"cell 1 3 4 197121 77"}},
        {"plain BIFF3", biff3, 3, {"cell 1 0 0 15 100"}},
        {"plain BIFF4", biff4, 4, {"cell 1 0 0 15 100"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        Events cells;
        for (const auto &e : r.run(c.file))
            if (e.rfind("cell", 0) == 0) cells.push_back(e);
        EXPECT_EQ(r.reader.biffState(), c.state);
        EXPECT_EQ(cells, c.cells);
    }
}

TEST(XBiffWalk, BytesBeforeTheFirstBofArePassedTwoAtATime) {
    struct Case {
        const char *what;
        Bytes prefix;
        int state;
    } cases[] = {
        {"nothing", {}, 2},
        {"one word", {0x34, 0x12}, 2},
        // 09 08 at an odd offset is no BOF id: the BIFF2 BOF behind it counts.
        {"BOF id at an odd offset", {0xAA, 0x09, 0x08, 0xBB}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r;
        const Bytes file = cat({c.prefix, bof2(kWorksheet), rec(0x0002, B().u16(1).u16(2).zeros(3).u16(5)), eof()});
        EXPECT_EQ(r.texts(file), Events{"5"});
        EXPECT_EQ(r.reader.biffState(), c.state);
    }
}

TEST(XBiffWalk, ProgressFollowsThePositionAndEndsAtZero) {
    const Bytes file = cat({bof2(kWorksheet), rec(0x1234, B().zeros(8)), rec(0x0002, B().zeros(9)), eof()});
    // 8 + 12 + 13 + 4 = 37 bytes; progress after each record after the first BOF.
    Recorder r(true);
    EXPECT_EQ(r.run(file), (Events{"progress 54", "cell 1 0 0 0 0", "progress 89", "progress 100", "progress 0"}));
    EXPECT_EQ(r.reader.Progress, 0);
}

TEST(XBiffWalk, ProgressOfALargeStreamStaysWithinBounds) {
    // Past 21 MB the position times 100 no longer fits 32 bits.
    Bytes file = bof2(kWorksheet);
    const Bytes filler = rec(0x1234, Bytes(8000, 0x55));
    while (file.size() < 30u * 1024 * 1024) file.insert(file.end(), filler.begin(), filler.end());
    TXBiff reader;
    int last = -1;
    bool ordered = true;
    std::size_t count = 0;
    reader.OnProgress = [&](TXBiff &, int p) {
        ++count;
        if (p != 0 && p < last) ordered = false;
        if (p != 0) last = p;
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
    };
    reader.OpenBytes(file);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, 100);
    EXPECT_GT(count, 3000u);
}

TEST(XBiffWalk, CancelStopsAfterTheWholeRecord) {
    const Bytes mulrk = rec(0x00BD, B().u16(5).u16(2).u16(15).u32(402).u16(16).u32(403).u16(17).u32(0xFFFFFFEE).u16(4));
    const Bytes file = cat({bof2(kWorksheet), mulrk, rk(6, 0, 402), eof()});
    TXBiff reader;
    Events events;
    reader.OnReadCell = [&](TXBiff &, int, int row, int col, int, const std::string &text, bool &cancel) {
        events.push_back(std::to_string(row) + "," + std::to_string(col) + "=" + text);
        cancel = true;
    };
    reader.OnProgress = [&](TXBiff &, int p) { events.push_back("progress " + std::to_string(p)); };
    reader.OpenBytes(file);
    // The MULRK ends 36 bytes into the 54-byte file.
    EXPECT_EQ(events, (Events{"5,2=100", "5,3=1", "5,4=-5", "progress 66", "progress 0"}));
}

TEST(XBiffWalk, HandlerExceptionLeavesOpenUnchanged) {
    const Bytes file = biff8File(cat({rk(0, 0, 402), rk(0, 1, 403), rk(0, 2, 402)}));
    TXBiff reader;
    Events events;
    reader.OnReadCell = [&](TXBiff &, int, int, int col, int, const std::string &text, bool &) {
        if (col == 1) throw std::invalid_argument("'" + text + "' は整数ではありません");
        events.push_back(text);
    };
    reader.OnProgress = [&](TXBiff &, int p) { events.push_back("progress " + std::to_string(p)); };
    try {
        reader.OpenBytes(file);
        FAIL() << "no exception";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "'1' は整数ではありません");
    }
    // What came before stays; no final progress event follows the failure.
    EXPECT_EQ(std::count(events.begin(), events.end(), "100"), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "progress 0"), 0);
    EXPECT_NE(reader.Progress, 0);
}

TEST(XBiffWalk, DamagedStreamsEndTheWalkWithoutReadingOutside) {
    const Bytes cellRk = rk(0, 0, 402);
    struct Case {
        const char *what;
        Bytes file;
        Events cells;
    } cases[] = {
        {"header cut off", cat({bof8(kWorksheet), cellRk, Bytes{0xFD, 0x00, 0x0A}}), {"100"}},
        {"record body cut off", cat({bof8(kWorksheet), cellRk, Bytes(cellRk.begin(), cellRk.end() - 1)}), {"100"}},
        {"length far past the end",
         cat({bof8(kWorksheet), B().u16(0x027E).u16(0xFFFF).u16(1).u16(1).u16(0).u32(402)}),
         {"100"}},
        {"odd size", cat({bof8(kWorksheet), cellRk, Bytes{0x00}}), {"100"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r(true);
        const Events events = r.run(c.file);
        EXPECT_EQ(r.cellTexts, c.cells);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "progress 0");
        for (const auto &e : events)
            if (e.rfind("progress ", 0) == 0) {
                EXPECT_LE(std::stoi(e.substr(9)), 100);
            }
    }
}

// What does not start with a whole BOF record is no workbook: the reader
// refuses it before any event, so that a loader goes on to the service.
TEST(XBiffWalk, StreamsWithoutALeadingBofRecordAreRefused) {
    Bytes noise(4096);
    std::uint32_t seed = 7;
    for (auto &b : noise) b = std::uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    const std::string text = "番号,氏名\n101,山田\n";
    const Bytes cellRk = rk(0, 0, 402);
    struct Case {
        const char *what;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"one byte", {0x09}},
        {"random bytes", noise},
        {"plain text", Bytes(text.begin(), text.end())},
        {"BOF id at the very end", {0x00, 0x00, 0x09, 0x08}},
        {"BOF with only its length", {0x09, 0x08, 0x10, 0x00}},
        {"first BOF of length 0", cat({rec(0x0809, {}), cellRk})},
        {"first BOF of length 2", cat({rec(0x0809, B().u16(0x0600)), cellRk})},
        {"first BOF longer than the stream", B().u16(0x0809).u16(16).u16(0x0600).u16(kWorksheet)},
        {"first BOF of no known sheet type", cat({rec(0x0809, B().u16(0x0600).u16(0x0041).zeros(12)), cellRk})},
        // The raw file is walked: its first BOF id is the sector shift 9 in the
        // header, which starts no BOF record.
        {"compound file without a workbook stream",
         makeCompoundFile({{u"Other", cat({bof8(kWorksheet), cellRk, eof()})}})},
        {"workbook stream of zeros", makeCompoundFile({{u"Workbook", Bytes(600, 0)}})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r(true);
        try {
            r.run(c.file);
            ADD_FAILURE() << "no exception";
        } catch (const XBiffError &e) {
            EXPECT_STREQ(e.what(), kOpenFailed);
        }
        EXPECT_EQ(r.events, Events{});
    }
    const std::string path = writeTemp("xbiff-empty.xls", {});
    Recorder r(true);
    EXPECT_THROW(r.reader.Open(path), XBiffError);
    EXPECT_EQ(r.events, Events{});
    EXPECT_EQ(r.reader.FileName, path);
}

// The record bodies behind FILEPASS are encrypted; walked on, they would
// give cells of random values.
TEST(XBiffWalk, EncryptedWorkbooksAreRefused) {
    const Bytes filePass = rec(0x002F, B().u16(1).zeros(52));
    const Bytes sst = rec(0x00FC, sstBody({str8("x")}));
    struct Case {
        const char *what;
        Bytes file;
    } cases[] = {
        {"BIFF8", biff8File(cat({rk(0, 0, 0x12345678), labelSst(1, 0, 0)}), cat({filePass, sst}))},
        {"BIFF5",
         makeCompoundFile({{u"Book", cat({bof5(kGlobals), filePass, eof(), bof5(kWorksheet), rk(0, 0, 402), eof()})}})},
        {"BIFF2 worksheet", cat({bof2(kWorksheet), filePass, rec(0x0002, B().u16(1).u16(2).zeros(3).u16(5)), eof()})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Recorder r(true);
        try {
            r.run(c.file);
            ADD_FAILURE() << "no exception";
        } catch (const XBiffError &e) {
            EXPECT_STREQ(e.what(), kOpenFailed);
        }
        EXPECT_EQ(r.cellTexts, Events{});
    }
}

TEST(XBiffWalk, UnreadableFilesRaiseTheOpenMessage) {
    // A named pipe that no one writes to: waiting for it would hang the caller.
    const std::string fifo = std::string(testing::TempDir()) + "xbiff-fifo.xls";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path :
         {std::string(testing::TempDir()) + "no-such-dir/missing.xls", std::string(testing::TempDir()), fifo}) {
        SCOPED_TRACE(path);
        Recorder r(true);
        try {
            r.reader.Open(path);
            FAIL() << "no exception";
        } catch (const XBiffError &e) {
            EXPECT_STREQ(e.what(), kOpenFailed);
        }
        EXPECT_TRUE(r.events.empty());
        EXPECT_EQ(r.reader.FileName, path);
    }
}

TEST(XBiffWalk, SecondOpenStartsAfresh) {
    const Bytes sst = rec(0x00FC, sstBody({str8("first")}));
    const Bytes one = biff8File(labelSst(0, 0, 0), sst);
    const Bytes two = biff8File(labelSst(0, 0, 0));  // no table: nothing to report
    Recorder r;
    EXPECT_EQ(r.run(one), Events{"cell 1 0 0 0 first"});
    EXPECT_EQ(r.run(two), Events{});
    EXPECT_EQ(r.run(one), Events{"cell 1 0 0 0 first"});
}

TEST(XBiffWalk, StreamSectorsOutOfOrderReadTheSame) {
    Bytes cells;
    for (unsigned i = 0; i < 600; ++i) {
        const Bytes c = rk(i, i % 7, 402 + 4 * i);
        cells.insert(cells.end(), c.begin(), c.end());
    }
    const Bytes inOrder = biff8File(cells);
    Recorder r(true);
    const Events expected = r.run(inOrder);
    ASSERT_EQ(
        std::count_if(expected.begin(), expected.end(), [](const std::string &e) { return e.rfind("cell", 0) == 0; }),
        600);
    EXPECT_EQ(r.run(reverseStreamSectors(inOrder, 1)), expected);
}

TEST(XBiffWalk, EachFileIsReadWholeWhateverWasReadBefore) {
    const auto column = [](unsigned col) {
        Bytes cells;
        for (unsigned i = 0; i < 600; ++i) {
            const Bytes c = rk(i, col, 402 + 4 * i);
            cells.insert(cells.end(), c.begin(), c.end());
        }
        return biff8File(cells);
    };
    const Bytes big = column(0), other = column(1), small = biff8Sheet(rk(7, 7, 403));
    const std::string bigPath = writeTemp("xbiff-big.xls", big), otherPath = writeTemp("xbiff-other.xls", other),
                      smallPath = writeTemp("xbiff-small.xls", small);
    Recorder expect;
    const Events bigEvents = expect.run(big), otherEvents = expect.run(other), smallEvents = expect.run(small);
    ASSERT_EQ(smallEvents, Events{"cell 1 7 7 15 1"});

    Recorder r;
    for (const std::string &path : {bigPath, smallPath, bigPath, smallPath}) {
        SCOPED_TRACE(path);
        r.events.clear();
        r.reader.Open(path);
        EXPECT_EQ(r.events, path == bigPath ? bigEvents : smallEvents);
    }

    // A handler that reads another workbook of the same size in the middle of
    // a walk.
    Recorder outer, inner;
    const auto record = outer.reader.OnReadCell;
    outer.reader.OnReadCell = [&](TXBiff &x, int sheet, int row, int col, int attr, const std::string &text, bool &c) {
        if (row == 1) inner.reader.Open(otherPath);
        record(x, sheet, row, col, attr, text, c);
    };
    outer.reader.Open(bigPath);
    EXPECT_EQ(outer.events, bigEvents);
    EXPECT_EQ(inner.events, otherEvents);
}

TEST(XBiffWalk, EventsNotAssignedAreSkipped) {
    TXBiff reader;
    EXPECT_NO_THROW(
        reader.OpenBytes(biff8File(cat({rk(0, 0, 402), rec(0x007D, B().u16(0).u16(3).u16(2560).zeros(6))}))));
    EXPECT_EQ(reader.Progress, 0);
}

TEST(XBiffWalk, RegressionInputsNeverCrash) {
    const auto dir = std::filesystem::path(sourceDir()) / "tests/fixtures/fuzz-regressions";
    std::size_t files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().string());
        Recorder r(true);
        try {
            r.reader.Open(entry.path().string());
        } catch (const XBiffError &) {
        }
        ++files;
    }
    EXPECT_GT(files, 0u);
}

}  // namespace
