#include "formula/formula_calc.h"

#include <gtest/gtest.h>
#include <math.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "formula/formula_program.h"
#include "formula/formula_syntax.h"

namespace tracemont {
namespace {

using Engine = CFormulaCalc::Engine;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.141592653589793;

// One text evaluated by CheckUV/CalcUV at u (v = 0.5, a..d = 1, 2, 3, 4).
// An empty message means the value is expected (within `tolerance`, exact
// when 0); otherwise the message is.
struct Case {
  std::string text;
  double u;
  double value;
  std::string message;
  double tolerance = 0.0;
};

std::string Value(std::string text, double u, double value) {
  return text + " u=" + std::to_string(u) + " -> " + std::to_string(value);
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      // Cleaning.
      {" \t 2 *  x \n", 3, 6, ""},
      {"u^2 = anything", 3, 9, ""},
      {"1+2=3", 0, 3, ""},
      {"2 3", 0, 23, ""},
      {"max(x,1)", 0.25, 1, ""},
      {"", 0, 0, "Empty string1"},
      {" \t\r\n\v\f", 0, 0, "Empty string1"},
      {"=u", 0, 0, "Empty string2"},
      {"  = u", 0, 0, "Empty string2"},
      {"(u", 0, 0, "Brackets disballance"},
      {"sin(u))=(", 0, 0, "Brackets disballance"},
      {")u(", 0, 0, "Syntax error"},
      // Signs, sums, terms and powers.
      {"1-u^2", 2, -3, ""},
      {"-2^2", 0, -4, ""},
      {"2^-1", 0, 0.5, ""},
      {"2*u^-1", 4, 0.5, ""},
      {"2*-3^2", 0, -18, ""},
      {"--2", 0, 2, ""},
      {"2*+-3", 0, -6, ""},
      {"a-b+c", 0, 2, ""},
      {"2*(1+1)^2", 0, 8, ""},
      {"2*exp(0)^3", 0, 2, ""},
      {"2*3^2^2", 0, 162, ""},
      {"2^3^2", 0, 64, ""},
      {"2^-3^2", 0, 1.0 / 64, ""},
      {"-7%3", 0, -1, ""},
      {"7%-3", 0, 1, ""},
      {"1/1e-300", 0, 1e300, "", 1e285},
      {"7%0", 0, 0, "Division by Zero"},
      {"1/0", 0, 0, "Division by Zero"},
      {"1/(u-u)", 2, 0, "Division by Zero"},
      {"1/-0", 0, 0, "Division by Zero"},
      {"1+", 0, 0, "Syntax error"},
      {"u*", 0, 0, "Syntax error"},
      {"2u", 0, 0, "Unexpected symbol 'u'"},
      {"uv", 0, 0, "Unexpected symbol 'v'"},
      {"2(3)", 0, 0, "Unexpected symbol '('"},
      // Numbers.
      {"2e", 0, 2, ""},
      {"2e+u", 0, 0, "Unexpected symbol 'u'"},
      {".5", 0, 0.5, ""},
      {".", 0, 0, ""},
      {"1.5e3", 0, 1500, ""},
      {"1E-2", 0, 0.01, ""},
      {"1e999", 0, kInf, ""},
      {"1.5.3", 0, 0, "Unexpected symbol '.'"},
      // Names, constants and bad symbols.
      {"SIN(0)", 0, 0, ""},
      {"Cos(0)", 0, 1, ""},
      {"PI", 0, kPi, ""},
      {"pi/2", 0, kPi / 2, ""},
      {"e", 0, 2.718281828459045, ""},
      {"E", 0, 0, "Bad symbol 'E' in expression"},
      {"X", 0, 0, "Bad symbol 'X' in expression"},
      {"sinu", 0, 0, "Bad symbol 'sinu' in expression"},
      {"foo(1)", 0, 0, "Bad symbol 'foo(1' in expression"},
      {"pi(2)", 0, 0, "Bad symbol 'pi(2' in expression"},
      {"pie", 0, 0, "Bad symbol 'pie' in expression"},
      {"e2", 0, 0, "Bad symbol 'e2' in expression"},
      {"ex", 0, 0, "Bad symbol 'ex' in expression"},
      {"!3", 0, 0, "Bad symbol '!3' in expression"},
      {"w", 0, 0, "Bad symbol 'w' in expression"},
      {std::string(50, 'q'), 0, 0,
       "Bad symbol '" + std::string(40, 'q') + "...' in expression"},
      // Functions and their arguments.
      {"max(1,2,3)", 0, 0, "Unexpected symbol ','"},
      {"sin(1,2)", 0, 0, "Unexpected symbol ','"},
      {"pow(2)", 0, 0, "In binary operator comma ',' missed"},
      {"pow((2,3))", 0, 0, "In binary operator comma ',' missed"},
      {"pow(1/0)", 0, 0, "In binary operator comma ',' missed"},
      {"pow(,2)", 0, 0, "Syntax error"},
      {"sin()", 0, 0, "Syntax error"},
      {"pow(2,(1+2))", 0, 8, ""},
      {"max(1,2)", 0, 2, ""},
      {"max(2,1)", 0, 2, ""},
      {"min(1,2)", 0, 1, ""},
      {"min(2,1)", 0, 1, ""},
      {"abs(-3)", 0, 3, ""},
      {"sqrt(-1)", 0, kNaN, ""},
      {"ln(0)", 0, -kInf, ""},
      {"log(1000)", 0, 3, ""},
      {"exp(1)", 0, std::exp(1.0), ""},
      {"asin(2)", 0, kNaN, ""},
      {"int(-2.5)", 0, -2, ""},
      {"int(2.5)", 0, 2, ""},
      {"!(3.9)", 0, 6, ""},
      {"!(0.5)", 0, 1, ""},
      {"!(0)", 0, 1, ""},
      {"!(170)", 0, 7.257415615307994e306, "", 1e293},
      {"!(1e300)", 0, kInf, ""},
      {"!(-1)", 0, 0, "Factorial: negative values"},
      {"gamma(1)", 0, 0, "Gamma: value <= 1"},
      {"gamma(2)", 0, 0.99996, "", 1e-5},
      {"gamma(7)", 0, 720, "", 1.0},
      {"gamma(5)", 0, 24, "", 0.05},
      {"gamma(1000)", 0, kInf, ""},
      {"beta(2,3)", 0, 1.0 / 12, "", 1e-3},
      {"beta(1,3)", 0, 0, "Beta: value <= 1"},
      {"beta(3,1)", 0, 0, "Beta: value <= 1"},
      {"normal(0,1)", 0, 1 / std::sqrt(2 * kPi), ""},
      {"normal(2,1)", 0, std::exp(-1.0) / std::sqrt(2 * kPi), "", 1e-15},
      {"besselj0(0)", 0, 1, ""},
      {"besseljn(2.7, 1)", 0, jn(2, 1.0), ""},
      {"besselyn(1, 2)", 0, yn(1, 2.0), ""},
      {"besseljn(1e9, 1)", 0, kNaN, ""},
      // The first error in reading order wins.
      {"1/0+foo", 0, 0, "Division by Zero"},
      {"u/0*foo", 1, 0, "Division by Zero"},
      {"foo+1/0", 0, 0, "Bad symbol 'foo' in expression"},
      {"gamma(u)+q", 0, 0, "Gamma: value <= 1"},
      {"max(1/0,!(-1))", 0, 0, "Division by Zero"},
      {"max(q,1/0)", 0, 0, "Bad symbol 'q' in expression"},
  };
  return cases;
}

class FormulaCalcTest : public ::testing::TestWithParam<Engine> {
 protected:
  CFormulaCalc calc{GetParam()};
  const CFormulaCalc::Params params{1, 2, 3, 4};
};

void ExpectSameDouble(double expected, double actual, double tolerance, const std::string& what) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << what;
  } else if (tolerance > 0) {
    EXPECT_NEAR(expected, actual, tolerance) << what;
  } else {
    EXPECT_EQ(expected, actual) << what;
  }
}

