#include "print/stats/stats_roster.h"

#include "print/stats/calc_test.h"
#include "schooldata/globals.h"
#include "schooldata/name_data.h"

namespace dorv {

const TNameData &RosterOfStatistics(const TCalcTest &calc, std::unique_ptr<TNameData> &own) {
    if (CurNameData != nullptr && CurNameData->Grade == calc.CalcGrade) return *CurNameData;
    own = std::make_unique<TNameData>();
    own->Grade = calc.CalcGrade;
    own->LoadMeibo(calc.ClassCount);
    return *own;
}

}  // namespace dorv
