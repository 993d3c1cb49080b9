// The current objects the conference sheet's loaders and form read, owned
// here and pointed at for this object's life. A test fixture takes it as a
// base and reaches the objects by these names.
#pragma once

#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/test_names.h"

#include <memory>

namespace dorv::testing {

struct KondanGlobals {
    KondanGlobals() {
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
        CurKantenData = kanten_.get();
        CurNameData = names_.get();
    }
    ~KondanGlobals() {
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        CurKantenData = nullptr;
        CurNameData = nullptr;
    }
    KondanGlobals(const KondanGlobals &) = delete;
    KondanGlobals &operator=(const KondanGlobals &) = delete;

    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
    std::unique_ptr<TKantenData> kanten_ = std::make_unique<TKantenData>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
};

}  // namespace dorv::testing
