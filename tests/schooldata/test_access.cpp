// The access scheme: the event-pumping wait, the bounded retry of a held
// workbook, refusal of a nested operation, and which path a load takes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/settings.h"

namespace dorv {
namespace {

using namespace std::chrono_literals;
using clock_type = std::chrono::steady_clock;

double msSince(clock_type::time_point start) {
    return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

class PumpHookScope {
public:
    explicit PumpHookScope(EventPumpHook hook) { SetEventPumpHook(std::move(hook)); }
    ~PumpHookScope() { SetEventPumpHook({}); }
};

class RetryTimingScope {
public:
    explicit RetryTimingScope(RetryTiming t) : saved_(GetRetryTiming()) { SetRetryTiming(t); }
    ~RetryTimingScope() { SetRetryTiming(saved_); }

private:
    RetryTiming saved_;
};

TEST(PumpWait, WaitsTheTimeWhilePumpingAndStopsOnQuit) {
    int pumps = 0;
    PumpHookScope hook([&] {
        ++pumps;
        return false;
    });

    auto start = clock_type::now();
    EXPECT_TRUE(PumpWait(0));
    EXPECT_EQ(pumps, 0);

    start = clock_type::now();
    EXPECT_TRUE(PumpWait(30));
    EXPECT_GE(msSince(start), 30.0);
    EXPECT_GT(pumps, 5);  // events keep coming in during the wait

    int calls = 0;
    SetEventPumpHook([&] { return ++calls >= 3; });  // a quit request on the third round
    start = clock_type::now();
    EXPECT_FALSE(PumpWait(5000));
    EXPECT_LT(msSince(start), 1000.0);
    EXPECT_EQ(calls, 3);
}

TEST(PumpWait, WithoutAHookSimplyWaits) {
    SetEventPumpHook({});
    auto start = clock_type::now();
    EXPECT_TRUE(PumpWait(20));
    EXPECT_GE(msSince(start), 20.0);
}

TEST(RetryStep, RetriesOnlyTemporaryFailures) {
    RetryTimingScope timing({5ms, 2000ms});
    int attempts = 0;
    RetryStep("/x.xls", [&] {
        if (++attempts < 4) throw ExcelTemporaryError("held");
    });
    EXPECT_EQ(attempts, 4);

    attempts = 0;
    EXPECT_THROW(RetryStep("/x.xls",
                           [&] {
                               ++attempts;
                               throw ExcelError("missing");
                           }),
                 ExcelError);
    EXPECT_EQ(attempts, 1);

    attempts = 0;
    RetryStep("/x.xls", [&] { ++attempts; });
    EXPECT_EQ(attempts, 1);  // a step that worked is not repeated
}

TEST(RetryStep, GivesUpWithAMessageAfterTheLimit) {
    RetryTimingScope timing({5ms, 100ms});
    auto start = clock_type::now();
    try {
        RetryStep("/data/名簿.xls", [] { throw ExcelTemporaryError("held"); });
        FAIL() << "no failure";
    } catch (const ExcelTemporaryError &) {
        FAIL() << "the final failure must not look temporary";
    } catch (const ExcelError &e) {
        EXPECT_STREQ(e.what(), "ファイル /data/名簿.xls は他のプログラムが使用中です");
    }
    EXPECT_GE(msSince(start), 100.0);
    EXPECT_LT(msSince(start), 1500.0);
}

TEST(RetryStep, AQuitRequestEndsTheRetry) {
    RetryTimingScope timing({5ms, 60000ms});
    PumpHookScope hook([] { return true; });
    auto start = clock_type::now();
    EXPECT_THROW(RetryStep("/x.xls", [] { throw ExcelTemporaryError("held"); }), ExcelError);
    EXPECT_LT(msSince(start), 1000.0);
}

// A workbook held open by another writer (another open of the service holds
// the lock) is waited for; an operation started from an event during that
// wait is refused.
TEST(AccessScheme, HeldWorkbookIsWaitedForAndNestedOperationRefused) {
    testing::SchoolFolder school;
    const auto path = school.Grade(1, "held.xls");
    testing::WriteXls(path, {{"Data", {{"B2", "85"}}}});

    TExcelApplication otherApp;
    TExcelWorkbook other;
    other.Open(otherApp, path.string());

    RetryTimingScope timing({10ms, 5000ms});
    std::string nestedError;
    int rounds = 0;
    PumpHookScope hook([&] {
        if (++rounds == 1) {
            try {
                LoadWorkbook({path.string(),
                              WorkbookKind::Master,
                              {},
                              [](unsigned, unsigned, unsigned, const std::string &) {},
                              {}});
            } catch (const WorkbookBusyError &e) {
                nestedError = e.what();
            }
        }
        if (rounds == 3) other.Close(false);
        return false;
    });

    std::string b2;
    LoadPlan plan;
    plan.path = path.string();
    plan.kind = WorkbookKind::Grade;
    plan.onReadCell = [](unsigned, unsigned, unsigned, const std::string &) {
        throw std::runtime_error("to the service");
    };
    plan.service = [&](ServiceSession &s) { b2 = s.Sheet("Data").ReadCell("B2"); };
    LoadWorkbook(plan);

    EXPECT_EQ(b2, "85");
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_GE(rounds, 3);
    EXPECT_FALSE(nestedError.empty());
    EXPECT_FALSE(WorkbookOperationRunning());
}

TEST(AccessScheme, FinalFailuresDoNotWait) {
    testing::SchoolFolder school;
    RetryTimingScope timing({10ms, 10000ms});
    const auto noSheet = school.Kihon("nosheet.xls");
    testing::WriteXls(noSheet, {{"Other", {{"A1", "x"}}}});
    const auto before = testing::Stamp(noSheet);

    struct Case {
        const char *name;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", school.Kihon("none.xls").string()},
        {"missing sheet", noSheet.string()},
        {"a folder", school.Kihon("").string()},
    };
    for (const Case &c : cases) {
        LoadPlan plan;
        plan.path = c.path;
        plan.onReadCell = [](unsigned, unsigned, unsigned, const std::string &) {
            throw std::runtime_error("to the service");
        };
        plan.service = [](ServiceSession &s) { s.Sheet("Data"); };
        auto start = clock_type::now();
        try {
            LoadWorkbook(plan);
            ADD_FAILURE() << c.name;
        } catch (const ExcelError &e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << c.name;
        }
        EXPECT_LT(msSince(start), 2000.0) << c.name;
        EXPECT_FALSE(WorkbookOperationRunning()) << c.name;
    }
    EXPECT_EQ(testing::Stamp(noSheet), before);
}

TEST(AccessScheme, ReaderFirstThenServiceAndSaveWritesThroughTheService) {
    testing::SchoolFolder school;
    const auto path = school.Grade(2, "scores.xls");
    testing::WriteXls(path, {{"Data", {{"B2", "85"}, {"C3", "山田"}}}});
    const auto before = testing::Stamp(path);

    std::vector<std::string> seen;
    LoadPlan plan;
    plan.path = path.string();
    plan.kind = WorkbookKind::Grade;
    int cleared = 0;
    plan.clear = [&] { ++cleared; };
    plan.onReadCell = [&](unsigned s, unsigned r, unsigned c, const std::string &d) {
        seen.push_back(std::to_string(s) + ":" + CellAddress(c, r + 1) + "=" + d);
    };
    plan.service = [](ServiceSession &) { FAIL() << "the reader could read it"; };
    LoadWorkbook(plan);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"1:B2=85", "1:C3=山田"}));

