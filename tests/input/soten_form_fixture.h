// What the raw-score form tests share besides the entry-form school: one
// grade's roster, its score workbooks and test names, the selection
// dialogs, and driving one opening of a form as a teacher does: pick grade
// and test in the dialog, then type into the edit box and press Enter.
#pragma once

#include "input/DorvInputSoten.h"

#include "entry_form_fixture.h"
#include "schooldata/test_names.h"

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
class SotenSchool : public EntrySchool {
public:
    static constexpr int kGrade = 2;
    static constexpr int kTest = 2;

    SotenSchool();
    ~SotenSchool();

    void setRoster(const std::vector<Student> &students) const;

    std::filesystem::path regular() const { return folder.Grade(kGrade, "１学期期末テスト.xls"); }
    std::filesystem::path proficiency() const { return folder.Grade(kGrade, "第２回実力テスト.xls"); }

    TTeikiTestName teikiNames;
    TJitsuTestName jitsuNames;
    std::unique_ptr<TfrmSelectTeiki> selectTeiki;
    std::unique_ptr<TfrmSelectJitsu> selectJitsu;
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
