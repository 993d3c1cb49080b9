// A new BIFF8 workbook from a plain model of sheets, cells and column
// widths: for workbooks saved from an older format and for making test and
// sample workbooks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dorv::biff8 {

struct ModelCell {
    bool isNumber = false;
    double number = 0;
    std::string text;        // UTF-8
    bool isBoolean = false;  // a TRUE/FALSE cell; `number` 0 is FALSE
    bool isError = false;    // an error cell (#DIV/0!, #N/A, ...); `number` is its error code
    // A boolean or error that was the last result of a formula. It is written
    // as a formula of that one constant: readers that take a formula's result
    // (ours reads a boolean result, not a BOOLERR cell) read it as before, and
    // a recalculation gives the same value.
    bool isFormulaResult = false;
};

struct ModelSheet {
    std::string name;                                                    // UTF-8
    std::map<std::pair<std::uint16_t, std::uint16_t>, ModelCell> cells;  // (row, col), 0-based
    std::map<std::uint16_t, std::uint16_t> columnWidths;                 // col -> width in 1/256 character
};

struct WorkbookModel {
    std::vector<ModelSheet> sheets;
};

// The Workbook stream of the model. An empty model still gets one sheet.
std::string writeWorkbookStream(const WorkbookModel &model);

// The whole file: a compound file holding that stream.
std::vector<std::uint8_t> writeWorkbookFile(const WorkbookModel &model);

}  // namespace dorv::biff8
