// Dragging a selected area with the select tool over a page holding 100,000
// points: one mouse move through the canvas, then the synchronous repaint of
// the rectangle it reports.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <random>

#include "app/ui/main_view.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

void BM_DragSelectedAreaOneMove(benchmark::State& state) {
  CMainDoc doc;
  std::vector<DotValue> points;
  std::mt19937 random(3);
  std::uniform_real_distribution<double> x(0.0, 13.0);
  std::uniform_real_distribution<double> y(0.0, 9.0);
  for (int i = 0; i < 100'000; ++i) points.emplace_back(x(random), y(random), i);
  SeriesStyle style;
  style.colourCommand = cmd::kRedPoints;
  doc.NewSeriesFromValues(points, style, source::kRead, std::string("points"));
  CPlotClip* area = doc.NewAreaAt({150, -150}, cmd::kRedPoints, cmd::kRectArea);
  area->SetCorner({220, -220}, true);

  CMainView view(doc);
  DrawingSettings settings;
  settings.tool = tool::kSelect;
  settings.colour = cmd::kRedPoints;
  view.SetSettingsSource([&] { return settings; });
  view.resize(900, 700);
  view.show();
  QApplication::processEvents();
  CCanvas& canvas = view.Canvas();
  canvas.ButtonDown({{180, -180}});
  int step = 0;
  for (auto _ : state) {
    const int dx = (++step % 2) ? 3 : -3;
    const std::optional<Rect> changed = canvas.MouseMove({{180 + dx, -180}});
    if (!changed) continue;
    // Only the reported rectangle is painted, as the event loop would.
    const Rect c = changed->Normalized();
    const QRect pixels = QRect(view.ToViewport({c.left, c.top}), view.ToViewport({c.right, c.bottom})).normalized();
    view.viewport()->repaint(pixels.adjusted(-2, -2, 2, 2));
  }
  canvas.ButtonUp({{180, -180}});
}
BENCHMARK(BM_DragSelectedAreaOneMove)->Unit(benchmark::kMillisecond)->Iterations(50);

// The canvas part alone, without painting.
void BM_DragSelectedAreaCanvasOnly(benchmark::State& state) {
  CMainDoc doc;
  std::vector<DotValue> points;
  std::mt19937 random(3);
  std::uniform_real_distribution<double> x(0.0, 13.0);
  std::uniform_real_distribution<double> y(0.0, 9.0);
  for (int i = 0; i < 100'000; ++i) points.emplace_back(x(random), y(random), i);
  doc.NewSeriesFromValues(points, {cmd::kRedPoints}, source::kRead, std::string("points"));
  CPlotClip* area = doc.NewAreaAt({150, -150}, cmd::kRedPoints, cmd::kRectArea);
  area->SetCorner({220, -220}, true);
  struct Host : CanvasHost {
    DrawingSettings Settings() const override { return {tool::kSelect, cmd::kRedPoints, cmd::kRoundPoints, 10}; }
  } host;
  CCanvas canvas(doc, host);
  canvas.ButtonDown({{180, -180}});
  int step = 0;
  for (auto _ : state) benchmark::DoNotOptimize(canvas.MouseMove({{180 + ((++step % 2) ? 3 : -3), -180}}));
  canvas.ButtonUp({{180, -180}});
}
BENCHMARK(BM_DragSelectedAreaCanvasOnly)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
}  // namespace tracemont

#include "bench/qt_bench_main.h"
