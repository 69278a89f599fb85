#include "approx/piece_linear.h"

#include <algorithm>
#include <cmath>

#include "model/text.h"

namespace tracemont {
namespace {

struct Cell {
  int count = 0;
  double mean = 0.0;
  double weight = 0.0;
};

struct Staircase {
  int n = 0;
  double umin = 0.0;
  double umax = 0.0;
  const double* levels = nullptr;  // n + 1 values

  double Level(int k) const { return levels[k]; }
};

// The stored staircase; n = 0 when the vector holds no step.
Staircase ReadStaircase(const FuncParams& p) {
  const std::size_t d = DirectionOf(p) == 1 ? 1 : 0;
  Staircase s;
  s.n = std::max(StoredInt(p[2]), 0);
  s.umin = p[3 + d];
  s.umax = p[5 + d];
  s.levels = p.data() + kFuncHeaderSize;
  return s;
}

void AddPoint(std::vector<DotValue>& curve, bool reversed, double u, double v) {
  curve.push_back(reversed ? DotValue(v, u, 0.0) : DotValue(u, v, 0.0));
}

}  // namespace

int FitPieceLinear(FitTarget& target, const FitRange& range, const FitData& data) {
  const std::size_t count = data.Size();
  if (count == 0 || !(range.umax > range.umin)) return target.StoreConstant();
  int n = target.N();
  if (static_cast<long long>(n) > static_cast<long long>(count) - 1)
    n = static_cast<int>(count) - 1;
  target.SetN(n);
  if (n <= 0) return target.StoreConstant();

  // Cells are widened by half a point spacing so the extreme points fall
  // inside the first and the last used cell.
  const double h = 0.5 * (range.umax - range.umin) / static_cast<double>(count);
  const double lo = range.umin - h;
  const double hi = range.umax + h;
  std::vector<Cell> cells(static_cast<std::size_t>(n) + 1);
  for (std::size_t i = 0; i < count; ++i) {
    const double u = data.u[i];
    if (!(lo <= u && u <= hi)) continue;
    const double raw = std::trunc((u - lo) * n / (hi - lo));
    const auto k = static_cast<std::size_t>(std::clamp(raw, 0.0, static_cast<double>(n)));
    Cell& cell = cells[k];
    const double w = data.w[i];
    if (cell.weight + w > 0) cell.mean = (cell.mean * cell.weight + data.v[i] * w) / (cell.weight + w);
    cell.weight += w;
    cell.count += 1;
  }
  std::vector<double> block(cells.size());
  for (std::size_t k = 0; k < cells.size(); ++k) block[k] = cells[k].mean;
  const auto last = static_cast<std::size_t>(n);
  for (std::size_t k = 1; k < last; ++k) {
    if (cells[k].count != 0) continue;
    std::size_t a = k;
    while (a > 0 && cells[a].count == 0) --a;
    std::size_t b = k;
    while (b < last && cells[b].count == 0) ++b;
    if (cells[a].count == 0 || b >= last) continue;  // no neighbour on one side
    const double ka = static_cast<double>(k - a);
    const double kb = static_cast<double>(b - k);
    block[k] = (ka * block[b] + kb * block[a]) / static_cast<double>(b - a);
  }
  block[last] = 0.0;
  return target.StoreBlock(block);
}

double EvalPieceLinear(const FuncParams& p, double u) {
  const Staircase s = ReadStaircase(p);
  if (s.n < 1) return 0.0;
  if (s.umin >= s.umax || u <= s.umin) return s.Level(0);
  if (u >= s.umax) return s.Level(s.n - 1);
  const double raw = std::trunc((u - s.umin) / (s.umax - s.umin) * s.n);
  const int j = static_cast<int>(std::clamp(std::isnan(raw) ? 0.0 : raw, 0.0, s.n - 1.0));
  return s.Level(j);
}

int DescribePieceLinear(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const Staircase s = ReadStaircase(p);
  const double step = (s.umax - s.umin) / s.n;
  if (mode != 0) {
    rows.push_back(StrFormat(LoadStr(41691).c_str(), step));
    rows.push_back(FormatG(p[7]));
    return 2;
  }
  for (int k = 0; k <= s.n; ++k) {
    rows.push_back(FormatG(s.umin + k * step));
    rows.push_back(FormatG(s.Level(k)));
  }
  return static_cast<int>(rows.size());
}

int SamplePieceLinear(const FuncParams& p, double ua, double ub, std::vector<DotValue>& curve,
                      int samples, int subdivide, int centre) {
  const Staircase s = ReadStaircase(p);
  if (s.n < 1) return 0;
  const bool reversed = DirectionOf(p) == 1;
  const double width = (s.umax - s.umin) / s.n;
  const int q = subdivide <= 0 ? 1 : std::max(1, samples / s.n) + 1;
  if (ua < s.umin) AddPoint(curve, reversed, ua, s.Level(0));
  if (centre == 0) {
    for (int k = 0; k < s.n; ++k) {
      const double x0 = s.umin + k * width;
      for (int j = 0; j <= q; ++j) AddPoint(curve, reversed, x0 + j * width / q, s.Level(k));
    }
  } else {
    double prevU = s.umin;
    double prevV = s.Level(0);
    for (int k = 0; k < s.n; ++k) {
      const double xk = s.umin + (k + 0.5) * width;
      const double level = s.Level(k);
      for (int j = 0; j <= q; ++j) {
        const double f = static_cast<double>(j) / q;
        AddPoint(curve, reversed, prevU + (xk - prevU) * f, prevV + (level - prevV) * f);
      }
      prevU = xk;
      prevV = level;
    }
  }
  if (s.umax < ub) AddPoint(curve, reversed, ub, s.Level(s.n - 1));
  return static_cast<int>(curve.size());
}

}  // namespace tracemont
