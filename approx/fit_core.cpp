#include "approx/fit_core.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "approx/regression.h"

namespace tracemont {

int FitTarget::StoreConstant() {
  n_ = 0;
  params_[0] = 0.0;
  params_[2] = 0.0;
  params_[7] = valueDeviation_;
  params_.push_back(valueMean_);
  params_.push_back(valueDeviation_);
  return 1;
}

int FitTarget::StoreBlock(std::span<const double> block) {
  if (block.empty()) return StoreConstant();
  n_ = static_cast<int>(block.size()) - 1;
  params_[2] = n_;
  params_.insert(params_.end(), block.begin(), block.end());
  return 1;
}

FitData PrepareFitData(const std::vector<DotValue>& points, const std::vector<DotValue>& range,
                       bool filterByRange, int direction) {
  FitData data;
  PrepareFitData(points, range, filterByRange, direction, data);
  return data;
}

FitDataCollector::FitDataCollector(const std::vector<DotValue>& range, bool filterByRange,
                                   int direction, std::size_t capacity, FitData& out)
    : out_(out), filter_(filterByRange && range.size() >= 3), reversed_(direction == 1) {
  if (filter_) {
    low_ = range[0];
    high_ = range[2];
  }
  out_.u.resize(capacity);
  out_.v.resize(capacity);
}

void FitDataCollector::Finish() {
  out_.u.resize(kept_);
  out_.v.resize(kept_);
  out_.w.assign(kept_, 1.0);
}

void PrepareFitData(const std::vector<DotValue>& points, const std::vector<DotValue>& range,
                    bool filterByRange, int direction, FitData& out) {
  FitDataCollector collector(range, filterByRange, direction, points.size(), out);
  for (const DotValue& p : points) collector.Add(p);
  collector.Finish();
}

double RmsDeviation(const FitData& data, FuncParams& params) {
  const std::size_t count = data.Size();
  if (count == 0 || params.size() < kFuncHeaderSize) return 0.0;
  const std::size_t d = DirectionOf(params) == 1 ? 1 : 0;
  double& low = params[4 - d];
  double& high = params[6 - d];
  if (high < low) std::swap(low, high);
  // The vector's method is looked up once; the regression forms, the
  // common case on large point sets, evaluate without the dispatch.
  const bool regression = IsValidParams(params) && IsRegressionFamily(MethodOf(params));
  const std::optional<RegressionEvaluator> fast =
      regression ? std::optional<RegressionEvaluator>(params) : std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const double value = fast ? (*fast)(data.u[i]) : EvalFunction(params, data.u[i]);
    const double e = value - data.v[i];
    sum += data.w[i] * e * e;
    if (data.v[i] < low) low = data.v[i];
    if (data.v[i] > high) high = data.v[i];
  }
  return std::sqrt(sum / static_cast<double>(count));
}

bool SolveLinear(int m, std::vector<double>& matrix, std::vector<double>& x) {
  if (m < 0) return false;
  const std::size_t rows = static_cast<std::size_t>(m) + 1;
  const std::size_t cols = rows + 1;
  if (matrix.size() != rows * cols) return false;
  x.assign(rows, 0.0);
  const auto at = [&](std::size_t r, std::size_t c) -> double& { return matrix[r * cols + c]; };
  for (std::size_t r = 0; r < rows; ++r) {
    // Normalise from the right-hand side back to the pivot, so the pivot is
    // divided last.
    const double pivot = at(r, r);
    for (std::size_t c = cols; c-- > r;) at(r, c) /= pivot;
    for (std::size_t i = r + 1; i < rows; ++i) {
      const double factor = at(i, r);
      for (std::size_t c = cols; c-- > 0;) at(i, c) -= factor * at(r, c);
    }
  }
  x[rows - 1] = at(rows - 1, rows);
  for (std::size_t i = rows - 1; i-- > 0;) {
    double sum = at(i, rows);
    for (std::size_t j = i + 1; j < rows; ++j) sum -= at(i, j) * x[j];
    x[i] = sum;
  }
  return true;
}

