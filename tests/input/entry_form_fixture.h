// What every entry-form test needs, whichever form: a school in a
// temporary data folder with its class counts, recorded message boxes, the
// busy window and a logged-in teacher; one opening of a modal form driven as
// a teacher drives it (a choice in the selection dialog, then steps inside
// the form), typing into an edit box and reading back a painted grid cell.
#pragma once

#include "recording_services.h"
#include "school_fixture.h"
#include "schooldata/teachers.h"

#include <QColor>
#include <QString>

#include <functional>
#include <memory>

class QLineEdit;

namespace dorv {
class Form;
class StringGrid;
class TfrmWait;
}  // namespace dorv

namespace dorv::testing {

// Classes 3, 2 and 1 in the three grades; staff member 1 (1001, 山田太郎)
// is the logged-in teacher, of subject `kyoka`. The globals it sets are
// cleared again on destruction.
class EntrySchool {
public:
    explicit EntrySchool(int kyoka);
    ~EntrySchool();
    EntrySchool(const EntrySchool &) = delete;
    EntrySchool &operator=(const EntrySchool &) = delete;

    // KurasuSu.xls with the class counts of the three grades.
    void setClassCounts(int grade1, int grade2, int grade3) const;
    void setTeacher(int kyoka);

    SchoolFolder folder;
    RecordingServices boxes;
    TTeachers teachers;
    std::unique_ptr<TfrmWait> wait;
};

struct Opening {
    bool opened = false;  // the steps ran inside the open form
    int result = -1;
};

// One opening: `choose` runs once `dialog` is up (and must close it),
// `steps` once `form` is up; a form the steps left open is closed.
Opening OpenWith(Form &form, Form &dialog, const std::function<void()> &choose, const std::function<void()> &steps);

// An opening that must fail: the steps never ran, the form and the busy
// window are shut, and exactly one error was shown (`error`, unless empty).
void ExpectRefusedOpening(const Opening &opening, const Form &form, const RecordingServices &boxes,
                          const QString &error);

// As a teacher: the text over the mirrored value, then Enter.
void TypeAndEnter(QLineEdit &edit, const QString &text);

// The colour at a point of a grid cell as painted now (`dx`, `dy` from the
// cell's top left corner); invalid for a cell out of sight.
QColor GridPixel(StringGrid &grid, int col, int row, int dx, int dy);

}  // namespace dorv::testing
