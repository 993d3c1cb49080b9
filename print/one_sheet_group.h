// The "１枚印刷" group of the per-student sheets' forms: class and number
// boxes and the button that prints that one student's sheet.
#pragma once

#include <optional>
#include <utility>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace dorv {

struct TOneSheetGroup {
    // The group at (left, top) of `parent`, `width` wide.
    TOneSheetGroup(QWidget *parent, int left, int top, int width);

    // The class and number typed, or nullopt after the message
    // "組、番号が正しくありません" (a class outside 1..classCount, a number
    // outside 1..42). A text that is not a whole number raises ConvertError.
    std::optional<std::pair<int, int>> ClassNumber(QWidget *form, int classCount) const;

    QGroupBox *gbxPrintOne;
    QLineEdit *edtClass;
    QLabel *lblClass;
    QLineEdit *edtNumber;
    QLabel *lblNumber;
    QPushButton *btnPrintOne;
};

}  // namespace dorv
