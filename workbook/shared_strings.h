// The shared string table of BIFF8 workbooks, as the reader takes it: the
// texts only, and as many as can be read.
//
// The workbook service decodes the same table in biff8_sst.h, on purpose
// apart: it must keep each entry's formatting runs and phonetic block to
// write them back, and it refuses damaged data (a save must not rewrite a
// table it could not read whole), where the reader keeps what it could read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dorv::biff {

// Decodes the bodies of an SST record and its CONTINUE records, in order,
// read where they lie. A string whose characters cross the end of a body
// goes on in the next one behind a flags byte of its own; every other field
// simply runs on. Damaged data ends the table: the strings decoded before the
// fault are returned.
std::vector<std::string> decodeSharedStrings(std::span<const std::span<const std::uint8_t>> bodies);

// The same for the bodies joined in `table`; `segmentEnds` holds the end of
// each body within it.
std::vector<std::string> decodeSharedStrings(const std::vector<std::uint8_t> &table,
                                             const std::vector<std::size_t> &segmentEnds);

}  // namespace dorv::biff
