// Pieces every entry form of the program needs alike: the grade's class
// count and roster, the logged-in teacher's subject, the student grid and
// its cell drawing, the entry panel and its buttons and keys, taking a typed
// entry, opening the form and saving its entries.
#pragma once

#include "desktop/string_grid.h"
#include "input/soten_entry.h"

#include <QColor>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QToolButton;
class QWidget;

namespace dorv {

class BusyScope;
class Form;
class TKurasuSuData;
class TNameData;

// Loads the class counts and sets ClassCountOfGrade for SelectedGrade; a
// count outside 1..10 raises, since every slot loop depends on it.
void TakeClassCountOfGrade(TKurasuSuData &counts);

// The class counts and the roster of SelectedGrade behind every entry form
// (CurKurasuSuData, CurNameData), loaded anew; the busy window shows a
// third done after the class count. Release frees them.
void LoadGradeRoster(BusyScope &busy);
void ReleaseGradeRoster();

// The logged-in teacher's subject with 技術 and 家庭 counted as 技家 (the
// nine subjects with ratings and marks); a teacher without one raises
// `refusal`.
int TeacherRatedSubject(const std::string &refusal);
// The teacher's subject code as the staff list gives it (0..11; 11 none).
int TeacherKyoka();

// The entry panel's own face (button face, whatever the form's background)
// and one of its labels: 24 px in the panel's text colour.
void SetEntryPanelFace(QWidget *panel);
QLabel *EntryPanelLabel(QWidget *parent, const char *name, int left, int top);
// A label of an entry panel in `colour` (a panel on the form's background).
QLabel *EntryPanelLabel(QWidget *parent, const char *name, int left, int top, const QColor &colour);

// Beside the grid of a form of one column a subject: `lblTestName` (the
// grade and the test or term, 32 px in the window colour) above the panel,
// and `lblAttention` (yellow 12 px, what a blank means) below it.
QLabel *NewTestNameLabel(QWidget *form, const QRect &geometry);
// What `lblTestName` shows: a long test name in a smaller font, down to
// one that still reads, and beyond that cut short with its tool tip.
void ShowTestName(QLabel &label, const QString &text);
QLabel *NewAttentionLabel(QWidget *form, const QString &text, const QRect &geometry);

// The entry panel's raised frame, the edit box inside it (24 px, no input
// method: entries are digits and Latin letters) and its enter button
// "入力  [ENTER]" in `px` pixels.
QFrame *NewEntryPanel(QWidget *form, const char *name, const QRect &geometry, int lineWidth);
QLineEdit *NewEntryEdit(QWidget *panel, const char *name, const QRect &geometry);
QPushButton *NewEnterButton(QWidget *panel, int px, const QRect &geometry);

// The tint of a student's row by the sex cell (column 2): light blue for
// boys, light pink for girls; `otherwise` for anybody else.
QColor SexTint(const StringGrid &grid, int row, const QColor &otherwise);

// The line under every fifth student of a class (number in column 0), on
// the grid line below a non-fixed cell.
void DrawFifthStudentLine(QPainter &painter, const StringGrid &grid, const StringGrid::DrawCellArgs &cell);

// The student grid of an entry form before its data: three fixed columns
// (number, name, sex) and the heading row, 16 px rows, a vertical scroll bar
// and no default drawing (the form paints its cells).
StringGrid *NewEntryGrid(QWidget *form, const char *name, const QRect &geometry, int colCount);

// The fixed columns of every student slot of the grade: headings, widths,
// the slot's number, name and sex.
void FillStudentColumns(StringGrid &grid, const TNameData &names);

// A cell of a grid with one column a subject where only the current column
// takes entries: the others greyed, the 保体 column tinting boys' and girls'
// rows when `tintsPhysEd`, the fifth-student line.
void DrawSubjectColumnCell(QPainter &painter, const StringGrid &grid, const StringGrid::DrawCellArgs &cell,
                           bool tintsPhysEd);

// The up / down spin button beside the edit box, its halves on top of each
// other; named `name`, `name`Up and `name`Down.
struct SpinButton {
    QWidget *frame;
    QToolButton *up;
    QToolButton *down;
};
SpinButton NewSpinButton(QWidget *parent, const QString &name, const QRect &geometry);

// "保存しないで終了": red 8 px text with the cancel icon.
QPushButton *NewNoSaveButton(QWidget *form, const QRect &geometry);

// The value typed into `edit` for a student's cell as `parse` reads it (a
// score, a mark; 255 for no value). A refused number beeps, has `restore`
// show the stored value in the cell again, clears the edit box and gives
// nothing; a typo restores the cell too and raises its ConvertError.
std::optional<std::uint8_t> TakeWholeEntry(QLineEdit &edit, ScoreEntry (*parse)(std::string_view),
                                           const std::function<void()> &restore);

// One row up or down the student grid, staying inside it.
void MoveRowUp(StringGrid &grid);
void MoveRowDown(StringGrid &grid);

// A slot of the grid holding a student: a row below the headings with a
// sex cell (an empty slot, or a name without a sex, takes no entry).
bool IsStudentRow(const StringGrid &grid, int row);

// The entry panel's labels mirror the current cell: the student's number
// and name, the column's heading.
void MirrorCurrentCell(const StringGrid &grid, int col, int row, QLabel *id, QLabel *name, QLabel *heading);

// The wiring every entry form has: a click or a double click on the grid
// calls `select`, the spin button moves a row, `noSave` (Escape too) closes
// the form without saving, and the edit box's keys go to the form's event
// filter.
void WireEntryForm(Form &form, StringGrid &grid, const SpinButton &spin, QPushButton *noSave, QLineEdit *edit,
                   const std::function<void()> &select);

// The keys of the edit box: Enter presses `enter`, the arrows up and down
// move a row. True when `event` was one of them.
bool EntryEditKey(QEvent *event, QPushButton *enter, StringGrid &grid, QWidget *form);

// The opening of an entry form: `open` selects and loads (false: the
// teacher chose nothing). A failure shows its error; either way the form
// closes and false comes back.
bool OpenEntryForm(Form &form, const std::function<bool()> &open);

// Saving behind the busy window; a failure shows its error and leaves the
// entries and their flags for another try. True once saved.
bool SaveEntries(QWidget *form, const std::function<void()> &save);

}  // namespace dorv
