#include "workbook/shared_strings.h"

#include <algorithm>

#include "workbook/little_endian.h"
#include "workbook/utf16.h"

namespace dorv::biff {
namespace {

// A piece of a string that the table does not hold whole.
struct Truncated {};

// Positions count through the bodies as if they were joined; the bytes are
// read where they lie.
class Reader {
public:
    explicit Reader(std::span<const std::span<const std::uint8_t>> bodies) : bodies_(bodies) {
        ends_.reserve(bodies.size());
        std::size_t end = 0;
        for (const auto &b : bodies) ends_.push_back(end += b.size());
        total_ = end;
        settle();
    }

    std::size_t total() const { return total_; }
    bool atEnd() const { return pos_ >= total_; }
    void need(std::size_t n) const {
        if (n > total_ - pos_) throw Truncated{};
    }
    std::uint8_t u8() {
        need(1);
        const std::uint8_t v = *here();
        ++pos_;
        settle();
        return v;
    }
    std::uint16_t u16() {
        const std::uint16_t lo = u8();
        return std::uint16_t(lo | (u8() << 8));
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | (std::uint32_t(u16()) << 16);
    }
    void skip(std::size_t n) {
        need(n);
        pos_ += n;
        settle();
    }
    // True when the position is exactly at the end of a body that is not the
    // last one.
    bool atInnerSegmentEnd() const { return pos_ < total_ && body_ > 0 && ends_[body_ - 1] == pos_; }

    // Writes up to `count` characters of the current body to `out`, each
    // piece up to its first NUL; returns how many were taken.
    std::size_t piece(std::size_t count, bool wide, utf16::Utf8Writer &out) {
        const std::size_t end = body_ < ends_.size() ? ends_[body_] : total_;
        const std::size_t width = wide ? 2 : 1;
        const std::size_t n = std::min(count, (end - pos_) / width);
        if (n > 0) {
            // The rest of this piece after a NUL is dropped, the next piece still counts.
            const std::uint8_t *p = here();
            if (wide) out.putUntilNul(n, [p](std::size_t k) { return char16_t(le::u16(p + 2 * k)); });
            else out.putUntilNul(n, [p](std::size_t k) { return char16_t(p[k]); });
        }
        pos_ += n * width;
        if (n < count) pos_ = end;  // a stray odd byte before the body's end
        settle();
        return n;
    }

private:
    // The body that holds the position: the first one that ends behind it.
    void settle() {
        while (body_ < ends_.size() && ends_[body_] <= pos_) ++body_;
    }
    const std::uint8_t *here() const {
        const std::size_t begin = body_ > 0 ? ends_[body_ - 1] : 0;
        return bodies_[body_].data() + (pos_ - begin);
    }

    std::span<const std::span<const std::uint8_t>> bodies_;
    std::vector<std::size_t> ends_;
    std::size_t total_ = 0;
    std::size_t pos_ = 0;
    std::size_t body_ = 0;
};

}  // namespace

std::vector<std::string> decodeSharedStrings(std::span<const std::span<const std::uint8_t>> bodies) {
    std::vector<std::string> out;
    Reader r(bodies);
    std::vector<char> text;  // room for the longest string of the table
    try {
        r.skip(4);
        // Room for the unique count, as far as the bytes could hold so many
        // strings (three bytes at least each).
        out.reserve(std::min<std::size_t>(r.u32(), r.total() / 3));
        while (!r.atEnd()) {
            std::size_t count = r.u16();
            std::uint8_t flags = r.u8();
            const std::size_t runs = (flags & 0x08) ? r.u16() : 0;
            const std::size_t ext = (flags & 0x04) ? r.u32() : 0;
            if (text.size() < 3 * count) text.resize(3 * count);
            utf16::Utf8Writer utf8(text.data());
            bool wide = flags & 0x01;
            bool firstPiece = true;
            while (count > 0) {
                if (r.atInnerSegmentEnd() || !firstPiece) {
                    if (r.atEnd()) throw Truncated{};
                    wide = r.u8() & 0x01;
                }
                firstPiece = false;
                count -= r.piece(count, wide, utf8);
                if (count > 0 && r.atEnd()) throw Truncated{};
            }
            out.emplace_back(text.data(), utf8.finish());
            r.skip(runs * 4);
            r.skip(ext);
        }
    } catch (const Truncated &) {
        // Damaged table: keep what was decoded.
    }
    return out;
}

std::vector<std::string> decodeSharedStrings(const std::vector<std::uint8_t> &table,
                                             const std::vector<std::size_t> &segmentEnds) {
    std::vector<std::span<const std::uint8_t>> bodies;
    std::size_t begin = 0;
    for (std::size_t end : segmentEnds) {
        end = std::clamp(end, begin, table.size());
        bodies.emplace_back(table.data() + begin, end - begin);
        begin = end;
    }
    if (begin < table.size()) bodies.emplace_back(table.data() + begin, table.size() - begin);
    return decodeSharedStrings(bodies);
}

}  // namespace dorv::biff
