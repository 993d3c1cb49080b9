// Raw scores: loading a test's workbook, the per-column and whole-row saves,
// and the statistics of one column.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records_cells.h"
#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::ReaderCells;
using testing::SchoolFolder;
using testing::Stamp;
using testing::WriteXls;
using testing::XlrdCells;

constexpr TTestId kRegular{0, 2};
constexpr TTestId kProficiency{1, 2};

// A school with test names and grade 2, test 2 selected.
class Scores : public ::testing::Test {
protected:
    void SetUp() override {
        teiki_.TestName[2][2] = "１学期期末テスト";
        jitsu_.TestName[2][2] = "第２回実力テスト";
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
        SelectedGrade = 2;
        SelectedTest = 2;
    }
    void TearDown() override {
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
    }
    std::filesystem::path Regular() const { return school_.Grade(2, "１学期期末テスト.xls"); }
    std::filesystem::path Proficiency() const { return school_.Grade(2, "第２回実力テスト.xls"); }

    SchoolFolder school_;
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
};

TEST_F(Scores, WorkbookFollowsTheSelectionAndKind) {
    EXPECT_EQ(TSotenData::WorkbookPath(0), Regular().string());
    EXPECT_EQ(TSotenData::WorkbookPath(1), Proficiency().string());
    EXPECT_EQ(TSotenData::WorkbookPath(2), "");
    SelectedTest = 6;
    EXPECT_EQ(TSotenData::WorkbookPath(0), "");
}

TEST_F(Scores, RegularTestLoadsThroughTheReader) {
    WriteXls(Regular(), {{"Data",
                          {{"A1", "番号"},
                           {"B1", "国語"},
                           {"A2", "101"},
                           {"B2", "85"},
                           {"C2", "72.5"},
                           {"D2", "欠"},
                           {"E2", "300"},
                           {"F2", "-1"},
                           {"G2", "100"},
                           {"J2", "70"},
                           {"K2", "30"},
                           {"L2", "40"},
                           {"M2", "99"},    // 技家 技術 家庭, M ignored
                           {"B101", "64"},  // slot 100, class 3
                           {"B421", "11"},
                           {"B422", "12"}},  // slot 420; beyond
                          {{"H2", " 7x"}}},
                         {"Second", {{"C3", "55"}}}});
    const auto before = Stamp(Regular());

    TSotenData d;
    d.Score[3][2] = 9;  // emptied by the load
    d.Modified[5] = 1;
    d.LoadTest(kRegular, 2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);

    const uint8_t row2[12] = {85, 72, 0, 255, 255, 100, 7, 255, 70, 30, 40, 255};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(d.Score[1][i], row2[i]) << "subject " << i;
    EXPECT_EQ(d.Score[2][1], 55);  // the second sheet lands in the slots too
    EXPECT_EQ(d.Score[3][2], 255);
    EXPECT_EQ(d.Score[100][0], 64);  // whatever the class count
    EXPECT_EQ(d.Score[420][0], 11);
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(d.Modified[r], 0);
    EXPECT_EQ(Stamp(Regular()), before);
}

// Walked record by record, the scrambled bodies behind FILEPASS would give
// scores of random values without a word.
TEST_F(Scores, AnEncryptedWorkbookIsRefusedAndLoadsNoScores) {
    testing::SheetSpec data{"Data"};
    for (int row = 2; row <= 421; ++row)
        for (char col = 'B'; col <= 'L'; ++col)
            data.cells.push_back({std::string(1, col) + std::to_string(row), std::to_string((row * 7 + col) % 101)});
    testing::WriteEncryptedXls(Regular(), {data});
    const auto before = Stamp(Regular());
    TSotenData d;
    try {
        d.LoadTest(kRegular, 10);
        ADD_FAILURE() << "loaded";
    } catch (const ExcelError &e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("パスワードで保護"), std::string::npos) << msg;
        EXPECT_NE(msg.find(Regular().filename().string()), std::string::npos) << msg;
    }
    int scores = 0;
    for (int slot = 1; slot <= 420; ++slot)
        for (int subject = 0; subject < 12; ++subject) scores += d.Score[slot][subject] != 255;
    EXPECT_EQ(scores, 0);
    EXPECT_EQ(Stamp(Regular()), before);
}

