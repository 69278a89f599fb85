// Logistic function (methods 50 and 51), fitted as a straight line through
// linearised points:
//
//   50  v = vmin + (vmax - vmin) / (exp(a0 + a1 u) + 1)
//   51  v = vmin + exp(a0 + a1 exp(-u))
//
// Block (n = 9): [0] points used, [1] umin, [2] umax, [3] vmin, [4] vmax,
// [5] form (0 for 50, 1 for 51), [6] a0, [7] a1, [8] 0, [9] 0.
#pragma once

#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"

namespace tracemont {

// Points at the ends of the value range are left out (their logarithm is
// infinite); weights are not applied. The constant fit for fewer than 3
// points or an empty value range. Returns 1.
int FitLogistic(int id, FitTarget& target, const FitRange& range, const FitData& data);

// Value at u by the stored form; 0 for an unknown form or a short block.
double EvalLogistic(const FuncParams& p, double u);

// Mode 1: the formula as evaluated ("Logistic V = %f + %f/(1 + exp(%f+%f*U))"
// or "Logistic ln(V-%f) = %f - %f*exp(-U)", U and V replaced by the axis
// names) and the deviation; mode 0: ("i", c_i) for i = 0..n - 1.
int DescribeLogistic(const FuncParams& p, std::vector<std::string>& rows, int mode);

}  // namespace tracemont
