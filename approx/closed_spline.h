// Closed spline (method 30): a smooth closed curve round a point cloud,
// through the centroids of the outer cells of an s x s grid of equal-count
// cells (rows by value, cells of a row by argument).
//
// Block (n = 2m): node j at c_{2j} = u, c_{2j+1} = v in ring order
// (top row left to right, right column down, bottom row right to left,
// left column up), then 0.
#pragma once

#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

// The grid side is trunc(sqrt(n)), or trunc(N / 4) + 1 (at most 10) when
// there are fewer points than n; a grid that cannot be filled (fewer than 2
// rows, a row with fewer points than cells) gives the constant fit.
// Returns 1.
int FitClosedSpline(FitTarget& target, const FitData& data);

// Mode 1: "Closed spline curve on %d points" (or "Spline error: it is not
// enough points" without nodes) and "-"; mode 0: (u, v) of every node.
int DescribeClosedSpline(const FuncParams& p, std::vector<std::string>& rows, int mode);

// For m > 3 nodes: each node followed by two control points on the
// tangents to its neighbour, then the first node again (3m + 1 points);
// no points otherwise. Returns the number of points.
int SampleClosedSpline(const FuncParams& p, std::vector<DotValue>& curve);

}  // namespace tracemont
