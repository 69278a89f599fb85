// Method 80, "User defined function": a plug-in library supplies the fit,
// the evaluation and the formula text. This file holds the method's side of
// the contract: the block layout, the calling order and the fallbacks when
// a library is missing. Finding and loading libraries is the plug-in
// host's job; it installs a binder here. Without one every library counts
// as missing: fits fall back to the constant, evaluation gives 0 and the
// formula text is "test user".
//
// Block (n = L + m): c_0 = L = length of the file name + 1, c_1 .. c_{L-1}
// the name's bytes, c_L .. c_{L+m-1} the library's record (m from
// MaxOfFactors at fit time), c_{L+m} = 0.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"

namespace tracemont {

// The seven exports of a bound library; each may be absent (null). The
// functions stay valid for the life of the process: libraries are never
// unloaded. Texts go into caller buffers of bufferSize bytes.
struct PluginEntryPoints {
  int (*maxOfFactors)() = nullptr;
  int (*prepare)(double uMin, double uMax, double vMin, double vMax, double* u, double* v,
                 double* w, int count, double* params, int paramCount, double* record,
                 int recordSize) = nullptr;
  double (*calcInPoint)(double u, double* record, int recordSize) = nullptr;
  int (*functionTitle)(char* buffer, int bufferSize) = nullptr;
  int (*functionName)(char* buffer, int bufferSize) = nullptr;
  int (*functionString)(double* record, int recordSize, char* buffer, int bufferSize) = nullptr;
  int (*paramInfo)(int index, char* buffer, int bufferSize, double* defaultValue) = nullptr;

  // A library is usable when it exports MaxOfFactors and Prepare.
  bool IsValid() const { return maxOfFactors != nullptr && prepare != nullptr; }
};

// Binds a library by its file name (no path); nothing when it cannot be
// loaded.
using PluginBinder = std::function<std::optional<PluginEntryPoints>(const std::string& fileName)>;

// Installs the process-wide binder (an empty function removes it); returns
// the previous one.
PluginBinder SetPluginBinder(PluginBinder binder);
// The entry points of `fileName` through the installed binder; nothing
// without a binder or for an empty name.
std::optional<PluginEntryPoints> BindPlugin(const std::string& fileName);

// Fits through the library `fileName` with the four shape parameters in
// `settings`. The constant fit for an empty name, a missing or invalid
// library, a record size below 0 or Prepare returning 0 or less. Returns 1.
int FitPlugin(FitTarget& target, const FitRange& range, const FitData& data,
              const std::string& fileName, std::span<const double> settings);

// CalcInPoint of the library named in the block; 0 when it is missing or
// the block is malformed.
double EvalPlugin(const FuncParams& p, double u);

// Mode 1: the library's FunctionString (or "test user") and the deviation;
// mode 0: labels from 4 with the record values.
int DescribePlugin(const FuncParams& p, std::vector<std::string>& rows, int mode);

}  // namespace tracemont
