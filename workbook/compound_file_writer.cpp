#include "workbook/compound_file_writer.h"

#include <algorithm>
#include <cstring>

#include "workbook/little_endian.h"

namespace dorv::cfb {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniSector = 64;
constexpr std::size_t kCutoff = 4096;
constexpr std::size_t kPerFatSector = kSector / 4;
constexpr std::size_t kHeaderDifat = 109;

using le::put16;
using le::put32;
using le::put64;

std::size_t sectorsFor(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit; }

// Appends a chain of `count` consecutive sectors to the allocation table;
// returns its first sector.
std::uint32_t appendChain(std::vector<std::uint32_t> &table, std::size_t count) {
    const auto first = static_cast<std::uint32_t>(table.size());
    for (std::size_t k = 0; k < count; ++k)
        table.push_back(k + 1 == count ? kEndOfChain : static_cast<std::uint32_t>(table.size() + 1));
    return first;
}

// Lays out `entries` with the stream contents `data` (one per entry; empty
// for storages and unused entries).
std::vector<std::uint8_t> build(const std::array<std::uint8_t, 16> &headerClsid, std::vector<DirEntry> entries,
                                const std::vector<const std::vector<std::uint8_t> *> &data) {
    // Small streams go into the mini stream, the others into sectors of their own.
    std::vector<std::uint8_t> mini;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::uint32_t> fat;
    std::vector<std::uint8_t> body;  // every sector after the header, in order
    auto appendSectors = [&](const std::uint8_t *p, std::size_t n) {
        std::size_t count = sectorsFor(n, kSector);
        std::uint32_t first = appendChain(fat, count);
        body.insert(body.end(), p, p + n);
        body.resize(body.size() + (count * kSector - n), 0);
        return first;
    };

    for (std::size_t i = 1; i < entries.size(); ++i) {
        DirEntry &e = entries[i];
        if (e.objectType != kStream) continue;
        const std::vector<std::uint8_t> &d = *data[i];
        e.streamSize = d.size();
        if (d.empty()) {
            e.startSector = kEndOfChain;
        } else if (d.size() < kCutoff) {
            e.startSector = appendChain(miniFat, sectorsFor(d.size(), kMiniSector));
            mini.insert(mini.end(), d.begin(), d.end());
            mini.resize(miniFat.size() * kMiniSector, 0);
        } else {
            e.startSector = appendSectors(d.data(), d.size());
        }
    }
    DirEntry &root = entries[0];
    root.streamSize = mini.size();
    root.startSector = mini.empty() ? kEndOfChain : appendSectors(mini.data(), mini.size());

    // Directory, four entries a sector; the last sector filled with unused entries.
    std::size_t dirSectors = sectorsFor(entries.size() * 128, kSector);
    std::vector<std::uint8_t> dir(dirSectors * kSector, 0);
    for (std::size_t i = 0; i < dirSectors * 4; ++i) {
        std::uint8_t *p = dir.data() + i * 128;
        if (i >= entries.size()) {
            put32(p + 68, kNoStream);
            put32(p + 72, kNoStream);
            put32(p + 76, kNoStream);
            continue;
        }
        const DirEntry &e = entries[i];
        std::memcpy(p, e.rawName.data(), 64);
        put16(p + 64, e.nameLength);
        p[66] = e.objectType;
        p[67] = e.colour;
        put32(p + 68, e.leftSibling);
        put32(p + 72, e.rightSibling);
        put32(p + 76, e.child);
        std::memcpy(p + 80, e.clsid.data(), 16);
        put32(p + 96, e.stateBits);
        put64(p + 100, e.creationTime);
        put64(p + 108, e.modifiedTime);
        put32(p + 116, e.startSector);
        put64(p + 120,
              e.objectType == kStream || e.objectType == kRootStorage ? e.streamSize & 0xFFFFFFFFu : e.streamSize);
    }
    const std::uint32_t firstDir = appendSectors(dir.data(), dir.size());

    std::vector<std::uint8_t> miniFatBytes(sectorsFor(miniFat.size() * 4, kSector) * kSector, 0xFF);
    for (std::size_t k = 0; k < miniFat.size(); ++k) put32(miniFatBytes.data() + 4 * k, miniFat[k]);
    const std::uint32_t firstMiniFat =
        miniFat.empty() ? kEndOfChain : appendSectors(miniFatBytes.data(), miniFatBytes.size());
    const std::size_t miniFatSectors = miniFatBytes.size() / kSector;

    // The FAT covers every sector, its own and the DIFAT's included.
    const std::size_t dataSectors = fat.size();
    std::size_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifat ? sectorsFor(fatSectors - kHeaderDifat, kPerFatSector - 1) : 0;
        if (fatSectors * kPerFatSector >= dataSectors + fatSectors + difatSectors) break;
        ++fatSectors;
    }
    std::vector<std::uint32_t> fatIds;
    for (std::size_t k = 0; k < fatSectors; ++k) {
        fatIds.push_back(static_cast<std::uint32_t>(fat.size()));
        fat.push_back(kFatSect);
    }
    std::vector<std::uint32_t> difatIds;
    for (std::size_t k = 0; k < difatSectors; ++k) {
        difatIds.push_back(static_cast<std::uint32_t>(fat.size()));
        fat.push_back(kDifSect);
    }
    fat.resize(fatSectors * kPerFatSector, kFreeSect);

