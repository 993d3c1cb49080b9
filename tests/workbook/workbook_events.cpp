#include "tests/workbook/workbook_events.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <set>
#include <utility>

#include "tests/tools/one_line.h"
#include "tests/workbook/biff8_test_support.h"
#include "workbook/cell_records.h"
#include "workbook/workbook_file.h"
#include "workbook/xbiff.h"

namespace dorv::testing {

namespace {

namespace fs = std::filesystem;

std::string readerEvents(const fs::path &file) {
    TXBiff reader;
    std::string out;
    auto line = [&out](const std::string &s) { out += s + '\n'; };
    reader.OnReadCell = [&](TXBiff &, int sheet, int row, int col, int attr, const std::string &text, bool &) {
        line("cell " + std::to_string(sheet) + " " + std::to_string(row) + " " + std::to_string(col) + " " +
             std::to_string(attr) + " " + OneLine(text));
    };
    reader.OnReadColW = [&](TXBiff &, int sheet, int col, int width) {
        line("colw " + std::to_string(sheet) + " " + std::to_string(col) + " " + std::to_string(width));
    };
    reader.OnReadSheetName = [&](TXBiff &, const std::string &name) { line("sheet " + OneLine(name)); };
    reader.OnProgress = [&](TXBiff &, int p) { line("progress " + std::to_string(p)); };
    try {
        reader.Open(file.string());
        line("layouts " + std::to_string(reader.biffState()));
    } catch (const XBiffError &e) {
        line(std::string("raised ") + e.what());
    }
    return out;
}

// Every position that a cell record of the stream names, runs included.
std::set<std::pair<std::uint16_t, std::uint16_t>> cellPositions(const std::string &stream) {
    using Kind = biff::CellRecord::Kind;
    std::set<std::pair<std::uint16_t, std::uint16_t>> at;
    std::string tail;
    for (const biff8::Record &r : biff8::parseRecords(stream, tail)) {
        const biff::CellRecord c(r.id, reinterpret_cast<const std::uint8_t *>(r.body.data()), r.body.size(), 8);
        if (c.kind() == Kind::None || c.kind() == Kind::FormulaText || r.body.size() < 6) continue;
        const bool run = c.kind() == Kind::NumberRun || c.kind() == Kind::BlankRun;
        const unsigned last = run ? c.lastCol() : c.col();
        for (unsigned col = c.col(); col <= last && col < 256; ++col)
            at.insert({c.row(), static_cast<std::uint16_t>(col)});
    }
    return at;
}

std::string serviceCells(const fs::path &file) {
    std::string out;
    auto line = [&out](const std::string &s) { out += s + '\n'; };
    const std::string bytes = ReadBytes(file);
    std::optional<biff8::WorkbookFile> wf;
    try {
        wf.emplace(biff8::WorkbookFile::fromBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                                                  file.stem().string()));
    } catch (const biff8::FormatError &e) {
        line("refused " + std::to_string(static_cast<int>(e.kind())) + " " + e.what());
        return out;
    }
    line(std::string("converted ") + (wf->convertedFromOlderFormat() ? "1" : "0"));
    // The stream the service holds, as it would write it untouched.
    std::string stream;
    try {
        const std::vector<std::uint8_t> saved = wf->save();
        stream = WorkbookStream(std::string(saved.begin(), saved.end()));
        line("saved " + Digest(std::string(saved.begin(), saved.end())));
    } catch (const std::exception &e) {
        line(std::string("save failed ") + e.what());
    }
    const biff8::Workbook &wb = wf->workbook();
    const auto positions = cellPositions(stream);
    for (std::size_t s = 0; s < wb.sheetCount(); ++s) {
        line("sheet " + std::to_string(s) + " " + OneLine(wb.sheetName(s)));
        for (const auto &[row, col] : positions) {
            const biff8::CellValue v = wb.sheet(s).value(row, col, wb.sst());
            const std::string where = std::to_string(row) + " " + std::to_string(col) + " ";
            switch (v.kind) {
            case biff8::CellKind::Empty: break;
            case biff8::CellKind::Number: {
                std::uint64_t bits;
                std::memcpy(&bits, &v.number, sizeof bits);
                char hex[20];
                std::snprintf(hex, sizeof hex, "%016" PRIx64, bits);
                line("number " + where + hex);
                break;
            }
            case biff8::CellKind::Text: line("text " + where + OneLine(v.text)); break;
            case biff8::CellKind::Bool: line("bool " + where + v.text); break;
            case biff8::CellKind::Error: line("error " + where + v.text); break;
            }
        }
    }
    return out;
}

}  // namespace

std::string WorkbookEvents(const fs::path &file) {
    return "reader\n" + readerEvents(file) + "service\n" + serviceCells(file);
}

std::string Digest(const std::string &text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, h);
    return hex;
}

}  // namespace dorv::testing
