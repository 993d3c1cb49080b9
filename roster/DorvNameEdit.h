// The roster editor: one list row per student slot of a grade, a panel
// for the current row, the seven-character conversion, and leaving with or
// without saving.
#pragma once

#include "desktop/form.h"
#include "schooldata/access.h"

#include <cstdint>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

namespace dorv {

class RadioGroup;
class StringGrid;
class TKurasuSuData;
class TNameData;

class TfrmNameEdit : public Form {
    Q_OBJECT

public:
    explicit TfrmNameEdit(QWidget *parent = nullptr);
    ~TfrmNameEdit() override;

    // The grade 1..3 the next opening edits.
    void setGrade(std::uint8_t grade) { Grade = grade; }

    // The data of the opening in progress (null while the form is closed).
    TNameData *nameData() const { return NameData.get(); }
    std::uint8_t classCount() const { return ClassCount; }

    StringGrid *sgdName = nullptr;
    QFrame *pnlOne = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblNumber = nullptr;
    QLineEdit *edtOne = nullptr;
    RadioGroup *rgpDanjo = nullptr;
    QPushButton *btnChange = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *btnXferAll = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnExit = nullptr;

    void done(int result) override;

protected:
    void formShow() override;

private:
    void sgdNameClick();
    void btnChangeClick();
    void BitBtn1Click();
    void btnXferAllClick();
    void btnCloseClick();
    void btnExitClick();

    int studentRows() const { return ClassCount * kStudentsPerClass; }
    bool hasRow(int row) const { return NameData && row >= 1 && row <= studentRows(); }
    void goToNextRow(int row);
    void setPanelEnabled(bool on);

    std::unique_ptr<TNameData> NameData;
    std::unique_ptr<TKurasuSuData> KurasuSuData;
    std::uint8_t Grade = 1;
    std::uint8_t ClassCount = 0;
};

}  // namespace dorv
