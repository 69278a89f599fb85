// Point-series operations at a million points: area membership and outline
// recomputation after a scale change. Goals: SelectInside below 60 ns per
// point against a 200-vertex irregular area, RecalcOutline below 10 ns.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "model/plot_objects.h"

namespace tracemont {
namespace {

constexpr int kPoints = 1'000'000;

CPlotDot MillionPointSeries() {
  CPlotDot series(cmd::kRedPoints, cmd::kRoundPoints, source::kRead);
  series.xScale = CAxeScale(0.5, 0.0, 0.0, 20.0, 1, CAxeScale::kLinear);
  series.yScale = CAxeScale(0.5, 0.0, -15.0, 0.0, 1, CAxeScale::kLinear);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(0.0, 10.0);
  std::uniform_real_distribution<double> y(0.0, 7.5);
  for (int i = 0; i < kPoints; ++i) series.AddValue(DotValue(x(random), y(random), i));
  series.FinishEdit();
  return series;
}

// A star-like polygon of 200 vertices with random radii round the page centre.
CPlotClip IrregularArea(const CPlotDot& like) {
  CPlotClip area(cmd::kBluePoints, cmd::kIrregularArea);
  area.xScale = like.xScale;
  area.yScale = like.yScale;
  area.spacingCheck = 0;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> radius(100.0, 290.0);
  const Point centre{393, -295};
  for (int i = 0; i < 200; ++i) {
    const double angle = 2 * M_PI * i / 200;
    const double r = radius(random);
    area.AddPoint({centre.x + static_cast<int>(r * std::cos(angle)),
                   centre.y + static_cast<int>(r * std::sin(angle))});
  }
  area.FinishEdit();
  return area;
}

void BM_SelectInside(benchmark::State& state) {
  CPlotDot series = MillionPointSeries();
  const CPlotClip area = IrregularArea(series);
  std::size_t selected = 0;
  for (auto _ : state) {
    series.ClearSelection();
    series.SelectInside(area);
    selected = series.Selection().size();
    benchmark::DoNotOptimize(selected);
  }
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(kPoints), benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
  state.counters["selected"] = static_cast<double>(selected);
}
BENCHMARK(BM_SelectInside)->Unit(benchmark::kMillisecond);

void BM_RecalcOutline(benchmark::State& state) {
  CPlotDot series = MillionPointSeries();
  CAxeScale x = series.xScale;
  for (auto _ : state) {
    x.k = x.k == 0.5 ? 0.25 : 0.5;  // a scale change each time
    series.xScale = x;
    series.RecalcOutline();
    benchmark::DoNotOptimize(series.Outline().data());
  }
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(kPoints), benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecalcOutline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tracemont

BENCHMARK_MAIN();
