// The form of a sheet printed per student (individual result sheet,
// conference sheet): "すべて印刷実行" prints every student's sheet, the
// "１枚印刷" group (class and number boxes and their button) one student's,
// "終了" closes the form.
#pragma once

#include "desktop/form.h"

#include <optional>
#include <utility>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dorv {

class TNameData;

class TStudentSheetForm : public Form {
    Q_OBJECT

public:
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
        int width, height;  // client area
        int printOutWidth;  // of "すべて印刷実行"
        int groupWidth;     // of "１枚印刷"
    };
    TStudentSheetForm(const TLayout &layout, QWidget *parent);

    // The class and number typed, or nullopt after the message
    // "組、番号が正しくありません" (a class outside 1..classCount, a number
    // outside 1..42). A text that is not a whole number raises ConvertError.
    std::optional<std::pair<int, int>> ClassNumber(int classCount);
    // Whether slot (classNo, number) of `names` holds a student; when not,
    // after the message that there is nothing to print.
    bool HasStudent(const TNameData &names, int classNo, int number);
    // Whether classes 1..classCount of `names` hold a student; when not,
    // after the message that grade `grade` has nothing to print.
    bool HasStudents(const TNameData &names, int classCount, int grade);

private:
    virtual void btnPrintOutClick() = 0;
    virtual void btnPrintOneClick() = 0;
};

}  // namespace dorv
