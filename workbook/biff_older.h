// Workbooks of the older BIFF versions (2 to 7): their sheets, values and
// column widths, for saving them again as BIFF8. Formatting is not kept.
#pragma once

#include <string>
#include <string_view>

#include "workbook/biff8_writer.h"

namespace dorv::biff {

// Reads the record stream of a BIFF2..BIFF7 workbook (a plain file or the
// "Book" stream). A single-sheet file without a sheet list gets the sheet
// name `singleSheetName`. Raises biff8::FormatError (Encrypted for FILEPASS,
// NotWorkbook without any BOF, Damaged when a sheet is cut off).
biff8::WorkbookModel readOlderWorkbook(std::string_view stream, const std::string &singleSheetName);

}  // namespace dorv::biff
