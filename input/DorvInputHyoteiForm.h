// The rating entry form, one design for the term ratings and the school
// register: a grid of every student slot of the selected grade with the
// rating and viewpoint columns of the teacher's subject, entries through an
// edit box, the subject's viewpoint labels beside it, and saving that
// subject's rating column and viewpoint sheet.
//
// A twin gives its configuration (captions, border, workbooks, the
// selection dialog and whether a rating 0 typed with marks is kept).
#pragma once

#include "desktop/form.h"
#include "desktop/string_grid.h"

#include <QString>

#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace dorv {

struct HyoteiFormDesign {
    const char *objectName = "";
    QString caption;
    Form::Border border = Form::Border::Dialog;
    int width = 0, height = 0;  // client area
    int titleWidth = 0;
    const char *gridName = "";
    const char *editName = "";
    const char *spinName = "";
    const char *titleName = "";
    const char *kantenWorkbook = "";
    std::uint8_t isYouroku = 0;
    bool zeroWithMarks = false;  // a rating 0 typed with marks is kept
};

class TfrmDorvInputHyoteiForm : public Form {
    Q_OBJECT

public:
    StringGrid *sgrInput;
    QLabel *lblTitle;
    QFrame *pnlInputHyotei;
    QLabel *lblID;
    QLabel *lblName;
    QLabel *lblKyoka;
    QLineEdit *edtInput;
    QPushButton *btnEnter;
    QLabel *lblSetumei1;
    QLabel *lblSetumei2;
    QLabel *lblSetumei3;
    StringGrid *sgrKantenKoumoku;
    QWidget *sbtInput;
    QToolButton *sbtInputUp;
    QToolButton *sbtInputDown;
    QPushButton *btnNoSave;
    QPushButton *btnClose;

    // The subject 0..8 the teacher works on, and its viewpoint count 0..6.
    int subject() const { return subject_; }
    int kantenCount() const { return kantenCount_; }

protected:
    TfrmDorvInputHyoteiForm(const HyoteiFormDesign &design, QWidget *parent);

    // Shows the twin's selection dialog; false when it selected nothing.
    virtual bool selectGrade() = 0;
    // The grade, term or register part of the title.
    virtual QString titleText() const = 0;

    void formShow() override;
    void formClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanel();
    void takeSubject();
    void load();
    void fillSideGrid();
    void fillGrid();
    void gridClick();
    void btnEnterClick();
    void showStoredRow(int row);
    void moveColLeft();
    void moveColRight();
    void btnCloseClick();
    void drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const;

    HyoteiFormDesign design_;
    int subject_ = 0;
    int kyoka_ = 0;
    int kantenCount_ = 0;
};

}  // namespace dorv
