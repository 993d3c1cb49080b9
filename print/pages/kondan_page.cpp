#include "print/pages/kondan_page.h"

#include <algorithm>
#include <filesystem>

#include "print/pages/fullwidth.h"
#include "print/stats/calc_all_stats.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/numfmt.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "workbook/cp932.h"

namespace dorv {
namespace {

constexpr std::string_view kFullBlank = "　";

// Puts the selection back however the loading ends.
class TSelectionKeeper {
public:
    TSelectionKeeper() : test_(SelectedTest), id_(TestId), term_(SelectedTerm) {}
    ~TSelectionKeeper() {
        SelectedTest = test_;
        TestId = id_;
        SelectedTerm = term_;
    }
    TSelectionKeeper(const TSelectionKeeper &) = delete;
    TSelectionKeeper &operator=(const TSelectionKeeper &) = delete;

private:
    std::uint8_t test_;
    TTestId id_;
    std::uint8_t term_;
};

void SelectTest(std::uint8_t kind, std::uint8_t t) {
    SelectedTest = t;
    TestId = {kind, t};
}

void LoadRegular(TKondanData &data, std::uint8_t t) {
    SelectTest(0, t);
    data.RegularTests[t]->LoadTest(TestId, ClassCountOfGrade);
    CalcAllStats(*data.RegularTests[t], ClassCountOfGrade);
}

void LoadRatings(TKondanData &data, std::uint8_t k) {
    SelectedTerm = k;
    data.TermRatings[k]->LoadHyotei(ClassCountOfGrade);
}

void LoadProficiency(TKondanData &data, std::uint8_t i) {
    SelectTest(1, i);
    TSotenData &test = *data.ProficiencyTests[i];
    // A proficiency test not held yet has no workbook: no scores, and the
    // sheet leaves it out.
    const std::string path = TSotenData::WorkbookPath(1);
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(std::filesystem::u8path(path), ec)) {
        for (auto &row : test.Score)
            for (auto &v : row) v = TSotenData::kEmpty;
    } else {
        test.LoadTest(TestId, ClassCountOfGrade);
    }
    CalcAllStats(test, ClassCountOfGrade);
}

std::string Blanks(int n) { return RepeatChar(static_cast<std::uint8_t>(n), ' '); }

void SetFont(print::TCanvas &canvas, std::string_view name, double size) {
    print::TCanvasFont font = canvas.Font();
    font.Name = std::string(name);
    font.Size = size;
    canvas.SetFont(font);
}

void SetSize(print::TCanvas &canvas, double size) { SetFont(canvas, canvas.Font().Name, size); }

std::string Heading(int subjects) {
    std::string line = RepeatChar(9, kFullBlank);
    for (int j = 0; j < subjects; ++j) line += std::string(KyokaNames[j]) + std::string(kFullBlank);
    return line + "５計　５平均";
}

// The box of subject b (0..8) with its top-left corner at (x, y).
void DrawSubjectBox(print::TCanvas &canvas, const TKondanSource &source, int x, int y, int slot, int b) {
    canvas.SetPenWidth(3);
    canvas.SetBrushColour(print::kWhite);
    canvas.Rectangle({x, y, x + 1800, y + 520});
    canvas.Line(x + 320, y, x + 320, y + 520);

    SetSize(canvas, 18);
    canvas.TextOut(x + 10, y + 10, std::string(KyokaNames[b]));
    const int term = source.Data.Term;
    for (int k = 1; k <= term; ++k) {
        const THyoteiData *ratings = source.Data.TermRatings[k].get();
        if (ratings == nullptr) continue;
        const std::uint8_t r = ratings->Hyotei[slot][b + 1].Rating;
        if (r <= 10) canvas.TextOut(x + 10 + 100 * (k - 1), y + 210, ToFullWidth(std::to_string(r)));
    }

    SetSize(canvas, 8);
    for (int i = 1; i <= 6; ++i) {
        const std::string &label = source.Kanten.Koumoku[b][i - 1];
        if (label.empty()) continue;
        const int line = y + 10 + 80 * (i - 1);
        canvas.TextOut(x + 340, line, label);
        for (int k = 1; k <= term; ++k) {
            const THyoteiData *ratings = source.Data.TermRatings[k].get();
            if (ratings == nullptr) continue;
            const std::uint8_t m = ratings->Hyotei[slot][b + 1].Kanten[i];
            if (m != THyoteiData::kEmpty)
                canvas.TextOut(x + 1600 + 60 * (k - 1), line, ToFullWidth(std::string(1, static_cast<char>(m))));
        }
    }
}

// Line 1 on white, line 2 on silver, the background white again after.
void DrawTestLines(print::TCanvas &canvas, const std::string &label, const TSotenData &test, int slot, int subjects,
                   int y1, int y2) {
    canvas.SetBrushColour(print::kWhite);
    canvas.TextOut(300, y1, KondanScoreLine(label, test, slot, subjects));
    canvas.SetBrushColour(print::kSilver);
    canvas.TextOut(300, y2, KondanAverageLine(test, subjects));
    canvas.SetBrushColour(print::kWhite);
}

}  // namespace

TKondanData::TKondanData() {
    for (int t = 1; t <= 5; ++t) {
        RegularTests[t] = std::make_unique<TSotenData>();
        ProficiencyTests[t] = std::make_unique<TSotenData>();
    }
    for (int k = 1; k <= 3; ++k) TermRatings[k] = std::make_unique<THyoteiData>();
}

TKondanData::~TKondanData() = default;

int KondanRegularTestCount(int term) { return term <= 1 ? 2 : term == 2 ? 4 : 5; }

