#include "approx/fourier.h"

#include <algorithm>
#include <cmath>

#include "model/text.h"

namespace tracemont {
namespace {

// Basis function r at u: 1, then cos(j w u), sin(j w u) for j = 1, 2, ...
double Basis(std::size_t r, double omega, double u) {
  if (r == 0) return 1.0;
  const double j = static_cast<double>((r + 1) / 2);
  return r % 2 == 1 ? std::cos(j * omega * u) : std::sin(j * omega * u);
}

}  // namespace

int FitFourier(FitTarget& target, const FitRange& range, const FitData& data) {
  const int requested = target.N();
  if (data.Size() < 3 || !(range.umax > range.umin) || requested <= 0)
    return target.StoreConstant();
  const int k = std::min(requested, target.CoefficientLimit() - 1);
  if (k <= 0) return target.StoreConstant();
  const std::size_t unknowns = 2 * static_cast<std::size_t>(k) + 1;
  const double omega = 2 * kFivePlacePi / (range.umax - range.umin);
  const double centre = (range.vmin + range.vmax) / 2;

  std::vector<double> matrix(unknowns * (unknowns + 1), 0.0);
  std::vector<double> phi(unknowns);
  for (std::size_t i = 0; i < data.Size(); ++i) {
    for (std::size_t r = 0; r < unknowns; ++r) phi[r] = Basis(r, omega, data.u[i]);
    const double y = data.v[i] - centre;
    for (std::size_t r = 0; r < unknowns; ++r) {
      double* row = matrix.data() + r * (unknowns + 1);
      for (std::size_t c = 0; c < unknowns; ++c) row[c] += phi[r] * phi[c];
      row[unknowns] += phi[r] * y;
    }
  }
  std::vector<double> x;
  SolveLinear(2 * k, matrix, x);

  std::vector<double> block = {0.0, range.umin, range.umax, range.vmin, range.vmax,
                               static_cast<double>(k)};
  block.insert(block.end(), x.begin(), x.end());
  block.push_back(0.0);
  return target.StoreBlock(block);
}

double EvalFourier(const FuncParams& p, double u) {
  const int n = StoredInt(p[2]);
  if (n < 6) return 0.0;
  const double* c = p.data() + kFuncHeaderSize;
  const int k = StoredInt(c[5]);
  if (k < 0 || 6 + 2LL * k > n) return 0.0;
  const double omega = 2 * kFivePlacePi / (c[2] - c[1]);
  double v = (c[3] + c[4]) / 2 + c[6];
  for (int j = 1; j <= k; ++j)
    v += c[5 + 2 * j] * std::cos(j * omega * u) + c[6 + 2 * j] * std::sin(j * omega * u);
  return v;
}

int DescribeFourier(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int n = StoredInt(p[2]);
  const double* c = p.data() + kFuncHeaderSize;
  if (mode != 0) {
    rows.push_back(StrFormat(LoadStr(41698).c_str(), n >= 5 ? StoredInt(c[5]) : 0));
    rows.push_back("-");
    return 2;
  }
  // Labels from 4 while the values start at the block's first entry.
  return AppendCoefficientRows(rows, 4, c, static_cast<std::size_t>(std::max(0, n - 4)));
}

}  // namespace tracemont
