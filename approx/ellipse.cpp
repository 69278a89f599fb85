#include "approx/ellipse.h"

#include <algorithm>
#include <cmath>

#include "approx/approx.h"
#include "approx/fourier.h"
#include "model/text.h"
#include "render/surface.h"

namespace tracemont {
namespace {

constexpr std::size_t kBlockSize = 10;
// Some devices keep coordinates in 16 bits (as the curve's draw buffer).
constexpr int kPlotLimit = 32000;

Point Clamped(Point p) {
  return {std::clamp(p.x, -kPlotLimit, kPlotLimit), std::clamp(p.y, -kPlotLimit, kPlotLimit)};
}

bool IsEllipseVector(const FuncParams& p) {
  return IsValidParams(p) && MethodOf(p) == method::kEllipse && StoredInt(p[2]) >= 9;
}

}  // namespace

bool FitEllipse(const CApprox& stats, FuncParams& params) {
  if (params.size() < kFuncHeaderSize) return false;
  const double sx = stats.deviation[0];
  const double sy = stats.deviation[1];
  const double rho = stats.correlation;
  const double sx2 = sx * sx;
  const double sy2 = sy * sy;
  const double c = sx * sy * rho;
  const double det = sx2 * sy2 - c * c;
  const double d = sy2 - sx2;
  const double r = std::sqrt(d * d + 4 * c * c);
  const double l1 = (sx2 + sy2 + r) / 2;
  const double l2 = (sx2 + sy2 - r) / 2;
  // Collinear points leave a determinant of rounding noise, possibly
  // negative, rather than 0; it must fail like an exact 0.
  if (!(l1 != 0) || !(l2 > 0) || !(det > 1e-12 * sx2 * sy2)) return false;
  const double a = std::sqrt(4 * det / l2);
  const double b = std::sqrt(4 * det / l1);
  const double theta = 0.5 * std::atan2(2 * c, sx2 - sy2);
  params[2] = 9;
  params.insert(params.end(), {stats.mean[0], stats.mean[1], a, b, theta, rho, sx2, sy2, c,
                               -4 * det});
  return true;
}

int DescribeEllipse(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int n = StoredInt(p[2]);
  if (mode == 0) {
    for (int i = 0; i <= n; ++i) rows.push_back(FormatG(p[kFuncHeaderSize + static_cast<std::size_t>(i)]));
    return static_cast<int>(rows.size());
  }
  if (n < 9) {
    rows.push_back(LoadStr(41701));
    rows.push_back(FormatG(0.0));
    return 2;
  }
  const double q = -p[19];
  if (q == 0) {
    rows.push_back(LoadStr(41701));
  } else {
    const double s = 2 * p[18] / q;
    rows.push_back(StrFormat(LoadStr(41700).c_str(), p[17] / q, s > 0 ? "-" : "+", std::fabs(s),
                             p[16] / q));
  }
  rows.push_back(FormatG(p[15]));
  return 2;
}

int SampleEllipse(const FuncParams& p, std::vector<DotValue>& curve, int samples) {
  if (samples <= 0 || !IsEllipseVector(p)) return 0;
  const double cx = p[10];
  const double cy = p[11];
  const double a = p[12];
  const double b = p[13];
  const double cosT = std::cos(p[14]);
  const double sinT = std::sin(p[14]);
  curve.reserve(static_cast<std::size_t>(samples));
  for (int k = 0; k < samples; ++k) {
    const double phi = 2 * kFivePlacePi * k / samples;
    const double ca = a * std::cos(phi);
    const double sb = b * std::sin(phi);
    curve.emplace_back(cx + cosT * ca - sinT * sb, cy + sinT * ca + cosT * sb, 0.0);
  }
  return static_cast<int>(curve.size());
}

void DrawEllipseDecorations(Surface& surface, const FuncParams& params,
                            const std::function<Point(double x, double y)>& toPlot,
                            std::span<const DotValue> rangeCorners,
                            std::span<const Point> curve, const EllipseDecorations& options) {
  if (!IsEllipseVector(params)) return;
  SurfaceStateGuard guard(surface);
  if (options.centreLines != 0 && rangeCorners.size() >= 3 && toPlot) {
    const double cx = params[10];
    const double cy = params[11];
    const DotValue& low = rangeCorners[0];
    const DotValue& high = rangeCorners[2];
    surface.SetPen({PenStyle::Dash, 0, options.colour});
    surface.Line(Clamped(toPlot(cx, low.y)), Clamped(toPlot(cx, high.y)));
    surface.Line(Clamped(toPlot(low.x, cy)), Clamped(toPlot(high.x, cy)));
  }
  if (options.axes && !curve.empty()) {
    const std::size_t m = curve.size();
    surface.SetPen({PenStyle::Dot, 0, options.colour});
    surface.Line(curve[0], curve[m / 2]);
    surface.Line(curve[m / 4], curve[3 * m / 4]);
  }
}

}  // namespace tracemont
