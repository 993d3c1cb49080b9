// Jobs for a real printer, against a CUPS scheduler of the test's own: a
// laser-like printer that cannot print closer than 6.35 mm to the edge
// still gets A4 in the orientation asked for, a printer without A4 paper
// is told and gets nothing, and a queue that rejects jobs, a stopped queue
// and a printer removed after it was chosen are told in Japanese by the
// layer and by every sheet's form. A print with nothing to print starts no
// job and says so.
#include "print/forms/DorvPrintIchiran.h"
#include "print/layer/print_job.h"
#include "print/layer/print_system.h"
#include "print/stats/calc_test.h"
#include "schooldata/globals.h"

#include "cups_sandbox.h"
#include "one_sheet_cases.h"
#include "pdf_tools.h"
#include "sample_kojin_fixture.h"
#include "sample_kondan_fixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dorv {
namespace {

using testing::CupsSandbox;
using testing::kGone;
using testing::kLetterOnly;
using testing::kWideMargins;

// The scheduler up, `printer` the default one and accepting jobs.
void UsePrinter(const testing::CupsPrinter &printer) {
    CupsSandbox &cups = CupsSandbox::Get();
    ASSERT_TRUE(cups.Problem().isEmpty()) << cups.Problem().toStdString();
    ASSERT_TRUE(cups.MakeDefault(printer.name));
    ASSERT_TRUE(cups.Accept(printer.name, true));
    ASSERT_TRUE(cups.Enable(printer.name, true));
    ASSERT_EQ(print::PrintSystem().DefaultPrinter(), printer.name);
}

std::string What(const std::function<void()> &action) {
    try {
        action();
    } catch (const std::exception &e) {
        return e.what();
    }
    return "no error";
}

// 600 dpi, 18-point margins: what is left of A4's 595 x 842 points.
constexpr int kShort = (595 - 36) * 600 / 72;
constexpr int kLong = (842 - 36) * 600 / 72;

TEST(PrinterJob, WideMarginsKeepTheOrientationAndTheDocumentReachesThePrinter) {
    UsePrinter(kWideMargins);
    struct Case {
        print::TOrientation orientation;
        int width, height;
        const char *size;
    };
    for (const Case c : {Case{print::TOrientation::Landscape, kLong, kShort, "842 x 595 pts (A4)"},
                         Case{print::TOrientation::Portrait, kShort, kLong, "595 x 842 pts (A4)"}}) {
        const int before = CupsSandbox::Get().Documents().size();
        {
            print::TPrintJob job("成績一覧表", c.orientation);
            EXPECT_TRUE(job.PdfPath().isEmpty());
            EXPECT_NEAR(job.Canvas().PageWidth(), c.width, 3);
            EXPECT_NEAR(job.Canvas().PageHeight(), c.height, 3);
            job.Canvas().TextOut(0, 0, "WMW");
            job.End();
        }
        const QStringList documents = CupsSandbox::Get().Documents();
        ASSERT_EQ(documents.size(), before + 1);
        const QString info = testing::PdfInfo(documents.last());
        EXPECT_TRUE(info.contains(c.size)) << info.toStdString();
        // The text starts at the printer's margin, not at 5 mm.
        double x0, y0, x1, y1;
        ASSERT_TRUE(testing::WordBox(testing::PdfBboxes(documents.last()), "WMW", x0, y0, x1, y1));
        EXPECT_NEAR(x0, 18, 1);
        EXPECT_NEAR(y0, 18, 1.5);
    }
}

TEST(PrinterJob, APrinterWithoutA4IsToldAndGetsNothing) {
    UsePrinter(kLetterOnly);
    const int before = CupsSandbox::Get().Documents().size();
    EXPECT_EQ(What([] { print::TPrintJob job("成績一覧表", print::TOrientation::Landscape); }),
              "プリンタ dorv_letter は A4 横 の用紙に印刷できません。印刷は行われていません");
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
}

TEST(PrinterJob, ARejectedJobIsToldNamingThePrinter) {
    UsePrinter(kWideMargins);
    ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, false));
    const int before = CupsSandbox::Get().Documents().size();
    const std::string what = What([] {
        print::TPrintJob job("個人票", print::TOrientation::Portrait);
        job.Canvas().TextOut(0, 0, "x");
        job.End();
    });
    EXPECT_EQ(what, "プリンタ dorv_wide は印刷を受け付けない状態です。印刷は行われていません");
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
    // A job that raised before its end hands nothing over either.
    ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, true));
    What([] {
        print::TPrintJob job("個人票", print::TOrientation::Portrait);
        job.Canvas().TextOut(0, 0, "x");
        throw std::runtime_error("a sheet failed");
    });
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
}

