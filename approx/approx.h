// CApprox: the approximation calculator. Every value-carrying plot object
// holds one for the statistics of its own values; the approximation wizard
// holds one that also carries the settings and the result of a fit.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "approx/fit_core.h"
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

  // Fits the points with the method, direction and n the caller put in
  // params[0..2] (missing entries keep the previous working values) and
  // rewrites the whole vector: header, method block, deviation. `range` is
  // the range rectangle as corner records (0: min X, min Y; 2: max X,
  // max Y); the regression forms use only the points inside it, and a range
  // of fewer than 3 records keeps every point. Returns 1, or 0 when the
  // method's own checks fail (an ellipse of points without spread, a
  // direction other than 0 or 1). A method that cannot fit stores the
  // constant fit (method id 0, degree 0) instead. The result copy receives
  // the vector (not for the ellipse).
  int FitFunction(const std::vector<DotValue>& points, FuncParams& params,
                  const std::vector<DotValue>& range);
  // Replaces `params` by the copy of the last fit; returns its size.
  int CopyResult(FuncParams& params) const;

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

 private:
  // ComputeStats, passing every record to `collector` (when given) during
  // the second pass.
  double ComputeStats(const std::vector<DotValue>& points, FitDataCollector* collector);
  // The fitter of the working method on the prepared points.
  int FitMethod(FitTarget& target, const FitRange& range, const FitData& data) const;

  // The prepared points of the last fit, kept only for their capacity: the
  // next fit (the "Best" choice runs six in a row) refills them without
  // fresh allocations. Copies start empty.
  struct WorkArrays {
    FitData data;
    WorkArrays() = default;
    WorkArrays(const WorkArrays&) {}
    WorkArrays& operator=(const WorkArrays&) { return *this; }
  };
  WorkArrays work_;
};

}  // namespace tracemont
