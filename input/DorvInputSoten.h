// The raw-score entry form, one design for the regular and the proficiency
// tests: a grid of every student slot of the selected grade with the
// teacher's subject column taking entries through an edit box, the class
// and grade averages and the frequency chart of that column for the current
// row, and saving the changed rows of that column.
//
// A twin gives its design (captions, colours, columns, what it sums and
// tints) and its selection dialog.
#pragma once

#include "desktop/form.h"
#include "desktop/string_grid.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace dorv {

class DosuChart;
class TTestNameSet;

struct SotenFormDesign {
    const char *objectName = "";
    QString caption;
    QColor background;
    int width = 0, height = 0;  // client area
    int subjectColumns = 0;     // grid columns 3.. hold subjects 0..subjectColumns - 1
    int gridWidth = 0;
    const char *gridName = "";
    const char *panelName = "";
    const char *editName = "";
    const char *spinName = "";
    QString closeText;
    int closeWidth = 0;
    std::uint8_t testKind = 0;            // TTestId::TestKind of the workbook
    bool sumsTechHome = false;            // 技術 / 家庭 entries recompute 技家
    bool tintsPhysEd = false;             // 保体 tints boys' and girls' rows
    bool formDoubleClickSelects = false;  // a double click on the form acts as a grid click
};

class TfrmDorvInputSoten : public Form {
    Q_OBJECT

public:
    StringGrid *sgrInput;
    QFrame *pnlInput;
    QLabel *lblID;
    QLabel *lblName;
    QLabel *lblKyoka;
    QLineEdit *edtInput;
    QPushButton *btnEnter;
    QLabel *lblTestName;
    QLabel *lblAttention;
    QWidget *sbtInput;
    QToolButton *sbtInputUp;
    QToolButton *sbtInputDown;
    QFrame *pnlStats;
    QLabel *lblMeans;
    QLabel *lblGMean;
    DosuChart *chtDosu;
    QPushButton *btnClose;
    QPushButton *btnNoSave;

protected:
    TfrmDorvInputSoten(const SotenFormDesign &design, QWidget *parent);

    // Shows the twin's selection dialog, which writes the selection globals.
    virtual void selectTest() = 0;
    // The twin's test names (CurTeikiTestName or CurJitsuTestName).
    virtual const TTestNameSet *testNames() const = 0;

    void formShow() override;
    void formClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void buildPanel(int left);
    void takeTeacherColumn();
    void load();
    void fillGrid();
    void gridClick();
    void btnEnterClick();
    void sumTechHome(int row);
    void showStats();
    void btnCloseClick();
    void drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const;
    QString storedCellText(int row, int col) const;
    std::string selectedTestName() const;

    SotenFormDesign design_;
    int teacherCol_ = 3;
};

}  // namespace dorv
