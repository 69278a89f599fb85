// The compiled form must agree with the reference reader on every text: the
// same value bits (NaN payloads aside) and the same first error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "formula/formula_calc.h"
#include "formula/formula_program.h"
#include "formula/formula_reader.h"
#include "formula/formula_syntax.h"
#include "formula_random.h"

namespace tracemont {
namespace {

using formula::FormulaProgram;

struct Outcome {
  bool ok = false;
  double value = 0.0;
  std::string message;
};

bool SameBits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool Same(const Outcome& a, const Outcome& b) {
  if (a.ok != b.ok) return false;
  return a.ok ? SameBits(a.value, b.value) : a.message == b.message;
}

std::string Describe(const Outcome& o) {
  if (!o.ok) return "error '" + o.message + "'";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a", o.value);
  return buf;
}

Outcome Read(const std::string& cleaned, const std::vector<std::string>& names,
             const std::vector<double>& values) {
  try {
    return {true, formula::ReadFormula(cleaned, names, values), {}};
  } catch (const formula::FormulaError& e) {
    return {false, 0.0, e.message};
  }
}

Outcome RunProgram(const FormulaProgram& program, std::vector<double>& frame,
            const std::vector<double>& values) {
  program.PrepareFrame(frame);
  std::copy(values.begin(), values.end(), frame.begin());
  Outcome o;
  if (const std::string* message = program.Run(frame.data(), o.value)) {
    o.message = *message;
    return o;
  }
  o.ok = true;
  return o;
}

TEST(FormulaDifferential, CompiledFormAgreesWithTheReaderOnRandomTexts) {
  const std::vector<std::vector<std::string>> scopes = {
      {"u", "v"},
      {"a", "b", "c", "d", "u"},
      {"u", "v", "a", "b", "c", "d"},
      {"u", "uv", "pi", "e", "sin", "x1"},  // longest prefix, names over constants
      {},
  };
  test::RandomFormula random(20240531);
  // Texts that fail cleaning are not counted: both forms share the cleaning.
  constexpr int kTexts = 100000;
  int compared = 0;
  int values = 0;
  int errors = 0;
  int mismatches = 0;
  std::vector<double> frame;
  std::vector<double> vars;
  while (compared < kTexts) {
    const auto& names = scopes[random.Pick(scopes.size())];
    const std::string text = random.Text(names);
    const formula::CleanResult clean = formula::CleanFormula(text);
    if (!clean.ok) continue;
    ++compared;
    vars.resize(names.size());
    for (double& v : vars) v = random.Value();
    const FormulaProgram program = FormulaProgram::Compile(clean.text, names);
    const Outcome expected = Read(clean.text, names, vars);
    const Outcome actual = RunProgram(program, frame, vars);
    (expected.ok ? values : errors) += 1;
    if (Same(expected, actual)) continue;
    if (++mismatches <= 10)
      ADD_FAILURE() << "text '" << clean.text << "': reader " << Describe(expected)
                    << ", compiled " << Describe(actual);
  }
  EXPECT_EQ(0, mismatches);
  // The texts must exercise values and errors alike.
  EXPECT_GT(values, kTexts / 5);
  EXPECT_GT(errors, kTexts / 5);
}

TEST(FormulaDifferential, BothEnginesAgreeThroughEveryEntryPoint) {
  CFormulaCalc reference(CFormulaCalc::Engine::kReference);
  CFormulaCalc compiled(CFormulaCalc::Engine::kCompiled);
  test::RandomFormula random(77);
  for (int i = 0; i < 3000; ++i) {
    static const std::vector<std::string> kNames{"u", "v", "a", "b", "c", "d"};
    const std::string text = random.Text(kNames);
    const CFormulaCalc::Params params{random.Value(), random.Value(), random.Value(),
                                      random.Value()};
    const double u = random.Value();
    const double v = random.Value();
    std::string textR = text;
    std::string textC = text;
    double resultR = -1;
    double resultC = -1;
    bool okR = false;
    bool okC = false;
    std::vector<double> tableR(5, -1);
    std::vector<double> tableC(5, -1);
    const std::size_t entry = random.Pick(6);
    switch (entry) {
      case 0:
        okR = reference.CheckOnRange(textR, u, v);
        okC = compiled.CheckOnRange(textC, u, v);
        break;
      case 1:
        okR = reference.CheckWithParams(textR, params);
        okC = compiled.CheckWithParams(textC, params);
        break;
      case 2:
        okR = reference.CalcWithParams(textR, &params, u, resultR);
        okC = compiled.CalcWithParams(textC, &params, u, resultC);
        break;
      case 3:
        okR = reference.Tabulate(textR, u, u + 2, tableR, 4, v);
        okC = compiled.Tabulate(textC, u, u + 2, tableC, 4, v);
        break;
      case 4:
        okR = reference.CheckUV(textR, u, v, params);
        okC = compiled.CheckUV(textC, u, v, params);
        break;
      default:
        okR = reference.CalcUV(textR, u, v, &params, resultR);
        okC = compiled.CalcUV(textC, u, v, &params, resultC);
        break;
    }
    SCOPED_TRACE("entry " + std::to_string(entry) + " text '" + text + "'");
    ASSERT_EQ(okR, okC);
    ASSERT_EQ(textR, textC);
    ASSERT_TRUE(SameBits(resultR, resultC));
    for (std::size_t k = 0; k < tableR.size(); ++k) ASSERT_TRUE(SameBits(tableR[k], tableC[k]));
    for (const char* name : {"u", "v", "a", "b", "c", "d"}) {
      const auto r = reference.Variable(name);
      const auto c = compiled.Variable(name);
      ASSERT_EQ(r.has_value(), c.has_value()) << name;
      if (r) {
        ASSERT_TRUE(SameBits(*r, *c)) << name;
      }
    }
  }
}

}  // namespace
}  // namespace tracemont