TEST_F(Scores, ProficiencyTestTakesFiveColumns) {
    WriteXls(Proficiency(), {{"Data", {{"B2", "40"}, {"F2", "90"}, {"G2", "50"}, {"K2", "30"}}}});
    TSotenData d;
    d.LoadTest(kProficiency, 1);
    EXPECT_EQ(d.Score[1][0], 40);
    EXPECT_EQ(d.Score[1][4], 90);
    EXPECT_EQ(d.Score[1][5], 255);
    EXPECT_EQ(d.Score[1][9], 255);
}

TEST_F(Scores, ServicePathReadsOnlyTheClassesOfTheGrade) {
    WriteXls(Regular(), {{"Other", {{"B2", "1"}}},
                         {"Data",
                          {{"B2", "85"},
                           {"C2", "72.5"},
                           {"D2", "欠"},
                           {"L2", "40"},
                           {"B44", "61"},
                           {"B86", "77"}}}});  // slots 1, 43 (class 2), 85 (class 3)
    const auto before = Stamp(Regular());
    TSotenData d;
    for (auto &row : d.Score)
        for (auto &s : row) s = 255;
    d.Score[85][0] = 3;
    {
        ServiceSession session(Regular().string());
        d.ReadTeikiExcel(session, 2);
        session.Close(true);
    }
    EXPECT_EQ(d.Score[1][0], 85);
    EXPECT_EQ(d.Score[1][1], 72);
    EXPECT_EQ(d.Score[1][2], 0);
    EXPECT_EQ(d.Score[1][3], 255);  // empty cell
    EXPECT_EQ(d.Score[1][10], 40);
    EXPECT_EQ(d.Score[43][0], 61);
    EXPECT_EQ(d.Score[85][0], 3);         // class 3 is not read
    EXPECT_EQ(Stamp(Regular()), before);  // nothing was written
}

TEST_F(Scores, SaveTestColumnWritesOnlyItsColumnOfFlaggedRowsOfTheClasses) {
    WriteXls(Regular(),
             {{"Data",
               {{"A1", "番号"}, {"B2", "50"}, {"C2", "60"}, {"E2", "10"}, {"E3", "20"}, {"E4", "30"}, {"E44", "40"}}}});
    TSotenData d;
    d.LoadTest(kRegular, 2);
    const CellMap before = ReaderCells(Regular());

    d.Score[1][3] = 88;    // E2, flagged
    d.Score[1][1] = 99;    // C2: another column of the same row
    d.Score[2][3] = 255;   // E3 flagged and empty: a blank cell
    d.Score[3][3] = 77;    // E4 not flagged: keeps 30
    d.Score[43][3] = 120;  // E44, flagged: a value above 100 is written as it is
    d.Score[90][3] = 66;   // class 3, flagged: outside the class count
    for (int r : {1, 2, 43, 90}) d.Modified[r] = 1;
    d.SaveTestColumn(kRegular, 2, 3);

    EXPECT_EQ(Changes(before, ReaderCells(Regular())),
              (CellMap{{"Data!E2", "10 => 88"}, {"Data!E3", "20 => "}, {"Data!E44", "40 => 120"}}));
    // The emptied cell is blank, not an empty text that a strict loader
    // would refuse.
    const CellMap xlrd = XlrdCells(Regular());
    EXPECT_EQ(xlrd.count("Data!E3"), 0u);
    EXPECT_EQ(xlrd.at("Data!E2"), "88");
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(d.Modified[r], 0) << r;
}

