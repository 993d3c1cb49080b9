// Ratings and viewpoints: the term and register workbooks, their load
// through the reader and the service, and the per-subject save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records_cells.h"
#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/settings.h"

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::ReaderCells;
using testing::SchoolFolder;
using testing::SheetSpec;
using testing::Stamp;
using testing::WriteXls;
using testing::XlrdCells;

// "Data" and the nine subject sheets in order, the given cells added.
std::vector<SheetSpec> RatingBook(
    std::vector<std::pair<std::string, std::string>> data,
    std::vector<std::pair<int, std::vector<std::pair<std::string, std::string>>>> subjects = {}) {
    std::vector<SheetSpec> book;
    data.insert(data.begin(), {{"A1", "番号"}, {"B1", "国語"}});
    book.push_back({"Data", data, {}});
    for (int j = 0; j < 9; ++j)
        book.push_back({std::string(KyokaSheetNames[j]), {{"A1", "番号"}, {"B1", "観点1"}}, {}});
    for (auto &[j, cells] : subjects)
        for (auto &c : cells) book[1 + j].texts.push_back(c);
    return book;
}

class Ratings : public ::testing::Test {
protected:
    void SetUp() override {
        SelectedGrade = 2;
        SelectedTerm = 3;
    }
    std::filesystem::path Term3() const { return school_.Grade(2, "３学期評定.xls"); }
    SchoolFolder school_;
};

TEST_F(Ratings, WorkbookOfTermOrRegister) {
    THyoteiData d;
    EXPECT_EQ(d.WorkbookPath(), Term3().string());
    d.IsYouroku = 1;
    EXPECT_EQ(d.WorkbookPath(), school_.Grade(2, "指導要録評定.xls").string());
    d.IsYouroku = 7;  // any value but 0 is the register, whatever the term
    SelectedTerm = 0;
    EXPECT_EQ(d.WorkbookPath(), school_.Grade(2, "指導要録評定.xls").string());
    d.IsYouroku = 0;
    EXPECT_EQ(d.WorkbookPath(), "");
    EXPECT_THROW(d.LoadHyotei(1), ExcelError);
}

TEST_F(Ratings, LoadsThroughTheReader) {
    auto book = RatingBook(
        {{"B2", "3"}, {"J2", "5"}, {"E6", "261"}, {"K2", "4"}, {"J422", "2"}, {"B101", "1"}},
        {{3, {{"B6", "B+"}, {"C6", "a"}, {"D6", "Ａ"}, {"G6", "C"}, {"H6", "A"}}}, {8, {{"B2", "A"}, {"B422", "B"}}}});
    book.push_back({"Extra", {{"B2", "1"}}, {{"B3", "A"}}});  // an eleventh sheet
    WriteXls(Term3(), book);
    const auto before = Stamp(Term3());

    THyoteiData d;
    d.Modified[9] = 1;
    d.Exists[9] = 1;
    d.LoadHyotei(2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);

    EXPECT_EQ(d.Hyotei[1][1].Rating, 3);
    EXPECT_EQ(d.Hyotei[1][9].Rating, 5);
    EXPECT_EQ(d.Hyotei[5][4].Rating, 255);  // 261 is no rating, not 5
    EXPECT_EQ(d.Hyotei[1][2].Rating, 255);
    EXPECT_EQ(d.Hyotei[100][1].Rating, 1);  // class 3, read whatever the count
    const THyoteiRec &rika = d.Hyotei[5][4];
    const uint8_t kanten[7] = {0, 'B', 'a', 255, 255, 255, 'C'};  // Ａ is double-byte: empty
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(rika.Kanten[i], kanten[i]) << "viewpoint " << i;
    EXPECT_EQ(d.Hyotei[1][9].Kanten[1], 'A');
    EXPECT_EQ(d.Hyotei[1][1].Kanten[1], 255);
    EXPECT_EQ(d.Modified[9], 0);
    EXPECT_EQ(d.Exists[9], 1);  // the load leaves it alone
    EXPECT_EQ(Stamp(Term3()), before);
}

