// Records every event of one reader walk as a line of text.
#pragma once

#include <string>
#include <vector>

#include "biff_builder.h"
#include "workbook/xbiff.h"

namespace dorv::test {

struct Recorder {
    dorv::TXBiff reader;
    std::vector<std::string> events;
    std::vector<std::string> cellTexts;

    explicit Recorder(bool progress = false) {
        reader.OnReadCell = [this](dorv::TXBiff &, int sheet, int row, int col, int attr, const std::string &text,
                                   bool &) {
            cellTexts.push_back(text);
            events.push_back("cell " + std::to_string(sheet) + " " + std::to_string(row) + " " + std::to_string(col) +
                             " " + std::to_string(attr) + " " + text);
        };
        reader.OnReadColW = [this](dorv::TXBiff &, int sheet, int col, int width) {
            events.push_back("colw " + std::to_string(sheet) + " " + std::to_string(col) + " " + std::to_string(width));
        };
        reader.OnReadSheetName = [this](dorv::TXBiff &, const std::string &name) { events.push_back("sheet " + name); };
        if (progress)
            reader.OnProgress = [this](dorv::TXBiff &, int p) { events.push_back("progress " + std::to_string(p)); };
    }
    std::vector<std::string> run(const Bytes &file) {
        events.clear();
        cellTexts.clear();
        reader.OpenBytes(file);
        return events;
    }
    // Only the cell texts, in order.
    std::vector<std::string> texts(const Bytes &file) {
        run(file);
        return cellTexts;
    }
};

// A BIFF8 workbook stream: globals, then one worksheet holding `cells`.
inline Bytes biff8Sheet(const Bytes &cells, const Bytes &globals = {}) {
    return cat({bof8(kGlobals), globals, eof(), bof8(kWorksheet), cells, eof()});
}

// The same inside a compound file, as Excel stores it.
inline Bytes biff8File(const Bytes &cells, const Bytes &globals = {}) {
    return makeCompoundFile({{u"Workbook", biff8Sheet(cells, globals)}});
}

}  // namespace dorv::test
