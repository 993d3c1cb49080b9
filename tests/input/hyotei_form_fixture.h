// What the rating and school-report form tests share besides the
// entry-form school: grade 2's roster, the viewpoint-item workbooks, rating
// and school-report workbooks, the selection dialogs and their usual
// choices.
#pragma once

#include "entry_form_fixture.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dorv {
class StringGrid;
class TfrmSelectHyotei;
class TfrmSelectGakunen;
class TfrmSelectNaishin;
}  // namespace dorv

namespace dorv::testing {

// Grade 2, term 2 is what the dialogs pick. Class 1 has students in slots
// 1, 2, 4, 5, 6 (slot 3 is empty), class 2 in slot 43 and 44.
class RatingSchool : public EntrySchool {
public:
    static constexpr int kGrade = 2;
    static constexpr int kTerm = 2;

    RatingSchool();
    ~RatingSchool();

    // Viewpoint labels per subject sheet (0..8) of one viewpoint workbook.
    void setKanten(const std::string &workbook, const std::map<int, std::vector<std::string>> &labels) const;
    // A rating workbook with the Data sheet and the nine subject sheets;
    // `cells` by "Sheet!B2".
    void writeRatings(const std::filesystem::path &path, const std::map<std::string, std::string> &cells) const;

    std::filesystem::path term() const { return folder.Grade(kGrade, "２学期評定.xls"); }
    std::filesystem::path youroku() const { return folder.Grade(kGrade, "指導要録評定.xls"); }
    std::filesystem::path naishin() const { return folder.Grade(kGrade, "２学期内申.xls"); }

    std::unique_ptr<TfrmSelectHyotei> selectHyotei;
    std::unique_ptr<TfrmSelectGakunen> selectGakunen;
    std::unique_ptr<TfrmSelectNaishin> selectNaishin;
};

// The usual choices of RatingSchool.
void ChooseTerm(TfrmSelectHyotei &dialog);
void ChooseGrade(TfrmSelectGakunen &dialog);
void ChooseNaishin(TfrmSelectNaishin &dialog);

// How many pixels of a grid cell, as painted now, are clearly red (text
// is smoothed, so few are pure red).
int RedPixels(StringGrid &grid, int col, int row);

}  // namespace dorv::testing
