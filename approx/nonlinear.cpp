#include "approx/nonlinear.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "formula/formula_calc.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr std::size_t kRecordSize = 18;
constexpr std::size_t kParamsAt = 11;

double SettingAt(std::span<const double> settings, std::size_t i) {
  if (i >= settings.size() || !std::isfinite(settings[i])) return 0.0;
  return settings[i];
}

// The texts and the record of a stored block; nothing when the lengths do
// not fit inside the block.
struct StoredFormula {
  std::string argument;
  std::string formula;
  std::size_t recordAt = 0;  // absolute index into the vector
  std::size_t recordEnd = 0;  // one past the last block entry

  double Record(const FuncParams& p, std::size_t j) const {
    return recordAt + j < recordEnd ? p[recordAt + j] : 0.0;
  }
  CFormulaCalc::Params Parameters(const FuncParams& p) const {
    return {Record(p, kParamsAt), Record(p, kParamsAt + 1), Record(p, kParamsAt + 2),
            Record(p, kParamsAt + 3)};
  }
};

std::optional<StoredFormula> ReadStored(const FuncParams& p) {
  const int n = StoredInt(p[2]);
  if (n < 1) return std::nullopt;
  const std::size_t end = kFuncHeaderSize + static_cast<std::size_t>(n) + 1;
  StoredFormula stored;
  int argumentLength = 0;
  stored.argument = UnpackText(p, kFuncHeaderSize, &argumentLength);
  if (argumentLength < 0) return std::nullopt;
  const std::size_t formulaAt = kFuncHeaderSize + 1 + static_cast<std::size_t>(argumentLength);
  if (formulaAt >= end) return std::nullopt;
  int formulaLength = 0;
  stored.formula = UnpackText(p, formulaAt, &formulaLength);
  if (formulaLength < 0) return std::nullopt;
  stored.recordAt = formulaAt + 1 + static_cast<std::size_t>(formulaLength);
  stored.recordEnd = end;
  if (stored.recordAt + kParamsAt + 4 > end) return std::nullopt;
  return stored;
}

}  // namespace

double CFormulaFit::Objective(std::span<const double> p) {
  const CFormulaCalc::Params parameters{p.size() > 0 ? p[0] : 0.0, p.size() > 1 ? p[1] : 0.0,
                                        p.size() > 2 ? p[2] : 0.0, p.size() > 3 ? p[3] : 0.0};
  if (working_.empty()) working_ = formula;
  double sum = 0.0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    double f = 0.0;
    if (!calc_.CalcWithParams(working_, &parameters, arguments[i], f)) f = 0.0;
    const double e = values[i] - f;
    sum += e * e;
  }
  return sum;
}

int FitNonLinear(FitTarget& target, const FitRange& range, const FitData& data,
                 const NonLinearSettings& settings) {
  return FitNonLinear(target, range, data, settings, CFormulaCalc::Instance());
}

int FitNonLinear(FitTarget& target, const FitRange& range, const FitData& data,
                 const NonLinearSettings& settings, CFormulaCalc& calc) {
  const double configuration[10] = {0, 0, 0, 0, 0, SettingAt(settings.methodSettings, 1),
                                    SettingAt(settings.methodSettings, 2), 0, 0, 0};
  if (data.Size() < 1 || !(range.umax > range.umin)) return target.StoreConstant();

  CFormulaFit fit(calc);
  fit.Configure(configuration);
  fit.useMinimizer = settings.keepParameters ? 0 : 1;
  fit.formula = settings.formula;
  fit.argumentName = settings.argumentName;
  fit.params = settings.start;
  fit.arguments = data.u;
  fit.values = data.v;

  int iterations = 0;
  if (fit.useMinimizer) {
    const int result = fit.MinimizeConfigured(fit.params, iterations);
    if (result != CMinimizer::kConverged) return target.StoreConstant();
  }
  const double rms = std::sqrt(fit.Objective(fit.params) / static_cast<double>(data.Size()));

  std::vector<double> block;
  PackText(fit.argumentName, block);
  PackText(fit.formula, block);
  const double record[kRecordSize] = {static_cast<double>(data.Size()),
                                      range.umin,
                                      range.umax,
                                      0,
                                      fit.Step(),
                                      static_cast<double>(fit.MaxIterations()),
                                      static_cast<double>(iterations),
                                      0,
                                      0,
                                      0,
                                      4,
                                      fit.params[0],
                                      fit.params[1],
                                      fit.params[2],
                                      fit.params[3],
                                      rms,
                                      0,
                                      0};
  block.insert(block.end(), std::begin(record), std::end(record));
  return target.StoreBlock(block);
}

double EvalNonLinear(const FuncParams& p, double u) {
  const auto stored = ReadStored(p);
  if (!stored) return 0.0;
  const CFormulaCalc::Params parameters = stored->Parameters(p);
  std::string text = stored->formula;
  double value = 0.0;
  if (!CFormulaCalc::Instance().CalcWithParams(text, &parameters, u, value)) return 0.0;
  return value;
}

int DescribeNonLinear(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const auto stored = ReadStored(p);
  if (!stored) return 0;
  if (mode == 0) {
    for (std::size_t j = 0; j <= 16; ++j) {
      rows.push_back(StrFormat("%d", static_cast<int>(4 + j)));
      rows.push_back(FormatG(stored->Record(p, j)));
    }
    return static_cast<int>(rows.size());
  }
  const CFormulaCalc::Params parameters = stored->Parameters(p);
  std::string text = "y=" + stored->formula + "; ";
  const char letters[4] = {'a', 'b', 'c', 'd'};
  for (std::size_t i = 0; i < 4; ++i) {
    if (parameters[i] == 0.0) continue;
    if (i > 0) text += ", ";
    text += StrFormat("%c=%f", letters[i], parameters[i]);
  }
  rows.push_back(text);
  rows.push_back(FormatG(p[7]));
  rows.push_back(stored->argument);
  rows.push_back(stored->formula);
  for (const double value : parameters) rows.push_back(StrFormat(LoadStr(41523).c_str(), value));
  return static_cast<int>(rows.size());
}

int SampleNonLinear(const FuncParams& p, std::vector<DotValue>& curve, int samples) {
  const auto stored = ReadStored(p);
  if (!stored || samples < 1) return 0;
  const double umin = stored->Record(p, 1);
  const double umax = stored->Record(p, 2);
  const bool reversed = DirectionOf(p) == 1;
  const CFormulaCalc::Params parameters = stored->Parameters(p);
  std::string text = stored->formula;
  CFormulaCalc& calc = CFormulaCalc::Instance();
  for (int k = 0; k <= samples; ++k) {
    const double u = umin + k * (umax - umin) / samples;
    double v = 0.0;
    if (!calc.CalcWithParams(text, &parameters, u, v)) v = 0.0;
    curve.push_back(reversed ? DotValue(v, u, 0.0) : DotValue(u, v, 0.0));
  }
  return static_cast<int>(curve.size());
}

}  // namespace tracemont