TEST_P(FormulaCalcTest, EveryCaseGivesItsValueOrItsMessage) {
  for (const Case& c : Cases()) {
    std::string checked = c.text;
    const bool checkOk = calc.CheckUV(checked, c.u, 0.5, params);
    std::string computed = c.text;
    double result = -12345;
    const bool calcOk = calc.CalcUV(computed, c.u, 0.5, &params, result);
    if (!c.message.empty()) {
      EXPECT_FALSE(checkOk) << c.text;
      EXPECT_EQ(c.message, checked) << c.text;
      EXPECT_FALSE(calcOk) << c.text;
      EXPECT_EQ(-12345, result) << c.text;
      continue;
    }
    EXPECT_TRUE(checkOk) << c.text << " -> " << checked;
    ASSERT_TRUE(calcOk) << c.text;
    ExpectSameDouble(c.value, result, c.tolerance, Value(c.text, c.u, result));
  }
}

TEST_P(FormulaCalcTest, SuccessfulCallsLeaveTheCleanedTextInTheBuffer) {
  std::string text = "  2 * x = y ";
  ASSERT_TRUE(calc.CheckOnRange(text, 0, 1));
  EXPECT_EQ("2*u", text);
  text = "max( x , exp(x) )";
  double result = 0;
  ASSERT_TRUE(calc.CalcUV(text, 1, 0, &params, result));
  EXPECT_EQ("max(u,exp(u))", text);
}