TEST(PrinterJob, AStoppedQueueTakesTheJobAndHoldsIt) {
    UsePrinter(kWideMargins);
    ASSERT_TRUE(CupsSandbox::Get().Enable(kWideMargins.name, false));
    const int before = CupsSandbox::Get().Documents().size();
    print::TPrintJob job("個人票", print::TOrientation::Portrait);
    job.Canvas().TextOut(0, 0, "x");
    EXPECT_EQ(What([&] { job.End(); }), "no error");
    EXPECT_TRUE(job.Waiting());
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before + 1);
    ASSERT_TRUE(CupsSandbox::Get().Enable(kWideMargins.name, true));
    print::TPrintJob working("個人票", print::TOrientation::Portrait);
    working.Canvas().TextOut(0, 0, "x");
    working.End();
    EXPECT_FALSE(working.Waiting());
}

TEST(PrinterJob, APrinterRemovedAfterTheChoiceIsNotFound) {
    ASSERT_TRUE(CupsSandbox::Get().Add(kGone));
    UsePrinter(kGone);
    const int before = CupsSandbox::Get().Documents().size();
    EXPECT_EQ(What([] {
                  print::TPrintJob job("個人票", print::TOrientation::Portrait);
                  job.Canvas().TextOut(0, 0, "x");
                  ASSERT_TRUE(CupsSandbox::Get().Remove(kGone.name));
                  job.End();
              }),
              "プリンタ dorv_gone が見つかりません。印刷は行われていません");
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
}

// A print system whose default printer, dorv_gone, is taken away as soon as
// a job has chosen it.
class RemovedOnceChosen : public print::TPrintSystem {
public:
    RemovedOnceChosen() { print::SetPrintSystem(this); }
    ~RemovedOnceChosen() override { print::SetPrintSystem(nullptr); }
    QString DefaultPrinter() override {
        CupsSandbox &cups = CupsSandbox::Get();
        EXPECT_TRUE(cups.Add(kGone) && cups.MakeDefault(kGone.name));
        const QString chosen = TPrintSystem::DefaultPrinter();
        EXPECT_TRUE(cups.Remove(chosen));
        return chosen;
    }
};

// One print button of a form, and whether the form closes after a print
// that went through.
struct Press {
    QDialog *form;
    QPushButton *button;
    bool closes;
};

// What each press ends in: exactly one error box or one message box with
// `text` (none for an empty one), never a PDF instead, `documents` documents more at the scheduler.
// A form stays open after an error.
struct Outcome {
    bool error;
    QString text;
    int documents;
};

void ExpectEach(const testing::SamplePrintSandbox &sandbox, const std::vector<Press> &presses, const Outcome &outcome) {
    for (const Press &p : presses) {
        SCOPED_TRACE(p.button->objectName().toStdString() + " of " + p.form->objectName().toStdString());
        const QStringList errors = sandbox.services.errors;
        const QStringList messages = sandbox.services.messages;
        const int documents = CupsSandbox::Get().Documents().size();
        p.form->setResult(-1);
        p.button->click();
        const auto shown = [](const QStringList &boxes) { return boxes.join('\n').toStdString(); };
        // The error box ends its text with a full stop, as every error box does.
        const QStringList told{outcome.error ? outcome.text + "." : outcome.text};
        EXPECT_EQ(shown(sandbox.services.errors), shown(outcome.error ? errors + told : errors));
        EXPECT_EQ(shown(sandbox.services.messages),
                  shown(outcome.error || outcome.text.isEmpty() ? messages : messages + told));
        EXPECT_EQ(p.form->result(), p.closes && !outcome.error ? QDialog::Accepted : -1);
        EXPECT_EQ(CupsSandbox::Get().Documents().size(), documents + outcome.documents);
        EXPECT_TRUE(sandbox.Pdfs().isEmpty());
    }
}

class PrinterTestSheets : public testing::SampleKojinTest {
protected:
    void SetUp() override {
        UsePrinter(kWideMargins);
        if (IsSkipped() || HasFatalFailure()) return;
        toPrinter_ = true;
        Open(QDate(2026, 6, 15), 2, {1, 1});
        form_->edtClass->setText("1");
        form_->edtNumber->setText("1");
    }
    // The class list and both buttons of the individual result sheet.
    std::vector<Press> Presses() {
        return {{&ichiran_, ichiran_.btnPrintDo, true},
                {form_.get(), form_->btnPrintOut, true},
                {form_.get(), form_->btnPrintOne, false}};
    }
    TfrmPrintIchiran ichiran_;
};

