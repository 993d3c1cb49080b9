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
// `n` UTF-16LE code units, up to the first NUL; a surrogate without its
// partner becomes U+FFFD.
std::string utf16ToUtf8(const std::uint8_t *p, std::size_t n);

// The three cell attribute bytes of BIFF2 cell records as one integer, the
// first byte lowest.
inline int attr3(const std::uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16); }

// The code page of the 8-bit texts of BIFF2..BIFF7 workbooks: CP932 unless
// the workbook's CODEPAGE record names a single-byte code page.
class CodePage {
 public:
  // Takes the value of a CODEPAGE record; code pages that are not single-byte
  // (or that the system cannot convert) leave CP932 in force.
  void select(std::uint16_t codePage);
  bool isCp932() const { return table_.empty(); }
  // The bytes up to the first NUL, as UTF-8.
  std::string toUtf8(const std::uint8_t *p, std::size_t n) const;

 private:
  std::vector<std::string> table_;  // UTF-8 of each byte value, empty for CP932
};

}  // namespace dorv::biff
