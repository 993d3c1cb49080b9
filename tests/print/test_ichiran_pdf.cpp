// The class result list of the sample school, printed end to end through
// its form into PDF files (there is no printer here), and looked at with
// poppler's tools.
#include "print/forms/DorvPrintIchiran.h"

#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "workbook/cp932.h"

#include "no_printer.h"
#include "pdf_tools.h"
#include "print_test_support.h"
#include "sample_print_sandbox.h"
#include "statistics_globals.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>

namespace dorv {
namespace {

using testing::BinDir;

class SampleClassList : public ::testing::Test, protected testing::StatisticsGlobals {
protected:
    static void SetUpTestSuite() {
        drive_ = new QTemporaryDir();
        const std::string command =
            BinDir().toStdString() + "/dorv-sample-school '" + drive_->path().toStdString() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() {
        delete drive_;
        drive_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(home_.Ready());
        WorkDrive = drive_->path().toStdString();
        SchoolName = "ノルベ市立中学校";
        teiki_.LoadTestNames();
        jitsu_.LoadTestNames();
        form_ = std::make_unique<TfrmPrintIchiran>();
    }
    void Select(int grade, int test, int kind) {
        SelectedGrade = static_cast<std::uint8_t>(grade);
        SelectedTest = static_cast<std::uint8_t>(test);
        TestId = {static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(test)};
        CurNameData->Grade = SelectedGrade;
        CurCalcTest->Calculate();
    }

    // The family name of a slot (up to its first blank), as pdftotext shows it.
    static QString FamilyName(const TNameData &names, int slot) {
        const std::string name = names.Names[slot];
        return QString::fromStdString(name.substr(0, name.find("　")));
    }

    static inline QTemporaryDir *drive_ = nullptr;
    testing::NoPrinterScope noPrinter_;
    testing::PdfHome home_;
    testing::RecordingServices services_{QDate(2026, 6, 15)};
    std::unique_ptr<TfrmPrintIchiran> form_;
};

TEST_F(SampleClassList, EveryClassOnALandscapeA4PageWithItsTextsInAnEmbeddedIpaFont) {
    struct Case {
        int grade, test, kind;
        QStringList headings;  // of the right-hand part
    };
    const Case cases[] = {
        {1, 1, 0, {"音楽", "美術", "保体", "技家"}},
        {3, 1, 1, {"三科計", "三平均", "校内席次", "男女別"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "grade " << c.grade << " test " << c.test << " kind " << c.kind);
        Select(c.grade, c.test, c.kind);
        ASSERT_GT(CurCalcTest->ClassCount, 0);
        ASSERT_GT(CurCalcTest->GradeCount[0], 0);
        const QString pdf = form_->PrintList();
        ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
        EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith("成績一覧表_"));

        const QString info = testing::PdfInfo(pdf);
        EXPECT_TRUE(info.contains("842 x 595 pts (A4)")) << info.toStdString();
        EXPECT_EQ(testing::PdfPageCount(pdf), CurCalcTest->ClassCount);

        const std::string testName = (c.kind == 0 ? teiki_.TestName : jitsu_.TestName)[c.grade][c.test];
        for (int page = 1; page <= CurCalcTest->ClassCount; ++page) {
            const QString text = testing::PdfText(pdf, page);
            const QString title = QString::fromStdString("成績一覧表 (" + std::to_string(c.grade) + "年" +
                                                         std::to_string(page) + "組 " + testName + "テスト)");
            EXPECT_TRUE(text.contains(title)) << title.toStdString() << "\n" << text.toStdString();
            EXPECT_TRUE(text.contains("ノルベ市立中学校"));
            for (const char *word : {"国語", "社会", "数学", "理科", "英語", "五科計", "五平均", "クラス平均(人数)"})
                EXPECT_TRUE(text.contains(word)) << word << " on page " << page;
            for (const QString &word : c.headings) EXPECT_TRUE(text.contains(word)) << word.toStdString();
            EXPECT_TRUE(text.contains("学年") && text.contains("平均(人数)"));
            // The first named student of the class is on the page.
            for (int n = 1; n <= 42; ++n) {
                const int slot = SlotOf(page, n);
                if (CurNameData->Names[slot].empty()) continue;
                EXPECT_TRUE(text.contains(FamilyName(*CurNameData, slot))) << "page " << page;
                break;
            }
        }
        const QString fonts = testing::PdfFonts(pdf);
        EXPECT_TRUE(fonts.contains("IPAMincho")) << fonts.toStdString();
        EXPECT_TRUE(testing::AllFontsEmbedded(fonts)) << fonts.toStdString();
        testing::KeepForLooking(pdf, QString("ichiran-grade%1-kind%2.pdf").arg(c.grade).arg(c.kind));
    }
}

// A view loading another grade's roster after the test was selected must
// not put that grade's names over this grade's scores.
TEST_F(SampleClassList, NamesComeFromTheGradeOfTheStatistics) {
    Select(1, 1, 0);
    auto grade1 = std::make_unique<TNameData>(*CurNameData);
    CurNameData->Grade = 2;
    CurNameData->LoadMeibo(CurKurasuSuData->GradeClasses[2]);
    SelectedGrade = 2;
    const QString pdf = form_->PrintList();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(testing::PdfPageCount(pdf), CurCalcTest->ClassCount);
    const QString page1 = testing::PdfText(pdf, 1);
    EXPECT_TRUE(page1.contains("1年1組"));
    int checked = 0;
    for (int slot = 1; slot <= 42 && checked < 5; ++slot) {
        if (grade1->Names[slot].empty() || grade1->Names[slot] == CurNameData->Names[slot]) continue;
        EXPECT_TRUE(page1.contains(QString::fromStdString(grade1->Names[slot]).split("　").first()))
            << grade1->Names[slot];
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(SampleClassList, PrintButtonPrintsAndClosesCloseButtonOnlyCloses) {
    Select(2, 1, 0);
    form_->setResult(-1);
    form_->btnClose->click();
    EXPECT_EQ(form_->result(), QDialog::Rejected);
    EXPECT_TRUE(home_.Pdfs().isEmpty());
    form_->btnPrintDo->click();
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    const QStringList pdfs = home_.Pdfs();
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_EQ(testing::PdfPageCount(pdfs[0]), CurCalcTest->ClassCount);
    // One message for the print of every class, naming the file.
    EXPECT_EQ(services_.messages, QStringList{"プリンタが見つからないため、ファイル " + pdfs[0] + " に保存しました"});
}

TEST_F(SampleClassList, AGradeWithoutClassesPrintsNothingAndSaysSo) {
    Select(3, 1, 0);
    CurCalcTest->Compute(0, *CurNameData, *CurSotenData);
    form_->btnPrintDo->click();
    EXPECT_TRUE(home_.Pdfs().isEmpty());
    EXPECT_EQ(services_.messages, QStringList{"3年には組がないため、印刷するものがありません"});
    EXPECT_EQ(form_->result(), QDialog::Accepted);
}

TEST_F(SampleClassList, NoStatisticsNoJob) {
    EXPECT_TRUE(form_->PrintList().isEmpty());
    EXPECT_TRUE(home_.Pdfs().isEmpty());
    EXPECT_TRUE(services_.messages.isEmpty());
}

}  // namespace
}  // namespace dorv
