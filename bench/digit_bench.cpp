// Tracing a 4000 x 3000 picture with the search covering all of it, next to
// a plain scan that only tests each pixel's colour (the floor any tracer
// must pay). Goal: the tracer within 4 times the floor.
#include <benchmark/benchmark.h>

#include <cmath>

#include "acquire/digit_tracer.h"
#include "model/colours.h"

namespace tracemont {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// White with grey grid lines, black axes and a red and a blue sine.
const PixelBuffer& Picture() {
  static const PixelBuffer picture = [] {
    PixelBuffer p = PixelBuffer::Filled(kWidth, kHeight);
    for (int x = 0; x < kWidth; x += 100)
      for (int y = 0; y < kHeight; ++y) p.Set(x, y, Rgb(200, 200, 200));
    for (int x = 0; x < kWidth; ++x) {
      p.Set(x, kHeight - 50, 0);
      const double s = std::sin(x / 300.0);
      for (int t = -1; t <= 1; ++t) {
        p.Set(x, static_cast<int>(1500 + 1000 * s) + t, Rgb(255, 0, 0));
        p.Set(x, static_cast<int>(1500 - 1000 * s) + t, Rgb(0, 0, 255));
      }
    }
    return p;
  }();
  return picture;
}

void BM_ColourScanFloor(benchmark::State& state) {
  const PixelBuffer& picture = Picture();
  const ColourClass red = ColourClassOf(cmd::kRedPoints);
  for (auto _ : state) {
    long hits = 0;
    for (const Colour c : picture.pixels)
      if (c != 0xFFFFFFu && red.Accepts(c)) ++hits;
    benchmark::DoNotOptimize(hits);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ColourScanFloor)->Unit(benchmark::kMillisecond);

void BM_TraceWholePicture(benchmark::State& state) {
  const PixelBuffer& picture = Picture();
  for (auto _ : state) {
    DigitTracer tracer(ColourClassOf(cmd::kRedPoints), StepToCells(20, 96, 96));
    auto points = tracer.Trace(picture, {0, 0, kWidth, kHeight}, true);
    benchmark::DoNotOptimize(points.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_TraceWholePicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tracemont

BENCHMARK_MAIN();
