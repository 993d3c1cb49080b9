// Pieces every entry form of the program needs alike: the class count of
// the selected grade, the logged-in teacher's subject, the panel labels and
// the parts of a grid cell's drawing that all entry grids share.
#pragma once

#include "schooldata/desktop/string_grid.h"

#include <QColor>

#include <cstdint>
#include <string>

class QLabel;
class QPainter;
class QWidget;

namespace dorv {

class TKurasuSuData;

// Loads the class counts and sets ClassCountOfGrade for SelectedGrade; a
// count outside 1..10 raises, since every slot loop depends on it.
void TakeClassCountOfGrade(TKurasuSuData &counts);

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

// The tint of a student's row by the sex cell (column 2): light blue for
// boys, light pink for girls; `otherwise` for anybody else.
QColor SexTint(const StringGrid &grid, int row, const QColor &otherwise);

// The line under every fifth student of a class (number in column 0), on
// the grid line below a non-fixed cell.
void DrawFifthStudentLine(QPainter &painter, const StringGrid &grid, const StringGrid::DrawCellArgs &cell);

}  // namespace dorv
