// Small builders for hand-made BIFF record streams and compound files, so a
// test shows the exact bytes that matter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace dorv::test {

using Bytes = std::vector<std::uint8_t>;

// Little-endian byte writer: B().u16(1).u32(2).str("ab").
struct B {
    Bytes b;
    B &u8(unsigned v) {
        b.push_back(std::uint8_t(v));
        return *this;
    }
    B &u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    B &u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    B &u64(std::uint64_t v) { return u32(std::uint32_t(v)).u32(std::uint32_t(v >> 32)); }
    B &f64(double d) {
        std::uint64_t v;
        std::memcpy(&v, &d, 8);
        return u64(v);
    }
    B &str(std::string_view s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    B &utf16(std::u16string_view s) {
        for (char16_t c : s) u16(c);
        return *this;
    }
    B &bytes(const Bytes &x) {
        b.insert(b.end(), x.begin(), x.end());
        return *this;
    }
    B &zeros(std::size_t n) {
        b.insert(b.end(), n, 0);
        return *this;
    }
    operator Bytes() const { return b; }
};

inline Bytes rec(std::uint16_t id, const Bytes &body) {
    return B().u16(id).u16(std::uint16_t(body.size())).bytes(body);
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto &p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline constexpr unsigned kGlobals = 0x0005, kWorksheet = 0x0010, kChart = 0x0020;

// BOF of BIFF8 (0x0809, version 0x0600) or of the older forms.
inline Bytes bof8(unsigned type) { return rec(0x0809, B().u16(0x0600).u16(type).zeros(12)); }
inline Bytes bof5(unsigned type) { return rec(0x0809, B().u16(0x0500).u16(type).zeros(4)); }
inline Bytes bof2(unsigned type) { return rec(0x0009, B().u16(0x0002).u16(type)); }
inline Bytes eof() { return rec(0x000A, {}); }

// Cell records of the later BIFF versions.
inline Bytes rk(unsigned row, unsigned col, std::uint32_t value, unsigned xf = 15) {
    return rec(0x027E, B().u16(row).u16(col).u16(xf).u32(value));
}
inline Bytes number(unsigned row, unsigned col, double v, unsigned xf = 15) {
    return rec(0x0203, B().u16(row).u16(col).u16(xf).f64(v));
}
inline Bytes labelSst(unsigned row, unsigned col, std::uint32_t index, unsigned xf = 15) {
    return rec(0x00FD, B().u16(row).u16(col).u16(xf).u32(index));
}
// A BIFF8 string with 8-bit characters (no rich text, no extension).
inline Bytes str8(std::string_view latin1) { return B().u16(unsigned(latin1.size())).u8(0).str(latin1); }
inline Bytes str16(std::u16string_view s) { return B().u16(unsigned(s.size())).u8(1).utf16(s); }
// An SST body: counts, then the given strings.
inline Bytes sstBody(std::initializer_list<Bytes> strings) {
    B body;
    body.u32(unsigned(strings.size())).u32(unsigned(strings.size()));
    for (const auto &s : strings) body.bytes(s);
    return body;
}

// The repository's root: from ctest's environment, else the configured one.
inline std::string sourceDir() {
    const char *env = std::getenv("DORV_SOURCE_DIR");
    return env ? env : DORV_TEST_SOURCE_DIR;
}

inline std::string writeTemp(const std::string &name, const Bytes &bytes) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// A compound file with the given streams directly under the root. Streams
// under 4096 bytes go to the mini stream. `minFatSectors` forces more FAT
// sectors than needed (to reach the DIFAT chain).
struct CfbStream {
    std::u16string name;
    Bytes data;
};

inline Bytes makeCompoundFile(const std::vector<CfbStream> &streams, int version = 3, std::uint32_t minFatSectors = 0) {
    const std::size_t ss = version == 4 ? 4096 : 512;
    const std::uint32_t per = std::uint32_t(ss / 4);
    const std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;
    const std::size_t entries = 1 + streams.size();
    const auto sectorsFor = [&](std::size_t n, std::size_t unit) { return std::uint32_t((n + unit - 1) / unit); };

    // Mini stream: small streams packed in 64-byte units.
    Bytes mini;
    std::vector<std::uint32_t> miniFat, miniStart(streams.size(), kEnd);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto &s = streams[i];
        if (s.data.size() >= 4096 || s.data.empty()) continue;
        const std::uint32_t first = std::uint32_t(mini.size() / 64), n = sectorsFor(s.data.size(), 64);
        miniStart[i] = first;
        for (std::uint32_t k = 0; k < n; ++k) miniFat.push_back(k + 1 < n ? first + k + 1 : kEnd);
        mini.insert(mini.end(), s.data.begin(), s.data.end());
        mini.resize((first + n) * 64, 0);
    }
    const std::uint32_t dirSectors = sectorsFor(entries * 128, ss);
    const std::uint32_t miniFatSectors = sectorsFor(miniFat.size() * 4, ss);
    const std::uint32_t miniStreamSectors = sectorsFor(mini.size(), ss);
    std::uint32_t bigSectors = 0;
    for (const auto &s : streams)
        if (s.data.size() >= 4096) bigSectors += sectorsFor(s.data.size(), ss);
    const std::uint32_t body = dirSectors + miniFatSectors + miniStreamSectors + bigSectors;
    std::uint32_t fatN = std::max<std::uint32_t>(1, minFatSectors), difN = 0;
    for (;;) {
        difN = fatN > 109 ? sectorsFor(fatN - 109, per - 1) : 0;
        if (std::uint64_t(fatN) * per >= body + fatN + difN) break;
        ++fatN;
    }
    const std::uint32_t total = fatN + difN + body;
    std::vector<std::uint32_t> fat(std::size_t(fatN) * per, kFree);
    for (std::uint32_t i = 0; i < fatN; ++i) fat[i] = 0xFFFFFFFD;
    for (std::uint32_t i = 0; i < difN; ++i) fat[fatN + i] = 0xFFFFFFFC;
    std::uint32_t next = fatN + difN;
    const auto alloc = [&](std::uint32_t n) {
        if (n == 0) return kEnd;
        const std::uint32_t first = next;
        for (std::uint32_t k = 0; k < n; ++k) fat[first + k] = k + 1 < n ? first + k + 1 : kEnd;
        next += n;
        return first;
    };
    const std::uint32_t dirStart = alloc(dirSectors);
    const std::uint32_t miniFatStart = alloc(miniFatSectors);
    const std::uint32_t miniStreamStart = alloc(miniStreamSectors);
    std::vector<std::uint32_t> bigStart(streams.size(), kEnd);
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (streams[i].data.size() >= 4096) bigStart[i] = alloc(sectorsFor(streams[i].data.size(), ss));

    Bytes file((std::size_t(total) + 1) * ss, 0);
    const auto at = [&](std::uint32_t sector) { return file.data() + (std::size_t(sector) + 1) * ss; };
    B h;
    h.u32(0xE011CFD0).u32(0xE11AB1A1).zeros(16).u16(0x3E).u16(unsigned(version)).u16(0xFFFE);
    h.u16(version == 4 ? 12 : 9).u16(6).zeros(6);
    h.u32(version == 4 ? dirSectors : 0).u32(fatN).u32(dirStart).u32(0).u32(4096);
    h.u32(miniFatSectors ? miniFatStart : kEnd).u32(miniFatSectors);
    h.u32(difN ? fatN : kEnd).u32(difN);
    for (std::uint32_t i = 0; i < 109; ++i) h.u32(i < fatN ? i : kFree);
    std::memcpy(file.data(), h.b.data(), h.b.size());
    for (std::uint32_t i = 0; i < fatN; ++i)
        for (std::uint32_t k = 0; k < per; ++k) {
            const std::uint32_t v = fat[std::size_t(i) * per + k];
            std::memcpy(at(i) + 4 * k, &v, 4);
        }
    for (std::uint32_t d = 0; d < difN; ++d) {
        std::uint8_t *p = at(fatN + d);
        for (std::uint32_t k = 0; k + 1 < per; ++k) {
            const std::uint32_t idx = 109 + d * (per - 1) + k;
            const std::uint32_t v = idx < fatN ? idx : kFree;
            std::memcpy(p + 4 * k, &v, 4);
        }
        const std::uint32_t nextDif = d + 1 < difN ? fatN + d + 1 : kEnd;
        std::memcpy(p + 4 * (per - 1), &nextDif, 4);
    }
    const auto writeChain = [&](std::uint32_t start, const Bytes &data) {
        for (std::size_t off = 0, s = start; off < data.size(); off += ss, s = fat[s])
            std::memcpy(at(std::uint32_t(s)), data.data() + off, std::min(ss, data.size() - off));
    };
    B mf;
    for (auto v : miniFat) mf.u32(v);
    writeChain(miniFatStart, mf);
    writeChain(miniStreamStart, mini);
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (bigStart[i] != kEnd) writeChain(bigStart[i], streams[i].data);

    B dir;
    const auto entry = [&](std::u16string_view name, unsigned type, std::uint32_t right, std::uint32_t child,
                           std::uint32_t start, std::uint64_t size, std::uint64_t time) {
        B e;
        e.utf16(name).u16(0);
        e.zeros(64 - e.b.size());
        e.u16(unsigned(name.size() + 1) * 2).u8(type).u8(1).u32(kFree).u32(right).u32(child);
        e.u32(0x11223344).u32(0x55667788).zeros(8).u32(type == 5 ? 0 : 7);
        e.u64(time).u64(time + 1).u32(start).u64(size);
        dir.bytes(e);
    };
    entry(u"Root Entry", 5, kFree, streams.empty() ? kFree : 1, mini.empty() ? kEnd : miniStreamStart, mini.size(), 0);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto &s = streams[i];
        const std::uint32_t start = s.data.empty() ? kEnd : (s.data.size() >= 4096 ? bigStart[i] : miniStart[i]);
        entry(s.name, 2, i + 1 < streams.size() ? std::uint32_t(i + 2) : kFree, kFree, start, s.data.size(),
              0x01D0000000000000ull + i);
    }
    dir.zeros(std::size_t(dirSectors) * ss - dir.b.size());
    writeChain(dirStart, dir);
    return file;
}

