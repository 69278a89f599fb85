#include "approx/minimizer.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "approx/progress.h"

namespace tracemont {
namespace {

double SettingAt(std::span<const double> settings, std::size_t i) {
  if (i >= settings.size() || !std::isfinite(settings[i])) return 0.0;
  return settings[i];
}

}  // namespace

void CMinimizer::Configure(std::span<const double> settings) {
  double step = SettingAt(settings, 5);
  if (step == 0.0) step = 0.0001;
  step_ = std::clamp(step, 0.00001, 0.1);
  double iterations = std::trunc(SettingAt(settings, 6));
  if (iterations == 0.0) iterations = 300;
  maxIterations_ = static_cast<int>(std::clamp(iterations, 1.0, 1000.0));
}

void CMinimizer::Gradient(std::span<double> params, double h, std::vector<double>& g) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    params[i] += h;
    const double f1 = Objective(params);
    params[i] -= h;
    const double f0 = Objective(params);
    g[i] = (f1 - f0) / h;
  }
}

int CMinimizer::Minimize(std::span<double> params, double tol, int& iterations, double h) {
  const int maximum = iterations;
  const std::size_t m = params.size();
  std::vector<double> hessian;
  std::vector<double> g, gNew, d, s, y, z, trial;
  try {
    hessian.assign(m * m, 0.0);
    g.assign(m, 0.0);
    gNew.assign(m, 0.0);
    d.assign(m, 0.0);
    s.assign(m, 0.0);
    y.assign(m, 0.0);
    z.assign(m, 0.0);
    trial.assign(m, 0.0);
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  }
  for (std::size_t i = 0; i < m; ++i) hessian[i * m + i] = 1.0;
  const auto times = [&](const std::vector<double>& vec, std::vector<double>& out) {
    for (std::size_t r = 0; r < m; ++r) {
      double sum = 0.0;
      for (std::size_t c = 0; c < m; ++c) sum += hessian[r * m + c] * vec[c];
      out[r] = sum;
    }
  };

  Gradient(params, h, g);
  for (int k = 1; k <= maximum; ++k) {
    times(g, d);
    const double f0 = Objective(params);
    for (std::size_t i = 0; i < m; ++i) trial[i] = params[i] - d[i];
    const double f1 = Objective(trial);
    for (std::size_t i = 0; i < m; ++i) trial[i] = params[i] - 0.5 * d[i];
    const double fh = Objective(trial);
    // Vertex of the parabola through the three values, along d.
    const double t = 0.25 * (f1 - f0) / (f0 - 2 * fh + f1) - 0.5;
    for (std::size_t i = 0; i < m; ++i) {
      s[i] = t * d[i];
      params[i] += s[i];
    }
    Gradient(params, h, gNew);
    double change = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
      y[i] = gNew[i] - g[i];
      change += y[i] * y[i];
    }
    if (change <= tol) {
      iterations = k;
      return kConverged;
    }
    times(y, z);
    double sy = 0.0;
    double yz = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
      sy += s[i] * y[i];
      yz += z[i] * y[i];
    }
    g.swap(gNew);
    for (std::size_t r = 0; r < m; ++r)
      for (std::size_t c = 0; c < m; ++c)
        hessian[r * m + c] += s[r] * s[c] / sy - z[r] * z[c] / yz;
    ReportProgress(k, maximum);
  }
  iterations = maximum + 1;
  return kIterationLimit;
}

int CMinimizer::MinimizeConfigured(std::span<double> params, int& iterations) {
  iterations = maxIterations_;
  const double tol = std::max(0.0001, 10 * step_ * step_);
  return Minimize(params, tol, iterations, step_);
}

}  // namespace tracemont
