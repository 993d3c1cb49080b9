// What the raw-score form tests share: a small school in a temporary data
// folder (class counts, one grade's roster, its score workbooks), the
// selection dialogs and the busy window, a teacher of a chosen subject, and
// driving one opening of a form as a teacher does: pick grade and test in
// the dialog, then type into the edit box and press Enter.
#pragma once

#include "input/DorvInputSoten.h"

#include "recording_services.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"
#include "school_fixture.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dorv {
class TfrmSelectTeiki;
class TfrmSelectJitsu;
class TfrmWait;
class SelectGridDialog;
}  // namespace dorv

namespace dorv::testing {

struct Student {
    int slot;
    std::string name;
    std::string sex;  // "男", "女" or "" (no sex: not a student row)
};

// Grade 2 is the grade under test; its regular test 2 and proficiency
// test 2 have workbooks of their own.
class SotenSchool {
public:
    static constexpr int kGrade = 2;
    static constexpr int kTest = 2;

    SotenSchool();
    ~SotenSchool();

    void setClassCounts(int grade1, int grade2, int grade3) const;
    void setRoster(const std::vector<Student> &students) const;
    void setTeacher(int kyoka);

    std::filesystem::path regular() const { return folder.Grade(kGrade, "１学期期末テスト.xls"); }
    std::filesystem::path proficiency() const { return folder.Grade(kGrade, "第２回実力テスト.xls"); }

    SchoolFolder folder;
    RecordingServices boxes;
    TTeachers teachers;
    TTeikiTestName teikiNames;
    TJitsuTestName jitsuNames;
    std::unique_ptr<TfrmSelectTeiki> selectTeiki;
    std::unique_ptr<TfrmSelectJitsu> selectJitsu;
    std::unique_ptr<TfrmWait> wait;
};

struct Opening {
    bool opened = false;  // the steps ran inside the open form
    int result = -1;
};

// One opening: chooses the grade and test of SotenSchool in `dialog`, runs
// `steps` once `form` is up, closes a form the steps left open.
Opening OpenForm(TfrmDorvInputSoten &form, SelectGridDialog &dialog, const std::function<void()> &steps);

// As a teacher: the text over the mirrored value, then Enter.
void TypeAndEnter(TfrmDorvInputSoten &form, const QString &text);

// The form painted into an image, and the colour at a point of a cell of
// its grid (`dx`, `dy` from the cell's top left corner).
QColor GridPixel(TfrmDorvInputSoten &form, int col, int row, int dx, int dy);

}  // namespace dorv::testing
