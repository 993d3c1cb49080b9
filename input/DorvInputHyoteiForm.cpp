#include "input/DorvInputHyoteiForm.h"

#include "input/entry_form_common.h"
#include "input/hyotei_entry.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/to_qstring.h"
#include "dialogs/DorvInputWait.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/teachers.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace dorv {

namespace {

constexpr int kFixedCols = 3;
constexpr int kRatingCol = 3;
constexpr int kPhysEd = 7;

const QColor kDisagreeText(255, 0, 0);

QLabel *HintLabel(QWidget *parent, const char *name, int top, int px, bool italic) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    SetUiFont(l, kMsPGothic, px);
    if (italic) {
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
    }
    SetTextColour(l, colours::yellow);
    l->setGeometry(424, top, 340, px + 6);
    return l;
}

struct Hints {
    const char *first, *second, *third;
};

Hints HintsForColumn(int col) {
    if (col <= kRatingCol)
        return {"評定と観点をまとめて入力してください", "例： 3BBAB ( 3bbab でもかまいません)",
                "評定のみの入力もできます"};
    if (col == kRatingCol + 1)
        return {"観点をまとめて、または１つ入力してください", "例：　BBAB  (bbab でもかまいません)", ""};
    return {"観点を１つ入力してください", "例：　B  (b でもかまいません)", ""};
}

}  // namespace

