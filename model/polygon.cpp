#include "model/polygon.h"

#include <algorithm>
#include <cmath>

namespace tracemont {
namespace {

// Beyond this many (band, edge) pairs the per-band table costs more memory
// than it saves time; the tester then walks all edges.
constexpr std::size_t kMaxBandEntries = 4'000'000;

}  // namespace

PolygonTester::PolygonTester(std::span<const Point> polygon) {
  if (polygon.size() < 3) return;
  empty_ = false;
  box_ = Rect::At(polygon[0]);
  for (const Point& p : polygon) box_ = box_.Including(p);

  std::vector<int> ys;
  ys.reserve(polygon.size());
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point a = polygon[i];
    const Point b = polygon[(i + 1) % polygon.size()];
    ys.push_back(a.y);
    if (a.y == b.y) continue;  // horizontal edges are never crossed by a row centre
    const double slope = static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
    allEdges_.push_back(Edge{static_cast<double>(a.x), static_cast<double>(a.y), slope,
                             std::min(a.y, b.y), std::max(a.y, b.y)});
  }

  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  if (ys.size() < 2) return;

  // Band i covers rows ys[i] .. ys[i + 1] - 1; an edge crosses a whole band
  // or none of it, since vertices only lie on band limits.
  const auto bandOf = [&ys](int y) {
    return static_cast<std::size_t>(std::lower_bound(ys.begin(), ys.end(), y) - ys.begin());
  };
  std::vector<std::size_t> counts(ys.size(), 0);
  std::size_t entries = 0;
  for (const Edge& e : allEdges_) {
    const std::size_t first = bandOf(e.ylo);
    const std::size_t last = bandOf(e.yhi);
    entries += last - first;
    if (entries > kMaxBandEntries) return;
    for (std::size_t band = first; band < last; ++band) ++counts[band];
  }
  bandY_ = ys;
  bandStart_.assign(ys.size() + 1, 0);
  for (std::size_t i = 0; i < ys.size(); ++i) bandStart_[i + 1] = bandStart_[i] + counts[i];
  bandEdges_.resize(entries);
  std::vector<std::size_t> fill(bandStart_.begin(), bandStart_.end() - 1);
  for (const Edge& e : allEdges_) {
    for (std::size_t band = bandOf(e.ylo), last = bandOf(e.yhi); band < last; ++band)
      bandEdges_[fill[band]++] = e;
  }
  useBands_ = true;
}

int PolygonTester::Crossings(std::span<const Edge> edges, double cx, double cy) {
  int crossings = 0;
  for (const Edge& e : edges) {
    const double x = e.x0 + (cy - e.y0) * e.slope;
    crossings += x > cx ? 1 : 0;
  }
  return crossings;
}

bool PolygonTester::Contains(Point p) const {
  if (empty_) return false;
  if (p.x < box_.left || p.x >= box_.right || p.y < box_.bottom || p.y >= box_.top) return false;
  const double cx = p.x + 0.5;
  const double cy = p.y + 0.5;
  if (useBands_) {
    const auto it = std::upper_bound(bandY_.begin(), bandY_.end(), p.y);
    if (it == bandY_.begin() || it == bandY_.end()) return false;
    const auto band = static_cast<std::size_t>(it - bandY_.begin() - 1);
    const std::span<const Edge> edges(bandEdges_.data() + bandStart_[band],
                                      bandStart_[band + 1] - bandStart_[band]);
    return (Crossings(edges, cx, cy) & 1) != 0;
  }
  int crossings = 0;
  for (const Edge& e : allEdges_) {
    if (p.y < e.ylo || p.y >= e.yhi) continue;
    const double x = e.x0 + (cy - e.y0) * e.slope;
    crossings += x > cx ? 1 : 0;
  }
  return (crossings & 1) != 0;
}

std::int64_t CoveredCells(std::span<const Point> polygon) {
  if (polygon.size() < 3) return 0;
  Rect box = Rect::At(polygon[0]);
  for (const Point& p : polygon) box = box.Including(p);
  const std::int64_t rows = static_cast<std::int64_t>(box.top) - box.bottom;

  // Rasterising a polygon taller than this would take seconds; such a polygon
  // lies far outside any page, and its shoelace area is as good a measure.
  constexpr std::int64_t kMaxRows = 4'000'000;
  if (rows > kMaxRows) {
    long double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const Point a = polygon[i];
      const Point b = polygon[(i + 1) % polygon.size()];
      twice += static_cast<long double>(a.x) * b.y - static_cast<long double>(b.x) * a.y;
    }
    return static_cast<std::int64_t>(std::fabs(static_cast<double>(twice)) / 2.0);
  }

  struct Edge {
    double x0, y0, slope;
    int ylo, yhi;
  };
  std::vector<Edge> edges;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point a = polygon[i];
    const Point b = polygon[(i + 1) % polygon.size()];
    if (a.y == b.y) continue;
    edges.push_back({static_cast<double>(a.x), static_cast<double>(a.y),
                     static_cast<double>(b.x - a.x) / (b.y - a.y), std::min(a.y, b.y),
                     std::max(a.y, b.y)});
  }
  std::int64_t cells = 0;
  std::vector<double> xs;
  for (int y = box.bottom; y < box.top; ++y) {
    const double cy = y + 0.5;
    xs.clear();
    for (const Edge& e : edges)
      if (y >= e.ylo && y < e.yhi) xs.push_back(e.x0 + (cy - e.y0) * e.slope);
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      // Cells x with xs[i] < x + 0.5 < xs[i + 1].
      const auto first = static_cast<std::int64_t>(std::floor(xs[i] - 0.5)) + 1;
      const auto last = static_cast<std::int64_t>(std::ceil(xs[i + 1] - 0.5)) - 1;
      if (last >= first) cells += last - first + 1;
    }
  }
  return cells;
}

}  // namespace tracemont