TEST_F(Ratings, TextRatingSendsTheLoadToTheService) {
    // "三" stands in class 3, which the service does not read: the load
    // succeeds there and keeps the viewpoints.
    WriteXls(Term3(), RatingBook({{"C2", "4"}, {"B86", "三"}}, {{1, {{"B2", "A"}, {"C2", "b"}}}}));
    const auto before = Stamp(Term3());
    THyoteiData d;
    d.LoadHyotei(2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(d.Hyotei[1][2].Rating, 4);
    EXPECT_EQ(d.Hyotei[1][2].Kanten[1], 'A');
    EXPECT_EQ(d.Hyotei[1][2].Kanten[2], 'b');
    EXPECT_EQ(d.Hyotei[85][1].Rating, 255);
    EXPECT_EQ(Stamp(Term3()), before);
}

// What a load does with workbooks it cannot take: a clear message or a
// mended value, never a crash, and the file as it was.
TEST_F(Ratings, BadWorkbooks) {
    struct Case {
        const char *what;
        std::vector<SheetSpec> book;  // empty: no file
        uint8_t classCount;
        const char *message;  // "" = loads
        uint8_t rating;       // of slot 1, 国語, when it loads
    };
    std::vector<SheetSpec> noRika = RatingBook({{"B86", "三"}});  // read by the reader only
    noRika.erase(noRika.begin() + 4);
    const std::vector<Case> cases = {
        {"missing file", {}, 2, "が見つかりません", 0},
        {"3.5 in a class the service reads", RatingBook({{"B2", "3.5"}}), 2, "'3.5' は整数ではありません", 0},
        {"三", RatingBook({{"B3", "三"}}), 1, "'三' は整数ではありません", 0},
        {"no subject sheet on the service path", noRika, 1, "シート「Rika」がありません", 0},
        {"300 out of range", RatingBook({{"B2", "300"}}), 2, "", 255},
        {"class count 11", RatingBook({{"B2", "4"}}), 11, "", 4},
        {"class count 0 on the service path", RatingBook({{"B2", "三"}}), 0, "", 255},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Term3());
        if (!c.book.empty()) WriteXls(Term3(), c.book);
        const auto before = Stamp(Term3());
        THyoteiData d;
        d.Modified[2] = 1;
        if (*c.message) {
            try {
                d.LoadHyotei(c.classCount);
                ADD_FAILURE() << "loaded";
            } catch (const std::exception &e) {
                EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            }
            EXPECT_EQ(d.Modified[2], 1);  // a failed load leaves the flags
        } else {
            d.LoadHyotei(c.classCount);
            EXPECT_EQ(d.Hyotei[1][1].Rating, c.rating);
            EXPECT_EQ(d.Modified[2], 0);
        }
        EXPECT_EQ(Stamp(Term3()), before);
        EXPECT_FALSE(WorkbookOperationRunning());
    }
}

