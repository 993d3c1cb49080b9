#include "schooldata/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

#include "schooldata/convert.h"
#include "schooldata/file_io.h"
#include "workbook/cp932.h"

namespace dorv {

std::string ExeDir;
std::string WorkDrive(DefaultWorkDrive);
std::string SchoolName;
std::string SchoolSection;
std::string LoginName;
std::int32_t LoginStaffNo = 0;

namespace {

std::function<std::string()> &exeDirSource() {
    static std::function<std::string()> f = DefaultExeDir;
    return f;
}
std::function<std::string()> &loginNameSource() {
    static std::function<std::string()> f = DefaultLoginName;
    return f;
}
std::function<std::string()> &hostNameSource() {
    static std::function<std::string()> f = DefaultHostName;
    return f;
}

bool equalsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x < 0x80) x = static_cast<unsigned char>(std::tolower(x));
        if (y < 0x80) y = static_cast<unsigned char>(std::tolower(y));
        if (x != y) return false;
    }
    return true;
}

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string settingsFile() { return ExeDir + std::string(SettingsFileName); }

}  // namespace

std::string ReadIniString(const std::string &file, std::string_view section, std::string_view key,
                          std::string_view def) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::string(def);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (raw.starts_with("\xEF\xBB\xBF")) raw.erase(0, 3);
    std::string text = cp932::isValidUtf8(raw) ? raw : cp932::toUtf8(raw);

    bool inSection = false;
    bool sectionSeen = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t nl = rest.find('\n');
        std::string_view line = trim(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (inSection) break;  // only the first section of that name counts
            std::size_t close = line.find(']');
            std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = !sectionSeen && equalsAsciiNoCase(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!equalsAsciiNoCase(trim(line.substr(0, eq)), key)) continue;
        std::string_view value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::string(def);
}

void ReadWorkDrive() {
    ExeDir = exeDirSource()();
    WorkDrive = CutBytes(ReadIniString(settingsFile(), "Work", "drive", DefaultWorkDrive), 255);
}

void ReadSchoolInfo() {
    ExeDir = exeDirSource()();
    const std::string file = settingsFile();
    SchoolName = ReadIniString(file, "School", "Name", DefaultSchoolName);
    SchoolSection = ReadIniString(file, "School", "Section", DefaultSchoolSection);
}

std::int32_t StaffNoFromLogin(std::string_view loginName) {
    // A login such as "xavier" is a name, not the hexadecimal number 0xa.
    auto n = LeadingInteger(loginName, HexPrefixes::DollarOr0x);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() || *n > std::numeric_limits<std::int32_t>::max()) return 0;
    return static_cast<std::int32_t>(*n);
}

void GetLoginStaffNo() {
    LoginName = CutBytes(loginNameSource()(), 128);
    if (hostNameSource()() == DeveloperHostName) LoginName = std::string(DeveloperStaffNo);
    LoginStaffNo = StaffNoFromLogin(LoginName);
}

void SetExeDirSource(std::function<std::string()> source) { exeDirSource() = std::move(source); }
void SetLoginNameSource(std::function<std::string()> source) { loginNameSource() = std::move(source); }
void SetHostNameSource(std::function<std::string()> source) { hostNameSource() = std::move(source); }

void ResetEnvironmentSources() {
    exeDirSource() = DefaultExeDir;
    loginNameSource() = DefaultLoginName;
    hostNameSource() = DefaultHostName;
}

std::string DefaultExeDir() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    const std::string folder = PathFolder(std::string(buf, static_cast<std::size_t>(n)));
    return folder == "/" ? folder : folder + "/";
}

std::string DefaultLoginName() {
    for (const char *var : {"LOGNAME", "USER"}) {
        const char *v = std::getenv(var);
        if (v && *v) return v;
    }
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    return {};
}

std::string DefaultHostName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return {};
    return buf;
}

std::string NativeDrive(std::string_view drive) {
    if (drive.size() == 2 && drive[1] == ':' && std::isalpha(static_cast<unsigned char>(drive[0])))
        return std::string("/mnt/") + static_cast<char>(std::tolower(static_cast<unsigned char>(drive[0])));
    return std::string(drive);
}

std::string DataFolderPath() {
    return NativeDrive(WorkDrive) + "/" + std::string(RootFolder) + "/" + std::string(DataFolder) + "/";
}

std::string GradeFolderPath(int grade) {
    std::string_view folder = grade >= 1 && grade <= 3 ? GakunenFolders[grade] : std::string_view{};
    return DataFolderPath() + std::string(folder) + "/";
}

std::string KihonFolderPath() { return DataFolderPath() + std::string(KihonFolder) + "/"; }

std::string ConversionFolderPath(int grade) { return GradeFolderPath(grade) + "変換/"; }

std::string GradeFilePath(int grade, std::string_view fileName) {
    return GradeFolderPath(grade) + std::string(fileName);
}

std::string KihonFilePath(std::string_view fileName) { return KihonFolderPath() + std::string(fileName); }

}  // namespace dorv
