// Writing OLE compound files (version 3, 512-byte sectors). The directory is
// written as given, entry for entry; the sectors (FAT, DIFAT, mini stream,
// mini FAT, directory) are laid out anew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "workbook/compound_file.h"

namespace dorv::cfb {

// A compound file with the header CLSID and directory of `original` in
// which the streams listed in `replaced` (by directory index) hold the given
// bytes and every other stream its old bytes.
std::vector<std::uint8_t> rewrite(const CompoundFile &original,
                                  const std::map<std::size_t, std::vector<std::uint8_t>> &replaced);

// A fresh compound file whose root holds one stream "Workbook".
std::vector<std::uint8_t> makeWorkbookFile(std::span<const std::uint8_t> workbookStream);

}  // namespace dorv::cfb
