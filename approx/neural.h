// Neural network (methods 70 and 71): one input neuron, one hidden layer of
// N_h neurons and a linear output neuron, trained by CMinimizer on the
// argument normalised to [0, 1].
//
//   hidden j: e = w_j x - b_j;  h_j = e / (|e| + A)            (kind 0, method 70)
//                               h_j = 1 / (1 + exp(-A |e|))    (kind 1, method 71)
//   output:   y = sum g_j h_j
//
// Block (n = 3 N_h + 18): [0] N, [1] umin, [2] umax, [3] N_h, [4] 0, [5] 0,
// [6] kind, [7] A, [8] step, [9] maximum iterations, [10] iterations used,
// [11] 0, [12] 0, [13] 3 layers, [14..16] layer sizes 1, N_h, 1,
// [17 ..] the weights w, then g, then the thresholds b, then the RMS
// deviation of the trained network and 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "approx/minimizer.h"

namespace tracemont {

class CNeuroFit : public CMinimizer {
 public:
  // Reads [0] hidden neurons (0 gives 8, then 2..100), [3] activation kind
  // (1 when > 0), [4] A (0 gives 4, then 1..5), then the base settings.
  void Configure(std::span<const double> settings) override;
  // Sum over the points of (v - y(x))^2 with the network of `params`
  // (w, g, b: 3 N_h values).
  double Objective(std::span<const double> params) override;

  // The network output for a normalised input.
  double Forward(std::span<const double> params, double x) const;

  int hidden = 8;
  int kind = 0;
  double a = 4.0;
};

// Trains N_h = n (clamped to 2..20) neurons from random weights in
// [-0.5, 0.5]; settings are the method settings (A, step, iterations).
// Stores the block only when the minimiser converged, otherwise the
// constant fit (the caller may report that). The constant fit also for no
// points or an empty argument range. Returns 1.
int FitNeural(int id, FitTarget& target, const FitRange& range, const FitData& data,
              std::span<const double> settings);

// The network of the block at u; 0 for a block whose layer sizes do not fit it.
double EvalNeural(const FuncParams& p, double u);

// Mode 1: "Neural network on %d neurons" (all layers counted) and the
// deviation; mode 0: labels from 4 with the block values from its start.
int DescribeNeural(const FuncParams& p, std::vector<std::string>& rows, int mode);

// The start weights come from one process-wide generator of 15-bit values
// that fits never reseed; tests and measurements may.
void SeedNeuralRandom(std::uint32_t seed);

}  // namespace tracemont
