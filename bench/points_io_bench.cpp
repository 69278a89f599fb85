// Points in and out: collecting a million CSV lines of three columns into
// points (reading the file, splitting, converting), and the text export of a
// million-point series beside a plain printf loop over the same numbers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "acquire/points_import.h"
#include "model/points_export.h"

namespace tracemont {
namespace {

constexpr int kLines = 1000000;

const std::string& CsvPath() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "tm_points_io_bench.csv";
    std::ofstream out(p, std::ios::binary);
    for (int i = 0; i < kLines; ++i)
      out << (i % 1000) * 0.125 << ',' << (i % 777) * 0.5 << ',' << i << '\n';
    return p.string();
  }();
  return path;
}

void BM_ImportMillionLines(benchmark::State& state) {
  const std::string& path = CsvPath();
  for (auto _ : state) {
    std::string error;
    const std::vector<DotValue> points = CollectPointsFromFile(path, {1, 1, 2, 3}, error);
    benchmark::DoNotOptimize(points.data());
    if (points.size() != static_cast<std::size_t>(kLines)) state.SkipWithError("points lost");
  }
}
BENCHMARK(BM_ImportMillionLines)->Unit(benchmark::kMillisecond);

DocumentData& MillionPointDocument() {
  static DocumentData doc = [] {
    DocumentData d;
    auto s = std::make_unique<CPlotDot>(cmd::kRedPoints, cmd::kRoundPoints, source::kRead);
    s->spacingCheck = 0;
    for (int i = 0; i < kLines; ++i) s->AddValue(DotValue((i % 1000) * 0.125, (i % 777) * 0.5, i));
    d.series.push_back(std::move(s));
    return d;
  }();
  return doc;
}

void BM_ExportMillionPointsText(benchmark::State& state) {
  const DocumentData& doc = MillionPointDocument();
  for (auto _ : state) {
    const std::string text = BuildPointsText(doc, {}, PointsTextMode::File);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_ExportMillionPointsText)->Unit(benchmark::kMillisecond);

// The floor: the same numbers through snprintf into one buffer.
void BM_PrintfMillionPoints(benchmark::State& state) {
  const auto& values = MillionPointDocument().series.front()->Values();
  for (auto _ : state) {
    std::string out;
    out.reserve(values.size() * 24);
    char line[96];
    for (const DotValue& v : values) {
      const int n = std::snprintf(line, sizeof line, "%6.3f\t%6.3f\t%ld\r\n", v.x, v.y, static_cast<long>(v.z));
      out.append(line, static_cast<std::size_t>(n));
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_PrintfMillionPoints)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tracemont
BENCHMARK_MAIN();