TEST_P(FormulaCalcTest, FailedCalculationsWriteNoMessage) {
  std::string text = "1/0 ";
  double result = 7;
  EXPECT_FALSE(calc.CalcWithParams(text, &params, 1, result));
  EXPECT_EQ("1/0", text);  // cleaned, no message
  EXPECT_EQ(7, result);
  text = " (u";
  EXPECT_FALSE(calc.CalcUV(text, 1, 1, &params, result));
  EXPECT_EQ(" (u", text);  // cleaning failed: untouched
}

TEST_P(FormulaCalcTest, AbsentParametersFailAtOnce) {
  std::string text = "u";
  double result = 7;
  EXPECT_FALSE(calc.CalcWithParams(text, nullptr, 1, result));
  EXPECT_FALSE(calc.CalcUV(text, 1, 1, nullptr, result));
  EXPECT_EQ(7, result);
  EXPECT_FALSE(calc.Variable("u").has_value());
}

TEST_P(FormulaCalcTest, EachEntryPointSeesOnlyTheVariablesItSets) {
  double result = 0;
  std::string text = "a+b+c+d+u";
  ASSERT_TRUE(calc.CalcWithParams(text, &params, 5, result));
  EXPECT_EQ(15, result);
  text = "v";
  EXPECT_FALSE(calc.CheckWithParams(text, params));
  EXPECT_EQ("Bad symbol 'v' in expression", text);

  // The table now holds a..d, yet a formula curve's texts may not use them.
  text = "a*u";
  EXPECT_FALSE(calc.CheckOnRange(text, 0, 1));
  EXPECT_EQ("Bad symbol 'a' in expression", text);
  std::vector<double> values(3);
  text = "a*u";
  ASSERT_TRUE(calc.Tabulate(text, 0, 1, values, 2, 0));
  EXPECT_EQ(std::vector<double>({0, 0, 0}), values);

  text = "u*v+a+b+c+d";
  ASSERT_TRUE(calc.CalcUV(text, 2, 3, &params, result));
  EXPECT_EQ(16, result);
}

TEST_P(FormulaCalcTest, VariablesAreRestoredAfterSuccessAndKeptAfterFailure) {
  double result = 0;
  std::string text = "u/v";
  ASSERT_TRUE(calc.CalcUV(text, 5, 2, &params, result));
  EXPECT_EQ(2.5, result);
  // First use: inserted as 0, saved as 0 and put back.
  EXPECT_EQ(0, calc.Variable("u"));
  EXPECT_EQ(0, calc.Variable("v"));
  EXPECT_EQ(0, calc.Variable("d"));
  EXPECT_FALSE(calc.Variable("w").has_value());

  text = "u/v";
  EXPECT_FALSE(calc.CalcUV(text, 7, 0, &params, result));
  EXPECT_EQ(7, calc.Variable("u"));
  EXPECT_EQ(4, calc.Variable("d"));

  text = "u";
  const CFormulaCalc::Params zeros{};
  ASSERT_TRUE(calc.CalcUV(text, 3, 1, &zeros, result));
  EXPECT_EQ(3, result);
  EXPECT_EQ(7, calc.Variable("u"));
  EXPECT_EQ(4, calc.Variable("d"));
}

