// The parent-conference sheet on a recording canvas: its lines, boxes and
// tables, the proficiency table fitting the page, and the data set loading
// that leaves the selection as it found it.
#include "print/pages/kondan_page.h"

#include "print/layer/recording_canvas.h"
#include "print/stats/calc_all_stats.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "workbook/cp932.h"

#include "kondan_globals.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dorv {
namespace {

constexpr std::uint8_t X = 255;

void Clear(TSotenData &test) {
    for (auto &row : test.Score)
        for (auto &v : row) v = X;
}

// A grade of one class: 1-1 青木 (the student on the sheets), 1-2 free, 1-3
// 井上 for the averages.
struct Sheet {
    TKondanData data;
    std::unique_ptr<TNameData> names = std::make_unique<TNameData>();
    std::unique_ptr<TKantenData> kanten = std::make_unique<TKantenData>();
    TTeikiTestName teiki;
    TJitsuTestName jitsu;

    explicit Sheet(int term, std::vector<int> heldProficiency = {1, 3}) {
        data.Grade = 2;
        data.Term = static_cast<std::uint8_t>(term);
        names->Names[1] = "青木　太郎　　";
        names->Names[3] = "井上　花子　　";
        const char *regularNames[] = {"", "１学期中間", "１学期期末", "２学期中間", "２学期期末", "学年末テスト"};
        for (int t = 1; t <= 5; ++t) {
            teiki.TestName[2][t] = regularNames[t];
            jitsu.TestName[2][t] = "第" + std::to_string(t) + "回実力";
            TSotenData &r = *data.RegularTests[t];
            Clear(r);
            // 青木: 80 70 90 60 50 in the core, 音楽 none, 美術 absent.
            const std::uint8_t a[] = {80, 70, 90, 60, 50, X, X, 44, 55};
            const std::uint8_t b[] = {71, 60, 61, 60, 50, 40, 30, 20, 10};
            for (int j = 0; j < 9; ++j) {
                r.Score[1][j] = a[j];
                r.Score[3][j] = b[j];
            }
            CalcAllStats(r, 1);
            TSotenData &p = *data.ProficiencyTests[t];
            Clear(p);
            if (std::find(heldProficiency.begin(), heldProficiency.end(), t) != heldProficiency.end()) {
                const std::uint8_t c[] = {50, 60, 70, 80, 90};
                for (int j = 0; j < 5; ++j) p.Score[1][j] = c[j];
                p.Score[3][1] = 91;  // no complete total for 井上
            }
            CalcAllStats(p, 1);
        }
        for (int k = 1; k <= 3; ++k) {
            THyoteiData &h = *data.TermRatings[k];
            for (auto &row : h.Hyotei)
                for (auto &rec : row) {
                    rec.Rating = X;
                    for (auto &m : rec.Kanten) m = X;
                }
            h.Hyotei[1][1].Rating = static_cast<std::uint8_t>(2 + k);  // 国語 3, 4, 5
            h.Hyotei[1][1].Kanten[1] = 'A';
            h.Hyotei[1][1].Kanten[2] = static_cast<std::uint8_t>('A' + k - 1);
            // 国語 item 3 has a label but no mark.
        }
        kanten->Koumoku[0][0] = "関心・意欲・態度";
        kanten->Koumoku[0][1] = "話す・聞く能力";
        kanten->Koumoku[0][2] = "書く能力";
        kanten->Koumoku[0][3] = "読む能力";  // four labelled items, 5 and 6 without
    }

