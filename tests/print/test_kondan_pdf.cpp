// The parent-conference sheets of the sample school, printed through their
// form into PDF files and looked at with poppler's tools; the single-sheet
// checks and a failed load.
#include "one_sheet_cases.h"
#include "pdf_tools.h"
#include "sample_kondan_fixture.h"
#include "schooldata/access.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <string>

namespace dorv {
namespace {

class SampleConferenceSheets : public testing::SampleKondanTest {
protected:
    void SetUp() override { Open(QDate(2026, 6, 15), 1, {0, 3}); }
    void ExpectSelectionUnchanged() const {
        EXPECT_EQ(SelectedTerm, 1);
        EXPECT_EQ(SelectedTest, 3);
        EXPECT_EQ(TestId.TestKind, 0);
        EXPECT_EQ(TestId.TestNo, 3);
    }
    int NamedStudents() const {
        int n = 0;
        for (int slot = 1; slot <= ClassCountOfGrade * kStudentsPerClass; ++slot) n += !names_->Names[slot].empty();
        return n;
    }
};

TEST_F(SampleConferenceSheets, AllSheetsOnePortraitA4PagePerStudent) {
    form_->LoadDataSet();
    ExpectSelectionUnchanged();
    ASSERT_TRUE(form_->HasDataSet());
    form_->btnPrintOut->click();
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    ASSERT_EQ(Pdfs().size(), 1);
    const QString pdf = Pdfs()[0];
    EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith("懇談資料_"));
    const QString info = testing::PdfInfo(pdf);
    EXPECT_TRUE(info.contains("595 x 842 pts (A4)")) << info.toStdString();
    ASSERT_GT(NamedStudents(), 0);
    EXPECT_EQ(testing::PdfPageCount(pdf), NamedStudents());

    const QString page1 = testing::PdfText(pdf, 1);
    for (const char *word :
         {"令和08年度１学期懇談資料", "ノルベ市立中学校", "国語", "英語", "技家", "５計", "５平均", "素点", "平均"})
        EXPECT_TRUE(page1.contains(word)) << word << "\n" << page1.toStdString();
    EXPECT_TRUE(page1.contains(QString::fromStdString(teiki_.TestName[1][1])));
    EXPECT_TRUE(page1.contains(QString::fromStdString(kanten_->Koumoku[0][0]).left(4)));
    const QString fonts = testing::PdfFonts(pdf);
    EXPECT_TRUE(fonts.contains("IPAPGothic") && fonts.contains("IPAGothic")) << fonts.toStdString();
    EXPECT_TRUE(testing::AllFontsEmbedded(fonts)) << fonts.toStdString();
    EXPECT_TRUE(sandbox_->services.errors.isEmpty()) << sandbox_->services.errors.join("\n").toStdString();
    // One message for the whole print, not one per sheet.
    EXPECT_EQ(sandbox_->services.messages,
              QStringList{"プリンタが見つからないため、ファイル " + pdf + " に保存しました"});
    testing::KeepForLooking(pdf, "kondan-grade1-term1.pdf");
}

TEST_F(SampleConferenceSheets, OneSheetChecksItsClassAndNumber) {
    form_->LoadDataSet();
    const std::string free = std::to_string(testing::LastFreeNumberOfClass1(*names_));
    testing::ExpectOneSheetCases(*form_, *sandbox_,
                                 {
                                     {"1", "43", 1, 0, 0},
                                     {"0", "1", 2, 0, 0},
                                     {"99", "1", 3, 0, 0},
                                     {"x", "1", 3, 1, 0},           // not a whole number: the conversion error
                                     {"1", free.c_str(), 4, 1, 0},  // a free slot: no job, but told
                                     {"1", "1", 5, 1, 1},           // and where the sheet went
                                 });
    EXPECT_EQ(sandbox_->services.messages.value(0), "組、番号が正しくありません");
    EXPECT_EQ(sandbox_->services.messages.value(3).toStdString(),
              "1組" + free + "番には生徒がいないため、印刷するものがありません");
    ASSERT_FALSE(sandbox_->services.errors.isEmpty());
    EXPECT_EQ(sandbox_->services.errors[0], "'x' は整数ではありません.");
    ASSERT_EQ(Pdfs().size(), 1);
    EXPECT_EQ(testing::PdfPageCount(Pdfs()[0]), 1);
    EXPECT_TRUE(testing::PdfText(Pdfs()[0], 1).contains("1年1組1番"));
    EXPECT_NE(form_->result(), QDialog::Accepted);  // the form stays open for the next sheet
}

TEST_F(SampleConferenceSheets, AFailedLoadKeepsTheSelectionAndPrintsNothing) {
    teiki_.LoadTestNames();
    const auto grade1 = std::filesystem::path(sandbox_->GradeFolder(1).toStdString());
    std::filesystem::remove(grade1 / (teiki_.TestName[1][2] + ".xls"));
    EXPECT_ANY_THROW(form_->LoadDataSet());
    EXPECT_FALSE(form_->HasDataSet());
    ExpectSelectionUnchanged();
    form_->btnPrintOut->click();
    EXPECT_TRUE(Pdfs().isEmpty());
}

}  // namespace
}  // namespace dorv
