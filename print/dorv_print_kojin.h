// The form of the individual result sheet (個人票の印刷): every student's
// sheet or one student's, straight to the printer (or a PDF where there is
// none), with the frequency view's charts and the student's bands marked.
#pragma once

#include "schooldata/desktop/form.h"

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dorv {

namespace print {
class TCanvas;
}
struct TKojinSource;
struct TOneSheetGroup;

class TfrmPrintKojin : public Form {
    Q_OBJECT

public:
    explicit TfrmPrintKojin(QWidget *parent = nullptr);
    ~TfrmPrintKojin() override;

    QPushButton *btnPrintOut;
    QGroupBox *gbxPrintOne;
    QLineEdit *edtClass;
    QLabel *lblClass;
    QLineEdit *edtNumber;
    QLabel *lblNumber;
    QPushButton *btnPrintOne;
    QPushButton *btnClose;

private:
    void btnPrintOutClick();
    void btnPrintOneClick();
    void PrintKojinSheet(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number);
    void PrintKojinCharts(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number);

    std::unique_ptr<TOneSheetGroup> one_;
};

extern TfrmPrintKojin *frmPrintKojin;

}  // namespace dorv
