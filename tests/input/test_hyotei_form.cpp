// The term-rating and school-register forms driven as a teacher drives
// them on a small school: what the grids show, what Enter stores, the red
// rule as painted, what the save writes (read back through our reader and
// python3-xlrd), two teachers one after the other, and the failures of
// opening and saving.
#include "hyotei_form_fixture.h"

#include "modal.h"

#include "input/DorvInputHyotei.h"
#include "input/DorvInputYouroku.h"

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "records_cells.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::FileStamp;
using testing::Opening;
using testing::RatingSchool;
using testing::ReaderCells;
using testing::Stamp;
using testing::XlrdCells;

CellMap Filled(const CellMap &cells) {
    CellMap out;
    for (const auto &[k, v] : cells)
        if (!v.empty()) out[k] = v;
    return out;
}

// 数学 has four viewpoints, 国語 five, 技家 three, 理科 none; the register
// workbook gives 数学 two.
class RatingForms : public ::testing::Test {
protected:
    void SetUp() override {
        school.setKanten(TKantenData::kTermWorkbook,
                         {{0, {"関心", "話す", "書く", "読む", "言語"}},
                          {2, {"関心・意欲・態度", "数学的な考え方", "表現・処理", "知識・理解"}},
                          {8, {"関心", "工夫", "技能"}}});
        school.setKanten(TKantenData::kRegisterWorkbook, {{2, {"考え方", "知識"}}});
        school.writeRatings(school.term(), {{"Data!B2", "4"},
                                            {"Kokugo!B2", "A"},
                                            {"Kokugo!C2", "B"},
                                            {"Data!D3", "3"},
                                            {"Sugaku!B3", "B"},
                                            {"Sugaku!C3", "B"},
                                            {"Sugaku!D3", "B"},
                                            {"Sugaku!E3", "X"},
                                            {"Data!J2", "2"},
                                            {"Gika!B2", "C"},
                                            {"Data!E2", "5"},
                                            {"Rika!B2", "A"}});
        school.writeRatings(school.youroku(), {{"Data!D2", "4"}, {"Sugaku!B2", "A"}});
    }

    Opening open(const std::function<void()> &steps) {
        return testing::OpenWith(
            term, *school.selectHyotei, [&] { testing::ChooseTerm(*school.selectHyotei); }, steps);
    }
    Opening openRegister(const std::function<void()> &steps) {
        return testing::OpenWith(
            reg, *school.selectGakunen, [&] { testing::ChooseGrade(*school.selectGakunen); }, steps);
    }
    void type(TfrmDorvInputHyoteiForm &f, const QString &text) { testing::TypeAndEnter(*f.edtInput, text); }
    QStringList row(TfrmDorvInputHyoteiForm &f, int r) const {
        QStringList cells;
        for (int c = 3; c < f.sgrInput->colCount(); ++c) cells << f.sgrInput->cell(c, r);
        return cells;
    }

    RatingSchool school;
    TfrmDorvInputHyotei term;
    TfrmDorvInputYouroku reg;
};

