#include "print/pages/ichiran_page.h"

#include <algorithm>
#include <cmath>

#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/name_data.h"
#include "schooldata/numfmt.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

namespace dorv {
namespace {

std::string Blanks(int count) { return RepeatChar(static_cast<std::uint8_t>(count), ' '); }

// sum / count in the pattern; a count of 0 has no average and leaves the
// field blank at the width the number would take.
std::string Average(std::string_view pattern, double sum, double count, double divisor = 1) {
    if (count == 0) return BlankNumber(pattern);
    return FormatNumber(pattern, sum / count / divisor);
}

// "%5.1f" of sum / count, "(", "%2d" of count, ")": an average with its count.
std::string AverageWithCount(std::string_view avgPattern, std::string_view countPattern, double sum, int count,
                             double divisor = 1) {
    return Average(avgPattern, sum, count, divisor) + "(" + FormatNumber(countPattern, count) + ")";
}

bool ClassInRange(int classNo) { return classNo >= 1 && classNo <= TCalcTest::kClasses; }

}  // namespace

TIchiranScale TIchiranScale::For(int screenPpi, int printerDpiX, int printerDpiY) {
    TIchiranScale s;
    // A screen that reports no resolution is taken as the usual 96.
    const int ppi = screenPpi > 0 ? std::min(screenPpi, 65535) : 96;
    s.ScreenPpiX = s.ScreenPpiY = static_cast<std::uint16_t>(ppi);
    s.PrinterDpiX = static_cast<std::uint16_t>(std::clamp(printerDpiX, 0, 65535));
    s.PrinterDpiY = static_cast<std::uint16_t>(std::clamp(printerDpiY, 0, 65535));
    const long double sx = static_cast<long double>(s.PrinterDpiX) / ppi;
    const long double sy = static_cast<long double>(s.PrinterDpiY) / ppi;
    s.DotsX20 = static_cast<std::uint16_t>(std::min(sx * 20, 65535.0L));
    s.DotsY20 = static_cast<std::uint16_t>(std::min(sy * 20, 65535.0L));
    s.ScaleX = static_cast<float>(sx);
    s.ScaleY = static_cast<float>(sy);
    return s;
}

int TIchiranScale::X(int x) const { return static_cast<int>(std::lrint(x * static_cast<double>(ScaleX))) + DotsX20; }
int TIchiranScale::Y(int y) const { return static_cast<int>(std::lrint(y * static_cast<double>(ScaleY))) + DotsY20; }

std::uint8_t IchiranSubjectCount(const TCalcTest &calc) { return calc.CalcTestId.TestKind == 0 ? 9 : 5; }

std::string IchiranTestName(const TCalcTest &calc, const TTestNameSet *teiki, const TTestNameSet *jitsu) {
    const TTestNameSet *set = calc.CalcTestId.TestKind == 0 ? teiki : jitsu;
    if (set == nullptr || calc.CalcGrade > 3 || calc.CalcTestId.TestNo > 5) return {};
    return set->TestName[calc.CalcGrade][calc.CalcTestId.TestNo];
}

std::string IchiranTitle(int grade, int classNo, const std::string &testName) {
    return "成績一覧表 (" + std::to_string(grade) + "年" + std::to_string(classNo) + "組 " + testName + "テスト)";
}

std::string IchiranHeaderLine(std::uint8_t subjectCount) {
    std::string line = "No.　名　　　前　 ";
    for (int j = 0; j < 5; ++j) line += " " + std::string(KyokaNames[j]) + "    ";
    line += "  五科計     五平均　";
    if (subjectCount == 5) {
        line += "   三科計　    三平均   校内席次 男女別";
    } else {
        for (int j = 5; j <= 8; ++j) line += " " + std::string(KyokaNames[j]) + "    ";
    }
    return line;
}

std::string IchiranRowLine(const TIchiranSource &source, std::uint8_t subjectCount, int classNo, int number) {
    std::string line = FormatNumber("%2d", number) + " ";
    if (!ClassInRange(classNo) || number < 1 || number > kStudentsPerClass) return line;
    const int s = SlotOf(classNo, number);
    const std::string &name = source.Names.Names[s];
    if (name.empty()) return line + "*" + Blanks(13);
    line += name;

    const TCalcTest &calc = source.Calc;
    const auto &score = source.Scores.Score[s];
    float d5 = 0, d3 = 0;  // single precision, as the sums are kept
    for (int j = 0; j < 5; ++j) {
        const std::uint8_t v = score[j];
        if (v > 100) {
            line += "   欠席  ";
            continue;
        }
        const float d = DeviationValue(v, calc.Mean[j], calc.StdDev[j]);
        d5 += d;
        if (IsThreeSubject(j)) d3 += d;
        line += FormatNumber("%3d", v) + "(" + FormatNumber("%3.1f", d) + ")";
    }

    const std::int32_t total5 = calc.Total5[s];
    if (total5 > TCalcTest::kMaxTotal5) {
        line += Blanks(22);
    } else {
        line += FormatNumber("%4d", total5) + "(" + FormatNumber("%5.1f", d5) + ")" +
                FormatNumber("%5.1f", total5 / 5.0) + "(" + FormatNumber("%4.1f", d5 / 5.0) + ")";
    }

    if (subjectCount == 5) {
        const std::int32_t total3 = calc.Total3[s];
        if (total3 > TCalcTest::kMaxTotal3) {
            line += Blanks(22);
        } else {
            line += FormatNumber("%4d", total3) + "(" + FormatNumber("%5.1f", d3) + ")" +
                    FormatNumber("%5.1f", total3 / 3.0) + "(" + FormatNumber("%4.1f", d3 / 3.0) + ")";
        }
        line += calc.Rank[s] < 1 ? Blanks(6) : FormatNumber("%6d", calc.Rank[s]);
        line += calc.RankBySex[s] < 1 ? Blanks(6) : FormatNumber("%6d", calc.RankBySex[s]);
    } else {
        for (int j = 5; j <= 8; ++j) {
            if (!calc.HasScores[j]) line += Blanks(9);
            else if (score[j] > 100) line += "   欠席   ";
            else line += FormatNumber("%3d", score[j]) + Blanks(6);
        }
    }
    return line;
}

std::string IchiranClassAverageLine(const TCalcTest &calc, std::uint8_t subjectCount, int classNo) {
    std::string line = "クラス平均(人数) ";
    if (!ClassInRange(classNo)) return line;
    const int c = classNo;
    for (int j = 0; j < 5; ++j) line += AverageWithCount("%5.1f", "%2d", calc.ClassSum[c][j], calc.ClassTally[c][j]);
    line += AverageWithCount("%6.1f", "%3d", calc.ClassSum5[c], calc.ClassCnt5[c]) +
            AverageWithCount("%5.1f", "%3d", calc.ClassSum5[c], calc.ClassCnt5[c], 5) + " ";
    if (subjectCount == 5) {
        line += AverageWithCount("%6.1f", "%3d", calc.ClassSum3[c], calc.ClassCnt3[c]) +
                AverageWithCount("%5.1f", "%3d", calc.ClassSum3[c], calc.ClassCnt3[c], 3) + " ";
    } else {
        for (int j = 5; j <= 8; ++j) {
            line += calc.HasScores[j] ? AverageWithCount("%5.1f", "%2d", calc.ClassSum[c][j], calc.ClassTally[c][j])
                                      : Blanks(9);
        }
    }
    return line;
}

std::string IchiranGradeAverageLine(const TCalcTest &calc, std::uint8_t subjectCount) {
    std::string line = "学年　平均(人数)  ";
    for (int j = 0; j < 5; ++j) line += AverageWithCount("%4.1f", "%3d", calc.GradeSum[j], calc.GradeCount[j]);
    line += AverageWithCount("%5.1f", "%3d", calc.GradeSum5, calc.GradeCnt5) +
            AverageWithCount("%5.1f", "%3d", calc.GradeSum5, calc.GradeCnt5, 5) + " ";
    if (subjectCount == 5) {
        line += AverageWithCount("%6.1f", "%3d", calc.GradeSum3, calc.GradeCnt3) +
                AverageWithCount("%5.1f", "%3d", calc.GradeSum3, calc.GradeCnt3, 3) + " ";
    } else {
        line += " ";
        for (int j = 5; j <= 8; ++j)
            line +=
                calc.HasScores[j] ? AverageWithCount("%4.1f", "%3d", calc.GradeSum[j], calc.GradeCount[j]) : Blanks(9);
    }
    return line;
}

void PrintClassLists(print::TCanvas &canvas, const TIchiranSource &source, const TIchiranScale &scale) {
    const TCalcTest &calc = source.Calc;
    const std::uint8_t subjectCount = IchiranSubjectCount(calc);
    // One bound for the classes and for the page breaks between them.
    const int classCount = std::min<int>(calc.ClassCount, TCalcTest::kClasses);
    for (int c = 1; c <= classCount; ++c) {
        print::TCanvasFont font = canvas.Font();
        font.Size = 18;
        font.FixedPitch = true;
        canvas.SetFont(font);
        canvas.TextOut(scale.X(100), scale.Y(0), IchiranTitle(calc.CalcGrade, c, source.TestName));

        font.Size = 9;
        canvas.SetFont(font);
        canvas.TextOut(scale.X(550), scale.Y(8), source.SchoolName);

        const int lineHeight = static_cast<int>(std::lrint(canvas.Font().Size * 5 / 3));
        canvas.TextOut(scale.X(0), scale.Y(30), IchiranHeaderLine(subjectCount));
        for (int n = 1; n <= kStudentsPerClass; ++n) {
            canvas.SetBrushColour(n % 2 == 1 ? print::kSilver : print::kWhite);
            canvas.TextOut(scale.X(0), scale.Y(n * lineHeight + 30), IchiranRowLine(source, subjectCount, c, n));
        }
        canvas.TextOut(scale.X(0), scale.Y(46 * lineHeight), IchiranClassAverageLine(calc, subjectCount, c));
        canvas.TextOut(scale.X(0), scale.Y(48 * lineHeight), IchiranGradeAverageLine(calc, subjectCount));
        if (c < classCount) canvas.NewPage();
    }
}

}  // namespace dorv
