// The numbers of one row of the correlation table: count, centre, the X-Y
// correlation and the interfacing coefficient on a grid over the points.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/dot_value.h"

namespace tracemont {

class CApprox;

// Cramer-style association of X and Y on an R x C grid over the points'
// bounding box (R and C below 2 become 2): the square root of
// (sum count^2 / (row total * column total) - 1) / (k - 1), k the number of
// non-empty columns (no subtraction and division when k <= 1). `stats` must
// hold ComputeStats of the same points. 0 for no points or a box without
// width or height.
double InterfacingCoefficient(const CApprox& stats, const std::vector<DotValue>& points, int rows,
                              int cols);

struct CorrelationRow {
  int count = 0;
  double xCentre = 0.0;  // mean of X
  double yCentre = 0.0;  // mean of Y
  double correlation = 0.0;
  double interfacing = 0.0;

  // "%d" of the count, then "%4.4g" of the four values.
  std::array<std::string, 5> Texts() const;
};

// The row of a set of points with an N x N interfacing grid (N = grid
// intervals); all zero for no points.
CorrelationRow ComputeCorrelationRow(const std::vector<DotValue>& points, int gridIntervals);

}  // namespace tracemont
