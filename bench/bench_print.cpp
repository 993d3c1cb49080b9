// The three printed sheets of a full grade (10 classes of 42 named
// students) written to PDF as the forms print them: the individual result
// sheets (個人票, nine charts each) through their form, the class result
// lists (一覧表) through theirs, and the parent-conference sheets (懇談資料)
// of the third term through the sheet loop the form runs. Offscreen, with a
// printing system that has no printer, so every job becomes a PDF in a
// home folder of the benchmark's own. Each reports pages per second.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>

#include "desktop/application.h"
#include "desktop/fonts.h"
#include "dialogs/DorvInputWait.h"
#include "print/forms/DorvPrintIchiran.h"
#include "print/forms/DorvPrintKojin.h"
#include "print/layer/print_job.h"
#include "print/pages/kondan_page.h"
#include "print/pages/sheet_loop.h"
#include "print/stats/calc_all_stats.h"
#include "print/stats/calc_test.h"
#include "print/views/DorvPrintDispDosu.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include "no_printer.h"
#include "print_test_support.h"
#include "tests/desktop/recording_services.h"

namespace {

constexpr int kClasses = 10;
constexpr int kStudents = kClasses * 42;

unsigned NextRandom(unsigned &seed) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
}

// Scores of eleven columns around a mean of 60, a few missing.
void FillScores(dorv::TSotenData &scores, unsigned seed) {
    for (int slot = 1; slot <= kStudents; ++slot) {
        for (int j = 0; j < 12; ++j) {
            const int spread = static_cast<int>(NextRandom(seed) % 41 + NextRandom(seed) % 41);
            scores.Score[slot][j] = j < 11 ? static_cast<std::uint8_t>(std::min(100, 20 + spread)) : 255;
        }
        if (slot % 37 == 0) scores.Score[slot][slot % 5] = 255;
    }
}

// The grade, its statistics and every global the three forms read; the
// PDFs go into a home folder of its own.
class FullGrade {
public:
    FullGrade() : services_(QDate(2026, 11, 20)) {
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());

        for (int slot = 1; slot <= kStudents; ++slot) {
            names_.Names[slot] = "生徒　名前" + std::to_string(slot);
            names_.Sex[slot] = static_cast<std::uint8_t>(slot % 2);
        }
        names_.Grade = 1;
        FillScores(scores_, 12345);
        calc_.Compute(kClasses, names_, scores_);
        calc_.CalcGrade = 1;
        calc_.CalcTestId = {0, 1};
        for (int t = 1; t <= 5; ++t) {
            teiki_.TestName[1][t] = "定期" + std::to_string(t);
            jitsu_.TestName[1][t] = "実力" + std::to_string(t);
        }

        dorv::CurCalcTest = &calc_;
        dorv::CurNameData = &names_;
        dorv::CurSotenData = &scores_;
        dorv::CurTeikiTestName = &teiki_;
        dorv::CurJitsuTestName = &jitsu_;
        dorv::CurKantenData = &kanten_;
        dorv::SelectedGrade = 1;
        dorv::SelectedTest = 1;
        dorv::TestId = {0, 1};
        dorv::ClassCountOfGrade = kClasses;
        dorv::SchoolName = "ノルベ市立中学校";
        dorv::SchoolSection = "学習指導部";
        dorv::frmWait = &wait_;
        dorv::frmDispDosu = &dosu_;

        FillConferenceData();
    }
    ~FullGrade() {
        dorv::frmDispDosu = nullptr;
        dorv::frmWait = nullptr;
        dorv::CurCalcTest = nullptr;
        dorv::CurNameData = nullptr;
        dorv::CurSotenData = nullptr;
        dorv::CurTeikiTestName = nullptr;
        dorv::CurJitsuTestName = nullptr;
        dorv::CurKantenData = nullptr;
        qputenv("HOME", savedHome_);
    }
    FullGrade(const FullGrade &) = delete;
    FullGrade &operator=(const FullGrade &) = delete;

    // The pages of the one PDF the last print wrote, which is then moved
    // to the build tree's "bench-pdfs" as `keepAs` (to look at what was
    // measured); -1 without exactly one PDF.
    int TakePdf(const QString &keepAs) {
        const QDir out(home_.filePath("Documents/Dorv"));
        const QStringList pdfs = out.entryList({"*.pdf"}, QDir::Files);
        if (pdfs.size() != 1) return -1;
        QFile file(out.filePath(pdfs[0]));
        if (!file.open(QIODevice::ReadOnly)) return -1;
        const QByteArray bytes = file.readAll();
        file.close();
        const QString kept = QDir(QCoreApplication::applicationDirPath()).filePath("../bench-pdfs");
        QDir().mkpath(kept);
        QFile::remove(QDir(kept).filePath(keepAs));
        if (!file.rename(QDir(kept).filePath(keepAs))) file.remove();
        // Every page object, less the one page tree.
        return static_cast<int>(bytes.count("/Type /Page")) - static_cast<int>(bytes.count("/Type /Pages"));
    }
    const QStringList &errors() const { return services_.errors; }

    const dorv::TKondanData &conference() const { return conference_; }
    dorv::TKondanSource conferenceSource() const {
        return {conference_, names_, kanten_, teiki_, jitsu_, dorv::SchoolName, "令和08"};
    }

