#include "approx/closed_spline.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "model/text.h"

namespace tracemont {
namespace {

// Ascending with NaN after every number: a strict weak order whatever the
// data hold.
bool Before(double a, double b) { return a < b || (!std::isnan(a) && std::isnan(b)); }

// Splits `items` into `groups` consecutive groups by rank (item p goes to
// group p * groups / size); nothing when there are more groups than items.
std::optional<std::vector<std::vector<std::size_t>>> SplitByRank(
    const std::vector<std::size_t>& items, std::size_t groups) {
  if (groups == 0 || groups > items.size()) return std::nullopt;
  std::vector<std::vector<std::size_t>> out(groups);
  for (std::size_t p = 0; p < items.size(); ++p) out[p * groups / items.size()].push_back(items[p]);
  return out;
}

void SortBy(std::vector<std::size_t>& items, const std::vector<double>& key) {
  std::stable_sort(items.begin(), items.end(),
                   [&](std::size_t a, std::size_t b) { return Before(key[a], key[b]); });
}

struct Node {
  double u = 0.0;
  double v = 0.0;
};

struct Vec {
  double x = 0.0;
  double y = 0.0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double f, Vec a) { return {f * a.x, f * a.y}; }
double Length(Vec a) { return std::hypot(a.x, a.y); }

}  // namespace

int FitClosedSpline(FitTarget& target, const FitData& data) {
  const int n = target.N();
  if (n < 2) return target.StoreConstant();
  std::size_t side = static_cast<std::size_t>(std::sqrt(static_cast<double>(n)));
  const std::size_t count = data.Size();
  if (count < static_cast<std::size_t>(n)) {
    side = count / 4 + 1;
    if (side < 2) return target.StoreConstant();
    if (4 * side > 40) side = 10;
  }
  if (side < 2) return target.StoreConstant();

  std::vector<std::size_t> all(count);
  std::iota(all.begin(), all.end(), std::size_t{0});
  SortBy(all, data.v);
  const auto rows = SplitByRank(all, side);
  if (!rows) return target.StoreConstant();

  // Cells of each row by argument: s cells in the bottom and top rows, s - 1
  // in the rows between.
  std::vector<std::vector<std::vector<std::size_t>>> cells(side);
  for (std::size_t r = 0; r < side; ++r) {
    std::vector<std::size_t> row = (*rows)[r];
    SortBy(row, data.u);
    const bool outer = r == 0 || r == side - 1;
    auto split = SplitByRank(row, outer ? side : side - 1);
    if (!split) return target.StoreConstant();
    cells[r] = std::move(*split);
  }

  std::vector<const std::vector<std::size_t>*> ring;
  for (const auto& cell : cells[side - 1]) ring.push_back(&cell);
  for (std::size_t r = side - 2; r >= 1; --r) ring.push_back(&cells[r].back());
  for (auto it = cells[0].rbegin(); it != cells[0].rend(); ++it) ring.push_back(&*it);
  for (std::size_t r = 1; r + 1 < side; ++r) ring.push_back(&cells[r].front());

  std::vector<double> block;
  for (const auto* cell : ring) {
    if (cell->empty()) continue;
    double su = 0.0;
    double sv = 0.0;
    for (const std::size_t i : *cell) {
      su += data.u[i];
      sv += data.v[i];
    }
    block.push_back(su / static_cast<double>(cell->size()));
    block.push_back(sv / static_cast<double>(cell->size()));
  }
  block.push_back(0.0);
  return target.StoreBlock(block);
}

int DescribeClosedSpline(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int nodes = std::max(StoredInt(p[2]) / 2, 0);
  const double* c = p.data() + kFuncHeaderSize;
  if (mode != 0) {
    rows.push_back(nodes == 0 ? LoadStr(41693) : StrFormat(LoadStr(41692).c_str(), nodes));
    rows.push_back("-");
    return 2;
  }
  for (int j = 0; j < nodes; ++j) {
    rows.push_back(FormatG(c[2 * j]));
    rows.push_back(FormatG(c[2 * j + 1]));
  }
  return static_cast<int>(rows.size());
}

int SampleClosedSpline(const FuncParams& p, std::vector<DotValue>& curve) {
  const int m = std::max(StoredInt(p[2]) / 2, 0);
  if (m <= 3) return 0;
  const double* c = p.data() + kFuncHeaderSize;
  const auto node = [&](int i) {
    const int k = ((i % m) + m) % m;
    return Vec{c[2 * k], c[2 * k + 1]};
  };
  const bool reversed = DirectionOf(p) == 1;
  const auto add = [&](Vec q) {
    curve.push_back(reversed ? DotValue(q.y, q.x, 0.0) : DotValue(q.x, q.y, 0.0));
  };
  for (int i = 0; i < m; ++i) {
    const Vec a = node(i - 1);
    const Vec b = node(i);
    const Vec cc = node(i + 1);
    const Vec d = node(i + 2);
    const Vec pv = cc - a;
    const Vec qv = d - b;
    const double den = qv.x * pv.y - qv.y * pv.x;
    add(b);
    if (den != 0.0) {
      // Tangent at B runs parallel to AC, at C parallel to BD; they meet at T.
      const double t = ((b.y - a.y) * qv.x - (b.x - a.x) * qv.y) / den;
      const Vec x = a + t * pv;
      const Vec tip = b + cc - x;
      const double span = Length(cc - b);
      double f1 = 1.0 / 3;
      double f2 = 1.0 / 3;
      const double tb = Length(tip - b);
      const double tc = Length(tip - cc);
      if (tb > span) f1 = span / (3 * tb);
      if (tc > span) f2 = span / (3 * tc);
      add(b + f1 * (tip - b));
      add(cc + f2 * (tip - cc));
    } else {
      const Vec bc = cc - b;
      add({b.x + bc.x / 3, b.y + bc.y / 3});
      add({b.x + 2 * bc.x / 3, b.y + 2 * bc.y / 3});
    }
  }
  add(node(0));
  return static_cast<int>(curve.size());
}

}  // namespace tracemont
