// A BIFF8 Workbook stream held as its records: globals, sheets in their
// order, the shared string table. Cells are written through the sheets; a
// save lays the stream out anew and copies every record it has no reason to
// change byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/biff8_records.h"
#include "workbook/biff8_sheet.h"
#include "workbook/biff8_sst.h"

namespace dorv::biff8 {

// True when the stream starts (after any padding words) with a BIFF8 BOF.
bool isBiff8Stream(std::string_view stream);

class Workbook {
public:
    // Raises FormatError: Encrypted for a FILEPASS record, NotWorkbook when
    // the stream is no BIFF8 workbook, Damaged when its structure is broken.
    static Workbook parse(std::string_view stream);

    // The worksheets (BOUNDSHEET entries of type worksheet), in order.
    std::size_t sheetCount() const { return sheets_.size(); }
    const std::string &sheetName(std::size_t i) const { return sheets_.at(i).name; }

    SheetCells &sheet(std::size_t i);
    const SheetCells &sheet(std::size_t i) const;

    SharedStrings &sst() { return sst_; }
    const SharedStrings &sst() const { return sst_; }

    bool changed() const;

    // The stream as it now stands. `addUncalced` marks every changed sheet
    // for recalculation when a desktop spreadsheet opens it.
    std::string save(bool addUncalced) const;

private:
    struct SheetRef {
        std::string name;
        std::size_t substream = 0;  // index into substreams_
    };

    std::vector<Record> records_;
    std::string tail_;
    std::vector<Substream> substreams_;
    std::vector<SheetRef> sheets_;
    std::vector<std::size_t> boundSheetOf_;  // per BOUNDSHEET record (any type): its substream
    SharedStrings sst_;
    std::size_t sstAt_ = SIZE_MAX, sstEnd_ = SIZE_MAX, extSstAt_ = SIZE_MAX;
    mutable std::map<std::size_t, std::unique_ptr<SheetCells>> cells_;  // by sheet, parsed on demand
};

}  // namespace dorv::biff8
