#include "print/dorv_print_kondan.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "print/kondan.h"
#include "print/layer/print_job.h"
#include "print/nendo_era_today.h"
#include "print/one_sheet_group.h"
#include "print/sheet_loop.h"
#include "schooldata/desktop/error_box.h"
#include "schooldata/desktop/fonts.h"
#include "schooldata/desktop/services.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/name_data.h"
#include "schooldata/test_names.h"
#include "schooldata/settings.h"

namespace dorv {

TfrmPrintKondan *frmPrintKondan = nullptr;

namespace {

TKondanSource SourceOf(const TKondanData &data) {
    return {data, *CurNameData, *CurKantenData, *CurTeikiTestName, *CurJitsuTestName, SchoolName, NendoEraText()};
}

}  // namespace

TfrmPrintKondan::TfrmPrintKondan(QWidget *parent) : Form(parent) {
    setObjectName("frmPrintKondan");
    setBorder(Border::Dialog);
    setWindowTitle("懇談資料の印刷");
    setClientSize(259, 247);
    setBackground(QColor(128, 0, 0));
    SetUiFont(this, kMsPGothic, 12);

    btnPrintOut = new QPushButton("すべて印刷実行", this);
    btnPrintOut->setObjectName("btnPrintOut");
    btnPrintOut->setGeometry(24, 16, 121, 49);
    connect(btnPrintOut, &QPushButton::clicked, this, Guarded([this] { btnPrintOutClick(); }, this));

    one_ = std::make_unique<TOneSheetGroup>(this, 24, 80, 169);
    gbxPrintOne = one_->gbxPrintOne;
    edtClass = one_->edtClass;
    lblClass = one_->lblClass;
    edtNumber = one_->edtNumber;
    lblNumber = one_->lblNumber;
    btnPrintOne = one_->btnPrintOne;
    SetUiFont(btnPrintOne, kMsPGothic, 13);
    SetTextColour(btnPrintOne, Qt::white);
    connect(btnPrintOne, &QPushButton::clicked, this, Guarded([this] { btnPrintOneClick(); }, this));

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(160, 216, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, &TfrmPrintKondan::reject);
    setCancelButton(btnClose);
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
    {
        const TKondanSource source = SourceOf(*data_);
        print::TPrintJob job(QStringLiteral("懇談資料"), print::TOrientation::Portrait);
        PrintAllStudents(job.Canvas(), *CurNameData, ClassCountOfGrade,
                         [&](int c, int n) { PrintKondanSheet(job.Canvas(), source, c, n); });
        job.End();
    }
    accept();
}

void TfrmPrintKondan::btnPrintOneClick() {
    const auto classNumber = one_->ClassNumber(this, ClassCountOfGrade);
    if (!classNumber) return;
    const auto [c, n] = *classNumber;
    // A free slot starts no job at all.
    if (data_ == nullptr || CurNameData == nullptr || CurNameData->Names[(c - 1) * 42 + n].empty()) return;
    print::TPrintJob job(QStringLiteral("懇談資料"), print::TOrientation::Portrait);
    PrintKondanSheet(job.Canvas(), SourceOf(*data_), c, n);
    job.End();
}

}  // namespace dorv
