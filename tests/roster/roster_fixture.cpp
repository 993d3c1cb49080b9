#include "roster_fixture.h"

#include "schooldata/settings.h"
#include "tests/temp_dir.h"
#include "workbook/biff8_writer.h"
#include "workbook/xbiff.h"

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace rostertest {
namespace {

dorv::biff8::ModelCell text(const std::string &t) {
    dorv::biff8::ModelCell c;
    c.text = t;
    return c;
}

dorv::biff8::ModelCell number(double v) {
    dorv::biff8::ModelCell c;
    c.isNumber = true;
    c.number = v;
    return c;
}

void writeModel(const std::string &path, const dorv::biff8::WorkbookModel &model) {
    const auto bytes = dorv::biff8::writeWorkbookFile(model);
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

// The roster template as the school prepares it: headings, widths, a note
// beside the list and a second sheet the creation must leave alone.
dorv::biff8::WorkbookModel templateModel() {
    dorv::biff8::ModelSheet data;
    data.name = "Data";
    data.cells[{0, 0}] = text("番号");
    data.cells[{0, 1}] = text("名前");
    data.cells[{0, 2}] = text("性別");
    data.cells[{0, 4}] = text("備考");
    data.cells[{1, 4}] = text("名前は全角で");
    data.cells[{430, 0}] = number(999);
    data.columnWidths[0] = 6 * 256;
    data.columnWidths[1] = 16 * 256;
    dorv::biff8::ModelSheet notes;
    notes.name = "説明";
    notes.cells[{0, 0}] = text("この雛形から各学年の名簿を作ります");
    dorv::biff8::WorkbookModel model;
    model.sheets = {data, notes};
    return model;
}

}  // namespace

DataFolder::DataFolder(std::vector<int> classCounts) {
    root_ = dorv::testing::MakeTempDir("dorv-roster");
    fs::create_directories(root_ / "Dorv/Data/Kihon");
    for (const char *g : {"１年生", "２年生", "３年生"}) fs::create_directories(root_ / "Dorv/Data" / g);

    dorv::biff8::ModelSheet counts;
    counts.name = "KurasuSu";
    counts.cells[{0, 0}] = text("学年");
    counts.cells[{0, 1}] = text("クラス数");
    for (int g = 0; g < 3 && g < static_cast<int>(classCounts.size()); ++g) {
        counts.cells[{static_cast<std::uint16_t>(g + 1), 0}] = number(g + 1);
        counts.cells[{static_cast<std::uint16_t>(g + 1), 1}] = number(classCounts[static_cast<std::size_t>(g)]);
    }
    dorv::biff8::WorkbookModel model;
    model.sheets = {counts};
    writeModel(file("Kihon/KurasuSu.xls"), model);
    writeModel(templ(), templateModel());

    dorv::WorkDrive = root_.string();
}

DataFolder::~DataFolder() {
    dorv::WorkDrive = std::string(dorv::DefaultWorkDrive);
    dorv::testing::RemoveTempDir(root_);
}

std::string DataFolder::data() const { return (root_ / "Dorv/Data").string() + "/"; }

std::string DataFolder::roster(int grade) const {
    static const char *folders[] = {"", "１年生", "２年生", "３年生"};
    return file(std::string(folders[grade]) + "/名簿.xls");
}

void DataFolder::writeRoster(int grade, const std::vector<Student> &students) const {
    auto model = templateModel();
    auto &sheet = model.sheets[0];
    for (const auto &s : students) {
        const auto row = static_cast<std::uint16_t>(s.slot);
        const int c = (s.slot - 1) / 42 + 1, n = (s.slot - 1) % 42 + 1;
        sheet.cells[{row, 0}] = number(c * 100 + n);
        if (!s.name.empty()) sheet.cells[{row, 1}] = text(s.name);
        if (!s.sex.empty()) sheet.cells[{row, 2}] = text(s.sex);
    }
    writeModel(roster(grade), model);
}

Cells TemplateCells() {
    Cells cells;
    const auto model = templateModel();
    for (std::size_t s = 0; s < model.sheets.size(); ++s)
        for (const auto &[pos, cell] : model.sheets[s].cells)
            cells[{static_cast<int>(s + 1), pos.first, pos.second}] =
                cell.isNumber ? dorv::TXBiff::formatGeneral(cell.number) : cell.text;
    return cells;
}

Cells ReadCells(const std::string &path) {
    Cells cells;
    dorv::TXBiff reader;
    reader.OnReadCell = [&](dorv::TXBiff &, int sheet, int row, int col, int, const std::string &data, bool &) {
        cells[{sheet, row, col}] = data;
    };
    reader.Open(path);
    return cells;
}

std::string FileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> XlrdCells(const std::string &path, const std::string &sheet) {
    const char *python = std::getenv("DORV_PYTHON");
    const char *source = std::getenv("DORV_SOURCE_DIR");
    if (!python) python = ROSTER_PYTHON;
    if (!source) source = ROSTER_SOURCE_DIR;
    const std::string out = (fs::temp_directory_path() / ("dorv-xlrd-" + std::to_string(::getpid()) + ".txt")).string();
    const std::string cmd = std::string("'") + python + "' '" + source + "/tests/roster/xlrd_cells.py' '" + path +
                            "' '" + sheet + "' > '" + out + "'";
    const int rc = std::system(cmd.c_str());
    std::vector<std::string> lines;
    std::istringstream in(FileBytes(out));
    fs::remove(out);
    if (rc != 0) throw std::runtime_error("xlrd failed on " + path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace rostertest
