#include "approx/logistic.h"

#include <algorithm>
#include <cmath>

#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kBlockN = 9;

std::string ReplaceAll(std::string text, char from, const std::string& to) {
  std::string out;
  for (const char ch : text) {
    if (ch == from)
      out += to;
    else
      out += ch;
  }
  return out;
}

}  // namespace

int FitLogistic(int id, FitTarget& target, const FitRange& range, const FitData& data) {
  if (data.Size() < 3 || !(range.vmax > range.vmin)) return target.StoreConstant();
  const bool second = id == method::kLogistic2;
  LineSums sums;
  for (std::size_t i = 0; i < data.Size(); ++i) {
    const double u = data.u[i];
    const double v = data.v[i];
    if (second) {
      if (v > range.vmin) sums.Add(std::exp(-u), std::log(v - range.vmin));
    } else if (range.vmin < v && v < range.vmax) {
      sums.Add(u, std::log((range.vmax - range.vmin) / (v - range.vmin) - 1.0));
    }
  }
  const LineFit line = RegressLine(sums);
  target.SetN(kBlockN);
  const double block[kBlockN + 1] = {sums.s0,       range.umin, range.umax, range.vmin,
                                     range.vmax,    second ? 1.0 : 0.0,    line.a0,
                                     line.a1,       0.0,        0.0};
  return target.StoreBlock(block);
}

double EvalLogistic(const FuncParams& p, double u) {
  if (StoredInt(p[2]) < 7) return 0.0;
  const double* c = p.data() + kFuncHeaderSize;
  const double vmin = c[3];
  const double vmax = c[4];
  const double a0 = c[6];
  const double a1 = c[7];
  if (c[5] == 0.0) return vmin + (vmax - vmin) / (std::exp(a0 + a1 * u) + 1.0);
  if (c[5] == 1.0) return vmin + std::exp(a0 + a1 * std::exp(-u));
  return 0.0;
}

int DescribeLogistic(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int n = StoredInt(p[2]);
  const double* c = p.data() + kFuncHeaderSize;
  if (mode == 0) {
    return AppendCoefficientRows(rows, 0, c, static_cast<std::size_t>(std::max(0, n)));
  }
  std::string text;
  if (n >= 7) {
    if (c[5] == 0.0)
      text = StrFormat(LoadStr(41696).c_str(), c[3], c[4] - c[3], c[6], c[7]);
    else if (c[5] == 1.0)
      text = StrFormat(LoadStr(41697).c_str(), c[3], c[6], -c[7]);
  }
  const bool reversed = DirectionOf(p) == 1;
  text = ReplaceAll(text, 'U', reversed ? "Y" : "X");
  text = ReplaceAll(text, 'V', reversed ? "X" : "Y");
  rows.push_back(text);
  rows.push_back(FormatG(p[7]));
  return 2;
}

}  // namespace tracemont
