// CApprox: the approximation calculator. Every value-carrying plot object
// holds one for the statistics of its own values; the approximation wizard
// holds one that also carries the settings and the result of a fit.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

// Statistic kinds of GetStat and StatRows.
namespace stat {
constexpr int kMin = 0;
constexpr int kMax = 1;
constexpr int kMiddle = 2;  // (min + max) / 2
constexpr int kMean = 3;
constexpr int kDeviation = 4;
constexpr int kArea = 5;  // 0, filled by the caller
constexpr int kCorrelation = 6;
constexpr int kParameter = 7;  // 0
}  // namespace stat

class CApprox {
 public:
  // coefficientLimit: maximum number of polynomial and Fourier coefficients,
  // capped at 6.
  explicit CApprox(int coefficientLimit = 6);
  virtual ~CApprox() = default;
  CApprox(const CApprox&) = default;
  CApprox& operator=(const CApprox&) = default;

  // Fills count, min, max, mean, population deviation and the X-Y correlation
  // from the records' X, Y, Z; returns the correlation (0 when either
  // deviation is 0). An empty set leaves zeros.
  double ComputeStats(const std::vector<DotValue>& points);
  // Statistic `kind` (0..6, others give 0) of axis 0..2 (clamped).
  double GetStat(int kind, int axis) const;
  // Empties `rows`; for kinds 0..7 adds the label (string `labelId`, or the
  // kind's default when 0) and the kind's value for X, Y and Z as "%4.4g".
  // Returns the number of rows (4, or 0 for other kinds).
  int StatRows(int kind, std::vector<std::string>& rows, int labelId = 0) const;

  // --- settings of a fit (used by the fitting methods) ---
  std::string pluginFile;
  std::vector<double> methodSettings;
  std::string formula;
  std::string argumentName = "u";
  std::array<double, 4> startValues{};
  int keepParameters = 0;
  int coefficientLimit = 6;

  // --- statistics of the last ComputeStats ---
  int count = 0;
  std::array<double, 3> min{};
  std::array<double, 3> max{};
  std::array<double, 3> mean{};
  std::array<double, 3> deviation{};
  double correlation = 0.0;

  // --- working copies of the fit ---
  int methodId = 0;
  int direction = 0;
  int n = 0;
  FuncParams result;
};

}  // namespace tracemont
