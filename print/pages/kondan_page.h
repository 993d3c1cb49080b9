// The parent-conference sheet (懇談資料) of a term: one portrait page per
// student with the ratings and viewpoint marks of every term so far, the
// regular tests of the year so far and the proficiency tests held.
//
// The sheet keeps a data set of its own (TKondanData), loaded for the
// selected grade and term; the loading moves the selection globals to name
// each workbook and puts them back on every path, failures included.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "print/layer/canvas.h"

namespace dorv {

class TSotenData;
class THyoteiData;
class TNameData;
class TKantenData;
class TTestNameSet;

struct TKondanData {
    TKondanData();
    ~TKondanData();
    std::unique_ptr<TSotenData> RegularTests[6];      // [1..5]; those of the term so far are loaded
    std::unique_ptr<TSotenData> ProficiencyTests[6];  // [1..5]
    std::unique_ptr<THyoteiData> TermRatings[4];      // [1..3]; the terms up to Term are loaded
    std::uint8_t Grade = 0;
    std::uint8_t Term = 0;
};

// Regular tests of a term so far: 2 in term 1, 4 in term 2, 5 in term 3.
int KondanRegularTestCount(int term);

// Loads for SelectedGrade and SelectedTerm: the class counts (and
// ClassCountOfGrade), both test-name sets, the term viewpoint labels, the
// roster into CurNameData, then the regular tests and ratings of the term
// so far and the five proficiency tests (a proficiency workbook that does
// not exist is a test without scores). `progress` gets 0, 33, 66 and 100.
// SelectedTest, TestId and SelectedTerm are as before afterwards, also when
// a load raises.
void LoadKondanData(TKondanData &data, const std::function<void(int)> &progress = {});

// Everything one sheet reads.
struct TKondanSource {
    const TKondanData &Data;
    const TNameData &Names;
    const TKantenData &Kanten;
    const TTestNameSet &Teiki;
    const TTestNameSet &Jitsu;
    std::string SchoolName;
    std::string EraText;  // the school year's era text
};

std::string KondanTitle(const std::string &eraText, int term);
// The label of test line 1: regular test 5's name is cut to ten bytes (a
// character cut in two becomes a blank) after two full-width blanks are
// appended, so its column keeps its width.
std::string KondanScoreLabel(const std::string &testName, bool regularTest5);
// Line 1 (the student's scores) and line 2 (the grade's averages) of a test
// over `subjects` subjects (9 regular, 5 proficiency).
std::string KondanScoreLine(const std::string &label, const TSotenData &test, int slot, int subjects);
std::string KondanAverageLine(const TSotenData &test, int subjects);

// One student's sheet on the current page; nothing for a free slot.
void PrintKondanSheet(print::TCanvas &canvas, const TKondanSource &source, int classNo, int number);

}  // namespace dorv
