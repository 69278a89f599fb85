// The regression line in five forms (methods 0, 2, 4, 6, 8): a polynomial
// of degree n in a transformed argument U for a transformed value V.
//
//   0 polynomial   U = u      V = v
//   2 hyperbolic   U = 1/u    V = v
//   4 logarithmic  U = ln u   V = v
//   6 power        U = ln u   V = ln v
//   8 exponential  U = u      V = ln v
//
// Block: a_0 .. a_n, n the degree actually fitted (1..5).
#pragma once

#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"

namespace tracemont {

class CApprox;

bool IsRegressionFamily(int id);

// Drops the points a form cannot use, judged against 0.2 of the argument and
// value ranges (hyperbolic: |u| near 0; logarithmic: small u; power: small u
// or v; exponential: small v). The polynomial keeps every point.
void FilterRegressionPoints(int id, const FitRange& range, FitData& data);

// Fits the form `id` to the filtered points with the working n of the
// target (lowered to N - 1 and to the coefficient limit - 1). Stores the
// block, or the constant fit when the points or the degree leave nothing to
// fit. Returns 1.
int FitRegression(int id, FitTarget& target, const FitRange& range, const FitData& data);

// Value at u; arguments near 0 are first moved 0.02 of the stored argument
// range away from it (hyperbolic, logarithmic, power).
double EvalRegression(const FuncParams& p, double u);

// EvalRegression with the vector read once, for many arguments. Holds a
// pointer into `p`: the vector must outlive it and keep its size.
class RegressionEvaluator {
 public:
  explicit RegressionEvaluator(const FuncParams& p);
  double operator()(double u) const;

 private:
  int id_;
  int n_;
  double du_;
  const double* coefficients_;
};

// Mode 1: "Y = a0 + a1*X - a2*X^2 ..." (names transformed by the form,
// zero coefficients left out) and the deviation; mode 0: ("k", a_k) pairs.
int DescribeRegression(const FuncParams& p, std::vector<std::string>& rows, int mode);

// "Best": fits forms 0, 2, 4, 6, 8 in turn with the direction and degree in
// params[1], params[2], keeps the first form and replaces it only by a form
// of strictly smaller deviation (a NaN deviation never wins, and any finite
// one beats it), then fits the chosen form once more into `params`.
// Returns the result of that last fit.
int FitBestRegression(CApprox& approx, const std::vector<DotValue>& points, FuncParams& params,
                      const std::vector<DotValue>& range);

}  // namespace tracemont
