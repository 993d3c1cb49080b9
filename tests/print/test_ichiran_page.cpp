// The class result list on a recording canvas: every line as printed,
// blanks included, and where each line goes on which page.
#include "print/pages/ichiran_page.h"

#include "print/layer/recording_canvas.h"
#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "workbook/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace dorv {
namespace {

constexpr std::uint8_t X = 255;  // no score

// A grade of three classes:
//   1-1 山田 (boy)  80 70 90 60 50 | 音楽 - 美術 absent 保体 7  技家 100
//   1-2 佐藤 (girl) 85 -- 60 60 60 | 美術 40  保体 90  技家 absent
//   1-3 free
//   2-1 鈴木 (boy) 100 in every core subject | 美術 50 保体 50 技家 50
//   3-1 田中 (girl) 0 -- 0 0 0 (no 社会: class 3 has no total)
// Nobody has a 音楽 score.
struct Grade {
    std::unique_ptr<TNameData> names = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores = std::make_unique<TSotenData>();
    std::unique_ptr<TCalcTest> calc = std::make_unique<TCalcTest>();

    void Student(int c, int n, const char *name, std::uint8_t sex, std::vector<std::uint8_t> s) {
        const int slot = SlotOf(c, n);
        names->Names[slot] = name;
        names->Sex[slot] = sex;
        for (int j = 0; j < 12; ++j) scores->Score[slot][j] = j < static_cast<int>(s.size()) ? s[j] : X;
    }

    explicit Grade(std::uint8_t testKind) {
        names->Grade = 2;
        for (int slot = 1; slot <= 420; ++slot)
            for (auto &v : scores->Score[slot]) v = X;
        Student(1, 1, "山田　太郎　　", 0, {80, 70, 90, 60, 50, X, X, 7, 100});
        Student(1, 2, "佐藤　花子　　", 1, {85, X, 60, 60, 60, X, 40, 90, X});
        Student(2, 1, "鈴木　一郎　　", 0, {100, 100, 100, 100, 100, X, 50, 50, 50});
        Student(3, 1, "田中", 1, {0, X, 0, 0, 0});
        calc->Compute(3, *names, *scores);
        calc->CalcGrade = 2;
        calc->CalcTestId = {testKind, 3};
    }

    // Means and deviations chosen so the deviation values are plain to see:
    // (score - 60) + 50, except 国語 where 85 gives 62.34.
    void PlainDeviations() {
        for (int j = 0; j < 5; ++j) {
            calc->Mean[j] = 60;
            calc->StdDev[j] = 10;
        }
        calc->Mean[0] = 72.66f;
    }

    TIchiranSource Source() const { return {*calc, *names, *scores, "中間", "ノルベ市立中学校"}; }
};

const std::string kYamadaCore = " 80(57.3) 70(60.0) 90(80.0) 60(50.0) 50(40.0)";
const std::string kYamadaFive = " 350(287.3) 70.0(57.5)";
const std::string kSatoCore = " 85(62.3)   欠席   60(50.0) 60(50.0) 60(50.0)";
const std::string k22(22, ' ');

TEST(ClassList, HeaderLines) {
    const std::string common = "No.　名　　　前　  国語     社会     数学     理科     英語      五科計     五平均　";
    struct Case {
        std::uint8_t subjects;
        std::string line;
        std::size_t bytes;
    };
    const Case cases[] = {
        {5, common + "   三科計　    三平均   校内席次 男女別", 123},
        {9, common + " 音楽     美術     保体     技家    ", 120},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IchiranHeaderLine(c.subjects), c.line);
        EXPECT_EQ(cp932::width(IchiranHeaderLine(c.subjects)), c.bytes);
    }
}

TEST(ClassList, RowLines) {
    struct Case {
        std::uint8_t testKind;
        int classNo, number;
        std::string line;
    };
    const Case cases[] = {
        // Proficiency test: three-subject group and both ranks (山田 is
        // second in the grade and second of the boys).
        {1, 1, 1, " 1 山田　太郎　　" + kYamadaCore + kYamadaFive + " 220(177.3) 73.3(59.1)     2     2"},
        // An absent core score: that cell only, and no totals or ranks.
        {1, 1, 2, " 2 佐藤　花子　　" + kSatoCore + k22 + k22 + std::string(12, ' ')},
        {1, 1, 3, " 3 *             "},
        {1, 2, 1,
         " 1 鈴木　一郎　　100(77.3)100(90.0)100(90.0)100(90.0)100(90.0) 500(437.3)100.0(87.5) 300(257.3)100.0(85.8)   "
         "  1     1"},
        // Regular test: no 音楽 in the grade (9 blanks), an absent 美術 (ten
        // characters), plain scores of 保体 and 技家.
        {0, 1, 1,
         " 1 山田　太郎　　" + kYamadaCore + kYamadaFive + std::string(9, ' ') + "   欠席     7      100      "},
        {0, 1, 2, " 2 佐藤　花子　　" + kSatoCore + k22 + std::string(9, ' ') + " 40       90         欠席   "},
        {0, 1, 42, "42 *             "},
        // A short name is printed as it is stored.
        {0, 3, 1,
         " 1 田中  0(-22.7)   欠席    0(-10.0)  0(-10.0)  0(-10.0)" + k22 + std::string(9, ' ') +
             "   欠席      欠席      欠席   "},
    };
    for (const auto &c : cases) {
        Grade grade(c.testKind);
        grade.PlainDeviations();
        EXPECT_EQ(IchiranRowLine(grade.Source(), IchiranSubjectCount(*grade.calc), c.classNo, c.number), c.line)
            << "kind " << int(c.testKind) << " class " << c.classNo << " number " << c.number;
    }
}