namespace {

// Sums of w t^k (k = 0..2n) and of w v t^k (k = 0..n) in one pass. The
// sizes are template arguments for the degrees the fitters use, so the
// loops unroll and stay in registers.
// Two doubles side by side (the compiler's vector extension): each lane is
// computed exactly as a scalar would be.
typedef double Pair __attribute__((vector_size(16)));

Pair LoadPair(const double* p) {
  Pair out;
  std::memcpy(&out, p, sizeof out);
  return out;
}

template <std::size_t kPowers, std::size_t kUnknowns>
void AccumulateFixed(double s, std::span<const double> u, std::span<const double> v,
                     std::span<const double> w, std::vector<double>& powerSums,
                     std::vector<double>& rhsSums) {
  // Four interleaved points, each lane with its own partial sums, keep the
  // multiplication chains of neighbouring points independent.
  Pair sumsA[kPowers] = {}, sumsB[kPowers] = {};
  Pair rhsA[kUnknowns] = {}, rhsB[kUnknowns] = {};
  const Pair scale = {s, s};
  const std::size_t count = u.size();
  const std::size_t whole = count - count % 4;
  for (std::size_t i = 0; i < whole; i += 4) {
    const Pair tA = LoadPair(&u[i]) / scale;
    const Pair tB = LoadPair(&u[i + 2]) / scale;
    const Pair vA = LoadPair(&v[i]);
    const Pair vB = LoadPair(&v[i + 2]);
    Pair weightedA = LoadPair(&w[i]);  // w t^k, by repeated multiplication
    Pair weightedB = LoadPair(&w[i + 2]);
    for (std::size_t k = 0; k < kPowers; ++k) {
      sumsA[k] += weightedA;
      sumsB[k] += weightedB;
      if (k < kUnknowns) {
        rhsA[k] += vA * weightedA;
        rhsB[k] += vB * weightedB;
      }
      weightedA *= tA;
      weightedB *= tB;
    }
  }
  powerSums.assign(kPowers, 0.0);
  rhsSums.assign(kUnknowns, 0.0);
  for (std::size_t k = 0; k < kPowers; ++k)
    powerSums[k] = sumsA[k][0] + sumsA[k][1] + sumsB[k][0] + sumsB[k][1];
  for (std::size_t k = 0; k < kUnknowns; ++k)
    rhsSums[k] = rhsA[k][0] + rhsA[k][1] + rhsB[k][0] + rhsB[k][1];
  for (std::size_t i = whole; i < count; ++i) {
    const double t = u[i] / s;
    const double vi = v[i];
    double weighted = w[i];
    for (std::size_t k = 0; k < kPowers; ++k) {
      powerSums[k] += weighted;
      if (k < kUnknowns) rhsSums[k] += vi * weighted;
      weighted *= t;
    }
  }
}

void AccumulateAny(double s, std::span<const double> u, std::span<const double> v,
                   std::span<const double> w, std::size_t unknowns,
                   std::vector<double>& powerSums, std::vector<double>& rhsSums) {
  powerSums.assign(2 * unknowns - 1, 0.0);
  rhsSums.assign(unknowns, 0.0);
  for (std::size_t i = 0; i < u.size(); ++i) {
    const double t = u[i] / s;
    const double vi = v[i];
    double weighted = w[i];
    for (std::size_t k = 0; k < powerSums.size(); ++k) {
      powerSums[k] += weighted;
      if (k < unknowns) rhsSums[k] += vi * weighted;
      weighted *= t;
    }
  }
}

}  // namespace

bool FitPolynomial(double s, std::span<const double> u, std::span<const double> v,
                   std::span<const double> w, int n, std::vector<double>& coef) {
  coef.clear();
  if (n < 0 || u.size() != v.size() || u.size() != w.size()) return false;
  const std::size_t unknowns = static_cast<std::size_t>(n) + 1;
  // The matrix entry (r, c) is the sum of w t^(r + c): 2n + 1 power sums
  // and n + 1 right-hand sums, all from one pass over the points.
  std::vector<double> powerSums;
  std::vector<double> rhsSums;
  switch (n) {
    case 0: AccumulateFixed<1, 1>(s, u, v, w, powerSums, rhsSums); break;
    case 1: AccumulateFixed<3, 2>(s, u, v, w, powerSums, rhsSums); break;
    case 2: AccumulateFixed<5, 3>(s, u, v, w, powerSums, rhsSums); break;
    case 3: AccumulateFixed<7, 4>(s, u, v, w, powerSums, rhsSums); break;
    case 4: AccumulateFixed<9, 5>(s, u, v, w, powerSums, rhsSums); break;
    case 5: AccumulateFixed<11, 6>(s, u, v, w, powerSums, rhsSums); break;
    default: AccumulateAny(s, u, v, w, unknowns, powerSums, rhsSums); break;
  }
  std::vector<double> matrix(unknowns * (unknowns + 1));
  for (std::size_t r = 0; r < unknowns; ++r) {
    for (std::size_t c = 0; c < unknowns; ++c) matrix[r * (unknowns + 1) + c] = powerSums[r + c];
    matrix[r * (unknowns + 1) + unknowns] = rhsSums[r];
  }
  std::vector<double> x;
  SolveLinear(n, matrix, x);
  coef.resize(unknowns);
  double scale = 1.0;
  for (std::size_t k = 0; k < unknowns; ++k) {
    coef[k] = x[k] / scale;
    scale *= s;
  }
  return true;
}

LineFit RegressLine(const LineSums& sums) {
  const double s3 = sums.s1;
  const double det = sums.s4 * sums.s0 - s3 * sums.s1;
  if (det != 0.0)
    return {(sums.s4 * sums.s2 - sums.s1 * sums.s5) / det, (sums.s0 * sums.s5 - s3 * sums.s2) / det};
  return {sums.s0 != 0.0 ? sums.s2 / sums.s0 : 0.0, 0.0};
}

}  // namespace tracemont
