// The number of classes of each grade, from "KurasuSu.xls".
#pragma once

#include <cstdint>
#include <string>

namespace dorv {

class TKurasuSuData {
public:
    // [grade 1..3], always 0..10 (slot model: 10 classes of 42); [0] unused.
    std::uint8_t GradeClasses[4] = {};

    // Fills GradeClasses, starting from 0 classes. Raises only what the
    // service path raises.
    void LoadKurasuSu();

    static std::string KurasuSuPath();

    // The only way a class count is stored: values outside 0..10 are held
    // to that range.
    void SetGradeClasses(int grade, std::int64_t count);

    // The reader's cell handler (sheet numbers from 1, rows/columns from 0).
    void ReadKurasuSuCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);
};

}  // namespace dorv
