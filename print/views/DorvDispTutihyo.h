// The ratings views, one student at a time: the nine subjects' ratings and
// each subject's viewpoint marks beside their labels. One form serves two
// configurations: the report card (term ratings of the selected term) and
// the school register. Nothing is edited or saved.
#pragma once

#include "desktop/form.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class QFrame;

namespace dorv {

class StringGrid;

// An up and a down arrow stacked in one control.
struct SpinButtons {
    QWidget *box = nullptr;
    QToolButton *up = nullptr;
    QToolButton *down = nullptr;
};

class TfrmDispHyotei : public Form {
    Q_OBJECT

public:
    struct Twin {
        const char *objectName;
        const char *caption;
        QColor background;
        const char *kantenWorkbook;
        std::uint8_t isYouroku;
    };
    static constexpr int kSubjects = 9;
    static constexpr int kNumbers = 42;

    explicit TfrmDispHyotei(const Twin &twin, QWidget *parent = nullptr);

    // The title of the current selection.
    QString TitleText() const;

    // The student shown.
    std::uint8_t CurClass() const { return curClass_; }
    std::uint8_t CurNumber() const { return curNumber_; }

    void sbtNumberUpClick();
    void sbtNumberDownClick();
    void sbtClassUpClick();
    void sbtClassDownClick();

    // Subject index j's viewpoint grid (0..8).
    StringGrid *kantenGrid(int subject) const { return kantenGrids_[subject]; }

    QLabel *lblTitle;
    QFrame *pnlName;
    QLabel *lblNo;
    QLabel *lblName;
    QLabel *lblNumber;
    QLabel *lblClass;
    SpinButtons sbtNumber;
    SpinButtons sbtClass;
    QLabel *lblBack;
    QLabel *lblNext;
    StringGrid *sgrHyotei;
    QGroupBox *gbxKanten;
    StringGrid *sgrKokugo, *sgrShakai, *sgrSugaku, *sgrRika, *sgrOngaku, *sgrBijutsu, *sgrHotai, *sgrGika, *sgrEigo;
    QLabel *lblKokugo, *lblShakai, *lblSugaku, *lblRika, *lblOngaku, *lblBijutsu, *lblHotai, *lblGika, *lblEigo;
    QPushButton *btnClose;

protected:
    void formShow() override;

private:
    void load();
    void fillFixedTexts();
    void ShowStudent();

    Twin twin_;
    std::uint8_t curClass_ = 1;
    std::uint8_t curNumber_ = 1;
    std::array<StringGrid *, kSubjects> kantenGrids_{};  // by subject index
};

// The report card of the selected term.
class TfrmDispTutihyo : public TfrmDispHyotei {
    Q_OBJECT

public:
    explicit TfrmDispTutihyo(QWidget *parent = nullptr);
};

extern TfrmDispTutihyo *frmDispTutihyo;

}  // namespace dorv
