// xls-dump: prints what the workbook reader reports for one file.
//
//   xls-dump FILE           one line per cell: SheetNo<TAB>Row<TAB>Col<TAB>text
//   xls-dump --sheets FILE  one line per worksheet name
//   xls-dump --widths FILE  one line per column width: SheetNo<TAB>Col<TAB>width
//
// Backslash, tab, carriage return and line feed inside texts are written as
// \\, \t, \r and \n so that every event stays on one line. Exits with 1 and
// the reader's message on stderr when the reader raises.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tests/tools/one_line.h"
#include "workbook/xbiff.h"

using dorv::testing::OneLine;

int main(int argc, char **argv) {
    std::string mode = "cells";
    int arg = 1;
    if (argc == 3 && std::strcmp(argv[1], "--sheets") == 0) mode = "sheets", arg = 2;
    else if (argc == 3 && std::strcmp(argv[1], "--widths") == 0) mode = "widths", arg = 2;
    else if (argc != 2) {
        std::fprintf(stderr, "usage: xls-dump [--sheets|--widths] FILE\n");
        return 2;
    }
    dorv::TXBiff reader;
    std::string out;
    if (mode == "cells") {
        reader.OnReadCell = [&](dorv::TXBiff &, int sheet, int row, int col, int, const std::string &text, bool &) {
            out += std::to_string(sheet) + '\t' + std::to_string(row) + '\t' + std::to_string(col) + '\t' +
                   OneLine(text) + '\n';
        };
    } else if (mode == "sheets") {
        reader.OnReadSheetName = [&](dorv::TXBiff &, const std::string &name) { out += OneLine(name) + '\n'; };
    } else {
        reader.OnReadColW = [&](dorv::TXBiff &, int sheet, int col, int width) {
            out += std::to_string(sheet) + '\t' + std::to_string(col) + '\t' + std::to_string(width) + '\n';
        };
    }
    try {
        reader.Open(argv[arg]);
    } catch (const std::exception &e) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
