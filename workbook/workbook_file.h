// A workbook file as the service edits it: a BIFF8 Workbook stream inside
// its compound file, or an older workbook taken over as a new BIFF8 one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/biff8_workbook.h"
#include "workbook/compound_file.h"

namespace dorv::biff8 {

class WorkbookFile {
public:
    // Raises FormatError. `singleSheetName` names the sheet of an older
    // single-sheet file.
    static WorkbookFile fromBytes(std::vector<std::uint8_t> bytes, const std::string &singleSheetName);

    Workbook &workbook() { return *workbook_; }
    const Workbook &workbook() const { return *workbook_; }

    // True when the file was no BIFF8 workbook in a compound file: a save
    // then writes a new compound file with a BIFF8 workbook.
    bool convertedFromOlderFormat() const { return !compound_ || !streamIndex_; }

    // The whole new file: every other stream of the compound file and its
    // directory kept, the Workbook stream as it now stands.
    std::vector<std::uint8_t> save() const;

private:
    std::optional<cfb::CompoundFile> compound_;
    std::optional<std::size_t> streamIndex_;
    std::optional<Workbook> workbook_;
};

}  // namespace dorv::biff8
