// The confidence ellipse (method 99): an ellipse round the points at twice
// their standard deviation along its principal axes, its texts, its curve
// and the decorations drawn with it.
//
// Vector (20 values): the header with [2] = 9, then [10] mean X, [11] mean
// Y, [12] a (half major axis), [13] b (half minor axis), [14] angle of the
// major axis from X (radians), [15] correlation, [16] variance of X, [17]
// variance of Y, [18] covariance, [19] -4 det (det = varX varY - cov^2).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "approx/func_params.h"
#include "model/dot_value.h"
#include "model/geometry.h"

namespace tracemont {

class CApprox;
class Surface;

// Appends the ellipse block to a vector holding its 10-value header (as
// FitFunction leaves it) from the statistics of the points. Fails (false,
// vector unchanged) for points without a two-dimensional spread: det no
// more than 1e-12 varX varY (one point, collinear points) or a principal
// variance that is not positive.
bool FitEllipse(const CApprox& stats, FuncParams& params);

// Mode 1: "Ellipse: %4.4g *dX2 %s %4.4g*dX*dY + %4.4g *dY2 = 1" (or
// "Ellipse: point") and the correlation; mode 0: one "%4.4g" row per block
// value.
int DescribeEllipse(const FuncParams& p, std::vector<std::string>& rows, int mode);

// S points round the ellipse (the first not repeated); none for S <= 0.
int SampleEllipse(const FuncParams& p, std::vector<DotValue>& curve, int samples);

// What the ellipse decorations need from the function object.
struct EllipseDecorations {
  bool axes = false;         // the object's corridor flag
  int centreLines = 0;       // the object's sampler option
  Colour colour = 0;
};

// Draws, after the ellipse's curve: with centre lines, a dashed cross
// through the centre spanning range corners 0 and 2 (the points' bounding
// box); with axes, dotted lines joining the curve points 0 and m/2, m/4
// and 3m/4 (m = curve.size()). `toPlot` maps values to plot units; `curve`
// is the sampled curve in plot units. Nothing for a vector that is not a
// valid method-99 vector. Leaves the surface's pen as it was.
void DrawEllipseDecorations(Surface& surface, const FuncParams& params,
                            const std::function<Point(double x, double y)>& toPlot,
                            std::span<const DotValue> rangeCorners,
                            std::span<const Point> curve, const EllipseDecorations& options);

}  // namespace tracemont
