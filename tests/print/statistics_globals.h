// The current objects the statistics and the sheets printed from them read,
// owned here and pointed at for this object's life. A test fixture takes it
// as a base and reaches the objects by these names.
#pragma once

#include "print/stats/calc_test.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include <memory>

namespace dorv::testing {

struct StatisticsGlobals {
    StatisticsGlobals() {
        CurCalcTest = calc_.get();
        CurNameData = names_.get();
        CurSotenData = scores_.get();
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
    }
    ~StatisticsGlobals() {
        CurCalcTest = nullptr;
        CurNameData = nullptr;
        CurSotenData = nullptr;
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
    }
    StatisticsGlobals(const StatisticsGlobals &) = delete;
    StatisticsGlobals &operator=(const StatisticsGlobals &) = delete;

    std::unique_ptr<TCalcTest> calc_ = std::make_unique<TCalcTest>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores_ = std::make_unique<TSotenData>();
    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
};

}  // namespace dorv::testing