TfrmDorvInputHyoteiForm::TfrmDorvInputHyoteiForm(const HyoteiFormDesign &design, QWidget *parent)
    : Form(parent), design_(design) {
    setObjectName(design.objectName);
    setBorder(design.border);
    setWindowTitle(design.caption);
    setClientSize(design.width, design.height);
    setBackground(colours::navy);
    SetUiFont(this, kMsPGothic, 12);

    sgrInput = NewEntryGrid(this, design.gridName, QRect(16, 16, 361, 641), kFixedCols + 7);
    sgrInput->setDefaultColWidth(26);
    sgrInput->setDrawCellHook([this](QPainter &p, const StringGrid::DrawCellArgs &c) { drawCell(p, c); });

    buildPanel();

    WireEntryForm(*this, *sgrInput, {sbtInput, sbtInputUp, sbtInputDown}, btnNoSave, edtInput, [this] { gridClick(); });
    connect(btnEnter, &QPushButton::clicked, this, Guarded([this] { btnEnterClick(); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
}

void TfrmDorvInputHyoteiForm::buildPanel() {
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(design_.titleName);
    SetUiFont(lblTitle, kMsPGothic, 32);
    SetTextColour(lblTitle, Qt::white);
    lblTitle->setGeometry(392, 24, std::max(design_.titleWidth, design_.width - 392 - 8), 40);

    pnlInputHyotei = NewEntryPanel(this, "pnlInputHyotei", QRect(392, 80, 361, 153), 3);
    SetEntryPanelFace(pnlInputHyotei);
    lblID = EntryPanelLabel(pnlInputHyotei, "lblID", 24, 24);
    lblName = EntryPanelLabel(pnlInputHyotei, "lblName", 104, 24);
    lblKyoka = EntryPanelLabel(pnlInputHyotei, "lblKyoka", 16, 88);
    edtInput = NewEntryEdit(pnlInputHyotei, design_.editName, QRect(112, 89, 89, 32));
    btnEnter = NewEnterButton(pnlInputHyotei, 16, QRect(224, 88, 121, 33));

    const Hints h = HintsForColumn(kRatingCol);
    lblSetumei1 = HintLabel(this, "lblSetumei1", 248, 13, true);
    lblSetumei2 = HintLabel(this, "lblSetumei2", 272, 13, false);
    lblSetumei3 = HintLabel(this, "lblSetumei3", 296, 12, false);
    lblSetumei1->setText(h.first);
    lblSetumei2->setText(h.second);
    lblSetumei3->setText(h.third);

    sgrKantenKoumoku = new StringGrid(this);
    sgrKantenKoumoku->setObjectName("sgrKantenKoumoku");
    sgrKantenKoumoku->setGeometry(416, 336, 313, 121);
    sgrKantenKoumoku->setColCount(2);
    sgrKantenKoumoku->setRowCount(7);
    sgrKantenKoumoku->setFixedCols(1);
    sgrKantenKoumoku->setFixedRows(1);
    sgrKantenKoumoku->setDefaultRowHeight(16);
    sgrKantenKoumoku->setScrollBars(false, false);
    sgrKantenKoumoku->setEnabled(false);

    const SpinButton spin = NewSpinButton(this, design_.spinName, QRect(392, 472, 33, 89));
    sbtInput = spin.frame;
    sbtInputUp = spin.up;
    sbtInputDown = spin.down;

    btnNoSave = NewNoSaveButton(this, QRect(408, 608, 73, 33));

    btnClose = new QPushButton("保存して終了", this);
    btnClose->setObjectName("btnClose");
    SetUiFont(btnClose, kMsPGothic, 16);
    btnClose->setGeometry(592, 600, 131, 41);
}

void TfrmDorvInputHyoteiForm::takeSubject() {
    subject_ = TeacherRatedSubject("この教科の評定は入力できません");
    kyoka_ = TeacherKyoka();
}

void TfrmDorvInputHyoteiForm::formShow() {
    move(20, 20);
    const bool opened = OpenEntryForm(*this, [this] {
        takeSubject();
        if (!selectGrade()) return false;
        load();
        return true;
    });
    if (!opened) return;
    // The grid keeps its current cell from the last opening; it is back
    // inside the new grid now, and the panel must name the student the
    // next entry goes to.
    sgrInput->setCurrentCell(std::min(sgrInput->col(), kRatingCol + kantenCount_), sgrInput->row());
    gridClick();
}

void TfrmDorvInputHyoteiForm::load() {
    BusyScope busy(frmWait);
    formClose();  // objects a failed opening may have left
    CurHyoteiData = new THyoteiData;
    CurKantenData = new TKantenData;
    LoadGradeRoster(busy);
    CurKantenData->WorkbookName = design_.kantenWorkbook;
    CurKantenData->LoadKanten();
    busy.progress(66);
    CurHyoteiData->IsYouroku = design_.isYouroku;
    CurHyoteiData->LoadHyotei(ClassCountOfGrade);

    kantenCount_ = 0;
    for (int i = 6; i >= 1; --i)
        if (!CurKantenData->Koumoku[subject_][i - 1].empty()) {
            kantenCount_ = i;
            break;
        }
    fillSideGrid();
    fillGrid();
    lblTitle->setText(titleText() + "　" + ToQString(KyokaNames[static_cast<std::size_t>(subject_)]));
}

void TfrmDorvInputHyoteiForm::fillSideGrid() {
    StringGrid &g = *sgrKantenKoumoku;
    g.setRowCount(kantenCount_ + 1);
    g.setColWidth(0, 28);
    g.setColWidth(1, 280);
    g.setCell(0, 0, "番号");
    g.setCell(1, 0, "観点項目");
    static const char *const kLabels[] = {"観①", "観②", "観③", "観④", "観⑤", "観⑥"};
    for (int i = 1; i <= 6; ++i) g.setCell(0, i, kLabels[i - 1]);
    for (int i = 1; i <= kantenCount_; ++i) g.setCell(1, i, ToQString(CurKantenData->Koumoku[subject_][i - 1]));
}

void TfrmDorvInputHyoteiForm::fillGrid() {
    StringGrid &g = *sgrInput;
    g.setRowCount(ClassCountOfGrade * kStudentsPerClass + 1);
    g.setColWidth(0, 28);
    g.setColWidth(1, 90);
    g.setColWidth(2, 28);
    static const char *const kHeadings[] = {"番号", "名前", "性別", "評定", "観①", "観②", "観③", "観④", "観⑤", "観⑥"};
    g.setColCount(kantenCount_ + 4);
    for (int c = 0; c < g.colCount(); ++c) g.setCell(c, 0, kHeadings[c]);

    for (int slot = 1; slot < g.rowCount(); ++slot) {
        g.setCell(0, slot, QString::number(ClassOfSlot(slot) * 100 + NumberOfSlot(slot)));
        g.setCell(1, slot, ToQString(CurNameData->Names[slot]));
        const std::uint8_t sex = CurNameData->Sex[slot];
        g.setCell(2, slot, sex < SexNames.size() ? ToQString(SexNames[sex]) : QString());
        showStoredRow(slot);
    }
}

void TfrmDorvInputHyoteiForm::showStoredRow(int row) {
    if (!CurHyoteiData || row < 1 || row > THyoteiData::kSlots) return;
    const THyoteiRec &rec = CurHyoteiData->Hyotei[row][subject_ + 1];
    sgrInput->setCell(kRatingCol, row, RatingCellText(rec.Rating));
    for (int j = 1; j <= kantenCount_; ++j) sgrInput->setCell(kRatingCol + j, row, MarkCellText(rec.Kanten[j]));
}

void TfrmDorvInputHyoteiForm::gridClick() {
    const int r = sgrInput->row();
    const int c = sgrInput->col();
    MirrorCurrentCell(*sgrInput, c, r, lblID, lblName, lblKyoka);
    if (c > kRatingCol) sgrKantenKoumoku->setRow(c - kRatingCol);
    edtInput->setText(sgrInput->cell(c, r).left(1));
    edtInput->selectAll();
    const Hints h = HintsForColumn(c);
    lblSetumei1->setText(h.first);
    lblSetumei2->setText(h.second);
    lblSetumei3->setText(h.third);
    edtInput->setFocus();
}

void TfrmDorvInputHyoteiForm::btnEnterClick() {
    if (!CurHyoteiData) return;
    const int r = sgrInput->row();
    if (r < 1 || r >= sgrInput->rowCount()) return;
    if (sgrInput->cell(1, r).isEmpty()) {
        edtInput->clear();
        MoveRowDown(*sgrInput);
        return;
    }
    HyoteiEntry entry;
    try {
        entry = ParseHyoteiEntry(edtInput->text(), sgrInput->col(), {kantenCount_, design_.zeroWithMarks});
    } catch (const ConvertError &) {
        // Nothing was stored: the row keeps showing its stored values.
        showStoredRow(r);
        throw;
    }
    ApplyHyoteiEntry(entry, CurHyoteiData->Hyotei[r][subject_ + 1]);
    showStoredRow(r);
    MoveRowDown(*sgrInput);
    CurHyoteiData->Modified[r] = 1;
    sgrInput->viewport()->update();
}

void TfrmDorvInputHyoteiForm::moveColLeft() {
    if (sgrInput->col() > kRatingCol) sgrInput->setCol(sgrInput->col() - 1);
}

void TfrmDorvInputHyoteiForm::moveColRight() {
    if (sgrInput->col() < kantenCount_ + kRatingCol) sgrInput->setCol(sgrInput->col() + 1);
}

void TfrmDorvInputHyoteiForm::btnCloseClick() {
    if (!CurHyoteiData) return;
    // Only this subject's column and sheet: colleagues fill the same
    // workbook with theirs.
    const bool saved = SaveEntries(
        this, [this] { CurHyoteiData->SaveHyoteiSubject(ClassCountOfGrade, static_cast<std::uint8_t>(subject_)); });
    if (saved) done(QDialog::Accepted);
}

void TfrmDorvInputHyoteiForm::formClose() {
    delete CurHyoteiData;
    CurHyoteiData = nullptr;
    delete CurKantenData;
    CurKantenData = nullptr;
    ReleaseGradeRoster();
}

bool TfrmDorvInputHyoteiForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == edtInput && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Left: RunGuarded([this] { moveColLeft(); }, this); return true;
        case Qt::Key_Right: RunGuarded([this] { moveColRight(); }, this); return true;
        default: break;
        }
        if (EntryEditKey(event, btnEnter, *sgrInput, this)) return true;
    }
    return Form::eventFilter(watched, event);
}

void TfrmDorvInputHyoteiForm::drawCell(QPainter &painter, const StringGrid::DrawCellArgs &cell) const {
    const StringGrid &g = *sgrInput;
    QColor background = g.defaultBackground(cell.state);
    if (kyoka_ == kPhysEd && !cell.state.fixed && !cell.state.selected) background = SexTint(g, cell.row, background);
    painter.fillRect(cell.rect, background);
    DrawFifthStudentLine(painter, g, cell);

    QColor text = Qt::black;
    if (!cell.state.fixed) {
        std::array<QString, 6> marks;
        for (int j = 1; j <= kantenCount_; ++j)
            marks[static_cast<std::size_t>(j - 1)] = g.cell(kRatingCol + j, cell.row);
        if (RatingDisagrees(g.cell(kRatingCol, cell.row), marks, kantenCount_)) text = kDisagreeText;
    }
    painter.setFont(g.font());
    painter.setPen(text);
    StringGrid::drawCellText(painter, cell.rect, cell.text);
}

}  // namespace dorv
