#include "input/entry_form_common.h"

#include "desktop/error_box.h"
#include "desktop/fit_text.h"
#include "desktop/fonts.h"
#include "desktop/form.h"
#include "desktop/services.h"
#include "desktop/to_qstring.h"
#include "dialogs/DorvInputWait.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
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
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace dorv {

namespace {

constexpr int kTechHomeSubject = 8;
constexpr int kNoSubject = 11;
constexpr int kFixedCols = 3;
constexpr int kTestNamePx = 32;
constexpr int kPhysEdColumn = kFixedCols + 7;  // 保体

const QColor kOtherSubjectText(128, 128, 128);

}  // namespace

void TakeClassCountOfGrade(TKurasuSuData &counts) {
    counts.LoadKurasuSu();
    const int classes = SelectedGrade >= 1 && SelectedGrade <= 3 ? counts.GradeClasses[SelectedGrade] : 0;
    if (classes < 1 || classes > kMaxClasses)
        throw std::runtime_error(std::to_string(SelectedGrade) + "年の学級数が " + std::to_string(classes) +
                                 " です。KurasuSu.xls に 1 から 10 までの学級数を入れてください");
    ClassCountOfGrade = static_cast<std::uint8_t>(classes);
}

void LoadGradeRoster(BusyScope &busy) {
    ReleaseGradeRoster();
    CurNameData = new TNameData;
    CurKurasuSuData = new TKurasuSuData;
    CurNameData->Grade = SelectedGrade;
    TakeClassCountOfGrade(*CurKurasuSuData);
    busy.progress(33);
    CurNameData->LoadMeibo(ClassCountOfGrade);
}

void ReleaseGradeRoster() {
    delete CurKurasuSuData;
    CurKurasuSuData = nullptr;
    delete CurNameData;
    CurNameData = nullptr;
}

int TeacherKyoka() {
    if (!CurTeachers || TeacherIndex < 1 || TeacherIndex > TTeachers::kRecords) return kNoSubject;
    return CurTeachers->Teacher[TeacherIndex].Kyoka;
}

int TeacherRatedSubject(const std::string &refusal) {
    const int kyoka = TeacherKyoka();
    if (kyoka >= kNoSubject) throw std::runtime_error(refusal);
    return std::min(kyoka, kTechHomeSubject);
}

void SetEntryPanelFace(QWidget *panel) {
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colours::buttonFace());
    panel->setPalette(p);
    panel->setAutoFillBackground(true);
}

QLabel *EntryPanelLabel(QWidget *parent, const char *name, int left, int top) {
    return EntryPanelLabel(parent, name, left, top, QApplication::palette().color(QPalette::WindowText));
}

QLabel *EntryPanelLabel(QWidget *parent, const char *name, int left, int top, const QColor &colour) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    SetUiFont(l, kMsPGothic, 24);
    SetTextColour(l, colour);
    l->setGeometry(left, top, 0, 26);
    return l;
}

QLabel *NewTestNameLabel(QWidget *form, const QRect &geometry) {
    auto *l = new QLabel(form);
    l->setObjectName("lblTestName");
    SetUiFont(l, kMsPGothic, kTestNamePx);
    SetTextColour(l, colours::window());
    l->setGeometry(geometry);
    return l;
}

void ShowTestName(QLabel &label, const QString &text) { SetFittedText(label, text, kTestNamePx); }

QLabel *NewAttentionLabel(QWidget *form, const QString &text, const QRect &geometry) {
    auto *l = new QLabel(text, form);
    l->setObjectName("lblAttention");
    SetUiFont(l, kMsPGothic, 12);
    SetTextColour(l, colours::yellow);
    l->setGeometry(geometry);
    return l;
}

QFrame *NewEntryPanel(QWidget *form, const char *name, const QRect &geometry, int lineWidth) {
    auto *panel = new QFrame(form);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(lineWidth);
    panel->setGeometry(geometry);
    return panel;
}

