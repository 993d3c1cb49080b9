// The command line of dorv-sample-school: --help prints the usage, and a
// wrong command line writes nothing anywhere, least of all a school into a
// folder named like an option.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using dorv::testing::TempDir;

std::string ReadAll(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
    std::set<std::string> written;  // what the run left in its working folder, all the way down
};

// The tool with `args`, in a fresh working folder.
ToolRun RunTool(const std::vector<std::string> &args) {
    const TempDir cwd("dorv-sample-command");
    const TempDir logs("dorv-sample-command-logs");
    std::string command = "cd '" + cwd.path().string() + "' && '" + DORV_SAMPLE_SCHOOL + "'";
    for (const std::string &a : args) command += " '" + a + "'";
    command += " > '" + (logs / "out").string() + "' 2> '" + (logs / "err").string() + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(logs / "out");
    run.err = ReadAll(logs / "err");
    for (const auto &e : fs::recursive_directory_iterator(cwd.path()))
        run.written.insert(fs::relative(e.path(), cwd.path()).string());
    return run;
}

constexpr const char *kUsageLine = "usage: dorv-sample-school [--first-tests-only] DRIVE_FOLDER\n";

struct WrongCase {
    const char *what;
    std::vector<std::string> args;
    const char *message;  // what stderr says before the usage line
};

class WrongCommandLine : public ::testing::TestWithParam<WrongCase> {};

TEST_P(WrongCommandLine, WritesNothingAndShowsTheUsage) {
    const ToolRun run = RunTool(GetParam().args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string(GetParam().message) + kUsageLine);
    EXPECT_EQ(run.written, std::set<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongCommandLine,
    ::testing::Values(WrongCase{"NoFolder", {}, ""}, WrongCase{"OnlyTheOption", {"--first-tests-only"}, ""},
                      WrongCase{"TwoFolders", {"school", "other"}, ""},
                      WrongCase{"MistypedOption",
                                {"--first-test-only", "school"},
                                "dorv-sample-school: オプション --first-test-only はありません\n"},
                      WrongCase{"UnknownShortOption", {"-x"}, "dorv-sample-school: オプション -x はありません\n"}),
    [](const auto &info) { return std::string(info.param.what); });

class Help : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Help, PrintsTheUsageAndWritesNothing) {
    const ToolRun run = RunTool(GetParam());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(kUsageLine)) << run.out;
    EXPECT_NE(run.out.find("--first-tests-only"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.written, std::set<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cases, Help,
                         ::testing::Values(std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
                                           std::vector<std::string>{"school", "--help"}));

}  // namespace
