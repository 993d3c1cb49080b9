// An older workbook (BIFF2 to BIFF7) is saved as BIFF8 on its first save: its
// boolean and error cells, and the boolean and error results of its
// formulas, keep their type for every reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "schooldata/excel_service.h"
#include "tests/schooldata/records_cells.h"
#include "tests/temp_dir.h"
#include "tests/workbook/biff_builder.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using test::B;
using test::Bytes;
using test::cat;
using test::rec;

// The cells without their sheet's name ("Data!B2" -> "B2").
testing::CellMap byAddress(const testing::CellMap &cells) {
    testing::CellMap out;
    for (const auto &[k, v] : cells) out[k.substr(k.find('!') + 1)] = v;
    return out;
}

enum class Version { Biff2, Biff4, Biff5 };

constexpr unsigned kDiv0 = 0x07, kNa = 0x2A, kValue = 0x0F;

// A cached formula result that is no number: type, 0, value, three zeros, 0xFFFF.
Bytes specialResult(unsigned type, unsigned value) { return B().u8(type).u8(0).u8(value).zeros(3).u16(0xFFFF); }

struct Sheet {
    Version v;
    Bytes cellHead(unsigned row, unsigned col) const {
        return v == Version::Biff2 ? B().u16(row).u16(col).zeros(3) : B().u16(row).u16(col).u16(0x0F);
    }
    Bytes boolErr(unsigned row, unsigned col, unsigned value, bool error) const {
        return rec(v == Version::Biff2 ? 0x0005 : 0x0205, B().bytes(cellHead(row, col)).u8(value).u8(error));
    }
    Bytes number(unsigned row, unsigned col, double d) const {
        return rec(v == Version::Biff2 ? 0x0003 : 0x0203, B().bytes(cellHead(row, col)).f64(d));
    }
    // A formula of one constant token (0x1D boolean, 0x1C error, 0x1F number).
    Bytes formula(unsigned row, unsigned col, const Bytes &result, unsigned token, const Bytes &operand) const {
        const Bytes rgce = B().u8(token).bytes(operand);
        switch (v) {
        case Version::Biff2:
            return rec(0x0006, B().bytes(cellHead(row, col)).bytes(result).u8(0).u8(unsigned(rgce.size())).bytes(rgce));
        case Version::Biff4:
            return rec(0x0406,
                       B().bytes(cellHead(row, col)).bytes(result).u16(0).u16(unsigned(rgce.size())).bytes(rgce));
        case Version::Biff5: break;
        }
        return rec(0x0006,
                   B().bytes(cellHead(row, col)).bytes(result).u16(0).u32(0).u16(unsigned(rgce.size())).bytes(rgce));
    }
    Bytes bof() const {
        switch (v) {
        case Version::Biff2: return rec(0x0009, B().u16(0x0002).u16(0x0010));
        case Version::Biff4: return rec(0x0409, B().u16(0).u16(0x0010).u16(0));
        case Version::Biff5: break;
        }
        return rec(0x0809, B().u16(0x0500).u16(0x0010).u16(0).u16(0));
    }
    Bytes cells() const {
        return cat({bof(), boolErr(0, 0, 1, false), boolErr(1, 0, 0, false), boolErr(2, 0, kDiv0, true),
                    boolErr(3, 0, kNa, true), formula(0, 1, specialResult(1, 1), 0x1D, B().u8(1)),
                    formula(1, 1, specialResult(1, 0), 0x1D, B().u8(0)),
                    formula(2, 1, specialResult(2, kValue), 0x1C, B().u8(kValue)),
                    formula(3, 1, B().f64(5), 0x1F, B().f64(5)), number(4, 1, 2.5), rec(0x000A, {})});
    }
    // BIFF5 workbooks have globals with the sheet list; the older versions
    // here are single-sheet files.
    Bytes workbook() const {
        if (v != Version::Biff5) return cells();
        const Bytes globalsBof = rec(0x0809, B().u16(0x0500).u16(0x0005).u16(0).u16(0));
        const std::size_t boundSheetSize = 4 + 4 + 3 + 4, eofSize = 4;
        const auto sheetAt = std::uint32_t(globalsBof.size() + boundSheetSize + eofSize);
        return cat({globalsBof, rec(0x0085, B().u32(sheetAt).u8(0).u8(0).u8(4).str("Data")), rec(0x000A, {}), cells()});
    }
};

TEST(OlderWorkbookConversion, BooleansAndErrorsKeepTheirTypeForEveryReader) {
    const struct {
        Version v;
        const char *name;
    } cases[] = {{Version::Biff2, "BIFF2"}, {Version::Biff4, "BIFF4"}, {Version::Biff5, "BIFF5"}};
    const char *cells[] = {"A1", "A2", "A3", "A4", "B1", "B2", "B3", "B4", "B5"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        const fs::path file = dir.path() / "old.xls";
        const Bytes bytes = Sheet{c.v}.workbook();
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        const testing::CellMap readerBefore = testing::ReaderCells(file);

        TExcelApplication app;
        TExcelWorkbook book;
        book.Open(app, file.string());
        const std::string sheet = book.SheetNames().at(0);
        std::map<std::string, std::string> serviceBefore;
        for (const char *a : cells) serviceBefore[a] = book.Worksheet(sheet).ReadCell(a);
        book.Worksheet(sheet).WriteCell("C1", "1");
        book.Close(true);

        // An independent reader sees every cell with the type it had.
        const std::string at = sheet + "!";
        const testing::CellMap expected = {
            {at + "A1", "bool:TRUE"},     {at + "A2", "bool:FALSE"},
            {at + "A3", "error:#DIV/0!"}, {at + "A4", "error:#N/A"},
            {at + "B1", "bool:TRUE"},     {at + "B2", "bool:FALSE"},
            {at + "B3", "error:#VALUE!"}, {at + "B4", "5"},
            {at + "B5", "2.5"},           {at + "C1", "1"},
        };
        for (const auto &[k, v] : testing::Changes(expected, testing::XlrdCells(file)))
            ADD_FAILURE() << "xlrd, " << k << ": " << v;

        // Our reader reads what it read before (it takes formula results, not
        // BOOLERR cells); a single-sheet file's sheet has a name only after the save.
        testing::CellMap readerExpected = byAddress(readerBefore);
        readerExpected["C1"] = "1";
        for (const auto &[k, v] : testing::Changes(readerExpected, byAddress(testing::ReaderCells(file))))
            ADD_FAILURE() << "our reader, " << k << ": " << v;

        TExcelWorkbook again;
        again.Open(app, file.string());
        for (const char *a : cells) EXPECT_EQ(again.Worksheet(sheet).ReadCell(a), serviceBefore[a]) << a;
        again.Close(false);
    }
}

}  // namespace
}  // namespace dorv