TEST_F(Scores, SaveTestWritesEveryColumnOfTheKind) {
    WriteXls(Proficiency(), {{"Data", {{"B2", "1"}, {"G2", "keep"}}}});
    TSotenData d;
    d.LoadTest(kProficiency, 1);
    const CellMap before = ReaderCells(Proficiency());
    for (int i = 0; i < 12; ++i) d.Score[1][i] = static_cast<uint8_t>(10 + i);
    d.Modified[1] = 1;
    d.SaveTest(kProficiency, 1);
    EXPECT_EQ(Changes(before, ReaderCells(Proficiency())), (CellMap{{"Data!B2", "1 => 10"},
                                                                    {"Data!C2", " => 11"},
                                                                    {"Data!D2", " => 12"},
                                                                    {"Data!E2", " => 13"},
                                                                    {"Data!F2", " => 14"}}));
}

TEST_F(Scores, UnknownKindOrColumnTouchesNothing) {
    WriteXls(Regular(), {{"Data", {{"B2", "1"}}}});
    const auto before = Stamp(Regular());
    TSotenData d;
    d.Score[1][0] = 7;
    d.Modified[1] = 1;
    d.LoadTest(TTestId{2, 2}, 1);
    d.SaveTest(TTestId{2, 2}, 1);
    d.SaveTestColumn(TTestId{2, 2}, 1, 0);
    d.SaveTestColumn(kRegular, 1, 11);     // no column M
    d.SaveTestColumn(kProficiency, 1, 5);  // no column G
    EXPECT_EQ(d.Score[1][0], 7);
    EXPECT_EQ(d.Modified[1], 1);
    EXPECT_EQ(Stamp(Regular()), before);
}

