// The viewpoint item labels (観点項目), up to six per rated subject, from
// "KantenKoumoku.xls" (term ratings) or "YourokuKantenKoumoku.xls" (school
// register).
#pragma once

#include <string>

namespace dorv {

class TKantenData {
public:
    static constexpr const char *kTermWorkbook = "KantenKoumoku.xls";
    static constexpr const char *kRegisterWorkbook = "YourokuKantenKoumoku.xls";

    // File name in the master folder; set before LoadKanten.
    std::string WorkbookName;
    // [subject 0..8][item 0..5]; "" = no such viewpoint.
    std::string Koumoku[9][6];

    // Fills Koumoku from WorkbookName, starting from empty labels. Raises
    // only what the service path raises.
    void LoadKanten();

    std::string WorkbookPath() const;

    // The reader's cell handler (sheet numbers from 1, rows/columns from 0).
    void ReadKantenCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);
};

}  // namespace dorv
