#include "print/forms/DorvPrintKondan.h"

#include <QPushButton>

#include "desktop/fonts.h"
#include "desktop/services.h"
#include "dialogs/DorvInputWait.h"
#include "print/forms/nendo_era_today.h"
#include "print/layer/print_job.h"
#include "print/pages/kondan_page.h"
#include "print/pages/sheet_loop.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmPrintKondan *frmPrintKondan = nullptr;

namespace {

TKondanSource SourceOf(const TKondanData &data) {
    return {data, *CurNameData, *CurKantenData, *CurTeikiTestName, *CurJitsuTestName, SchoolName, NendoEraText()};
}

}  // namespace

TfrmPrintKondan::TfrmPrintKondan(QWidget *parent)
    : TStudentSheetForm({"frmPrintKondan", "懇談資料の印刷", 259, 247, 121, 169}, parent) {
    SetUiFont(btnPrintOne, kMsPGothic, 13);
    // White text needs a dark face to be read.
    SetTextColour(btnPrintOne, Qt::white);
    QPalette face = btnPrintOne->palette();
    face.setColor(QPalette::Button, colours::navy);
    btnPrintOne->setPalette(face);
}

TfrmPrintKondan::~TfrmPrintKondan() = default;

void TfrmPrintKondan::formShow() { LoadDataSet(); }

void TfrmPrintKondan::formClose() { data_.reset(); }

void TfrmPrintKondan::LoadDataSet() {
    data_ = std::make_unique<TKondanData>();
    try {
        BusyScope busy(frmWait);
        LoadKondanData(*data_, [&busy](int percent) { busy.progress(percent); });
    } catch (...) {
        // No sheet from a half-loaded data set.
        data_.reset();
        reject();
        throw;
    }
}

void TfrmPrintKondan::btnPrintOutClick() {
    if (data_ == nullptr || CurNameData == nullptr) return;
    // Nothing to print ends the form as a print would: pressing again gives
    // nothing either.
    if (HasStudents(*CurNameData, ClassCountOfGrade, CurNameData->Grade)) {
        const TKondanSource source = SourceOf(*data_);
        print::TPrintJob job(QStringLiteral("懇談資料"), print::TOrientation::Portrait);
        PrintAllStudents(job.Canvas(), *CurNameData, ClassCountOfGrade,
                         [&](int c, int n) { PrintKondanSheet(job.Canvas(), source, c, n); });
        job.End();
        print::TellWhereThePrintWent(this, job);
    }
    accept();
}

void TfrmPrintKondan::btnPrintOneClick() {
    const auto classNumber = ClassNumber(ClassCountOfGrade);
    if (!classNumber) return;
    const auto [c, n] = *classNumber;
    // A free slot starts no job at all.
    if (data_ == nullptr || CurNameData == nullptr || !HasStudent(*CurNameData, c, n)) return;
    print::TPrintJob job(QStringLiteral("懇談資料"), print::TOrientation::Portrait);
    PrintKondanSheet(job.Canvas(), SourceOf(*data_), c, n);
    job.End();
    print::TellWhereThePrintWent(this, job);
}

}  // namespace dorv
