// The C4th export of a full grade (420 students, nine subject sheets) into
// a conversion workbook that still holds an earlier full export: the work
// behind one press of the export button.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

#include "print/export/henkan_export.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/settings.h"
#include "workbook/biff8_writer.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;

void WriteConversionWorkbook(const fs::path &p) {
    dorv::biff8::WorkbookModel book;
    for (int j = 0; j < 9; ++j) {
        dorv::biff8::ModelSheet s;
        s.name = std::string(dorv::KyokaSheetNames[j]);
        dorv::biff8::ModelCell heading;
        heading.text = "番号";
        s.cells[{0, 0}] = heading;
        book.sheets.push_back(std::move(s));
    }
    const auto bytes = dorv::biff8::writeWorkbookFile(book);
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void BM_ExportFullGrade(benchmark::State &state) {
    const fs::path drive = fs::temp_directory_path() / ("dorv-bench-henkan-" + std::to_string(::getpid()));
    dorv::WorkDrive = drive.string();
    dorv::SelectedGrade = 1;
    dorv::SelectedTerm = 1;
    fs::create_directories(dorv::ConversionFolderPath(1));
    WriteConversionWorkbook(dorv::HenkanWorkbookPath(0));

    auto d = std::make_unique<dorv::THyoteiData>();
    for (int s = 1; s <= dorv::THyoteiData::kSlots; ++s) {
        d->Exists[s] = 1;
        for (int k = 1; k <= 9; ++k) {
            d->Hyotei[s][k].Rating = static_cast<std::uint8_t>(1 + (s + k) % 5);
            for (int i = 1; i <= 6; ++i) d->Hyotei[s][k].Kanten[i] = static_cast<std::uint8_t>("ABC"[(s + i + k) % 3]);
        }
    }
    dorv::ExportHenkan(*d, 10);  // the workbook now holds a full export, as in a school's second run
    for (auto _ : state) dorv::ExportHenkan(*d, 10);
    state.SetItemsProcessed(state.iterations() * dorv::THyoteiData::kSlots);
    fs::remove_all(drive);
}
BENCHMARK(BM_ExportFullGrade)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
