// libFuzzer target: the whole save path of the spreadsheet service on
// arbitrary files. A file the service takes is edited (numbers, new and
// existing texts, blanks, chosen from the input), laid out anew and read
// back by our reader: every written cell must read as written and every
// other cell as before, and the shared string table must keep the layout
// other readers rely on. Inputs that are no compound file are taken as a
// bare Workbook stream, so mutations reach the records directly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "tests/workbook/biff8_test_support.h"
#include "workbook/compound_file.h"
#include "workbook/compound_file_writer.h"
#include "workbook/workbook_file.h"
#include "workbook/xbiff.h"

namespace {

using Cells = std::map<std::tuple<int, int, int>, std::string>;

bool readCells(std::span<const std::uint8_t> bytes, Cells &cells) {
    dorv::TXBiff reader;
    reader.OnReadCell = [&](dorv::TXBiff &, int sheet, int row, int col, int, const std::string &text, bool &) {
        // An empty text and no cell read alike for every loader.
        if (!text.empty()) cells[{sheet, row, col}] = text;
    };
    try {
        reader.OpenBytes(bytes);
        return true;
    } catch (const dorv::XBiffError &) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    if (!dorv::cfb::CompoundFile::hasSignature(file)) file = dorv::cfb::makeWorkbookFile(file);

    std::optional<dorv::biff8::WorkbookFile> wf;
    try {
        wf.emplace(dorv::biff8::WorkbookFile::fromBytes(file, "Data"));
    } catch (const std::exception &) {
        return 0;  // refused at open, with the service's message
    }
    dorv::biff8::Workbook &wb = wf->workbook();
    if (wb.sheetCount() == 0) return 0;

    // Up to four edits, drawn from the input's last bytes.
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    std::map<std::tuple<std::size_t, std::uint16_t, std::uint16_t>, std::string> written;
    for (int k = 0; k < 1 + static_cast<int>(h % 4); ++k, h = h * 1103515245u + 12345u) {
        std::size_t sheet = (h >> 8) % wb.sheetCount();
        auto row = static_cast<std::uint16_t>((h >> 12) % 70);
        auto col = static_cast<std::uint16_t>((h >> 20) % 8);
        auto &cells = wb.sheet(sheet);
        try {
            switch ((h >> 28) % 4) {
            case 0: cells.setNumber(row, col, static_cast<double>(h % 1000)); break;
            case 1: cells.setShared(row, col, wb.sst().add("新しい記録" + std::to_string(h % 97))); break;
            case 2: cells.setBlank(row, col); break;
            default: cells.setShared(row, col, wb.sst().add(std::string(9000 + h % 50, 'x') + "語")); break;
            }
        } catch (const dorv::biff8::CellRefused &) {
            continue;  // refused with the service's message, nothing changed
        }
        written[{sheet, row, col}] = cells.text(row, col, wb.sst());
        if (std::getenv("FUZZ_DEBUG")) std::fprintf(stderr, "edit %zu %d %d\n", sheet, row, col);
    }

    std::vector<std::uint8_t> saved;
    try {
        saved = wf->save();
    } catch (const std::exception &) {
        return 0;  // a save the service reports as failed
    }

    // The shared string table as other readers need it. Only a phonetic
    // block longer than a whole record cannot keep to one boundary.
    std::string stream;
    try {
        stream = dorv::testing::WorkbookStream(std::string(saved.begin(), saved.end()));
    } catch (const std::exception &) {
        __builtin_trap();  // we wrote a file we cannot open
    }
    std::string tail;
    const auto table = dorv::testing::SstRecords(dorv::biff8::parseRecords(stream, tail));
    if (!table.empty()) {
        const std::string fault = dorv::testing::WalkSstStrictly(table).fault;
        if (!fault.empty() && fault.find("phonetic block across two record boundaries") == std::string::npos)
            __builtin_trap();
    }

    // The reader takes the saved file. Every cell it read before reads the
    // same but the written ones. A cell may appear that it could not read
    // before: its lenient decoder gives up on a shared string table that the
    // service still takes apart, and the save lays that table out anew. An
    // older file is taken over as a new BIFF8 workbook from what its records
    // mean, not from how the reader walks them; on a damaged one the two may
    // see different cells, so there only the written cells are checked.
    Cells before, back;
    if (!readCells(file, before)) return 0;
    if (!readCells(saved, back)) __builtin_trap();
    if (!wf->convertedFromOlderFormat()) {
        for (const auto &[at, text] : written)
            before.erase({static_cast<int>(std::get<0>(at)) + 1, std::get<1>(at), std::get<2>(at)});
        for (const auto &[at, text] : before) {
            auto it = back.find(at);
            if (it != back.end() && it->second == text) continue;
            if (std::getenv("FUZZ_DEBUG"))
                std::fprintf(stderr, "sheet %d row %d col %d [%s] reads [%s] after the save\n", std::get<0>(at),
                             std::get<1>(at), std::get<2>(at), text.c_str(),
                             it == back.end() ? "(nothing)" : it->second.c_str());
            __builtin_trap();
        }
    }
    dorv::biff8::WorkbookFile again = dorv::biff8::WorkbookFile::fromBytes(saved, "Data");
    for (const auto &[at, text] : written) {
        const auto &[sheet, row, col] = at;
        if (again.workbook().sheet(sheet).text(row, col, again.workbook().sst()) != text) __builtin_trap();
    }
    return 0;
}
