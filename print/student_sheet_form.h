// The form of a sheet printed per student (individual result sheet,
// conference sheet): "すべて印刷実行" prints every student's sheet, the
// "１枚印刷" group one student's, "終了" closes the form.
#pragma once

#include "schooldata/desktop/form.h"

#include <memory>
#include <optional>
#include <utility>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dorv {

struct TOneSheetGroup;

class TStudentSheetForm : public Form {
    Q_OBJECT

public:
    ~TStudentSheetForm() override;

    QPushButton *btnPrintOut;
    QGroupBox *gbxPrintOne;
    QLineEdit *edtClass;
    QLabel *lblClass;
    QLineEdit *edtNumber;
    QLabel *lblNumber;
    QPushButton *btnPrintOne;
    QPushButton *btnClose;

protected:
    // Where the two sheets' forms differ.
    struct TLayout {
        const char *objectName;
        const char *caption;
        int width, height;   // client area
        int printOutWidth;   // of "すべて印刷実行"
        int groupWidth;      // of "１枚印刷"
    };
    TStudentSheetForm(const TLayout &layout, QWidget *parent);

    // The class and number typed into the group, or nullopt after its
    // message (see TOneSheetGroup::ClassNumber).
    std::optional<std::pair<int, int>> ClassNumber(int classCount);

private:
    virtual void btnPrintOutClick() = 0;
    virtual void btnPrintOneClick() = 0;

    std::unique_ptr<TOneSheetGroup> one_;
};

}  // namespace dorv