// A save that cannot be done says why, keeps the flags (the entries are not
// lost) and leaves the disk as it was; the system never creates a workbook.
TEST_F(Scores, FailedSavesKeepTheFlagsAndTheFile) {
    struct Case {
        const char *what;
        std::vector<testing::SheetSpec> book;  // empty: no file
        bool readOnly;
        const char *message;
    };
    const std::vector<Case> cases = {
        {"missing workbook", {}, false, "が見つかりません"},
        {"no sheet Data", {{"Scores", {{"B2", "1"}}}}, false, "シート「Data」がありません"},
        {"read-only workbook", {{"Data", {{"B2", "1"}}}}, true, "読み取り専用"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Regular());
        if (!c.book.empty()) WriteXls(Regular(), c.book);
        if (c.readOnly) std::filesystem::permissions(Regular(), std::filesystem::perms::owner_read);
        const auto before = Stamp(Regular());
        TSotenData d;
        d.Score[1][0] = 50;
        d.Modified[1] = 1;
        try {
            d.SaveTestColumn(kRegular, 1, 0);
            ADD_FAILURE() << "saved";
        } catch (const ExcelError &e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(d.Modified[1], 1);
        EXPECT_EQ(Stamp(Regular()), before);
        EXPECT_FALSE(WorkbookOperationRunning());
        if (c.readOnly) std::filesystem::permissions(Regular(), std::filesystem::perms::owner_all);
    }
}

// Two teachers, each with his own copy of the test, save their subjects one
// after the other; the second save must not undo the first.
TEST_F(Scores, TwoSubjectSavesIntoOneWorkbookKeepBoth) {
    WriteXls(Regular(), {{"Data", {{"A1", "番号"}, {"B1", "国語"}, {"D1", "数学"}, {"A2", "101"}}}});
    TSotenData kokugo, sugaku;
    kokugo.LoadTest(kRegular, 3);
    sugaku.LoadTest(kRegular, 3);
    for (int r : {1, 2, 60, 126}) {
        kokugo.Score[r][0] = static_cast<uint8_t>(r % 101);
        kokugo.Modified[r] = 1;
        sugaku.Score[r][2] = static_cast<uint8_t>(100 - r % 101);
        sugaku.Modified[r] = 1;
    }
    kokugo.SaveTestColumn(kRegular, 3, 0);
    sugaku.SaveTestColumn(kRegular, 3, 2);

    TSotenData back;
    back.LoadTest(kRegular, 3);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    const CellMap xlrd = XlrdCells(Regular());
    for (int r : {1, 2, 60, 126}) {
        EXPECT_EQ(back.Score[r][0], r % 101);
        EXPECT_EQ(back.Score[r][2], 100 - r % 101);
        EXPECT_EQ(xlrd.at("Data!" + CellAddress(1, r + 1)), std::to_string(r % 101));
        EXPECT_EQ(xlrd.at("Data!" + CellAddress(3, r + 1)), std::to_string(100 - r % 101));
    }
    EXPECT_EQ(xlrd.at("Data!D1"), "数学");
    EXPECT_EQ(xlrd.at("Data!A2"), "101");
}

// ---- Statistics of one column ---------------------------------------------------

TEST(ScoreColumnStats, CountsSumsMeansAndBands) {
    TSotenData d;
    for (auto &row : d.Score)
        for (auto &s : row) s = 255;
    // Class 1: 100, 95, 90, 0, 9, 101, 254 (the last two are no scores).
    const int class1[] = {100, 95, 90, 0, 9, 101, 254};
    for (int n = 0; n < 7; ++n) d.Score[SlotOf(1, n + 1)][4] = static_cast<uint8_t>(class1[n]);
    // Class 2: nothing. Class 3: 55, 56. Class 4 (beyond the count): 10.
    d.Score[SlotOf(3, 42)][4] = 55;
    d.Score[SlotOf(3, 1)][4] = 56;
    d.Score[SlotOf(4, 1)][4] = 10;
    d.Score[SlotOf(1, 8)][3] = 70;  // another column

    d.CalcColumnStats(4, 3);
    const TColStats &s = d.ColStats;
    EXPECT_EQ(s.ColCount[1], 5);
    EXPECT_EQ(s.ColSum[1], 294);
    EXPECT_FLOAT_EQ(s.ColMean[1], 294.0f / 5);
    EXPECT_EQ(s.ColCount[2], 0);
    EXPECT_EQ(s.ColMean[2], 0.0f);
    EXPECT_EQ(s.ColCount[3], 2);
    EXPECT_FLOAT_EQ(s.ColMean[3], 55.5f);
    EXPECT_EQ(s.ColCount[4], 0);
    EXPECT_EQ(s.ColTotalCount, 7);
    EXPECT_EQ(s.ColTotalSum, 405);
    EXPECT_FLOAT_EQ(s.ColTotalMean, 405.0f / 7);
    const int bands[10] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 3};  // 100 joins 90..99
    for (int b = 0; b < 10; ++b) EXPECT_EQ(s.ColBand[b], bands[b]) << "band " << b;

    // No classes, or a column outside the record: every value 0, even after
    // a filled block.
    for (uint8_t column : {uint8_t{4}, uint8_t{12}, uint8_t{255}}) {
        d.CalcColumnStats(4, 3);
        d.CalcColumnStats(column, column == 4 ? 0 : 3);
        EXPECT_EQ(d.ColStats.ColTotalCount, 0);
        EXPECT_EQ(d.ColStats.ColCount[1], 0);
        EXPECT_EQ(d.ColStats.ColBand[9], 0);
        EXPECT_EQ(d.ColStats.ColTotalMean, 0.0f);
    }
}

TEST(ScoreColumnStats, ClassCountAboveTenStaysInsideTheSlots) {
    TSotenData d;  // all scores 0
    d.CalcColumnStats(0, 255);
    EXPECT_EQ(d.ColStats.ColTotalCount, 420);
    EXPECT_EQ(d.ColStats.ColCount[10], 42);
    EXPECT_EQ(d.ColStats.ColBand[0], 420);
}

}  // namespace
}  // namespace dorv
