// The test environment's settings (DORV_BIN_DIR, DORV_SOURCE_DIR,
// DORV_PYTHON), with the build's own values where the environment lacks
// them, and the sample school written into a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace dorv::testing {

inline std::string TestEnv(const char *name) {
    namespace fs = std::filesystem;
    if (const char *v = std::getenv(name); v && *v) return v;
    const std::string key = name;
    if (key == "DORV_BIN_DIR") return fs::read_symlink("/proc/self/exe").parent_path().string();
    if (key == "DORV_SOURCE_DIR") return DORV_TEST_SOURCE_DIR;
    if (key == "DORV_PYTHON") return DORV_TEST_PYTHON;
    return "";
}

inline std::string ShellQuote(const std::string &s) { return "'" + s + "'"; }

// A fresh folder named after `stem` and the process, holding the sample
// school (its data folder is <folder>/Dorv/Data). `options` go to the tool
// before the folder.
inline std::filesystem::path MakeSampleSchool(const std::string &stem, const std::string &options = "") {
    namespace fs = std::filesystem;
    const fs::path drive = fs::temp_directory_path() / (stem + "-" + std::to_string(::getpid()));
    fs::remove_all(drive);
    fs::create_directories(drive);
    const std::string command = ShellQuote(TestEnv("DORV_BIN_DIR") + "/dorv-sample-school") + " " + options + " " +
                                ShellQuote(drive.string()) + " > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return drive;
}

}  // namespace dorv::testing
