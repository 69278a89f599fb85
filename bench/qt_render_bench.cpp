// Batch rendering of a document with one 1,000,000-point series of round
// markers into a 1920 x 1080 PNG, as `tracemont-cli render` does it.
//
//   bench_qt_render                          the benchmark
//   bench_qt_render --write PLOT.tmr PTS.txt the same document and its points
//                                            as text, for the side-by-side
//                                            script bench/render_peers.sh
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>

#include "model/document_data.h"
#include "model/document_file.h"
#include "platform/page_output.h"

namespace tracemont {
namespace {

// 1920 x 1080 pixels at 96 dpi: 20 x 11.25 inches.
void MillionPointDocument(DocumentData& doc) {
  doc.pageWidth = 5080;
  doc.pageHeight = 2858;
  doc.indents[1].flag = 0;
  LayoutPage(doc.pageWidth, doc.pageHeight, doc.axisX, doc.axisY, doc.indents);
  auto series = std::make_unique<CPlotDot>(cmd::kRedPoints, cmd::kRoundPoints, source::kRead);
  series->xScale = doc.axisX.scale;
  series->yScale = doc.axisY.scale;
  series->id = 1;
  std::mt19937 random(5);
  std::normal_distribution<double> x(24.0, 8.0);
  std::normal_distribution<double> y(13.0, 4.0);
  for (int i = 0; i < 1'000'000; ++i) series->AddValue(DotValue(x(random), y(random), i));
  series->FinishEdit();
  doc.series.push_back(std::move(series));
}

void BM_RenderMillionPointsToPng(benchmark::State& state) {
  DocumentData doc;
  MillionPointDocument(doc);
  QTemporaryDir dir;
  const QString out = dir.filePath("plot.png");
  for (auto _ : state) {
    const QString error = RenderPageFile(doc, out, 96);
    if (!error.isEmpty()) state.SkipWithError(error.toStdString().c_str());
  }
}
BENCHMARK(BM_RenderMillionPointsToPng)->Unit(benchmark::kMillisecond)->Iterations(3);

int WriteInputs(const char* document, const char* points) {
  DocumentData doc;
  MillionPointDocument(doc);
  const FileResult saved = SaveDocumentFile(document, doc);
  if (!saved.ok) {
    std::fprintf(stderr, "%s\n", saved.message.c_str());
    return 1;
  }
  std::FILE* out = std::fopen(points, "w");
  if (!out) return 1;
  for (const DotValue& v : doc.series.front()->Values()) std::fprintf(out, "%.6g %.6g\n", v.x, v.y);
  std::fclose(out);
  return 0;
}

}  // namespace
}  // namespace tracemont

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--write") == 0) return tracemont::WriteInputs(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
