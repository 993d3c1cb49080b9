// The main window of the roster program: one button per grade, each making
// sure the grade's roster exists before the editor opens on it.
#pragma once

#include "desktop/form.h"

#include <cstdint>

class QLabel;
class QPushButton;

namespace dorv {

class TfrmNameEdit;

class TfrmDorvName : public Form {
    Q_OBJECT

public:
    explicit TfrmDorvName(QWidget *parent = nullptr);
    ~TfrmDorvName() override;

    // The forms the buttons open; created after this one.
    void setForms(TfrmNameEdit *editor, Form *version);

    QLabel *lblTitle = nullptr;
    QLabel *lblShow = nullptr;
    QPushButton *btnG1 = nullptr;
    QPushButton *btnG2 = nullptr;
    QPushButton *btnG3 = nullptr;
    QPushButton *btnVersion = nullptr;
    QPushButton *btnClose = nullptr;

    void done(int result) override;

protected:
    void formShow() override;

private:
    void btnGradeClick(std::uint8_t grade);
    void OpenGrade();

    TfrmNameEdit *editor_ = nullptr;
    Form *version_ = nullptr;
    std::uint8_t Grade = 1;
    bool opening_ = false;
};

}  // namespace dorv
