// Fitting costs: the degree-5 polynomial on a million points (whole fit and
// the normal equations alone), the non-linear formula a + b exp(c u) on
// 10,000 points, the neural network's 300 iterations on 1,000 points and
// the sections search on 100,000 points. bench/approx_peers.sh sets the
// polynomial and non-linear figures beside numpy and scipy on the same data.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "approx/approx.h"
#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "approx/neural.h"
#include "approx/sections.h"

namespace tracemont {
namespace {

// Deterministic noise shared with the peer script: 0.01 sin(12.9898 i).
double Noise(std::size_t i) { return 0.01 * std::sin(12.9898 * static_cast<double>(i)); }

// x in [-1, 1], y = 1 + 0.5x - 2x^2 + 0.3x^3 + x^4 - 0.7x^5 + noise.
std::vector<DotValue> PolynomialPoints(std::size_t count) {
  std::vector<DotValue> points(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = -1 + 2.0 * static_cast<double>(i) / static_cast<double>(count - 1);
    const double y = 1 + x * (0.5 + x * (-2 + x * (0.3 + x * (1 - 0.7 * x))));
    points[i] = DotValue(x, y + Noise(i), 0.0);
  }
  return points;
}

// u in [0, 2], v = 1 + 2 exp(0.5 u) + noise.
std::vector<DotValue> ExponentialPoints(std::size_t count) {
  std::vector<DotValue> points(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double u = 2.0 * static_cast<double>(i) / static_cast<double>(count - 1);
    points[i] = DotValue(u, 1 + 2 * std::exp(0.5 * u) + Noise(i), 0.0);
  }
  return points;
}

void PolynomialFit(benchmark::State& state) {
  const auto points = PolynomialPoints(1'000'000);
  CApprox approx;
  FuncParams p;
  for (auto _ : state) {
    p = {0, 0, 5};
    approx.FitFunction(points, p, {});
    benchmark::DoNotOptimize(p.data());
  }
  state.counters["a5"] = p[15];
}
BENCHMARK(PolynomialFit)->Name("PolynomialFit/degree5/1M/FitFunction")->Unit(benchmark::kMillisecond);

// A new calculator per fit: its work arrays start unallocated, so every
// fit pays for fresh memory (page faults are expensive on some machines).
void PolynomialFitCold(benchmark::State& state) {
  const auto points = PolynomialPoints(1'000'000);
  FuncParams p;
  for (auto _ : state) {
    CApprox approx;
    p = {0, 0, 5};
    approx.FitFunction(points, p, {});
    benchmark::DoNotOptimize(p.data());
  }
}
BENCHMARK(PolynomialFitCold)
    ->Name("PolynomialFit/degree5/1M/FitFunctionFreshCalculator")
    ->Unit(benchmark::kMillisecond);

void PolynomialNormalEquations(benchmark::State& state) {
  const auto points = PolynomialPoints(1'000'000);
  const FitData data = PrepareFitData(points, {}, false, 0);
  std::vector<double> coef;
  for (auto _ : state) {
    FitPolynomial(2.0, data.u, data.v, data.w, 5, coef);
    benchmark::DoNotOptimize(coef.data());
  }
}
BENCHMARK(PolynomialNormalEquations)
    ->Name("PolynomialFit/degree5/1M/NormalEquationsOnly")
    ->Unit(benchmark::kMillisecond);

// The formula as asked for, and the same model with its parameters scaled
// inside the formula so that the unscaled first quasi-Newton step (the
// gradient itself) stays in range. Both start from a = 0.5, b = 1.5, c = 0.3.
void NonLinearExponential(benchmark::State& state, const std::string& formula,
                          std::array<double, 4> start, std::array<double, 3> scale) {
  const auto points = ExponentialPoints(10'000);
  CApprox approx;
  approx.formula = formula;
  approx.startValues = start;
  approx.methodSettings = {0, 0, 300};
  FuncParams p;
  for (auto _ : state) {
    p = {90, 0, 1};
    approx.FitFunction(points, p, {});
    benchmark::DoNotOptimize(p.data());
  }
  const bool converged = p[0] == 90;
  state.counters["converged"] = converged ? 1 : 0;
  if (converged) {
    const std::size_t record = 10 + 2 + 1 + formula.size();
    state.counters["iterations"] = p[record + 6];
    // The model's a, b, c (the formula's parameters times their scales).
    state.counters["a"] = p[record + 11] * scale[0];
    state.counters["b"] = p[record + 12] * scale[1];
    state.counters["c"] = p[record + 13] * scale[2];
    state.counters["rss"] = p[record + 15] * p[record + 15] * static_cast<double>(points.size());
  } else {
    state.counters["iterations"] = 300;
  }
}
BENCHMARK_CAPTURE(NonLinearExponential, literal, std::string("a+b*exp(c*u)"),
                  std::array<double, 4>{0.5, 1.5, 0.3, 0}, std::array<double, 3>{1, 1, 1})
    ->Name("NonLinear/a+b*exp(c*u)/10k/literal")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(NonLinearExponential, scaled, std::string("a/100+b/100*exp(c/200*u)"),
                  std::array<double, 4>{50, 150, 60, 0},
                  std::array<double, 3>{0.01, 0.01, 0.005})
    ->Name("NonLinear/a+b*exp(c*u)/10k/scaled")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 300 iterations exactly: a tolerance that cannot be met keeps the
// minimiser going.
void NeuralIterations(benchmark::State& state) {
  std::vector<double> x(1000), v(1000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<double>(i) / 999.0;
    v[i] = 2 + 3 * std::tanh(4 * (x[i] - 0.5)) + Noise(i);
  }
  for (auto _ : state) {
    CNeuroFit fit;
    const double settings[10] = {8, 0, 0, 0, 4, 0.0001, 300, 0, 0, 0};
    fit.Configure(settings);
    fit.arguments = x;
    fit.values = v;
    std::vector<double> params(24);
    for (std::size_t i = 0; i < params.size(); ++i) params[i] = std::sin(1.7 * static_cast<double>(i)) * 0.5;
    int iterations = 300;
    fit.Minimize(params, -1, iterations, fit.Step());
    benchmark::DoNotOptimize(params.data());
  }
}
BENCHMARK(NeuralIterations)->Name("NeuralNetwork/8neurons/1k/300iterations")->Unit(benchmark::kMillisecond);

// Three segments of 30,000 points each and 10,000 scattered points.
FitData SectionPoints() {
  FitData data;
  std::uint32_t state = 12345;
  const auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 16777216.0;
  };
  const auto add = [&](double u, double v) {
    data.u.push_back(u);
    data.v.push_back(v);
    data.w.push_back(1.0);
  };
  for (int i = 0; i < 30000; ++i) {
    const double t = next();
    add(t * 10, 1 + 0.5 * t);
    add(2 + 3 * t, 9 - 8 * t);
    add(8 - t, 2 + 7 * t);
  }
  for (int i = 0; i < 10000; ++i) add(next() * 10, next() * 10);
  return data;
}

void Sections(benchmark::State& state) {
  const FitData data = SectionPoints();
  const FitRange range{0, 10, 0, 10};
  SectionSearchStats stats;
  double sections = 0;
  for (auto _ : state) {
    FuncParams p(kFuncHeaderSize, 0.0);
    p[0] = method::kSections;
    FitTarget target(p, 50, 6, 0, 0);
    stats = {};
    FitSections(target, range, data, &stats);
    sections = target.N() / 4;
    benchmark::DoNotOptimize(p.data());
  }
  state.counters["sections"] = sections;
  state.counters["passes"] = stats.passes;
  state.counters["voting_share"] = stats.totalSeconds > 0 ? stats.votingSeconds / stats.totalSeconds : 0;
}
BENCHMARK(Sections)->Name("Sections/100k/50nodes")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tracemont

BENCHMARK_MAIN();