TEST_F(RatingForms, GridsShowTheSubjectsRatingsViewpointsAndLabels) {
    const Opening o = open([&] {
        StringGrid &g = *term.sgrInput;
        EXPECT_EQ(term.windowTitle(), "Dorv成績処理－評定の入力－");
        EXPECT_EQ(term.lblTitle->text(), "2年  ２学期評定　数学");
        EXPECT_EQ(term.kantenCount(), 4);
        EXPECT_EQ(g.rowCount(), 85);
        EXPECT_EQ(g.colCount(), 8);
        const QStringList headings = {"番号", "名前", "性別", "評定", "観①", "観②", "観③", "観④"};
        for (int c = 0; c < g.colCount(); ++c) EXPECT_EQ(g.cell(c, 0), headings[c]);
        EXPECT_EQ(g.cell(0, 1), "101");
        EXPECT_EQ(g.cell(1, 1), "青木一郎");
        EXPECT_EQ(g.cell(2, 1), "男子");
        EXPECT_EQ(g.cell(2, 2), "女子");
        EXPECT_EQ(g.cell(0, 84), "242");
        // A mark other than A, B or C reads as an empty cell.
        EXPECT_EQ(row(term, 2), (QStringList{"3", "B", "B", "B", ""}));
        EXPECT_EQ(row(term, 1), (QStringList{"", "", "", "", ""}));
        StringGrid &side = *term.sgrKantenKoumoku;
        EXPECT_EQ(side.rowCount(), 5);
        EXPECT_EQ(side.cell(0, 0), "番号");
        EXPECT_EQ(side.cell(1, 0), "観点項目");
        EXPECT_EQ(side.cell(0, 3), "観③");
        EXPECT_EQ(side.cell(1, 2), "数学的な考え方");
        EXPECT_EQ(term.lblID->text(), "101");
        EXPECT_EQ(term.lblName->text(), "青木一郎");
        EXPECT_EQ(term.lblKyoka->text(), "評定");
        EXPECT_EQ(term.lblSetumei1->text(), "評定と観点をまとめて入力してください");

        // Moving right follows the viewpoints, with their hints and labels.
        QTest::keyClick(term.edtInput, Qt::Key_Right);
        QTest::keyClick(term.edtInput, Qt::Key_Down);
        EXPECT_EQ(g.col(), 4);
        EXPECT_EQ(term.lblKyoka->text(), "観①");
        EXPECT_EQ(term.edtInput->text(), "B");
        EXPECT_EQ(term.lblSetumei1->text(), "観点をまとめて、または１つ入力してください");
        EXPECT_EQ(side.row(), 1);
        for (int i = 0; i < 5; ++i) QTest::keyClick(term.edtInput, Qt::Key_Right);
        EXPECT_EQ(g.col(), 7);  // stops at 観④
        EXPECT_EQ(side.row(), 4);
        EXPECT_EQ(term.lblSetumei2->text(), "例：　B  (b でもかまいません)");
        EXPECT_EQ(term.lblSetumei3->text(), "");
        for (int i = 0; i < 6; ++i) QTest::keyClick(term.edtInput, Qt::Key_Left);
        EXPECT_EQ(g.col(), 3);
        QTest::keyClick(term.edtInput, Qt::Key_Up);
        QTest::keyClick(term.edtInput, Qt::Key_Up);
        EXPECT_EQ(g.row(), 1);
    });
    ASSERT_TRUE(o.opened);
}

