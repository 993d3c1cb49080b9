// The names of the five regular tests (定期) and the five proficiency tests
// (実力) of each grade; a name is also its score workbook's file name.
#pragma once

#include <string>
#include <string_view>

namespace dorv {

// The common layout of both sets.
class TTestNameSet {
public:
    static constexpr std::size_t kNameBytes = 40;

    // [grade 1..3][test 1..5], at most 40 CP932 bytes; index 0 unused.
    std::string TestName[4][6];

    // Fills TestName from the set's workbook in the master folder, starting
    // from empty names. Raises only what the service path raises.
    void LoadTestNames();

    std::string WorkbookPath() const;

    // The reader's cell handler (sheet numbers from 1, rows/columns from 0).
    void ReadTestNameCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);

protected:
    explicit TTestNameSet(std::string_view fileName) : fileName_(fileName) {}

private:
    std::string_view fileName_;
};

class TTeikiTestName : public TTestNameSet {
public:
    TTeikiTestName() : TTestNameSet("TeikiTestName.xls") {}
};

class TJitsuTestName : public TTestNameSet {
public:
    TJitsuTestName() : TTestNameSet("JitsuTestName.xls") {}
};

}  // namespace dorv
