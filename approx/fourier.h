// Fourier series (method 60) of k harmonics over the argument range, fitted
// by least squares to the values centred on the middle of their range.
//
// Block (n = 2k + 7): [0] 0, [1] umin, [2] umax, [3] vmin, [4] vmax, [5] k,
// [6] a0, then per harmonic j = 1..k: [5 + 2j] cosine and [6 + 2j] sine
// coefficient, then 0.
#pragma once

#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"

namespace tracemont {

// The period constant of fit and evaluation: five digits, not pi, so that
// stored series evaluate as they were fitted.
inline constexpr double kFivePlacePi = 3.14159;

// k = n harmonics, at most the coefficient limit - 1; weights are not
// applied. The constant fit for fewer than 3 points, an empty argument
// range or no harmonic. Returns 1.
int FitFourier(FitTarget& target, const FitRange& range, const FitData& data);

// Value at u; 0 for a block too short for its harmonics.
double EvalFourier(const FuncParams& p, double u);

// Mode 1: "Fourier approximation on %d harmonics" and "-"; mode 0: labels
// from 4 with the block values from its start, i = 4..n - 1.
int DescribeFourier(const FuncParams& p, std::vector<std::string>& rows, int mode);

}  // namespace tracemont
