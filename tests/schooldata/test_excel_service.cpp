// The spreadsheet service as the school data store uses it: what a write
// stores, how sheets are found, what a close leaves on disk, the lock, and
// every refused input with its message and an untouched disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include <filesystem>
#include <functional>

#include "schooldata/excel_service.h"
#include "tests/schooldata/failing_locks.h"
#include "tests/workbook/biff8_test_support.h"
#include "workbook/biff8_sheet.h"
#include "workbook/compound_file_writer.h"
#include "workbook/workbook_file.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using namespace dorv::testing;

biff8::WorkbookModel twoSheets() {
    biff8::WorkbookModel m;
    biff8::ModelSheet data{"Data", {}, {{0, 2048}}};
    data.cells[{0, 0}] = {false, 0, "番号"};
    data.cells[{1, 0}] = {true, 101, {}};
    data.cells[{1, 1}] = {false, 0, "山田"};
    data.cells[{2, 1}] = {true, 12.5, {}};
    m.sheets.push_back(data);
    m.sheets.push_back(biff8::ModelSheet{"国語", {{{0, 0}, {false, 0, "観点"}}}, {}});
    return m;
}

// What the file on disk holds at (sheet, row, col), read by our model.
biff8::CellValue onDisk(const fs::path &p, std::size_t sheet, std::uint16_t row, std::uint16_t col) {
    std::string b = ReadBytes(p);
    auto f = biff8::WorkbookFile::fromBytes(std::vector<std::uint8_t>(b.begin(), b.end()), "x");
    return f.workbook().sheet(sheet).value(row, col, f.workbook().sst());
}

struct Stamp {
    std::string bytes;
    fs::file_time_type mtime;
    bool operator==(const Stamp &) const = default;
};
Stamp stamp(const fs::path &p) { return {ReadBytes(p), fs::last_write_time(p)}; }

bool noStrayFiles(const fs::path &dir, std::size_t expected) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator())) == expected;
}

// A message for the user: with the names it quotes taken out, no English
// word is left in it.
void expectJapaneseOnly(std::string msg, const std::vector<std::string> &quoted) {
    for (const std::string &q : quoted)
        for (std::size_t at; !q.empty() && (at = msg.find(q)) != std::string::npos;) msg.erase(at, q.size());
    EXPECT_EQ(std::count_if(msg.begin(), msg.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }),
              0)
        << "English left in: " << msg;
}

// A foreign workbook whose directory entry `name` has the 32-bit field at
// `field` set to `value`: a fault outside the Workbook stream.
std::string withDirectoryField(std::u16string_view name, std::size_t field, std::uint32_t value) {
    std::string bytes = ReadBytes(InteropWorkbook("libreoffice-biff8.xls"));
    std::string key;
    for (char16_t c : name) key += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    const std::size_t at = bytes.find(key);
    if (at == std::string::npos || at % 128 != 0) throw std::runtime_error("no such directory entry");
    biff8::put32(bytes, at + field, value);
    return bytes;
}

