#include "approx/func_params.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "approx/closed_spline.h"
#include "approx/ellipse.h"
#include "approx/fourier.h"
#include "approx/logistic.h"
#include "approx/neural.h"
#include "approx/nonlinear.h"
#include "approx/piece_linear.h"
#include "approx/plugin_method.h"
#include "approx/regression.h"
#include "approx/sections.h"
#include "formula/formula_function.h"
#include "model/geometry.h"
#include "model/text.h"

namespace tracemont {

int StoredInt(double v) { return TruncToInt(v); }

bool IsValidParams(const FuncParams& p) {
  if (p.size() < kFuncHeaderSize) return false;
  const long long n = StoredInt(p[2]);
  return static_cast<long long>(p.size()) >= n + 11;
}

int MethodOf(const FuncParams& p) { return p.empty() ? 0 : StoredInt(p[0]); }
int DirectionOf(const FuncParams& p) { return p.size() < 2 ? 0 : StoredInt(p[1]); }

int PackText(const std::string& text, FuncParams& out) {
  out.push_back(static_cast<double>(text.size()));
  for (const char ch : text) out.push_back(static_cast<double>(static_cast<signed char>(ch)));
  return static_cast<int>(text.size()) + 1;
}

std::string UnpackText(const FuncParams& p, std::size_t at, int* length) {
  std::string text;
  const int stored = at < p.size() ? StoredInt(p[at]) : -1;
  if (length) *length = stored;
  if (stored < 0) return text;
  for (std::size_t i = 0; i < static_cast<std::size_t>(stored) && at + 1 + i < p.size(); ++i)
    text.push_back(static_cast<char>(StoredInt(p[at + 1 + i]) & 0xFF));
  return text;
}

double EvalFunction(const FuncParams& p, double u) {
  if (!IsValidParams(p)) return 0.0;
  switch (MethodOf(p)) {
    case method::kPolynomial:
    case method::kHyperbolic:
    case method::kLogarithmic:
    case method::kPower:
    case method::kExponential:
      return EvalRegression(p, u);
    case method::kPieceLinear:
      return EvalPieceLinear(p, u);
    case method::kLogistic1:
    case method::kLogistic2:
      return EvalLogistic(p, u);
    case method::kFourier:
      return EvalFourier(p, u);
    case method::kNeural1:
    case method::kNeural2:
      return EvalNeural(p, u);
    case method::kNonLinear:
      return EvalNonLinear(p, u);
    case method::kPlugin:
      return EvalPlugin(p, u);
    default:
      return 0.0;
  }
}

bool IsPointwise(const FuncParams& p) {
  if (!IsValidParams(p)) return false;
  switch (MethodOf(p)) {
    case 0: case 2: case 4: case 6: case 8: case 20: case 50: case 51: case 60: case 70:
    case 71: case 90: case 80:
      return true;
    default:
      return false;
  }
}

int AppendCoefficientRows(std::vector<std::string>& rows, int firstLabel, const double* values,
                          std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    rows.push_back(StrFormat("%d", firstLabel + static_cast<int>(i)));
    rows.push_back(FormatG(values[i]));
  }
  return static_cast<int>(rows.size());
}

int DescribeFunction(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  rows.clear();
  if (!IsValidParams(p)) return 0;
  const int id = MethodOf(p);
  if (IsRegressionFamily(id)) return DescribeRegression(p, rows, mode);
  if (id == method::kFormula) return DescribeFormulaFunction(p, rows, mode);
  switch (id) {
    case method::kPieceLinear: return DescribePieceLinear(p, rows, mode);
    case method::kClosedSpline: return DescribeClosedSpline(p, rows, mode);
    case method::kSections: return DescribeSections(p, rows, mode);
    case method::kLogistic1:
    case method::kLogistic2: return DescribeLogistic(p, rows, mode);
    case method::kFourier: return DescribeFourier(p, rows, mode);
    case method::kNeural1:
    case method::kNeural2: return DescribeNeural(p, rows, mode);
    case method::kPlugin: return DescribePlugin(p, rows, mode);
    case method::kNonLinear: return DescribeNonLinear(p, rows, mode);
    case method::kEllipse: return DescribeEllipse(p, rows, mode);
    default: return 0;
  }
}

int SampleCurve(const FuncParams& p, const DotValue& a, const DotValue& c,
                std::vector<DotValue>& curve, int samples, bool straight, int subdivide,
                int centre) {
  curve.clear();
  if (!IsValidParams(p)) return 0;
  const int id = MethodOf(p);
  // A formula curve is parametric: its own sampling, whatever the corners.
  if (id == method::kFormula) return SampleFormulaCurve(p, curve, samples);
  if (id == method::kEllipse) return SampleEllipse(p, curve, samples);
  if (id == method::kNonLinear) return SampleNonLinear(p, curve, samples);
  if (id == method::kClosedSpline) return SampleClosedSpline(p, curve);
  if (id == method::kSections) return SampleSections(p, curve, samples);
  const int d = DirectionOf(p) == 1 ? 1 : 0;
  const double ua = d == 0 ? a.x : a.y;
  const double ub = d == 0 ? c.x : c.y;
  if (id == method::kPieceLinear)
    return SamplePieceLinear(p, ua, ub, curve, samples, subdivide, centre);

  int count = samples;
  if (id == method::kPolynomial && StoredInt(p[2]) < 2 && straight && subdivide <= 0) count = 2;
  if (count <= 0) return 0;
  curve.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const double u = count == 1 ? ua : ua + (ub - ua) * k / (count - 1);
    const double v = EvalFunction(p, u);
    curve.push_back(d == 0 ? DotValue(u, v, 0.0) : DotValue(v, u, 0.0));
  }
  return static_cast<int>(curve.size());
}

std::vector<std::pair<std::size_t, std::size_t>> CurvePieces(const FuncParams& p,
                                                             std::size_t points) {
  if (points == 0) return {};
  // Sections are separate segments, each drawn on its own.
  if (IsValidParams(p) && MethodOf(p) == method::kSections) return SectionPieces(p, points);
  // Formula families are one polyline per member; CurvePolylines gives
  // [first, last) ranges.
  std::vector<std::pair<std::size_t, std::size_t>> pieces;
  for (const auto& [first, last] : CurvePolylines(p, points)) pieces.emplace_back(first, last - first);
  return pieces;
}

bool DeleteSection(FuncParams& p, int i) {
  if (!IsValidParams(p) || MethodOf(p) != method::kSections) return false;
  const int sections = StoredInt(p[2]) / 4;
  if (sections < 2 || i < 0 || i >= sections) return false;
  const auto first = p.begin() + static_cast<std::ptrdiff_t>(kFuncHeaderSize + 4 * static_cast<std::size_t>(i));
  p.erase(first, first + 4);
  p[2] -= 4;
  return true;
}

}  // namespace tracemont
