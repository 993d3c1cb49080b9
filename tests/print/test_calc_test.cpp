// The statistics engine from hand-made rosters and score sets, with figures
// worked out by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "print/stats/calc_all_stats.h"
#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"

namespace dorv {
namespace {

constexpr int M = -1;  // no score (stored as 255)

struct Student {
    int cls;
    int no;
    std::uint8_t sex;
    std::array<int, 9> scores;  // 国 社 数 理 英 音 美 保 技家
};

// A grade with every score empty and no names, then the given students.
struct Grade {
    std::unique_ptr<TNameData> names = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores = std::make_unique<TSotenData>();

    explicit Grade(const std::vector<Student> &students = {}) {
        std::memset(scores->Score, 255, sizeof scores->Score);
        for (int slot = 1; slot <= 420; ++slot) names->Sex[slot] = TNameData::kSexNone;
        for (const Student &s : students) Add(s);
    }
    void Add(const Student &s) {
        const int slot = SlotOf(s.cls, s.no);
        names->Names[slot] = "生徒";
        names->Sex[slot] = s.sex;
        for (int j = 0; j < 9; ++j)
            scores->Score[slot][j] = s.scores[j] == M ? 255 : static_cast<std::uint8_t>(s.scores[j]);
    }
    std::unique_ptr<TCalcTest> Compute(int classCount) const {
        auto calc = std::make_unique<TCalcTest>();
        calc->Compute(static_cast<std::uint8_t>(classCount), *names, *scores);
        return calc;
    }
};

// Students with only a 国語 score (and the other four of the five subjects
// missing, so no totals).
std::vector<Student> KokugoOnly(const std::vector<int> &scores, std::uint8_t sex = 0) {
    std::vector<Student> out;
    int no = 1;
    for (int x : scores) out.push_back({1, no++, sex, {x, M, M, M, M, M, M, M, M}});
    return out;
}

double Round1(double v) { return std::round(v * 10.0) / 10.0; }

TEST(CalcTestSubjectFigures, CountSumMeanAndStandardDeviation) {
    struct Case {
        std::vector<int> scores;
        int count, sum, sumSq;
        double mean, sd;
    };
    const Case cases[] = {
        {{50, 60, 70}, 3, 180, 11000, 60.0, 8.164966},
        {{40, 60}, 2, 100, 5200, 50.0, 10.0},
        {{73}, 1, 73, 5329, 73.0, 0.0},
        {{80, 80, 80, 80}, 4, 320, 25600, 80.0, 0.0},
        {{0, 100}, 2, 100, 10000, 50.0, 50.0},
        {{0, 0}, 2, 0, 0, 0.0, 0.0},
        {{50, 60, M, 70, 101, 254}, 3, 180, 11000, 60.0, 8.164966},  // above 100: no score
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.scores));
        const auto calc = Grade(KokugoOnly(c.scores)).Compute(1);
        EXPECT_EQ(calc->GradeCount[0], c.count);
        EXPECT_EQ(calc->GradeSum[0], c.sum);
        EXPECT_EQ(calc->GradeSumSq[0], c.sumSq);
        EXPECT_TRUE(calc->HasScores[0]);
        EXPECT_FLOAT_EQ(calc->Mean[0], static_cast<float>(c.mean));
        EXPECT_NEAR(calc->StdDev[0], c.sd, 1e-6);
        EXPECT_EQ(calc->ClassTally[1][0], c.count);
        EXPECT_EQ(calc->ClassSum[1][0], c.sum);
        EXPECT_EQ(calc->Count[1][0][0], c.count);
    }
}

