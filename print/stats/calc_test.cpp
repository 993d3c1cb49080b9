#include "print/stats/calc_test.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "schooldata/access.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"  // IsThreeSubject
#include "schooldata/soten_data.h"

namespace dorv {

TCalcTest *CurCalcTest = nullptr;

namespace {

constexpr int SexGroup(std::uint8_t sex) { return sex == TNameData::kSexBoy ? 0 : 1; }

constexpr int ScoreBand(int score) { return score == 100 ? 9 : score / 10; }

constexpr int Total5Band(int total) { return total == TCalcTest::kMaxTotal5 ? 9 : total / 50; }

template <typename T>
void Zero(T &array) {
    std::memset(&array, 0, sizeof array);
}

// Gapped insertion sort of list[1..length] by total, highest first; equal
// totals are never exchanged.
void SortByTotal(std::int32_t *list, int length, const std::int32_t *total) {
    for (int gap = length / 2; gap > 0; gap /= 2) {
        for (int i = 1; i <= length - gap; ++i) {
            for (int d = i; d >= 1 && total[list[d]] < total[list[d + gap]]; d -= gap)
                std::swap(list[d], list[d + gap]);
        }
    }
}

// Position in the sorted list, equal totals sharing the rank of the first
// of them (1, 2, 2, 4).
void AssignRanks(const std::int32_t *list, int length, const std::int32_t *total, std::int32_t *rank) {
    for (int i = 1; i <= length; ++i) {
        const std::int32_t slot = list[i];
        if (i > 1 && total[slot] == total[list[i - 1]]) rank[slot] = rank[list[i - 1]];
        else rank[slot] = i;
    }
}

}  // namespace

void TCalcTest::Compute(std::uint8_t classCount, const TNameData &names, const TSotenData &scores) {
    ClearTotals();
    ClassCount = std::min<std::uint8_t>(classCount, kClasses);
    AddStudents(names, scores);
    SumClasses();
    SumGradeBySex();
    SumGrade();
    CalcGradeFigures();
    BuildRanks(names);
}

void TCalcTest::ClearTotals() {
    Zero(Bin);
    Zero(ClassBin);
    Zero(GradeBinBySex);
    Zero(GradeBin);
    Zero(Count);
    Zero(ClassTally);
    Zero(GradeCountBySex);
    Zero(GradeCount);
    Zero(Sum);
    Zero(ClassSum);
    Zero(GradeSumBySex);
    Zero(GradeSum);
    Zero(SumSq);
    Zero(ClassSumSq);
    Zero(GradeSumSqBySex);
    Zero(GradeSumSq);
    Zero(Total5);
    Zero(Total3);
    Zero(Bin5);
    Zero(ClassBin5);
    Zero(GradeBin5BySex);
    Zero(GradeBin5);
    Zero(Cnt5);
    Zero(ClassCnt5);
    Zero(GradeCnt5BySex);
    GradeCnt5 = 0;
    Zero(Sum5);
    Zero(ClassSum5);
    Zero(GradeSum5BySex);
    GradeSum5 = 0;
    Zero(Cnt3);
    Zero(ClassCnt3);
    Zero(GradeCnt3BySex);
    GradeCnt3 = 0;
    Zero(Sum3);
    Zero(ClassSum3);
    Zero(GradeSum3BySex);
    GradeSum3 = 0;
}

void TCalcTest::AddStudents(const TNameData &names, const TSotenData &scores) {
    for (int c = 1; c <= ClassCount; ++c) {
        for (int n = 1; n <= kPerClass; ++n) {
            const int slot = SlotOf(c, n);
            if (names.Names[slot].empty()) {
                Total5[slot] = kExcluded;
                Total3[slot] = kExcluded;
                continue;
            }
            const int s = SexGroup(names.Sex[slot]);
            for (int j = 0; j < kScoredSubjects; ++j) {
                const int x = scores.Score[slot][j];
                if (x <= 100) {
                    Count[c][s][j] += 1;
                    Sum[c][s][j] += x;
                    SumSq[c][s][j] += x * x;
                    Bin[c][s][j][ScoreBand(x)] += 1;
                    if (j < kFiveSubjects) Total5[slot] += x;
                    if (IsThreeSubject(j)) Total3[slot] += x;
                } else if (j < kFiveSubjects) {
                    // Later scores are still added: an excluded total is
                    // kExcluded or more.
                    Total5[slot] = kExcluded;
                    Total3[slot] = kExcluded;
                }
            }
            if (Total5[slot] <= kMaxTotal5) {
                Cnt5[c][s] += 1;
                Sum5[c][s] += Total5[slot];
                Bin5[c][s][Total5Band(Total5[slot])] += 1;
            }
            if (Total3[slot] <= kMaxTotal3) {
                Cnt3[c][s] += 1;
                Sum3[c][s] += Total3[slot];
            }
        }
    }
}

void TCalcTest::SumClasses() {
    for (int c = 1; c <= ClassCount; ++c) {
        for (int s = 0; s < 2; ++s) {
            for (int j = 0; j < kScoredSubjects; ++j) {
                ClassTally[c][j] += Count[c][s][j];
                ClassSum[c][j] += Sum[c][s][j];
                ClassSumSq[c][j] += SumSq[c][s][j];
                for (int b = 0; b < kBands; ++b) ClassBin[c][j][b] += Bin[c][s][j][b];
            }
            ClassCnt5[c] += Cnt5[c][s];
            ClassSum5[c] += Sum5[c][s];
            ClassCnt3[c] += Cnt3[c][s];
            ClassSum3[c] += Sum3[c][s];
            for (int b = 0; b < kBands; ++b) ClassBin5[c][b] += Bin5[c][s][b];
        }
    }
}

void TCalcTest::SumGradeBySex() {
    for (int c = 1; c <= ClassCount; ++c) {
        for (int s = 0; s < 2; ++s) {
            for (int j = 0; j < kScoredSubjects; ++j) {
                GradeCountBySex[s][j] += Count[c][s][j];
                GradeSumBySex[s][j] += Sum[c][s][j];
                GradeSumSqBySex[s][j] += SumSq[c][s][j];
                for (int b = 0; b < kBands; ++b) GradeBinBySex[s][j][b] += Bin[c][s][j][b];
            }
            GradeCnt5BySex[s] += Cnt5[c][s];
            GradeSum5BySex[s] += Sum5[c][s];
            GradeCnt3BySex[s] += Cnt3[c][s];
            GradeSum3BySex[s] += Sum3[c][s];
            for (int b = 0; b < kBands; ++b) GradeBin5BySex[s][b] += Bin5[c][s][b];
        }
    }
}

void TCalcTest::SumGrade() {
    for (int j = 0; j < kScoredSubjects; ++j) {
        GradeCount[j] = GradeCountBySex[0][j] + GradeCountBySex[1][j];
        GradeSum[j] = GradeSumBySex[0][j] + GradeSumBySex[1][j];
        GradeSumSq[j] = GradeSumSqBySex[0][j] + GradeSumSqBySex[1][j];
        for (int b = 0; b < kBands; ++b) GradeBin[j][b] = GradeBinBySex[0][j][b] + GradeBinBySex[1][j][b];
    }
    GradeCnt5 = GradeCnt5BySex[0] + GradeCnt5BySex[1];
    GradeSum5 = GradeSum5BySex[0] + GradeSum5BySex[1];
    GradeCnt3 = GradeCnt3BySex[0] + GradeCnt3BySex[1];
    GradeSum3 = GradeSum3BySex[0] + GradeSum3BySex[1];
    for (int b = 0; b < kBands; ++b) GradeBin5[b] = GradeBin5BySex[0][b] + GradeBin5BySex[1][b];
}

void TCalcTest::CalcGradeFigures() {
    for (int j = 0; j < kScoredSubjects; ++j) HasScores[j] = GradeCount[j] != 0;
    for (int j = 0; j < kFiveSubjects; ++j) {
        StdDev[j] = StdDeviation(static_cast<std::uint16_t>(GradeCount[j]), GradeSum[j], GradeSumSq[j]);
        if (GradeCount[j] > 0) Mean[j] = static_cast<float>(static_cast<double>(GradeSum[j]) / GradeCount[j]);
    }
}

void TCalcTest::BuildRanks(const TNameData &names) {
    Zero(RankList);
    Zero(RankListBySex);
    int length = 0;
    int lengthBySex[2] = {0, 0};
    for (int slot = 1; slot <= ClassCount * kPerClass; ++slot) {
        if (Total5[slot] > kMaxTotal5) continue;
        RankList[++length] = slot;
        const int s = SexGroup(names.Sex[slot]);
        RankListBySex[s][++lengthBySex[s]] = slot;
    }
    Zero(Rank);
    Zero(RankBySex);
    SortByTotal(RankList, length, Total5);
    AssignRanks(RankList, length, Total5, Rank);
    for (int s = 0; s < 2; ++s) {
        SortByTotal(RankListBySex[s], lengthBySex[s], Total5);
        AssignRanks(RankListBySex[s], lengthBySex[s], Total5, RankBySex);
    }
}

TGradeBinTable TCalcTest::MergeLowBins() const {
    TGradeBinTable table;
    std::memcpy(table.Bins, GradeBin, sizeof table.Bins);
    dorv::MergeLowBins(table);
    return table;
}

void MergeLowBins(TGradeBinTable &table) {
    for (int j = 0; j < TCalcTest::kScoredSubjects; ++j) {
        const int pair = table.Bins[j][0] + table.Bins[j][1];
        const auto merged = static_cast<std::uint16_t>(pair == 1 ? 1 : pair / 2);
        table.Bins[j][0] = merged;
        table.Bins[j][1] = merged;
    }
}

float StdDeviation(std::uint16_t count, std::int32_t total, std::int32_t totalSq) {
    if (count == 0) return 0.0f;
    const long double n = count;
    const long double mean = total / n;
    // Rounding may leave a hair below zero for equal scores.
    const long double variance = std::max(0.0L, totalSq / n - mean * mean);
    return static_cast<float>(std::sqrt(variance));
}

float DeviationValue(std::uint8_t score, float mean, float sd) {
    if (sd == 0.0f) return 50.0f;
    const long double x = score & 0x7F;
    return static_cast<float>((x - static_cast<long double>(mean)) * 10.0L / static_cast<long double>(sd) + 50.0L);
}

}  // namespace dorv
