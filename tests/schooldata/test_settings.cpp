// The settings file beside the program, the data folder paths and the login
// staff number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "schooldata/settings.h"
#include "tests/temp_dir.h"
#include "workbook/cp932.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::MakeTempDir("dorv-ini");
        std::string exeDir = dir_.string() + "/";
        SetExeDirSource([exeDir] { return exeDir; });
        savedDrive_ = WorkDrive;
    }
    void TearDown() override {
        ResetEnvironmentSources();
        WorkDrive = savedDrive_;
        testing::RemoveTempDir(dir_);
    }
    void WriteIni(const std::string &bytes) { std::ofstream(dir_ / "Dorv.INI", std::ios::binary) << bytes; }
    void ReadBoth() {
        ReadSchoolInfo();
        ReadWorkDrive();
    }

    fs::path dir_;
    std::string savedDrive_;
};

TEST_F(SettingsTest, NoSettingsFileGivesTheDefaults) {
    ReadBoth();
    EXPECT_EQ(ExeDir, dir_.string() + "/");
    EXPECT_EQ(WorkDrive, "J:");
    EXPECT_EQ(SchoolName, "ノルベ市立中学校");
    EXPECT_EQ(SchoolSection, "学習指導部");
    EXPECT_EQ(GradeFilePath(2, "名簿.xls"), "/mnt/j/Dorv/Data/２年生/名簿.xls");
}

