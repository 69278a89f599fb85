#include "approx/neural.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "model/text.h"

namespace tracemont {
namespace {

std::minstd_rand& Generator() {
  // Process-wide like the run-time library's generator it stands for.
  static std::minstd_rand generator(1);
  return generator;
}

int NextRandom15() { return static_cast<int>(Generator()() % 32768); }

double Activation(int kind, double a, double e) {
  if (kind == 0) return e / (std::fabs(e) + a);
  return 1.0 / (1.0 + std::exp(-a * std::fabs(e)));
}

double ForwardPass(std::span<const double> params, int hidden, int kind, double a, double x) {
  const auto h = static_cast<std::size_t>(hidden);
  double y = 0.0;
  for (std::size_t j = 0; j < h; ++j) {
    const double e = params[j] * x - params[2 * h + j];
    y += params[h + j] * Activation(kind, a, e);
  }
  return y;
}

double SettingAt(std::span<const double> settings, std::size_t i) {
  if (i >= settings.size() || !std::isfinite(settings[i])) return 0.0;
  return settings[i];
}

constexpr std::size_t kWeightsAt = 17;

}  // namespace

void SeedNeuralRandom(std::uint32_t seed) { Generator().seed(seed == 0 ? 1 : seed); }

void CNeuroFit::Configure(std::span<const double> settings) {
  double neurons = std::trunc(SettingAt(settings, 0));
  if (neurons == 0) neurons = 8;
  hidden = static_cast<int>(std::clamp(neurons, 2.0, 100.0));
  kind = SettingAt(settings, 3) > 0 ? 1 : 0;
  double value = SettingAt(settings, 4);
  if (value == 0) value = 4.0;
  a = std::clamp(value, 1.0, 5.0);
  CMinimizer::Configure(settings);
}

double CNeuroFit::Forward(std::span<const double> params, double x) const {
  return ForwardPass(params, hidden, kind, a, x);
}

double CNeuroFit::Objective(std::span<const double> params) {
  double sum = 0.0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const double e = values[i] - Forward(params, arguments[i]);
    sum += e * e;
  }
  return sum;
}

int FitNeural(int id, FitTarget& target, const FitRange& range, const FitData& data,
              std::span<const double> settings) {
  const int hidden = std::clamp(target.N(), 2, 20);
  const int kind = id == method::kNeural2 ? 1 : 0;
  const double configuration[10] = {static_cast<double>(hidden), 0, 0, static_cast<double>(kind),
                                    SettingAt(settings, 0), SettingAt(settings, 1),
                                    SettingAt(settings, 2), 0, 0, 0};
  if (data.Size() < 1 || !(range.umax > range.umin)) return target.StoreConstant();

  CNeuroFit fit;
  fit.Configure(configuration);
  fit.arguments.resize(data.Size());
  for (std::size_t i = 0; i < data.Size(); ++i)
    fit.arguments[i] = (data.u[i] - range.umin) / (range.umax - range.umin);
  fit.values = data.v;

  std::vector<double> params(3 * static_cast<std::size_t>(fit.hidden));
  std::vector<int> draws(params.size());
  for (int& r : draws) r = NextRandom15();
  const int largest = *std::max_element(draws.begin(), draws.end());
  for (std::size_t i = 0; i < params.size(); ++i)
    params[i] = largest > 0 ? static_cast<double>(draws[i]) / largest - 0.5 : -0.5;

  int iterations = 0;
  const int result = fit.MinimizeConfigured(params, iterations);
  if (result != CMinimizer::kConverged) return target.StoreConstant();

  const double rms = std::sqrt(fit.Objective(params) / static_cast<double>(data.Size()));
  std::vector<double> block = {static_cast<double>(data.Size()),
                               range.umin,
                               range.umax,
                               static_cast<double>(fit.hidden),
                               0,
                               0,
                               static_cast<double>(fit.kind),
                               fit.a,
                               fit.Step(),
                               static_cast<double>(fit.MaxIterations()),
                               static_cast<double>(iterations),
                               0,
                               0,
                               3,
                               1,
                               static_cast<double>(fit.hidden),
                               1};
  block.insert(block.end(), params.begin(), params.end());
  block.push_back(rms);
  block.push_back(0);
  return target.StoreBlock(block);
}

double EvalNeural(const FuncParams& p, double u) {
  const int n = StoredInt(p[2]);
  if (n < 16) return 0.0;
  const double* c = p.data() + kFuncHeaderSize;
  const int hidden = StoredInt(c[15]);
  if (hidden < 1 || static_cast<long long>(kWeightsAt) + 3LL * hidden > n) return 0.0;
  const double x = (u - c[1]) / (c[2] - c[1]);
  const std::span<const double> params(c + kWeightsAt, 3 * static_cast<std::size_t>(hidden));
  return ForwardPass(params, hidden, c[6] > 0 ? 1 : 0, c[7], x);
}

int DescribeNeural(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int n = StoredInt(p[2]);
  const double* c = p.data() + kFuncHeaderSize;
  if (mode != 0) {
    const int hidden = n >= 3 ? std::min(StoredInt(c[3]), 1 << 30) : 0;
    std::string text = StrFormat(LoadStr(41695).c_str(), hidden + 2);
    if (text.size() > 255) text.resize(255);
    rows.push_back(text);
    rows.push_back(FormatG(p[7]));
    return 2;
  }
  return AppendCoefficientRows(rows, 4, c, static_cast<std::size_t>(std::max(0, n - 4)));
}

}  // namespace tracemont
