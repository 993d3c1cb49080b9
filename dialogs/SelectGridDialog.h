// The common shape of the selection dialogs that pick a cell of a small
// grid: one column per grade, a heading row, the entries below it, and the
// one button "決定".
#pragma once

#include "desktop/form.h"
#include "desktop/string_grid.h"

#include <QString>

class QLabel;
class QPushButton;

namespace dorv {

class TTestNameSet;

struct SelectGridLayout {
    QString caption;
    QString title;
    QString gridName;
    int width = 0, height = 0;  // client area
    int gridHeight = 0;
    int rows = 0;  // with the heading row
    int okLeft = 0, okTop = 0;
};

class SelectGridDialog : public Form {
    Q_OBJECT

public:
    QLabel *lblTitle;
    StringGrid *grid;
    QPushButton *btnOK;

protected:
    SelectGridDialog(const SelectGridLayout &layout, Border border, QWidget *parent);

    // The heading row "１年", "２年", "３年"; the column of the homeroom
    // grade when the teacher has one.
    void fillHeadings();
    void preselectHomeroomColumn();
    // Rows 1..5 of column g - 1: the names of the tests of grade g.
    void fillTestNames(const TTestNameSet *names);

    // Writes the selection globals; then the dialog closes.
    virtual void writeSelection() = 0;
};

}  // namespace dorv
