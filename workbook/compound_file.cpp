#include "workbook/compound_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "workbook/little_endian.h"
#include "workbook/utf16.h"

namespace dorv::cfb {
namespace {

constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kDirEntrySize = 128;
constexpr std::size_t kHeaderDifatEntries = 109;

using le::u16;
using le::u32;
using le::u64;

[[noreturn]] void fail(const char *what) { throw NotCompoundFile(what); }

char16_t foldUpper(char16_t c) {
    if (c >= u'a' && c <= u'z') return char16_t(c - 32);
    // Latin-1 lower-case letters, except the division sign and ÿ (whose upper
    // case lies outside Latin-1).
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
    return c;
}

}  // namespace

std::string DirEntry::nameUtf8() const { return utf16::toUtf8(name); }

bool CompoundFile::hasSignature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kSignature.size() && std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

bool CompoundFile::namesEqual(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldUpper(a[i]) != foldUpper(b[i])) return false;
    return true;
}

const std::uint8_t *CompoundFile::sector(std::uint32_t index) const {
    if (index >= sectorCount_) fail("sector index out of range");
    return data_ + (std::size_t(index) + 1) * sectorSize();
}

// The sectors of a chain, at most `limit` of them; a cycle, an index out of
// range or a chain longer than the table is a structural fault.
std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start, const std::vector<std::uint32_t> &table,
                                               std::size_t limit) const {
    std::vector<std::uint32_t> out;
    std::vector<bool> seen(table.size(), false);
    std::uint32_t s = start;
    while (s != kEndOfChain && out.size() < limit) {
        if (s >= table.size()) fail("chain leaves its table");
        if (seen[s]) fail("chain has a cycle");
        seen[s] = true;
        out.push_back(s);
        s = table[s];
    }
    return out;
}

CompoundFile CompoundFile::readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot open file");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) fail("cannot read file");
    return parse(std::move(bytes));
}

CompoundFile &CompoundFile::operator=(const CompoundFile &other) {
    if (this == &other) return *this;
    const bool owning = other.data_ == other.owned_.data();
    owned_ = other.owned_;
    data_ = owning ? owned_.data() : other.data_;
    header_ = other.header_;
    fat_ = other.fat_;
    miniFat_ = other.miniFat_;
    miniStream_ = other.miniStream_;
    entries_ = other.entries_;
    sectorCount_ = other.sectorCount_;
    return *this;
}

namespace {

std::size_t headerSectorSize(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || !CompoundFile::hasSignature(bytes)) fail("no compound-file header");
    const unsigned shift = u16(bytes.data() + 30);
    if (shift != 9 && shift != 12) fail("bad sector size");
    return std::size_t{1} << shift;
}

}  // namespace

CompoundFile CompoundFile::parse(std::vector<std::uint8_t> bytes) {
    const std::size_t ss = headerSectorSize(bytes);
    // A last sector cut short by the writer is read as if padded with zeros.
    bytes.resize((bytes.size() + ss - 1) / ss * ss, 0);
    CompoundFile cf;
    cf.owned_ = std::move(bytes);
    cf.data_ = cf.owned_.data();
    cf.sectorCount_ = cf.owned_.size() / ss - 1;
    cf.load();
    return cf;
}

