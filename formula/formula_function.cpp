#include "formula/formula_function.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "formula/formula_calc.h"
#include "formula/formula_syntax.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kCheckStringsId = 2602;  // "Check strings, please. Possible errors are:"

// Where the parts of a method-100 vector lie, as data positions (from [10]).
struct FormulaLayout {
  std::size_t yText = 0;    // the X text starts at 0
  std::size_t triples = 0;  // p: the range triple
  long long count = 0;      // T
};

std::optional<FormulaLayout> LocateFormulaParts(const FuncParams& p) {
  if (!IsValidParams(p) || MethodOf(p) != method::kFormula) return std::nullopt;
  const long long n = StoredInt(p[2]);
  const long long kX = StoredInt(p[kFuncHeaderSize]);
  if (kX < 0 || kX + 1 > n) return std::nullopt;
  const long long kY = StoredInt(p[kFuncHeaderSize + static_cast<std::size_t>(kX + 1)]);
  if (kY < 0) return std::nullopt;
  const long long triples = kX + 1 + kY + 1;
  if (n - triples < 3) return std::nullopt;
  return FormulaLayout{static_cast<std::size_t>(kX + 1), static_cast<std::size_t>(triples),
                       (n - triples) / 3};
}

// The curves of a family and the v of the first one.
struct FamilyPlan {
  int curves = 1;
  double vFirst = 0.0;
  double vStep = 0.0;
};

FamilyPlan PlanFamily(const FormulaCurve& f) {
  if (!f.useV) return {};
  double vMin = f.vMin;
  double vMax = f.vMax;
  if (vMax < vMin) std::swap(vMin, vMax);
  const double step = std::fabs(f.vStep);
  if (step == 0.0) return {};
  const double steps = std::floor((vMax - vMin) / step);
  if (!(steps >= 1.0)) return {};  // less than one step, or not a number
  const double curves = std::min(steps + 1.0, static_cast<double>(kMaxFormulaCurves));
  return {static_cast<int>(curves), vMin, step};
}

}  // namespace

FuncParams BuildFormulaParams(const FormulaCurve& curve) {
  FuncParams p(kFuncHeaderSize, 0.0);
  p[0] = method::kFormula;
  PackText(curve.xText, p);
  PackText(curve.yText, p);
  p.insert(p.end(), {curve.uMin, curve.uMax, 0.0});
  if (curve.useV) p.insert(p.end(), {curve.vMin, curve.vMax, curve.vStep});
  const std::size_t written = p.size() - kFuncHeaderSize;
  p.insert(p.end(), {0.0, 0.0, 0.0});
  p[2] = static_cast<double>(written + 2);
  return p;
}

std::optional<FormulaCurve> ReadFormulaParams(const FuncParams& p) {
  const auto layout = LocateFormulaParts(p);
  if (!layout) return std::nullopt;
  FormulaCurve f;
  f.xText = UnpackText(p, kFuncHeaderSize);
  f.yText = UnpackText(p, kFuncHeaderSize + layout->yText);
  const std::size_t at = kFuncHeaderSize + layout->triples;
  f.uMin = p[at];
  f.uMax = p[at + 1];
  f.useV = layout->count >= 2;
  if (f.useV) {
    f.vMin = p[at + 3];
    f.vMax = p[at + 4];
    f.vStep = p[at + 5];
  }
  return f;
}

int DescribeFormulaFunction(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  rows.clear();
  const auto layout = LocateFormulaParts(p);
  if (!layout) return 0;
  const std::size_t first = kFuncHeaderSize + layout->triples;
  const std::size_t last = kFuncHeaderSize + static_cast<std::size_t>(StoredInt(p[2])) - 1;
  if (mode == 0) {
    int label = 4;
    for (std::size_t i = first; i <= last; ++i) {
      rows.push_back(StrFormat("%d", label++));
      rows.push_back(FormatG(p[i]));
    }
    return static_cast<int>(rows.size());
  }
  const std::string x = UnpackText(p, kFuncHeaderSize);
  const std::string y = UnpackText(p, kFuncHeaderSize + layout->yText);
  rows.push_back("x=" + x + "; y=" + y);
  rows.push_back(x);
  rows.push_back(y);
  for (std::size_t i = first; i <= last; ++i) rows.push_back(StrFormat("%6.2f", p[i]));
  return static_cast<int>(rows.size());
}

int CountCurves(const FuncParams& params) {
  if (MethodOf(params) != method::kFormula) return 1;
  const auto f = ReadFormulaParams(params);
  return f ? PlanFamily(*f).curves : 1;
}

int SampleFormulaCurve(const FuncParams& params, std::vector<DotValue>& curve, int samples,
                       CFormulaCalc& calc) {
  curve.clear();
  const auto f = ReadFormulaParams(params);
  if (!f || samples < 1) return 0;
  const FamilyPlan plan = PlanFamily(*f);
  const std::size_t perCurve = static_cast<std::size_t>(samples) + 1;
  std::vector<double> xs(perCurve);
  std::vector<double> ys(perCurve);
  curve.reserve(perCurve * static_cast<std::size_t>(plan.curves));
  for (int k = 0; k < plan.curves; ++k) {
    const double v = plan.curves == 1 ? 0.0 : plan.vFirst + k * plan.vStep;
    std::string x = f->xText;
    std::string y = f->yText;
    if (!calc.Tabulate(x, f->uMin, f->uMax, xs, samples, v) ||
        !calc.Tabulate(y, f->uMin, f->uMax, ys, samples, v)) {
      curve.clear();
      return 0;
    }
    for (std::size_t i = 0; i < perCurve; ++i) curve.emplace_back(xs[i], ys[i], 0.0);
  }
  return static_cast<int>(curve.size());
}

int SampleFormulaCurve(const FuncParams& params, std::vector<DotValue>& curve, int samples) {
  return SampleFormulaCurve(params, curve, samples, CFormulaCalc::Instance());
}

std::vector<std::pair<std::size_t, std::size_t>> CurvePolylines(const FuncParams& params,
                                                               std::size_t curvePoints) {
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  if (curvePoints == 0) return ranges;
  const auto curves = static_cast<std::size_t>(CountCurves(params));
  if (curves < 2 || curvePoints % curves != 0) {
    ranges.emplace_back(0, curvePoints);
    return ranges;
  }
  const std::size_t each = curvePoints / curves;
  for (std::size_t k = 0; k < curves; ++k) ranges.emplace_back(k * each, (k + 1) * each);
  return ranges;
}

std::string ValidateFormulaCurve(CFormulaCalc& calc, const std::string& xText,
                                 const std::string& yText, double uMin, double uMax) {
  auto check = [&](const std::string& text, std::string& message) {
    if (text.size() > formula::kMaxEditedFormula) {
      message = "Formula longer than 255 characters";
      return false;
    }
    message = text;
    return calc.CheckOnRange(message, uMin, uMax);
  };
  std::string xMessage;
  std::string yMessage;
  const bool xOk = check(xText, xMessage);
  const bool yOk = check(yText, yMessage);
  if (xOk && yOk) return {};
  std::string report = LoadStr(kCheckStringsId) + "\n";
  if (!xOk) report += "\n" + xMessage + " in X(u)";
  if (!yOk) report += "\n" + yMessage + " in Y(u)";
  return report;
}

}  // namespace tracemont