TEST_F(RatingForms, EntriesAreStoredShownInRedWhenTheyDisagreeAndSavedToTheSubjectOnly) {
    const CellMap before = Filled(XlrdCells(school.term()));
    struct Entry {
        int row;
        const char *typed;
        QStringList shown;
        bool red;
    } entries[] = {
        {1, "5AABA", {"5", "A", "A", "B", "A"}, false}, {2, "5abba", {"5", "A", "B", "B", "A"}, true},
        {4, "3AAAA", {"3", "A", "A", "A", "A"}, true},  {5, "3cccc", {"3", "C", "C", "C", "C"}, true},
        {6, "3BBBB", {"3", "B", "B", "B", "B"}, false},
    };
    const Opening o = open([&] {
        StringGrid &g = *term.sgrInput;
        for (const Entry &e : entries) {
            g.setCurrentCell(3, e.row);
            type(term, e.typed);
        }
        g.setCurrentCell(3, 3);  // no student in slot 3
        type(term, "4AAAA");
        EXPECT_EQ(row(term, 3), (QStringList{"", "", "", "", ""}));
        EXPECT_EQ(CurHyoteiData->Modified[3], 0);
        EXPECT_EQ(g.row(), 4);
        EXPECT_EQ(term.edtInput->text(), "3");  // the first character of the next cell

        g.setCurrentCell(4, 44);
        type(term, "BA");  // from 観① whatever the column
        EXPECT_EQ(row(term, 44), (QStringList{"", "B", "A", "", ""}));
        g.setCurrentCell(3, 10);  // away, so no row of theirs is selected
        g.setTopRow(1);
        for (const Entry &e : entries) {
            SCOPED_TRACE(e.typed);
            EXPECT_EQ(row(term, e.row), e.shown);
            EXPECT_EQ(CurHyoteiData->Modified[e.row], 1);
            EXPECT_EQ(testing::RedPixels(g, 3, e.row) > 0, e.red);
            EXPECT_EQ(testing::RedPixels(g, 5, e.row) > 0, e.red);
        }
        EXPECT_EQ(CurHyoteiData->Hyotei[2][3].Rating, 5);
        EXPECT_EQ(CurHyoteiData->Hyotei[2][3].Kanten[2], 'B');
        term.btnClose->click();
        EXPECT_FALSE(term.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_FALSE(frmWait->isVisible());
    EXPECT_EQ(CurHyoteiData, nullptr);
    EXPECT_EQ(CurKantenData, nullptr);

    const CellMap afterMath = Filled(XlrdCells(school.term()));
    const CellMap expected = {
        {"Data!D2", " => 5"},    {"Sugaku!B2", " => A"}, {"Sugaku!C2", " => A"},  {"Sugaku!D2", " => B"},
        {"Sugaku!E2", " => A"},  {"Data!D3", "3 => 5"},  {"Sugaku!B3", "B => A"}, {"Sugaku!E3", "X => A"},
        {"Data!D5", " => 3"},    {"Sugaku!B5", " => A"}, {"Sugaku!C5", " => A"},  {"Sugaku!D5", " => A"},
        {"Sugaku!E5", " => A"},  {"Data!D6", " => 3"},   {"Sugaku!B6", " => C"},  {"Sugaku!C6", " => C"},
        {"Sugaku!D6", " => C"},  {"Sugaku!E6", " => C"}, {"Data!D7", " => 3"},    {"Sugaku!B7", " => B"},
        {"Sugaku!C7", " => B"},  {"Sugaku!D7", " => B"}, {"Sugaku!E7", " => B"},  {"Sugaku!B45", " => B"},
        {"Sugaku!C45", " => A"},
    };
    EXPECT_EQ(Changes(before, afterMath), expected);
    EXPECT_EQ(Filled(ReaderCells(school.term())), afterMath);

    // A colleague of 国語 saves into the same workbook afterwards.
    school.setTeacher(0);
    const Opening o2 = open([&] {
        EXPECT_EQ(term.kantenCount(), 5);
        EXPECT_EQ(row(term, 1), (QStringList{"4", "A", "B", "", "", ""}));
        term.sgrInput->setCurrentCell(3, 1);
        type(term, "2CCCBB");
        term.btnClose->click();
    });
    ASSERT_TRUE(o2.opened);
    const CellMap afterBoth = Filled(XlrdCells(school.term()));
    const CellMap expected2 = {{"Data!B2", "4 => 2"},  {"Kokugo!B2", "A => C"}, {"Kokugo!C2", "B => C"},
                               {"Kokugo!D2", " => C"}, {"Kokugo!E2", " => B"},  {"Kokugo!F2", " => B"}};
    EXPECT_EQ(Changes(afterMath, afterBoth), expected2);
    EXPECT_EQ(Filled(ReaderCells(school.term())), afterBoth);
}

TEST_F(RatingForms, TechnologyTeachersRateTechAndHomeTogether) {
    for (int kyoka : {9, 10}) {
        SCOPED_TRACE(kyoka);
        school.setTeacher(kyoka);
        const CellMap before = Filled(XlrdCells(school.term()));
        const Opening o = open([&] {
            EXPECT_EQ(term.lblTitle->text(), "2年  ２学期評定　技家");
            EXPECT_EQ(term.kantenCount(), 3);
            const QStringList shown = kyoka == 9 ? QStringList{"2", "C", "", ""} : QStringList{"4", "A", "B", "A"};
            EXPECT_EQ(row(term, 1), shown);
            term.sgrInput->setCurrentCell(3, 1);
            type(term, kyoka == 9 ? "4ABA" : "5AAA");
            term.btnClose->click();
        });
        ASSERT_TRUE(o.opened);
        const std::string r = kyoka == 9 ? "4" : "5";
        const std::string was = kyoka == 9 ? "2" : "4";
        const std::string mark = kyoka == 9 ? "B" : "A";
        const CellMap expected = {{"Data!J2", was + " => " + r},
                                  {"Gika!B2", (kyoka == 9 ? "C" : "A") + std::string(" => A")},
                                  {"Gika!C2", (kyoka == 9 ? "" : "B") + std::string(" => ") + mark},
                                  {"Gika!D2", (kyoka == 9 ? "" : "A") + std::string(" => A")}};
        CellMap changes = Changes(before, Filled(XlrdCells(school.term())));
        for (auto it = changes.begin(); it != changes.end();) {
            // An unchanged value written again is no change.
            const auto arrow = it->second.find(" => ");
            if (it->second.substr(0, arrow) == it->second.substr(arrow + 4)) it = changes.erase(it);
            else ++it;
        }
        CellMap wanted;
        for (const auto &[k, v] : expected) {
            const auto arrow = v.find(" => ");
            if (v.substr(0, arrow) != v.substr(arrow + 4)) wanted[k] = v;
        }
        EXPECT_EQ(changes, wanted);
    }
}

TEST_F(RatingForms, ARatingThatIsNoNumberStoresNothingAndRefusedValuesStay) {
    const Opening o = open([&] {
        StringGrid &g = *term.sgrInput;
        g.setCurrentCell(3, 2);
        type(term, "XAAAA");
        ASSERT_EQ(school.boxes.errors.size(), 1);
        EXPECT_EQ(school.boxes.errors[0], "'X' は整数ではありません.");
        EXPECT_EQ(g.row(), 2);
        EXPECT_EQ(row(term, 2), (QStringList{"3", "B", "B", "B", ""}));
        EXPECT_EQ(CurHyoteiData->Hyotei[2][3].Rating, 3);
        EXPECT_EQ(CurHyoteiData->Hyotei[2][3].Kanten[1], 'B');
        EXPECT_EQ(CurHyoteiData->Modified[2], 0);

        // A rating out of range and a letter that is no mark are refused
        // quietly: the stored values stay and show again.
        type(term, "7XDAA");
        EXPECT_EQ(g.row(), 3);
        EXPECT_EQ(row(term, 2), (QStringList{"3", "B", "B", "A", "A"}));
        EXPECT_EQ(school.boxes.errors.size(), 1);
        EXPECT_EQ(school.boxes.beeps, 0);
        term.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap cells = Filled(XlrdCells(school.term()));
    EXPECT_EQ(cells.at("Data!D3"), "3");
    EXPECT_EQ(cells.at("Sugaku!C3"), "B");
    EXPECT_EQ(cells.at("Sugaku!E3"), "A");
}

TEST_F(RatingForms, ASubjectWithoutViewpointsTakesRatingsOnly) {
    school.setTeacher(3);  // 理科
    const Opening o = open([&] {
        StringGrid &g = *term.sgrInput;
        EXPECT_EQ(term.kantenCount(), 0);
        EXPECT_EQ(g.colCount(), 4);
        EXPECT_EQ(term.sgrKantenKoumoku->rowCount(), 1);
        g.setCurrentCell(3, 1);
        EXPECT_EQ(g.cell(3, 1), "5");
        QTest::keyClick(term.edtInput, Qt::Key_Right);
        EXPECT_EQ(g.col(), 3);
        type(term, "1AAA");
        EXPECT_EQ(g.cell(3, 1), "1");
        EXPECT_EQ(testing::RedPixels(g, 3, 1), 0);
        EXPECT_EQ(CurHyoteiData->Hyotei[1][4].Kanten[1], 'A');  // as loaded
        EXPECT_EQ(CurHyoteiData->Hyotei[1][4].Kanten[2], 255);
        term.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap cells = Filled(XlrdCells(school.term()));
    EXPECT_EQ(cells.at("Data!E2"), "1");
    EXPECT_EQ(cells.at("Rika!B2"), "A");
    EXPECT_EQ(cells.count("Rika!C2"), 0u);
}

TEST_F(RatingForms, EachOpeningNamesTheStudentTheNextEntryGoesTo) {
    const Opening first = open([&] {
        term.sgrInput->setCurrentCell(7, 80);
        EXPECT_EQ(term.lblID->text(), "238");
    });
    ASSERT_TRUE(first.opened);
    // One class fewer, and a subject with fewer viewpoints.
    school.setClassCounts(3, 1, 1);
    school.setTeacher(8);
    const Opening second = open([&] {
        StringGrid &g = *term.sgrInput;
        EXPECT_EQ(g.row(), 42);
        EXPECT_EQ(g.col(), 6);
        EXPECT_EQ(term.lblID->text(), "142");
        EXPECT_EQ(term.lblKyoka->text(), "観③");
        EXPECT_EQ(term.lblSetumei1->text(), "観点を１つ入力してください");
    });
    ASSERT_TRUE(second.opened);
}

TEST_F(RatingForms, TheRegisterFormUsesTheRegisterWorkbooksAndKeepsZero) {
    const FileStamp termBook = Stamp(school.term());
    const Opening o = openRegister([&] {
        StringGrid &g = *reg.sgrInput;
        EXPECT_EQ(reg.windowTitle(), "frmDorvInputYouroku");
        EXPECT_EQ(reg.lblTitle->text(), "2年  指導要録　数学");
        EXPECT_EQ(g.objectName(), "sgrInputYouroku");
        EXPECT_EQ(reg.kantenCount(), 2);
        EXPECT_EQ(row(reg, 1), (QStringList{"4", "A", ""}));
        g.setCurrentCell(3, 1);
        type(reg, "0BC");
        EXPECT_EQ(row(reg, 1), (QStringList{"0", "B", "C"}));
        type(reg, "0");
        EXPECT_EQ(row(reg, 2), (QStringList{"0", "", ""}));
        reg.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    const CellMap cells = Filled(XlrdCells(school.youroku()));
    EXPECT_EQ(cells.at("Data!D2"), "0");
    EXPECT_EQ(cells.at("Sugaku!B2"), "B");
    EXPECT_EQ(cells.at("Sugaku!C2"), "C");
    EXPECT_EQ(cells.at("Data!D3"), "0");
    EXPECT_EQ(Stamp(school.term()), termBook);

    // The term form drops a 0 typed with marks, keeps one typed alone.
    const Opening t = open([&] {
        term.sgrInput->setCurrentCell(3, 1);
        type(term, "0BCAA");
        EXPECT_EQ(row(term, 1), (QStringList{"", "B", "C", "A", "A"}));
        type(term, "0");
        EXPECT_EQ(row(term, 2), (QStringList{"0", "B", "B", "B", ""}));
    });
    ASSERT_TRUE(t.opened);
}

TEST_F(RatingForms, PhysEdRowsAreTintedAndEveryFifthStudentUnderlined) {
    struct Case {
        int kyoka;
        QColor boys, girls;
    } cases[] = {{7, QColor(224, 224, 255), QColor(255, 224, 224)}, {2, Qt::white, Qt::white}};
    school.setKanten(TKantenData::kTermWorkbook, {{7, {"技能"}}, {2, {"関心"}}});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kyoka);
        school.setTeacher(c.kyoka);
        const Opening o = open([&] {
            StringGrid &g = *term.sgrInput;
            g.setCurrentCell(3, 6);
            EXPECT_EQ(testing::GridPixel(g, 4, 1, 20, 8), c.boys);
            EXPECT_EQ(testing::GridPixel(g, 4, 2, 20, 8), c.girls);
            const QRect five = g.cellRect(4, 5);
            EXPECT_EQ(testing::GridPixel(g, 4, 5, 10, five.height()), QColor(Qt::black));
            EXPECT_NE(testing::GridPixel(g, 4, 4, 10, five.height()), QColor(Qt::black));
        });
        ASSERT_TRUE(o.opened);
    }
}

TEST_F(RatingForms, LeavingWithoutSavingAndFailuresKeepTheWorkbook) {
    const FileStamp untouched = Stamp(school.term());
    const Opening o = open([&] {
        type(term, "5AAAA");
        QTest::keyClick(term.edtInput, Qt::Key_Escape);
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(Stamp(school.term()), untouched);

    // The window manager's close is ignored; the dialog closed without a
    // choice cancels the opening quietly.
    const Opening shut = open([&] {
        testing::WindowManagerClose(term);
        EXPECT_TRUE(term.isVisible());
    });
    EXPECT_TRUE(shut.opened);
    const Opening cancelled = testing::OpenWith(
        term, *school.selectHyotei, [&] { school.selectHyotei->done(0); }, [] {});
    EXPECT_FALSE(cancelled.opened);
    EXPECT_TRUE(school.boxes.errors.isEmpty());

    struct Case {
        const char *what;
        std::function<void()> spoil;
        QString error;
    } cases[] = {
        {"no classes", [&] { school.setClassCounts(3, 0, 1); },
         "2年の学級数が 0 です。KurasuSu.xls に 1 から 10 までの学級数を入れてください."},
        {"no rating workbook", [&] { std::filesystem::remove(school.term()); }, ""},
        {"no subject", [&] { school.setTeacher(11); }, "この教科の評定は入力できません."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        school.boxes.errors.clear();
        testing::ExpectRefusedOpening(open([] {}), term, school.boxes, c.error);
        EXPECT_EQ(CurHyoteiData, nullptr);
        EXPECT_EQ(CurNameData, nullptr);
        school.setClassCounts(3, 2, 1);
        school.setTeacher(2);
    }
}

TEST_F(RatingForms, AFailedSaveKeepsTheFormAndItsEntries) {
    const Opening o = open([&] {
        term.sgrInput->setCurrentCell(3, 1);
        type(term, "4ABBA");
        const std::filesystem::path held = school.term().string() + ".away";
        std::filesystem::rename(school.term(), held);
        term.btnClose->click();
        EXPECT_TRUE(term.isVisible());
        EXPECT_EQ(school.boxes.errors.size(), 1);
        EXPECT_FALSE(frmWait->isVisible());
        ASSERT_NE(CurHyoteiData, nullptr);
        EXPECT_EQ(CurHyoteiData->Modified[1], 1);
        std::filesystem::rename(held, school.term());
        term.btnClose->click();
        EXPECT_FALSE(term.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(Filled(XlrdCells(school.term())).at("Data!D2"), "4");
}

}  // namespace
}  // namespace dorv

namespace dorv {
namespace {

// The sample school's grade 2, term 2, as the 数学 teacher sees and saves it.
TEST(RatingFormOnTheSampleSchool, OneEntryChangesOnlyItsCells) {
    RatingSchool school;
    const char *bin = std::getenv("DORV_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const std::string command =
        "'" + std::string(bin) + "/dorv-sample-school' '" + school.folder.Root().string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const CellMap before = XlrdCells(school.term());
    TfrmDorvInputHyotei term;
    const Opening o = testing::OpenWith(
        term, *school.selectHyotei, [&] { testing::ChooseTerm(*school.selectHyotei); },
        [&] {
            StringGrid &g = *term.sgrInput;
            EXPECT_EQ(g.rowCount(), 3 * 42 + 1);
            EXPECT_EQ(term.kantenCount(), 4);
            EXPECT_EQ(term.sgrKantenKoumoku->cell(1, 2), "数学的な見方や考え方");
            QStringList shown;
            for (int c = 3; c < 8; ++c) shown << g.cell(c, 1);
            EXPECT_EQ(shown, (QStringList{"4", "B", "B", "A", "A"}));
            g.setCurrentCell(3, 1);
            testing::TypeAndEnter(*term.edtInput, "5aaaa");
            term.btnClose->click();
        });
    ASSERT_TRUE(o.opened);
    const CellMap after = XlrdCells(school.term());
    EXPECT_EQ(Changes(before, after),
              (CellMap{{"Data!D2", "4 => 5"}, {"Sugaku!B2", "B => A"}, {"Sugaku!C2", "B => A"}}));
    EXPECT_EQ(Filled(ReaderCells(school.term())), Filled(after));
}

}  // namespace
}  // namespace dorv
