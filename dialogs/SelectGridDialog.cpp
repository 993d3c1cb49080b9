#include "dialogs/SelectGridDialog.h"

#include "dialogs/selection_rules.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "schooldata/test_names.h"

#include <QLabel>
#include <QPushButton>

namespace dorv {

SelectGridDialog::SelectGridDialog(const SelectGridLayout &l, Border border, QWidget *parent) : Form(parent) {
    setBorder(border);
    setWindowTitle(l.caption);
    setClientSize(l.width, l.height);
    setBackground(colours::aqua);
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = new QLabel(l.title, this);
    lblTitle->setObjectName("lblTitle");
    SetUiFont(lblTitle, kMsPGothic, 27);
    lblTitle->move(24, 16);
    lblTitle->adjustSize();

    grid = new StringGrid(this);
    grid->setObjectName(l.gridName);
    grid->setGeometry(24, 72, 306, l.gridHeight);
    grid->setColCount(3);
    grid->setRowCount(l.rows);
    grid->setFixedCols(0);
    grid->setFixedRows(1);
    grid->setDefaultColWidth(100);
    grid->setScrollBars(false, false);
    SetUiFont(grid, kMsPGothic, 19);

    btnOK = new QPushButton("決定", this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(l.okLeft, l.okTop, 131, 33);
    SetUiFont(btnOK, kMsPGothic, 16);
    connect(btnOK, &QPushButton::clicked, this,
            Guarded(
                [this] {
                    writeSelection();
                    accept();
                },
                this));
}

void SelectGridDialog::fillHeadings() {
    grid->setCell(0, 0, "１年");
    grid->setCell(1, 0, "２年");
    grid->setCell(2, 0, "３年");
}

void SelectGridDialog::preselectHomeroomColumn() {
    if (const int grade = HomeroomGrade(); grade != 0) grid->setCol(grade - 1);
}

void SelectGridDialog::fillTestNames(const TTestNameSet *names) {
    for (int g = 1; g <= 3; ++g)
        for (int t = 1; t <= 5; ++t)
            grid->setCell(g - 1, t, names ? QString::fromStdString(names->TestName[g][t]) : QString());
}

}  // namespace dorv
