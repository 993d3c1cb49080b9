// Reader throughput on the workbooks made by make_bench_workbooks.py.
//   bench_xbiff DIR [benchmark options]
// Reports bytes per second of workbook file read, events handled by a
// handler that keeps the texts' lengths.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_xbiff DIR [benchmark options]\n");
    return 2;
  }
  const std::string dir = argv[1];
  for (const char *name : {"grade.xls", "large.xls"}) {
    const std::string path = dir + "/" + name;
    benchmark::RegisterBenchmark((std::string("XBiff/") + name).c_str(),
                                 [path](benchmark::State &s) { readWorkbook(s, path); })
        ->Unit(benchmark::kMillisecond);
  }
  argv[1] = argv[0];
  int n = argc - 1;
  benchmark::Initialize(&n, argv + 1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
