// "Best" in the fitting wizard on 100,000 points: five complete regression
// fits to choose the form and the final fit of the chosen one, as Recalc
// runs them (preview object and table included). The goal is under a second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "approx/approx_driver.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

// x in [1, 10] (positive, so that every form can fit), y = 2 + 0.5x + noise.
std::vector<DotValue> Points(std::size_t count) {
  std::vector<DotValue> points(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = 1 + 9.0 * static_cast<double>(i) / static_cast<double>(count - 1);
    points[i] = DotValue(x, 2 + 0.5 * x + 0.01 * std::sin(12.9898 * static_cast<double>(i)));
  }
  return points;
}

void BM_BestFormRecalc(benchmark::State& state) {
  const auto points = Points(static_cast<std::size_t>(state.range(0)));
  CMainDoc doc;
  CApproxDriver driver(&doc, points, {}, 0, 0);
  driver.fields.regressionForm = kBestForm;
  driver.fields.degree = 3;
  driver.LeaveParameterPage();
  for (auto _ : state) {
    driver.EnterStatPage();
    driver.Recalc();
    benchmark::DoNotOptimize(driver.Table().rows.size());
  }
  driver.Cancel();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BestFormRecalc)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ChooseBestFormOnly(benchmark::State& state) {
  const auto points = Points(static_cast<std::size_t>(state.range(0)));
  CApproxDriver driver(nullptr, points, {}, 0, 0);
  driver.fields.degree = 3;
  FuncParams params;
  std::vector<DotValue> range;
  for (auto _ : state) benchmark::DoNotOptimize(driver.ChooseBestForm(params, range));
}
BENCHMARK(BM_ChooseBestFormOnly)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tracemont
BENCHMARK_MAIN();