private:
    // The third term: five regular tests, five proficiency tests, the
    // ratings and viewpoint marks of three terms and six labels a subject.
    void FillConferenceData() {
        conference_.Grade = 1;
        conference_.Term = 3;
        for (int t = 1; t <= 5; ++t) {
            FillScores(*conference_.RegularTests[t], 100 + t);
            dorv::CalcAllStats(*conference_.RegularTests[t], kClasses);
            FillScores(*conference_.ProficiencyTests[t], 200 + t);
            dorv::CalcAllStats(*conference_.ProficiencyTests[t], kClasses);
        }
        unsigned seed = 777;
        for (int k = 1; k <= 3; ++k)
            for (int slot = 1; slot <= kStudents; ++slot)
                for (int b = 1; b <= 9; ++b) {
                    dorv::THyoteiRec &rec = conference_.TermRatings[k]->Hyotei[slot][b];
                    rec.Rating = static_cast<std::uint8_t>(NextRandom(seed) % 5 + 1);
                    for (int i = 1; i <= 6; ++i) rec.Kanten[i] = static_cast<std::uint8_t>('A' + NextRandom(seed) % 3);
                }
        for (int b = 0; b < 9; ++b)
            for (int i = 0; i < 6; ++i) kanten_.Koumoku[b][i] = "観点の項目その" + std::to_string(i + 1);
    }

    QTemporaryDir home_;
    QByteArray savedHome_;
    dorv::testing::NoPrinterScope noPrinter_;
    dorv::testing::RecordingServices services_;
    dorv::TNameData names_;
    dorv::TSotenData scores_;
    dorv::TCalcTest calc_;
    dorv::TTeikiTestName teiki_;
    dorv::TJitsuTestName jitsu_;
    dorv::TKantenData kanten_;
    dorv::TKondanData conference_;
    dorv::TfrmWait wait_;
    dorv::TfrmDispDosu dosu_;
};

// One print of the grade per iteration; fails the benchmark when no PDF
// came out or the forms told of an error.
template <typename Print>
void RunPrints(benchmark::State &state, FullGrade &grade, const QString &sheet, int pagesPerPrint, Print print) {
    std::int64_t pages = 0;
    for (auto _ : state) {
        print();
        state.PauseTiming();
        const bool written = grade.TakePdf(sheet + ".pdf") == pagesPerPrint;
        state.ResumeTiming();
        if (!written || !grade.errors().isEmpty()) {
            state.SkipWithError("the print did not write its pages to one PDF, or told of an error");
            return;
        }
        pages += pagesPerPrint;
    }
    state.counters["pages_per_second"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
}

void BM_PrintKojinFullGrade(benchmark::State &state) {
    FullGrade grade;
    dorv::TfrmPrintKojin form;
    RunPrints(state, grade, "kojin", kStudents, [&] { form.btnPrintOut->click(); });
}
BENCHMARK(BM_PrintKojinFullGrade)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_PrintIchiranFullGrade(benchmark::State &state) {
    FullGrade grade;
    dorv::TfrmPrintIchiran form;
    RunPrints(state, grade, "ichiran", kClasses, [&] { form.btnPrintDo->click(); });
}
BENCHMARK(BM_PrintIchiranFullGrade)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_PrintKondanFullGrade(benchmark::State &state) {
    FullGrade grade;
    const dorv::TKondanSource source = grade.conferenceSource();
    RunPrints(state, grade, "kondan", kStudents, [&] {
        dorv::print::TPrintJob job(QStringLiteral("懇談資料"), dorv::print::TOrientation::Portrait);
        dorv::PrintAllStudents(job.Canvas(), *dorv::CurNameData, kClasses,
                               [&](int c, int n) { dorv::PrintKondanSheet(job.Canvas(), source, c, n); });
        job.End();
    });
}
BENCHMARK(BM_PrintKondanFullGrade)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Without a desktop session Qt warns of the missing runtime folder.
    QTemporaryDir runtime;
    if (const char *set = std::getenv("XDG_RUNTIME_DIR"); (set == nullptr || *set == '\0') && runtime.isValid())
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
