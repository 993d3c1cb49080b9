// The form of the individual result sheet (個人票の印刷): every student's
// sheet or one student's, straight to the printer (or a PDF where there is
// none), with the frequency view's charts and the student's bands marked.
#pragma once

#include "print/forms/StudentSheetForm.h"

namespace dorv {

namespace print {
class TCanvas;
}
struct TKojinSource;

class TfrmPrintKojin : public TStudentSheetForm {
    Q_OBJECT

public:
    explicit TfrmPrintKojin(QWidget *parent = nullptr);
    ~TfrmPrintKojin() override;

private:
    void btnPrintOutClick() override;
    void btnPrintOneClick() override;
    void PrintKojinSheet(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number);
    void PrintKojinCharts(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number);
};

extern TfrmPrintKojin *frmPrintKojin;

}  // namespace dorv
