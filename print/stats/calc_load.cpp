// Loading the selected test around the pure computation.
#include <memory>

#include "print/stats/calc_test.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"

namespace dorv {

void TCalcTest::Calculate() {
    // Everything is loaded aside first: a load that raises halfway must not
    // leave the outputs with one grade's roster beside another's scores.
    auto classes = std::make_unique<TKurasuSuData>();
    classes->LoadKurasuSu();
    const std::uint8_t grade = SelectedGrade;
    const std::uint8_t classCount = grade >= 1 && grade <= 3 ? classes->GradeClasses[grade] : 0;

    auto names = std::make_unique<TNameData>();
    names->Grade = grade;
    names->LoadMeibo(classCount);

    auto scores = std::make_unique<TSotenData>();
    scores->LoadTest(TestId, classCount);

    Compute(classCount, *names, *scores);
    CalcGrade = grade;
    CalcTestId = TestId;

    ClassCountOfGrade = classCount;
    if (CurKurasuSuData) *CurKurasuSuData = *classes;
    if (CurNameData) *CurNameData = std::move(*names);
    if (CurSotenData) *CurSotenData = *scores;
}

}  // namespace dorv
