// Everything the two readers of the workbook layer make of one file, as
// text: every event of a TXBiff walk (cells with their attributes, column
// widths, sheet names, progress, the failure) and every cell the spreadsheet
// service takes from it (or why it refuses the file). Two builds that read a
// file alike give the same text byte for byte.
#pragma once

#include <filesystem>
#include <string>

namespace dorv::testing {

// One line per reader event, then one per service cell.
std::string WorkbookEvents(const std::filesystem::path &file);

// The 64-bit FNV-1a digest of `text`, as 16 hex digits.
std::string Digest(const std::string &text);

}  // namespace dorv::testing