CompoundFile CompoundFile::view(std::span<const std::uint8_t> bytes) {
    const std::size_t ss = headerSectorSize(bytes);
    if (bytes.size() % ss != 0) return parse(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    CompoundFile cf;
    cf.data_ = bytes.data();
    cf.sectorCount_ = bytes.size() / ss - 1;
    cf.load();
    return cf;
}

void CompoundFile::load() {
    const std::uint8_t *h = data_;
    Header &hd = header_;
    CompoundFile &cf = *this;
    std::memcpy(hd.clsid.data(), h + 8, 16);
    hd.minorVersion = u16(h + 24);
    hd.majorVersion = u16(h + 26);
    hd.byteOrder = u16(h + 28);
    hd.sectorShift = u16(h + 30);
    hd.miniSectorShift = u16(h + 32);
    hd.numDirSectors = u32(h + 40);
    hd.numFatSectors = u32(h + 44);
    hd.firstDirSector = u32(h + 48);
    hd.transactionSignature = u32(h + 52);
    hd.miniStreamCutoff = u32(h + 56);
    hd.firstMiniFatSector = u32(h + 60);
    hd.numMiniFatSectors = u32(h + 64);
    hd.firstDifatSector = u32(h + 68);
    hd.numDifatSectors = u32(h + 72);

    if (hd.majorVersion != 3 && hd.majorVersion != 4) fail("unknown version");
    if (hd.byteOrder != 0xFFFE) fail("bad byte order mark");
    if (hd.sectorShift != 9 && hd.sectorShift != 12) fail("bad sector size");
    if (hd.miniSectorShift != 6) fail("bad mini sector size");

    const std::size_t ss = std::size_t{1} << hd.sectorShift;
    const std::size_t perSector = ss / 4;

    // FAT sector list: the header's DIFAT array, then the DIFAT chain.
    if (hd.numFatSectors > cf.sectorCount_) fail("more FAT sectors than the file holds");
    std::vector<std::uint32_t> fatSectors;
    for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < hd.numFatSectors; ++i)
        fatSectors.push_back(u32(h + 76 + 4 * i));
    {
        std::vector<bool> seen(cf.sectorCount_, false);
        std::uint32_t d = hd.firstDifatSector;
        while (fatSectors.size() < hd.numFatSectors) {
            if (d >= cf.sectorCount_) fail("DIFAT chain broken");
            if (seen[d]) fail("DIFAT chain has a cycle");
            seen[d] = true;
            const std::uint8_t *p = cf.sector(d);
            for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < hd.numFatSectors; ++i)
                fatSectors.push_back(u32(p + 4 * i));
            d = u32(p + 4 * (perSector - 1));
        }
    }
    cf.fat_.reserve(fatSectors.size() * perSector);
    for (std::uint32_t s : fatSectors) {
        const std::uint8_t *p = cf.sector(s);
        for (std::size_t i = 0; i < perSector; ++i) cf.fat_.push_back(u32(p + 4 * i));
    }
    // Entries past the sectors the file has cannot be followed anyway.
    if (cf.fat_.size() > cf.sectorCount_) cf.fat_.resize(cf.sectorCount_);

    // Directory.
    const auto dirChain = cf.chain(hd.firstDirSector, cf.fat_, cf.fat_.size());
    if (dirChain.empty()) fail("no directory");
    const std::size_t perDirSector = ss / kDirEntrySize;
    for (std::uint32_t s : dirChain) {
        const std::uint8_t *p = cf.sector(s);
        for (std::size_t i = 0; i < perDirSector; ++i) {
            const std::uint8_t *e = p + i * kDirEntrySize;
            DirEntry d;
            std::memcpy(d.rawName.data(), e, 64);
            d.nameLength = u16(e + 64);
            d.objectType = e[66];
            d.colour = e[67];
            d.leftSibling = u32(e + 68);
            d.rightSibling = u32(e + 72);
            d.child = u32(e + 76);
            std::memcpy(d.clsid.data(), e + 80, 16);
            d.stateBits = u32(e + 96);
            d.creationTime = u64(e + 100);
            d.modifiedTime = u64(e + 108);
            d.startSector = u32(e + 116);
            d.streamSize = u64(e + 120);
            const std::size_t units = std::min<std::size_t>(d.nameLength / 2, 32);
            for (std::size_t k = 0; k < units; ++k) {
                char16_t c = u16(e + 2 * k);
                if (c == 0) break;
                d.name.push_back(c);
            }
            cf.entries_.push_back(std::move(d));
        }
    }
    if (cf.entries_[0].objectType != kRootStorage) fail("first directory entry is not the root");
    const std::size_t n = cf.entries_.size();
    for (const DirEntry &d : cf.entries_) {
        if (d.objectType == kUnallocated) continue;
        for (std::uint32_t id : {d.leftSibling, d.rightSibling, d.child})
            if (id != kNoStream && id >= n) fail("directory link out of range");
    }

    // Mini FAT and mini stream (the root entry's chain).
    const auto miniFatChain = cf.chain(hd.firstMiniFatSector, cf.fat_, cf.fat_.size());
    for (std::uint32_t s : miniFatChain) {
        const std::uint8_t *p = cf.sector(s);
        for (std::size_t i = 0; i < perSector; ++i) cf.miniFat_.push_back(u32(p + 4 * i));
    }
    cf.miniStream_ = cf.streamBytes(0);
    if (cf.miniFat_.size() > cf.miniStream_.size() / 64) cf.miniFat_.resize(cf.miniStream_.size() / 64);
}