// With every score of a subject equal, its standard deviation is 0 and
// every deviation value is 50.
TEST(ClassList, DeviationOfASubjectWithoutSpreadIs50) {
    Grade grade(1);
    for (int slot : {SlotOf(1, 1), SlotOf(1, 2), SlotOf(2, 1), SlotOf(3, 1)}) grade.scores->Score[slot][2] = 70;
    grade.calc->Compute(3, *grade.names, *grade.scores);
    ASSERT_EQ(grade.calc->StdDev[2], 0.0f);
    const std::string line = IchiranRowLine(grade.Source(), 5, 1, 1);
    EXPECT_EQ(line.substr(cp932::cut(line, 17 + 18).size(), 9), " 70(50.0)") << line;
}

TEST(ClassList, AverageLines) {
    const std::string nine(9, ' ');
    struct Case {
        std::uint8_t testKind;
        int classNo;  // 0: the grade line
        std::string line;
    };
    const Case cases[] = {
        {0, 1,
         "クラス平均(人数)  82.5( 2) 70.0( 1) 75.0( 2) 60.0( 2) 55.0( 2) 350.0(  1) 70.0(  1) " + nine +
             " 40.0( 1) 48.5( 2)100.0( 1)"},
        {1, 1,
         "クラス平均(人数)  82.5( 2) 70.0( 1) 75.0( 2) 60.0( 2) 55.0( 2) 350.0(  1) 70.0(  1)  220.0(  1) 73.3(  1) "},
        // A class without any 社会 score and without a complete total: blank
        // averages of the same width, counts kept.
        {1, 3,
         "クラス平均(人数)   0.0( 1)     ( 0)  0.0( 1)  0.0( 1)  0.0( 1)      (  0)     (  0)       (  0)     (  0) "},
        {0, 3,
         "クラス平均(人数)   0.0( 1)     ( 0)  0.0( 1)  0.0( 1)  0.0( 1)      (  0)     (  0) " + nine +
             "     ( 0)     ( 0)     ( 0)"},
        // 66.25 and 62.5 round half away from zero.
        {0, 0,
         "学年　平均(人数)  66.3(  4)85.0(  2)62.5(  4)55.0(  4)52.5(  4)425.0(  2) 85.0(  2)  " + nine +
             "45.0(  2)49.0(  3)75.0(  2)"},
        {1, 0,
         "学年　平均(人数)  66.3(  4)85.0(  2)62.5(  4)55.0(  4)52.5(  4)425.0(  2) 85.0(  2)  260.0(  2) 86.7(  2) "},
    };
    for (const auto &c : cases) {
        Grade grade(c.testKind);
        const std::uint8_t subjects = IchiranSubjectCount(*grade.calc);
        const std::string line = c.classNo == 0 ? IchiranGradeAverageLine(*grade.calc, subjects)
                                                : IchiranClassAverageLine(*grade.calc, subjects, c.classNo);
        EXPECT_EQ(line, c.line) << "kind " << int(c.testKind) << " class " << c.classNo;
    }
    // Both lines end the five-subject group where the header does.
    Grade grade(0);
    const std::string header = IchiranHeaderLine(9);
    const std::size_t five = cp932::width(header.substr(0, header.find("音楽"))) - 1;
    EXPECT_EQ(five, 84u);
    EXPECT_EQ(cp932::width(IchiranClassAverageLine(*grade.calc, 9, 1)) - 9 * 4, five);
    EXPECT_EQ(cp932::width(IchiranGradeAverageLine(*grade.calc, 9)) - 1 - 9 * 4, five);
}

