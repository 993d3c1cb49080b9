// A throw-away data folder for loader tests: WorkDrive points at a fresh
// temporary folder holding Dorv/Data/Kihon and the three grade folders, and
// small workbooks are written into it with the BIFF8 writer.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace dorv::testing {

// A worksheet by its cells: address ("B2") and text; a text that is a plain
// decimal number is stored as a number, unless it is listed in `texts`.
struct SheetSpec {
    std::string name;
    std::vector<std::pair<std::string, std::string>> cells = {};
    std::vector<std::pair<std::string, std::string>> texts = {};  // always stored as text
};

void WriteXls(const std::filesystem::path &path, const std::vector<SheetSpec> &sheets);

// "KurasuSu.xls" at `path` with the class counts of the three grades.
void WriteClassCountsXls(const std::filesystem::path &path, int grade1, int grade2, int grade3);

// The same workbook as a password-protected one stores it: FILEPASS behind
// the globals' BOF and every record body after it scrambled (but for the BOF
// records and the sheet positions of the sheet list, which stay readable).
void WriteEncryptedXls(const std::filesystem::path &path, const std::vector<SheetSpec> &sheets);

// Bytes and modification time of a file, to show a load left it alone.
struct FileStamp {
    std::string bytes;
    std::filesystem::file_time_type mtime;
    bool exists = false;
    bool operator==(const FileStamp &) const = default;
};
FileStamp Stamp(const std::filesystem::path &path);

class SchoolFolder {
public:
    SchoolFolder();  // sets WorkDrive; restores it on destruction
    ~SchoolFolder();
    SchoolFolder(const SchoolFolder &) = delete;
    SchoolFolder &operator=(const SchoolFolder &) = delete;

    const std::filesystem::path &Root() const { return root_; }
    std::filesystem::path Kihon(const std::string &file) const;
    std::filesystem::path Grade(int grade, const std::string &file) const;

private:
    std::filesystem::path root_;
    std::string savedDrive_;
};

}  // namespace dorv::testing
