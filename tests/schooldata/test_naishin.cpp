// School-report marks: the term workbooks, the per-subject save and the
// mark statistics of one subject.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records_cells.h"
#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/naishin_data.h"

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::ReaderCells;
using testing::SchoolFolder;
using testing::Stamp;
using testing::WriteXls;
using testing::XlrdCells;

class Marks : public ::testing::Test {
protected:
    void SetUp() override {
        SelectedGrade = 1;
        SelectedTerm = 2;
    }
    std::filesystem::path Term2() const { return school_.Grade(1, "２学期内申.xls"); }
    SchoolFolder school_;
};

TEST_F(Marks, LoadsTheSelectedTermWhateverTermIsPassed) {
    WriteXls(Term2(), {{"Data",
                        {{"A1", "番号"},
                         {"B1", "国語"},
                         {"A2", "101"},
                         {"B2", "5"},
                         {"J2", "3"},
                         {"C2", "7"},
                         {"D2", "256"},
                         {"E2", "-1"},
                         {"K2", "4"},
                         {"B422", "2"},
                         {"B101", "4"}}},
                       {"Second", {{"F2", "1"}}}});
    const auto before = Stamp(Term2());
    TNaishinData d;
    d.Mark[1][6] = 2;  // emptied by the load
    d.Modified[3] = 1;
    d.LoadNaishin(3, 2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    const uint8_t row[12] = {5, 7, 255, 255, 1, 255, 255, 255, 3, 255, 255, 255};
    for (int j = 0; j < 12; ++j) EXPECT_EQ(d.Mark[1][j], row[j]) << "subject " << j;
    EXPECT_EQ(d.Mark[100][0], 4);  // class 3 through the reader
    EXPECT_EQ(d.Modified[3], 0);
    EXPECT_EQ(Stamp(Term2()), before);
}

TEST_F(Marks, BadWorkbooks) {
    struct Case {
        const char *what;
        std::vector<testing::SheetSpec> book;  // empty: no file
        uint8_t classCount;
        const char *message;  // "" = loads
        uint8_t mark;         // slot 1, 国語
    };
    const std::vector<Case> cases = {
        {"missing file", {}, 1, "が見つかりません", 0},
        {"no sheet Data on the service path",
         {{"Marks", {{"B2", "4"}, {"C2", "良"}}}},
         1,
         "シート「Data」がありません",
         0},
        {"a text mark", {{"Data", {{"B2", "4"}, {"C2", "良"}}}}, 1, "'良' は整数ではありません", 0},
        {"text outside the classes", {{"Data", {{"B2", "4"}, {"C44", "良"}}}}, 1, "", 4},
        {"4.0 as a number", {{"Data", {{"B2", "4.0"}}}}, 1, "", 4},
        {"class count 11", {{"Data", {{"B2", "2"}, {"B421", "3"}}}}, 11, "", 2},
        {"class count 0 on the service path", {{"Data", {{"B2", "良"}}}}, 0, "", 255},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Term2());
        if (!c.book.empty()) WriteXls(Term2(), c.book);
        const auto before = Stamp(Term2());
        TNaishinData d;
        d.Modified[1] = 1;
        if (*c.message) {
            try {
                d.LoadNaishin(2, c.classCount);
                ADD_FAILURE() << "loaded";
            } catch (const std::exception &e) {
                EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            }
            EXPECT_EQ(d.Modified[1], 1);
        } else {
            d.LoadNaishin(2, c.classCount);
            EXPECT_EQ(d.Mark[1][0], c.mark);
            EXPECT_EQ(d.Modified[1], 0);
        }
        EXPECT_EQ(Stamp(Term2()), before);
    }
}

TEST_F(Marks, SaveWritesOnlyTheSubjectColumnOfFlaggedRows) {
    WriteXls(Term2(), {{"Data", {{"J2", "1"}, {"J44", "2"}, {"I2", "3"}, {"J3", "4"}}}});
    TNaishinData d;
    d.LoadNaishin(2, 2);
    const CellMap before = ReaderCells(Term2());
    d.Mark[1][8] = 5;
    d.Mark[1][7] = 5;     // 保体 of the same row: not this save's
    d.Mark[43][8] = 255;  // emptied
    d.Mark[2][8] = 5;     // unflagged
    d.Mark[85][8] = 5;    // class 3
    for (int r : {1, 43, 85}) d.Modified[r] = 1;
    d.SaveNaishinSubject(1, 2, 8);
    EXPECT_EQ(Changes(before, ReaderCells(Term2())), (CellMap{{"Data!J2", "1 => 5"}, {"Data!J44", "2 => "}}));
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(d.Modified[r], 0) << r;
}

