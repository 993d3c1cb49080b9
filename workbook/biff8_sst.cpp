#include "workbook/biff8_sst.h"

#include <algorithm>

#include "workbook/utf16.h"

namespace dorv::biff8 {

namespace {

[[noreturn]] void broken() { throw FormatError(FormatError::Kind::Damaged, "broken shared string table"); }

// Walks the table across its records. Plain bytes (string headers, runs,
// phonetic blocks) run on from one record into the next; a character array
// goes on behind a flags byte of its own.
class Cursor {
public:
    explicit Cursor(const std::vector<std::string_view> &segs) : segs_(segs) {}

    bool atEnd() {
        skipEmpty();
        return seg_ >= segs_.size();
    }

    std::string bytes(std::size_t n) {
        std::string out;
        while (out.size() < n) {
            skipEmpty();
            if (seg_ >= segs_.size()) broken();
            std::size_t take = std::min(n - out.size(), segs_[seg_].size() - pos_);
            out.append(segs_[seg_].substr(pos_, take));
            pos_ += take;
        }
        return out;
    }

    void chars(std::size_t count, bool highByte, std::u16string &out) {
        std::size_t done = 0;
        while (done < count) {
            if (seg_ >= segs_.size() || pos_ >= segs_[seg_].size()) {
                // The array goes on in the next record, behind its own flags byte.
                ++seg_;
                if (seg_ >= segs_.size() || segs_[seg_].empty()) broken();
                highByte = (static_cast<unsigned char>(segs_[seg_][0]) & 1) != 0;
                pos_ = 1;
                continue;
            }
            std::string_view s = segs_[seg_];
            std::size_t width = highByte ? 2 : 1;
            std::size_t take = std::min(count - done, (s.size() - pos_) / width);
            if (take == 0) broken();  // a character cut in two
            for (std::size_t k = 0; k < take; ++k) {
                if (highByte) out.push_back(static_cast<char16_t>(get16(s, pos_ + 2 * k)));
                else out.push_back(static_cast<char16_t>(static_cast<unsigned char>(s[pos_ + k])));
            }
            pos_ += take * width;
            done += take;
        }
    }

private:
    void skipEmpty() {
        while (seg_ < segs_.size() && pos_ >= segs_[seg_].size()) {
            ++seg_;
            pos_ = 0;
        }
    }