TEST_F(PrinterTestSheets, ARejectingQueueIsToldAndTheFormsStayOpen) {
    ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, false));
    ExpectEach(*sandbox_, Presses(),
               {true, "プリンタ dorv_wide は印刷を受け付けない状態です。印刷は行われていません", 0});
    EXPECT_FALSE(wait_.isVisible());
}

TEST_F(PrinterTestSheets, AStoppedQueueIsToldAndTheJobWaits) {
    ASSERT_TRUE(CupsSandbox::Get().Enable(kWideMargins.name, false));
    ExpectEach(*sandbox_, Presses(), {false, "プリンタ dorv_wide は停止しています。印刷はキューで待っています", 1});
    // A working printer: nothing to tell.
    ASSERT_TRUE(CupsSandbox::Get().Enable(kWideMargins.name, true));
    ExpectEach(*sandbox_, {{form_.get(), form_->btnPrintOne, false}}, {false, {}, 1});
}

TEST_F(PrinterTestSheets, APrinterRemovedAfterTheChoiceIsNotFound) {
    RemovedOnceChosen system;
    ExpectEach(*sandbox_, Presses(), {true, "プリンタ dorv_gone が見つかりません。印刷は行われていません", 0});
}

TEST_F(PrinterTestSheets, NothingToPrintStartsNoJobAndSaysSo) {
    const std::string free = std::to_string(testing::LastFreeNumberOfClass1(*names_));
    form_->edtNumber->setText(QString::fromStdString(free));
    ExpectEach(*sandbox_, {{form_.get(), form_->btnPrintOne, false}},
               {false, QString::fromStdString("1組" + free + "番には生徒がいないため、印刷するものがありません"), 0});
    // A grade without classes.
    CurCalcTest->Compute(0, *CurNameData, *CurSotenData);
    ExpectEach(*sandbox_, {{&ichiran_, ichiran_.btnPrintDo, true}},
               {false, "2年には組がないため、印刷するものがありません", 0});
    ExpectEach(*sandbox_, {{form_.get(), form_->btnPrintOut, true}},
               {false, "2年には生徒がいないため、印刷するものがありません", 0});
}

class PrinterConferenceSheets : public testing::SampleKondanTest {
protected:
    void SetUp() override {
        UsePrinter(kWideMargins);
        if (IsSkipped() || HasFatalFailure()) return;
        toPrinter_ = true;
        Open(QDate(2026, 6, 15), 1, {0, 3});
        form_->LoadDataSet();
        form_->edtClass->setText("1");
        form_->edtNumber->setText("1");
    }
    std::vector<Press> Presses() {
        // The whole-grade print last: the form lets its data set go when it
        // closes.
        return {{form_.get(), form_->btnPrintOne, false}, {form_.get(), form_->btnPrintOut, true}};
    }
};

TEST_F(PrinterConferenceSheets, ARejectingQueueIsToldAndTheFormStaysOpen) {
    ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, false));
    ExpectEach(*sandbox_, Presses(),
               {true, "プリンタ dorv_wide は印刷を受け付けない状態です。印刷は行われていません", 0});
}

TEST_F(PrinterConferenceSheets, AStoppedQueueIsToldAndTheJobWaits) {
    ASSERT_TRUE(CupsSandbox::Get().Enable(kWideMargins.name, false));
    ExpectEach(*sandbox_, Presses(), {false, "プリンタ dorv_wide は停止しています。印刷はキューで待っています", 1});
}

TEST_F(PrinterConferenceSheets, APrinterRemovedAfterTheChoiceIsNotFound) {
    RemovedOnceChosen system;
    ExpectEach(*sandbox_, Presses(), {true, "プリンタ dorv_gone が見つかりません。印刷は行われていません", 0});
}

TEST_F(PrinterConferenceSheets, NothingToPrintStartsNoJobAndSaysSo) {
    const std::string free = std::to_string(testing::LastFreeNumberOfClass1(*names_));
    form_->edtNumber->setText(QString::fromStdString(free));
    ExpectEach(*sandbox_, {{form_.get(), form_->btnPrintOne, false}},
               {false, QString::fromStdString("1組" + free + "番には生徒がいないため、印刷するものがありません"), 0});
    ClassCountOfGrade = 0;
    ExpectEach(*sandbox_, {{form_.get(), form_->btnPrintOut, true}},
               {false, "1年には生徒がいないため、印刷するものがありません", 0});
}

}  // namespace
}  // namespace dorv