void LoadKondanData(TKondanData &data, const std::function<void(int)> &progress) {
    auto step = [&](int percent) {
        if (progress) progress(percent);
    };
    TSelectionKeeper keep;
    data.Grade = SelectedGrade;
    data.Term = static_cast<std::uint8_t>(std::clamp<int>(SelectedTerm, 1, 3));
    step(0);
    CurKurasuSuData->LoadKurasuSu();
    ClassCountOfGrade = CurKurasuSuData->GradeClasses[std::clamp<int>(SelectedGrade, 0, 3)];
    CurTeikiTestName->LoadTestNames();
    CurJitsuTestName->LoadTestNames();
    CurKantenData->WorkbookName = TKantenData::kTermWorkbook;
    CurKantenData->LoadKanten();
    CurNameData->LoadMeibo(ClassCountOfGrade);
    step(33);
    step(66);
    LoadRegular(data, 1);
    LoadRegular(data, 2);
    LoadRatings(data, 1);
    if (data.Term > 1) {
        LoadRegular(data, 3);
        LoadRegular(data, 4);
        LoadRatings(data, 2);
    }
    if (data.Term > 2) {
        LoadRegular(data, 5);
        LoadRatings(data, 3);
    }
    for (std::uint8_t i = 1; i <= 5; ++i) LoadProficiency(data, i);
    step(100);
}

std::string KondanTitle(const std::string &eraText, int term) {
    return eraText + "年度" + ToFullWidth(std::to_string(term)) + "学期懇談資料";
}

std::string KondanScoreLabel(const std::string &testName, bool regularTest5) {
    if (!regularTest5) return testName + "　素点";
    std::string cut = cp932::cut(testName + "　　", 10);
    cut += Blanks(static_cast<int>(10 - cp932::width(cut)));
    return cut + "　素点";
}

std::string KondanScoreLine(const std::string &label, const TSotenData &test, int slot, int subjects) {
    std::string line = label;
    for (int j = 0; j < subjects; ++j) {
        const std::uint8_t v = test.Score[slot][j];
        line += v <= 100 ? FormatNumber("   %3d", v) : Blanks(6);
    }
    const std::int32_t total5 = test.SubjStats.Total5[slot];
    if (total5 <= 500) line += FormatNumber("   %3d", total5) + FormatNumber("   %3.0f", total5 / 5.0);
    else line += Blanks(12);
    return line;
}

std::string KondanAverageLine(const TSotenData &test, int subjects) {
    const TSubjStats &st = test.SubjStats;
    std::string line = RepeatChar(6, kFullBlank) + "平均";
    for (int j = 0; j < subjects; ++j)
        line += st.SubjCount[j] > 0 ? FormatNumber("   %3.0f", static_cast<double>(st.SubjSum[j]) / st.SubjCount[j])
                                    : Blanks(6);
    // A test without any complete total has no five-subject average.
    if (st.Total5Count > 0) {
        const double mean = static_cast<double>(st.Total5Sum) / st.Total5Count;
        line += FormatNumber("   %3.0f", mean) + FormatNumber("   %3.0f", mean / 5);
    } else {
        line += Blanks(12);
    }
    return line;
}

void PrintKondanSheet(print::TCanvas &canvas, const TKondanSource &source, int classNo, int number) {
    if (classNo < 1 || classNo > 10 || number < 1 || number > 42) return;
    const int s = SlotOf(classNo, number);
    const std::string &name = source.Names.Names[s];
    if (name.empty()) return;
    const TKondanData &data = source.Data;

    SetFont(canvas, print::kMsPGothic, 24);
    canvas.TextOut(1000, 200, KondanTitle(source.EraText, data.Term));
    SetSize(canvas, 14);
    canvas.TextOut(1800, 425,
                   source.SchoolName + "  " + std::to_string(data.Grade) + "年" + std::to_string(classNo) + "組" +
                       std::to_string(number) + "番　" + name);

    struct Box {
        int x, y, subject;
    };
    for (const Box &box : {Box{300, 800, 0}, Box{300, 1340, 1}, Box{300, 1880, 2}, Box{300, 2420, 3}, Box{300, 2960, 5},
                           Box{2500, 800, 6}, Box{2500, 1340, 7}, Box{2500, 1880, 8}, Box{2500, 2420, 4}})
        DrawSubjectBox(canvas, source, box.x, box.y, s, box.subject);

    SetFont(canvas, print::kMsGothic, 12);
    int y = 3800;
    canvas.TextOut(300, y, Heading(9));
    const int regular = KondanRegularTestCount(data.Term);
    for (int t = 1; t <= regular; ++t) {
        const std::string label = KondanScoreLabel(source.Teiki.TestName[data.Grade][t], t == 5);
        DrawTestLines(canvas, label, *data.RegularTests[t], s, 9, y + 150, y + 300);
        y += 300;
    }

    y += 300;
    canvas.TextOut(300, y, Heading(5));
    int held = 0;
    for (int i = 1; i <= 5; ++i) held += data.ProficiencyTests[i]->SubjStats.Total5Count > 0;
    // The table keeps its steps of 300 while its last line fits on the page,
    // and closes up only as far as needed to fit otherwise.
    const int lineHeight = static_cast<int>(canvas.Font().Size * canvas.DpiY() / 72);
    int step = 300;
    if (held > 0 && y + held * step + lineHeight > canvas.PageHeight())
        step = std::max(lineHeight * 2, (canvas.PageHeight() - lineHeight - y) / held);
    for (int i = 1; i <= 5; ++i) {
        const TSotenData &test = *data.ProficiencyTests[i];
        if (test.SubjStats.Total5Count <= 0) continue;
        DrawTestLines(canvas, KondanScoreLabel(source.Jitsu.TestName[data.Grade][i], false), test, s, 5, y + step / 2,
                      y + step);
        y += step;
    }
}

}  // namespace dorv
