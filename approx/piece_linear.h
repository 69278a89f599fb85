// Piece linear, "Lines with step" (method 20): a staircase of n equal steps
// over the argument range, each step at the weighted mean of its points.
//
// Block: step levels c_0 .. c_{n-1}, then c_n = 0.
#pragma once

#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

// n steps (at most N - 1) over cells widened by half a point spacing on
// each side; empty cells are interpolated from their nearest filled
// neighbours by index distance. The constant fit when there are no points,
// an empty argument range or no step. Returns 1.
int FitPieceLinear(FitTarget& target, const FitRange& range, const FitData& data);

// The level of the step holding u: c_0 at or below umin, c_{n-1} at or
// above umax. 0 for a block without a step.
double EvalPieceLinear(const FuncParams& p, double u);

// Mode 1: "Lines with step %4.4g" and the deviation; mode 0: (step start,
// level) pairs for k = 0..n.
int DescribePieceLinear(const FuncParams& p, std::vector<std::string>& rows, int mode);

// The staircase between ua and ub: each step a horizontal run of q + 1
// points (q = 1, or S / n + 1 with subdivision); with the centre option a
// line through the step centres instead. Points are (u, v) pairs mapped to
// (X, Y) by the direction. Returns the number of points.
int SamplePieceLinear(const FuncParams& p, double ua, double ub, std::vector<DotValue>& curve,
                      int samples, int subdivide, int centre);

}  // namespace tracemont
