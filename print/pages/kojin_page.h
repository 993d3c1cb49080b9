// The individual result sheet (個人票): one portrait page per student with
// the title, the student, the scores of the test beside the grade's means,
// the five-subject total and average, and one frequency chart per subject
// with the student's own band marked (the charts are the frequency view's;
// the form draws them).
//
// The sheet prints what the statistics were computed for: their grade, test
// kind and classes.
#pragma once

#include <string>

#include "print/layer/canvas.h"

namespace dorv {

class TCalcTest;
class TNameData;
class TSotenData;

struct TKojinSource {
    const TCalcTest &Calc;
    const TNameData &Names;  // the roster of Calc.CalcGrade
    const TSotenData &Scores;
    std::string TestName;
    std::string SchoolName;
    std::string SchoolSection;
    std::string EraText;  // the school year's era text
};

// The sheet's text is laid out in the units a chart leaves on the page: one
// unit is this many device pixels across and down (the charts' printed
// size over their screen size).
inline constexpr double kKojinUnitX = 1400.0 / 297;
inline constexpr double kKojinUnitY = 1100.0 / 209;

// Where subject j's chart goes, in device pixels.
print::TRect KojinChartRect(int subject);
// Whether subject j's chart is printed: the five core subjects always, the
// others when the grade has scores in them.
bool KojinPrintsChart(const TCalcTest &calc, int subject);
// The student's band of subject j (score div 10, 100 in band 9), -1 without
// a score.
int KojinBand(const TSotenData &scores, int slot, int subject);

// The text of one sheet; nothing for a free slot. Leaves the canvas at the
// plain device scale.
void PrintKojinText(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number);

}  // namespace dorv
