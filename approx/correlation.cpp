#include "approx/correlation.h"

#include <algorithm>
#include <cmath>

#include "approx/approx.h"
#include "model/text.h"

namespace tracemont {
namespace {

// Grid index of a value: truncated toward zero, then kept inside 0..cells-1.
std::size_t CellOf(double offset, double width, int cells) {
  const double raw = std::trunc(offset / width);
  if (!(raw >= 0)) return 0;
  if (raw >= cells) return static_cast<std::size_t>(cells - 1);
  return static_cast<std::size_t>(raw);
}

}  // namespace

double InterfacingCoefficient(const CApprox& stats, const std::vector<DotValue>& points, int rows,
                              int cols) {
  if (stats.count <= 0) return 0.0;
  // Very large grids would only exhaust memory; no caller asks for more
  // than 10 intervals.
  rows = std::clamp(rows, 2, 1000);
  cols = std::clamp(cols, 2, 1000);
  const double wx = (stats.max[0] - stats.min[0]) / rows;
  const double wy = (stats.max[1] - stats.min[1]) / cols;
  if (!(wx > 0) || !(wy > 0)) return 0.0;
  const auto r = static_cast<std::size_t>(rows);
  const auto c = static_cast<std::size_t>(cols);
  std::vector<double> table(r * c, 0.0);
  std::vector<double> rowTotal(r, 0.0);
  std::vector<double> colTotal(c, 0.0);
  for (const DotValue& p : points) {
    const std::size_t i = CellOf(p.x - stats.min[0], wx, rows);
    const std::size_t j = CellOf(p.y - stats.min[1], wy, cols);
    table[i * c + j] += 1;
    rowTotal[i] += 1;
    colTotal[j] += 1;
  }
  double s = 0.0;
  for (std::size_t i = 0; i < r; ++i) {
    if (rowTotal[i] == 0) continue;
    for (std::size_t j = 0; j < c; ++j) {
      if (colTotal[j] == 0) continue;
      const double n = table[i * c + j];
      s += n * n / colTotal[j] / rowTotal[i];
    }
  }
  const auto k = std::count_if(colTotal.begin(), colTotal.end(), [](double t) { return t != 0; });
  const double v = k > 1 ? (s - 1) / static_cast<double>(k - 1) : s;
  // S is at least 1 in exact arithmetic; rounding must not turn a zero
  // association into NaN.
  return std::sqrt(std::max(v, 0.0));
}

std::array<std::string, 5> CorrelationRow::Texts() const {
  return {StrFormat("%d", count), FormatG(xCentre), FormatG(yCentre), FormatG(correlation),
          FormatG(interfacing)};
}

CorrelationRow ComputeCorrelationRow(const std::vector<DotValue>& points, int gridIntervals) {
  CorrelationRow row;
  if (points.empty()) return row;
  CApprox stats(6);
  row.correlation = stats.ComputeStats(points);
  row.count = stats.count;
  row.xCentre = stats.mean[0];
  row.yCentre = stats.mean[1];
  row.interfacing = InterfacingCoefficient(stats, points, gridIntervals, gridIntervals);
  return row;
}

}  // namespace tracemont
