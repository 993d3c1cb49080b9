// The proficiency-test form: five subjects, the teacher's column only in
// the save, a colleague's save kept, refusals, a double click on the form.
#include "soten_form_fixture.h"

#include "input/DorvInputJitsu.h"

#include "dialogs/DorvSelectJitsu.h"
#include "records_cells.h"
#include "schooldata/globals.h"
#include "schooldata/soten_data.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace dorv {
namespace {

using testing::CellMap;
using testing::Changes;
using testing::Opening;
using testing::ReaderCells;
using testing::SotenSchool;
using testing::Stamp;
using testing::TypeAndEnter;
using testing::WriteXls;
using testing::XlrdCells;

constexpr TTestId kProficiency{1, SotenSchool::kTest};

class JitsuForm : public ::testing::Test {
protected:
    void SetUp() override {
        school.setRoster({{1, "青木一郎", "男"}, {2, "井上花子", "女"}, {43, "加藤愛", "女"}});
        // Texts that load leniently sit in the rows the teacher changes.
        WriteXls(school.proficiency(), {{"Data",
                                         {{"A1", "番号"},
                                          {"A2", "101"},
                                          {"B2", "欠"},
                                          {"C2", "40"},
                                          {"D2", "72.5"},
                                          {"E2", "50"},
                                          {"F2", "61"},
                                          {"B3", "33"},
                                          {"E3", "20"},
                                          {"F3", "欠席"},
                                          {"E44", "10"}},
                                         {{"D2", "72.5"}}},
                                        {"Memo", {{"A1", "備考"}}}});
    }
    Opening open(const std::function<void()> &steps) { return testing::OpenForm(form, *school.selectJitsu, steps); }

    SotenSchool school;
    TfrmDorvInputJitsu form;
};

TEST_F(JitsuForm, SaveWritesOnlyHisColumnAndKeepsAColleaguesSave) {
    school.setTeacher(3);  // 理科
    CellMap readerBefore, xlrdBefore;
    const Opening o = open([&] {
        EXPECT_EQ(form.windowTitle(), "実力テストの素点の入力");
        EXPECT_EQ(form.lblTestName->text(), "2年  第２回実力テスト");
        EXPECT_EQ(form.sgrInput->colCount(), 8);
        EXPECT_EQ(form.sgrInput->cell(7, 0), "英語");
        EXPECT_EQ(form.sgrInput->col(), 6);
        EXPECT_EQ(form.sgrInput->cell(3, 1), "   0");  // "欠" as loaded
        EXPECT_EQ(form.sgrInput->cell(5, 1), "  72");  // "72.5" as loaded
        EXPECT_EQ(form.edtInput->text(), "50");
        TypeAndEnter(form, "73");
        TypeAndEnter(form, "64");
        form.sgrInput->setRow(43);
        TypeAndEnter(form, "0");

        // The 英語 teacher saves rows 1 and 43 of his column meanwhile.
        TSotenData colleague;
        colleague.LoadTest(kProficiency, 2);
        colleague.Score[1][4] = 95;
        colleague.Score[43][4] = 90;
        colleague.Modified[1] = colleague.Modified[43] = 1;
        colleague.SaveTestColumn(kProficiency, 2, 4);
        readerBefore = ReaderCells(school.proficiency());
        xlrdBefore = XlrdCells(school.proficiency());

        EXPECT_EQ(form.btnClose->text(), "終了");
        form.btnClose->click();
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_TRUE(o.opened);
    EXPECT_TRUE(school.boxes.errors.isEmpty()) << school.boxes.errors.join("|").toStdString();

    const CellMap mine = {{"Data!E2", "50 => 73"}, {"Data!E3", "20 => 64"}, {"Data!E44", "10 => 0"}};
    EXPECT_EQ(Changes(readerBefore, ReaderCells(school.proficiency())), mine);
    const CellMap xlrdAfter = XlrdCells(school.proficiency());
    EXPECT_EQ(Changes(xlrdBefore, xlrdAfter), mine);
    EXPECT_EQ(xlrdAfter.at("Data!F2"), "95");
    EXPECT_EQ(xlrdAfter.at("Data!F44"), "90");
    EXPECT_EQ(xlrdAfter.at("Data!B2"), "欠");
    EXPECT_EQ(xlrdAfter.at("Data!D2"), "72.5");
    EXPECT_EQ(xlrdAfter.at("Data!F3"), "欠席");
}

TEST_F(JitsuForm, AboveHundredAndNegativeAreRefusedAndTheFileStaysAsItWas) {
    school.setTeacher(0);  // 国語
    const auto before = Stamp(school.proficiency());
    const Opening o = open([&] {
        form.sgrInput->setRow(2);
        for (const char *typed : {"101", "-3"}) {
            SCOPED_TRACE(typed);
            TypeAndEnter(form, typed);
            EXPECT_EQ(form.sgrInput->row(), 2);
            EXPECT_EQ(form.sgrInput->cell(3, 2), "  33");
            EXPECT_EQ(CurSotenData->Score[2][0], 33);
            EXPECT_EQ(CurSotenData->Modified[2], 0);
        }
        EXPECT_EQ(school.boxes.beeps, 2);
        form.btnClose->click();
    });
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(Stamp(school.proficiency()).bytes, before.bytes);
}

TEST_F(JitsuForm, DoubleClickOnTheFormActsAsAClickOnTheGrid) {
    school.setTeacher(4);  // 英語
    const Opening o = open([&] {
        form.sgrInput->setRow(2);
        form.edtInput->setText("typed over");
        QTest::mouseDClick(&form, Qt::LeftButton, {}, QPoint(form.width() - 4, form.height() - 4));
        EXPECT_EQ(form.edtInput->text(), "0");  // "欠席" as loaded
        EXPECT_EQ(form.lblID->text(), " 102");
        form.btnNoSave->click();
    });
    EXPECT_TRUE(o.opened);
}

TEST_F(JitsuForm, SubjectsWithoutProficiencyTestsCannotOpenIt) {
    school.setTeacher(5);  // 音楽
    const Opening o = open([] {});
    EXPECT_FALSE(o.opened);
    EXPECT_EQ(school.boxes.errors, QStringList{"この教科の素点は入力できません."});
}

}  // namespace
}  // namespace dorv
