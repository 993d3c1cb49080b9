#include "input/DorvInputNaishin.h"

#include "input/DorvInputNaishinEntry.h"
#include "input/DorvInputSotenEntry.h"
#include "input/DorvSelectNaishin.h"
#include "input/entry_form_common.h"

#include "schooldata/convert.h"
#include "schooldata/desktop/error_box.h"
#include "schooldata/desktop/fonts.h"
#include "schooldata/desktop/services.h"
#include "schooldata/dialogs/input_wait.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QValueAxis>

#include <algorithm>
#include <stdexcept>

namespace dorv {

TfrmDorvInputNaishin *frmDorvInputNaishin = nullptr;

namespace {

constexpr int kFixedCols = 3;
constexpr int kStudents = 42;
constexpr int kSubjects = 9;
constexpr int kPhysEdColumn = kFixedCols + 7;

const QColor kOtherSubjectText(128, 128, 128);

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

TfrmDorvInputNaishin::TfrmDorvInputNaishin(QWidget *parent) : Form(parent) {
    setObjectName("frmDorvInputNaishin");
    setBorder(Border::SizeableNoIcons);
    setWindowTitle("frmDorvInputNaishin");
    setClientSize(981, 668);
    setBackground(QApplication::palette().color(QPalette::Highlight));
    SetUiFont(this, kMsPGothic, 12);

    sgrInputNaishin = new StringGrid(this);
    sgrInputNaishin->setObjectName("sgrInputNaishin");
    SetUiFont(sgrInputNaishin, kMsGothic, 12);
    sgrInputNaishin->setGeometry(8, 8, 417, 652);
    sgrInputNaishin->setColCount(kFixedCols + kSubjects);
    sgrInputNaishin->setRowCount(2);
    sgrInputNaishin->setFixedCols(kFixedCols);
    sgrInputNaishin->setFixedRows(1);
    sgrInputNaishin->setDefaultRowHeight(16);
    sgrInputNaishin->setScrollBars(true, false);
    sgrInputNaishin->setDefaultDrawing(false);
    sgrInputNaishin->setDrawCellHook([this](QPainter &p, const StringGrid::DrawCellArgs &c) { drawCell(p, c); });

    buildPanel();
    buildChart();

    setCancelButton(btnNoSave);
    connect(sgrInputNaishin, &StringGrid::clicked, this, Guarded([this] { gridClick(); }, this));
    connect(sgrInputNaishin, &StringGrid::doubleClicked, this, Guarded([this] { gridClick(); }, this));
    connect(btnEnter, &QPushButton::clicked, this, Guarded([this] { btnEnterClick(); }, this));
    connect(cbxDisp, &QCheckBox::clicked, this, Guarded([this] { cbxDispClick(); }, this));
    connect(sbtInputNaishinUp, &QToolButton::clicked, this, Guarded([this] { moveUp(); }, this));
    connect(sbtInputNaishinDown, &QToolButton::clicked, this, Guarded([this] { moveDown(); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
    connect(btnNoSave, &QPushButton::clicked, this, Guarded([this] { done(QDialog::Rejected); }, this));
    edtInputNaishin->installEventFilter(this);
}

void TfrmDorvInputNaishin::buildPanel() {
    const int left = 441;
    const int width = 981 - left - 8;

    lblTestName = new QLabel(this);
    lblTestName->setObjectName("lblTestName");
    SetUiFont(lblTestName, kMsPGothic, 32);
    SetTextColour(lblTestName, colours::window());
    lblTestName->setGeometry(left, 8, width, 40);

    pnlInputTeiki = new QFrame(this);
    pnlInputTeiki->setObjectName("pnlInputTeiki");
    pnlInputTeiki->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlInputTeiki->setLineWidth(2);
    pnlInputTeiki->setGeometry(left, 56, width, 129);
    SetEntryPanelFace(pnlInputTeiki);
    lblID = EntryPanelLabel(pnlInputTeiki, "lblID", 12, 10);
    lblName = EntryPanelLabel(pnlInputTeiki, "lblName", 96, 10);
    lblKyoka = EntryPanelLabel(pnlInputTeiki, "lblKyoka", 12, 46);

    edtInputNaishin = new QLineEdit(pnlInputTeiki);
    edtInputNaishin->setObjectName("edtInputNaishin");
    SetUiFont(edtInputNaishin, kMsPGothic, 24);
    edtInputNaishin->setGeometry(12, 82, 113, 34);
    edtInputNaishin->setAttribute(Qt::WA_InputMethodEnabled, false);

    btnEnter = new QPushButton("入力  [ENTER]", pnlInputTeiki);
    btnEnter->setObjectName("btnEnter");
    SetUiFont(btnEnter, kMsPGothic, 12);
    btnEnter->setGeometry(140, 82, 121, 34);

    sbtInputNaishin = new QWidget(pnlInputTeiki);
    sbtInputNaishin->setObjectName("sbtInputNaishin");
    sbtInputNaishin->setGeometry(width - 44, 70, 25, 50);
    sbtInputNaishinUp = new QToolButton(sbtInputNaishin);
    sbtInputNaishinUp->setObjectName("sbtInputNaishinUp");
    sbtInputNaishinUp->setArrowType(Qt::UpArrow);
    sbtInputNaishinUp->setGeometry(0, 0, 25, 25);
    sbtInputNaishinDown = new QToolButton(sbtInputNaishin);
    sbtInputNaishinDown->setObjectName("sbtInputNaishinDown");
    sbtInputNaishinDown->setArrowType(Qt::DownArrow);
    sbtInputNaishinDown->setGeometry(0, 25, 25, 25);

    lblAttention = new QLabel("評定不能は空白のままにしておいてください", this);
    lblAttention->setObjectName("lblAttention");
    SetUiFont(lblAttention, kMsPGothic, 12);
    SetTextColour(lblAttention, colours::yellow);
    lblAttention->setGeometry(left, 192, width, 16);

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

    btnNoSave = new QPushButton("保存しないで終了", this);
    btnNoSave->setObjectName("btnNoSave");
    SetUiFont(btnNoSave, kMsPGothic, 8);
    SetTextColour(btnNoSave, colours::red);
    btnNoSave->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    btnNoSave->setGeometry(left + width - 131, buttonsTop, 131, 41);
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

bool TfrmDorvInputNaishin::isStudentRow(int row) const {
    return row >= 1 && row < sgrInputNaishin->rowCount() && !sgrInputNaishin->cell(2, row).isEmpty();
}

QString TfrmDorvInputNaishin::storedCellText(int row, int col) const {
    if (!CurNaishinData || row < 1 || row > TNaishinData::kSlots || col < kFixedCols || col >= kFixedCols + kSubjects)
        return {};
    return Q(ScoreCellText(CurNaishinData->Mark[row][col - kFixedCols]));
}

void TfrmDorvInputNaishin::takeSubject() { kyokaIndex_ = TeacherRatedSubject("この教科の内申は入力できません"); }

void TfrmDorvInputNaishin::formShow() {
    move(20, 20);
    try {
        takeSubject();
        if (!frmSelectNaishin || frmSelectNaishin->run() != QDialog::Accepted) {
            done(QDialog::Rejected);
            return;
        }
        load();
    } catch (...) {
        ShowCurrentError(this);
        done(QDialog::Rejected);
        return;
    }
    // The grid kept its row from the last opening, now inside the new grid;
    // the panel names the student the next entry goes to.
    sgrInputNaishin->setCol(kyokaIndex_ + kFixedCols);
    gridClick();
    if (!cbxDisp->isChecked()) edtInputNaishin->setFocus();
}

void TfrmDorvInputNaishin::load() {
    BusyScope busy(frmWait);
    formClose();
    CurNameData = new TNameData;
    CurKurasuSuData = new TKurasuSuData;
    CurNaishinData = new TNaishinData;
    CurNameData->Grade = SelectedGrade;

    TakeClassCountOfGrade(*CurKurasuSuData);
    busy.progress(33);
    CurNameData->LoadMeibo(ClassCountOfGrade);
    busy.progress(66);
    CurNaishinData->LoadNaishin(SelectedTerm, ClassCountOfGrade);

    fillGrid();
    const std::string_view term = SelectedTerm >= 1 && SelectedTerm <= 3 ? NaishinFileNames[SelectedTerm] : "";
    lblTestName->setText(QString::number(SelectedGrade) + "年  " + Q(term));
}

void TfrmDorvInputNaishin::fillGrid() {
    StringGrid &g = *sgrInputNaishin;
    g.setRowCount(ClassCountOfGrade * kStudents + 1);
    g.setColWidth(0, 28);
    g.setColWidth(1, 90);
    g.setColWidth(2, 28);
    for (int c = kFixedCols; c < g.colCount(); ++c) g.setColWidth(c, 26);
    g.setCell(0, 0, "番号");
    g.setCell(1, 0, "名前");
    g.setCell(2, 0, "性別");
    for (int s = 0; s < kSubjects; ++s) g.setCell(kFixedCols + s, 0, Q(KyokaNames[static_cast<std::size_t>(s)]));
    for (int slot = 1; slot < g.rowCount(); ++slot) {
        g.setCell(0, slot, Q(SlotNumberText(slot)));
        g.setCell(1, slot, Q(CurNameData->Names[slot]));
        const std::uint8_t sex = CurNameData->Sex[slot];
        g.setCell(2, slot, sex < SexNames.size() ? Q(SexNames[sex]) : QString());
        for (int s = 0; s < kSubjects; ++s) g.setCell(kFixedCols + s, slot, storedCellText(slot, kFixedCols + s));
    }
}

void TfrmDorvInputNaishin::gridClick() {
    StringGrid &g = *sgrInputNaishin;
    if (!cbxDisp->isChecked()) g.setCol(kyokaIndex_ + kFixedCols);
    const int r = g.row();
    const int c = g.col();
    lblID->setText(g.cell(0, r));
    lblID->adjustSize();
    lblName->setText(g.cell(1, r));
    lblName->adjustSize();
    lblKyoka->setText(g.cell(c, 0));
    lblKyoka->adjustSize();
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
    if (!isStudentRow(r)) {
        moveDown();
        return;
    }
    const std::string typed = edtInputNaishin->text().toStdString();
    MarkEntry entry;
    try {
        entry = ParseMarkEntry(typed);
    } catch (const ConvertError &) {
        g.setCell(c, r, storedCellText(r, c));
        throw;
    }
    if (entry.kind == MarkEntry::Kind::Refused) {
        // The stored mark still counts, so its cell shows it again.
        Services().beep();
        g.setCell(c, r, storedCellText(r, c));
        edtInputNaishin->clear();
        return;
    }
    CurNaishinData->Mark[r][c - kFixedCols] = entry.value;
    g.setCell(c, r, storedCellText(r, c));
    CurNaishinData->Modified[r] = 1;
    moveDown();
    g.viewport()->update();
}

void TfrmDorvInputNaishin::moveUp() {
    if (sgrInputNaishin->row() > 1) sgrInputNaishin->setRow(sgrInputNaishin->row() - 1);
}

void TfrmDorvInputNaishin::moveDown() {
    if (sgrInputNaishin->row() < sgrInputNaishin->rowCount() - 1) sgrInputNaishin->setRow(sgrInputNaishin->row() + 1);
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
    lblMean->setText(Q(MarkMeanLabel(sum, CurNaishinData->MarkCount)));
    lblMean->adjustSize();
}

void TfrmDorvInputNaishin::btnCloseClick() {
    if (!CurNaishinData) return;
    try {
        BusyScope busy(frmWait);
        busy.progress(33);
        // The teacher's own column, whatever column display mode shows.
        CurNaishinData->SaveNaishinSubject(SelectedTerm, ClassCountOfGrade, static_cast<std::uint8_t>(kyokaIndex_));
        busy.progress(66);
    } catch (...) {
        ShowCurrentError(this);
        return;
    }
    done(QDialog::Accepted);
}

void TfrmDorvInputNaishin::formClose() {
    delete CurNaishinData;
    CurNaishinData = nullptr;
    delete CurKurasuSuData;
    CurKurasuSuData = nullptr;
    delete CurNameData;
    CurNameData = nullptr;
}

bool TfrmDorvInputNaishin::eventFilter(QObject *watched, QEvent *event) {
    if (watched == edtInputNaishin && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: btnEnter->click(); return true;
        case Qt::Key_Up: RunGuarded([this] { moveUp(); }, this); return true;
        case Qt::Key_Down: RunGuarded([this] { moveDown(); }, this); return true;
        default: break;
        }
    }
    return Form::eventFilter(watched, event);
}

void TfrmDorvInputNaishin::drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const {
    const StringGrid &g = *sgrInputNaishin;
    QColor background = g.defaultBackground(cell.state);
    if (!cell.state.fixed && !cell.state.selected && g.col() == kPhysEdColumn) background = SexTint(g, cell.row, background);
    QColor text = Qt::black;
    if (cell.col >= kFixedCols && cell.col != g.col()) text = kOtherSubjectText;
    else if (cell.state.selected) text = Qt::white;

    painter.fillRect(cell.rect, background);
    painter.setFont(g.font());
    painter.setPen(text);
    StringGrid::drawCellText(painter, cell.rect, cell.text);
    DrawFifthStudentLine(painter, g, cell);
}

}  // namespace dorv
