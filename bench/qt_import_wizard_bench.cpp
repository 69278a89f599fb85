// The add-points wizard on a 1,000,000-line CSV file: from the command to
// the first page painted (the file's first lines read, the page built and
// shown), and the step to the second page, which reads every line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ui/read_pages.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

const std::string& MillionLineFile() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "tm_import_wizard_bench.csv";
    std::ofstream out(p, std::ios::binary);
    for (int i = 0; i < 1'000'000; ++i) out << (i % 1000) * 0.125 << ',' << (i % 777) * 0.5 << ',' << i << '\n';
    return p.string();
  }();
  return path;
}

void BM_WizardFirstPageOnMillionLines(benchmark::State& state) {
  const std::string& path = MillionLineFile();
  for (auto _ : state) {
    CMainDoc doc;
    std::string error;
    std::optional<ReadSource> source = FileSource(path, error);
    if (!source) {
      state.SkipWithError("file not read");
      return;
    }
    CReadPages wizard(doc, std::move(*source), {});
    wizard.show();
    benchmark::DoNotOptimize(wizard.grab());  // the first page painted
  }
}
BENCHMARK(BM_WizardFirstPageOnMillionLines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WizardSecondPageOnMillionLines(benchmark::State& state) {
  const std::string& path = MillionLineFile();
  for (auto _ : state) {
    state.PauseTiming();
    CMainDoc doc;
    std::string error;
    CReadPages wizard(doc, *FileSource(path, error), {});
    wizard.show();
    state.ResumeTiming();
    wizard.next();  // reads every line, collects the points
    benchmark::DoNotOptimize(wizard.grab());
    if (wizard.Collected().size() != 1'000'000u) state.SkipWithError("points lost");
  }
}
BENCHMARK(BM_WizardSecondPageOnMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tracemont

#include "bench/qt_bench_main.h"
