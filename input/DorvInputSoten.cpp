#include "input/DorvInputSoten.h"

#include "input/dosu_chart.h"
#include "input/entry_form_common.h"
#include "input/soten_entry.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/to_qstring.h"
#include "dialogs/DorvInputWait.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <stdexcept>

namespace dorv {

namespace {

constexpr int kFixedCols = 3;
constexpr int kTechSubject = 9;
constexpr int kHomeSubject = 10;
constexpr int kTechHomeSubject = 8;

}  // namespace

TfrmDorvInputSoten::TfrmDorvInputSoten(const SotenFormDesign &design, QWidget *parent) : Form(parent), design_(design) {
    setObjectName(design.objectName);
    setBorder(Border::Dialog);
    setWindowTitle(design.caption);
    setClientSize(design.width, design.height);
    setBackground(design.background);
    SetUiFont(this, kMsPGothic, 12);

    sgrInput = NewEntryGrid(this, design.gridName, QRect(8, 8, design.gridWidth, design.height - 16),
                            kFixedCols + design.subjectColumns);
    sgrInput->setDrawCellHook([this](QPainter &p, const StringGrid::DrawCellArgs &c) { drawCell(p, c); });

    buildPanel(8 + design.gridWidth + 16);

    WireEntryForm(*this, *sgrInput, {sbtInput, sbtInputUp, sbtInputDown}, btnNoSave, edtInput, [this] { gridClick(); });
    connect(btnEnter, &QPushButton::clicked, this, Guarded([this] { btnEnterClick(); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
}

void TfrmDorvInputSoten::buildPanel(int left) {
    const int width = design_.width - left - 8;

    lblTestName = NewTestNameLabel(this, QRect(left, 8, width, 40));

    pnlInput = NewEntryPanel(this, design_.panelName, QRect(left, 56, width, 129), 2);
    // The caption-text colour, on the form's own background.
    const QColor labelColour = QApplication::palette().color(QPalette::HighlightedText);
    lblID = EntryPanelLabel(pnlInput, "lblID", 12, 10, labelColour);
    lblName = EntryPanelLabel(pnlInput, "lblName", 96, 10, labelColour);
    lblKyoka = EntryPanelLabel(pnlInput, "lblKyoka", 12, 46, labelColour);
    edtInput = NewEntryEdit(pnlInput, design_.editName, QRect(12, 82, 113, 34));
    btnEnter = NewEnterButton(pnlInput, 12, QRect(140, 82, 121, 34));

    const SpinButton spin = NewSpinButton(pnlInput, design_.spinName, QRect(width - 44, 70, 25, 50));
    sbtInput = spin.frame;
    sbtInputUp = spin.up;
    sbtInputDown = spin.down;

    lblAttention = NewAttentionLabel(this, "未受検は空白のままにしておいてください", QRect(left, 192, width, 16));

    pnlStats = new QFrame(this);
    pnlStats->setObjectName("pnlStats");
    pnlStats->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlStats->setLineWidth(2);
    pnlStats->setGeometry(left, 214, width, 56);
    pnlStats->setAutoFillBackground(true);
    {
        QPalette p = pnlStats->palette();
        p.setColor(QPalette::Window, colours::buttonFace());
        p.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
        pnlStats->setPalette(p);
    }
    lblMeans = new QLabel("学級平均", pnlStats);
    lblMeans->setObjectName("lblMeans");
    SetUiFont(lblMeans, kMsPGothic, 16);
    lblMeans->setGeometry(12, 8, width - 24, 18);
    lblGMean = new QLabel("学年平均", pnlStats);
    lblGMean->setObjectName("lblGMean");
    SetUiFont(lblGMean, kMsPGothic, 16);
    lblGMean->setGeometry(12, 30, width - 24, 18);

    chtDosu = new DosuChart(this);
    chtDosu->setObjectName("chtDosu");
    chtDosu->setGeometry(left, 278, width, design_.height - 278 - 64);

    const int buttonsTop = design_.height - 52;
    btnClose = new QPushButton(design_.closeText, this);
    btnClose->setObjectName("btnClose");
    SetUiFont(btnClose, kMsPGothic, 16);
    btnClose->setGeometry(left, buttonsTop, design_.closeWidth, 41);

    btnNoSave = NewNoSaveButton(this, QRect(left + width - 131, buttonsTop, 131, 41));
}

QString TfrmDorvInputSoten::storedCellText(int row, int col) const {
    if (!CurSotenData || row < 1 || row > TSotenData::kSlots) return {};
    return ToQString(ScoreCellText(CurSotenData->Score[row][col - kFixedCols]));
}

std::string TfrmDorvInputSoten::selectedTestName() const {
    const TTestNameSet *names = testNames();
    if (!names || SelectedGrade < 1 || SelectedGrade > 3 || SelectedTest < 1 || SelectedTest > 5) return {};
    return names->TestName[SelectedGrade][SelectedTest];
}

void TfrmDorvInputSoten::takeTeacherColumn() {
    // The main menu lets only teachers of a subject of this test in; a
    // subject without a column here would index past the row.
    const int kyoka = TeacherKyoka();
    if (kyoka >= design_.subjectColumns) throw std::runtime_error("この教科の素点は入力できません");
    teacherCol_ = kFixedCols + kyoka;
}

void TfrmDorvInputSoten::formShow() {
    move(20, 20);
    const bool opened = OpenEntryForm(*this, [this] {
        takeTeacherColumn();
        selectTest();
        load();
        return true;
    });
    if (!opened) return;
    sgrInput->setCol(teacherCol_);
    gridClick();
}

void TfrmDorvInputSoten::load() {
    BusyScope busy(frmWait);
    formClose();  // objects a failed opening may have left
    CurSotenData = new TSotenData;
    LoadGradeRoster(busy);
    busy.progress(66);
    CurSotenData->LoadTest(TestId, ClassCountOfGrade);

    fillGrid();
    ShowTestName(*lblTestName, QString::number(SelectedGrade) + "年  " + ToQString(selectedTestName()));
    chtDosu->clearBars();
}

void TfrmDorvInputSoten::fillGrid() {
    StringGrid &g = *sgrInput;
    g.setColCount(kFixedCols + design_.subjectColumns);
    FillStudentColumns(g, *CurNameData);
    for (int c = kFixedCols; c < g.colCount(); ++c) g.setColWidth(c, 26);
    for (int s = 0; s < design_.subjectColumns; ++s) g.setCell(kFixedCols + s, 0, ToQString(KyokaNames[s]));
    for (int slot = 1; slot < g.rowCount(); ++slot)
        for (int s = 0; s < design_.subjectColumns; ++s)
            g.setCell(kFixedCols + s, slot, ToQString(ScoreCellText(CurSotenData->Score[slot][s])));
}

void TfrmDorvInputSoten::gridClick() {
    sgrInput->setCol(teacherCol_);
    const int r = sgrInput->row();
    MirrorCurrentCell(*sgrInput, teacherCol_, r, lblID, lblName, lblKyoka);
    edtInput->setText(sgrInput->cell(teacherCol_, r).trimmed());
    // Typing replaces the mirrored value, as a teacher expects.
    edtInput->selectAll();
    showStats();
    edtInput->setFocus();
}

void TfrmDorvInputSoten::btnEnterClick() {
    if (!CurSotenData) return;
    const int r = sgrInput->row();
    const int c = teacherCol_;
    if (!IsStudentRow(*sgrInput, r)) {
        MoveRowDown(*sgrInput);
        return;
    }
    const std::string typed = edtInput->text().toStdString();
    const std::optional<std::uint8_t> value =
        TakeWholeEntry(*edtInput, ParseScoreEntry, [&] { sgrInput->setCell(c, r, storedCellText(r, c)); });
    if (!value) return;
    CurSotenData->Score[r][c - kFixedCols] = *value;
    sgrInput->setCell(c, r, *value == kEmptyValue ? QString() : ToQString(PadEntryText(typed)));
    const int subject = c - kFixedCols;
    if (design_.sumsTechHome && (subject == kTechSubject || subject == kHomeSubject)) sumTechHome(r);
    CurSotenData->Modified[r] = 1;
    MoveRowDown(*sgrInput);
}

void TfrmDorvInputSoten::sumTechHome(int row) {
    std::uint8_t *score = CurSotenData->Score[row];
    const TechHomeSum sum = SumTechHome(score[kTechSubject], score[kHomeSubject]);
    score[kTechHomeSubject] = sum.value;
    sgrInput->setCell(kFixedCols + kTechHomeSubject, row, ToQString(sum.shown));
}

void TfrmDorvInputSoten::showStats() {
    if (!CurSotenData) return;
    CurSotenData->CalcColumnStats(static_cast<std::uint8_t>(teacherCol_ - kFixedCols), ClassCountOfGrade);
    const TColStats &st = CurSotenData->ColStats;
    const int classNo = ClassOfSlot(sgrInput->row());
    if (classNo >= 1 && classNo <= kMaxClasses)
        lblMeans->setText(ToQString(MeanLabel("学級平均：", st.ColSum[classNo], st.ColCount[classNo])));
    lblGMean->setText(ToQString(MeanLabel("学年平均：", st.ColTotalSum, st.ColTotalCount)));
    chtDosu->clearBars();
    for (int i = 0; i < 10; ++i) chtDosu->addBar(10 * i + 5, st.ColBand[i]);
}

void TfrmDorvInputSoten::btnCloseClick() {
    if (!CurSotenData) return;
    // Only the teacher's column: a colleague may have saved his subject
    // into the same workbook since this form loaded it.
    const bool saved = SaveEntries(this, [this] {
        CurSotenData->SaveTestColumn(TestId, ClassCountOfGrade, static_cast<std::uint8_t>(teacherCol_ - kFixedCols));
    });
    if (saved) done(QDialog::Accepted);
}

void TfrmDorvInputSoten::formClose() {
    delete CurSotenData;
    CurSotenData = nullptr;
    ReleaseGradeRoster();
}

bool TfrmDorvInputSoten::eventFilter(QObject *watched, QEvent *event) {
    if (watched == edtInput && EntryEditKey(event, btnEnter, *sgrInput, this)) return true;
    return Form::eventFilter(watched, event);
}

void TfrmDorvInputSoten::mouseDoubleClickEvent(QMouseEvent *event) {
    if (design_.formDoubleClickSelects) {
        RunGuarded([this] { gridClick(); }, this);
        return;
    }
    Form::mouseDoubleClickEvent(event);
}

void TfrmDorvInputSoten::drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const {
    DrawSubjectColumnCell(painter, *sgrInput, cell, design_.tintsPhysEd);
}

}  // namespace dorv
