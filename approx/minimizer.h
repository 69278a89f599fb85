// CMinimizer: quasi-Newton (Davidon-Fletcher-Powell) minimisation of a sum
// of squared residuals with a forward-difference gradient and a three-point
// parabolic line search. The neural network and the non-linear formula fits
// derive from it and supply the objective.
#pragma once

#include <span>
#include <vector>

namespace tracemont {

class CMinimizer {
 public:
  // Results of Minimize.
  static constexpr int kConverged = 0;
  static constexpr int kNoMemory = -1;
  static constexpr int kIterationLimit = -2;

  virtual ~CMinimizer() = default;

  // Reads a settings array (entries past its end count as 0): [5] the
  // finite-difference step (0 gives 0.0001, then clamped to 0.00001..0.1)
  // and [6] the maximum number of iterations (0 gives 300, then clamped to
  // 1..1000). Non-finite entries count as 0.
  virtual void Configure(std::span<const double> settings);

  // Sum of squared residuals at the parameters.
  virtual double Objective(std::span<const double> params) = 0;

  // Minimises the objective over `params` (changed in place). `iterations`
  // gives the maximum on entry and returns the converging iteration, or the
  // maximum + 1. Converged means the squared change of the gradient between
  // two iterations fell to `tol` or below. Each iteration reports "k/max"
  // through the progress slot. Returns kConverged, kIterationLimit, or
  // kNoMemory when the inverse-Hessian matrix cannot be allocated. A zero
  // line-search denominator is not caught: the parameters become NaN and
  // the run ends at the limit.
  int Minimize(std::span<double> params, double tol, int& iterations, double h);

  // Convenience: Minimize with the configured step and limit; tolerance
  // max(0.0001, 10 h^2) as both fits use.
  int MinimizeConfigured(std::span<double> params, int& iterations);

  double Step() const { return step_; }
  int MaxIterations() const { return maxIterations_; }

  // The points the objective sees (u as the objective uses it, and v).
  std::vector<double> arguments;
  std::vector<double> values;

 private:
  void Gradient(std::span<double> params, double h, std::vector<double>& g);

  double step_ = 0.0001;
  int maxIterations_ = 500;
};

}  // namespace tracemont
