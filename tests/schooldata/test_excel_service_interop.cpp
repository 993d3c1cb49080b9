// The service end to end through the xls-set tool, checked by python3-xlrd
// and our own reader: round trips on workbooks of other writers, many new
// strings, two writers at once, and saves killed half-way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <thread>

#include "schooldata/workbook_lock.h"
#include "tests/workbook/biff8_test_support.h"
#include "workbook/compound_file.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using namespace dorv::testing;

std::string xlsSet() { return (BinDir() / "xls-set").string(); }

// xls-set, waiting while another writer holds the file (exit status 3).
int setCells(const fs::path &file, const std::vector<std::string> &cells, std::string *err = nullptr) {
    std::vector<std::string> argv{xlsSet(), file.string()};
    argv.insert(argv.end(), cells.begin(), cells.end());
    for (int attempt = 0; attempt < 3000; ++attempt) {
        int rc = Run(argv, nullptr, err);
        if (rc != 3) return rc;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 3;
}

std::string colName(int col) {
    std::string s;
    for (++col; col > 0; col = (col - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (col - 1) % 26));
    return s;
}

std::string addr(int row, int col) { return colName(col) + std::to_string(row + 1); }

std::string numberText(double v) {  // as xlrd's repr gives it
    std::string out, err;
    testing::Run({Python(), "-c", "import sys; print(repr(float(sys.argv[1])))", std::to_string(v)}, &out, &err);
    return out.substr(0, out.find('\n'));
}

std::map<std::size_t, std::vector<std::uint8_t>> otherStreams(const fs::path &p) {
    std::string b = ReadBytes(p);
    auto cf = cfb::CompoundFile::parse(std::vector<std::uint8_t>(b.begin(), b.end()));
    std::map<std::size_t, std::vector<std::uint8_t>> out;
    for (std::size_t i = 1; i < cf.entries().size(); ++i)
        if (cf.entries()[i].objectType == cfb::kStream && cf.entries()[i].nameUtf8() != "Workbook")
            out[i] = cf.streamBytes(i);
    return out;
}

struct Edit {
    int sheet, row, col;
    std::string text;
};

// Writes `edits` with xls-set and checks that both readers see exactly the
// old workbook with those cells changed.
void roundTrip(const fs::path &file, const std::vector<Edit> &edits) {
    XlrdBook before = ReadWithXlrd(file);
    ASSERT_TRUE(before.ok) << before.error;
    ReaderBook oursBefore = ReadWithReader(file);
    ASSERT_TRUE(oursBefore.ok) << oursBefore.error;
    auto streams = otherStreams(file);

    std::vector<std::string> args;
    for (const Edit &e : edits) args.push_back(before.sheets.at(e.sheet) + "!" + addr(e.row, e.col) + "=" + e.text);
    std::string err;
    ASSERT_EQ(setCells(file, args, &err), 0) << err;

    XlrdBook after = ReadWithXlrd(file);
    ASSERT_TRUE(after.ok) << after.error;
    ReaderBook oursAfter = ReadWithReader(file);
    ASSERT_TRUE(oursAfter.ok) << oursAfter.error;

    for (const Edit &e : edits) {
        CellKey k{e.sheet, e.row, e.col};
        bool number = std::regex_match(e.text, std::regex("-?[0-9]+(\\.[0-9]+)?"));
        if (e.text.empty()) {
            // A blank keeps its format (xlrd: blank) or, when it had none, is no cell.
            if (before.cells.count(k)) before.cells[k] = XlrdCell{"blank", ""};
            else before.cells.erase(k);
            oursBefore.cells.erase(k);
        } else {
            before.cells[k] = number ? XlrdCell{"n", numberText(std::stod(e.text))} : XlrdCell{"s", e.text};
            oursBefore.cells[k] = e.text;
        }
    }
    std::erase_if(after.cells,
                  [&](const auto &kv) { return kv.second.type == "blank" && !before.cells.count(kv.first); });
    EXPECT_EQ(after.sheets, before.sheets);
    EXPECT_TRUE(after.cells == before.cells) << MapDiff(after.cells, before.cells);
    EXPECT_EQ(after.widths, before.widths);
    EXPECT_EQ(oursAfter.sheets, oursBefore.sheets);
    EXPECT_TRUE(oursAfter.cells == oursBefore.cells) << MapDiff(oursAfter.cells, oursBefore.cells);
    EXPECT_EQ(oursAfter.widths, oursBefore.widths);
    EXPECT_EQ(otherStreams(file), streams) << "another stream of the compound file changed";
}

const std::vector<Edit> kEdits = {
    {0, 1, 2, "85"},     {0, 2, 2, "-5"},     {0, 3, 3, "12.5"},      {0, 1, 1, "鈴木　一郎"},
    {0, 2, 1, ""},       {0, 4, 1, "1-2"},    {0, 40, 6, "新しい行"}, {0, 0, 30, "遠い列"},
    {1, 0, 0, "上書き"}, {1, 500, 0, "1042"}, {0, 3, 4, ""},
};

TEST(ExcelServiceInterop, RoundTripsOnWorkbooksOfOtherWriters) {
    auto files = ForeignBiff8Workbooks();
    ASSERT_FALSE(files.empty()) << "interop workbooks missing";
    for (const auto &f : files) {
        SCOPED_TRACE(f.filename().string());
        TempDir dir;
        fs::copy_file(f, dir / "book.xls");
        roundTrip(dir / "book.xls", kEdits);
        roundTrip(dir / "book.xls", {{0, 1, 2, "90"}, {0, 2, 1, "戻す"}});  // a second save on our own output
    }
}

// LibreOffice's saves hold thousands of texts with formatting runs; one
// written number and one new text must leave every other cell as it was and
// the table laid out as other readers need it.
TEST(ExcelServiceInterop, FormattedTextsOfLibreOfficeSurviveAWrite) {
    for (const char *name : {"libreoffice-rich.xls", "libreoffice-mixed.xls"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        fs::copy_file(InteropWorkbook(name), dir / "book.xls");
        roundTrip(dir / "book.xls", {{0, 1, 1, "85"}, {1, 4, 2, "新しい記録"}});
        const std::vector<biff8::Record> table = SstRecords(StreamRecords(WorkbookStream(ReadBytes(dir / "book.xls"))));
        EXPECT_GT(table.size(), 10u);
        EXPECT_EQ(WalkSstStrictly(table).fault, "");
    }
}

TEST(ExcelServiceInterop, RoundTripOnAFreshWorkbook) {
    TempDir dir;
    biff8::WorkbookModel m = ScoreWorkbook();
    m.sheets.push_back(biff8::ModelSheet{"国語", {{{0, 0}, {false, 0, "観点1"}}}, {{1, 3000}}});
    WriteModel(dir / "fresh.xls", m);
    roundTrip(dir / "fresh.xls", kEdits);
}

TEST(ExcelServiceInterop, AThousandNewJapaneseStringsReadBackWhole) {
    auto files = ForeignBiff8Workbooks();
    ASSERT_FALSE(files.empty());
    TempDir dir;
    fs::copy_file(files[0], dir / "many.xls");
    std::vector<Edit> edits;
    std::mt19937 rng(11);
    static const char *kana[] = {"あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ", "漢", "字", "ー", "Ａ"};
    for (int i = 0; i < 1000; ++i) {
        std::string s;
        for (int n = 1 + static_cast<int>(rng() % 50); n > 0; --n) s += kana[rng() % 14];
        edits.push_back({1, 100 + i, 3, s + std::to_string(i)});
    }
    roundTrip(dir / "many.xls", edits);
    auto recs = StreamRecords(WorkbookStream(ReadBytes(dir / "many.xls")));
    for (const auto &r : recs) {
        if (r.id == biff8::id::Sst || r.id == biff8::id::Continue) {
            EXPECT_LE(r.body.size(), biff8::kMaxRecordBody);
        }
    }
}

TEST(ExcelServiceInterop, TwoWritersAtOnceLoseNoUpdate) {
    TempDir dir;
    const fs::path file = dir / "score.xls";
    WriteModel(file, ScoreWorkbook());
    const int rounds = 50;
    auto writer = [&](int col, int base) {
        for (int r = 0; r < rounds; ++r) {
            std::string err;
            int rc = setCells(file, {"Data!" + addr(1 + r, col) + "=" + std::to_string(base + r)}, &err);
            if (rc != 0) return r * 1000 + rc;
        }
        return 0;
    };
    int a = -1, b = -1;
    std::thread ta([&] { a = writer(2, 1000); });  // 社会
    std::thread tb([&] { b = writer(3, 2000); });  // 数学
    ta.join();
    tb.join();
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    XlrdBook book = ReadWithXlrd(file);
    ASSERT_TRUE(book.ok) << book.error;
    for (int r = 0; r < rounds; ++r) {
        EXPECT_EQ((book.cells[{0, 1 + r, 2}]), (XlrdCell{"n", std::to_string(1000 + r) + ".0"})) << r;
        EXPECT_EQ((book.cells[{0, 1 + r, 3}]), (XlrdCell{"n", std::to_string(2000 + r) + ".0"})) << r;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ExcelServiceInterop, ASaveKilledAtAnyPointLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    const fs::path file = dir / "score.xls";
    WriteModel(file, ScoreWorkbook());
    // 420 cells of one column, every one changed in each round.
    auto command = [&](int round) {
        std::vector<std::string> argv{xlsSet(), file.string()};
        for (int r = 1; r <= 420; ++r)
            argv.push_back("Data!E" + std::to_string(r + 1) + "=" + std::to_string(round * 1000 + r));
        return argv;
    };
    // The kill lands anywhere from the start of the process to a little
    // after the time a whole save takes here.
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(testing::Run(command(0)), 0);
    const auto span =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0) * 12 / 10;
    std::mt19937 rng(5);
    int sawOld = 0, sawNew = 0;
    for (int round = 1; round <= 20; ++round) {
        const std::string before = ReadBytes(file);
        std::vector<std::string> argv = command(round);
        pid_t pid = ::fork();
        if (pid == 0) {
            std::vector<char *> args;
            for (auto &s : argv) args.push_back(s.data());
            args.push_back(nullptr);
            int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 2);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % span.count()));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);

        XlrdBook book = ReadWithXlrd(file);
        ASSERT_TRUE(book.ok) << "round " << round << ": " << book.error;
        ReaderBook ours = ReadWithReader(file);
        ASSERT_TRUE(ours.ok) << "round " << round << ": " << ours.error;
        if (ReadBytes(file) == before) {
            ++sawOld;
        } else {
            ++sawNew;
            for (int r = 1; r <= 420; ++r)
                ASSERT_EQ((ours.cells[{0, r, 4}]), std::to_string(round * 1000 + r))
                    << "round " << round << " row " << r;
        }
        // No lock outlives the killed writer.
        std::string err;
        ASSERT_EQ(testing::Run({xlsSet(), file.string()}, nullptr, &err), 0) << err;
    }
    std::cout << "killed saves: " << sawOld << " left the old file, " << sawNew << " the new one\n";
    EXPECT_EQ(sawOld + sawNew, 20);

    // The next save clears what the killed ones left behind, and only that:
    // not the file of a writer still at work, nor files of other names or
    // contents.
    const std::regex ours(R"(\.score\.xls\.[A-Za-z0-9]{6})");
    auto hidden = [&] {
        std::set<std::string> names;
        for (const auto &e : fs::directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            if (std::regex_match(name, ours)) names.insert(name);
        }
        return names;
    };
    // One more, killed for certain after its first bytes.
    pid_t pid = ::fork();
    if (pid == 0) {
        std::string temp;
        const int fd = CreateSaveTemp(file.string(), temp);
        if (::write(fd, "\xD0\xCF\x11\xE0", 4) == 4) ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::cout << "files left by killed saves: " << hidden().size() << "\n";
    ASSERT_FALSE(hidden().empty());
    std::string live;
    const int liveFd = CreateSaveTemp(file.string(), live);
    ASSERT_GE(liveFd, 0);
    const std::vector<std::string> others = {".score.xls.ABCDE", "score.xls.ABCDEF", ".other.xls.ABCDEF",
                                             ".score.xls.textAB", ".score.xls.linkAB"};
    for (const std::string &name : others) WriteBytes(dir / name, name == ".score.xls.textAB" ? "メモ" : "");
    fs::remove(dir / ".score.xls.linkAB");
    fs::create_symlink("score.xls", dir / ".score.xls.linkAB");
    ASSERT_EQ(testing::Run(command(21)), 0);
    EXPECT_EQ(hidden(),
              (std::set<std::string>{fs::path(live).filename().string(), ".score.xls.textAB", ".score.xls.linkAB"}));
    for (const std::string &name : others) EXPECT_TRUE(fs::exists(fs::symlink_status(dir / name))) << name;
    ::close(liveFd);
    ASSERT_EQ(testing::Run(command(22)), 0);
    EXPECT_FALSE(fs::exists(live));
}

}  // namespace
}  // namespace dorv