    const std::vector<std::string_view> &segs_;
    std::size_t seg_ = 0;
    std::size_t pos_ = 0;
};

}  // namespace

SharedStrings SharedStrings::parse(const std::vector<std::string_view> &segments) {
    SharedStrings t;
    Cursor c(segments);
    std::string head = c.bytes(8);
    t.totalRefs_ = get32(head, 0);
    std::uint32_t unique = get32(head, 4);
    while (t.entries_.size() < unique && !c.atEnd()) {
        std::string h = c.bytes(3);
        SstString e;
        std::size_t count = get16(h, 0);
        unsigned flags = static_cast<unsigned char>(h[2]);
        e.highByte = flags & 1;
        e.rich = flags & 8;
        e.hasExt = flags & 4;
        std::size_t runCount = e.rich ? get16(c.bytes(2), 0) : 0;
        std::size_t extSize = e.hasExt ? get32(c.bytes(4), 0) : 0;
        c.chars(count, e.highByte, e.chars);
        e.runs = c.bytes(4 * runCount);
        e.ext = c.bytes(extSize);
        e.utf8 = utf16::toUtf8(e.chars);
        if (!e.rich && !e.hasExt) t.plainIndex_.emplace(e.utf8, static_cast<std::uint32_t>(t.entries_.size()));
        t.entries_.push_back(std::move(e));
    }
    if (t.entries_.size() < unique) broken();
    return t;
}

std::uint32_t SharedStrings::add(std::string_view utf8) {
    auto it = plainIndex_.find(std::string(utf8));
    if (it != plainIndex_.end()) return it->second;
    SstString e;
    e.chars = utf16::fromUtf8(utf8);
    e.highByte = std::any_of(e.chars.begin(), e.chars.end(), [](char16_t ch) { return ch > 0xFF; });
    e.utf8 = utf16::toUtf8(e.chars);
    auto index = static_cast<std::uint32_t>(entries_.size());
    plainIndex_.emplace(std::string(utf8), index);
    entries_.push_back(std::move(e));
    return index;
}

// The table is laid out the way desktop spreadsheets write it, because the
// other readers of our files rely on exactly that layout (xlrd reads a header
// or a run field from one record only; LibreOffice drops every string after a
// field that straddles two records):
//  - no record body is longer than kMaxRecordBody;
//  - a string's header (character count, flags byte, run count, phonetic
//    size) lies whole in one record, together with its first character;
//  - a character array may break between characters: the rest goes on in the
//    next CONTINUE behind a flags byte of its own (0 8-bit, 1 16-bit);
//  - each 4-byte formatting run lies whole in one record: a run array breaks
//    only between runs, and the next CONTINUE starts with a run, no flags;
//  - the phonetic block runs on as plain bytes into the next record, but
//    never across two boundaries (xlrd skips it with one step): a block
//    that would do so starts a CONTINUE of its own.
std::vector<Record> SharedStrings::build(std::uint32_t totalRefs, std::size_t sstOffset, Record &extSst) const {
    std::vector<Record> recs;
    recs.push_back(Record{id::Sst, {}});
    append32(recs.back().body, totalRefs);
    append32(recs.back().body, static_cast<std::uint32_t>(entries_.size()));

    auto room = [&] { return kMaxRecordBody - recs.back().body.size(); };
    auto next = [&] { recs.push_back(Record{id::Continue, {}}); };

    const std::size_t perBucket = std::max<std::size_t>(8, (entries_.size() + 127) / 128);
    struct Mark {
        std::size_t record, pos;
    };
    std::vector<Mark> marks;

    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const SstString &e = entries_[i];
        bool wide = e.highByte || std::any_of(e.chars.begin(), e.chars.end(), [](char16_t ch) { return ch > 0xFF; });
        std::size_t width = wide ? 2 : 1;
        std::size_t header = 3 + (e.rich ? 2 : 0) + (e.hasExt ? 4 : 0);
        if (room() < header + (e.chars.empty() ? 0 : width)) next();
        if (i % perBucket == 0) marks.push_back(Mark{recs.size() - 1, recs.back().body.size()});

        std::string &b = recs.back().body;
        append16(b, static_cast<std::uint16_t>(e.chars.size()));
        b.push_back(static_cast<char>((wide ? 1 : 0) | (e.rich ? 8 : 0) | (e.hasExt ? 4 : 0)));
        if (e.rich) append16(b, static_cast<std::uint16_t>(e.runs.size() / 4));
        if (e.hasExt) append32(b, static_cast<std::uint32_t>(e.ext.size()));

        std::size_t done = 0;
        while (done < e.chars.size()) {
            if (room() < width) {
                next();
                recs.back().body.push_back(static_cast<char>(wide ? 1 : 0));
            }
            std::size_t take = std::min(room() / width, e.chars.size() - done);
            std::string &body = recs.back().body;
            for (std::size_t k = 0; k < take; ++k) {
                char16_t ch = e.chars[done + k];
                if (wide) append16(body, static_cast<std::uint16_t>(ch));
                else body.push_back(static_cast<char>(ch));
            }
            done += take;
        }
        for (std::size_t r = 0; r + 4 <= e.runs.size(); r += 4) {
            if (room() < 4) next();
            recs.back().body.append(e.runs, r, 4);
        }
        std::string_view ext = e.ext;
        if (ext.size() > room() + kMaxRecordBody) next();
        while (!ext.empty()) {
            if (room() == 0) next();
            std::size_t take = std::min(room(), ext.size());
            recs.back().body.append(ext.substr(0, take));
            ext.remove_prefix(take);
        }
    }

    std::vector<std::size_t> recordPos(recs.size());
    std::size_t pos = sstOffset;
    for (std::size_t r = 0; r < recs.size(); ++r) {
        recordPos[r] = pos;
        pos += serialisedSize(recs[r]);
    }
    extSst = Record{id::ExtSst, {}};
    append16(extSst.body, static_cast<std::uint16_t>(perBucket));
    for (const Mark &m : marks) {
        append32(extSst.body, static_cast<std::uint32_t>(recordPos[m.record] + 4 + m.pos));
        append16(extSst.body, static_cast<std::uint16_t>(4 + m.pos));
        append16(extSst.body, 0);
    }
    return recs;
}

}  // namespace dorv::biff8