TEST(CalcTestSubjectFigures, SubjectWithoutScoresKeepsItsMeanAndHasNoDeviation) {
    // 社会 has no score at all; a proficiency test leaves 5..8 empty.
    Grade grade({{1, 1, 0, {50, M, 70, 80, 90, M, M, M, M}}, {1, 2, 1, {60, M, 60, 70, 80, M, M, M, M}}});
    auto calc = std::make_unique<TCalcTest>();
    calc->Mean[1] = 42.5f;
    calc->Compute(1, *grade.names, *grade.scores);
    EXPECT_EQ(calc->GradeCount[1], 0);
    EXPECT_FALSE(calc->HasScores[1]);
    EXPECT_EQ(calc->StdDev[1], 0.0f);
    EXPECT_EQ(calc->Mean[1], 42.5f);
    for (int j : {0, 2, 3, 4}) EXPECT_TRUE(calc->HasScores[j]) << j;
    for (int j = 5; j < 12; ++j) EXPECT_FALSE(calc->HasScores[j]) << j;
    EXPECT_FLOAT_EQ(calc->Mean[0], 55.0f);
    EXPECT_FLOAT_EQ(calc->StdDev[2], 5.0f);
}

TEST(CalcTestDeviationValue, AsPrintedWithOneDecimal) {
    const float sd = StdDeviation(3, 180, 11000);
    struct Case {
        int score;
        float mean, sd;
        double printed;
    };
    const Case cases[] = {
        {50, 60.0f, sd, 37.8},
        {60, 60.0f, sd, 50.0},
        {70, 60.0f, sd, 62.2},
        {40, 50.0f, 10.0f, 40.0},
        {60, 50.0f, 10.0f, 60.0},
        {100, 50.0f, 10.0f, 100.0},
        {0, 50.0f, 10.0f, 0.0},
        // A standard deviation of 0: one examinee, or everybody equal.
        {73, 73.0f, 0.0f, 50.0},
        {80, 80.0f, 0.0f, 50.0},
        {0, 0.0f, 0.0f, 50.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.score);
        const float v = DeviationValue(static_cast<std::uint8_t>(c.score), c.mean, c.sd);
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_DOUBLE_EQ(Round1(v), c.printed);
    }
    EXPECT_NEAR(DeviationValue(50, 60.0f, sd), 37.752551, 1e-5);
    EXPECT_NEAR(DeviationValue(70, 60.0f, sd), 62.247449, 1e-5);
}

