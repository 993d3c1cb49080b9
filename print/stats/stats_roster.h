// The roster that goes with the current statistics: CurNameData when it
// still holds the grade the statistics were computed for, otherwise that
// grade's roster loaded afresh (a view or the conference sheet may have
// loaded another grade into CurNameData since the test was selected).
#pragma once

#include <memory>

namespace dorv {

class TCalcTest;
class TNameData;

// `own` keeps a roster loaded here alive for as long as the caller needs it.
const TNameData &RosterOfStatistics(const TCalcTest &calc, std::unique_ptr<TNameData> &own);

}  // namespace dorv
