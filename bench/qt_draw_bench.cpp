// Drawing a million-point series of round markers through the QPainter
// surface into a 1920 x 1080 image (the screen case of the view).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>

#include "model/plot_objects.h"
#include "platform/qpainter_surface.h"

namespace tracemont {
namespace {

void BM_DrawMillionRoundMarkers(benchmark::State& state) {
  CPlotDot series(cmd::kRedPoints, cmd::kRoundPoints, source::kRead);
  series.xScale = CAxeScale(0.5, 0.0, 0.0, 50.0, 1, CAxeScale::kLinear);
  series.yScale = CAxeScale(0.5, 0.0, -28.0, 0.0, 1, CAxeScale::kLinear);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> x(0.0, 25.0);
  std::uniform_real_distribution<double> y(0.0, 14.0);
  for (int i = 0; i < 1'000'000; ++i) series.AddValue(DotValue(x(random), y(random), i));
  series.FinishEdit();

  QImage image(1920, 1080, QImage::Format_RGB32);
  DrawContext context;
  context.page = {0, 0, 2000, -1125};  // 1920 x 1080 px at 96 ppi
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter, 96, 96);
    series.Draw(surface, context);
  }
  state.counters["ns_per_point"] = benchmark::Counter(
      1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawMillionRoundMarkers)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tracemont

#include "bench/qt_bench_main.h"
