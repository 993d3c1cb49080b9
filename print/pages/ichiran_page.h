// The class result list (成績一覧表): one landscape page per class with
// every attendance number's scores and deviation values, the totals, the
// ranks or the other subjects, and the class and grade averages.
//
// The list prints what the statistics were computed for: the grade, test
// kind and class count stored in the TCalcTest, never the selection as it
// stands later. Names and scores come with the statistics (the caller hands
// the roster of that grade).
#pragma once

#include <cstdint>
#include <string>

#include "print/layer/canvas.h"

namespace dorv {

class TCalcTest;
class TNameData;
class TSotenData;
class TTestNameSet;

// Everything one print reads.
struct TIchiranSource {
    const TCalcTest &Calc;
    const TNameData &Names;  // the roster of Calc.CalcGrade
    const TSotenData &Scores;
    std::string TestName;
    std::string SchoolName;
};

// Positions are given in screen units; the page is in printer pixels.
struct TIchiranScale {
    std::uint16_t ScreenPpiX = 96, ScreenPpiY = 96;
    std::uint16_t PrinterDpiX = 600, PrinterDpiY = 600;
    std::uint16_t DotsX20 = 125, DotsY20 = 125;  // a 20-unit margin in printer pixels
    float ScaleX = 6.25f, ScaleY = 6.25f;

    static TIchiranScale For(int screenPpi, int printerDpiX, int printerDpiY);
    // The printer pixel of a screen position: nearest integer (a half to the
    // even neighbour) of the scaled position, plus the margin.
    int X(int x) const;
    int Y(int y) const;
};

// 9 for a regular test, 5 for a proficiency test.
std::uint8_t IchiranSubjectCount(const TCalcTest &calc);

// The name of the test the statistics belong to, from the set of its kind;
// "" when that set is missing.
std::string IchiranTestName(const TCalcTest &calc, const TTestNameSet *teiki, const TTestNameSet *jitsu);

std::string IchiranTitle(int grade, int classNo, const std::string &testName);
std::string IchiranHeaderLine(std::uint8_t subjectCount);
// The line of attendance number `number` (1..42) of class `classNo`.
std::string IchiranRowLine(const TIchiranSource &source, std::uint8_t subjectCount, int classNo, int number);
std::string IchiranClassAverageLine(const TCalcTest &calc, std::uint8_t subjectCount, int classNo);
std::string IchiranGradeAverageLine(const TCalcTest &calc, std::uint8_t subjectCount);

// The pages of one print, classes 1 to Calc.ClassCount; nothing at all for
// no classes. Sets the canvas's font size and pitch (the face stays) and
// leaves its brush white.
void PrintClassLists(print::TCanvas &canvas, const TIchiranSource &source, const TIchiranScale &scale);

}  // namespace dorv
