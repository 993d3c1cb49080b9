#include "print/pages/kojin_page.h"

#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/name_data.h"
#include "schooldata/numfmt.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"

namespace dorv {
namespace {

void SetSize(print::TCanvas &canvas, double size) {
    print::TCanvasFont font = canvas.Font();
    font.Size = size;
    canvas.SetFont(font);
}

// The nine subjects by the names the class list uses, then the five-subject
// total and average.
std::string SubjectHeading() {
    std::string line = "　　　　";
    for (int j = 0; j <= 8; ++j) line += std::string(KyokaNames[j]) + "　";
    return line + "５計　５平均";
}

}  // namespace

print::TRect KojinChartRect(int subject) {
    // 国語..英語 down the left column, 音楽..技家 down the right one.
    if (subject < 5) return {500, 1100 + 1100 * subject, 1900, 2200 + 1100 * subject};
    const int row = subject - 5;
    return {2500, 1100 + 1100 * row, 3900, 2200 + 1100 * row};
}

bool KojinPrintsChart(const TCalcTest &calc, int subject) {
    if (subject < 0 || subject > 8) return false;
    return subject < 5 || calc.HasScores[subject];
}

int KojinBand(const TSotenData &scores, int slot, int subject) {
    const std::uint8_t v = scores.Score[slot][subject];
    if (v > 100) return -1;
    return v == 100 ? 9 : v / 10;
}

void PrintKojinText(print::TCanvas &canvas, const TKojinSource &source, int classNo, int number) {
    if (classNo < 1 || classNo > 10 || number < 1 || number > 42) return;
    const int s = SlotOf(classNo, number);
    const std::string &name = source.Names.Names[s];
    if (name.empty()) return;
    const TCalcTest &calc = source.Calc;
    const bool regular = calc.CalcTestId.TestKind == 0;

    canvas.SetUnitScale(kKojinUnitX, kKojinUnitY);
    print::TCanvasFont font = canvas.Font();
    font.Colour = print::kBlack;
    canvas.SetFont(font);

    SetSize(canvas, 4);
    canvas.TextOut(200, 40, source.EraText + "年度" + source.TestName + "テスト" + "個人結果");
    SetSize(canvas, 3);
    canvas.TextOut(360, 85,
                   source.SchoolName + "  " + std::to_string(calc.CalcGrade) + "年" + std::to_string(classNo) + "組" +
                       std::to_string(number) + "番　" + name);
    SetSize(canvas, 2);
    canvas.TextOut(100, 120, SubjectHeading());
    canvas.TextOut(100, 150, "素点");
    canvas.TextOut(100, 180, "平均");

    const int subjects = regular ? 9 : 5;
    for (int j = 0; j < subjects; ++j) {
        const std::uint8_t v = source.Scores.Score[s][j];
        if (v <= 100) canvas.TextOut(165 + 50 * j, 150, FormatNumber("%3d", v));
        if (calc.HasScores[j] && calc.GradeCount[j] > 0)
            canvas.TextOut(170 + 50 * j, 180,
                           FormatNumber("###", static_cast<double>(calc.GradeSum[j]) / calc.GradeCount[j]));
    }
    const std::int32_t total5 = calc.Total5[s];
    if (total5 <= TCalcTest::kMaxTotal5) {
        canvas.TextOut(606, 150, FormatNumber("%3d", total5));
        canvas.TextOut(661, 150, FormatNumber("##.#", total5 / 5.0));
    }
    if (calc.GradeCnt5 > 0) {
        const double mean5 = static_cast<double>(calc.GradeSum5) / calc.GradeCnt5;
        canvas.TextOut(606, 180, FormatNumber("###", mean5));
        canvas.TextOut(661, 180, FormatNumber("##.#", mean5 / 5));
    }
    canvas.TextOut(600, 1160, "※１９点以下はまとめてあります");
    canvas.TextOut(600, 1200, source.SchoolName + source.SchoolSection);
    canvas.SetUnitScale(1, 1);
}

}  // namespace dorv