TEST(CalcTestStdDeviation, PopulationDeviationInExtendedPrecision) {
    struct Case {
        std::uint16_t count;
        std::int32_t total, totalSq;
        double sd;
    };
    const Case cases[] = {
        {0, 0, 0, 0.0},
        {0, 100, 5000, 0.0},
        {1, 100, 10000, 0.0},
        {3, 180, 11000, 8.1649658},
        {2, 100, 5200, 10.0},
        // 420 students, 210 with 0 and 210 with 100: mean 50, SD 50.
        {420, 21000, 2100000, 50.0},
        // 420 students all with 99: the difference of two large squares
        // must come out exactly 0.
        {420, 41580, 4116420, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_NEAR(StdDeviation(c.count, c.total, c.totalSq), c.sd, 1e-6);
    }
}

TEST(CalcTestBands, TenPointBandsWithHundredInTheTopBand) {
    struct Case {
        int score;
        int band;  // -1: counted nowhere
    };
    const Case cases[] = {{0, 0},  {9, 0},  {10, 1},  {19, 1},   {50, 5},   {89, 8},
                          {90, 9}, {99, 9}, {100, 9}, {101, -1}, {254, -1}, {M, -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.score);
        for (std::uint8_t sex : {0, 1}) {
            const auto calc = Grade({{2, 5, sex, {c.score, M, M, M, M, M, M, M, M}}}).Compute(2);
            const int s = sex;
            for (int b = 0; b < 10; ++b) {
                const int want = b == c.band ? 1 : 0;
                EXPECT_EQ(calc->Bin[2][s][0][b], want) << b;
                EXPECT_EQ(calc->ClassBin[2][0][b], want) << b;
                EXPECT_EQ(calc->GradeBinBySex[s][0][b], want) << b;
                EXPECT_EQ(calc->GradeBinBySex[1 - s][0][b], 0) << b;
                EXPECT_EQ(calc->GradeBin[0][b], want) << b;
            }
            EXPECT_EQ(calc->GradeCount[0], c.band >= 0 ? 1 : 0);
        }
    }
}

TEST(CalcTestBands, ClassOfThreeFillsTopAndBottomBands) {
    const auto calc = Grade(KokugoOnly({100, 95, 7})).Compute(1);
    const std::uint16_t want[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    for (int b = 0; b < 10; ++b) EXPECT_EQ(calc->GradeBin[0][b], want[b]) << b;
}

TEST(CalcTestTotals, MissingScoreOfTheFiveSubjectsExcludesBothTotals) {
    struct Case {
        const char *what;
        std::array<int, 9> scores;
        bool total5, total3;
        int sum5, sum3;
    };
    const Case cases[] = {
        {"all nine", {90, 85, 80, 60, 70, 50, 40, 30, 20}, true, true, 385, 240},
        {"only the other four missing", {90, 85, 80, 60, 70, M, M, M, M}, true, true, 385, 240},
        {"all zero", {0, 0, 0, 0, 0, 0, 0, 0, 0}, true, true, 0, 0},
        {"all hundred", {100, 100, 100, 100, 100, 100, 100, 100, 100}, true, true, 500, 300},
        {"社会 missing", {90, M, 80, 60, 70, 50, 50, 50, 50}, false, false, 0, 0},
        {"理科 missing", {90, 85, 80, M, 70, 50, 50, 50, 50}, false, false, 0, 0},
        {"国語 missing", {M, 85, 80, 60, 70, 50, 50, 50, 50}, false, false, 0, 0},
        {"英語 above 100", {90, 85, 80, 60, 101, 50, 50, 50, 50}, false, false, 0, 0},
        {"everything missing", {M, M, M, M, M, M, M, M, M}, false, false, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto calc = Grade({{1, 7, 1, c.scores}}).Compute(1);
        const int slot = SlotOf(1, 7);
        if (c.total5) {
            EXPECT_EQ(calc->Total5[slot], c.sum5);
            EXPECT_EQ(calc->Rank[slot], 1);
            EXPECT_EQ(calc->RankBySex[slot], 1);
        } else {
            EXPECT_GE(calc->Total5[slot], TCalcTest::kExcluded);
            EXPECT_EQ(calc->Rank[slot], 0);
            EXPECT_EQ(calc->RankBySex[slot], 0);
        }
        if (c.total3) EXPECT_EQ(calc->Total3[slot], c.sum3);
        else EXPECT_GE(calc->Total3[slot], TCalcTest::kExcluded);
        EXPECT_EQ(calc->GradeCnt5, c.total5 ? 1 : 0);
        EXPECT_EQ(calc->GradeSum5, c.sum5);
        EXPECT_EQ(calc->GradeCnt3, c.total3 ? 1 : 0);
        EXPECT_EQ(calc->GradeSum3, c.sum3);
        EXPECT_EQ(calc->ClassCnt5[1], c.total5 ? 1 : 0);
        EXPECT_EQ(calc->Cnt5[1][1], c.total5 ? 1 : 0);
        EXPECT_EQ(calc->GradeCnt5BySex[1], c.total5 ? 1 : 0);
    }
}

TEST(CalcTestTotals, StudentMissingShakaiStillCountsInHisSubjects) {
    const auto calc = Grade({{1, 1, 0, {90, M, 80, 60, 70, M, M, M, M}}}).Compute(1);
    EXPECT_EQ(calc->GradeCount[0], 1);
    EXPECT_EQ(calc->GradeSum[2], 80);
    EXPECT_EQ(calc->GradeCount[1], 0);
    EXPECT_EQ(calc->GradeCnt5, 0);
    EXPECT_EQ(calc->GradeCnt3, 0);
}

TEST(CalcTestTotals, FiftyPointBandsOfTheFiveSubjectTotal) {
    struct Case {
        std::array<int, 5> five;
        int band;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, 0},           {{10, 10, 10, 10, 9}, 0},  {{10, 10, 10, 10, 10}, 1},
        {{90, 90, 90, 90, 89}, 8},      {{90, 90, 90, 90, 90}, 9}, {{100, 100, 100, 100, 99}, 9},
        {{100, 100, 100, 100, 100}, 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.band);
        const auto &f = c.five;
        const auto calc = Grade({{3, 42, 0, {f[0], f[1], f[2], f[3], f[4], M, M, M, M}}}).Compute(3);
        for (int b = 0; b < 10; ++b) {
            const int want = b == c.band ? 1 : 0;
            EXPECT_EQ(calc->Bin5[3][0][b], want) << b;
            EXPECT_EQ(calc->ClassBin5[3][b], want) << b;
            EXPECT_EQ(calc->GradeBin5BySex[0][b], want) << b;
            EXPECT_EQ(calc->GradeBin5[b], want) << b;
        }
    }
}

TEST(CalcTestRanks, TiesShareTheRankOfTheFirstInTheGradeAndBySex) {
    // Totals 450, 440, 440, 430 in several slot orders and sex mixes.
    auto five = [](int total) { return std::array<int, 9>{total - 400, 100, 100, 100, 100, M, M, M, M}; };
    struct Placed {
        int cls, no;
        std::uint8_t sex;
        int total;
        int rank, rankBySex;
    };
    const std::vector<std::vector<Placed>> cases = {
        {{1, 1, 0, 450, 1, 1}, {1, 2, 0, 440, 2, 2}, {1, 3, 0, 440, 2, 2}, {1, 4, 0, 430, 4, 4}},
        {{1, 1, 1, 430, 4, 4}, {1, 2, 1, 440, 2, 2}, {2, 9, 1, 450, 1, 1}, {3, 1, 1, 440, 2, 2}},
        // Boys 450 and 440, girls 440 and 430.
        {{1, 1, 0, 440, 2, 2}, {1, 2, 1, 430, 4, 2}, {1, 3, 1, 440, 2, 1}, {2, 1, 0, 450, 1, 1}},
        // An unset sex (3) and the editor's 255 rank among the girls.
        {{1, 1, 3, 450, 1, 1}, {1, 2, 255, 440, 2, 2}, {1, 3, 0, 440, 2, 1}, {1, 4, 1, 430, 4, 3}},
    };
    for (std::size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        Grade grade;
        for (const Placed &p : cases[k]) grade.Add({p.cls, p.no, p.sex, five(p.total)});
        const auto calc = grade.Compute(3);
        for (const Placed &p : cases[k]) {
            const int slot = SlotOf(p.cls, p.no);
            EXPECT_EQ(calc->Total5[slot], p.total);
            EXPECT_EQ(calc->Rank[slot], p.rank) << slot;
            EXPECT_EQ(calc->RankBySex[slot], p.rankBySex) << slot;
        }
        EXPECT_EQ(calc->GradeCnt5, 4);
        EXPECT_EQ(calc->GradeCnt5BySex[0] + calc->GradeCnt5BySex[1], 4);
        for (int i = 1; i < calc->GradeCnt5; ++i)
            EXPECT_GE(calc->Total5[calc->RankList[i]], calc->Total5[calc->RankList[i + 1]]);
    }
}

TEST(CalcTestRanks, FullGradeWithFarMoreBoysThanGirls) {
    // 400 boys and 20 girls with valid totals: one group holds far more than
    // half the slots of the grade.
    auto sexOf = [](int slot) -> std::uint8_t { return slot % 21 == 0 ? 1 : 0; };
    Grade grade;
    for (int c = 1; c <= 10; ++c)
        for (int n = 1; n <= 42; ++n) {
            const int slot = SlotOf(c, n);
            // Even totals 0..418 spread over the slots out of order, with ties.
            const int total = (slot * 37) % 420 / 2 * 2;
            const int a = std::min(total, 100), b = std::min(total - a, 100), d = std::min(total - a - b, 100),
                      e = std::min(total - a - b - d, 100), f = total - a - b - d - e;
            grade.Add({c, n, sexOf(slot), {a, b, d, e, f, M, M, M, M}});
        }
    const auto calc = grade.Compute(10);
    EXPECT_EQ(calc->GradeCnt5, 420);
    EXPECT_EQ(calc->GradeCnt5BySex[0], 400);
    EXPECT_EQ(calc->GradeCnt5BySex[1], 20);
    for (int slot = 1; slot <= 420; ++slot) {
        int greater = 0, greaterInGroup = 0;
        for (int other = 1; other <= 420; ++other) {
            const bool above = calc->Total5[other] > calc->Total5[slot];
            greater += above;
            greaterInGroup += above && sexOf(other) == sexOf(slot);
        }
        ASSERT_EQ(calc->Rank[slot], greater + 1) << slot;
        ASSERT_EQ(calc->RankBySex[slot], greaterInGroup + 1) << slot;
    }
}

TEST(CalcTestShapes, ClassesAndSexGroupsSumIntoTheGrade) {
    // Class 1: a boy and a girl; class 2: two girls, one without totals.
    Grade grade({{1, 1, 0, {50, 60, 70, 80, 90, 10, M, M, M}},
                 {1, 2, 1, {40, 40, 40, 40, 40, 20, M, M, M}},
                 {2, 1, 1, {100, 90, 80, 70, 60, 30, M, M, M}},
                 {2, 42, 1, {30, M, 30, 30, 30, M, M, M, M}}});
    const auto calc = grade.Compute(2);
    EXPECT_EQ(calc->ClassCount, 2);
    EXPECT_EQ(calc->Count[1][0][0], 1);
    EXPECT_EQ(calc->Count[1][1][0], 1);
    EXPECT_EQ(calc->Count[2][1][0], 2);
    EXPECT_EQ(calc->ClassTally[1][0], 2);
    EXPECT_EQ(calc->ClassTally[2][0], 2);
    EXPECT_EQ(calc->ClassTally[2][1], 1);
    EXPECT_EQ(calc->ClassSum[1][0], 90);
    EXPECT_EQ(calc->ClassSum[2][0], 130);
    EXPECT_EQ(calc->ClassSumSq[2][0], 10900);
    EXPECT_EQ(calc->GradeCountBySex[0][0], 1);
    EXPECT_EQ(calc->GradeCountBySex[1][0], 3);
    EXPECT_EQ(calc->GradeSumBySex[1][0], 170);
    EXPECT_EQ(calc->GradeSumSqBySex[1][0], 1600 + 10000 + 900);
    EXPECT_EQ(calc->GradeCount[0], 4);
    EXPECT_EQ(calc->GradeSum[0], 220);
    EXPECT_EQ(calc->GradeCount[5], 3);
    EXPECT_EQ(calc->GradeSum[5], 60);
    EXPECT_FLOAT_EQ(calc->Mean[0], 55.0f);
    EXPECT_FLOAT_EQ(calc->Mean[1], 190.0f / 3.0f);

    EXPECT_EQ(calc->ClassCnt5[1], 2);
    EXPECT_EQ(calc->ClassSum5[1], 350 + 200);
    EXPECT_EQ(calc->ClassCnt5[2], 1);
    EXPECT_EQ(calc->ClassSum5[2], 400);
    EXPECT_EQ(calc->ClassCnt3[2], 1);
    EXPECT_EQ(calc->ClassSum3[2], 240);
    EXPECT_EQ(calc->GradeCnt5BySex[1], 2);
    EXPECT_EQ(calc->GradeSum5BySex[1], 600);
    EXPECT_EQ(calc->GradeCnt5, 3);
    EXPECT_EQ(calc->GradeSum5, 950);
    EXPECT_EQ(calc->GradeCnt3, 3);
    EXPECT_EQ(calc->GradeSum3, 210 + 120 + 240);
    EXPECT_EQ(calc->GradeCnt3BySex[0], 1);
    EXPECT_EQ(calc->GradeSum3BySex[0], 210);
}

TEST(CalcTestSlots, SlotsWithoutNameAndBeyondTheClassCountDoNotCount) {
    Grade grade({{1, 1, 0, {60, 60, 60, 60, 60, M, M, M, M}}, {3, 1, 0, {70, 70, 70, 70, 70, M, M, M, M}}});
    // Scores in a slot without a name (class 1, number 2).
    for (int j = 0; j < 9; ++j) grade.scores->Score[SlotOf(1, 2)][j] = 90;
    struct Case {
        int classCount;
        int count;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {10, 2}, {11, 2}, {255, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.classCount);
        const auto calc = grade.Compute(c.classCount);
        EXPECT_EQ(calc->ClassCount, std::min(c.classCount, 10));
        EXPECT_EQ(calc->GradeCount[0], c.count);
        EXPECT_EQ(calc->GradeCnt5, c.count);
        EXPECT_EQ(calc->Total5[SlotOf(1, 2)], c.classCount >= 1 ? TCalcTest::kExcluded : 0);
        EXPECT_EQ(calc->Rank[SlotOf(1, 2)], 0);
        EXPECT_EQ(calc->Rank[SlotOf(3, 1)], c.classCount >= 3 ? 1 : 0);
    }
}

TEST(CalcTestRecompute, SecondComputeEqualsAFreshOne) {
    Grade first({{1, 1, 0, {90, 90, 90, 90, 90, 90, 90, 90, 90}},
                 {2, 3, 1, {10, 20, 30, 40, 50, 60, 70, 80, 90}},
                 {3, 5, 0, {99, 98, 97, 96, 95, 94, 93, 92, 91}}});
    Grade second({{1, 2, 1, {50, 60, 70, 80, 90, M, M, M, M}}, {1, 3, 0, {55, 65, 75, 85, 95, M, M, M, M}}});
    auto reused = first.Compute(3);
    reused->Compute(1, *second.names, *second.scores);
    const auto fresh = second.Compute(1);
#define SAME(field) EXPECT_EQ(std::memcmp(&reused->field, &fresh->field, sizeof fresh->field), 0) << #field
    SAME(ClassCount);
    SAME(HasScores);
    SAME(Bin);
    SAME(ClassBin);
    SAME(GradeBinBySex);
    SAME(GradeBin);
    SAME(Count);
    SAME(ClassTally);
    SAME(GradeCountBySex);
    SAME(GradeCount);
    SAME(Sum);
    SAME(ClassSum);
    SAME(GradeSumBySex);
    SAME(GradeSum);
    SAME(SumSq);
    SAME(ClassSumSq);
    SAME(GradeSumSqBySex);
    SAME(GradeSumSq);
    SAME(Total5);
    SAME(Total3);
    SAME(Bin5);
    SAME(ClassBin5);
    SAME(GradeBin5BySex);
    SAME(GradeBin5);
    SAME(Cnt5);
    SAME(ClassCnt5);
    SAME(GradeCnt5BySex);
    SAME(GradeCnt5);
    SAME(Sum5);
    SAME(ClassSum5);
    SAME(GradeSum5BySex);
    SAME(GradeSum5);
    SAME(Cnt3);
    SAME(ClassCnt3);
    SAME(GradeCnt3BySex);
    SAME(GradeCnt3);
    SAME(Sum3);
    SAME(ClassSum3);
    SAME(GradeSum3BySex);
    SAME(GradeSum3);
    SAME(Rank);
    SAME(RankBySex);
    SAME(StdDev);
    SAME(Mean);
#undef SAME
    // The first test's 音楽..技家 are gone.
    EXPECT_FALSE(reused->HasScores[5]);
}

TEST(CalcTestMergeLowBins, MergesACopyAndLeavesTheTrueBands) {
    struct Case {
        int b0, b1, merged;
    };
    const Case cases[] = {{3, 0, 1}, {1, 0, 1}, {0, 1, 1}, {4, 2, 3},    {0, 0, 0},
                          {5, 0, 2}, {2, 3, 2}, {1, 1, 1}, {420, 0, 210}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.b0 << "," << c.b1);
        TCalcTest calc;
        for (int j = 0; j < 12; ++j) {
            calc.GradeBin[j][0] = static_cast<std::uint16_t>(c.b0);
            calc.GradeBin[j][1] = static_cast<std::uint16_t>(c.b1);
            calc.GradeBin[j][2] = 7;
            calc.GradeBin[j][9] = 5;
        }
        TGradeBinTable merged = calc.MergeLowBins();
        for (int j = 0; j < 9; ++j) {
            EXPECT_EQ(merged.Bins[j][0], c.merged) << j;
            EXPECT_EQ(merged.Bins[j][1], c.merged) << j;
            EXPECT_EQ(merged.Bins[j][2], 7) << j;
            EXPECT_EQ(merged.Bins[j][9], 5) << j;
        }
        for (int j = 9; j < 12; ++j) EXPECT_EQ(merged.Bins[j][0], c.b0) << j;
        // The frequency view still reads the true bands.
        EXPECT_EQ(calc.GradeBin[0][0], c.b0);
        EXPECT_EQ(calc.GradeBin[0][1], c.b1);
        // A second merge changes nothing.
        const TGradeBinTable once = merged;
        MergeLowBins(merged);
        EXPECT_EQ(std::memcmp(&once, &merged, sizeof merged), 0);
    }
}

TEST(CalcAllStats, EverySlotOfTheClassesCountsWithOrWithoutAName) {
    auto scores = std::make_unique<TSotenData>();
    std::memset(scores->Score, 255, sizeof scores->Score);
    auto set = [&](int slot, std::array<int, 9> v) {
        for (int j = 0; j < 9; ++j) scores->Score[slot][j] = v[j] == M ? 255 : static_cast<std::uint8_t>(v[j]);
    };
    set(SlotOf(1, 1), {50, 60, 70, 80, 90, 10, M, M, M});
    set(SlotOf(1, 42), {40, M, 40, 40, 40, 20, M, M, M});  // 社会 missing
    set(SlotOf(2, 5), {100, 100, 100, 100, 100, M, M, M, 30});
    set(SlotOf(3, 1), {1, 1, 1, 1, 1, 1, 1, 1, 1});  // beyond the class count
    scores->SubjStats.SubjMean[7] = 9.0f;            // stale figures are cleared
    scores->SubjStats.Total5[SlotOf(3, 1)] = 77;
    CalcAllStats(*scores, 2);
    const TSubjStats &st = scores->SubjStats;
    EXPECT_EQ(st.SubjCount[0], 3);
    EXPECT_EQ(st.SubjSum[0], 190);
    EXPECT_FLOAT_EQ(st.SubjMean[0], 190.0f / 3.0f);
    EXPECT_EQ(st.SubjCount[1], 2);
    EXPECT_EQ(st.SubjSum[1], 160);
    EXPECT_EQ(st.SubjCount[5], 2);
    EXPECT_FLOAT_EQ(st.SubjMean[5], 15.0f);
    EXPECT_EQ(st.SubjCount[7], 0);
    EXPECT_EQ(st.SubjMean[7], 0.0f);
    EXPECT_EQ(st.SubjCount[8], 1);
    EXPECT_EQ(st.Total5[SlotOf(1, 1)], 350);
    EXPECT_GE(st.Total5[SlotOf(1, 42)], 1000);
    EXPECT_GE(st.Total5[SlotOf(1, 2)], 1000);  // an empty slot has no total
    EXPECT_EQ(st.Total5[SlotOf(2, 5)], 500);
    EXPECT_EQ(st.Total5[SlotOf(3, 1)], 0);
    EXPECT_EQ(st.Total5Count, 2);
    EXPECT_EQ(st.Total5Sum, 850);
    for (int j = 9; j < 12; ++j) EXPECT_EQ(st.SubjCount[j], 0) << j;

    CalcAllStats(*scores, 0);
    EXPECT_EQ(scores->SubjStats.SubjCount[0], 0);
    EXPECT_EQ(scores->SubjStats.Total5Count, 0);
    CalcAllStats(*scores, 200);  // held to ten classes
    EXPECT_EQ(scores->SubjStats.SubjCount[0], 4);
}

}  // namespace
}  // namespace dorv
