// Helpers for the tests of the BIFF8 writer and the spreadsheet service:
// files, the interop workbooks, and two independent readers of a result
// (python3-xlrd and our own TXBiff).
#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/temp_dir.h"
#include "workbook/biff8_records.h"
#include "workbook/biff8_writer.h"

namespace dorv::testing {

std::string ReadBytes(const std::filesystem::path &p);
void WriteBytes(const std::filesystem::path &p, std::string_view bytes);

// The BIFF8 interop workbooks written by other programs (those present).
std::vector<std::filesystem::path> ForeignBiff8Workbooks();
std::filesystem::path InteropWorkbook(const std::string &name);

// The Workbook stream of a compound file.
std::string WorkbookStream(const std::string &fileBytes);
// The Workbook stream cut into records (the tail must be empty).
std::vector<biff8::Record> StreamRecords(const std::string &stream);

// A fresh workbook file from a model.
void WriteModel(const std::filesystem::path &p, const biff8::WorkbookModel &m);

// A score workbook as the entry program fills it: sheet "Data", headings in
// row 1, 420 student rows with the student number in column A and scores of
// eleven subjects in B..L.
biff8::WorkbookModel ScoreWorkbook();

using CellKey = std::tuple<int, int, int>;  // sheet, row, col (0-based)

struct XlrdCell {
    std::string type;  // n, s, b, e, blank
    std::string value;
    bool operator==(const XlrdCell &) const = default;
};

inline std::ostream &operator<<(std::ostream &o, const XlrdCell &c) { return o << c.type << ":" << c.value; }

// The entries in which two cell maps differ (at most 12), for a failure
// message that shows the fault instead of two whole workbooks.
template <class V>
std::string MapDiff(const std::map<CellKey, V> &got, const std::map<CellKey, V> &want) {
    std::ostringstream o;
    int shown = 0;
    auto show = [&](const CellKey &k, const V *g, const V *w) {
        if (++shown > 12) return;
        o << "\n  (" << std::get<0>(k) << "," << std::get<1>(k) << "," << std::get<2>(k) << ") got ";
        if (g) o << "[" << *g << "]";
        else o << "nothing";
        o << " want ";
        if (w) o << "[" << *w << "]";
        else o << "nothing";
    };
    for (const auto &[k, v] : got) {
        auto it = want.find(k);
        if (it == want.end()) show(k, &v, nullptr);
        else if (!(it->second == v)) show(k, &v, &it->second);
    }
    for (const auto &[k, v] : want)
        if (!got.count(k)) show(k, nullptr, &v);
    if (shown > 12) o << "\n  ... " << shown - 12 << " more";
    return o.str();
}

struct XlrdBook {
    bool ok = false;
    std::string error;
    std::vector<std::string> sheets;
    std::map<CellKey, XlrdCell> cells;
    std::map<std::pair<int, int>, int> widths;
};

XlrdBook ReadWithXlrd(const std::filesystem::path &p);
// Many workbooks through one start of the interpreter, in order.
std::vector<XlrdBook> ReadManyWithXlrd(const std::vector<std::filesystem::path> &paths);

// The shared string table walked record by record with the strictest rules
// that other readers follow: every body at most 8224 bytes; a string header
// and its first character whole in one record; a continued character array
// behind a flags byte of 0 or 1; every 4-byte formatting run whole in one
// record; a phonetic block across at most one record boundary.
struct SstLayout {
    std::string fault;                                        // empty when every rule holds
    std::vector<std::pair<std::size_t, std::size_t>> starts;  // per string: record, offset in its body
};
SstLayout WalkSstStrictly(const std::vector<biff8::Record> &recs);

// The shared string table of a Workbook stream's records: the first SST
// record and the CONTINUE records right behind it (none when there is no SST).
std::vector<biff8::Record> SstRecords(const std::vector<biff8::Record> &recs);

// One entry of a shared string table as a file holds it: `runs` formatting
// runs (one every character from the first, alternating two fonts) and, with
// `phonetic`, a phonetic block of katakana readings.
struct SstEntrySpec {
    std::u16string chars;
    bool wide = false;
    int runs = 0;
    bool phonetic = false;
};
std::string SstEntryBytes(const SstEntrySpec &e);
// The size of that entry laid out in one record.
std::size_t SstEntrySize(const SstEntrySpec &e);

struct ReaderBook {
    bool ok = false;
    std::string error;
    std::vector<std::string> sheets;
    std::map<CellKey, std::string> cells;  // sheet from 0 here, as in XlrdBook
    std::map<std::pair<int, int>, int> widths;
};

ReaderBook ReadWithReader(const std::filesystem::path &p);

// The bin/ folder of the build (test tools) and the Python with xlrd.
std::filesystem::path BinDir();
std::string Python();

// Runs a program with arguments (no shell) and returns its exit status (128 +
// the signal when it was killed); its output goes to `out` and `err`.
int Run(const std::vector<std::string> &argv, std::string *out = nullptr, std::string *err = nullptr);

}  // namespace dorv::testing
