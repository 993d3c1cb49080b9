#include "print/forms/DorvPrintKojin.h"

#include <functional>
#include <memory>

#include "desktop/services.h"
#include "dialogs/DorvInputWait.h"
#include "print/forms/nendo_era_today.h"
#include "print/layer/print_job.h"
#include "print/pages/ichiran_page.h"
#include "print/pages/kojin_page.h"
#include "print/pages/sheet_loop.h"
#include "print/stats/calc_test.h"
#include "print/stats/stats_roster.h"
#include "print/views/DorvPrintDispDosu.h"
#include "print/views/dosu_chart.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmPrintKojin *frmPrintKojin = nullptr;

namespace {

// Series 0 of every chart from the grade's bands with the two lowest merged,
// as the sheet's footnote says.
void FillMergedCharts(const TCalcTest &calc) {
    if (frmDispDosu == nullptr) return;
    frmDispDosu->FillCharts();
    const TGradeBinTable merged = calc.MergeLowBins();
    for (int j = 0; j < TfrmDispDosu::kSubjects; ++j) {
        TDosuChart *chart = frmDispDosu->chart(j);
        chart->clearSeries(0);
        if (calc.GradeCount[j] > 0)
            for (int b = 0; b < TCalcTest::kBands; ++b) chart->addBar(0, 10 * b + 5, merged.Bins[j][b]);
    }
}

// Everything a print needs, held for its length.
struct TKojinPrint {
    std::unique_ptr<TNameData> ownNames;
    std::unique_ptr<TKojinSource> source;
};

bool Prepare(TKojinPrint &print) {
    const TCalcTest *calc = CurCalcTest;
    if (calc == nullptr || calc->CalcGrade < 1 || calc->CalcGrade > 3 || CurSotenData == nullptr) return false;
    const TNameData &names = RosterOfStatistics(*calc, print.ownNames);
    print.source = std::make_unique<TKojinSource>(
        TKojinSource{*calc, names, *CurSotenData, IchiranTestName(*calc, CurTeikiTestName, CurJitsuTestName),
                     SchoolName, SchoolSection, NendoEraText()});
    return true;
}

// One job of the sheets that `sheets` draws, behind the busy window; a job
// the printer refuses raises before anything is told as printed.
void RunJob(QWidget *parent, const TKojinPrint &print, const std::function<void(print::TCanvas &)> &sheets) {
    print::TPrintJob job(QStringLiteral("個人票"), print::TOrientation::Portrait);
    {
        BusyScope busy(frmWait);
        busy.progress(50);
        FillMergedCharts(print.source->Calc);
        sheets(job.Canvas());
        job.End();
    }
    print::TellWhereThePrintWent(parent, job);
}

}  // namespace

TfrmPrintKojin::~TfrmPrintKojin() = default;

TfrmPrintKojin::TfrmPrintKojin(QWidget *parent)
    : TStudentSheetForm({"frmPrintKojin", "個人票の印刷", 251, 252, 201, 201}, parent) {}

void TfrmPrintKojin::btnPrintOutClick() {
    TKojinPrint print;
    if (!Prepare(print)) return;
    const TCalcTest &calc = print.source->Calc;
    // Nothing to print ends the form as a print would: pressing again gives
    // nothing either.
    if (HasStudents(print.source->Names, calc.ClassCount, calc.CalcGrade))
        RunJob(this, print, [&](print::TCanvas &canvas) {
            PrintAllStudents(canvas, print.source->Names, calc.ClassCount,
                             [&](int c, int n) { PrintKojinSheet(canvas, *print.source, c, n); });
        });
    accept();
}

void TfrmPrintKojin::btnPrintOneClick() {
    const TCalcTest *calc = CurCalcTest;
    const int classCount = calc != nullptr ? calc->ClassCount : 0;
    const auto classNumber = ClassNumber(classCount);
    if (!classNumber) return;
    TKojinPrint print;
    if (!Prepare(print)) return;
    const auto [c, n] = *classNumber;
    // A free slot starts no job at all.
    if (!HasStudent(print.source->Names, c, n)) return;
    RunJob(this, print, [&](print::TCanvas &canvas) { PrintKojinSheet(canvas, *print.source, c, n); });
}

void TfrmPrintKojin::PrintKojinSheet(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number) {
    if (source.Names.Names[SlotOf(classNo, number)].empty()) return;
    PrintKojinCharts(canvas, source, classNo, number);
    PrintKojinText(canvas, source, classNo, number);
}

void TfrmPrintKojin::PrintKojinCharts(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number) {
    if (frmDispDosu == nullptr) return;
    const TCalcTest &calc = source.Calc;
    const int slot = SlotOf(classNo, number);
    const TGradeBinTable merged = calc.MergeLowBins();
    const int subjects = calc.CalcTestId.TestKind == 0 ? 9 : 5;
    for (int j = 0; j < TfrmDispDosu::kSubjects; ++j) frmDispDosu->chart(j)->clearSeries(1);
    for (int j = 0; j < subjects; ++j) {
        const int band = KojinBand(source.Scores, slot, j);
        for (int b = 0; b < TCalcTest::kBands; ++b)
            frmDispDosu->chart(j)->addBar(1, 10 * b + 5, b == band ? merged.Bins[j][b] : 0);
    }
    for (int j = 0; j < TfrmDispDosu::kSubjects; ++j)
        if (KojinPrintsChart(calc, j)) canvas.Chart(*frmDispDosu->chart(j), KojinChartRect(j));
}

}  // namespace dorv
