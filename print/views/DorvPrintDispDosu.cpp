#include "print/views/DorvPrintDispDosu.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "print/stats/calc_test.h"
#include "print/views/dosu_chart.h"
#include "schooldata/globals.h"
#include "schooldata/test_names.h"

#include <QLabel>
#include <QPushButton>

namespace dorv {

TfrmDispDosu *frmDispDosu = nullptr;

namespace {

struct ChartPlace {
    const char *name;
    const char *title;
    int left, top;
};

// By subject index 0..8.
constexpr ChartPlace kPlaces[TfrmDispDosu::kSubjects] = {
    {"chtDosuKokugo", "国語", 5, 40},    {"chtDosuShakai", "社会", 5, 264},  {"chtDosuSugaku", "数学", 5, 488},
    {"chtDosuRika", "理科", 317, 40},    {"chtDosuEigo", "英語", 317, 264},  {"chtDosuOngaku", "音楽", 317, 488},
    {"chtDosuBijutsu", "美術", 629, 40}, {"chtDosuHotai", "保体", 629, 264}, {"chtDosuGika", "技家", 629, 488},
};

// Proficiency tests have subjects 0..4 only.
constexpr int kProficiencySubjects = 5;

std::string TestNameOfSelection() {
    const TTestNameSet *names = TestId.TestKind != 0 ? static_cast<const TTestNameSet *>(CurJitsuTestName)
                                                     : static_cast<const TTestNameSet *>(CurTeikiTestName);
    if (names == nullptr || SelectedGrade > 3 || SelectedTest > 5) return {};
    return names->TestName[SelectedGrade][SelectedTest];
}

}  // namespace

TfrmDispDosu::TfrmDispDosu(QWidget *parent) : Form(parent) {
    setObjectName("frmDispDosu");
    setBorder(Border::Dialog);
    setWindowTitle("成績処理Dorv－度数分布の表示－");
    setClientSize(1043, 711);
    setBackground(colours::teal);
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    SetUiFont(lblTitle, kMsPGothic, 21);
    lblTitle->move(40, 8);

    for (int j = 0; j < kSubjects; ++j) {
        auto *chart = new TDosuChart(QString::fromUtf8(kPlaces[j].title), this);
        chart->setObjectName(kPlaces[j].name);
        chart->move(kPlaces[j].left, kPlaces[j].top);
        charts_[j] = chart;
    }
    chtDosuKokugo = charts_[0];
    chtDosuShakai = charts_[1];
    chtDosuSugaku = charts_[2];
    chtDosuRika = charts_[3];
    chtDosuEigo = charts_[4];
    chtDosuOngaku = charts_[5];
    chtDosuBijutsu = charts_[6];
    chtDosuHotai = charts_[7];
    chtDosuGika = charts_[8];

    btnClose = new QPushButton("閉じる", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(944, 640, 75, 33);
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { accept(); }, this));
    setCancelButton(btnClose);
}

void TfrmDispDosu::formShow() { FillCharts(); }

void TfrmDispDosu::FillCharts() {
    lblTitle->setText(QString::number(SelectedGrade) + "年" + QString::fromStdString(TestNameOfSelection()) +
                      "テスト　度数分布");
    lblTitle->adjustSize();

    for (TDosuChart *chart : charts_) chart->clearSeries(0);
    for (TDosuChart *chart : charts_) chart->clearSeries(1);
    if (const TCalcTest *calc = CurCalcTest) {
        for (int b = 0; b < TCalcTest::kBands; ++b)
            for (int j = 0; j < kSubjects; ++j)
                if (calc->GradeCount[j] > 0) charts_[j]->addBar(0, 10 * b + 5, calc->GradeBin[j][b]);
    }

    const bool proficiency = TestId.TestKind == 1;
    for (int j = kProficiencySubjects; j < kSubjects; ++j) charts_[j]->setVisible(!proficiency);
}

}  // namespace dorv
