// The individual result sheet of a regular test of the sample school,
// printed through its form into a PDF: the nine charts where the sheet puts
// them with the student's band drawn in its own colour, the student's
// scores and the grade's means as the data hold them, and nothing outside
// the printable page.
#include "print/layer/print_job.h"
#include "print/pages/kojin_page.h"
#include "print/views/dosu_chart.h"
#include "schooldata/access.h"
#include "schooldata/numfmt.h"
#include "tests/schooldata/large_school.h"

#include "pdf_tools.h"
#include "sample_kojin_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QValueAxis>

#include <algorithm>
#include <string>

namespace dorv {
namespace {

constexpr int kDpi = 60;  // rendering of the checks: 10 printer pixels to one

// A printer pixel of the printable area as a pixel of the rendered page.
int ImageX(int printerX) {
    const double margin = print::TPrintJob::kMarginMm / 25.4 * print::TPrintJob::kResolution;
    return static_cast<int>((printerX + margin) * kDpi / print::TPrintJob::kResolution);
}

struct Tally {
    int student = 0, grade = 0, dark = 0;
};

// Pixels of the student's colour (navy), the grade's colour (a light blue)
// and any ink, inside a rectangle of printer pixels.
Tally Count(const QImage &page, int left, int top, int right, int bottom) {
    Tally t;
    for (int y = ImageX(top); y < ImageX(bottom) && y < page.height(); ++y)
        for (int x = ImageX(left); x < ImageX(right) && x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.blue() < 140 && c.red() < 90 && c.green() < 90 && c.blue() > c.red() + 20) ++t.student;
            if (c.red() < 120 && c.green() > 90 && c.green() < 200 && c.blue() > 200) ++t.grade;
            if (c.lightness() < 200) ++t.dark;
        }
    return t;
}

// The labels under a chart's bottom axis ("人数") printed in the chart
// rectangle of printer pixels, left to right.
QStringList BottomAxisLabels(const QString &pdf, int left, int top, int right, int bottom) {
    auto points = [](int printer) {
        return (printer + print::TPrintJob::kMarginMm / 25.4 * print::TPrintJob::kResolution) * 72 /
               print::TPrintJob::kResolution;
    };
    QList<testing::PdfWord> numbers;
    double lowest = 0;
    for (const testing::PdfWord &w : testing::PdfWords(testing::PdfBboxes(pdf))) {
        bool number = false;
        w.text.toInt(&number);
        if (!number || w.xMin < points(left) || w.xMax > points(right) || w.yMin < points(top) ||
            w.yMax > points(bottom))
            continue;
        numbers.append(w);
        lowest = std::max(lowest, w.yMin);
    }
    // The band positions stand above the bottom axis's row.
    std::sort(numbers.begin(), numbers.end(), [](const auto &a, const auto &b) { return a.xMin < b.xMin; });
    QStringList labels;
    for (const testing::PdfWord &w : numbers)
        if (w.yMin > lowest - 2) labels << w.text;
    return labels;
}

class SampleRegularIndividualSheet : public testing::SampleKojinTest {
protected:
    // February belongs to the school year that began the April before; 1年,
    // the first regular test.
    void SetUp() override { Open(QDate(2027, 2, 10), 1, {0, 1}); }
    // The first named student with a score in every subject that has scores.
    int FullStudent() const {
        for (int slot = 1; slot <= calc_->ClassCount * kStudentsPerClass; ++slot) {
            if (names_->Names[slot].empty()) continue;
            bool full = true;
            for (int j = 0; j < 9; ++j) full = full && (!calc_->HasScores[j] || scores_->Score[slot][j] <= 100);
            if (full) return slot;
        }
        return 0;
    }
};

TEST_F(SampleRegularIndividualSheet, ChartsScoresAndMeansOfOneStudent) {
    const int slot = FullStudent();
    ASSERT_GT(slot, 0);
    const int c = (slot - 1) / 42 + 1, n = (slot - 1) % 42 + 1;
    form_->edtClass->setText(QString::number(c));
    form_->edtNumber->setText(QString::number(n));
    form_->btnPrintOne->click();
    EXPECT_TRUE(sandbox_->services.errors.isEmpty()) << sandbox_->services.errors.join("\n").toStdString();
    ASSERT_EQ(Pdfs().size(), 1);
    const QString pdf = Pdfs()[0];
    // Without a printer the user is told, once, where the sheet went.
    EXPECT_EQ(sandbox_->services.messages,
              QStringList{"プリンタが見つからないため、ファイル " + pdf + " に保存しました"});
    EXPECT_EQ(testing::PdfPageCount(pdf), 1);
    testing::KeepForLooking(pdf, "kojin-grade1-teiki1.pdf");

    const QString text = testing::PdfText(pdf, 1);
    const QString title = QString::fromStdString("令和08年度" + teiki_.TestName[1][1] + "テスト個人結果");
    EXPECT_TRUE(text.contains(title)) << text.toStdString();
    const QString identity = QString::fromStdString("1年" + std::to_string(c) + "組" + std::to_string(n) + "番");
    EXPECT_TRUE(text.contains(identity)) << text.toStdString();

    // The rows 素点 and 平均 hold, in subject order, the student's scores
    // with the five-subject total and its fifth, and the grade's means.
    QString scoreRow, meanRow;
    for (const QString &line : text.split('\n')) {
        const QString t = line.trimmed();
        if (t.startsWith("素点")) scoreRow = t.mid(2).simplified();
        if (t.startsWith("平均")) meanRow = t.mid(2).simplified();
    }
    QStringList scores, means;
    for (int j = 0; j < 9; ++j) {
        if (scores_->Score[slot][j] <= 100) scores << QString::number(scores_->Score[slot][j]);
        if (calc_->HasScores[j])
            means << QString::fromStdString(
                FormatNumber("###", static_cast<double>(calc_->GradeSum[j]) / calc_->GradeCount[j]));
    }
    ASSERT_LE(calc_->Total5[slot], 500);
    scores << QString::number(calc_->Total5[slot])
           << QString::fromStdString(FormatNumber("##.#", calc_->Total5[slot] / 5.0));
    const double mean5 = static_cast<double>(calc_->GradeSum5) / calc_->GradeCnt5;
    means << QString::fromStdString(FormatNumber("###", mean5))
          << QString::fromStdString(FormatNumber("##.#", mean5 / 5));
    EXPECT_EQ(scoreRow, scores.join(' '));
    EXPECT_EQ(meanRow, means.join(' '));

    // Every chart of a subject with scores inside its rectangle, drawn in
    // the grade's colour with the student's band in the student's colour;
    // the gap between the two columns and the page below the charts empty.
    const QImage page = testing::PdfPage(pdf, 1, kDpi, sandbox_->HomeFile("page"));
    ASSERT_FALSE(page.isNull());
    for (int j = 0; j < 9; ++j) {
        const int left = j < 5 ? 500 : 2500;
        const int top = 1100 + 1100 * (j < 5 ? j : j - 5);
        const Tally t = Count(page, left, top, left + 1400, top + 1100);
        if (!calc_->HasScores[j]) {
            EXPECT_EQ(t.dark, 0) << "no chart for subject " << j;
            continue;
        }
        EXPECT_GT(t.grade, 20) << "subject " << j;
        EXPECT_GT(t.student, 5) << "subject " << j;
    }
    EXPECT_EQ(Count(page, 1950, 1100, 2450, 6600).dark, 0);
    EXPECT_EQ(Count(page, 0, 6650, 2500, 6780).dark, 0);

    // The section line, the lowest text, ends inside the printable page.
    double x0, y0, x1, y1;
    ASSERT_TRUE(testing::WordBox(testing::PdfBboxes(pdf), "ノルベ市立中学校学習指導部", x0, y0, x1, y1));
    EXPECT_LT(y1, 842 - 14);
    EXPECT_LT(x1, 595 - 14);
}

TEST_F(SampleRegularIndividualSheet, AProficiencyTestPrintsTheFiveCoreChartsOnly) {
    SelectedTest = 1;
    TestId = {1, 1};
    CurCalcTest->Calculate();
    const int slot = FullStudent();
    ASSERT_GT(slot, 0);
    ASSERT_LE(calc_->Total5[slot], 500);
    form_->edtClass->setText(QString::number((slot - 1) / 42 + 1));
    form_->edtNumber->setText(QString::number((slot - 1) % 42 + 1));
    form_->btnPrintOne->click();
    ASSERT_EQ(Pdfs().size(), 1);
    const QImage page = testing::PdfPage(Pdfs()[0], 1, kDpi, sandbox_->HomeFile("page"));
    ASSERT_FALSE(page.isNull());
    for (int j = 0; j < 5; ++j) {
        const Tally t = Count(page, 500, 1100 + 1100 * j, 1900, 2200 + 1100 * j);
        EXPECT_GT(t.grade, 20) << "subject " << j;
        EXPECT_GT(t.student, 5) << "subject " << j;
    }
    // The right-hand column stays empty down to the footnote.
    EXPECT_EQ(Count(page, 1950, 1100, 4600, 5500).dark, 0);

    // Five scores with the total and its fifth; five means with the grade's.
    QString scoreRow;
    for (const QString &line : testing::PdfText(Pdfs()[0], 1).split('\n'))
        if (line.trimmed().startsWith("素点")) scoreRow = line.trimmed().mid(2).simplified();
    EXPECT_EQ(scoreRow.split(' ').size(), 7) << scoreRow.toStdString();
}

// The charts' 人数 axis is laid out for the selection being printed, at its
// first print too, not for the one printed before it.
TEST_F(SampleRegularIndividualSheet, EachFirstPrintAfterASelectionHasItsOwnCountAxis) {
    struct Selection {
        int grade;
        TTestId id;
    };
    QStringList previous;
    for (const Selection s : {Selection{1, {0, 1}}, Selection{1, {1, 1}}, Selection{2, {0, 2}}}) {
        SCOPED_TRACE(::testing::Message()
                     << "grade " << s.grade << " kind " << int(s.id.TestKind) << " test " << int(s.id.TestNo));
        SelectedGrade = static_cast<std::uint8_t>(s.grade);
        SelectedTest = s.id.TestNo;
        TestId = s.id;
        CurNameData->Grade = SelectedGrade;
        CurCalcTest->Calculate();
        const int slot = FullStudent();
        ASSERT_GT(slot, 0);
        for (const QString &pdf : Pdfs()) QFile::remove(pdf);
        form_->edtClass->setText(QString::number((slot - 1) / 42 + 1));
        form_->edtNumber->setText(QString::number((slot - 1) % 42 + 1));
        form_->btnPrintOne->click();
        ASSERT_EQ(Pdfs().size(), 1);

        // What the 国語 chart's figures ask for: whole students from 0, at
        // most ten steps.
        const QValueAxis *axis = dosu_->chart(0)->bottomAxis();
        const int step = static_cast<int>(axis->max()) / (axis->tickCount() - 1);
        QStringList expected;
        for (int v = 0; v <= axis->max(); v += step) expected << QString::number(v);
        EXPECT_NE(expected, previous) << "the selections should differ in their axes";
        EXPECT_EQ(BottomAxisLabels(Pdfs()[0], 500, 1100, 1900, 2200).join(' ').toStdString(),
                  expected.join(' ').toStdString());
        previous = expected;
    }
}

TEST_F(SampleRegularIndividualSheet, AllSheetsOfTheGradeThenTheFormCloses) {
    int named = 0;
    for (int slot = 1; slot <= calc_->ClassCount * kStudentsPerClass; ++slot) named += !names_->Names[slot].empty();
    ASSERT_GT(named, 42);  // more than one class
    form_->btnPrintOut->click();
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    EXPECT_FALSE(wait_.isVisible());
    ASSERT_EQ(Pdfs().size(), 1);
    EXPECT_EQ(testing::PdfPageCount(Pdfs()[0]), named);
    // The last page is the last named student's.
    int last = calc_->ClassCount * kStudentsPerClass;
    while (names_->Names[last].empty()) --last;
    const QString text = testing::PdfText(Pdfs()[0], named);
    const QString identity = QString::fromStdString("1年" + std::to_string((last - 1) / 42 + 1) + "組" +
                                                    std::to_string((last - 1) % 42 + 1) + "番");
    EXPECT_TRUE(text.contains(identity)) << text.toStdString();
}

// A grade of ten full classes: bands of more than a hundred students, so
// the count axes reach 100 and beyond.
class FullGradeIndividualSheet : public testing::SampleKojinTest {
protected:
    void SetUp() override {
        Open(QDate(2027, 2, 10), 1, {0, 1},
             [](const std::filesystem::path &drive) { testing::FillGradeToTenFullClasses(drive, 1); });
    }
};

TEST_F(FullGradeIndividualSheet, CountAxesPrintEveryLabelWhole) {
    ASSERT_EQ(calc_->ClassCount, 10);
    form_->edtClass->setText("10");
    form_->edtNumber->setText("42");
    form_->btnPrintOne->click();
    ASSERT_EQ(Pdfs().size(), 1);
    const QString pdf = Pdfs()[0];
    testing::KeepForLooking(pdf, "kojin-full-grade.pdf");
    EXPECT_TRUE(testing::PdfText(pdf, 1).contains("1年10組42番"));
    int reachingHundred = 0;
    for (int j = 0; j < 9; ++j) {
        if (!KojinPrintsChart(*calc_, j)) continue;
        const QValueAxis *axis = dosu_->chart(j)->bottomAxis();
        QStringList expected;
        const int step = static_cast<int>(axis->max()) / (axis->tickCount() - 1);
        for (int v = 0; v <= axis->max(); v += step) expected << QString::number(v);
        reachingHundred += expected.contains("100");
        const print::TRect r = KojinChartRect(j);
        EXPECT_EQ(BottomAxisLabels(pdf, r.Left, r.Top, r.Right, r.Bottom).join(' ').toStdString(),
                  expected.join(' ').toStdString())
            << "subject " << j;
    }
    EXPECT_GT(reachingHundred, 0) << "no count axis reaches 100";
}

}  // namespace
}  // namespace dorv
