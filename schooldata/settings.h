// The environment every program starts from: the settings file "Dorv.INI"
// beside the executable, the folder tree of the data folder, the login staff
// number, and the fixed name tables of folders, workbooks, sheets, subjects
// and sexes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "schooldata/excel_service.h"  // IsExcelRunning

namespace dorv {

// ---- Fixed names -----------------------------------------------------------

inline constexpr std::string_view RootFolder = "Dorv";
inline constexpr std::string_view DataFolder = "Data";
inline constexpr std::string_view KihonFolder = "Kihon";

// [grade - 1]: the sheets of the test-name workbooks.
inline constexpr std::array<std::string_view, 3> NenSheetNames = {"1nen", "2nen", "3nen"};
// [grade 1..3]; [0] unused.
inline constexpr std::array<std::string_view, 4> GakunenFolders = {"", "１年生", "２年生", "３年生"};
// [0 boys, 1 girls, 2 both, 3 none]
inline constexpr std::array<std::string_view, 4> SexNames = {"男子", "女子", "男女", ""};
// [subject 0..11]: 0..8 the nine subjects, 9 技術, 10 家庭, 11 none.
inline constexpr std::array<std::string_view, 12> KyokaNames = {"国語", "社会", "数学", "理科", "英語", "音楽",
                                                                "美術", "保体", "技家", "技術", "家庭", "なし"};
inline constexpr std::array<std::string_view, 12> KyokaSheetNames = {
    "Kokugo", "Shakai", "Sugaku", "Rika", "Eigo", "Ongaku", "Bijutsu", "Hotai", "Gika", "", "", ""};
// [term 1..3]; [0] unused. Workbook names without ".xls".
inline constexpr std::array<std::string_view, 4> HyoteiFileNames = {"", "１学期評定", "２学期評定", "３学期評定"};
inline constexpr std::array<std::string_view, 4> NaishinFileNames = {"", "１学期内申", "２学期内申", "３学期内申"};
// 国語, 数学, 英語.
inline constexpr std::array<std::uint8_t, 3> ThreeSubjects = {0, 2, 4};
constexpr bool IsThreeSubject(int subject) { return subject == 0 || subject == 2 || subject == 4; }

inline constexpr std::string_view SettingsFileName = "Dorv.INI";
inline constexpr std::string_view DefaultWorkDrive = "J:";
inline constexpr std::string_view DefaultSchoolName = "ノルベ市立中学校";
inline constexpr std::string_view DefaultSchoolSection = "学習指導部";
// On this computer every user logs in as one fixed staff number.
inline constexpr std::string_view DeveloperHostName = "MERIDOX";
inline constexpr std::string_view DeveloperStaffNo = "402917";

// ---- State -----------------------------------------------------------------

extern std::string ExeDir;     // folder of the executable, ending in "/"
extern std::string WorkDrive;  // "J:" until ReadWorkDrive
extern std::string SchoolName;
extern std::string SchoolSection;
extern std::string LoginName;
extern std::int32_t LoginStaffNo;

// ---- Settings file ---------------------------------------------------------

// Sets ExeDir, then WorkDrive from [Work] drive (default "J:", cut to 255
// bytes). A missing file, section or key gives the default; a key present
// with an empty value gives "".
void ReadWorkDrive();
// Sets ExeDir, then SchoolName and SchoolSection from [School] Name and
// Section.
void ReadSchoolInfo();
// Fills LoginName and LoginStaffNo from the login and host names.
void GetLoginStaffNo();

// One value of an INI file: sections and keys compared ASCII
// case-insensitively, the first match wins, blanks around the value and one
// pair of enclosing quotes removed. The file is CP932 unless it is valid
// UTF-8. A missing file, section or key gives `def`.
std::string ReadIniString(const std::string &file, std::string_view section, std::string_view key,
                          std::string_view def);

// The number a login name begins with (blanks, sign, decimal digits, or
// hexadecimal digits after "$", "0x" or "0X" only); 0 when it begins with no
// number or the number does not fit in 32 bits.
std::int32_t StaffNoFromLogin(std::string_view loginName);

// ---- Where the environment comes from (tests replace these) ---------------

// The folder of the executable (ending in "/"); by default from
// /proc/self/exe.
void SetExeDirSource(std::function<std::string()> source);
// The login name; by default LOGNAME, else USER, else the password database
// entry of the effective user.
void SetLoginNameSource(std::function<std::string()> source);
// The computer name; by default the host name.
void SetHostNameSource(std::function<std::string()> source);
// Back to the defaults above.
void ResetEnvironmentSources();

std::string DefaultExeDir();
std::string DefaultLoginName();
std::string DefaultHostName();

// ---- Paths -----------------------------------------------------------------

// The folder a settings drive stands for: a bare drive letter "J:" (any
// letter, either case) is /mnt/j; anything else is used as given.
std::string NativeDrive(std::string_view drive);
// WorkDrive + "/Dorv/Data/".
std::string DataFolderPath();
// The data folder + "１年生/" etc. for grade 1..3.
std::string GradeFolderPath(int grade);
// The data folder + "Kihon/".
std::string KihonFolderPath();
// The grade folder + "変換/".
std::string ConversionFolderPath(int grade);
// A workbook in the grade folder / in the master folder.
std::string GradeFilePath(int grade, std::string_view fileName);
std::string KihonFilePath(std::string_view fileName);

}  // namespace dorv
