#include "formula/formula_function.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "approx/func_params.h"
#include "formula/formula_calc.h"

namespace tracemont {
namespace {

FormulaCurve Family(std::string x, std::string y, double vMin, double vMax, double vStep) {
  FormulaCurve f;
  f.xText = std::move(x);
  f.yText = std::move(y);
  f.useV = true;
  f.vMin = vMin;
  f.vMax = vMax;
  f.vStep = vStep;
  return f;
}

std::vector<double> Ys(const std::vector<DotValue>& curve) {
  std::vector<double> ys;
  for (const DotValue& d : curve) ys.push_back(d.y);
  return ys;
}

TEST(FormulaParams, ADefaultFunctionPacksTextsRangeAndTrailingZeros) {
  const FuncParams p = BuildFormulaParams(FormulaCurve{});
  // Texts "u" and "u" (2 values each), the range triple: L = 7, n = 9.
  const FuncParams expected{100, 0, 9, 0, 0, 0, 0, 0, 0, 0,  //
                            1,   'u', 1, 'u', 0, 1, 0,       //
                            0,   0,   0};
  EXPECT_EQ(expected, p);
  EXPECT_TRUE(IsValidParams(p));
  EXPECT_FALSE(IsPointwise(p));
}

TEST(FormulaParams, AFamilyAddsItsTripleAndReadsBack) {
  FormulaCurve f = Family("u*cos(v)", "", -1, 2, 0.25);
  f.uMin = -3;
  f.uMax = 4.5;
  const FuncParams p = BuildFormulaParams(f);
  EXPECT_EQ(9 + 1 + 6 + 2, p[2]);  // texts 9 + 1 values, two triples, plus 2
  EXPECT_EQ(static_cast<std::size_t>(p[2]) + 11, p.size());
  const auto back = ReadFormulaParams(p);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ("u*cos(v)", back->xText);
  EXPECT_EQ("", back->yText);
  EXPECT_EQ(-3, back->uMin);
  EXPECT_EQ(4.5, back->uMax);
  EXPECT_TRUE(back->useV);
  EXPECT_EQ(-1, back->vMin);
  EXPECT_EQ(2, back->vMax);
  EXPECT_EQ(0.25, back->vStep);

  const auto single = ReadFormulaParams(BuildFormulaParams(FormulaCurve{}));
  ASSERT_TRUE(single.has_value());
  EXPECT_FALSE(single->useV);
}

TEST(FormulaParams, MalformedVectorsAreRejected) {
  const FuncParams good = BuildFormulaParams(FormulaCurve{});
  FuncParams otherMethod = good;
  otherMethod[0] = 90;
  FuncParams negativeText = good;
  negativeText[10] = -1;
  FuncParams textPastTheEnd = good;
  textPastTheEnd[10] = 50;
  FuncParams noRoomForTheRange = good;
  noRoomForTheRange[2] = 6;  // still valid, but p = 4 leaves only 2 values
  FuncParams tooShort = good;
  tooShort.pop_back();
  for (const FuncParams* p : {&otherMethod, &negativeText, &textPastTheEnd, &noRoomForTheRange,
                              &tooShort}) {
    EXPECT_FALSE(ReadFormulaParams(*p).has_value());
    std::vector<std::string> rows{"old"};
    EXPECT_EQ(0, DescribeFormulaFunction(*p, rows, 1));
    EXPECT_TRUE(rows.empty());
    std::vector<DotValue> curve(3);
    EXPECT_EQ(0, SampleFormulaCurve(*p, curve, 10));
    EXPECT_TRUE(curve.empty());
  }
}

TEST(FormulaDescription, ModeOneGivesTextsAndTwoDecimalValues) {
  FormulaCurve f;
  f.xText = "u";
  f.yText = "u^2";
  f.uMin = 0.123;
  f.uMax = 4.567;
  std::vector<std::string> rows;
  ASSERT_EQ(8, DescribeFunction(BuildFormulaParams(f), rows, 1));
  EXPECT_EQ((std::vector<std::string>{"x=u; y=u^2", "u", "u^2", "  0.12", "  4.57", "  0.00",
                                      "  0.00", "  0.00"}),
            rows);

  f.useV = true;
  f.vMin = 1;
  f.vMax = 0;
  f.vStep = -0.25;
  ASSERT_EQ(11, DescribeFunction(BuildFormulaParams(f), rows, 1));
  EXPECT_EQ("  1.00", rows[6]);
  EXPECT_EQ("  0.00", rows[7]);
  EXPECT_EQ(" -0.25", rows[8]);
}

TEST(FormulaDescription, ModeZeroLabelsEveryValueFromFour) {
  FormulaCurve f;
  f.uMin = 0.123;
  f.uMax = 4.567;
  std::vector<std::string> rows;
  ASSERT_EQ(10, DescribeFunction(BuildFormulaParams(f), rows, 0));
  EXPECT_EQ((std::vector<std::string>{"4", "0.123", "5", "4.567", "6", "   0", "7", "   0", "8",
                                      "   0"}),
            rows);
}

TEST(FormulaFamily, CurveCountFollowsTheStepInEitherDirection) {
  struct Row {
    bool useV;
    double vMin, vMax, vStep;
    int curves;
  };
  const Row rows[] = {
      {false, 0, 1, 0.5, 1},
      {true, 0, 1, 0.5, 3},
      {true, 1, 0, -0.25, 5},
      {true, 0, 1, -0.25, 5},
      {true, 0, 1, 0.3, 4},
      {true, 0, 1, -0.3, 4},  // the same four curves as with +0.3
      {true, 0, 1, 0, 1},
      {true, 0, 0.4, 0.5, 1},
      {true, 0, 1e300, 1e-300, kMaxFormulaCurves},
  };
  for (const Row& r : rows) {
    FormulaCurve f;
    f.useV = r.useV;
    f.vMin = r.vMin;
    f.vMax = r.vMax;
    f.vStep = r.vStep;
    EXPECT_EQ(r.curves, CountCurves(BuildFormulaParams(f)))
        << r.vMin << ".." << r.vMax << " step " << r.vStep;
  }
  EXPECT_EQ(1, CountCurves(FuncParams{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

class FormulaSampling : public ::testing::Test {
 protected:
  CFormulaCalc calc;
};

TEST_F(FormulaSampling, TheDefaultFunctionDrawsTheDiagonalUpToTheEndOfTheRange) {
  FormulaCurve f;
  f.uMin = -2;
  f.uMax = 3;
  std::vector<DotValue> curve;
  ASSERT_EQ(101, SampleFormulaCurve(BuildFormulaParams(f), curve, 100, calc));
  for (const DotValue& d : curve) EXPECT_EQ(d.x, d.y);
  EXPECT_EQ(-2, curve.front().x);
  EXPECT_EQ(3, curve.back().x);
  EXPECT_EQ(0, curve.back().z);
}

TEST_F(FormulaSampling, TheDispatcherSamplesMethod100WhateverTheCorners) {
  FormulaCurve f;
  f.xText = "cos(u)";
  f.yText = "sin(u)";
  f.uMax = 2 * 3.141592653589793;
  std::vector<DotValue> curve;
  ASSERT_EQ(5, SampleCurve(BuildFormulaParams(f), DotValue(7, 7), DotValue(8, 8), curve, 4, true,
                           0, 0));
  EXPECT_NEAR(0, curve[1].x, 1e-15);
  EXPECT_EQ(1, curve[1].y);
  EXPECT_NEAR(1, curve[4].x, 1e-15);
}

TEST_F(FormulaSampling, AFamilyGivesOneCurvePerV) {
  const FuncParams p = BuildFormulaParams(Family("u", "v", 1, 0, -0.25));
  std::vector<DotValue> curve;
  ASSERT_EQ(5 * 3, SampleFormulaCurve(p, curve, 2, calc));
  EXPECT_EQ((std::vector<double>{0, 0, 0, 0.25, 0.25, 0.25, 0.5, 0.5, 0.5, 0.75, 0.75, 0.75, 1, 1,
                                 1}),
            Ys(curve));
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(0, curve[3 * k].x);
    EXPECT_EQ(1, curve[3 * k + 2].x);
  }
  const auto lines = CurvePolylines(p, curve.size());
  ASSERT_EQ(5u, lines.size());
  EXPECT_EQ(std::make_pair(std::size_t{0}, std::size_t{3}), lines.front());
  EXPECT_EQ(std::make_pair(std::size_t{12}, std::size_t{15}), lines.back());
}

TEST_F(FormulaSampling, AStepOfZeroOrLongerThanTheRangeDrawsOneCurveAtVZero) {
  for (const double step : {0.0, 2.0}) {
    const FuncParams p = BuildFormulaParams(Family("u", "v+1", 3, 4, step));
    std::vector<DotValue> curve;
    ASSERT_EQ(3, SampleFormulaCurve(p, curve, 2, calc));
    EXPECT_EQ((std::vector<double>{1, 1, 1}), Ys(curve));
    EXPECT_EQ(1u, CurvePolylines(p, curve.size()).size());
  }
}

TEST_F(FormulaSampling, FailedPointsAreZeroAndUncleanTextsGiveNoPoints) {
  FormulaCurve f;
  f.xText = "1/u";
  std::vector<DotValue> curve;
  ASSERT_EQ(3, SampleFormulaCurve(BuildFormulaParams(f), curve, 2, calc));
  EXPECT_EQ(0, curve[0].x);
  EXPECT_EQ(2, curve[1].x);

  f.xText = "sin(u";
  EXPECT_EQ(0, SampleFormulaCurve(BuildFormulaParams(f), curve, 2, calc));
  EXPECT_TRUE(curve.empty());
  f.xText = "u";
  EXPECT_EQ(0, SampleFormulaCurve(BuildFormulaParams(f), curve, 0, calc));
}

TEST_F(FormulaSampling, ParameterLettersAreBadSymbolsInFormulaFunctions) {
  CFormulaCalc& shared = calc;
  double result = 0;
  std::string text = "a";
  const CFormulaCalc::Params params{5, 5, 5, 5};
  ASSERT_TRUE(shared.CalcUV(text, 0, 0, &params, result));  // a is now in the table
  FormulaCurve f;
  f.yText = "a*u";
  std::vector<DotValue> curve;
  ASSERT_EQ(3, SampleFormulaCurve(BuildFormulaParams(f), curve, 2, calc));
  EXPECT_EQ((std::vector<double>{0, 0, 0}), Ys(curve));
}

TEST(FormulaPolylines, AnythingButAnEvenFamilyIsOneLine) {
  const FuncParams family = BuildFormulaParams(Family("u", "v", 0, 1, 0.5));
  EXPECT_TRUE(CurvePolylines(family, 0).empty());
  EXPECT_EQ((std::vector<std::pair<std::size_t, std::size_t>>{{0, 7}}), CurvePolylines(family, 7));
  EXPECT_EQ((std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {2, 4}, {4, 6}}),
            CurvePolylines(family, 6));
  const FuncParams line{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 2};
  EXPECT_EQ((std::vector<std::pair<std::size_t, std::size_t>>{{0, 100}}), CurvePolylines(line, 100));
}

TEST(FormulaValidation, ReportsEachFailingTextWithItsName) {
  CFormulaCalc calc;
  EXPECT_EQ("", ValidateFormulaCurve(calc, "u", "sin(u)", 0, 1));
  EXPECT_EQ("Check strings, please. Possible errors are:\n\nDivision by Zero in X(u)",
            ValidateFormulaCurve(calc, "u/v", "u", 0, 1));
  EXPECT_EQ(
      "Check strings, please. Possible errors are:\n\nBad symbol 'q' in expression in X(u)"
      "\nBad symbol 'a' in expression in Y(u)",
      ValidateFormulaCurve(calc, "q", "a*u", 0, 1));
  EXPECT_EQ(
      "Check strings, please. Possible errors are:\n\nFormula longer than 255 characters in Y(u)",
      ValidateFormulaCurve(calc, "u", std::string(256, '1'), 0, 1));
}

}  // namespace
}  // namespace tracemont
