// What every fitting method shares: the prepared points, the ranges, the
// vector being written with its two ways of ending (a method block or the
// constant fit), the root-mean-square deviation, and the linear
// least-squares machinery.
//
// Arithmetic is plain IEEE double: a singular system is not detected and its
// infinities or NaNs flow into the stored coefficients, as the stored-vector
// consumers (drawing, texts) expect and tolerate.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

// Prepared points of one fit: argument u, value v and weight w, equal length.
struct FitData {
  std::vector<double> u;
  std::vector<double> v;
  std::vector<double> w;

  std::size_t Size() const { return u.size(); }
  // Keeps only the points for which keep(i) is true, in their order.
  template <typename Keep>
  void Filter(Keep keep) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < u.size(); ++i) {
      if (!keep(i)) continue;
      u[out] = u[i];
      v[out] = v[i];
      w[out] = w[i];
      ++out;
    }
    u.resize(out);
    v.resize(out);
    w.resize(out);
  }
};

// Argument and value ranges handed to the fitters (ordered: min <= max
// unless a value is NaN).
struct FitRange {
  double umin = 0.0;
  double umax = 0.0;
  double vmin = 0.0;
  double vmax = 0.0;
};

// The vector one fit writes, with the working n and what the constant fit
// needs. The header (10 entries) is already in `params` when a fitter runs.
class FitTarget {
 public:
  // valueMean and valueDeviation: mean and population deviation of the
  // value coordinate of all points (for the constant fit).
  FitTarget(FuncParams& params, int n, int coefficientLimit, double valueMean,
            double valueDeviation)
      : params_(params), n_(n), coefficientLimit_(coefficientLimit), valueMean_(valueMean),
        valueDeviation_(valueDeviation) {}

  // The working n: the size requested, lowered by the fitters to what was fitted.
  int N() const { return n_; }
  void SetN(int n) { n_ = n; }
  int CoefficientLimit() const { return coefficientLimit_; }
  FuncParams& Params() { return params_; }

  // The constant fit: the function becomes the degree-0 regression
  // polynomial at the mean of the values; [7] and the appended entry take
  // their deviation. Returns 1.
  int StoreConstant();
  // Sets n to block.size() - 1, writes it to [2] and appends the block.
  // An empty block is refused with the constant fit. Returns 1.
  int StoreBlock(std::span<const double> block);

 private:
  FuncParams& params_;
  int n_;
  int coefficientLimit_;
  double valueMean_;
  double valueDeviation_;
};

// Fills prepared points one record at a time, so that a pass reading the
// records for another purpose can prepare them on the way. Finish() must
// follow the last Add().
class FitDataCollector {
 public:
  // `out` is resized for `capacity` records (its storage reused).
  FitDataCollector(const std::vector<DotValue>& range, bool filterByRange, int direction,
                   std::size_t capacity, FitData& out);
  void Add(const DotValue& p) {
    if (filter_ && !(low_.x <= p.x && p.x <= high_.x && low_.y <= p.y && p.y <= high_.y))
      return;
    out_.u[kept_] = reversed_ ? p.y : p.x;
    out_.v[kept_] = reversed_ ? p.x : p.y;
    ++kept_;
  }
  void Finish();

 private:
  FitData& out_;
  bool filter_;
  bool reversed_;
  DotValue low_;
  DotValue high_;
  std::size_t kept_ = 0;
};

// Builds u, v, w from the points. With `filterByRange`, only points with
// min X <= X <= max X and min Y <= Y <= max Y of range records 0 and 2 are
// kept (a range of fewer than 3 records keeps every point). Direction 1
// exchanges u and v afterwards. Weights are 1.
FitData PrepareFitData(const std::vector<DotValue>& points, const std::vector<DotValue>& range,
                       bool filterByRange, int direction);
// The same into `out`, reusing its storage.
void PrepareFitData(const std::vector<DotValue>& points, const std::vector<DotValue>& range,
                    bool filterByRange, int direction, FitData& out);

// sqrt(sum w (EvalFunction(u) - v)^2 / N) over the prepared points; 0 for
// none. Widens the stored value range ([4 - d], [6 - d], ordered first) by
// the values seen. A direction other than 1 is read as 0, so a bad
// direction cannot write into other header entries.
double RmsDeviation(const FitData& data, FuncParams& params);

// Gaussian elimination without pivoting on the augmented (m + 1) x (m + 2)
// row-major matrix `matrix` (destroyed); writes the m + 1 unknowns to x.
// A zero pivot yields infinities or NaNs; a matrix or x of the wrong size,
// or m < 0, leaves x untouched and returns false.
bool SolveLinear(int m, std::vector<double>& matrix, std::vector<double>& x);

// Weighted least-squares polynomial of degree n through the normal
// equations in t = u / s; coef receives n + 1 coefficients of u^k. n < 0
// or arrays of different length give false and leave coef empty.
bool FitPolynomial(double s, std::span<const double> u, std::span<const double> v,
                   std::span<const double> w, int n, std::vector<double>& coef);

// Sums of a line fit z = a0 + a1 t over S0 points.
struct LineSums {
  double s0 = 0.0;  // count
  double s1 = 0.0;  // sum t
  double s2 = 0.0;  // sum z
  double s4 = 0.0;  // sum t^2
  double s5 = 0.0;  // sum z t

  void Add(double t, double z) {
    s0 += 1.0;
    s1 += t;
    s2 += z;
    s4 += t * t;
    s5 += z * t;
  }
};

struct LineFit {
  double a0 = 0.0;
  double a1 = 0.0;
};

// The least-squares line from its sums; a zero determinant gives slope 0
// and a0 = mean z (0 for no points).
LineFit RegressLine(const LineSums& sums);

}  // namespace tracemont