std::uint64_t CompoundFile::streamLength(std::size_t index) const {
    const DirEntry &d = entries_.at(index);
    return header_.majorVersion == 3 ? (d.streamSize & 0xFFFFFFFFu) : d.streamSize;
}

std::vector<std::uint8_t> CompoundFile::streamBytes(std::size_t index) const {
    std::vector<std::uint8_t> out;
    const auto bytes = streamSpan(index, out);
    if (bytes.data() != out.data()) out.assign(bytes.begin(), bytes.end());
    return out;
}

std::span<const std::uint8_t> CompoundFile::streamSpan(std::size_t index, std::vector<std::uint8_t> &scratch) const {
    const DirEntry &d = entries_.at(index);
    if (d.objectType != kStream && d.objectType != kRootStorage)
        throw std::out_of_range("directory entry is not a stream");
    const std::uint64_t size = streamLength(index);
    if (size == 0) return {};
    const bool mini = d.objectType == kStream && size < header_.miniStreamCutoff;
    const std::size_t unit = mini ? 64 : sectorSize();
    const auto &table = mini ? miniFat_ : fat_;
    // A size the table could not hold even in one full chain is broken at once,
    // before anything is allocated for it.
    if (size > std::uint64_t(table.size()) * unit) fail("stream larger than its table");
    const std::size_t need = std::size_t((size + unit - 1) / unit);
    const auto sectors = chain(d.startSector, table, need);
    if (sectors.size() < need) fail("stream chain too short");
    const auto at = [&](std::uint32_t s) { return mini ? miniStream_.data() + std::size_t(s) * 64 : sector(s); };
    // Writers lay most streams out in one run of sectors.
    bool inOrder = true;
    for (std::size_t i = 1; i < sectors.size() && inOrder; ++i) inOrder = sectors[i] == sectors[i - 1] + 1;
    if (inOrder) {
        at(sectors.back());  // checks that the run lies within the file
        return {at(sectors.front()), std::size_t(size)};
    }
    scratch.clear();
    scratch.reserve(std::size_t(size));
    for (std::uint32_t s : sectors) {
        const std::size_t take = std::min<std::size_t>(unit, std::size_t(size) - scratch.size());
        const std::uint8_t *src = at(s);
        scratch.insert(scratch.end(), src, src + take);
    }
    return scratch;
}

std::optional<std::size_t> CompoundFile::findChild(std::size_t parent, std::u16string_view name) const {
    if (parent >= entries_.size()) return std::nullopt;
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> todo{entries_[parent].child};
    while (!todo.empty()) {
        const std::uint32_t id = todo.back();
        todo.pop_back();
        if (id == kNoStream || id >= entries_.size() || seen[id]) continue;
        seen[id] = true;
        const DirEntry &d = entries_[id];
        if (d.objectType == kUnallocated) continue;
        if (namesEqual(d.name, name)) return id;
        todo.push_back(d.leftSibling);
        todo.push_back(d.rightSibling);
    }
    return std::nullopt;
}

std::optional<std::size_t> CompoundFile::findRootStream(std::u16string_view name) const {
    auto id = findChild(0, name);
    if (id && entries_[*id].objectType == kStream) return id;
    return std::nullopt;
}

void CompoundFile::checkWhole() const {
    std::vector<std::uint8_t> scratch;  // only for streams out of order
    for (std::size_t i = 1; i < entries_.size(); ++i)
        if (entries_[i].objectType == kStream) (void)streamSpan(i, scratch);
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> todo{0};
    while (!todo.empty()) {
        const std::uint32_t id = todo.back();
        todo.pop_back();
        if (id == kNoStream) continue;
        if (seen[id]) fail("directory entry reached twice");
        seen[id] = true;
        const DirEntry &d = entries_[id];
        if (d.objectType == kUnallocated) continue;
        todo.insert(todo.end(), {d.leftSibling, d.rightSibling, d.child});
    }
}

}  // namespace dorv::cfb
