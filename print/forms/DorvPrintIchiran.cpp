#include "print/forms/DorvPrintIchiran.h"

#include <QPushButton>

#include <memory>

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/services.h"
#include "print/layer/print_job.h"
#include "print/pages/ichiran_page.h"
#include "print/stats/calc_test.h"
#include "print/stats/stats_roster.h"
#include "schooldata/globals.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

namespace dorv {

TfrmPrintIchiran *frmPrintIchiran = nullptr;

TfrmPrintIchiran::TfrmPrintIchiran(QWidget *parent) : Form(parent) {
    setObjectName("frmPrintIchiran");
    setBorder(Border::Dialog);
    setWindowTitle("成績一覧");
    setClientSize(354, 221);
    setBackground(QColor(128, 0, 0));
    SetUiFont(this, kMsPGothic, 12);

    btnPrintDo = new QPushButton("印刷実行", this);
    btnPrintDo->setObjectName("btnPrintDo");
    SetUiFont(btnPrintDo, kMsPGothic, 19);
    btnPrintDo->setGeometry(56, 40, 105, 81);
    connect(btnPrintDo, &QPushButton::clicked, this, Guarded([this] { btnPrintDoClick(); }, this));

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(232, 136, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
    setCancelButton(btnClose);
}

void TfrmPrintIchiran::btnPrintDoClick() {
    PrintList();
    accept();
}

void TfrmPrintIchiran::btnCloseClick() { reject(); }

QString TfrmPrintIchiran::PrintList() {
    const TCalcTest *calc = CurCalcTest;
    // Nothing computed yet: no job at all.
    if (calc == nullptr || calc->CalcGrade < 1 || calc->CalcGrade > 3 || CurSotenData == nullptr) return {};
    if (calc->ClassCount == 0) {
        Services().showMessage(this,
                               QStringLiteral("%1年には組がないため、印刷するものがありません").arg(calc->CalcGrade));
        return {};
    }
    SubjectCount = IchiranSubjectCount(*calc);

    std::unique_ptr<TNameData> ownNames;
    const TNameData &names = RosterOfStatistics(*calc, ownNames);
    const TIchiranSource source{*calc, names, *CurSotenData, IchiranTestName(*calc, CurTeikiTestName, CurJitsuTestName),
                                SchoolName};

    print::TPrintJob job(QStringLiteral("成績一覧表"), print::TOrientation::Landscape);
    print::TCanvas &canvas = job.Canvas();
    print::TCanvasFont font = canvas.Font();
    font.Name = std::string(print::kMsMincho);
    canvas.SetFont(font);
    const TIchiranScale scale = TIchiranScale::For(logicalDpiX(), canvas.DpiX(), canvas.DpiY());
    PrintClassLists(canvas, source, scale);
    job.End();
    print::TellWhereThePrintWent(this, job);
    return job.PageCount() > 0 ? job.PdfPath() : QString();
}

}  // namespace dorv
