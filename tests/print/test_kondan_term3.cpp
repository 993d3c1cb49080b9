// The parent-conference sheet of the third term of the sample school,
// printed through its form into a PDF: five regular tests with the last
// one's label cut to its width, the proficiency table kept on the page, and
// the selection of the main menu as it was.
#include "workbook/cp932.h"

#include "pdf_tools.h"
#include "print_test_support.h"
#include "sample_kondan_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <cstdlib>
#include <string>

namespace dorv {
namespace {

// A test's label on line 1 of its lines (pdftotext gives the full-width
// blank before 素点 as plain ones).
QRegularExpression Label(const std::string &name) {
    return QRegularExpression(QRegularExpression::escape(QString::fromStdString(name)) + "\\s+素点");
}

class SampleThirdTermSheet : public testing::SampleKondanTest {
protected:
    void SetUp() override { Open(QDate(2027, 3, 1), 3, {1, 2}); }
    QString ProficiencyWorkbook(int i) {
        jitsu_.LoadTestNames();
        return QDir(sandbox_->GradeFolder(1)).filePath(QString::fromStdString(jitsu_.TestName[1][i] + ".xls"));
    }
    // Student 1-1 gets five scores, so the test has a complete total.
    void TakeProficiencyTest(int i) {
        const std::string set = testing::BinDir().toStdString() + "/xls-set '" + ProficiencyWorkbook(i).toStdString() +
                                "' 'Data!B2=61' 'Data!C2=62' 'Data!D2=63' 'Data!E2=64' 'Data!F2=65' > /dev/null";
        ASSERT_EQ(std::system(set.c_str()), 0) << set;
    }
    QString PrintFirstSheet() {
        form_->edtClass->setText("1");
        form_->edtNumber->setText("1");
        form_->btnPrintOne->click();
        EXPECT_TRUE(sandbox_->services.errors.isEmpty()) << sandbox_->services.errors.join("\n").toStdString();
        const QStringList pdfs = Pdfs();
        return pdfs.size() == 1 ? pdfs[0] : QString();
    }
};

TEST_F(SampleThirdTermSheet, FiveRegularTestsAndTheProficiencyTableOnThePage) {
    // Student 1-1 takes every proficiency test, so the table holds all five
    // and would run past the page at its own line step.
    for (int i = 1; i <= 5; ++i) ASSERT_NO_FATAL_FAILURE(TakeProficiencyTest(i));
    form_->LoadDataSet();
    ASSERT_TRUE(form_->HasDataSet());
    // The loads went through every term and test; the selection is back.
    EXPECT_EQ(SelectedTerm, 3);
    EXPECT_EQ(SelectedTest, 2);
    EXPECT_EQ(TestId.TestKind, 1);
    EXPECT_EQ(TestId.TestNo, 2);

    const QString pdf = PrintFirstSheet();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(testing::PdfPageCount(pdf), 1);
    testing::KeepForLooking(pdf, "kondan-grade1-term3.pdf");

    const QString text = testing::PdfText(pdf, 1);
    EXPECT_TRUE(text.contains("令和08年度３学期懇談資料")) << text.toStdString();
    for (int t = 1; t <= 4; ++t) EXPECT_TRUE(text.contains(Label(teiki_.TestName[1][t]))) << t;
    // The fifth test's label keeps ten bytes of its name.
    const std::string fifth = teiki_.TestName[1][5];
    ASSERT_GT(cp932::width(fifth), 10u) << fifth;
    const std::string cut = cp932::cut(fifth, 10);
    EXPECT_TRUE(text.contains(QString::fromStdString(cut))) << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromStdString(fifth))) << text.toStdString();
    // Every proficiency test now has a complete total: all five are listed.
    for (int i = 1; i <= 5; ++i) EXPECT_TRUE(text.contains(Label(jitsu_.TestName[1][i]))) << i;

    // Every word ends inside the printable page (5 mm margins), the lowest
    // line of the proficiency table included.
    const QString boxes = testing::PdfBboxes(pdf);
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re");
    double lowest = 0;
    int words = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext(); ++words) {
        const auto m = it.next();
        lowest = std::max(lowest, m.captured(4).toDouble());
        EXPECT_LT(m.captured(3).toDouble(), 595 - 14);
    }
    EXPECT_GT(words, 100);
    EXPECT_LT(lowest, 842 - 14);
    EXPECT_GT(lowest, 842 * 0.9);  // the table fills the page down to its end
}

TEST_F(SampleThirdTermSheet, AProficiencyTestWithoutWorkbookIsATestWithoutScores) {
    for (int i : {1, 2, 4, 5}) ASSERT_NO_FATAL_FAILURE(TakeProficiencyTest(i));
    ASSERT_TRUE(QFile::remove(ProficiencyWorkbook(3)));
    form_->LoadDataSet();
    ASSERT_TRUE(form_->HasDataSet());
    const QString pdf = PrintFirstSheet();
    ASSERT_FALSE(pdf.isEmpty());
    const QString text = testing::PdfText(pdf, 1);
    for (int i : {1, 2, 4, 5}) EXPECT_TRUE(text.contains(Label(jitsu_.TestName[1][i]))) << i;
    EXPECT_FALSE(text.contains(QString::fromStdString(jitsu_.TestName[1][3]))) << text.toStdString();
    EXPECT_EQ(SelectedTerm, 3);
    EXPECT_EQ(TestId.TestKind, 1);
    EXPECT_EQ(TestId.TestNo, 2);
}

}  // namespace
}  // namespace dorv