// Byte offset of FAT entry `i` in a file made by makeCompoundFile (first FAT sector).
inline std::size_t fatEntryOffset(const Bytes &file, std::uint32_t i) {
    const std::size_t ss = std::size_t{1} << (file[30] | (file[31] << 8));
    std::uint32_t fat0;
    std::memcpy(&fat0, file.data() + 76, 4);
    return (std::size_t(fat0) + 1) * ss + 4 * i;
}

inline void put32At(Bytes &file, std::size_t offset, std::uint32_t v) { std::memcpy(file.data() + offset, &v, 4); }

// The stream of directory entry `entry` (in the first directory sector, of
// at least 4096 bytes) of a file made by makeCompoundFile, its sectors laid
// out in reverse order, chain and start adjusted: the same stream, no longer
// in one run of sectors.
inline Bytes reverseStreamSectors(Bytes file, std::uint32_t entry) {
    const std::size_t ss = std::size_t{1} << (file[30] | (file[31] << 8));
    const auto get32 = [&](std::size_t o) {
        std::uint32_t v;
        std::memcpy(&v, file.data() + o, 4);
        return v;
    };
    const std::size_t dirEntry = (std::size_t(get32(48)) + 1) * ss + 128 * entry;
    const std::uint32_t start = get32(dirEntry + 116);
    const std::uint32_t n = std::uint32_t((get32(dirEntry + 120) + ss - 1) / ss);
    const auto at = [&](std::uint32_t sector) { return (std::size_t(sector) + 1) * ss; };
    const Bytes run(file.begin() + std::ptrdiff_t(at(start)), file.begin() + std::ptrdiff_t(at(start + n)));
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t where = start + n - 1 - k;  // logical sector k
        std::memcpy(file.data() + at(where), run.data() + k * ss, ss);
        put32At(file, fatEntryOffset(file, where), k + 1 < n ? where - 1 : 0xFFFFFFFE);
    }
    put32At(file, dirEntry + 116, start + n - 1);
    return file;
}

}  // namespace dorv::test
