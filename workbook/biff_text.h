// Text forms inside BIFF records, turned into UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dorv::biff {

// 8-bit characters that stand for UTF-16 code units 0..255 (the compressed
// form of BIFF8 strings), up to the first NUL.
std::string latin1ToUtf8(const std::uint8_t *p, std::size_t n);

// The characters of a BIFF8 string in a record body of `size` bytes, NULs
// included: its character count at `at` (16 bits, or 8 with `shortCount`),
// then the flags byte (16-bit or compressed characters; for a long string
// also the sizes of formatting runs and phonetic data, which are skipped),
// then the characters, as many as the body holds.
std::u16string biff8StringUnits(const std::uint8_t *body, std::size_t size, std::size_t at, bool shortCount = false);

// The code page of the 8-bit texts of BIFF2..BIFF7 workbooks: CP932 unless
// the workbook's CODEPAGE record names a single-byte code page.
class CodePage {
public:
    // Takes the value of a CODEPAGE record; code pages that are not single-byte
    // (or that the system cannot convert) leave CP932 in force.
    void select(std::uint16_t codePage);
    // The bytes up to the first NUL, as UTF-8.
    std::string toUtf8(const std::uint8_t *p, std::size_t n) const;

private:
    std::vector<std::string> table_;  // UTF-8 of each byte value, empty for CP932
};

}  // namespace dorv::biff
