// A data folder in a temporary directory for the roster tests: the class
// counts, the roster template and the grade folders, with WorkDrive
// pointing at it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace rostertest {

// (sheet number from 1, row, column), rows and columns from 0.
using CellKey = std::tuple<int, int, int>;
using Cells = std::map<CellKey, std::string>;

class DataFolder {
public:
    // Class counts of grades 1..3 as KurasuSu.xls gives them.
    explicit DataFolder(std::vector<int> classCounts = {4, 6, 3});
    ~DataFolder();
    DataFolder(const DataFolder &) = delete;
    DataFolder &operator=(const DataFolder &) = delete;

    const std::filesystem::path &root() const { return root_; }
    std::string data() const;  // .../Dorv/Data/, ends in "/"
    std::string file(const std::string &relative) const { return data() + relative; }
    std::string roster(int grade) const;  // the grade's 名簿.xls
    std::string templ() const { return file("雛形-名簿.xls"); }
    std::string hinagata() const { return file("Hinagata.xls"); }

    // A roster for the grade with the given names and sex texts in rows 2...
    struct Student {
        int slot;
        std::string name;
        std::string sex;
    };
    void writeRoster(int grade, const std::vector<Student> &students) const;

private:
    std::filesystem::path root_;
};

// What the template holds, for comparisons.
Cells TemplateCells();

// Every cell of a workbook as our reader reports it.
Cells ReadCells(const std::string &path);

std::string FileBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::string &bytes);

// Runs python3-xlrd on one sheet of the workbook: "row\tcol\ttype\tvalue" lines,
// type "text", "number" or "empty" (rows and columns from 0).
std::vector<std::string> XlrdCells(const std::string &path, const std::string &sheet);

// The message of the exception `fn` raises; "(no error)" when it raises none.
template <class F>
std::string MessageOf(F fn) {
    try {
        fn();
    } catch (const std::exception &e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace rostertest