TEST_F(SettingsTest, ValuesFromTheFile) {
    struct Case {
        const char *name;
        std::string ini;
        const char *drive, *school, *section;
    };
    const Case cases[] = {
        {"plain", "[Work]\r\ndrive=K:\r\n[School]\r\nName=北中学校\r\nSection=教務部\r\n", "K:", "北中学校", "教務部"},
        {"keys and sections in any case, blanks around", "[WORK]\n  Drive = /srv/school \n[school]\nNAME=  東中  \n",
         "/srv/school", "東中", "学習指導部"},
        {"empty value is not the default", "[Work]\ndrive=\n[School]\nName=\nSection=\n", "", "", ""},
        {"missing key and section", "[Work]\nother=1\n", "J:", "ノルベ市立中学校", "学習指導部"},
        {"comments and quotes", "; drive=X:\n[Work]\n;drive=Y:\ndrive=\"L:\"\n", "L:", "ノルベ市立中学校",
         "学習指導部"},
        {"first of two keys", "[Work]\ndrive=M:\ndrive=N:\n", "M:", "ノルベ市立中学校", "学習指導部"},
        {"key of another section", "[School]\ndrive=Q:\n[Work]\nName=x\n", "J:", "ノルベ市立中学校", "学習指導部"},
        {"CP932 file", cp932::fromUtf8("[School]\nName=西中学校\n"), "J:", "西中学校", "学習指導部"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF[School]\nName=南中学校\n", "J:", "南中学校", "学習指導部"},
    };
    for (const Case &c : cases) {
        WriteIni(c.ini);
        ReadBoth();
        EXPECT_EQ(WorkDrive, c.drive) << c.name;
        EXPECT_EQ(SchoolName, c.school) << c.name;
        EXPECT_EQ(SchoolSection, c.section) << c.name;
    }
}

TEST_F(SettingsTest, DriveIsCutTo255Bytes) {
    WriteIni("[Work]\ndrive=/" + std::string(300, 'a') + "\n");
    ReadWorkDrive();
    EXPECT_EQ(WorkDrive.size(), 255u);
}

TEST(Paths, DriveLettersStandForMountFolders) {
    struct Case {
        const char *drive;
        const char *want;
    };
    const Case cases[] = {{"J:", "/mnt/j"}, {"K:", "/mnt/k"}, {"k:", "/mnt/k"}, {"/srv/school", "/srv/school"},
                          {"", ""},         {"J:/x", "J:/x"}, {"1:", "1:"}};
    for (const Case &c : cases) EXPECT_EQ(NativeDrive(c.drive), c.want) << c.drive;

    std::string saved = WorkDrive;
    WorkDrive = "K:";
    EXPECT_EQ(KihonFilePath("Shokuin.xls"), "/mnt/k/Dorv/Data/Kihon/Shokuin.xls");
    EXPECT_EQ(GradeFilePath(1, "１学期評定.xls"), "/mnt/k/Dorv/Data/１年生/１学期評定.xls");
    EXPECT_EQ(ConversionFolderPath(3), "/mnt/k/Dorv/Data/３年生/変換/");
    EXPECT_EQ(DataFolderPath(), "/mnt/k/Dorv/Data/");
    WorkDrive = "";
    EXPECT_EQ(DataFolderPath(), "/Dorv/Data/");
    WorkDrive = saved;
}

TEST(Login, StaffNumberFromTheLoginName) {
    struct Case {
        const char *login;
        int want;
    };
    const Case cases[] = {{"1234", 1234},
                          {"taro", 0},
                          {"123ab", 123},
                          {"  0055", 55},
                          {"-7", -7},
                          {"", 0},
                          {"$1F", 31},
                          {"0x10", 16},
                          {"2147483647", 2147483647},
                          {"2147483648", 0},
                          {"99999999999999999999", 0},
                          // Hexadecimal only after "$" or "0x": a name starting with x is no number.
                          {"xavier", 0},
                          {"xdebug", 0},
                          {"X1F", 0},
                          {"x10", 0},
                          {"0X1F", 31},
                          {"0xavier", 10},
                          {"0x", 0},
                          {"0xg", 0},
                          {"$", 0},
                          {"-$10", -16},
                          {" +0x1f", 31},
                          {"0xFFFFFFFF", 0}};
    for (const Case &c : cases) EXPECT_EQ(StaffNoFromLogin(c.login), c.want) << c.login;
}

TEST(Login, DeveloperComputerLogsEveryoneInAsOneNumber) {
    struct Case {
        const char *login, *host, *wantName;
        int want;
    };
    const Case cases[] = {
        {"1234", "MERIDOX", "402917", 402917}, {"taro", "MERIDOX", "402917", 402917}, {"1234", "meridox", "1234", 1234},
        {"1234", "Meridox", "1234", 1234},     {"taro", "school-pc", "taro", 0},
    };
    for (const Case &c : cases) {
        SetLoginNameSource([&] { return std::string(c.login); });
        SetHostNameSource([&] { return std::string(c.host); });
        GetLoginStaffNo();
        EXPECT_EQ(LoginName, c.wantName) << c.login << "@" << c.host;
        EXPECT_EQ(LoginStaffNo, c.want) << c.login << "@" << c.host;
    }
    ResetEnvironmentSources();
}

TEST(Login, DefaultLoginNameFollowsLognameThenUser) {
    std::string savedLogname = std::getenv("LOGNAME") ? std::getenv("LOGNAME") : "";
    std::string savedUser = std::getenv("USER") ? std::getenv("USER") : "";
    ::setenv("LOGNAME", "4711", 1);
    ::setenv("USER", "8080", 1);
    EXPECT_EQ(DefaultLoginName(), "4711");
    ::unsetenv("LOGNAME");
    EXPECT_EQ(DefaultLoginName(), "8080");
    ::unsetenv("USER");
    EXPECT_FALSE(DefaultLoginName().empty());  // the password database
    if (!savedLogname.empty()) ::setenv("LOGNAME", savedLogname.c_str(), 1);
    if (!savedUser.empty()) ::setenv("USER", savedUser.c_str(), 1);
}

TEST(Login, ExeDirIsTheFolderOfTheRunningProgram) {
    std::string dir = DefaultExeDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(fs::exists(dir + "test_schooldata_settings"));
}

}  // namespace
}  // namespace dorv
