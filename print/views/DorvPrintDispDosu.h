// The frequency-distribution view: one chart per subject of the selected
// test, the grade's students in each 10-point band. Its charts are also the
// ones the individual result sheet prints: that sheet fills them through
// FillCharts and adds the student's band as series 1.
#pragma once

#include "desktop/form.h"

#include <array>

class QLabel;
class QPushButton;

namespace dorv {

class TDosuChart;

class TfrmDispDosu : public Form {
    Q_OBJECT

public:
    static constexpr int kSubjects = 9;

    explicit TfrmDispDosu(QWidget *parent = nullptr);

    // The title and series 0 of every chart from CurCalcTest and the
    // selection; series 1 emptied; the four charts beyond 英語 hidden for a
    // proficiency test. What each opening does.
    void FillCharts();

    // Subject j's chart (0..8).
    TDosuChart *chart(int subject) const { return charts_[subject]; }

    QLabel *lblTitle;
    TDosuChart *chtDosuKokugo;
    TDosuChart *chtDosuShakai;
    TDosuChart *chtDosuSugaku;
    TDosuChart *chtDosuRika;
    TDosuChart *chtDosuEigo;
    TDosuChart *chtDosuOngaku;
    TDosuChart *chtDosuBijutsu;
    TDosuChart *chtDosuHotai;
    TDosuChart *chtDosuGika;
    QPushButton *btnClose;

protected:
    void formShow() override;

private:
    std::array<TDosuChart *, kSubjects> charts_{};
};

extern TfrmDispDosu *frmDispDosu;

}  // namespace dorv
