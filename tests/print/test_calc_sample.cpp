// The statistics of the sample school's tests, loaded from their workbooks,
// against the same figures computed independently from the same files with
// python3-xlrd (calc_reference.py).
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "test_env.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;

using testing::ShellQuote;

// The reference's lines by their key and first argument: "count 3" -> "92".
std::map<std::string, std::string> Reference(const fs::path &data, int grade, int test, int kind) {
    const std::string command = ShellQuote(testing::TestEnv("DORV_PYTHON")) + " " +
                                ShellQuote(testing::TestEnv("DORV_SOURCE_DIR") + "/tests/print/calc_reference.py") +
                                " " + ShellQuote(data.string()) + " " + std::to_string(grade) + " " +
                                std::to_string(test) + " " + std::to_string(kind);
    std::map<std::string, std::string> out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream in(line);
        std::string key, arg, rest;
        in >> key;
        if (key == "classes" || key == "cnt5" || key == "sum5" || key == "cnt3" || key == "sum3") {
            in >> rest;
            out[key] = rest;
            continue;
        }
        in >> arg;
        std::getline(in, rest);
        out[key + " " + arg] = rest.substr(rest.find_first_not_of(' '));
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

class SampleSchool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Early in the year: the later tests wait without scores.
        drive = testing::MakeSampleSchool("dorv-calc-sample", "--first-tests-only");
    }
    static void TearDownTestSuite() { fs::remove_all(drive); }

    void SetUp() override {
        WorkDrive = drive.string();
        names = std::make_unique<TNameData>();
        scores = std::make_unique<TSotenData>();
        classes = std::make_unique<TKurasuSuData>();
        teiki = std::make_unique<TTeikiTestName>();
        jitsu = std::make_unique<TJitsuTestName>();
        CurNameData = names.get();
        CurSotenData = scores.get();
        CurKurasuSuData = classes.get();
        CurTeikiTestName = teiki.get();
        CurJitsuTestName = jitsu.get();
        teiki->LoadTestNames();
        jitsu->LoadTestNames();
    }
    void TearDown() override {
        CurNameData = nullptr;
        CurSotenData = nullptr;
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
    }

    static void Select(int grade, int test, int kind) {
        SelectedGrade = static_cast<std::uint8_t>(grade);
        SelectedTest = static_cast<std::uint8_t>(test);
        TestId = {static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(test)};
    }

    static inline fs::path drive;
    std::unique_ptr<TNameData> names;
    std::unique_ptr<TSotenData> scores;
    std::unique_ptr<TKurasuSuData> classes;
    std::unique_ptr<TTeikiTestName> teiki;
    std::unique_ptr<TJitsuTestName> jitsu;
};

TEST_F(SampleSchool, CalculateAgreesWithAnIndependentReading) {
    struct Case {
        int grade, test, kind;
    };
    // Tests with scores of all nine or all five subjects, and one that
    // nobody has entered yet.
    const Case cases[] = {{1, 1, 0}, {2, 2, 0}, {3, 1, 0}, {1, 1, 1}, {2, 1, 1}, {3, 4, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "grade " << c.grade << " test " << c.test << " kind " << c.kind);
        Select(c.grade, c.test, c.kind);
        auto calc = std::make_unique<TCalcTest>();
        calc->Calculate();
        auto ref = Reference(drive / "Dorv" / "Data", c.grade, c.test, c.kind);
        ASSERT_FALSE(ref.empty());

        EXPECT_EQ(std::to_string(calc->ClassCount), ref["classes"]);
        EXPECT_EQ(ClassCountOfGrade, calc->ClassCount);
        EXPECT_EQ(CurNameData->Grade, c.grade);
        EXPECT_EQ(calc->CalcGrade, c.grade);
        EXPECT_EQ(calc->CalcTestId.TestKind, c.kind);
        for (int j = 0; j < 9; ++j) {
            const std::string k = " " + std::to_string(j);
            EXPECT_EQ(std::to_string(calc->GradeCount[j]), ref["count" + k]) << j;
            EXPECT_EQ(std::to_string(calc->GradeSum[j]), ref["sum" + k]) << j;
            EXPECT_EQ(calc->HasScores[j], ref["count" + k] != "0") << j;
            std::string bands;
            for (int b = 0; b < 10; ++b) bands += (b ? " " : "") + std::to_string(calc->GradeBin[j][b]);
            EXPECT_EQ(bands, ref["bands" + k]) << j;
            if (j < 5) {
                EXPECT_NEAR(calc->Mean[j], std::stod(ref["mean" + k]), 1e-4) << j;
                EXPECT_NEAR(calc->StdDev[j], std::stod(ref["sd" + k]), 1e-4) << j;
            }
        }
        EXPECT_EQ(std::to_string(calc->GradeCnt5), ref["cnt5"]);
        EXPECT_EQ(std::to_string(calc->GradeSum5), ref["sum5"]);
        EXPECT_EQ(std::to_string(calc->GradeCnt3), ref["cnt3"]);
        EXPECT_EQ(std::to_string(calc->GradeSum3), ref["sum3"]);
        int students = 0;
        for (int slot = 1; slot <= calc->ClassCount * kStudentsPerClass; ++slot) {
            const auto it = ref.find("rank " + std::to_string(slot));
            if (it == ref.end()) {
                EXPECT_EQ(calc->Rank[slot], 0) << slot;
                continue;
            }
            ++students;
            EXPECT_EQ(std::to_string(calc->Rank[slot]) + " " + std::to_string(calc->RankBySex[slot]), it->second)
                << slot;
        }
        EXPECT_GT(students, 0);
        EXPECT_EQ(calc->HasScores[0], !(c.grade == 3 && c.test == 4));
        EXPECT_EQ(calc->HasScores[5], c.kind == 0 && !(c.grade == 3 && c.test == 4));
    }
}

TEST_F(SampleSchool, FailedCalculateLeavesTheSharedDataAsItWas) {
    Select(1, 1, 0);
    auto calc = std::make_unique<TCalcTest>();
    calc->Calculate();
    const std::uint8_t classCount = ClassCountOfGrade;
    const std::string firstName = CurNameData->Names[1];
    const std::uint8_t firstScore = CurSotenData->Score[1][0];
    ASSERT_FALSE(firstName.empty());

    // Grade 2's roster is there, its test workbook is not.
    const fs::path book = drive / "Dorv" / "Data" / "２年生" / (teiki->TestName[2][2] + ".xls");
    const fs::path aside = drive / "aside.xls";
    fs::rename(book, aside);
    Select(2, 2, 0);
    auto failing = std::make_unique<TCalcTest>();
    EXPECT_ANY_THROW(failing->Calculate());
    fs::rename(aside, book);

    EXPECT_EQ(ClassCountOfGrade, classCount);
    EXPECT_EQ(CurNameData->Grade, 1);
    EXPECT_EQ(CurNameData->Names[1], firstName);
    EXPECT_EQ(CurSotenData->Score[1][0], firstScore);
    EXPECT_EQ(failing->CalcGrade, 0);
    EXPECT_EQ(failing->GradeCount[0], 0);
}

}  // namespace
}  // namespace dorv
