#include "input/DorvInputNaishin.h"

#include "input/DorvSelectNaishin.h"
#include "input/entry_form_common.h"
#include "input/naishin_entry.h"
#include "input/soten_entry.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/to_qstring.h"
#include "dialogs/DorvInputWait.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/naishin_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/teachers.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QValueAxis>

#include <algorithm>
#include <stdexcept>

namespace dorv {

TfrmDorvInputNaishin *frmDorvInputNaishin = nullptr;

namespace {

constexpr int kFixedCols = 3;
constexpr int kSubjects = 9;

}  // namespace

TfrmDorvInputNaishin::TfrmDorvInputNaishin(QWidget *parent) : Form(parent) {
    setObjectName("frmDorvInputNaishin");
    setBorder(Border::SizeableNoIcons);
    setWindowTitle("frmDorvInputNaishin");
    setClientSize(981, 668);
    setBackground(QApplication::palette().color(QPalette::Highlight));
    SetUiFont(this, kMsPGothic, 12);

    sgrInputNaishin = NewEntryGrid(this, "sgrInputNaishin", QRect(8, 8, 417, 652), kFixedCols + kSubjects);
    sgrInputNaishin->setDrawCellHook([this](QPainter &p, const StringGrid::DrawCellArgs &c) { drawCell(p, c); });

    buildPanel();
    buildChart();

    WireEntryForm(*this, *sgrInputNaishin, {sbtInputNaishin, sbtInputNaishinUp, sbtInputNaishinDown}, btnNoSave,
                  edtInputNaishin, [this] { gridClick(); });
    connect(btnEnter, &QPushButton::clicked, this, Guarded([this] { btnEnterClick(); }, this));
    connect(cbxDisp, &QCheckBox::clicked, this, Guarded([this] { cbxDispClick(); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
}

void TfrmDorvInputNaishin::buildPanel() {
    const int left = 441;
    const int width = 981 - left - 8;

    lblTestName = NewTestNameLabel(this, QRect(left, 8, width, 40));

    pnlInputTeiki = NewEntryPanel(this, "pnlInputTeiki", QRect(left, 56, width, 129), 2);
    SetEntryPanelFace(pnlInputTeiki);
    lblID = EntryPanelLabel(pnlInputTeiki, "lblID", 12, 10);
    lblName = EntryPanelLabel(pnlInputTeiki, "lblName", 96, 10);
    lblKyoka = EntryPanelLabel(pnlInputTeiki, "lblKyoka", 12, 46);
    edtInputNaishin = NewEntryEdit(pnlInputTeiki, "edtInputNaishin", QRect(12, 82, 113, 34));
    btnEnter = NewEnterButton(pnlInputTeiki, 12, QRect(140, 82, 121, 34));

    const SpinButton spin = NewSpinButton(pnlInputTeiki, "sbtInputNaishin", QRect(width - 44, 70, 25, 50));
    sbtInputNaishin = spin.frame;
    sbtInputNaishinUp = spin.up;
    sbtInputNaishinDown = spin.down;

    lblAttention = NewAttentionLabel(this, "評定不能は空白のままにしておいてください", QRect(left, 192, width, 16));

    lblMean = new QLabel("平均", this);
    lblMean->setObjectName("lblMean");
    SetUiFont(lblMean, kMsPGothic, 21);
    SetTextColour(lblMean, colours::window());
    lblMean->setGeometry(left, 216, 240, 26);

    cbxDisp = new QCheckBox("表示モード", this);
    cbxDisp->setObjectName("cbxDisp");
    SetUiFont(cbxDisp, kMsPGothic, 12);
    cbxDisp->setGeometry(left + 300, 218, 120, 24);

    const int buttonsTop = 668 - 52;
    btnClose = new QPushButton("保存して終了", this);
    btnClose->setObjectName("btnClose");
    SetUiFont(btnClose, kMsPGothic, 16);
    btnClose->setGeometry(left, buttonsTop, 131, 41);

    btnNoSave = NewNoSaveButton(this, QRect(left + width - 131, buttonsTop, 131, 41));
}

void TfrmDorvInputNaishin::buildChart() {
    // Drawn flat: the bars of each mark and their counts above them.
    auto *chart = new QChart;
    chart->setTitle("内申集計");
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->legend()->show();

    auto *series = new QBarSeries;
    chartBars = new QBarSet("実数");
    chartBars->setColor(QColor(128, 128, 255));
    chartBars->setLabelColor(Qt::black);
    for (int m = 1; m <= 5; ++m) chartBars->append(0);
    series->append(chartBars);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);

    const QFont axisFont = UiFont(kMsPGothic, 12);
    auto *bottom = new QBarCategoryAxis;
    bottom->setTitleText("段階");
    bottom->append({"1", "2", "3", "4", "5"});
    bottom->setLabelsFont(axisFont);
    auto *leftAxis = new QValueAxis;
    leftAxis->setTitleText("人数");
    leftAxis->setLabelFormat("%d");
    leftAxis->setLabelsFont(axisFont);
    chart->addAxis(bottom, Qt::AlignBottom);
    chart->addAxis(leftAxis, Qt::AlignLeft);
    series->attachAxis(bottom);
    series->attachAxis(leftAxis);

    chtDosu = new QChartView(chart, this);
    chtDosu->setObjectName("chtDosu");
    chtDosu->setGeometry(441, 250, 532, 668 - 250 - 64);
}

QString TfrmDorvInputNaishin::storedCellText(int row, int col) const {
    if (!CurNaishinData || row < 1 || row > TNaishinData::kSlots || col < kFixedCols || col >= kFixedCols + kSubjects)
        return {};
    return ToQString(ScoreCellText(CurNaishinData->Mark[row][col - kFixedCols]));
}

void TfrmDorvInputNaishin::takeSubject() { kyokaIndex_ = TeacherRatedSubject("この教科の内申は入力できません"); }

void TfrmDorvInputNaishin::formShow() {
    move(20, 20);
    const bool opened = OpenEntryForm(*this, [this] {
        takeSubject();
        if (!frmSelectNaishin || frmSelectNaishin->run() != QDialog::Accepted) return false;
        load();
        return true;
    });
    if (!opened) return;
    // The grid kept its row from the last opening, now inside the new grid;
    // the panel names the student the next entry goes to.
    sgrInputNaishin->setCol(kyokaIndex_ + kFixedCols);
    gridClick();
    if (!cbxDisp->isChecked()) edtInputNaishin->setFocus();
}

void TfrmDorvInputNaishin::load() {
    BusyScope busy(frmWait);
    formClose();
    CurNaishinData = new TNaishinData;
    LoadGradeRoster(busy);
    busy.progress(66);
    CurNaishinData->LoadNaishin(SelectedTerm, ClassCountOfGrade);

    fillGrid();
    const std::string_view term = SelectedTerm >= 1 && SelectedTerm <= 3 ? NaishinFileNames[SelectedTerm] : "";
    ShowTestName(*lblTestName, QString::number(SelectedGrade) + "年  " + ToQString(term));
}

void TfrmDorvInputNaishin::fillGrid() {
    StringGrid &g = *sgrInputNaishin;
    FillStudentColumns(g, *CurNameData);
    for (int c = kFixedCols; c < g.colCount(); ++c) g.setColWidth(c, 26);
    for (int s = 0; s < kSubjects; ++s)
        g.setCell(kFixedCols + s, 0, ToQString(KyokaNames[static_cast<std::size_t>(s)]));
    for (int slot = 1; slot < g.rowCount(); ++slot)
        for (int s = 0; s < kSubjects; ++s) g.setCell(kFixedCols + s, slot, storedCellText(slot, kFixedCols + s));
}

void TfrmDorvInputNaishin::gridClick() {
    StringGrid &g = *sgrInputNaishin;
    if (!cbxDisp->isChecked()) g.setCol(kyokaIndex_ + kFixedCols);
    const int r = g.row();
    const int c = g.col();
    MirrorCurrentCell(g, c, r, lblID, lblName, lblKyoka);
    edtInputNaishin->setText(g.cell(c, r).trimmed());
    edtInputNaishin->selectAll();
    showStats();
    if (!cbxDisp->isChecked()) edtInputNaishin->setFocus();
}

void TfrmDorvInputNaishin::cbxDispClick() {
    const bool display = cbxDisp->isChecked();
    btnEnter->setEnabled(!display);
    edtInputNaishin->setEnabled(!display);
    if (!display) gridClick();
}

void TfrmDorvInputNaishin::btnEnterClick() {
    if (!CurNaishinData || cbxDisp->isChecked()) return;
    StringGrid &g = *sgrInputNaishin;
    const int r = g.row();
    const int c = kyokaIndex_ + kFixedCols;
    if (!IsStudentRow(g, r)) {
        MoveRowDown(g);
        return;
    }
    const std::optional<std::uint8_t> value =
        TakeWholeEntry(*edtInputNaishin, ParseMarkEntry, [&] { g.setCell(c, r, storedCellText(r, c)); });
    if (!value) return;
    CurNaishinData->Mark[r][c - kFixedCols] = *value;
    g.setCell(c, r, storedCellText(r, c));
    CurNaishinData->Modified[r] = 1;
    MoveRowDown(g);
    g.viewport()->update();
}

void TfrmDorvInputNaishin::showStats() {
    if (!CurNaishinData) return;
    const int subject = sgrInputNaishin->col() - kFixedCols;
    if (subject < 0 || subject >= kSubjects) return;
    CurNaishinData->CalcNaishinStats(static_cast<std::uint8_t>(subject), ClassCountOfGrade);
    std::int64_t sum = 0;
    for (int m = 1; m <= 5; ++m) {
        chartBars->replace(m - 1, CurNaishinData->MarkBand[m]);
        sum += static_cast<std::int64_t>(m) * CurNaishinData->MarkBand[m];
    }
    std::uint32_t highest = 1;
    for (int m = 1; m <= 5; ++m) highest = std::max(highest, CurNaishinData->MarkBand[m]);
    for (QAbstractAxis *axis : chtDosu->chart()->axes(Qt::Vertical))
        if (auto *v = qobject_cast<QValueAxis *>(axis)) {
            // Room for the count above the highest bar; whole numbers on the axis.
            v->setRange(0, highest + 1);
            if (highest + 2 <= 11) v->setTickCount(static_cast<int>(highest) + 2);
            else v->applyNiceNumbers();
        }
    lblMean->setText(ToQString(MarkMeanLabel(sum, CurNaishinData->MarkCount)));
    lblMean->adjustSize();
}

void TfrmDorvInputNaishin::btnCloseClick() {
    if (!CurNaishinData) return;
    // The teacher's own column, whatever column display mode shows.
    const bool saved = SaveEntries(this, [this] {
        CurNaishinData->SaveNaishinSubject(SelectedTerm, ClassCountOfGrade, static_cast<std::uint8_t>(kyokaIndex_));
    });
    if (saved) done(QDialog::Accepted);
}

void TfrmDorvInputNaishin::formClose() {
    delete CurNaishinData;
    CurNaishinData = nullptr;
    ReleaseGradeRoster();
}

bool TfrmDorvInputNaishin::eventFilter(QObject *watched, QEvent *event) {
    if (watched == edtInputNaishin && EntryEditKey(event, btnEnter, *sgrInputNaishin, this)) return true;
    return Form::eventFilter(watched, event);
}

void TfrmDorvInputNaishin::drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const {
    DrawSubjectColumnCell(painter, *sgrInputNaishin, cell, true);
}

}  // namespace dorv