    // Through the service a grade workbook is closed saving, but nothing was
    // written: the file stays as it was.
    plan.onReadCell = [](unsigned, unsigned, unsigned, const std::string &) { throw std::runtime_error("x"); };
    std::string c3;
    plan.service = [&](ServiceSession &s) { c3 = s.Sheet("Data").ReadCell("C3"); };
    LoadWorkbook(plan);
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(c3, "山田");
    EXPECT_EQ(testing::Stamp(path), before);

    SaveWorkbook(path.string(), [](ServiceSession &s) { s.Sheet("Data").WriteCell("D4", "42"); });
    seen.clear();
    plan.onReadCell = [&](unsigned s, unsigned r, unsigned c, const std::string &d) {
        seen.push_back(std::to_string(s) + ":" + CellAddress(c, r + 1) + "=" + d);
    };
    LoadWorkbook(plan);
    EXPECT_EQ(seen, (std::vector<std::string>{"1:B2=85", "1:C3=山田", "1:D4=42"}));
}

// The reader stops at FILEPASS before any cell: walked on, the scrambled
// bodies behind it would reach the handler as cells of random values.
TEST(AccessScheme, AnEncryptedGradeWorkbookHandsNoCellToTheLoader) {
    testing::SchoolFolder school;
    const auto path = school.Grade(1, "scores.xls");
    testing::SheetSpec data{"Data"};
    for (int row = 2; row <= 421; ++row) data.cells.push_back({"B" + std::to_string(row), std::to_string(row % 101)});
    testing::WriteEncryptedXls(path, {data});
    int cells = 0;
    LoadPlan plan;
    plan.path = path.string();
    plan.kind = WorkbookKind::Grade;
    plan.onReadCell = [&](unsigned, unsigned, unsigned, const std::string &) { ++cells; };
    plan.service = [](ServiceSession &s) { s.Sheet("Data"); };
    try {
        LoadWorkbook(plan);
        ADD_FAILURE() << "loaded";
    } catch (const ExcelError &e) {
        EXPECT_NE(std::string(e.what()).find("パスワードで保護"), std::string::npos) << e.what();
    }
    EXPECT_EQ(cells, 0);
}

TEST(AccessScheme, FailedSaveLeavesTheFileAndRaises) {
    testing::SchoolFolder school;
    const auto path = school.Grade(3, "marks.xls");
    testing::WriteXls(path, {{"Data", {{"B2", "3"}}}});
    const auto before = testing::Stamp(path);
    EXPECT_THROW(SaveWorkbook(path.string(),
                              [](ServiceSession &s) {
                                  s.Sheet("Data").WriteCell("B2", "5");
                                  s.Sheet("Missing");
                              }),
                 ExcelError);
    EXPECT_EQ(testing::Stamp(path), before);
    EXPECT_FALSE(WorkbookOperationRunning());
}

}  // namespace
}  // namespace dorv
