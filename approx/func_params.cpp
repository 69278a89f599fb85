#include "approx/func_params.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "formula/formula_function.h"
#include "model/text.h"

namespace tracemont {

int StoredInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  return static_cast<int>(std::clamp(std::trunc(v), kMin, kMax));
}

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

namespace {

bool IsRegressionFamily(int id) {
  return id == method::kPolynomial || id == method::kHyperbolic || id == method::kLogarithmic ||
         id == method::kPower || id == method::kExponential;
}

// The regression family: a polynomial in a transformed argument, with the
// inverse transform of the value applied to the sum.
double EvalRegression(const FuncParams& p, double u) {
  const int id = MethodOf(p);
  const int d = DirectionOf(p) != 0 ? 1 : 0;
  const double umin = p[3 + d];
  const double umax = p[5 + d];
  const double du = 0.02 * (umax - umin);
  if (id == method::kHyperbolic) {
    if (-du < u && u <= 0) u = -du;
    else if (0 <= u && u < du) u = du;
  } else if (id == method::kLogarithmic || id == method::kPower) {
    if (u < du) u = du;
  }
  double t = u;
  if (id == method::kHyperbolic) t = u == 0.0 ? 0.0 : 1.0 / u;
  if (id == method::kLogarithmic || id == method::kPower) t = u == 0.0 ? 0.0 : std::log(u);
  const int n = StoredInt(p[2]);
  double sum = 0.0;
  double power = 1.0;
  for (int k = 0; k <= n; ++k) {
    sum += p[kFuncHeaderSize + static_cast<std::size_t>(k)] * power;
    power *= t;
  }
  if (id == method::kPower || id == method::kExponential) return std::exp(sum);
  return sum;
}

int DescribeRegression(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int id = MethodOf(p);
  const int n = StoredInt(p[2]);
  if (mode == 0) {
    for (int k = 0; k <= n; ++k) {
      rows.push_back(StrFormat("%d", k));
      rows.push_back(FormatG(p[kFuncHeaderSize + static_cast<std::size_t>(k)]));
    }
    return static_cast<int>(rows.size());
  }
  const bool reversed = DirectionOf(p) == 1;
  std::string uName = reversed ? "Y" : "X";
  std::string vName = reversed ? "X" : "Y";
  if (id == method::kHyperbolic) uName = "1/" + uName;
  if (id == method::kLogarithmic || id == method::kPower) uName = "ln(" + uName + ")";
  if (id == method::kPower || id == method::kExponential) vName = "ln(" + vName + ")";
  std::string text = vName + " = ";
  for (int k = 0; k <= n; ++k) {
    const double a = p[kFuncHeaderSize + static_cast<std::size_t>(k)];
    if (a == 0.0) continue;
    if (a < 0)
      text += " - ";
    else if (k > 0)
      text += " + ";
    text += FormatG(std::fabs(a));
    if (k >= 1) text += "*" + uName;
    if (k >= 2) text += StrFormat("^%d", k);
  }
  rows.push_back(text);
  rows.push_back(FormatG(p[7]));
  return 2;
}

}  // namespace

double EvalFunction(const FuncParams& p, double u) {
  if (!IsValidParams(p)) return 0.0;
  const int id = MethodOf(p);
  if (IsRegressionFamily(id)) return EvalRegression(p, u);
  return 0.0;
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

int DescribeFunction(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  rows.clear();
  if (!IsValidParams(p)) return 0;
  const int id = MethodOf(p);
  if (IsRegressionFamily(id)) return DescribeRegression(p, rows, mode);
  if (id == method::kFormula) return DescribeFormulaFunction(p, rows, mode);
  return 0;
}

int SampleCurve(const FuncParams& p, const DotValue& a, const DotValue& c,
                std::vector<DotValue>& curve, int samples, bool straight, int subdivide,
                int /*centre*/) {
  curve.clear();
  if (!IsValidParams(p)) return 0;
  const int id = MethodOf(p);
  // A formula curve is parametric: its own sampling, whatever the corners.
  if (id == method::kFormula) return SampleFormulaCurve(p, curve, samples);
  const int d = DirectionOf(p) == 1 ? 1 : 0;
  const double ua = d == 0 ? a.x : a.y;
  const double ub = d == 0 ? c.x : c.y;

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
