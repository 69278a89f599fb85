// Tabulating 2*sin(u)+u^2/(1+abs(u))-exp(-u) over 1,000,000 points: the
// reference reader (reads the text at every point), the compiled form, and,
// when it is installed, muparser on the same formula. Prints nanoseconds per
// evaluation for each after the benchmark table.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "formula/formula_calc.h"

#if TM_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

using tracemont::CFormulaCalc;

constexpr const char* kFormula = "2*sin(u)+u^2/(1+abs(u))-exp(-u)";
constexpr int kIntervals = 999'999;  // 1,000,000 points
constexpr double kUMin = -10.0;
constexpr double kUMax = 10.0;
constexpr double kPoints = kIntervals + 1.0;

std::map<std::string, double>& NsPerEvaluation() {
  static std::map<std::string, double> figures;
  return figures;
}

template <typename Body>
void Measure(benchmark::State& state, const std::string& name, Body body) {
  double seconds = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    body();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["ns/eval"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kPoints,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  NsPerEvaluation()[name] = seconds * 1e9 / (static_cast<double>(state.iterations()) * kPoints);
}

void Tabulate(benchmark::State& state, CFormulaCalc::Engine engine, const std::string& name) {
  CFormulaCalc calc(engine);
  std::vector<double> values(kIntervals + 1);
  Measure(state, name, [&] {
    std::string text = kFormula;
    if (!calc.Tabulate(text, kUMin, kUMax, values, kIntervals, 0.0))
      state.SkipWithError("Tabulate failed");
    benchmark::DoNotOptimize(values.data());
    benchmark::ClobberMemory();
  });
}

void BM_ReferenceReader(benchmark::State& state) {
  Tabulate(state, CFormulaCalc::Engine::kReference, "reference reader");
}
void BM_CompiledForm(benchmark::State& state) {
  Tabulate(state, CFormulaCalc::Engine::kCompiled, "compiled form");
}
BENCHMARK(BM_ReferenceReader)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CompiledForm)->Unit(benchmark::kMillisecond)->MinTime(1.0);

#if TM_HAVE_MUPARSER
void BM_Muparser(benchmark::State& state) {
  mu::Parser parser;
  double u = 0.0;
  parser.DefineVar("u", &u);
  parser.SetExpr(kFormula);
  std::vector<double> values(kIntervals + 1);
  Measure(state, "muparser", [&] {
    for (int i = 0; i <= kIntervals; ++i) {
      u = kUMin + (kUMax - kUMin) * i / kIntervals;
      values[static_cast<std::size_t>(i)] = parser.Eval();
    }
    benchmark::DoNotOptimize(values.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Muparser)->Unit(benchmark::kMillisecond)->MinTime(1.0);
#endif

// The two forms of the evaluator must give the same bits at every point.
bool FormsAgree() {
  CFormulaCalc reference(CFormulaCalc::Engine::kReference);
  CFormulaCalc compiled(CFormulaCalc::Engine::kCompiled);
  std::vector<double> a(kIntervals + 1);
  std::vector<double> b(kIntervals + 1);
  std::string textA = kFormula;
  std::string textB = kFormula;
  reference.Tabulate(textA, kUMin, kUMax, a, kIntervals, 0.0);
  compiled.Tabulate(textB, kUMin, kUMax, b, kIntervals, 0.0);
  return std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\nTabulate of %s over %.0f points, ns per evaluation:\n", kFormula, kPoints);
  for (const char* name : {"reference reader", "compiled form", "muparser"}) {
    const auto it = NsPerEvaluation().find(name);
    if (it != NsPerEvaluation().end())
      std::printf("  %-17s %8.1f\n", name, it->second);
    else
      std::printf("  %-17s %8s\n", name, "not run");
  }
  std::printf("compiled form and reference reader agree bit for bit: %s\n",
              FormsAgree() ? "yes" : "NO");
  return 0;
}
