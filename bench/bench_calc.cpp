// The statistics of a full grade: 10 classes of 42 named students, eleven
// score columns of a regular test, a few scores missing.
#include <benchmark/benchmark.h>

#include <memory>

#include "print/calc_test.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"

namespace {

struct FullGrade {
    std::unique_ptr<dorv::TNameData> names = std::make_unique<dorv::TNameData>();
    std::unique_ptr<dorv::TSotenData> scores = std::make_unique<dorv::TSotenData>();

    FullGrade() {
        unsigned seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (int slot = 1; slot <= 420; ++slot) {
            names->Names[slot] = "生徒　名前";
            names->Sex[slot] = static_cast<std::uint8_t>(slot % 2);
            for (int j = 0; j < 12; ++j)
                scores->Score[slot][j] = j < 11 ? static_cast<std::uint8_t>(next() % 101) : 255;
            if (slot % 37 == 0)
                scores->Score[slot][slot % 5] = 255;
        }
    }
};

void BM_CalculateFullGrade(benchmark::State &state) {
    const FullGrade grade;
    auto calc = std::make_unique<dorv::TCalcTest>();
    for (auto _ : state) {
        calc->Compute(10, *grade.names, *grade.scores);
        benchmark::DoNotOptimize(calc->Rank[1]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateFullGrade)->Unit(benchmark::kMicrosecond);

// Into a fresh object each time, as the program does on a test selection.
void BM_CalculateFullGradeFreshObject(benchmark::State &state) {
    const FullGrade grade;
    for (auto _ : state) {
        auto calc = std::make_unique<dorv::TCalcTest>();
        calc->Compute(10, *grade.names, *grade.scores);
        benchmark::DoNotOptimize(calc->Rank[1]);
    }
}
BENCHMARK(BM_CalculateFullGradeFreshObject)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