    // Header, the sectors laid out so far, the FAT, the DIFAT.
    std::vector<std::uint8_t> out(kSector + body.size() + (fatSectors + difatSectors) * kSector, 0xFF);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(kSector), std::uint8_t{0});
    std::uint8_t *h = out.data();
    std::memcpy(h, kSignature.data(), 8);
    std::memcpy(h + 8, headerClsid.data(), 16);
    put16(h + 24, 0x003E);
    put16(h + 26, 3);
    put16(h + 28, 0xFFFE);
    put16(h + 30, 9);
    put16(h + 32, 6);
    put32(h + 44, static_cast<std::uint32_t>(fatSectors));
    put32(h + 48, firstDir);
    put32(h + 56, static_cast<std::uint32_t>(kCutoff));
    put32(h + 60, firstMiniFat);
    put32(h + 64, static_cast<std::uint32_t>(miniFatSectors));
    put32(h + 68, difatIds.empty() ? kEndOfChain : difatIds[0]);
    put32(h + 72, static_cast<std::uint32_t>(difatSectors));
    for (std::size_t k = 0; k < kHeaderDifat; ++k) put32(h + 76 + 4 * k, k < fatIds.size() ? fatIds[k] : kFreeSect);

    if (!body.empty()) std::memcpy(out.data() + kSector, body.data(), body.size());
    const std::size_t base = kSector + body.size();
    for (std::size_t k = 0; k < fat.size(); ++k) put32(out.data() + base + 4 * k, fat[k]);
    for (std::size_t d = 0; d < difatSectors; ++d) {
        std::uint8_t *sec = out.data() + base + (fatSectors + d) * kSector;
        for (std::size_t k = 0; k < kPerFatSector - 1; ++k) {
            std::size_t idx = kHeaderDifat + d * (kPerFatSector - 1) + k;
            if (idx < fatIds.size()) put32(sec + 4 * k, fatIds[idx]);
        }
        put32(sec + kSector - 4, d + 1 < difatSectors ? difatIds[d + 1] : kEndOfChain);
    }
    return out;
}

DirEntry namedEntry(std::u16string_view name, std::uint8_t type) {
    DirEntry e;
    e.name = name;
    for (std::size_t i = 0; i < name.size() && i < 31; ++i) {
        e.rawName[2 * i] = std::uint8_t(name[i]);
        e.rawName[2 * i + 1] = std::uint8_t(name[i] >> 8);
    }
    e.nameLength = static_cast<std::uint16_t>((std::min<std::size_t>(name.size(), 31) + 1) * 2);
    e.objectType = type;
    e.colour = 1;
    return e;
}

}  // namespace

std::vector<std::uint8_t> rewrite(const CompoundFile &original,
                                  const std::map<std::size_t, std::vector<std::uint8_t>> &replaced) {
    const std::vector<DirEntry> &entries = original.entries();
    std::vector<std::vector<std::uint8_t>> kept(entries.size());
    std::vector<const std::vector<std::uint8_t> *> data(entries.size());
    static const std::vector<std::uint8_t> none;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        data[i] = &none;
        if (i == 0 || entries[i].objectType != kStream) continue;
        auto it = replaced.find(i);
        if (it != replaced.end()) {
            data[i] = &it->second;
        } else {
            kept[i] = original.streamBytes(i);
            data[i] = &kept[i];
        }
    }
    return build(original.header().clsid, entries, data);
}

std::vector<std::uint8_t> makeWorkbookFile(std::span<const std::uint8_t> workbookStream) {
    // The class id a desktop spreadsheet gives its own workbooks.
    static constexpr std::array<std::uint8_t, 16> kWorkbookClsid = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    std::vector<DirEntry> entries;
    entries.push_back(namedEntry(u"Root Entry", kRootStorage));
    entries[0].child = 1;
    entries[0].clsid = kWorkbookClsid;
    entries.push_back(namedEntry(u"Workbook", kStream));
    std::vector<std::uint8_t> stream(workbookStream.begin(), workbookStream.end());
    static const std::vector<std::uint8_t> none;
    return build({}, entries, {&none, &stream});
}

}  // namespace dorv::cfb
