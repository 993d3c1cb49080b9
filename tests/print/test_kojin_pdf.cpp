// The individual result sheets of the sample school, printed through their
// form into PDF files: one page per student, charts included.
#include "one_sheet_cases.h"
#include "pdf_tools.h"
#include "sample_kojin_fixture.h"
#include "schooldata/access.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace dorv {
namespace {

class SampleIndividualSheets : public testing::SampleKojinTest {
protected:
    // 2年, 第１回実力テスト
    void SetUp() override { Open(QDate(2026, 11, 2), 2, {1, 1}); }
    int NamedStudents() const {
        int n = 0;
        for (int slot = 1; slot <= CurCalcTest->ClassCount * kStudentsPerClass; ++slot)
            n += !names_->Names[slot].empty();
        return n;
    }
};

TEST_F(SampleIndividualSheets, AllSheetsOnePortraitA4PagePerStudent) {
    ASSERT_GT(CurCalcTest->GradeCount[0], 0);
    form_->btnPrintOut->click();
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    EXPECT_TRUE(sandbox_->services.errors.isEmpty()) << sandbox_->services.errors.join("\n").toStdString();
    ASSERT_EQ(Pdfs().size(), 1);
    const QString pdf = Pdfs()[0];
    EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith("個人票_"));
    // One message for the whole grade, not one per sheet.
    EXPECT_EQ(sandbox_->services.messages,
              QStringList{"プリンタが見つからないため、ファイル " + pdf + " に保存しました"});
    EXPECT_TRUE(testing::PdfInfo(pdf).contains("595 x 842 pts (A4)"));
    EXPECT_EQ(testing::PdfPageCount(pdf), NamedStudents());
    const QString page1 = testing::PdfText(pdf, 1);
    const QString title = QString::fromStdString("令和08年度" + jitsu_.TestName[2][1] + "テスト個人結果");
    EXPECT_TRUE(page1.contains(title)) << page1.toStdString();
    for (const char *word : {"2年1組", "素点", "平均", "５計", "５平均", "※１９点以下はまとめてあります",
                             "ノルベ市立中学校学習指導部", "人数"})
        EXPECT_TRUE(page1.contains(word)) << word;
    const QString fonts = testing::PdfFonts(pdf);
    EXPECT_TRUE(testing::AllFontsEmbedded(fonts)) << fonts.toStdString();
    testing::KeepForLooking(pdf, "kojin-grade2-jitsu1.pdf");
}

TEST_F(SampleIndividualSheets, OneSheetChecksItsClassAndNumber) {
    const int freeNumber = testing::LastFreeNumberOfClass1(*names_);
    ASSERT_GT(freeNumber, 0);
    const std::string free = std::to_string(freeNumber);
    testing::ExpectOneSheetCases(*form_, *sandbox_,
                                 {
                                     {"3", "43", 1, 0, 0},
                                     {"0", "1", 2, 0, 0},
                                     {"257", "1", 3, 0, 0},
                                     {"a", "1", 3, 1, 0},
                                     {"1", free.c_str(), 4, 1, 0},  // a free slot: no job, but told
                                     {"1", "1", 5, 1, 1},           // and where the sheet went
                                 });
    EXPECT_EQ(sandbox_->services.messages.value(0), "組、番号が正しくありません");
    EXPECT_EQ(sandbox_->services.messages.value(3).toStdString(),
              "1組" + free + "番には生徒がいないため、印刷するものがありません");
    EXPECT_FALSE(wait_.isVisible());  // the busy window is gone after every path
    ASSERT_EQ(Pdfs().size(), 1);
    EXPECT_EQ(testing::PdfPageCount(Pdfs()[0]), 1);
    EXPECT_TRUE(testing::PdfText(Pdfs()[0], 1).contains("2年1組1番"));
}

}  // namespace
}  // namespace dorv