TEST_F(Ratings, SaveWritesItsColumnAndItsViewpointSheetOnly) {
    WriteXls(Term3(), RatingBook({{"E6", "2"}, {"E51", "3"}, {"D6", "4"}, {"E7", "5"}},
                                 {{3, {{"B6", "C"}, {"F6", "B"}, {"B51", "A"}}}, {2, {{"B6", "A"}}}}));
    THyoteiData d;
    d.LoadHyotei(2);
    const CellMap before = ReaderCells(Term3());

    THyoteiRec &s5 = d.Hyotei[5][4];  // 理科 of slot 5: rating 4, viewpoints A _ _ B _ C
    s5.Rating = 4;
    const uint8_t k5[7] = {0, 'A', 255, 255, 'B', 255, 'C'};
    for (int i = 1; i <= 6; ++i) s5.Kanten[i] = k5[i];
    d.Hyotei[50][4].Rating = 255;  // emptied
    d.Hyotei[50][4].Kanten[1] = 255;
    d.Hyotei[5][3].Rating = 1;  // 数学 of a flagged slot: not this save's
    d.Hyotei[6][4].Rating = 1;  // unflagged
    d.Hyotei[6][4].Kanten[1] = 'A';
    d.Hyotei[90][4].Rating = 5;  // class 3, beyond the count
    d.Hyotei[90][4].Kanten[1] = 'A';
    d.Hyotei[5][3].Kanten[1] = 'A';  // 数学's sheet
    for (int r : {5, 50, 90}) d.Modified[r] = 1;
    d.SaveHyoteiSubject(2, 3);

    EXPECT_EQ(Changes(before, ReaderCells(Term3())), (CellMap{{"Data!E6", "2 => 4"},
                                                              {"Data!E51", "3 => "},
                                                              {"Rika!B6", "C => A"},
                                                              {"Rika!E6", " => B"},
                                                              {"Rika!F6", "B => "},
                                                              {"Rika!G6", " => C"},
                                                              {"Rika!B51", "A => "}}));
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(d.Modified[r], 0) << r;

    // A save with nothing flagged changes no cell; a subject beyond 技家
    // has no column and no sheet.
    const CellMap after = ReaderCells(Term3());
    d.SaveHyoteiSubject(2, 3);
    d.Modified[5] = 1;
    d.SaveHyoteiSubject(2, 9);
    EXPECT_EQ(ReaderCells(Term3()), after);

    // A class count above ten reaches the last slot and no further.
    d.Hyotei[420][4].Rating = 2;
    d.Modified[420] = 1;
    d.SaveHyoteiSubject(255, 3);
    EXPECT_EQ(Changes(after, ReaderCells(Term3())), (CellMap{{"Data!E421", " => 2"}}));
}

TEST_F(Ratings, TwoSubjectSavesIntoOneWorkbookKeepBoth) {
    SelectedTerm = 1;
    const auto path = school_.Grade(2, "１学期評定.xls");
    WriteXls(path, RatingBook({}));
    THyoteiData sugaku, gika;
    sugaku.LoadHyotei(3);
    gika.LoadHyotei(3);
    for (int r : {1, 42, 126}) {
        sugaku.Hyotei[r][3].Rating = static_cast<uint8_t>(1 + r % 5);
        sugaku.Hyotei[r][3].Kanten[1] = 'A';
        sugaku.Hyotei[r][3].Kanten[4] = 'C';
        sugaku.Modified[r] = 1;
        gika.Hyotei[r][9].Rating = static_cast<uint8_t>(5 - r % 5);
        gika.Hyotei[r][9].Kanten[2] = 'B';
        gika.Modified[r] = 1;
    }
    sugaku.SaveHyoteiSubject(3, 2);
    gika.SaveHyoteiSubject(3, 8);

    THyoteiData back;
    back.LoadHyotei(3);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    const CellMap xlrd = XlrdCells(path);
    for (int r : {1, 42, 126}) {
        const std::string row = std::to_string(r + 1);
        EXPECT_EQ(back.Hyotei[r][3].Rating, 1 + r % 5);
        EXPECT_EQ(back.Hyotei[r][3].Kanten[1], 'A');
        EXPECT_EQ(back.Hyotei[r][3].Kanten[4], 'C');
        EXPECT_EQ(back.Hyotei[r][9].Rating, 5 - r % 5);
        EXPECT_EQ(back.Hyotei[r][9].Kanten[2], 'B');
        EXPECT_EQ(xlrd.at("Data!D" + row), std::to_string(1 + r % 5));
        EXPECT_EQ(xlrd.at("Data!J" + row), std::to_string(5 - r % 5));
        EXPECT_EQ(xlrd.at("Sugaku!B" + row), "A");
        EXPECT_EQ(xlrd.at("Sugaku!E" + row), "C");
        EXPECT_EQ(xlrd.at("Gika!C" + row), "B");
        EXPECT_EQ(xlrd.count("Gika!B" + row), 0u);  // written blank
    }
}

}  // namespace
}  // namespace dorv
