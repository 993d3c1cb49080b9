#include "records_cells.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include <unistd.h>

#include "schooldata/access.h"
#include "workbook/xbiff.h"

namespace dorv::testing {

CellMap ReaderCells(const std::filesystem::path &path) {
    CellMap cells;
    std::vector<std::string> names;
    TXBiff reader;
    reader.OnReadSheetName = [&](TXBiff &, const std::string &name) { names.push_back(name); };
    reader.OnReadCell = [&](TXBiff &, int sheetNo, int row, int col, int, const std::string &data, bool &) {
        const std::string sheet =
            sheetNo >= 1 && sheetNo <= static_cast<int>(names.size()) ? names[sheetNo - 1] : std::to_string(sheetNo);
        cells[sheet + "!" + CellAddress(static_cast<unsigned>(col), static_cast<unsigned>(row + 1))] = data;
    };
    reader.Open(path.string());
    return cells;
}

CellMap XlrdCells(const std::filesystem::path &path) {
    const char *python = std::getenv("DORV_PYTHON");
    const std::string script =
        (std::filesystem::temp_directory_path() / ("dorv-xlrd-cells-" + std::to_string(::getpid()) + ".py")).string();
    {
        std::ofstream out(script, std::ios::trunc);
        out << "import sys, xlrd\n"
               "def col(c):\n"
               "    s = ''\n"
               "    c += 1\n"
               "    while c:\n"
               "        c, m = divmod(c - 1, 26)\n"
               "        s = chr(65 + m) + s\n"
               "    return s\n"
               "book = xlrd.open_workbook(sys.argv[1])\n"
               "out = []\n"
               "for sh in book.sheets():\n"
               "    for r in range(sh.nrows):\n"
               "        for c in range(sh.ncols):\n"
               "            cell = sh.cell(r, c)\n"
               "            if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):\n"
               "                continue\n"
               "            v = cell.value\n"
               "            if cell.ctype == xlrd.XL_CELL_NUMBER and v == int(v):\n"
               "                v = int(v)\n"
               "            elif cell.ctype == xlrd.XL_CELL_BOOLEAN:\n"
               "                v = 'bool:' + ('TRUE' if v else 'FALSE')\n"
               "            elif cell.ctype == xlrd.XL_CELL_ERROR:\n"
               "                v = 'error:' + xlrd.error_text_from_code.get(v, str(v))\n"
               "            out.append('%s!%s%d\\t%s' % (sh.name, col(c), r + 1, v))\n"
               "sys.stdout.buffer.write(('\\n'.join(out) + '\\n').encode('utf-8'))\n";
    }
    const std::string command =
        std::string(python ? python : "/usr/bin/python3") + " '" + script + "' '" + path.string() + "'";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run python");
    std::string output;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = ::pclose(pipe);
    std::filesystem::remove(script);
    if (status != 0) throw std::runtime_error("xlrd failed on " + path.string());

    CellMap cells;
    std::size_t at = 0;
    while (at < output.size()) {
        std::size_t end = output.find('\n', at);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(at, end - at);
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) cells[line.substr(0, tab)] = line.substr(tab + 1);
        at = end + 1;
    }
    return cells;
}

CellMap Changes(const CellMap &before, const CellMap &after) {
    CellMap changes;
    for (const auto &[key, value] : before) {
        auto it = after.find(key);
        const std::string now = it == after.end() ? "" : it->second;
        if (now != value) changes[key] = value + " => " + now;
    }
    for (const auto &[key, value] : after)
        if (!before.count(key)) changes[key] = " => " + value;
    return changes;
}

}  // namespace dorv::testing