TEST_P(FormulaCalcTest, CheckOnRangeEvaluatesFourPointsAtVZero) {
  std::string text = "1/(u-0.5)";
  EXPECT_FALSE(calc.CheckOnRange(text, 0, 1.5));
  EXPECT_EQ("Division by Zero", text);
  EXPECT_EQ(0.5, calc.Variable("u"));  // the failing point, i = 1 of 0..3
  EXPECT_EQ(0, calc.Variable("v"));

  text = "1/(u-0.25)";
  EXPECT_TRUE(calc.CheckOnRange(text, 0, 1.5));
  text = "u/v";
  EXPECT_FALSE(calc.CheckOnRange(text, 1, 2));
  EXPECT_EQ("Division by Zero", text);
  text = "   ";
  EXPECT_FALSE(calc.CheckOnRange(text, 0, 1));
  EXPECT_EQ("Empty string1", text);
}

TEST_P(FormulaCalcTest, CheckWithParamsTakesUFromTheFifteenBitSource) {
  // The first value of the source is 41: u = 41 * 3.125e-5.
  std::string text = "1/(u-u)+a";
  EXPECT_FALSE(calc.CheckWithParams(text, params));
  EXPECT_EQ("Division by Zero", text);
  EXPECT_EQ(41 * 3.125e-5, calc.Variable("u"));
  EXPECT_EQ(1, calc.Variable("a"));
  for (int i = 0; i < 200; ++i) {
    text = "1/(u-u)";
    ASSERT_FALSE(calc.CheckWithParams(text, params));
    const double u = *calc.Variable("u");
    EXPECT_GE(u, 0.0);
    EXPECT_LT(u, 1.024);
  }
  calc.SeedRandom(1);
  text = "1/(u-u)";
  EXPECT_FALSE(calc.CheckWithParams(text, params));
  EXPECT_EQ(41 * 3.125e-5, calc.Variable("u"));
  text = "a*b*c*d*u^0";
  EXPECT_TRUE(calc.CheckWithParams(text, params));
  EXPECT_EQ("a*b*c*d*u^0", text);
}

TEST_P(FormulaCalcTest, TabulateFillsEveryPointAndZeroesFailedOnes) {
  std::vector<double> values(5, -1);
  std::string text = "1/u";
  ASSERT_TRUE(calc.Tabulate(text, 0, 1, values, 4, 0));
  EXPECT_EQ(std::vector<double>({0, 4, 2, 1.0 / 0.75, 1}), values);

  text = "u*v";
  ASSERT_TRUE(calc.Tabulate(text, -1, 1, values, 4, 2));
  EXPECT_EQ(std::vector<double>({-2, -1, 0, 1, 2}), values);
  EXPECT_EQ(0, calc.Variable("u"));  // restored

  std::vector<double> untouched(5, -1);
  text = "u";
  EXPECT_FALSE(calc.Tabulate(text, 0, 1, untouched, 0, 0));
  EXPECT_FALSE(calc.Tabulate(text, 0, 1, {}, 4, 0));
  EXPECT_FALSE(calc.Tabulate(text, 0, 1, std::span<double>(untouched).first(4), 4, 0));
  text = "(u";
  EXPECT_FALSE(calc.Tabulate(text, 0, 1, untouched, 4, 0));
  EXPECT_EQ("(u", text);
  EXPECT_EQ(std::vector<double>(5, -1), untouched);
}

TEST_P(FormulaCalcTest, TextsLongerThanTheLimitAreRefusedWhole) {
  std::string text = "1";
  for (int i = 0; i < 2500; ++i) text += "+1";  // 5001 characters
  std::string copy = text;
  EXPECT_FALSE(calc.CheckOnRange(copy, 0, 1));
  EXPECT_EQ("Formula longer than 5000 characters", copy);
  text.resize(4999);  // 2500 ones: within the limit
  double result = 0;
  ASSERT_TRUE(calc.CalcUV(text, 0, 0, &params, result));
  EXPECT_EQ(2500, result);
  // What follows "=" is not part of the formula and may be long.
  text = "u=" + std::string(6000, 'z');
  EXPECT_TRUE(calc.CheckOnRange(text, 0, 1));
}

