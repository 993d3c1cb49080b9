// Reading a whole workbook back, cell by cell, to see exactly what a save
// changed: through our reader and through python3-xlrd, an independent one.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace dorv::testing {

// "Sheet!B2" -> the cell's text (numbers as the reader formats them).
using CellMap = std::map<std::string, std::string>;

CellMap ReaderCells(const std::filesystem::path &path);

// The same through python3-xlrd: whole numbers without ".0", booleans as
// "bool:TRUE"/"bool:FALSE", errors as "error:#N/A" and the like (so a text
// that spells one is told from it), blank cells left out.
CellMap XlrdCells(const std::filesystem::path &path);

// The cells whose text differs between two maps (added, removed or
// changed), as "Sheet!B2" -> "old => new".
CellMap Changes(const CellMap &before, const CellMap &after);

}  // namespace dorv::testing
