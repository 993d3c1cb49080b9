// The shared string table of a BIFF8 workbook: every text cell refers to an
// entry by index. Entries read from a file keep their formatting runs and
// phonetic blocks so that a rewritten table still carries them.
//
// The reader has its own decoder (shared_strings.h), texts only and lenient
// about damage; this one is strict, since a save rewrites the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/biff8_records.h"

namespace dorv::biff8 {

struct SstString {
    std::u16string chars;
    bool highByte = false;  // how the first piece was stored: 16-bit characters
    bool rich = false;
    bool hasExt = false;
    std::string runs;  // 4 bytes per formatting run
    std::string ext;   // the extension (phonetic) block
    std::string utf8;
};

class SharedStrings {
public:
    // Reads the table from the bodies of an SST record and the CONTINUE
    // records behind it. Raises FormatError::Damaged on broken data.
    static SharedStrings parse(const std::vector<std::string_view> &segments);

    std::size_t size() const { return entries_.size(); }
    const SstString &at(std::size_t i) const { return entries_.at(i); }
    std::uint32_t totalRefs() const { return totalRefs_; }

    // The index of `utf8` as a plain text: an existing entry without runs or
    // phonetic data, or a new one appended at the end.
    std::uint32_t add(std::string_view utf8);

    // The SST and CONTINUE records of the table (each body at most 8224
    // bytes, no string header split, a split character array continued with
    // its own flags byte) and the EXTSST record that indexes it; `sstOffset`
    // is the stream position where the SST record will be written.
    std::vector<Record> build(std::uint32_t totalRefs, std::size_t sstOffset, Record &extSst) const;

private:
    std::vector<SstString> entries_;
    std::unordered_map<std::string, std::uint32_t> plainIndex_;
    std::uint32_t totalRefs_ = 0;
};

}  // namespace dorv::biff8
