#include "approx/regression.h"

#include <algorithm>
#include <cmath>

#include "approx/approx.h"
#include "model/text.h"

namespace tracemont {
namespace {

bool LogArgument(int id) { return id == method::kLogarithmic || id == method::kPower; }
bool LogValue(int id) { return id == method::kPower || id == method::kExponential; }

double TransformArgument(int id, double u) {
  if (id == method::kHyperbolic) return u == 0.0 ? 0.0 : 1.0 / u;
  if (LogArgument(id)) return u == 0.0 ? 0.0 : std::log(u);
  return u;
}

double TransformValue(int id, double v) {
  if (LogValue(id)) return v == 0.0 ? 0.0 : std::log(v);
  return v;
}

}  // namespace

bool IsRegressionFamily(int id) {
  return id == method::kPolynomial || id == method::kHyperbolic || id == method::kLogarithmic ||
         id == method::kPower || id == method::kExponential;
}

void FilterRegressionPoints(int id, const FitRange& range, FitData& data) {
  const double du = 0.2 * (range.umax - range.umin);
  const double dv = 0.2 * (range.vmax - range.vmin);
  switch (id) {
    case method::kHyperbolic:
      data.Filter([&](std::size_t i) {
        const double u = data.u[i];
        return !((-du < u && u <= 0) || (0 <= u && u < du));
      });
      break;
    case method::kLogarithmic:
      data.Filter([&](std::size_t i) { return !(data.u[i] < du); });
      break;
    case method::kPower:
      data.Filter([&](std::size_t i) { return !(data.u[i] < du || data.v[i] < dv); });
      break;
    case method::kExponential:
      data.Filter([&](std::size_t i) { return !(data.v[i] < dv); });
      break;
    default:
      break;
  }
}

int FitRegression(int id, FitTarget& target, const FitRange& range, const FitData& data) {
  const std::size_t count = data.Size();
  const double s = std::fabs(range.umax - range.umin);
  if (!(s > 0) || count == 0) return target.StoreConstant();
  int n = target.N();
  if (static_cast<long long>(n) > static_cast<long long>(count) - 1)
    n = static_cast<int>(count) - 1;
  if (n > target.CoefficientLimit() - 1) n = target.CoefficientLimit() - 1;
  target.SetN(n);
  if (n <= 0) return target.StoreConstant();

  std::vector<double> coef;
  if (id == method::kPolynomial) {
    FitPolynomial(s, data.u, data.v, data.w, n, coef);
  } else {
    std::vector<double> u(count);
    std::vector<double> v(count);
    double lo = 0.0;
    double hi = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
      u[i] = TransformArgument(id, data.u[i]);
      v[i] = TransformValue(id, data.v[i]);
      if (i == 0 || u[i] < lo) lo = u[i];
      if (i == 0 || u[i] > hi) hi = u[i];
    }
    const double width = hi - lo;
    if (!(width > 0)) return target.StoreConstant();
    FitPolynomial(width, u, v, data.w, n, coef);
  }
  return target.StoreBlock(coef);
}

RegressionEvaluator::RegressionEvaluator(const FuncParams& p)
    : id_(MethodOf(p)), n_(StoredInt(p[2])), coefficients_(p.data() + kFuncHeaderSize) {
  const std::size_t d = DirectionOf(p) == 1 ? 1 : 0;
  du_ = 0.02 * (p[5 + d] - p[3 + d]);
}

double RegressionEvaluator::operator()(double u) const {
  if (id_ == method::kHyperbolic) {
    if (-du_ < u && u <= 0)
      u = -du_;
    else if (0 <= u && u < du_)
      u = du_;
  } else if (LogArgument(id_)) {
    if (u < du_) u = du_;
  }
  const double t = TransformArgument(id_, u);
  double sum = 0.0;
  double power = 1.0;
  for (int k = 0; k <= n_; ++k) {
    sum += coefficients_[k] * power;
    power *= t;
  }
  return LogValue(id_) ? std::exp(sum) : sum;
}

double EvalRegression(const FuncParams& p, double u) { return RegressionEvaluator(p)(u); }

int DescribeRegression(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int id = MethodOf(p);
  const int n = StoredInt(p[2]);
  if (mode == 0) {
    return AppendCoefficientRows(rows, 0, p.data() + kFuncHeaderSize, static_cast<std::size_t>(std::max(0, n + 1)));
  }
  const bool reversed = DirectionOf(p) == 1;
  std::string uName = reversed ? "Y" : "X";
  std::string vName = reversed ? "X" : "Y";
  if (id == method::kHyperbolic) uName = "1/" + uName;
  if (LogArgument(id)) uName = "ln(" + uName + ")";
  if (LogValue(id)) vName = "ln(" + vName + ")";
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

int FitBestRegression(CApprox& approx, const std::vector<DotValue>& points, FuncParams& params,
                      const std::vector<DotValue>& range) {
  const double direction = params.size() > 1 ? params[1] : 0.0;
  const double degree = params.size() > 2 ? params[2] : 1.0;
  int best = method::kPolynomial;
  double bestDeviation = 0.0;
  bool first = true;
  for (const int id : {method::kPolynomial, method::kHyperbolic, method::kLogarithmic,
                       method::kPower, method::kExponential}) {
    FuncParams trial{static_cast<double>(id), direction, degree};
    approx.FitFunction(points, trial, range);
    const double deviation = trial.size() > 7 ? trial[7] : 0.0;
    const bool better = deviation < bestDeviation ||
                        (std::isnan(bestDeviation) && !std::isnan(deviation));
    if (first || better) {
      best = id;
      bestDeviation = deviation;
      first = false;
    }
  }
  params = {static_cast<double>(best), direction, degree};
  return approx.FitFunction(points, params, range);
}

}  // namespace tracemont
