// The statistics of a full grade: 10 classes of 42 named students, eleven
// score columns of a regular test, a few scores missing.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "print/stats/calc_test.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "workbook/biff8_writer.h"

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
            if (slot % 37 == 0) scores->Score[slot][slot % 5] = 255;
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

// The same grade written as workbooks (class counts, test names, roster,
// score workbook) in a temporary data folder.
class GradeFolder {
public:
    explicit GradeFolder(const FullGrade &grade)
        : drive_(std::filesystem::temp_directory_path() / ("dorv-bench-calc-" + std::to_string(::getpid()))) {
        namespace fs = std::filesystem;
        using namespace dorv::biff8;
        const fs::path data = drive_ / "Dorv" / "Data";
        fs::create_directories(data / "Kihon");
        fs::create_directories(data / "１年生");
        auto text = [](ModelSheet &s, int r, int c, std::string t) {
            ModelCell cell;
            cell.text = std::move(t);
            s.cells[{static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c)}] = cell;
        };
        auto number = [](ModelSheet &s, int r, int c, double v) {
            ModelCell cell;
            cell.isNumber = true;
            cell.number = v;
            s.cells[{static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c)}] = cell;
        };
        auto write = [](const fs::path &path, ModelSheet sheet) {
            WorkbookModel book;
            book.sheets.push_back(std::move(sheet));
            const auto bytes = writeWorkbookFile(book);
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        };
        ModelSheet classes{"KurasuSu", {}, {}};
        number(classes, 1, 1, 10);
        number(classes, 2, 1, 10);
        number(classes, 3, 1, 10);
        write(data / "Kihon" / "KurasuSu.xls", classes);
        for (const char *file : {"TeikiTestName.xls", "JitsuTestName.xls"}) {
            WorkbookModel book;
            for (const char *sheetName : {"1nen", "2nen", "3nen"}) {
                ModelSheet names{sheetName, {}, {}};
                text(names, 0, 0, "ベンチ");
                book.sheets.push_back(names);
            }
            const auto bytes = writeWorkbookFile(book);
            std::ofstream(data / "Kihon" / file, std::ios::binary)
                .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        ModelSheet roster{"Data", {}, {}};
        ModelSheet scores{"Data", {}, {}};
        for (int slot = 1; slot <= 420; ++slot) {
            number(roster, slot, 0, dorv::ClassOfSlot(slot) * 100 + dorv::NumberOfSlot(slot));
            text(roster, slot, 1, grade.names->Names[slot]);
            text(roster, slot, 2, grade.names->Sex[slot] == 0 ? "男" : "女");
            for (int j = 0; j < 11; ++j)
                if (grade.scores->Score[slot][j] <= 100) number(scores, slot, j + 1, grade.scores->Score[slot][j]);
        }
        write(data / "１年生" / "名簿.xls", roster);
        write(data / "１年生" / "ベンチ.xls", scores);
    }
    ~GradeFolder() { std::filesystem::remove_all(drive_); }
    std::string drive() const { return drive_.string(); }

private:
    std::filesystem::path drive_;
};

// A whole test selection's work: the three workbooks read, then the
// statistics computed.
void BM_CalculateFullGradeWithLoading(benchmark::State &state) {
    const FullGrade grade;
    const GradeFolder folder(grade);
    dorv::WorkDrive = folder.drive();
    auto names = std::make_unique<dorv::TNameData>();
    auto scores = std::make_unique<dorv::TSotenData>();
    auto classes = std::make_unique<dorv::TKurasuSuData>();
    auto teiki = std::make_unique<dorv::TTeikiTestName>();
    dorv::CurNameData = names.get();
    dorv::CurSotenData = scores.get();
    dorv::CurKurasuSuData = classes.get();
    dorv::CurTeikiTestName = teiki.get();
    teiki->LoadTestNames();
    dorv::SelectedGrade = 1;
    dorv::SelectedTest = 1;
    dorv::TestId = {0, 1};
    auto calc = std::make_unique<dorv::TCalcTest>();
    for (auto _ : state) {
        calc->Calculate();
        benchmark::DoNotOptimize(calc->Rank[1]);
    }
    if (calc->GradeCount[0] < 400) state.SkipWithError("the grade's workbooks did not load");
    dorv::CurNameData = nullptr;
    dorv::CurSotenData = nullptr;
    dorv::CurKurasuSuData = nullptr;
    dorv::CurTeikiTestName = nullptr;
}
BENCHMARK(BM_CalculateFullGradeWithLoading)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