TEST(ClassList, ScaleFromScreenToPrinter) {
    struct Case {
        int screen, dpiX, dpiY;
        float scaleX, scaleY;
        int dotsX, dotsY;
        int x30, y30;
    };
    const Case cases[] = {
        {96, 600, 600, 6.25f, 6.25f, 125, 125, 313, 313},  // 187.5 to the even 188
        {120, 600, 600, 5.0f, 5.0f, 100, 100, 250, 250},
        {96, 300, 600, 3.125f, 6.25f, 62, 125, 156, 313},  // 93.75 -> 94, margin 62.5 cut to 62
        {0, 600, 600, 6.25f, 6.25f, 125, 125, 313, 313},   // no screen resolution: the usual 96
    };
    for (const auto &c : cases) {
        const TIchiranScale s = TIchiranScale::For(c.screen, c.dpiX, c.dpiY);
        EXPECT_EQ(s.ScaleX, c.scaleX);
        EXPECT_EQ(s.ScaleY, c.scaleY);
        EXPECT_EQ(s.DotsX20, c.dotsX);
        EXPECT_EQ(s.DotsY20, c.dotsY);
        EXPECT_EQ(s.X(30), c.x30);
        EXPECT_EQ(s.Y(30), c.y30);
    }
}

TEST(ClassList, PagesOnePerClassOfTheStatistics) {
    Grade grade(1);
    // A later selection of another grade with more classes changes nothing.
    SelectedGrade = 3;
    ClassCountOfGrade = 5;
    print::TRecordingCanvas canvas;
    PrintClassLists(canvas, grade.Source(), TIchiranScale::For(96, 600, 600));
    EXPECT_EQ(canvas.PageCount(), 3);

    for (int page = 1; page <= 3; ++page) {
        const auto texts = canvas.Texts(page);
        ASSERT_EQ(texts.size(), 47u) << "page " << page;
        EXPECT_EQ(texts[0].Text, "成績一覧表 (2年" + std::to_string(page) + "組 中間テスト)");
        EXPECT_EQ((std::pair{texts[0].X, texts[0].Y}), (std::pair{750, 125}));
        EXPECT_EQ(texts[0].Font.Size, 18);
        EXPECT_TRUE(texts[0].Font.FixedPitch);
        EXPECT_EQ(texts[0].Brush, print::kWhite);  // also after the last row of the page before
        EXPECT_EQ(texts[1].Text, "ノルベ市立中学校");
        EXPECT_EQ((std::pair{texts[1].X, texts[1].Y}), (std::pair{3563, 175}));  // 3437.5 to the even 3438
        EXPECT_EQ(texts[2].Text, IchiranHeaderLine(5));
        EXPECT_EQ((std::pair{texts[2].X, texts[2].Y}), (std::pair{125, 313}));
        for (int n = 1; n <= 42; ++n) {
            const auto &row = texts[2 + n];
            EXPECT_EQ(row.Text.substr(0, 2), (n < 10 ? " " : "") + std::to_string(n));
            EXPECT_EQ(row.X, 125);
            EXPECT_EQ(row.Y, static_cast<int>(std::lrint((15.0 * n + 30) * 6.25)) + 125) << n;
            EXPECT_EQ(row.Brush, n % 2 == 1 ? print::kSilver : print::kWhite) << n;
            EXPECT_EQ(row.Font.Size, 9);
        }
        EXPECT_EQ(texts[3].Y, 406);  // 281.25 -> 281
        EXPECT_EQ(texts[45].Text, IchiranClassAverageLine(*grade.calc, 5, page));
        EXPECT_EQ(texts[45].Y, 4437);  // 4312.5 to the even 4312
        EXPECT_EQ(texts[45].Brush, print::kWhite);
        EXPECT_EQ(texts[46].Text, IchiranGradeAverageLine(*grade.calc, 5));
        EXPECT_EQ(texts[46].Y, 4625);
    }
    SelectedGrade = 1;
    ClassCountOfGrade = 0;
}

TEST(ClassList, ClassCountBoundsPagesAndBreaksAlike) {
    for (int classes : {0, 1, 2, 10, 11}) {
        Grade grade(0);
        grade.calc->ClassCount = static_cast<std::uint8_t>(classes);
        print::TRecordingCanvas canvas;
        PrintClassLists(canvas, grade.Source(), TIchiranScale::For(96, 600, 600));
        EXPECT_EQ(canvas.PageCount(), std::min(classes, 10)) << classes;
        EXPECT_EQ(canvas.Texts().size(), 47u * std::min(classes, 10)) << classes;
    }
}

TEST(ClassList, TestNameFollowsTheStatistics) {
    TTeikiTestName teiki;
    TJitsuTestName jitsu;
    teiki.TestName[2][3] = "２学期中間";
    jitsu.TestName[2][3] = "第３回実力";
    auto calc = std::make_unique<TCalcTest>();
    calc->CalcGrade = 2;
    calc->CalcTestId = {0, 3};
    SelectedGrade = 1;  // the selection has moved on
    EXPECT_EQ(IchiranTestName(*calc, &teiki, &jitsu), "２学期中間");
    calc->CalcTestId = {1, 3};
    EXPECT_EQ(IchiranTestName(*calc, &teiki, &jitsu), "第３回実力");
    EXPECT_EQ(IchiranTestName(*calc, &teiki, nullptr), "");
    calc->CalcTestId = {1, 9};
    EXPECT_EQ(IchiranTestName(*calc, &teiki, &jitsu), "");
}

}  // namespace
}  // namespace dorv
