// The shared string table of BIFF8 workbooks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dorv::biff {

// Decodes the bodies of an SST record and its CONTINUE records, joined in
// `table`; `segmentEnds` holds the end of each record's body within it.
// A string whose characters cross a segment end goes on in the next segment
// behind a flags byte of its own. Damaged data ends the table: the strings
// decoded before the fault are returned.
std::vector<std::string> decodeSharedStrings(const std::vector<std::uint8_t> &table,
                                             const std::vector<std::size_t> &segmentEnds);

}  // namespace dorv::biff
