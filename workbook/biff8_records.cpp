#include "workbook/biff8_records.h"

#include <cstring>

#include "workbook/little_endian.h"

namespace dorv::biff8 {

namespace {

const std::uint8_t *bytes(std::string_view b, std::size_t pos) {
    return reinterpret_cast<const std::uint8_t *>(b.data()) + pos;
}

std::uint8_t *bytes(std::string &b, std::size_t pos) { return reinterpret_cast<std::uint8_t *>(b.data()) + pos; }

}  // namespace

std::uint16_t get16(std::string_view b, std::size_t pos) {
    if (pos + 2 > b.size()) return 0;
    return le::u16(bytes(b, pos));
}

std::uint32_t get32(std::string_view b, std::size_t pos) {
    if (pos + 4 > b.size()) return 0;
    return le::u32(bytes(b, pos));
}

double getDouble(std::string_view b, std::size_t pos) {
    std::uint64_t bits = get32(b, pos) | (static_cast<std::uint64_t>(get32(b, pos + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

void put16(std::string &b, std::size_t pos, std::uint16_t v) { le::put16(bytes(b, pos), v); }

void put32(std::string &b, std::size_t pos, std::uint32_t v) { le::put32(bytes(b, pos), v); }

void append16(std::string &b, std::uint16_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>(v >> 8));
}

void append32(std::string &b, std::uint32_t v) {
    append16(b, static_cast<std::uint16_t>(v & 0xFFFF));
    append16(b, static_cast<std::uint16_t>(v >> 16));
}

void appendDouble(std::string &b, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    append32(b, static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    append32(b, static_cast<std::uint32_t>(bits >> 32));
}

std::string errorName(unsigned code) {
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    default: return "#N/A";
    }
}

std::vector<Record> parseRecords(std::string_view stream, std::string &tail) {
    std::vector<Record> out;
    std::size_t pos = 0;
    while (pos + 4 <= stream.size()) {
        std::uint16_t rid = get16(stream, pos);
        std::size_t len = get16(stream, pos + 2);
        if (pos + 4 + len > stream.size()) break;
        out.push_back(Record{rid, std::string(stream.substr(pos + 4, len))});
        pos += 4 + len;
    }
    tail.assign(stream.substr(pos));
    return out;
}

std::size_t serialisedSize(const Record &r) { return 4 + r.body.size(); }

std::string serialise(const std::vector<Record> &records) {
    std::size_t total = 0;
    for (const Record &r : records) total += serialisedSize(r);
    std::string out;
    out.reserve(total);
    for (const Record &r : records) {
        append16(out, r.id);
        append16(out, static_cast<std::uint16_t>(r.body.size()));
        out += r.body;
    }
    return out;
}

std::vector<Substream> splitSubstreams(const std::vector<Record> &records) {
    std::vector<Substream> out;
    std::size_t offset = 0;
    std::size_t i = 0;
    while (i < records.size()) {
        if (!isBof(records[i].id)) {  // stray record between substreams: left where it is
            offset += serialisedSize(records[i]);
            ++i;
            continue;
        }
        Substream s;
        s.begin = i;
        s.offset = offset;
        s.type = get16(records[i].body, 2);
        int depth = 0;
        for (; i < records.size(); ++i) {
            offset += serialisedSize(records[i]);
            if (isBof(records[i].id)) ++depth;
            else if (records[i].id == id::Eof && --depth == 0) break;
        }
        if (i == records.size()) throw FormatError(FormatError::Kind::Damaged, "substream without EOF");
        s.end = ++i;
        out.push_back(s);
    }
    return out;
}

}  // namespace dorv::biff8