QLineEdit *NewEntryEdit(QWidget *panel, const char *name, const QRect &geometry) {
    auto *edit = new QLineEdit(panel);
    edit->setObjectName(name);
    SetUiFont(edit, kMsPGothic, 24);
    edit->setGeometry(geometry);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

QPushButton *NewEnterButton(QWidget *panel, int px, const QRect &geometry) {
    auto *b = new QPushButton("入力  [ENTER]", panel);
    b->setObjectName("btnEnter");
    SetUiFont(b, kMsPGothic, px);
    b->setGeometry(geometry);
    return b;
}

QColor SexTint(const StringGrid &grid, int row, const QColor &otherwise) {
    const QString sex = grid.cell(2, row);
    if (sex == ToQString(SexNames[0])) return {224, 224, 255};
    if (sex == ToQString(SexNames[1])) return {255, 224, 224};
    return otherwise;
}

void DrawFifthStudentLine(QPainter &painter, const StringGrid &grid, const StringGrid::DrawCellArgs &cell) {
    bool isNumber = false;
    const int number = grid.cell(0, cell.row).trimmed().toInt(&isNumber);
    if (cell.state.fixed || !isNumber || number % 5 != 0) return;
    const int y = cell.rect.bottom() + 1;
    painter.setPen(Qt::black);
    painter.drawLine(cell.rect.left(), y, cell.rect.right() + 1, y);
}

StringGrid *NewEntryGrid(QWidget *form, const char *name, const QRect &geometry, int colCount) {
    auto *grid = new StringGrid(form);
    grid->setObjectName(name);
    SetUiFont(grid, kMsGothic, 12);
    grid->setGeometry(geometry);
    grid->setColCount(colCount);
    grid->setRowCount(2);
    grid->setFixedCols(kFixedCols);
    grid->setFixedRows(1);
    grid->setDefaultRowHeight(16);
    grid->setScrollBars(true, false);
    grid->setDefaultDrawing(false);
    return grid;
}

void FillStudentColumns(StringGrid &g, const TNameData &names) {
    g.setRowCount(ClassCountOfGrade * kStudentsPerClass + 1);
    g.setColWidth(0, 28);
    g.setColWidth(1, 90);
    g.setColWidth(2, 28);
    g.setCell(0, 0, "番号");
    g.setCell(1, 0, "名前");
    g.setCell(2, 0, "性別");
    for (int slot = 1; slot < g.rowCount(); ++slot) {
        g.setCell(0, slot, ToQString(SlotNumberText(slot)));
        g.setCell(1, slot, ToQString(names.Names[slot]));
        const std::uint8_t sex = names.Sex[slot];
        g.setCell(2, slot, sex < SexNames.size() ? ToQString(SexNames[sex]) : QString());
    }
}

void DrawSubjectColumnCell(QPainter &painter, const StringGrid &g, const StringGrid::DrawCellArgs &cell,
                           bool tintsPhysEd) {
    QColor background = g.defaultBackground(cell.state);
    if (tintsPhysEd && !cell.state.fixed && !cell.state.selected && g.col() == kPhysEdColumn)
        background = SexTint(g, cell.row, background);
    QColor text = Qt::black;
    if (cell.col >= kFixedCols && cell.col != g.col()) text = kOtherSubjectText;
    else if (cell.state.selected) text = Qt::white;

    painter.fillRect(cell.rect, background);
    painter.setFont(g.font());
    painter.setPen(text);
    StringGrid::drawCellText(painter, cell.rect, cell.text);
    DrawFifthStudentLine(painter, g, cell);
}

SpinButton NewSpinButton(QWidget *parent, const QString &name, const QRect &geometry) {
    SpinButton spin{new QWidget(parent), nullptr, nullptr};
    spin.frame->setObjectName(name);
    spin.frame->setGeometry(geometry);
    const int upHeight = geometry.height() / 2;
    spin.up = new QToolButton(spin.frame);
    spin.up->setObjectName(name + "Up");
    spin.up->setArrowType(Qt::UpArrow);
    spin.up->setGeometry(0, 0, geometry.width(), upHeight);
    spin.down = new QToolButton(spin.frame);
    spin.down->setObjectName(name + "Down");
    spin.down->setArrowType(Qt::DownArrow);
    spin.down->setGeometry(0, upHeight, geometry.width(), geometry.height() - upHeight);
    return spin;
}

QPushButton *NewNoSaveButton(QWidget *form, const QRect &geometry) {
    auto *b = new QPushButton("保存しないで終了", form);
    b->setObjectName("btnNoSave");
    SetUiFont(b, kMsPGothic, 8);
    SetTextColour(b, colours::red);
    b->setGeometry(geometry);
    // The cancel glyph only where it leaves the caption whole: on the narrow
    // button of the rating forms the caption needs all the room.
    const int frame = 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    const int glyph = b->iconSize().width() + 4;
    if (b->fontMetrics().horizontalAdvance(b->text()) + glyph + frame <= geometry.width())
        b->setIcon(form->style()->standardIcon(QStyle::SP_DialogCancelButton));
    return b;
}

std::optional<std::uint8_t> TakeWholeEntry(QLineEdit &edit, ScoreEntry (*parse)(std::string_view),
                                           const std::function<void()> &restore) {
    ScoreEntry entry;
    try {
        entry = parse(edit.text().toStdString());
    } catch (const ConvertError &) {
        // The stored value still counts: the cell must not show the typo.
        restore();
        throw;
    }
    if (entry.kind == ScoreEntry::Kind::Refused) {
        Services().beep();
        restore();
        edit.clear();
        return std::nullopt;
    }
    return entry.value;
}

bool IsStudentRow(const StringGrid &grid, int row) {
    return row >= 1 && row < grid.rowCount() && !grid.cell(2, row).isEmpty();
}

void MirrorCurrentCell(const StringGrid &grid, int col, int row, QLabel *id, QLabel *name, QLabel *heading) {
    id->setText(grid.cell(0, row));
    id->adjustSize();
    name->setText(grid.cell(1, row));
    name->adjustSize();
    heading->setText(grid.cell(col, 0));
    heading->adjustSize();
}

void MoveRowUp(StringGrid &grid) {
    if (grid.row() > 1) grid.setRow(grid.row() - 1);
}

void MoveRowDown(StringGrid &grid) {
    if (grid.row() < grid.rowCount() - 1) grid.setRow(grid.row() + 1);
}

void WireEntryForm(Form &form, StringGrid &grid, const SpinButton &spin, QPushButton *noSave, QLineEdit *edit,
                   const std::function<void()> &select) {
    form.setCancelButton(noSave);
    QObject::connect(&grid, &StringGrid::clicked, &form, Guarded(select, &form));
    QObject::connect(&grid, &StringGrid::doubleClicked, &form, Guarded(select, &form));
    QObject::connect(spin.up, &QToolButton::clicked, &form, Guarded([&grid] { MoveRowUp(grid); }, &form));
    QObject::connect(spin.down, &QToolButton::clicked, &form, Guarded([&grid] { MoveRowDown(grid); }, &form));
    QObject::connect(noSave, &QPushButton::clicked, &form, Guarded([&form] { form.done(QDialog::Rejected); }, &form));
    edit->installEventFilter(&form);
}

bool EntryEditKey(QEvent *event, QPushButton *enter, StringGrid &grid, QWidget *form) {
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: enter->click(); return true;
    case Qt::Key_Up: RunGuarded([&grid] { MoveRowUp(grid); }, form); return true;
    case Qt::Key_Down: RunGuarded([&grid] { MoveRowDown(grid); }, form); return true;
    default: return false;
    }
}

bool OpenEntryForm(Form &form, const std::function<bool()> &open) {
    try {
        if (open()) return true;
    } catch (...) {
        // Without its data the form has nothing to show.
        ShowCurrentError(&form);
    }
    form.done(QDialog::Rejected);
    return false;
}

bool SaveEntries(QWidget *form, const std::function<void()> &save) {
    try {
        BusyScope busy(frmWait);
        busy.progress(33);
        save();
        busy.progress(66);
    } catch (...) {
        ShowCurrentError(form);
        return false;
    }
    return true;
}

}  // namespace dorv