TEST(ExcelService, WriteCellStoresNumbersOnlyForPlainDecimalTexts) {
    struct Case {
        const char *text;
        biff8::CellKind kind;
        double number;
        const char *readBack;
    };
    const Case cases[] = {
        {"85", biff8::CellKind::Number, 85, "85"},
        {"-5", biff8::CellKind::Number, -5, "-5"},
        {"1042", biff8::CellKind::Number, 1042, "1042"},
        {"12.5", biff8::CellKind::Number, 12.5, "12.5"},
        {"0", biff8::CellKind::Number, 0, "0"},
        {"1-2", biff8::CellKind::Text, 0, "1-2"},
        {"1/2", biff8::CellKind::Text, 0, "1/2"},
        {"50%", biff8::CellKind::Text, 0, "50%"},
        {"1e5", biff8::CellKind::Text, 0, "1e5"},
        {" 85", biff8::CellKind::Text, 0, " 85"},
        {"85 ", biff8::CellKind::Text, 0, "85 "},
        {"+5", biff8::CellKind::Text, 0, "+5"},
        {".5", biff8::CellKind::Text, 0, ".5"},
        {"5.", biff8::CellKind::Text, 0, "5."},
        {"-", biff8::CellKind::Text, 0, "-"},
        {"８５", biff8::CellKind::Text, 0, "８５"},
        {"0x10", biff8::CellKind::Text, 0, "0x10"},
        {"山田　太郎", biff8::CellKind::Text, 0, "山田　太郎"},
        {"", biff8::CellKind::Empty, 0, ""},
    };
    TempDir dir;
    const fs::path file = dir / "s.xls";
    WriteModel(file, twoSheets());
    TExcelApplication app;
    {
        TExcelWorkbook book;
        book.Open(app, file.string());
        TExcelWorksheet sheet = book.Worksheet("Data");
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            std::string addr = "C" + std::to_string(i + 1);
            sheet.WriteCell(addr, cases[i].text);
            EXPECT_EQ(sheet.ReadCell(addr), cases[i].readBack) << cases[i].text;
        }
        sheet.WriteCell("B2", "");  // a text cell made blank
        sheet.WriteText("D1", "85");
        sheet.WriteText("D2", "");
        book.Close(true);
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        biff8::CellValue v = onDisk(file, 0, static_cast<std::uint16_t>(i), 2);
        EXPECT_EQ(v.kind, cases[i].kind) << cases[i].text;
        if (v.kind == biff8::CellKind::Number) {
            EXPECT_EQ(v.number, cases[i].number) << cases[i].text;
        }
        if (v.kind == biff8::CellKind::Text) {
            EXPECT_EQ(v.text, cases[i].text);
        }
    }
    EXPECT_EQ(onDisk(file, 0, 1, 1).kind, biff8::CellKind::Empty);
    biff8::CellValue forced = onDisk(file, 0, 0, 3);
    EXPECT_EQ(forced.kind, biff8::CellKind::Text);
    EXPECT_EQ(forced.text, "85");

    // The independent reader sees the blank as a blank cell, never as an
    // empty text.
    XlrdBook peer = ReadWithXlrd(file);
    ASSERT_TRUE(peer.ok) << peer.error;
    EXPECT_EQ((peer.cells[{0, 1, 1}].type), "blank");
    EXPECT_EQ((peer.cells[{0, 0, 3}]), (XlrdCell{"s", "85"}));
    EXPECT_EQ((peer.cells[{0, 1, 0}]), (XlrdCell{"n", "101.0"}));
}

TEST(ExcelService, ReadCellGivesTheReadersTexts) {
    TempDir dir;
    const fs::path file = dir / "r.xls";
    WriteModel(file, twoSheets());
    TExcelApplication app;
    TExcelWorkbook book;
    book.Open(app, file.string());
    TExcelWorksheet s = book.Worksheet("Data");
    struct Case {
        const char *addr, *text;
    };
    for (Case c : {Case{"A1", "番号"}, Case{"A2", "101"}, Case{"B2", "山田"}, Case{"B3", "12.5"}, Case{"Z99", ""},
                   Case{"IV65536", ""}, Case{"a2", "101"}}) {
        EXPECT_EQ(s.ReadCell(c.addr), c.text) << c.addr;
    }
    book.Close(false);
}