TEST_F(Marks, TwoSubjectSavesIntoOneWorkbookKeepBoth) {
    WriteXls(Term2(), {{"Data", {{"A1", "番号"}}}});
    TNaishinData eigo, ongaku;
    eigo.LoadNaishin(2, 1);
    ongaku.LoadNaishin(2, 1);
    for (int r = 1; r <= 42; ++r) {
        eigo.Mark[r][4] = static_cast<uint8_t>(1 + r % 5);
        eigo.Modified[r] = 1;
        ongaku.Mark[r][5] = static_cast<uint8_t>(5 - r % 5);
        ongaku.Modified[r] = 1;
    }
    eigo.SaveNaishinSubject(2, 1, 4);
    ongaku.SaveNaishinSubject(2, 1, 5);
    TNaishinData back;
    back.LoadNaishin(2, 1);
    const CellMap xlrd = XlrdCells(Term2());
    for (int r = 1; r <= 42; ++r) {
        EXPECT_EQ(back.Mark[r][4], 1 + r % 5);
        EXPECT_EQ(back.Mark[r][5], 5 - r % 5);
        EXPECT_EQ(xlrd.at("Data!F" + std::to_string(r + 1)), std::to_string(1 + r % 5));
        EXPECT_EQ(xlrd.at("Data!G" + std::to_string(r + 1)), std::to_string(5 - r % 5));
    }
}

// ---- Statistics -------------------------------------------------------------

TEST(MarkStats, Table) {
    struct Case {
        const char *what;
        std::vector<std::pair<int, int>> marks;  // (slot, mark), subject 2
        uint8_t classCount;
        int count;
        uint32_t bands[6];
        float mean;
    };
    std::vector<std::pair<int, int>> class1;
    for (int n = 1; n <= 42; ++n) class1.push_back({n, n <= 10 ? 5 : n <= 30 ? 4 : 3});
    const std::vector<Case> cases = {
        {"a class of 42", class1, 1, 42, {0, 0, 0, 12, 20, 10}, 166.0f / 42},
        {"only empty marks", {}, 3, 0, {}, 0},
        {"a 0 counts without a tally", {{1, 0}, {2, 4}}, 1, 2, {0, 0, 0, 0, 1, 0}, 2.0f},
        {"6 and 7 are not marks", {{1, 7}, {2, 6}, {3, 2}}, 1, 1, {0, 0, 1, 0, 0, 0}, 2.0f},
        {"classes beyond the count", {{1, 1}, {43, 5}}, 1, 1, {0, 1, 0, 0, 0, 0}, 1.0f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TNaishinData d;
        for (auto &row : d.Mark)
            for (auto &m : row) m = 255;
        for (auto [slot, mark] : c.marks) d.Mark[slot][2] = static_cast<uint8_t>(mark);
        d.Mark[1][3] = 5;  // another subject
        d.CalcNaishinStats(2, c.classCount);
        EXPECT_EQ(d.MarkCount, c.count);
        for (int m = 1; m <= 5; ++m) EXPECT_EQ(d.MarkBand[m], c.bands[m]) << "mark " << m;
        EXPECT_FLOAT_EQ(d.MarkMean, c.mean);
    }
}

TEST(MarkStats, TalliesOfAFullGradeDoNotOverflow) {
    TNaishinData d;
    for (auto &row : d.Mark)
        for (auto &m : row) m = 5;
    d.CalcNaishinStats(0, 255);  // a class count above ten stays at ten
    EXPECT_EQ(d.MarkCount, 420);
    EXPECT_EQ(d.MarkBand[5], 420u);
    EXPECT_FLOAT_EQ(d.MarkMean, 5.0f);
}

}  // namespace
}  // namespace dorv
