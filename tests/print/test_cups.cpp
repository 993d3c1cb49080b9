// Jobs for a real printer, against a CUPS scheduler of the test's own: a
// laser-like printer that cannot print closer than 6.35 mm to the edge
// still gets A4 in the orientation asked for, a printer without A4 paper
// is told and gets nothing, and a queue that rejects jobs is told by the
// layer and by every sheet's form, which then stays open.
#include "print/forms/DorvPrintIchiran.h"
#include "print/layer/print_job.h"
#include "print/layer/print_system.h"

#include "cups_sandbox.h"
#include "pdf_tools.h"
#include "sample_kojin_fixture.h"
#include "sample_kondan_fixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <stdexcept>
#include <string>

namespace dorv {
namespace {

using testing::CupsSandbox;
using testing::kLetterOnly;
using testing::kWideMargins;

// The scheduler up, `printer` the default one and accepting jobs.
void UsePrinter(const testing::CupsPrinter &printer) {
    CupsSandbox &cups = CupsSandbox::Get();
    if (cups.Problem() == "the scheduler of the tests runs as root only") GTEST_SKIP() << cups.Problem().toStdString();
    ASSERT_TRUE(cups.Problem().isEmpty()) << cups.Problem().toStdString();
    ASSERT_TRUE(cups.MakeDefault(printer.name));
    ASSERT_TRUE(cups.Accept(printer.name, true));
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
    EXPECT_EQ(what.rfind("プリンタ dorv_wide が印刷を受け付けませんでした（", 0), 0u) << what;
    EXPECT_NE(what.find("。印刷は行われていません"), std::string::npos) << what;
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

// Every print button of the three forms with the default queue rejecting
// jobs: one error box naming the printer, no PDF instead, the form open.
void ExpectRefused(const testing::SamplePrintSandbox &sandbox, QDialog &form, QPushButton *button) {
    const int errors = sandbox.services.errors.size();
    form.setResult(-1);
    button->click();
    ASSERT_EQ(sandbox.services.errors.size(), errors + 1) << button->objectName().toStdString();
    EXPECT_TRUE(sandbox.services.errors.last().startsWith("プリンタ dorv_wide が印刷を受け付けませんでした（"))
        << sandbox.services.errors.last().toStdString();
    EXPECT_EQ(form.result(), -1) << button->objectName().toStdString();
    EXPECT_TRUE(sandbox.Pdfs().isEmpty());
    EXPECT_TRUE(sandbox.services.messages.isEmpty()) << sandbox.services.messages.join('\n').toStdString();
}

class RejectingQueueTestSheets : public testing::SampleKojinTest {
protected:
    void SetUp() override {
        UsePrinter(kWideMargins);
        if (IsSkipped() || HasFatalFailure()) return;
        toPrinter_ = true;
        Open(QDate(2026, 6, 15), 2, {1, 1});
        ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, false));
    }
};

TEST_F(RejectingQueueTestSheets, ClassListAndIndividualSheetsStayOpen) {
    const int before = CupsSandbox::Get().Documents().size();
    TfrmPrintIchiran ichiran;
    ExpectRefused(*sandbox_, ichiran, ichiran.btnPrintDo);
    ExpectRefused(*sandbox_, *form_, form_->btnPrintOut);
    form_->edtClass->setText("1");
    form_->edtNumber->setText("1");
    ExpectRefused(*sandbox_, *form_, form_->btnPrintOne);
    EXPECT_FALSE(wait_.isVisible());
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
}

class RejectingQueueConferenceSheets : public testing::SampleKondanTest {
protected:
    void SetUp() override {
        UsePrinter(kWideMargins);
        if (IsSkipped() || HasFatalFailure()) return;
        toPrinter_ = true;
        Open(QDate(2026, 6, 15), 1, {0, 3});
        ASSERT_TRUE(CupsSandbox::Get().Accept(kWideMargins.name, false));
    }
};

TEST_F(RejectingQueueConferenceSheets, StayOpen) {
    const int before = CupsSandbox::Get().Documents().size();
    form_->LoadDataSet();
    ExpectRefused(*sandbox_, *form_, form_->btnPrintOut);
    form_->edtClass->setText("1");
    form_->edtNumber->setText("1");
    ExpectRefused(*sandbox_, *form_, form_->btnPrintOne);
    EXPECT_EQ(CupsSandbox::Get().Documents().size(), before);
}

}  // namespace
}  // namespace dorv
