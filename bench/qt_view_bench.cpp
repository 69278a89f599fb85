// The desktop view: start-up to the first painted window with the example,
// and the repaint after a scroll with a 1,000,000-point series on the page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <random>

#include "app/ui/main_frame.h"
#include "app/ui/main_view.h"
#include "model/main_doc.h"
#include "platform/app_settings.h"

namespace tracemont {
namespace {

void BM_StartUpToFirstPaint(benchmark::State& state) {
  QTemporaryDir dir;
  for (auto _ : state) {
    CMainDoc doc;
    AppSettings settings(dir.filePath("settings.ini"));
    CMainFrame frame(doc, settings, QCoreApplication::applicationDirPath());
    frame.OpenFile(QStringLiteral(TM_SOURCE_DIR "/examples/demo.tmr"));
    frame.resize(1280, 900);
    frame.show();
    benchmark::DoNotOptimize(frame.grab());  // paints every widget once
  }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RepaintAfterScroll(benchmark::State& state) {
  CMainDoc doc;
  SeriesStyle style;
  style.colourCommand = cmd::kRedPoints;
  std::vector<DotValue> points;
  std::mt19937 random(9);
  std::uniform_real_distribution<double> x(0.0, 13.0);
  std::uniform_real_distribution<double> y(0.0, 9.0);
  for (int i = 0; i < 1'000'000; ++i) points.emplace_back(x(random), y(random), i);
  doc.NewSeriesFromValues(points, style, source::kRead, std::string("million"));
  QTemporaryDir dir;
  AppSettings settings(dir.filePath("settings.ini"));
  CMainFrame frame(doc, settings, QCoreApplication::applicationDirPath());
  frame.resize(900, 600);  // smaller than the page: there is something to scroll
  frame.show();
  QScrollBar* bar = frame.View()->verticalScrollBar();
  int step = 0;
  for (auto _ : state) {
    bar->setValue((++step % 2) * 100);
    benchmark::DoNotOptimize(frame.View()->viewport()->grab());
  }
}
BENCHMARK(BM_RepaintAfterScroll)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace tracemont

#include "bench/qt_bench_main.h"
