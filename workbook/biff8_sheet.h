// The cells of one BIFF8 worksheet, kept as the records that hold them so
// that a save writes back untouched cells as they were. Writing a cell
// replaces only the record (or the part of a MULRK/MULBLANK run) of that
// cell; the row blocks with their ROW and DBCELL records, INDEX and
// DIMENSIONS are then laid out anew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "workbook/biff8_records.h"
#include "workbook/biff8_sst.h"

namespace dorv::biff8 {

// A write the sheet cannot make without damaging other cells.
class CellRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class CellKind { Empty, Number, Text, Bool, Error };

struct CellValue {
    CellKind kind = CellKind::Empty;
    double number = 0;
    std::string text;  // Text: the UTF-8 text; Bool: "TRUE"/"FALSE"; Error: "#N/A" and the like
};

class SheetCells {
public:
    // `records`: the whole substream of the worksheet, BOF to EOF.
    explicit SheetCells(std::vector<Record> records);

    CellValue value(std::uint16_t row, std::uint16_t col, const SharedStrings &sst) const;
    std::string text(std::uint16_t row, std::uint16_t col, const SharedStrings &sst) const;

    // The writes keep the cell's XF (or take the row's or the column's
    // format for a new cell). Raise CellRefused on a shared or array
    // formula or a table cell.
    void setBlank(std::uint16_t row, std::uint16_t col);
    void setNumber(std::uint16_t row, std::uint16_t col, double v);
    void setShared(std::uint16_t row, std::uint16_t col, std::uint32_t sstIndex);
    void setBoolean(std::uint16_t row, std::uint16_t col, bool v);
    void setError(std::uint16_t row, std::uint16_t col, std::uint8_t code);
    // A formula of one boolean or error constant, its result cached.
    void setConstantFormula(std::uint16_t row, std::uint16_t col, bool isError, std::uint8_t value);

    bool changed() const { return changed_; }

    // The substream of the sheet as it now stands, to be written at stream
    // position `offset`. With `addUncalced` an UNCALCED record follows the BOF.
    std::vector<Record> build(std::size_t offset, bool addUncalced) const;

    // The number of cells that refer to the shared string table.
    std::size_t sharedStringRefs() const;

private:
    struct Unit {  // one cell record (or run), with the records that belong to it
        std::uint16_t col1 = 0, col2 = 0;
        std::vector<Record> recs;
    };
    struct RowData {
        std::optional<std::string> rowBody;
        std::map<std::uint16_t, Unit> cells;  // by first column
        bool dirty = false;
    };

    const Unit *find(std::uint16_t row, std::uint16_t col) const;
    std::uint16_t xfFor(std::uint16_t row, std::uint16_t col) const;
    void put(std::uint16_t row, std::uint16_t col, Record rec);

    std::vector<Record> prefix_;  // non-cell records before the cell table (BOF first)
    std::vector<Record> suffix_;  // non-cell records after it (EOF last)
    std::map<std::uint16_t, RowData> rows_;
    bool useDbCells_ = false;
    bool changed_ = false;
};

}  // namespace dorv::biff8