TEST(ExcelService, WorksheetsAreFoundByExactNameFirstThenIgnoringAsciiCase) {
    TempDir dir;
    const fs::path file = dir / "n.xls";
    biff8::WorkbookModel m;
    for (const char *n : {"Data", "DATA2", "data2", "Ｄａｔａ", "国語"})
        m.sheets.push_back(biff8::ModelSheet{n, {{{0, 0}, {false, 0, n}}}, {}});
    WriteModel(file, m);
    struct Case {
        const char *asked, *found;
    };
    TExcelApplication app;
    TExcelWorkbook book;
    book.Open(app, file.string());
    for (Case c :
         {Case{"Data", "Data"}, Case{"data", "Data"}, Case{"DATA", "Data"}, Case{"data2", "data2"},
          Case{"DATA2", "DATA2"}, Case{"Data2", "DATA2"}, Case{"Ｄａｔａ", "Ｄａｔａ"}, Case{"国語", "国語"}}) {
        TExcelWorksheet s = book.Worksheet(c.asked);
        EXPECT_EQ(s.Name(), c.found) << c.asked;
        EXPECT_EQ(s.ReadCell("A1"), c.found);
    }
    // Case folding is for ASCII letters only.
    try {
        book.Worksheet("ｄａｔａ");
        ADD_FAILURE() << "full-width letters folded";
    } catch (const ExcelTemporaryError &) {
        ADD_FAILURE() << "a missing sheet is no temporary failure";
    } catch (const ExcelError &e) {
        EXPECT_NE(std::string(e.what()).find("ｄａｔａ"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(book.IsOpen()) << "a failed operation closes the workbook";
}

TEST(ExcelService, AWorkbookWithoutWritesIsLeftUntouched) {
    TempDir dir;
    const fs::path file = dir / "u.xls";
    WriteModel(file, twoSheets());
    const Stamp before = stamp(file);
    TExcelApplication app;
    for (int mode = 0; mode < 3; ++mode) {
        TExcelWorkbook book;
        book.Open(app, file.string());
        TExcelWorksheet s = book.Worksheet("Data");
        s.ReadCell("B2");
        if (mode == 2) s.WriteCell("B2", "変更");
        book.Close(mode == 0);  // saving without writes; writes without saving
    }
    {
        TExcelWorkbook book;  // dropped without Close
        book.Open(app, file.string());
        book.Worksheet("Data").WriteCell("A1", "1");
    }
    EXPECT_TRUE(stamp(file) == before);
    EXPECT_TRUE(noStrayFiles(dir.path(), 1));
}

TEST(ExcelService, SavingKeepsTheFilesModeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const fs::path file = dir / "m.xls";
    WriteModel(file, twoSheets());
    ::chmod(file.c_str(), 0640);
    TExcelApplication app;
    TExcelWorkbook book;
    book.Open(app, file.string());
    book.Worksheet("国語").WriteCell("B5", "3");
    book.Close(true);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(onDisk(file, 1, 4, 1).number, 3);
    EXPECT_TRUE(noStrayFiles(dir.path(), 1));
}

TEST(ExcelService, OlderWorkbooksAreSavedAsBiff8WithEverySheetValueAndWidth) {
    for (const char *name : {"gnumeric-biff7.xls", "sheetjs-biff5.xls", "sheetjs-biff2.xls"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(InteropWorkbook(name))) << "the interop workbooks are part of the tree";
        TempDir dir;
        const fs::path file = dir / "old.xls";
        fs::copy_file(InteropWorkbook(name), file);
        ReaderBook before = ReadWithReader(file);
        ASSERT_TRUE(before.ok);
        TExcelApplication app;
        TExcelWorkbook book;
        book.Open(app, file.string());
        std::vector<std::string> names = book.SheetNames();
        ASSERT_FALSE(names.empty());
        if (!before.sheets.empty()) {
            EXPECT_EQ(names, before.sheets);
        }
        book.Worksheet(names[0]).WriteCell("B2", "77");
        book.Close(true);

        std::string bytes = ReadBytes(file);
        ASSERT_NO_THROW(WorkbookStream(bytes)) << "not a compound file with a Workbook stream";
        ReaderBook after = ReadWithReader(file);
        ASSERT_TRUE(after.ok) << after.error;
        EXPECT_EQ(after.sheets, names);
        before.cells[{0, 1, 1}] = "77";
        // An empty text cell reads as "" either way; the new file holds none.
        std::erase_if(before.cells, [&](const auto &kv) { return kv.second.empty(); });
        EXPECT_TRUE(after.cells == before.cells) << MapDiff(after.cells, before.cells);
        EXPECT_EQ(after.widths, before.widths);
    }
}

TEST(ExcelService, TheLockKeepsASecondWriterOutUntilClose) {
    TempDir dir;
    const fs::path file = dir / "l.xls";
    WriteModel(file, twoSheets());
    TExcelApplication app;
    TExcelWorkbook first;
    first.Open(app, file.string());
    first.Worksheet("Data").WriteCell("A3", "1");
    {
        TExcelWorkbook second;
        EXPECT_THROW(second.Open(app, file.string()), ExcelTemporaryError);
        EXPECT_FALSE(second.IsOpen());
    }
    std::string err;
    EXPECT_EQ(testing::Run({(BinDir() / "xls-set").string(), file.string(), "Data!A4=2"}, nullptr, &err), 3) << err;
    EXPECT_NE(err.find("使用中"), std::string::npos) << err;
    first.Close(true);

    TExcelWorkbook third;
    third.Open(app, file.string());  // the new file, not the one renamed away
    EXPECT_EQ(third.Worksheet("Data").ReadCell("A3"), "1");
    // A failure inside an operation lets go of the lock at once.
    EXPECT_THROW(third.Worksheet("ありません"), ExcelError);
    TExcelWorkbook fourth;
    EXPECT_NO_THROW(fourth.Open(app, file.string()));
}

enum class LockOutcome { Busy, Refused, Unlocked };

TEST(ExcelService, ALockTheFileSystemRefusesIsFinalOneItDoesNotKeepIsDoneWithout) {
    using enum LockOutcome;
    const struct {
        int err;
        LockOutcome outcome;
    } cases[] = {
        {EAGAIN, Busy},     {EACCES, Busy},         {EBADF, Refused},   {EDEADLK, Refused},
        {ENOLCK, Unlocked}, {EOPNOTSUPP, Unlocked}, {EINVAL, Unlocked},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.err);
        TempDir dir;
        const fs::path file = dir / "l.xls";
        WriteModel(file, twoSheets());
        const Stamp before = stamp(file);
        TExcelApplication app;
        TExcelWorkbook book;
        std::string message;
        bool temporary = false;
        try {
            FailingLocks locks(c.err);
            book.Open(app, file.string());
            book.Worksheet("Data").WriteCell("A3", "7");
            book.Close(true);
        } catch (const ExcelTemporaryError &e) {
            temporary = true;
            message = e.what();
        } catch (const ExcelError &e) {
            message = e.what();
        }
        switch (c.outcome) {
        case Busy: EXPECT_TRUE(temporary) << message; break;
        case Refused:
            EXPECT_FALSE(temporary);
            EXPECT_TRUE(message.starts_with("ファイル " + file.string() + " をロックできません（")) << message;
            EXPECT_TRUE(message.ends_with("）")) << message;
            break;
        case Unlocked:
            EXPECT_EQ(message, "");
            EXPECT_EQ(onDisk(file, 0, 2, 0).number, 7);
            break;
        }
        if (c.outcome != Unlocked) {
            EXPECT_TRUE(stamp(file) == before);
        }
        EXPECT_FALSE(book.IsOpen());
    }
}

TEST(ExcelService, RefusedInputsGiveAJapaneseMessageAndChangeNothingOnDisk) {
    TempDir dir;
    WriteModel(dir / "good.xls", twoSheets());
    const std::string good = ReadBytes(dir / "good.xls");
    WriteBytes(dir / "truncated.xls", good.substr(0, good.size() / 2));
    std::string noise(20000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteBytes(dir / "random.xls", noise);
    {
        std::string stream = WorkbookStream(good);
        auto recs = StreamRecords(stream);
        recs.insert(recs.begin() + 1, biff8::Record{biff8::id::FilePass, std::string(54, '\x01')});
        // Sheet positions move by the inserted record.
        for (auto &r : recs)
            if (r.id == biff8::id::BoundSheet) biff8::put32(r.body, 0, biff8::get32(r.body, 0) + 58);
        std::string s = biff8::serialise(recs);
        auto cfbBytes = cfb::makeWorkbookFile(std::span(reinterpret_cast<const std::uint8_t *>(s.data()), s.size()));
        WriteBytes(dir / "encrypted.xls", std::string(cfbBytes.begin(), cfbBytes.end()));
    }
    fs::copy_file(dir / "good.xls", dir / "readonly.xls");
    ::chmod((dir / "readonly.xls").c_str(), 0444);
    fs::create_directory(dir / "folder.xls");
    WriteBytes(dir / "text.xls", "番号,氏名\n101,山田\n");
    fs::create_directory(dir / "loop");  // kept out of the stamps below, which follow links
    fs::create_symlink("loop.xls", dir / "loop" / "loop.xls");
    // The Workbook stream is whole (the reader takes these files), but a
    // save, which copies every stream, could not.
    const std::u16string summary = u"\x05SummaryInformation";
    WriteBytes(dir / "other-stream-size.xls", withDirectoryField(summary, 120, 0x7FFFFFF0));
    WriteBytes(dir / "other-stream-chain.xls", withDirectoryField(summary, 116, 0xFFFFFF00));
    WriteBytes(dir / "directory-cycle.xls", withDirectoryField(summary, 76, 0));
    for (const char *f : {"other-stream-size.xls", "other-stream-chain.xls", "directory-cycle.xls"}) {
        EXPECT_TRUE(ReadWithReader(dir / f).ok) << f;
    }

    struct Case {
        const char *file;
        const char *sheet;  // nullptr: Open already fails
        const char *needle;
    };
    const Case cases[] = {
        {"truncated.xls", nullptr, "壊れて"},
        {"random.xls", nullptr, "ブックではありません"},
        {"encrypted.xls", nullptr, "パスワード"},
        {"folder.xls", nullptr, "フォルダです"},
        {"missing.xls", nullptr, "見つかりません"},
        {"text.xls", nullptr, "ブックではありません"},
        {"loop/loop.xls", nullptr, "循環"},
        {"other-stream-size.xls", nullptr, "壊れて"},
        {"other-stream-chain.xls", nullptr, "壊れて"},
        {"directory-cycle.xls", nullptr, "壊れて"},
        {"good.xls", "Nothing", "シート「Nothing」がありません"},
        {"readonly.xls", "Data", "読み取り専用"},
    };
    std::map<std::string, Stamp> before;
    for (const auto &e : fs::directory_iterator(dir.path()))
        if (e.is_regular_file()) before[e.path().filename().string()] = stamp(e.path());

    TExcelApplication app;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = (dir / c.file).string();
        TExcelWorkbook book;
        try {
            book.Open(app, path);
            ASSERT_NE(c.sheet, nullptr) << "opened";
            TExcelWorksheet s = book.Worksheet(c.sheet);
            s.WriteCell("B2", "99");
            book.Close(true);
            ADD_FAILURE() << "no failure";
        } catch (const ExcelTemporaryError &e) {
            ADD_FAILURE() << "taken as temporary: " << e.what();
        } catch (const ExcelError &e) {
            std::string msg = e.what();
            EXPECT_NE(msg.find(c.needle), std::string::npos) << msg;
            if (std::string(c.file) != "good.xls" || c.sheet == nullptr) {
                EXPECT_NE(msg.find(c.file), std::string::npos) << "names the file: " << msg;
            }
            expectJapaneseOnly(msg, {path, "Excel", c.sheet ? c.sheet : ""});
        }
        EXPECT_FALSE(book.IsOpen());
    }
    std::map<std::string, Stamp> after;
    for (const auto &e : fs::directory_iterator(dir.path()))
        if (e.is_regular_file()) after[e.path().filename().string()] = stamp(e.path());
    EXPECT_TRUE(after == before) << "a file changed, appeared or vanished";
}

// A save whose folder went away while the workbook was open.
TEST(ExcelService, ASaveThatCannotWriteSaysWhyInJapanese) {
    TempDir dir;
    const fs::path file = dir / "sub" / "v.xls";
    fs::create_directory(dir / "sub");
    WriteModel(file, twoSheets());
    TExcelApplication app;
    TExcelWorkbook book;
    book.Open(app, file.string());
    book.Worksheet("Data").WriteCell("B2", "1");
    fs::remove_all(dir / "sub");
    try {
        book.Close(true);
        ADD_FAILURE() << "saved";
    } catch (const ExcelError &e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("保存できませんでした"), std::string::npos) << msg;
        expectJapaneseOnly(msg, {file.string()});
    }
    EXPECT_FALSE(book.IsOpen());
}

// The link stays a link: the file it leads to, through any number of links,
// is replaced in its own folder, and that file is the one locked.
TEST(ExcelService, SavingThroughASymbolicLinkReplacesTheFileItLeadsTo) {
    struct Link {
        std::string at;
        std::string to;  // from the test folder when absolute, else as written
        bool absolute;
    };
    struct Case {
        const char *what;
        std::vector<Link> links;  // made in order; the last one is opened
    };
    const Case cases[] = {
        {"absolute link in another folder", {{"links/a.xls", "data/real.xls", true}}},
        {"relative link in another folder", {{"links/r.xls", "../data/real.xls", false}}},
        {"link to a link", {{"mid/m.xls", "../data/real.xls", false}, {"links/chain.xls", "mid/m.xls", true}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const char *sub : {"data", "links", "mid"}) fs::create_directory(dir / sub);
        const fs::path target = dir / "data" / "real.xls";
        WriteModel(target, twoSheets());
        auto holds = [&](const Link &l) { return l.absolute ? (dir / l.to).string() : l.to; };
        for (const Link &l : c.links) fs::create_symlink(holds(l), dir / l.at);
        const fs::path entry = dir / c.links.back().at;

        TExcelApplication app;
        TExcelWorkbook book;
        book.Open(app, entry.string());
        book.Worksheet("Data").WriteCell("B2", "77");
        {
            TExcelWorkbook other;
            EXPECT_THROW(other.Open(app, target.string()), ExcelTemporaryError);
        }
        book.Close(true);

        for (const Link &l : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir / l.at)) << l.at;
            EXPECT_EQ(fs::read_symlink(dir / l.at).string(), holds(l));
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
        EXPECT_EQ(onDisk(target, 0, 1, 1).number, 77);
        EXPECT_TRUE(noStrayFiles(dir / "data", 1));
        EXPECT_TRUE(noStrayFiles(dir / "links", 1));

        TExcelWorkbook direct;
        direct.Open(app, target.string());
        TExcelWorkbook viaLink;
        EXPECT_THROW(viaLink.Open(app, entry.string()), ExcelTemporaryError);
    }
}

TEST(ExcelService, UnboundObjectsAndBadAddressesRaise) {
    TempDir dir;
    WriteModel(dir / "a.xls", twoSheets());
    TExcelWorksheet unbound;
    EXPECT_THROW(unbound.ReadCell("A1"), ExcelError);
    TExcelWorkbook closed;
    EXPECT_THROW(closed.Worksheet("Data"), ExcelError);
    EXPECT_NO_THROW(closed.Close(true));
    TExcelApplication app;
    for (const char *bad : {"", "A", "1", "A0", "IW1", "A65537", "B2C", "$A$1", "Ａ１"}) {
        TExcelWorkbook book;
        book.Open(app, (dir / "a.xls").string());
        EXPECT_THROW(book.Worksheet("Data").WriteCell(bad, "1"), ExcelError) << bad;
        EXPECT_FALSE(book.IsOpen()) << bad;
    }
    {
        TExcelWorkbook book;
        book.Open(app, (dir / "a.xls").string());
        book.Worksheet("Data").WriteText("A5", std::string(32767, 'x'));  // the longest a cell holds
        EXPECT_THROW(book.Worksheet("Data").WriteText("A6", std::string(32768, 'x')), ExcelError);
        EXPECT_FALSE(book.IsOpen());
    }
}

// Files the save path's fuzzer once crashed on: each is now refused at open
// with a Japanese message naming it, and stays as it was.
TEST(ExcelService, FilesTheSaveFuzzerFoundAreRefusedAtOpen) {
    const char *src = std::getenv("DORV_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    int seen = 0;
    for (const auto &e : fs::directory_iterator(fs::path(src) / "tests/fixtures/fuzz-regressions")) {
        if (e.path().filename().string().rfind("save-", 0) != 0) continue;
        ++seen;
        SCOPED_TRACE(e.path().filename().string());
        TempDir dir;
        const fs::path file = dir / e.path().filename().string();
        fs::copy_file(e.path(), file);
        const std::string bytes = ReadBytes(file);
        TExcelApplication app;
        TExcelWorkbook book;
        try {
            book.Open(app, file.string());
            ADD_FAILURE() << "opened";
        } catch (const ExcelError &err) {
            EXPECT_NE(std::string(err.what()).find(file.filename().string()), std::string::npos) << err.what();
        }
        EXPECT_FALSE(book.IsOpen());
        EXPECT_EQ(ReadBytes(file), bytes);
    }
    EXPECT_GT(seen, 0);
}

// The check of the saved file before it replaces the workbook: a new file
// spoilt between its writing and its reading back is refused, the workbook
// stays whole and the spoilt file goes.
TEST(ExcelService, ASaveThatDoesNotReadBackAsWrittenIsRefused) {
    const struct {
        const char *what;
        std::function<void(int fd, const std::string &bytes)> spoil;
    } cases[] = {
        // Still a workbook our reader takes, but the written cell says otherwise.
        {"a written cell reads back otherwise",
         [](int fd, const std::string &bytes) {
             const auto at = bytes.find("CHECKED-TEXT");
             ASSERT_NE(at, std::string::npos);
             ASSERT_EQ(::pwrite(fd, "CHECKED-TEXX", 12, static_cast<off_t>(at)), 12);
         }},
        {"no workbook at all",
         [](int fd, const std::string &bytes) {
             const std::string zeros(bytes.size() / 2, '\0');
             ASSERT_EQ(::pwrite(fd, zeros.data(), zeros.size(), 0), static_cast<ssize_t>(zeros.size()));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path file = dir / "check.xls";
        WriteModel(file, twoSheets());
        const Stamp before = stamp(file);
        int calls = 0;
        SetSaveCheckHook([&](int fd, const std::string &tempPath) {
            ++calls;
            EXPECT_EQ(fs::path(tempPath).parent_path(), dir.path());
            c.spoil(fd, ReadBytes(tempPath));
        });
        TExcelApplication app;
        TExcelWorkbook book;
        book.Open(app, file.string());
        book.Worksheet("Data").WriteText("C3", "CHECKED-TEXT");
        try {
            book.Close(true);
            ADD_FAILURE() << "saved";
        } catch (const ExcelError &e) {
            EXPECT_STREQ(e.what(), ("ファイル " + file.string() +
                                    " の保存内容を確かめられませんでした。元のファイルはそのままです")
                                       .c_str());
        }
        SetSaveCheckHook({});
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(book.IsOpen());
        EXPECT_EQ(stamp(file), before);
        EXPECT_TRUE(noStrayFiles(dir.path(), 1));
    }
}

// A desktop program's lock file beside a workbook keeps writers out as
// another writer would, with the lock file named; readers open it still.
TEST(ExcelService, ADesktopProgramsLockFileKeepsWritersOutButNotReaders) {
    const struct {
        const char *workbook;
        const char *lockFile;
    } cases[] = {
        {"m.xls", ".~lock.m.xls#"},         {"m.xls", "~$m.xls"}, {"中間テスト.xls", "~$中間テスト.xls"},
        {"中間テスト.xls", "~$テスト.xls"},  // Excel's form for a longer name
        {"Quarterly.xls", "~$arterly.xls"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.workbook) + " " + c.lockFile);
        TempDir dir;
        const fs::path file = dir / c.workbook;
        WriteModel(file, twoSheets());
        const fs::path lock = dir / c.lockFile;
        WriteBytes(lock, "someone");
        const Stamp before = stamp(file);
        TExcelApplication app;
        TExcelWorkbook book;
        try {
            book.Open(app, file.string());
            ADD_FAILURE() << "opened for writing";
        } catch (const DesktopHeldError &e) {
            EXPECT_EQ(e.LockFile(), lock.string());
            EXPECT_EQ(std::string(e.what()), "ファイル " + file.string() +
                                                 " は他のプログラムが使用中です（ロックファイル " + lock.string() +
                                                 " があります。このファイルを開いているプログラムがなければ、"
                                                 "ロックファイルを削除してください）");
        }
        EXPECT_FALSE(book.IsOpen());

        book.Open(app, file.string(), OpenFor::Reading);
        EXPECT_EQ(book.Worksheet("Data").ReadCell("B2"), "山田");
        EXPECT_THROW(book.Worksheet("Data").WriteCell("B2", "1"), ExcelError);
        EXPECT_FALSE(book.IsOpen());
        EXPECT_EQ(stamp(file), before);

        fs::remove(lock);
        book.Open(app, file.string());
        book.Worksheet("Data").WriteCell("B2", "1");
        book.Close(true);
        EXPECT_EQ(onDisk(file, 0, 1, 1).number, 1);
    }
}

// Lock files of other workbooks, or names that only look alike, hold
// nothing up.
TEST(ExcelService, OnlyTheWorkbooksOwnLockFilesCount) {
    TempDir dir;
    const fs::path file = dir / "m.xls";
    WriteModel(file, twoSheets());
    for (const char *other : {".~lock.n.xls#", "~$n.xls", ".~lock.m.xls", "~m.xls", "~$m.xlsx", ".m.xls.AbC123"})
        WriteBytes(dir / other, "someone");
    TExcelApplication app;
    TExcelWorkbook book;
    book.Open(app, file.string());
    book.Worksheet("Data").WriteCell("B2", "1");
    book.Close(true);
    EXPECT_EQ(onDisk(file, 0, 1, 1).number, 1);
}

}  // namespace
}  // namespace dorv
