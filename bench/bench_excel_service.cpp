// One subject column of a full score workbook saved through the
// spreadsheet service: open, 420 cell writes, close with saving (written
// beside, read back and checked, renamed in, synced).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "tests/temp_dir.h"
#include "workbook/biff8_writer.h"

namespace {

namespace fs = std::filesystem;

fs::path scoreWorkbook() {
    static fs::path path;
    if (!path.empty()) return path;
    const fs::path dir = dorv::testing::MakeTempDir("dorv-bench");
    dorv::biff8::ModelSheet s;
    s.name = "Data";
    static const char *subjects[] = {"国語", "社会", "数学", "理科", "英語", "音楽",
                                     "美術", "保体", "技家", "技術", "家庭"};
    s.cells[{0, 0}] = {false, 0, "番号"};
    for (std::uint16_t c = 0; c < 11; ++c) s.cells[{0, static_cast<std::uint16_t>(c + 1)}] = {false, 0, subjects[c]};
    std::mt19937 rng(1);
    for (std::uint16_t slot = 1; slot <= 420; ++slot) {
        s.cells[{slot, 0}] = {true, double(dorv::ClassOfSlot(slot) * 100 + dorv::NumberOfSlot(slot)), {}};
        for (std::uint16_t c = 1; c <= 11; ++c) s.cells[{slot, c}] = {true, double(rng() % 101), {}};
    }
    dorv::biff8::WorkbookModel m;
    m.sheets.push_back(s);
    auto bytes = dorv::biff8::writeWorkbookFile(m);
    path = dir / "１回定期テスト.xls";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void BM_SaveOneSubjectColumn(benchmark::State &state) {
    const std::string path = scoreWorkbook().string();
    int round = 0;
    for (auto _ : state) {
        dorv::TExcelApplication app;
        dorv::TExcelWorkbook book;
        book.Open(app, path);
        dorv::TExcelWorksheet sheet = book.Worksheet("Data");
        for (int slot = 1; slot <= 420; ++slot)
            sheet.WriteCell("D" + std::to_string(slot + 1), std::to_string((slot + round) % 101));
        book.Close(true);
        ++round;
    }
    state.counters["cells"] = 420;
}
BENCHMARK(BM_SaveOneSubjectColumn)->Unit(benchmark::kMillisecond);

void BM_ReadOneSubjectColumn(benchmark::State &state) {
    const std::string path = scoreWorkbook().string();
    for (auto _ : state) {
        dorv::TExcelApplication app;
        dorv::TExcelWorkbook book;
        book.Open(app, path);
        dorv::TExcelWorksheet sheet = book.Worksheet("Data");
        for (int slot = 1; slot <= 420; ++slot)
            benchmark::DoNotOptimize(sheet.ReadCell("D" + std::to_string(slot + 1)));
        book.Close(true);  // nothing written: the file is not touched
    }
}
BENCHMARK(BM_ReadOneSubjectColumn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
