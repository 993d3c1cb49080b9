// The form of the class result list (成績一覧): one button prints every
// class of the current test's statistics straight to the printer (or a PDF
// where there is none), then the form closes.
#pragma once

#include "desktop/form.h"

#include <cstdint>

class QPushButton;

namespace dorv {

class TfrmPrintIchiran : public Form {
    Q_OBJECT

public:
    explicit TfrmPrintIchiran(QWidget *parent = nullptr);

    QPushButton *btnPrintDo;
    QPushButton *btnClose;

    // The print of the button, without the guard; the PDF written, or ""
    // when the job went to a printer or there was nothing to print.
    QString PrintList();

private:
    void btnPrintDoClick();
    void btnCloseClick();

    std::uint8_t SubjectCount = 9;
};

extern TfrmPrintIchiran *frmPrintIchiran;

}  // namespace dorv
