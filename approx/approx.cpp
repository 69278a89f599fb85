#include "approx/approx.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kDefaultLabels[] = {41547, 41550, 41551, 41554, 41552, 41553, 41555, 41560};

}  // namespace

CApprox::CApprox(int limit) : coefficientLimit(std::min(limit, 6)) {}

double CApprox::ComputeStats(const std::vector<DotValue>& points) {
  count = static_cast<int>(points.size());
  min = {};
  max = {};
  mean = {};
  deviation = {};
  correlation = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (int k = 0; k < 3; ++k) {
      const double v = points[i].Coordinate(k);
      const auto ku = static_cast<std::size_t>(k);
      if (i == 0) {
        min[ku] = v;
        max[ku] = v;
      } else {
        if (v < min[ku]) min[ku] = v;
        if (v > max[ku]) max[ku] = v;
      }
      mean[ku] += v;
    }
  }
  if (count > 0) {
    for (double& m : mean) m /= count;
    std::array<double, 3> squares{};
    double cross = 0.0;
    for (const DotValue& p : points) {
      for (int k = 0; k < 3; ++k) {
        const double d = p.Coordinate(k) - mean[static_cast<std::size_t>(k)];
        squares[static_cast<std::size_t>(k)] += d * d;
      }
      cross += (p.x - mean[0]) * (p.y - mean[1]);
    }
    for (std::size_t k = 0; k < 3; ++k) deviation[k] = std::sqrt(squares[k] / count);
    correlation = deviation[0] * deviation[1] == 0.0 ? 0.0
                                                     : cross / count / deviation[0] / deviation[1];
  }
  for (std::size_t k = 0; k < 3; ++k)
    if (max[k] < min[k]) std::swap(min[k], max[k]);
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

}  // namespace tracemont
