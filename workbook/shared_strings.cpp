#include "shared_strings.h"

#include <algorithm>

#include "little_endian.h"
#include "utf16.h"

namespace dorv::biff {
namespace {

// A piece of a string that the table does not hold whole.
struct Truncated {};

class Reader {
 public:
  Reader(const std::vector<std::uint8_t> &t, const std::vector<std::size_t> &ends)
      : t_(t), ends_(ends) {}

  bool atEnd() const { return pos_ >= t_.size(); }
  void need(std::size_t n) const {
    if (n > t_.size() - pos_) throw Truncated{};
  }
  std::uint8_t u8() {
    need(1);
    return t_[pos_++];
  }
  std::uint16_t u16() {
    need(2);
    const std::uint16_t v = le::u16(t_.data() + pos_);
    pos_ += 2;
    return v;
  }
  std::uint32_t u32() {
    const std::uint32_t lo = u16();
    return lo | (std::uint32_t(u16()) << 16);
  }
  void skip(std::size_t n) {
    need(n);
    pos_ += n;
  }
  // True when the position is exactly at the end of a segment that is not
  // the last one.
  bool atInnerSegmentEnd() const {
    return pos_ < t_.size() && std::binary_search(ends_.begin(), ends_.end(), pos_);
  }
  std::size_t segmentEnd() const {
    auto it = std::upper_bound(ends_.begin(), ends_.end(), pos_);
    return it == ends_.end() ? t_.size() : std::min(*it, t_.size());
  }

  // Appends up to `count` characters of the current segment to `out`, each
  // piece up to its first NUL; returns how many were taken.
  std::size_t piece(std::size_t count, bool wide, std::u16string &out) {
    const std::size_t end = segmentEnd();
    const std::size_t width = wide ? 2 : 1;
    const std::size_t n = std::min(count, (end - pos_) / width);
    const std::uint8_t *p = t_.data() + pos_;
    for (std::size_t i = 0; i < n; ++i) {
      const char16_t c = wide ? le::u16(p + 2 * i) : char16_t(p[i]);
      if (c == 0) {
        // The rest of this piece is dropped, the next piece still counts.
        break;
      }
      out.push_back(c);
    }
    pos_ += n * width;
    if (n < count) pos_ = end;  // a stray odd byte before the segment end
    return n;
  }

 private:
  const std::vector<std::uint8_t> &t_;
  const std::vector<std::size_t> &ends_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> decodeSharedStrings(const std::vector<std::uint8_t> &table,
                                             const std::vector<std::size_t> &segmentEnds) {
  std::vector<std::string> out;
  Reader r(table, segmentEnds);
  try {
    r.skip(8);  // total and unique counts: the table ends where its data ends
    while (!r.atEnd()) {
      std::size_t count = r.u16();
      std::uint8_t flags = r.u8();
      const std::size_t runs = (flags & 0x08) ? r.u16() : 0;
      const std::size_t ext = (flags & 0x04) ? r.u32() : 0;
      std::u16string units;
      bool wide = flags & 0x01;
      bool firstPiece = true;
      while (count > 0) {
        if (r.atInnerSegmentEnd() || !firstPiece) {
          if (r.atEnd()) throw Truncated{};
          wide = r.u8() & 0x01;
        }
        firstPiece = false;
        count -= r.piece(count, wide, units);
        if (count > 0 && r.atEnd()) throw Truncated{};
      }
      out.push_back(utf16::toUtf8(units));
      r.skip(runs * 4);
      r.skip(ext);
    }
  } catch (const Truncated &) {
    // Damaged table: keep what was decoded.
  }
  return out;
}

}  // namespace dorv::biff
