#include "approx/approx.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "approx/closed_spline.h"
#include "approx/ellipse.h"
#include "approx/fit_core.h"
#include "approx/fourier.h"
#include "approx/logistic.h"
#include "approx/neural.h"
#include "approx/nonlinear.h"
#include "approx/piece_linear.h"
#include "approx/plugin_method.h"
#include "approx/regression.h"
#include "approx/sections.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kDefaultLabels[] = {41547, 41550, 41551, 41554, 41552, 41553, 41555, 41560};

}  // namespace

CApprox::CApprox(int limit) : coefficientLimit(std::min(limit, 6)) {}

double CApprox::ComputeStats(const std::vector<DotValue>& points) {
  return ComputeStats(points, nullptr);
}

double CApprox::ComputeStats(const std::vector<DotValue>& points, FitDataCollector* collector) {
  count = static_cast<int>(points.size());
  min = {};
  max = {};
  mean = {};
  deviation = {};
  correlation = 0.0;
  if (points.empty()) return 0.0;
  // X, Y and Z are handled side by side; the first point sets min and max,
  // later points move them only when strictly beyond.
  double lo[3] = {points[0].x, points[0].y, points[0].z};
  double hi[3] = {lo[0], lo[1], lo[2]};
  double sum[3] = {0.0, 0.0, 0.0};
  for (const DotValue& p : points) {
    const double v[3] = {p.x, p.y, p.z};
    for (int k = 0; k < 3; ++k) {
      if (v[k] < lo[k]) lo[k] = v[k];
      if (v[k] > hi[k]) hi[k] = v[k];
      sum[k] += v[k];
    }
  }
  const double m[3] = {sum[0] / count, sum[1] / count, sum[2] / count};
  double squares[3] = {0.0, 0.0, 0.0};
  double cross = 0.0;
  for (const DotValue& p : points) {
    if (collector) collector->Add(p);
    const double dx = p.x - m[0];
    const double dy = p.y - m[1];
    const double dz = p.z - m[2];
    squares[0] += dx * dx;
    squares[1] += dy * dy;
    squares[2] += dz * dz;
    cross += dx * dy;
  }
  for (std::size_t k = 0; k < 3; ++k) {
    min[k] = lo[k];
    max[k] = hi[k];
    mean[k] = m[k];
    deviation[k] = std::sqrt(squares[k] / count);
  }
  correlation =
      deviation[0] * deviation[1] == 0.0 ? 0.0 : cross / count / deviation[0] / deviation[1];
  return correlation;
}

double CApprox::GetStat(int kind, int axis) const {
  const auto a = static_cast<std::size_t>(std::clamp(axis, 0, 2));
  switch (kind) {
    case stat::kMin: return min[a];
    case stat::kMax: return max[a];
    case stat::kMiddle: return (min[a] + max[a]) / 2.0;
    case stat::kMean: return mean[a];
    case stat::kDeviation: return deviation[a];
    case stat::kCorrelation: return correlation;
    default: return 0.0;
  }
}

int CApprox::StatRows(int kind, std::vector<std::string>& rows, int labelId) const {
  rows.clear();
  if (kind < 0 || kind > 7) return 0;
  rows.push_back(LoadStr(labelId != 0 ? labelId : kDefaultLabels[kind]));
  for (int axis = 0; axis < 3; ++axis) rows.push_back(FormatG(GetStat(kind, axis)));
  return static_cast<int>(rows.size());
}

int CApprox::FitFunction(const std::vector<DotValue>& points, FuncParams& params,
                         const std::vector<DotValue>& range) {
  if (params.size() > 0) methodId = StoredInt(params[0]);
  if (params.size() > 1) direction = StoredInt(params[1]);
  if (params.size() > 2) n = StoredInt(params[2]);
  // The points are prepared during the statistics' second pass over the
  // records, when the method will need them.
  const bool regression = IsRegressionFamily(methodId);
  FitData& data = work_.data;
  const bool prepare = methodId != method::kEllipse && n != 0;
  FitDataCollector collector(range, regression, direction, prepare ? points.size() : 0, data);
  ComputeStats(points, prepare ? &collector : nullptr);
  collector.Finish();

  params.assign(kFuncHeaderSize, 0.0);
  params[0] = methodId;
  params[1] = direction;
  params[3] = min[0];
  params[4] = min[1];
  params[5] = max[0];
  params[6] = max[1];
  if (methodId == method::kEllipse) return FitEllipse(*this, params) ? 1 : 0;

  const std::size_t valueAxis = direction == 1 ? 0 : 1;
  FitTarget target(params, n, coefficientLimit, mean[valueAxis], deviation[valueAxis]);
  if (n == 0) {
    const int stored = target.StoreConstant();
    result = params;
    return stored;
  }

  int fitted = 0;
  if (direction == 0 || direction == 1) {
    const std::size_t u = direction == 1 ? 1 : 0;
    FitRange fitRange{min[u], max[u], min[1 - u], max[1 - u]};
    if (fitRange.umax < fitRange.umin) std::swap(fitRange.umin, fitRange.umax);
    if (fitRange.vmax < fitRange.vmin) std::swap(fitRange.vmin, fitRange.vmax);
    if (regression) FilterRegressionPoints(methodId, fitRange, data);
    fitted = FitMethod(target, fitRange, data);
  }
  n = target.N();

  const double rms = RmsDeviation(data, params);
  params[7] = rms;
  params.push_back(rms);
  result = params;
  return fitted;
}

int CApprox::FitMethod(FitTarget& target, const FitRange& range, const FitData& data) const {
  switch (methodId) {
    case method::kPolynomial:
    case method::kHyperbolic:
    case method::kLogarithmic:
    case method::kPower:
    case method::kExponential:
      return FitRegression(methodId, target, range, data);
    case method::kPieceLinear:
      return FitPieceLinear(target, range, data);
    case method::kLogistic1:
    case method::kLogistic2:
      return FitLogistic(methodId, target, range, data);
    case method::kFourier:
      return FitFourier(target, range, data);
    case method::kClosedSpline:
      return FitClosedSpline(target, data);
    case method::kSections:
      return FitSections(target, range, data);
    case method::kNeural1:
    case method::kNeural2:
      return FitNeural(methodId, target, range, data, methodSettings);
    case method::kNonLinear: {
      const NonLinearSettings settings{formula, argumentName, startValues, keepParameters != 0,
                                       methodSettings};
      return FitNonLinear(target, range, data, settings);
    }
    case method::kPlugin:
      return FitPlugin(target, range, data, pluginFile, methodSettings);
    default:
      return 1;  // an unknown method fits nothing
  }
}

int CApprox::CopyResult(FuncParams& params) const {
  params = result;
  return static_cast<int>(params.size());
}

}  // namespace tracemont
