// The statistics of one test for one grade (unit DorvCalT): counts, sums,
// sums of squares, 10-point bands, means and population standard deviations
// per subject; five- and three-subject totals; ranks in the grade and by sex.
//
// Every figure is gathered per class and sex group and then summed into the
// coarser shapes (per class, per sex group over the grade, whole grade).
// Indexes follow the school's own numbering: classes 1..10 and slots 1..420
// (index 0 unused), sex group 0 (boys) and 1 (every other sex code),
// subjects 0..11 (only 0..8 are filled), bands 0..9.
//
// Compute() is the pure computation from a roster and a score set; Calculate()
// (calc_load.cpp) loads the selected test around it.
#pragma once

#include <cstdint>

#include "schooldata/globals.h"  // TTestId

namespace dorv {

class TNameData;
class TSotenData;

// Bands of every subject over the whole grade: [subject 0..11][band 0..9].
struct TGradeBinTable {
    std::uint16_t Bins[12][10] = {};
};

class TCalcTest {
public:
    static constexpr int kClasses = 10;
    static constexpr int kPerClass = 42;
    static constexpr int kSlots = 420;
    static constexpr int kSubjects = 12;
    static constexpr int kScoredSubjects = 9;  // 0..8
    static constexpr int kFiveSubjects = 5;    // 0..4
    static constexpr int kBands = 10;
    // A total of at least this is excluded (a missing score or no student).
    static constexpr std::int32_t kExcluded = 1000;
    static constexpr std::int32_t kMaxTotal5 = 500;
    static constexpr std::int32_t kMaxTotal3 = 300;

    std::uint8_t ClassCount = 0;
    bool HasScores[12] = {};

    // Bands: score div 10, 100 in band 9.
    std::uint8_t Bin[11][2][12][10] = {};
    std::uint8_t ClassBin[11][12][10] = {};
    std::uint16_t GradeBinBySex[2][12][10] = {};
    std::uint16_t GradeBin[12][10] = {};

    // Examinees (scores 0..100).
    std::uint8_t Count[11][2][12] = {};
    std::uint8_t ClassTally[11][12] = {};
    std::int32_t GradeCountBySex[2][12] = {};
    std::int32_t GradeCount[12] = {};

    std::int32_t Sum[11][2][12] = {};
    std::int32_t ClassSum[11][12] = {};
    std::int32_t GradeSumBySex[2][12] = {};
    std::int32_t GradeSum[12] = {};

    std::int32_t SumSq[11][2][12] = {};
    std::int32_t ClassSumSq[11][12] = {};
    std::int32_t GradeSumSqBySex[2][12] = {};
    std::int32_t GradeSumSq[12] = {};

    // [slot 1..420]; kExcluded or more = no total.
    std::int32_t Total5[421] = {};
    std::int32_t Total3[421] = {};

    // Valid five-subject totals per 50-point band (500 in band 9).
    std::uint8_t Bin5[11][2][10] = {};
    std::uint8_t ClassBin5[11][10] = {};
    std::int32_t GradeBin5BySex[2][10] = {};
    std::int32_t GradeBin5[10] = {};

    std::uint8_t Cnt5[11][2] = {};
    std::uint8_t ClassCnt5[11] = {};
    std::int32_t GradeCnt5BySex[2] = {};
    std::int32_t GradeCnt5 = 0;

    std::int32_t Sum5[11][2] = {};
    std::int32_t ClassSum5[11] = {};
    std::int32_t GradeSum5BySex[2] = {};
    std::int32_t GradeSum5 = 0;

    std::uint8_t Cnt3[11][2] = {};
    std::uint8_t ClassCnt3[11] = {};
    std::int32_t GradeCnt3BySex[2] = {};
    std::int32_t GradeCnt3 = 0;

    std::int32_t Sum3[11][2] = {};
    std::int32_t ClassSum3[11] = {};
    std::int32_t GradeSum3BySex[2] = {};
    std::int32_t GradeSum3 = 0;

    // Ranked slots, best first: [1..GradeCnt5].
    std::int32_t RankList[421] = {};
    // [slot 1..420]: rank in the grade by the five-subject total, 0 = none.
    std::int32_t Rank[421] = {};
    // [group 0..1][1..GradeCnt5BySex[group]]: one group may hold every slot
    // of the grade.
    std::int32_t RankListBySex[2][421] = {};
    std::int32_t RankBySex[421] = {};

    // Grade figures of subjects 0..4.
    float StdDev[5] = {};
    float Mean[5] = {};

    // The selection these figures belong to, so that an output opened after
    // a later selection of another grade can tell (Calculate sets them).
    std::uint8_t CalcGrade = 0;
    TTestId CalcTestId{};

    // Recomputes everything from a roster and the test's scores for classes
    // 1..classCount (held to 0..10). A slot without a name is no student.
    // Mean keeps its previous value for a subject without scores.
    void Compute(std::uint8_t classCount, const TNameData &names, const TSotenData &scores);

    // Loads the class counts, the roster and the test of TestId for
    // SelectedGrade, then computes. The loads go into objects
    // of their own: only when all of them succeeded are this object,
    // CurKurasuSuData, CurNameData, CurSotenData and ClassCountOfGrade
    // replaced. A failure raises and leaves all of them as they were.
    void Calculate();

    // GradeBin with bands 0 and 1 of every subject merged, for the charts of
    // the individual result sheet; GradeBin itself stays as it is.
    TGradeBinTable MergeLowBins() const;

private:
    void ClearTotals();
    void AddStudents(const TNameData &names, const TSotenData &scores);
    void SumClasses();
    void SumGradeBySex();
    void SumGrade();
    void CalcGradeFigures();
    void BuildRanks(const TNameData &names);
};

// Bands 0 and 1 of subjects 0..8 both become half their sum, or 1 when the
// sum is 1; a second merge changes nothing.
void MergeLowBins(TGradeBinTable &table);

// Population standard deviation from the count, total and total of squares,
// in extended precision; 0 for a count of 0.
float StdDeviation(std::uint16_t count, std::int32_t total, std::int32_t totalSq);

// (score - mean) * 10 / sd + 50 in extended precision (the score's low seven
// bits). With a standard deviation of 0 every score equals the mean: 50.
float DeviationValue(std::uint8_t score, float mean, float sd);

// The statistics object of the display program (created by its main form).
extern TCalcTest *CurCalcTest;

}  // namespace dorv