    TKondanSource Source() const { return {data, *names, *kanten, teiki, jitsu, "ノルベ市立中学校", "令和05"}; }
};

std::vector<print::TCanvasOp> TextsAt(const print::TRecordingCanvas &canvas, int x, int y) {
    std::vector<print::TCanvasOp> out;
    for (const auto &op : canvas.Texts())
        if (op.X == x && op.Y == y) out.push_back(op);
    return out;
}

std::string TextAt(const print::TRecordingCanvas &canvas, int x, int y) {
    const auto found = TextsAt(canvas, x, y);
    return found.size() == 1 ? found[0].Text : "<" + std::to_string(found.size()) + " texts>";
}

TEST(ConferenceSheet, TitleAndScoreLabels) {
    EXPECT_EQ(KondanTitle("令和05", 2), "令和05年度２学期懇談資料");
    struct Case {
        const char *name;
        bool test5;
        const char *label;
    };
    const Case cases[] = {
        {"１学期中間", false, "１学期中間　素点"},
        {"第１回実力テスト", false, "第１回実力テスト　素点"},
        {"学年末テスト", true, "学年末テス　素点"},   // cut to five full-width characters
        {"学年末", true, "学年末　　　素点"},         // two blanks fill it to ten bytes
        {"期末", true, "期末　　  　素点"},           // eight bytes padded to ten
        {"3学期末テスト", true, "3学期末テ 　素点"},  // a character cut in two becomes a blank
        {"", true, "　　      　素点"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(KondanScoreLabel(c.name, c.test5), c.label) << c.name;
        if (c.test5) {
            EXPECT_EQ(cp932::width(KondanScoreLabel(c.name, true)), 16u) << c.name;
        }
    }
}

TEST(ConferenceSheet, ScoreAndAverageLines) {
    Sheet sheet(3);
    const TSotenData &regular = *sheet.data.RegularTests[1];
    const TSotenData &proficiency = *sheet.data.ProficiencyTests[1];
    const TSotenData &notHeld = *sheet.data.ProficiencyTests[2];
    const std::string six(6, ' ');
    struct Case {
        std::string line, expected;
    };
    const Case cases[] = {
        // 美術 absent blanks its own cell only; 350 / 5 = 70.
        {KondanScoreLine("L", regular, 1, 9),
         "L    80    70    90    60    50" + six + six + "    44    55   350    70"},
        // Means: 75.5 -> 76, 65, 75.5 -> 76, 60, 50; 音楽 of 井上 only; totals 350 and 302.
        {KondanAverageLine(regular, 9),
         "　　　　　　平均    76    65    76    60    50    40    30    32    33   326    65"},
        {KondanScoreLine("L", proficiency, 1, 5), "L    50    60    70    80    90   350    70"},
        // 井上 has only 社会 (91): no complete total, yet the mean of 社会 counts it.
        {KondanScoreLine("L", proficiency, 3, 5), "L" + six + "    91" + six + six + six + std::string(12, ' ')},
        {KondanAverageLine(proficiency, 5), "　　　　　　平均    50    76    70    80    90   350    70"},
        // Nothing to average: blanks of the same width.
        {KondanAverageLine(notHeld, 5), "　　　　　　平均" + std::string(42, ' ')},
    };
    for (const auto &c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(ConferenceSheet, FreeSlotDrawsNothing) {
    Sheet sheet(1);
    print::TRecordingCanvas canvas;
    PrintKondanSheet(canvas, sheet.Source(), 1, 2);
    PrintKondanSheet(canvas, sheet.Source(), 11, 1);
    EXPECT_TRUE(canvas.Ops().empty());
    EXPECT_EQ(canvas.PageCount(), 0);
}

TEST(ConferenceSheet, TermOneSheet) {
    Sheet sheet(1);
    print::TRecordingCanvas canvas;
    PrintKondanSheet(canvas, sheet.Source(), 1, 1);
    EXPECT_EQ(canvas.PageCount(), 1);

    const auto title = TextsAt(canvas, 1000, 200);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].Text, "令和05年度１学期懇談資料");
    EXPECT_EQ(title[0].Font.Name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(title[0].Font.Size, 24);
    EXPECT_EQ(TextAt(canvas, 1800, 425), "ノルベ市立中学校  2年1組1番　青木　太郎　　");

    // 国語's box at (300, 800): name, one rating column, marks beside four labels.
    EXPECT_EQ(TextAt(canvas, 310, 810), "国語");
    EXPECT_EQ(TextAt(canvas, 310, 1010), "３");
    EXPECT_TRUE(TextsAt(canvas, 410, 1010).empty());  // one term: one column
    EXPECT_EQ(TextAt(canvas, 640, 810), "関心・意欲・態度");
    EXPECT_EQ(TextAt(canvas, 1900, 810), "Ａ");
    EXPECT_EQ(TextAt(canvas, 1900, 890), "Ａ");
    EXPECT_EQ(TextAt(canvas, 640, 970), "書く能力");
    EXPECT_TRUE(TextsAt(canvas, 1900, 970).empty());  // an empty mark, its label still there
    EXPECT_EQ(TextAt(canvas, 640, 1050), "読む能力");
    EXPECT_TRUE(TextsAt(canvas, 640, 1130).empty());  // items 5 and 6 have no label
    EXPECT_TRUE(TextsAt(canvas, 640, 1210).empty());
    // 英語 sits last, in the right column; a subject without a rating shows none.
    EXPECT_EQ(TextAt(canvas, 2510, 2430), "英語");
    EXPECT_TRUE(TextsAt(canvas, 2510, 2630).empty());
    int boxes = 0, dividers = 0;
    for (const auto &op : canvas.Ops()) {
        if (op.What == print::TCanvasOp::Kind::Rectangle) {
            ++boxes;
            EXPECT_EQ(op.X2 - op.X, 1800);
            EXPECT_EQ(op.Y2 - op.Y, 520);
            EXPECT_EQ(op.PenWidth, 3);
            EXPECT_EQ(op.Brush, print::kWhite);
        }
        dividers += op.What == print::TCanvasOp::Kind::Line && op.X == op.X2 && op.Y2 - op.Y == 520;
    }
    EXPECT_EQ(boxes, 9);
    EXPECT_EQ(dividers, 9);

    // Regular tests 1 and 2, then the proficiency tests held (1 and 3, the
    // second moving up into the place of test 2).
    const auto heading = TextsAt(canvas, 300, 3800);
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_EQ(cp932::width(heading[0].Text), 84u);
    EXPECT_EQ(heading[0].Font.Name, "ＭＳ ゴシック");
    EXPECT_EQ(heading[0].Font.Size, 12);
    EXPECT_EQ(TextAt(canvas, 300, 3950).substr(0, std::string("１学期中間　素点").size()), "１学期中間　素点");
    EXPECT_EQ(TextsAt(canvas, 300, 3950)[0].Brush, print::kWhite);
    EXPECT_EQ(TextsAt(canvas, 300, 4100)[0].Brush, print::kSilver);
    EXPECT_EQ(TextAt(canvas, 300, 4250).substr(0, std::string("１学期期末").size()), "１学期期末");
    EXPECT_EQ(cp932::width(TextAt(canvas, 300, 4700)), 60u);
    EXPECT_EQ(TextAt(canvas, 300, 4850).substr(0, std::string("第1回実力").size()), "第1回実力");
    EXPECT_EQ(TextAt(canvas, 300, 5150).substr(0, std::string("第3回実力").size()), "第3回実力");
    EXPECT_TRUE(TextsAt(canvas, 300, 5450).empty());
}

TEST(ConferenceSheet, TermThreeKeepsTheProficiencyTableOnThePage) {
    for (int pageHeight : {6780, 9000}) {
        Sheet sheet(3, {1, 2, 3, 4, 5});
        print::TRecordingCanvas canvas;
        canvas.SetPageSize(4724, pageHeight);
        PrintKondanSheet(canvas, sheet.Source(), 1, 1);
        // Three rating columns in 国語's box.
        EXPECT_EQ(TextAt(canvas, 310, 1010), "３");
        EXPECT_EQ(TextAt(canvas, 410, 1010), "４");
        EXPECT_EQ(TextAt(canvas, 510, 1010), "５");
        EXPECT_EQ(TextAt(canvas, 2020, 890), "Ｃ");
        // Five regular tests keep their steps of 300.
        for (int t = 0; t < 5; ++t) EXPECT_EQ(TextsAt(canvas, 300, 3950 + 300 * t).size(), 1u) << t;
        EXPECT_EQ(TextAt(canvas, 300, 5150).substr(0, std::string("学年末テス　素点").size()), "学年末テス　素点");
        EXPECT_EQ(cp932::width(TextAt(canvas, 300, 5600)), 60u);

        std::vector<int> ys;
        for (const auto &op : canvas.Texts())
            if (op.X == 300 && op.Y > 5600) ys.push_back(op.Y);
        ASSERT_EQ(ys.size(), 10u);
        const int lineHeight = 100;  // 12 points at 600 dpi
        EXPECT_LE(ys.back() + lineHeight, pageHeight);
        if (pageHeight == 9000) {
            EXPECT_EQ(ys.front(), 5750);  // room enough: the usual positions
            EXPECT_EQ(ys.back(), 7100);
        } else {
            EXPECT_LT(ys.back(), 7100);
        }
        for (std::size_t i = 1; i < ys.size(); ++i) EXPECT_GE(ys[i] - ys[i - 1], lineHeight) << i;
    }
}

// The sample school early in its year (the later tests without scores) in a
// fresh folder, with the loaders' current objects.
class KondanLoad : public ::testing::Test, protected testing::KondanGlobals {
protected:
    void SetUp() override {
        drive_ = std::filesystem::temp_directory_path() / ("dorv-kondan-" + std::to_string(::getpid()));
        std::filesystem::remove_all(drive_);
        std::filesystem::create_directories(drive_);
        const char *bin = std::getenv("DORV_BIN_DIR");
        const std::string binDir =
            bin && *bin ? bin : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
        const std::string command =
            "'" + binDir + "/dorv-sample-school' --first-tests-only '" + drive_.string() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        WorkDrive = drive_.string();
        names_->Grade = 1;
        SelectedGrade = 1;
        SelectedTerm = 2;
        SelectedTest = 4;
        TestId = {1, 4};
    }
    void TearDown() override { std::filesystem::remove_all(drive_); }
    std::string jitsuName(int i) {
        jitsu_.LoadTestNames();
        return jitsu_.TestName[1][i];
    }
    std::filesystem::path Grade1() const { return drive_ / "Dorv" / "Data" / "１年生"; }
    void ExpectSelectionUnchanged() const {
        EXPECT_EQ(SelectedGrade, 1);
        EXPECT_EQ(SelectedTerm, 2);
        EXPECT_EQ(SelectedTest, 4);
        EXPECT_EQ(TestId.TestKind, 1);
        EXPECT_EQ(TestId.TestNo, 4);
    }

    std::filesystem::path drive_;
};

TEST_F(KondanLoad, LoadsTheTermSoFarAndLeavesTheSelectionAsItWas) {
    // Proficiency test 1 is held in the sample; remove its workbook: a test
    // without scores, not a failure.
    std::filesystem::remove(Grade1() / (jitsuName(1) + ".xls"));
    // Labels left over from the register's workbook must not show.
    kanten_->WorkbookName = TKantenData::kRegisterWorkbook;
    for (auto &subject : kanten_->Koumoku)
        for (auto &label : subject) label = "古い項目";
    TKondanData data;
    std::vector<int> progress;
    LoadKondanData(data, [&](int p) { progress.push_back(p); });
    for (const auto &subject : kanten_->Koumoku)
        for (const auto &label : subject) EXPECT_NE(label, "古い項目");
    ExpectSelectionUnchanged();
    EXPECT_EQ(progress, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(data.Grade, 1);
    EXPECT_EQ(data.Term, 2);
    EXPECT_GT(ClassCountOfGrade, 0);
    EXPECT_FALSE(names_->Names[1].empty());
    EXPECT_FALSE(kanten_->Koumoku[0][0].empty());
    EXPECT_EQ(kanten_->WorkbookName, TKantenData::kTermWorkbook);
    // The sample holds regular tests 1 and 2 of grade 1; 3 and 4 exist
    // without scores; 5 is not of the term so far and stays as created.
    for (int t = 1; t <= 2; ++t) EXPECT_GT(data.RegularTests[t]->SubjStats.SubjCount[0], 0) << t;
    for (int t = 3; t <= 4; ++t) EXPECT_EQ(data.RegularTests[t]->Score[1][0], TSotenData::kEmpty) << t;
    EXPECT_EQ(data.RegularTests[5]->Score[1][0], 0);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(data.ProficiencyTests[i]->SubjStats.Total5Count, 0) << i;
}

TEST_F(KondanLoad, AFailedLoadStillLeavesTheSelectionAsItWas) {
    // Regular test 3 (term 2) is missing: its load fails after the
    // selection was moved to it.
    teiki_.LoadTestNames();
    std::filesystem::remove(Grade1() / (teiki_.TestName[1][3] + ".xls"));
    TKondanData data;
    EXPECT_ANY_THROW(LoadKondanData(data));
    ExpectSelectionUnchanged();
}

}  // namespace
}  // namespace dorv
