// School-report marks (内申) of a grade and term: the nine subject columns,
// the teacher's column taking entries, a display mode for browsing every
// column, and the grade's mark counts and mean of the current column.
#pragma once

#include "desktop/form.h"
#include "desktop/string_grid.h"

class QBarSet;
class QChartView;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace dorv {

class TfrmDorvInputNaishin : public Form {
    Q_OBJECT

public:
    explicit TfrmDorvInputNaishin(QWidget *parent = nullptr);

    StringGrid *sgrInputNaishin;
    QFrame *pnlInputTeiki;
    QLabel *lblID;
    QLabel *lblName;
    QLabel *lblKyoka;
    QLineEdit *edtInputNaishin;
    QPushButton *btnEnter;
    QLabel *lblTestName;
    QLabel *lblAttention;
    QWidget *sbtInputNaishin;
    QToolButton *sbtInputNaishinUp;
    QToolButton *sbtInputNaishinDown;
    QLabel *lblMean;
    QCheckBox *cbxDisp;
    QChartView *chtDosu;
    QBarSet *chartBars;  // the series "実数": [mark - 1] students
    QPushButton *btnClose;
    QPushButton *btnNoSave;

protected:
    void formShow() override;
    void formClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanel();
    void buildChart();
    void takeSubject();
    void load();
    void fillGrid();
    void gridClick();
    void cbxDispClick();
    void btnEnterClick();
    void showStats();
    void btnCloseClick();
    QString storedCellText(int row, int col) const;
    void drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const;

    int kyokaIndex_ = 0;
};

extern TfrmDorvInputNaishin *frmDorvInputNaishin;

}  // namespace dorv
