// Fuzz target: the compiled form of a formula must agree with the reference
// reader on every text (same value bits, NaN payloads aside, and the same
// first error), and no text may crash either of them or the evaluator's
// entry points.
//
// Not part of the default build. With clang (libFuzzer), from the source
// root:
//
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
//     tests/fuzz/formula_fuzz.cpp formula/formula_syntax.cpp \
//     formula/formula_reader.cpp formula/formula_program.cpp \
//     formula/formula_calc.cpp -o formula_fuzz
//   mkdir -p corpus && ./formula_fuzz -dict=tests/fuzz/formula_fuzz.dict \
//     -max_len=512 -timeout=10 corpus
//
// Input: byte 0 picks the set of variable names, then one byte per variable
// picks its value from a table of ordinary and extreme values; the rest is
// the formula text as typed.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "formula/formula_calc.h"
#include "formula/formula_program.h"
#include "formula/formula_reader.h"
#include "formula/formula_syntax.h"

namespace {

using tracemont::CFormulaCalc;
namespace formula = tracemont::formula;

const std::vector<std::vector<std::string>> kScopes = {
    {"u", "v"},
    {"a", "b", "c", "d", "u"},
    {"u", "v", "a", "b", "c", "d"},
    {"u", "uv", "pi", "e", "sin", "x1"},
    {},
};

constexpr double kValues[] = {0.0,    -0.0,   1.0,    -1.0,  2.0,    0.5,    -2.5,  3.0,
                              1e-300, 1e300,  170.5,  -7.0,  4.0,    1.5,    0.25,  -0.5,
                              100.0,  1e-5,   6.5,    1.25,  -1e300, 5e-324, 10.0,  0.1,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};

bool SameBits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

[[noreturn]] void Mismatch(const std::string& text, const std::string& what) {
  std::fprintf(stderr, "formula_fuzz: %s for '%s'\n", what.c_str(), text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const auto& names = kScopes[data[0] % kScopes.size()];
  std::size_t at = 1;
  std::vector<double> values(names.size(), 1.0);
  for (double& v : values)
    if (at < size) v = kValues[data[at++] % std::size(kValues)];
  const std::string text(reinterpret_cast<const char*>(data + at), size - at);

  const formula::CleanResult clean = formula::CleanFormula(text);
  if (clean.ok) {
    bool readOk = true;
    double readValue = 0.0;
    std::string readMessage;
    try {
      readValue = formula::ReadFormula(clean.text, names, values);
    } catch (const formula::FormulaError& e) {
      readOk = false;
      readMessage = e.message;
    }
    const auto program = formula::FormulaProgram::Compile(clean.text, names);
    std::vector<double> frame;
    program.PrepareFrame(frame);
    std::copy(values.begin(), values.end(), frame.begin());
    double runValue = 0.0;
    const std::string* runMessage = program.Run(frame.data(), runValue);
    if (readOk != (runMessage == nullptr)) Mismatch(clean.text, "success differs");
    if (!readOk && readMessage != *runMessage)
      Mismatch(clean.text, "message '" + readMessage + "' vs '" + *runMessage + "'");
    if (readOk && !SameBits(readValue, runValue)) Mismatch(clean.text, "value differs");
  }

  // The entry points of both engines, with their shared state.
  static CFormulaCalc reference(CFormulaCalc::Engine::kReference);
  static CFormulaCalc compiled(CFormulaCalc::Engine::kCompiled);
  const CFormulaCalc::Params params{values.empty() ? 1.0 : values[0], 2.0, 3.0, 4.0};
  std::string textR = text;
  std::string textC = text;
  double resultR = 0.0;
  double resultC = 0.0;
  const bool okR = reference.CalcUV(textR, 0.5, -1.5, &params, resultR);
  const bool okC = compiled.CalcUV(textC, 0.5, -1.5, &params, resultC);
  if (okR != okC || textR != textC || !SameBits(resultR, resultC))
    Mismatch(text, "CalcUV differs");
  textR = text;
  textC = text;
  if (reference.CheckOnRange(textR, -1, 1) != compiled.CheckOnRange(textC, -1, 1) ||
      textR != textC)
    Mismatch(text, "CheckOnRange differs");
  return 0;
}
