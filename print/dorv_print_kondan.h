// The form of the parent-conference sheet (懇談資料の印刷): loads a data set
// of its own when it opens, prints every student's sheet or one student's,
// and frees the data set when it closes.
#pragma once

#include "schooldata/desktop/form.h"

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dorv {

struct TKondanData;
struct TOneSheetGroup;

class TfrmPrintKondan : public Form {
    Q_OBJECT

public:
    explicit TfrmPrintKondan(QWidget *parent = nullptr);
    ~TfrmPrintKondan() override;

    QPushButton *btnPrintOut;
    QGroupBox *gbxPrintOne;
    QLineEdit *edtClass;
    QLabel *lblClass;
    QLineEdit *edtNumber;
    QLabel *lblNumber;
    QPushButton *btnPrintOne;
    QPushButton *btnClose;

    // The show step's loading (with the busy window); a failure frees what
    // was loaded, closes the form and raises.
    void LoadDataSet();
    bool HasDataSet() const { return data_ != nullptr; }

protected:
    void formShow() override;
    void formClose() override;

private:
    void btnPrintOutClick();
    void btnPrintOneClick();

    std::unique_ptr<TKondanData> data_;
    std::unique_ptr<TOneSheetGroup> one_;
};

extern TfrmPrintKondan *frmPrintKondan;

}  // namespace dorv