TEST_P(FormulaCalcTest, DeepNestingWithinTheLimitIsRead) {
  const std::string deep = std::string(2499, '(') + "u" + std::string(2499, ')');
  std::string text = deep;
  double result = 0;
  ASSERT_TRUE(calc.CalcUV(text, 3, 0, &params, result));
  EXPECT_EQ(3, result);
  std::string functions;
  for (int i = 0; i < 900; ++i) functions += "abs(";
  functions += "-u" + std::string(900, ')');
  ASSERT_TRUE(calc.CalcUV(functions, 3, 0, &params, result));
  EXPECT_EQ(3, result);
}

TEST_P(FormulaCalcTest, TextEndsAtItsFirstNulByte) {
  std::string text = std::string("u+1\0garbage", 11);
  double result = 0;
  ASSERT_TRUE(calc.CalcUV(text, 1, 0, &params, result));
  EXPECT_EQ(2, result);
  EXPECT_EQ("u+1", text);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, FormulaCalcTest,
                         ::testing::Values(Engine::kCompiled, Engine::kReference),
                         [](const auto& info) {
                           return info.param == Engine::kCompiled ? "Compiled" : "Reference";
                         });

TEST(FormulaCalcCache, CompiledTextsAreKeptPerTextAndScope) {
  CFormulaCalc calc;
  const CFormulaCalc::Params params{};
  double result = 0;
  for (int i = 0; i < 3; ++i) {
    std::string text = "u+1";
    ASSERT_TRUE(calc.CalcUV(text, i, 0, &params, result));
    text = "u+1";
    ASSERT_TRUE(calc.CalcWithParams(text, &params, i, result));
  }
  EXPECT_EQ(2u, calc.CachedPrograms());
  for (int i = 0; i < 1000; ++i) {
    std::string text = "u+" + std::to_string(i);
    ASSERT_TRUE(calc.CalcUV(text, 1, 0, &params, result));
    EXPECT_EQ(1 + i, result);
  }
  EXPECT_LE(calc.CachedPrograms(), CFormulaCalc::kCacheCapacity);
}

TEST(FormulaCalcCache, SwitchingEnginesKeepsResults) {
  CFormulaCalc calc;
  const CFormulaCalc::Params params{};
  double compiled = 0;
  double reference = 0;
  std::string text = "sin(u)*2";
  ASSERT_TRUE(calc.CalcUV(text, 0.3, 0, &params, compiled));
  calc.SetEngine(CFormulaCalc::Engine::kReference);
  ASSERT_TRUE(calc.CalcUV(text, 0.3, 0, &params, reference));
  calc.SetEngine(CFormulaCalc::Engine::kCompiled);
  ASSERT_TRUE(calc.CalcUV(text, 0.3, 0, &params, compiled));
  EXPECT_EQ(reference, compiled);
}

TEST(FormulaProgram, ConstantPartsAreComputedWhenCompiled) {
  const std::vector<std::string> names{"u"};
  EXPECT_EQ(0u, formula::FormulaProgram::Compile("2*pi+sin(1)-!(3)", names).Size());
  // Negations are folded into the sum: 2*sin(u)+u^2/(1+abs(u))-exp(-u)
  // needs sin, mul, pow, abs, add, div, neg, exp, sub, add.
  EXPECT_EQ(10u, formula::FormulaProgram::Compile("2*sin(u)+u^2/(1+abs(u))-exp(-u)", names).Size());
}

TEST(FormulaProgram, LongestVariableNameWins) {
  const std::vector<std::string> names{"u", "uv", "pi"};
  const std::vector<double> values{1, 10, 100};
  const auto program = formula::FormulaProgram::Compile("uv+u+pi", names);
  std::vector<double> frame;
  program.PrepareFrame(frame);
  std::copy(values.begin(), values.end(), frame.begin());
  double result = 0;
  ASSERT_EQ(nullptr, program.Run(frame.data(), result));
  EXPECT_EQ(111, result);
}

}  // namespace
}  // namespace tracemont
