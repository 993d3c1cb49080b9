// A save through the service lays the shared string table out again. Texts
// with formatting runs and phonetic readings, placed at every byte offset
// around a record boundary, must come back whole for python3-xlrd and for our
// own reader, and the table must keep the layout other readers rely on.
#include <gtest/gtest.h>

#include <filesystem>

#include "schooldata/excel_service.h"
#include "tests/workbook/biff8_test_support.h"
#include "workbook/biff8_workbook.h"
#include "workbook/biff8_writer.h"
#include "workbook/compound_file_writer.h"
#include "workbook/utf16.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using namespace dorv::testing;

struct Kind {
    std::string name;
    SstEntrySpec spec;
};

std::vector<Kind> kinds() {
    std::vector<Kind> out;
    for (int runs = 1; runs <= 8; ++runs) {
        out.push_back({"wide, " + std::to_string(runs) + " runs", {u"成績処理の記録です。", true, runs, false}});
        out.push_back({"narrow, " + std::to_string(runs) + " runs", {u"Score list", false, runs, false}});
    }
    out.push_back({"wide, phonetic", {u"山田太郎", true, 0, true}});
    out.push_back({"narrow, phonetic", {u"Yamada", false, 0, true}});
    out.push_back({"wide, 3 runs and phonetic", {u"勅使河原健太郎", true, 3, true}});
    return out;
}

// The workbook of one case: sheet "Data" whose column A holds, in order, a
// filler that ends `before` bytes ahead of the first record boundary of the
// table, the string under test, and two strings behind it (one plain, one
// formatted), so a reader that loses its place shows it.
struct Case {
    std::string kind;
    std::size_t before = 0;
    std::vector<std::string> texts;  // column A, rows 1..
    fs::path file;
};

Case makeCase(const fs::path &dir, const Kind &kind, std::size_t before, int n) {
    Case c;
    c.kind = kind.name;
    c.before = before;
    const std::size_t fillerChars = biff8::kMaxRecordBody - 8 - 3 - before;
    std::vector<SstEntrySpec> entries = {
        {std::u16string(fillerChars, u'f'), false, 0, false},
        kind.spec,
        {u"後ろの文字列" + utf16::fromUtf8(std::to_string(n)), true, 0, false},
        {u"Bold tail", false, 2, false},
    };
    std::string table;
    biff8::append32(table, static_cast<std::uint32_t>(entries.size()));
    biff8::append32(table, static_cast<std::uint32_t>(entries.size()));
    biff8::ModelSheet sheet;
    sheet.name = "Data";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        table += SstEntryBytes(entries[i]);
        sheet.cells[{static_cast<std::uint16_t>(i), 0}] = {false, 0, "placeholder " + std::to_string(i)};
        c.texts.push_back(utf16::toUtf8(entries[i].chars));
    }
    sheet.cells[{0, 1}] = {true, 1, {}};
    biff8::WorkbookModel model;
    model.sheets.push_back(sheet);

    // The fresh writer makes the sheet; the table is then swapped for ours.
    biff8::Workbook wb = biff8::Workbook::parse(biff8::writeWorkbookStream(model));
    wb.sst() = biff8::SharedStrings::parse({table});
    wb.sheet(0).setNumber(0, 1, 2);
    std::string stream = wb.save(false);
    auto bytes = cfb::makeWorkbookFile(std::span(reinterpret_cast<const std::uint8_t *>(stream.data()), stream.size()));
    c.file = dir / ("case" + std::to_string(n) + ".xls");
    WriteBytes(c.file, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    return c;
}

void writeThroughService(const fs::path &file) {
    TExcelApplication app;
    app.Connect();
    TExcelWorkbook book;
    book.Open(app, file.string());
    TExcelWorksheet sheet = book.Worksheet("Data");
    sheet.WriteCell("B2", "85");
    sheet.WriteCell("C3", "新しい記録");
    book.Close(true);
    app.Quit();
}

TEST(SharedStringLayout, FormattedAndPhoneticStringsAtEveryOffsetAroundARecordBoundary) {
    TempDir dir;
    std::vector<Case> cases;
    for (const Kind &k : kinds()) {
        const std::size_t size = SstEntrySize(k.spec);
        for (std::size_t before = 0; before <= size + 2; ++before)
            cases.push_back(makeCase(dir.path(), k, before, static_cast<int>(cases.size())));
    }
    std::vector<fs::path> files;
    for (Case &c : cases) {
        SCOPED_TRACE(c.kind + ", " + std::to_string(c.before) + " bytes before the boundary");
        ASSERT_NO_THROW(writeThroughService(c.file));
        files.push_back(c.file);

        // Where the string landed: across the boundary at the asked offset,
        // or whole in the next record when not even its header and first
        // character fit.
        const std::vector<biff8::Record> table = SstRecords(StreamRecords(WorkbookStream(ReadBytes(c.file))));
        SstLayout layout = WalkSstStrictly(table);
        EXPECT_EQ(layout.fault, "");
        if (layout.fault.empty()) {
            ASSERT_GE(layout.starts.size(), 5u);
            if (layout.starts[1].first == 0) {
                EXPECT_EQ(layout.starts[1].second, biff8::kMaxRecordBody - c.before);
            } else {
                EXPECT_EQ(layout.starts[1], std::make_pair(std::size_t{1}, std::size_t{0}));
                EXPECT_EQ(table[0].body.size(), biff8::kMaxRecordBody - c.before);
            }
        }

        ReaderBook ours = ReadWithReader(c.file);
        EXPECT_TRUE(ours.ok) << ours.error;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ((ours.cells[{0, static_cast<int>(i), 0}]), c.texts[i]) << i;
        EXPECT_EQ((ours.cells[{0, 1, 1}]), "85");
        EXPECT_EQ((ours.cells[{0, 2, 2}]), "新しい記録");
    }

    std::vector<XlrdBook> books = ReadManyWithXlrd(files);
    ASSERT_EQ(books.size(), cases.size());
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const Case &c = cases[n];
        SCOPED_TRACE(c.kind + ", " + std::to_string(c.before) + " bytes before the boundary");
        EXPECT_TRUE(books[n].ok) << books[n].error;
        if (!books[n].ok) continue;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ((books[n].cells[{0, static_cast<int>(i), 0}]), (XlrdCell{"s", c.texts[i]})) << i;
        EXPECT_EQ((books[n].cells[{0, 1, 1}]), (XlrdCell{"n", "85.0"}));
        EXPECT_EQ((books[n].cells[{0, 2, 2}]), (XlrdCell{"s", "新しい記録"}));
    }
}

}  // namespace
}  // namespace dorv
