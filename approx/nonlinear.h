// Non-linear formula (method 90): a formula in u with the free parameters
// a, b, c, d, fitted by CMinimizer through the formula evaluator.
//
// Block: the argument name and the formula as packed texts, then an
// 18-value record: [0] N, [1] umin, [2] umax, [3] 0, [4] step, [5] maximum
// iterations, [6] iterations used, [7..9] 0, [10] 4 parameters, [11..14]
// a, b, c, d, [15] RMS deviation, [16] 0, [17] 0.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "approx/minimizer.h"
#include "model/dot_value.h"

namespace tracemont {

class CFormulaCalc;

class CFormulaFit : public CMinimizer {
 public:
  // `calc` must outlive the fit object.
  explicit CFormulaFit(CFormulaCalc& calc) : calc_(calc) {}

  // Sum over the points of (v - f(u))^2 with (a, b, c, d) = params; a point
  // whose evaluation fails counts with f = 0.
  double Objective(std::span<const double> params) override;

  int useMinimizer = 1;
  std::string formula = "a+b*u";
  std::string argumentName = "u";
  std::array<double, 4> params{};

 private:
  CFormulaCalc& calc_;
  std::string working_;  // the evaluator cleans its text in place
};

// What the fit reads besides the points.
struct NonLinearSettings {
  std::string formula;
  std::string argumentName = "u";
  std::array<double, 4> start{};
  bool keepParameters = false;          // no iteration: store the start values
  std::vector<double> methodSettings;   // (0, step, iterations)
};

// Fits the formula's a..d from the start values (or keeps them), then
// stores the block. The constant fit for no points, an empty argument range
// or a minimisation that reached its limit. Uses the process-wide evaluator
// unless one is given. Returns 1.
int FitNonLinear(FitTarget& target, const FitRange& range, const FitData& data,
                 const NonLinearSettings& settings);
int FitNonLinear(FitTarget& target, const FitRange& range, const FitData& data,
                 const NonLinearSettings& settings, CFormulaCalc& calc);

// The stored formula at u with the stored a..d; 0 when the evaluation fails
// or the block is malformed.
double EvalNonLinear(const FuncParams& p, double u);

// Mode 1: eight rows: "y=<formula>; a=%f, b=%f..." (zero parameters left
// out, each of b, c, d preceded by ", "), the deviation, the argument name,
// the formula, then a..d as "%6.2f". Mode 0: labels 4..20 with the 17
// record values from its start.
int DescribeNonLinear(const FuncParams& p, std::vector<std::string>& rows, int mode);

// S + 1 points evenly over the stored argument range of the record.
int SampleNonLinear(const FuncParams& p, std::vector<DotValue>& curve, int samples);

}  // namespace tracemont
