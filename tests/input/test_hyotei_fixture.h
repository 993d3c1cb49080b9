// What the rating and school-report form tests share: a small school in a
// temporary data folder (class counts, grade 2's roster, the viewpoint-item
// workbooks, rating and school-report workbooks), the selection dialogs
// and the busy window, a teacher of a chosen subject, and one opening of a
// form driven as a teacher drives it.
#pragma once

#include "recording_services.h"
#include "school_fixture.h"
#include "schooldata/teachers.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;

namespace dorv {
class Form;
class StringGrid;
class TfrmSelectHyotei;
class TfrmSelectGakunen;
class TfrmSelectNaishin;
class TfrmWait;
}  // namespace dorv

namespace dorv::testing {

// Grade 2, term 2 is what the dialogs pick. Class 1 has students in slots
// 1, 2, 4, 5, 6 (slot 3 is empty), class 2 in slot 43 and 44.
class RatingSchool {
public:
    static constexpr int kGrade = 2;
    static constexpr int kTerm = 2;

    RatingSchool();
    ~RatingSchool();

    void setClassCounts(int grade1, int grade2, int grade3) const;
    void setTeacher(int kyoka);
    // Viewpoint labels per subject sheet (0..8) of one viewpoint workbook.
    void setKanten(const std::string &workbook, const std::map<int, std::vector<std::string>> &labels) const;
    // A rating workbook with the Data sheet and the nine subject sheets;
    // `cells` by "Sheet!B2".
    void writeRatings(const std::filesystem::path &path, const std::map<std::string, std::string> &cells) const;

    std::filesystem::path term() const { return folder.Grade(kGrade, "２学期評定.xls"); }
    std::filesystem::path youroku() const { return folder.Grade(kGrade, "指導要録評定.xls"); }
    std::filesystem::path naishin() const { return folder.Grade(kGrade, "２学期内申.xls"); }

    SchoolFolder folder;
    RecordingServices boxes;
    TTeachers teachers;
    std::unique_ptr<TfrmSelectHyotei> selectHyotei;
    std::unique_ptr<TfrmSelectGakunen> selectGakunen;
    std::unique_ptr<TfrmSelectNaishin> selectNaishin;
    std::unique_ptr<TfrmWait> wait;
};

struct Opening {
    bool opened = false;  // the steps ran inside the open form
    int result = -1;
};

// One opening: `choose` runs once `dialog` is up (and must close it),
// `steps` once `form` is up; a form the steps left open is closed.
Opening OpenWith(Form &form, Form &dialog, const std::function<void()> &choose, const std::function<void()> &steps);

// The usual choices of RatingSchool.
void ChooseTerm(TfrmSelectHyotei &dialog);
void ChooseGrade(TfrmSelectGakunen &dialog);
void ChooseNaishin(TfrmSelectNaishin &dialog);

// As a teacher: the text over the mirrored value, then Enter.
void TypeAndEnter(QLineEdit &edit, const QString &text);

// How many pixels of a grid cell, as painted now, are clearly red (text
// is smoothed, so few are pure red).
int RedPixels(StringGrid &grid, int col, int row);
QColor GridPixel(StringGrid &grid, int col, int row, int dx, int dy);

}  // namespace dorv::testing
