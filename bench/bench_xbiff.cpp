// Reader throughput on every .xls of the given folders (those written by
// make_bench_workbooks.py and the LibreOffice ones in bench/workbooks).
//   bench_xbiff DIR... [benchmark options]
// Reports bytes per second of workbook file read, events handled by a
// handler that keeps the texts' lengths; each result's label is the path.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "workbook/xbiff.h"

namespace {

void readWorkbook(benchmark::State &state, const std::string &path) {
    const auto size = std::filesystem::file_size(path);
    std::size_t cells = 0, chars = 0;
    for (auto _ : state) {
        dorv::TXBiff reader;
        reader.OnReadCell = [&](dorv::TXBiff &, int, int, int, int, const std::string &text, bool &) {
            ++cells;
            chars += text.size();
        };
        reader.Open(path);
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * size));
    state.counters["cells"] = double(cells) / double(state.iterations());
    state.counters["file_MB"] = double(size) / 1e6;
    state.SetLabel(path);
}

}  // namespace

int main(int argc, char **argv) {
    // The folders come first; benchmark options begin with "--".
    int dirs = 1;
    while (dirs < argc && std::string(argv[dirs]).rfind("--", 0) != 0) ++dirs;
    if (dirs == 1) {
        std::fprintf(stderr, "usage: bench_xbiff DIR... [benchmark options]\n");
        return 2;
    }
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i < dirs; ++i)
        for (const auto &e : std::filesystem::directory_iterator(argv[i]))
            if (e.path().extension() == ".xls") paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto &p : paths) {
        const std::string path = p.string();
        benchmark::RegisterBenchmark(("XBiff/" + p.filename().string()).c_str(), [path](benchmark::State &s) {
            readWorkbook(s, path);
        })->Unit(benchmark::kMillisecond);
    }
    argv[dirs - 1] = argv[0];
    int n = argc - dirs + 1;
    benchmark::Initialize(&n, argv + dirs - 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
