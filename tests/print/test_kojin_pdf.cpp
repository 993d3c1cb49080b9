// The individual result sheets of the sample school, printed through their
// form into PDF files: one page per student, charts included.
#include "print/dorv_print_kojin.h"

#include "print/DorvPrintDispDosu.h"
#include "print/calc_test.h"
#include "schooldata/desktop/services.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include "pdf_tools.h"
#include "print_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>

namespace dorv {
namespace {

using testing::BinDir;

class SampleIndividualSheets : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists: nothing to a PDF";
        ASSERT_TRUE(drive_.isValid() && home_.isValid());
        const std::string command =
            BinDir().toStdString() + "/make-sample-school '" + drive_.path().toStdString() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        SetServices(&services_);
        WorkDrive = drive_.path().toStdString();
        SchoolName = "ノルベ市立中学校";
        SchoolSection = "学習指導部";
        CurCalcTest = calc_.get();
        CurNameData = names_.get();
        CurSotenData = scores_.get();
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
        teiki_.LoadTestNames();
        jitsu_.LoadTestNames();
        frmWait = &wait_;
        dosu_ = std::make_unique<TfrmDispDosu>();
        frmDispDosu = dosu_.get();
        form_ = std::make_unique<TfrmPrintKojin>();
        // 2年, 第１回実力テスト
        SelectedGrade = 2;
        SelectedTest = 1;
        TestId = {1, 1};
        CurNameData->Grade = 2;
        CurCalcTest->Calculate();
    }
    void TearDown() override {
        form_.reset();
        frmDispDosu = nullptr;
        dosu_.reset();
        frmWait = nullptr;
        SetServices(nullptr);
        qputenv("HOME", savedHome_);
        CurCalcTest = nullptr;
        CurNameData = nullptr;
        CurSotenData = nullptr;
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
    }
    QStringList Pdfs() const {
        const QDir out(home_.filePath("Documents/Dorv"));
        QStringList paths;
        for (const QString &name : out.entryList({"*.pdf"}, QDir::Files, QDir::Name)) paths << out.filePath(name);
        return paths;
    }
    int NamedStudents() const {
        int n = 0;
        for (int slot = 1; slot <= CurCalcTest->ClassCount * 42; ++slot) n += !names_->Names[slot].empty();
        return n;
    }

    QTemporaryDir drive_, home_;
    QByteArray savedHome_;
    testing::RecordingServices services_{QDate(2026, 11, 2)};
    TfrmWait wait_;
    std::unique_ptr<TCalcTest> calc_ = std::make_unique<TCalcTest>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores_ = std::make_unique<TSotenData>();
    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
    std::unique_ptr<TfrmDispDosu> dosu_;
    std::unique_ptr<TfrmPrintKojin> form_;
};

TEST_F(SampleIndividualSheets, AllSheetsOnePortraitA4PagePerStudent) {
    ASSERT_GT(CurCalcTest->GradeCount[0], 0);
    form_->btnPrintOut->click();
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    EXPECT_TRUE(services_.errors.isEmpty()) << services_.errors.join("\n").toStdString();
    ASSERT_EQ(Pdfs().size(), 1);
    const QString pdf = Pdfs()[0];
    EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith("個人票_"));
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
    int freeNumber = 0;
    for (int n = 42; n >= 1 && freeNumber == 0; --n)
        if (names_->Names[n].empty()) freeNumber = n;
    ASSERT_GT(freeNumber, 0);
    const std::string free = std::to_string(freeNumber);
    struct Case {
        const char *classText, *numberText;
        int messages, errors, pdfs;
    };
    const Case cases[] = {
        {"3", "43", 1, 0, 0}, {"0", "1", 2, 0, 0},          {"257", "1", 3, 0, 0},
        {"a", "1", 3, 1, 0},  {"1", free.c_str(), 3, 1, 0}, {"1", "1", 3, 1, 1},
    };
    for (const auto &c : cases) {
        form_->edtClass->setText(c.classText);
        form_->edtNumber->setText(c.numberText);
        form_->btnPrintOne->click();
        EXPECT_EQ(services_.messages.size(), c.messages) << c.classText << " " << c.numberText;
        EXPECT_EQ(services_.errors.size(), c.errors) << c.classText << " " << c.numberText;
        EXPECT_EQ(Pdfs().size(), c.pdfs) << c.classText << " " << c.numberText;
    }
    EXPECT_EQ(services_.messages.value(0), "組、番号が正しくありません");
    EXPECT_FALSE(wait_.isVisible());  // the busy window is gone after every path
    ASSERT_EQ(Pdfs().size(), 1);
    EXPECT_EQ(testing::PdfPageCount(Pdfs()[0]), 1);
    EXPECT_TRUE(testing::PdfText(Pdfs()[0], 1).contains("2年1組1番"));
}

}  // namespace
}  // namespace dorv
