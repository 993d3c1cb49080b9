// The form of the parent-conference sheet (懇談資料の印刷): loads a data set
// of its own when it opens, prints every student's sheet or one student's,
// and frees the data set when it closes.
#pragma once

#include "print/forms/StudentSheetForm.h"

#include <memory>

namespace dorv {

struct TKondanData;

class TfrmPrintKondan : public TStudentSheetForm {
    Q_OBJECT

public:
    explicit TfrmPrintKondan(QWidget *parent = nullptr);
    ~TfrmPrintKondan() override;

    // The show step's loading (with the busy window); a failure frees what
    // was loaded, closes the form and raises.
    void LoadDataSet();
    bool HasDataSet() const { return data_ != nullptr; }

protected:
    void formShow() override;
    void formClose() override;

private:
    void btnPrintOutClick() override;
    void btnPrintOneClick() override;

    std::unique_ptr<TKondanData> data_;
};

extern TfrmPrintKondan *frmPrintKondan;

}  // namespace dorv
