// The parent-conference sheets of the sample school, printed through their
// form into PDF files and looked at with poppler's tools; the single-sheet
// checks and a failed load.
#include "print/dorv_print_kondan.h"

#include "schooldata/desktop/services.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/test_names.h"

#include "pdf_tools.h"
#include "print_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace dorv {
namespace {

using testing::BinDir;

class SampleConferenceSheets : public ::testing::Test {
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
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
        CurKantenData = kanten_.get();
        CurNameData = names_.get();
        names_->Grade = 1;
        SelectedGrade = 1;
        SelectedTerm = 1;
        SelectedTest = 3;
        TestId = {0, 3};
        frmWait = &wait_;
        form_ = std::make_unique<TfrmPrintKondan>();
    }
    void TearDown() override {
        form_.reset();
        frmWait = nullptr;
        SetServices(nullptr);
        qputenv("HOME", savedHome_);
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        CurKantenData = nullptr;
        CurNameData = nullptr;
    }
    QStringList Pdfs() const {
        const QDir out(home_.filePath("Documents/Dorv"));
        QStringList paths;
        for (const QString &name : out.entryList({"*.pdf"}, QDir::Files, QDir::Name)) paths << out.filePath(name);
        return paths;
    }
    void ExpectSelectionUnchanged() const {
        EXPECT_EQ(SelectedTerm, 1);
        EXPECT_EQ(SelectedTest, 3);
        EXPECT_EQ(TestId.TestKind, 0);
        EXPECT_EQ(TestId.TestNo, 3);
    }
    int NamedStudents() const {
        int n = 0;
        for (int slot = 1; slot <= ClassCountOfGrade * 42; ++slot) n += !names_->Names[slot].empty();
        return n;
    }

    QTemporaryDir drive_, home_;
    QByteArray savedHome_;
    testing::RecordingServices services_;
    TfrmWait wait_;
    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
    std::unique_ptr<TKantenData> kanten_ = std::make_unique<TKantenData>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
    std::unique_ptr<TfrmPrintKondan> form_;
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
    for (const char *word : {"令和08年度１学期懇談資料", "ノルベ市立中学校", "国語", "英語", "技家", "５計", "５平均", "素点", "平均"})
        EXPECT_TRUE(page1.contains(word)) << word << "\n" << page1.toStdString();
    EXPECT_TRUE(page1.contains(QString::fromStdString(teiki_.TestName[1][1])));
    EXPECT_TRUE(page1.contains(QString::fromStdString(kanten_->Koumoku[0][0]).left(4)));
    const QString fonts = testing::PdfFonts(pdf);
    EXPECT_TRUE(fonts.contains("IPAPGothic") && fonts.contains("IPAGothic")) << fonts.toStdString();
    EXPECT_TRUE(testing::AllFontsEmbedded(fonts)) << fonts.toStdString();
    EXPECT_TRUE(services_.errors.isEmpty()) << services_.errors.join("\n").toStdString();
    testing::KeepForLooking(pdf, "kondan-grade1-term1.pdf");
}

TEST_F(SampleConferenceSheets, OneSheetChecksItsClassAndNumber) {
    form_->LoadDataSet();
    int freeNumber = 0;
    for (int n = 42; n >= 1 && freeNumber == 0; --n)
        if (names_->Names[n].empty()) freeNumber = n;
    struct Case {
        const char *classText, *numberText;
        int messages, errors, pdfs;
    };
    const std::string free = std::to_string(freeNumber);
    const Case cases[] = {
        {"1", "43", 1, 0, 0},
        {"0", "1", 2, 0, 0},
        {"99", "1", 3, 0, 0},
        {"x", "1", 3, 1, 0},            // not a whole number: the conversion error
        {"1", free.c_str(), 3, 1, 0},  // a free slot: no job at all
        {"1", "1", 3, 1, 1},
    };
    for (const auto &c : cases) {
        form_->edtClass->setText(c.classText);
        form_->edtNumber->setText(c.numberText);
        form_->btnPrintOne->click();
        EXPECT_EQ(services_.messages.size(), c.messages) << c.classText << " " << c.numberText;
        EXPECT_EQ(services_.errors.size(), c.errors) << c.classText << " " << c.numberText;
        EXPECT_EQ(Pdfs().size(), c.pdfs) << c.classText << " " << c.numberText;
    }
    ASSERT_FALSE(services_.messages.isEmpty());
    EXPECT_EQ(services_.messages[0], "組、番号が正しくありません");
    ASSERT_FALSE(services_.errors.isEmpty());
    EXPECT_EQ(services_.errors[0], "'x' は整数ではありません.");
    ASSERT_EQ(Pdfs().size(), 1);
    EXPECT_EQ(testing::PdfPageCount(Pdfs()[0]), 1);
    EXPECT_TRUE(testing::PdfText(Pdfs()[0], 1).contains("1年1組1番"));
    EXPECT_NE(form_->result(), QDialog::Accepted);  // the form stays open for the next sheet
}

TEST_F(SampleConferenceSheets, AFailedLoadKeepsTheSelectionAndPrintsNothing) {
    teiki_.LoadTestNames();
    const auto grade1 = std::filesystem::path(drive_.path().toStdString()) / "Dorv" / "Data" / "１年生";
    std::filesystem::remove(grade1 / (teiki_.TestName[1][2] + ".xls"));
    EXPECT_ANY_THROW(form_->LoadDataSet());
    EXPECT_FALSE(form_->HasDataSet());
    ExpectSelectionUnchanged();
    form_->btnPrintOut->click();
    EXPECT_TRUE(Pdfs().isEmpty());
}

}  // namespace
}  // namespace dorv
