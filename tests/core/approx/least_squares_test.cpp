// The shared machinery: vector validity, packed texts, statistics, the
// linear solver, the polynomial normal equations and the line from sums.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/fit_core.h"
#include "approx/func_params.h"

namespace tracemont {
namespace {

TEST(FuncParamsValidity, NeedsTenEntriesAndNPlusEleven) {
  struct Case {
    std::size_t size;
    double n;
    bool valid;
  };
  for (const Case& c : {Case{9, 0, false}, Case{10, 0, false}, Case{11, 0, true},
                        Case{15, 5, false}, Case{16, 5, true}, Case{12, -3, true},
                        Case{12, 1e300, false}, Case{12, std::nan(""), true}}) {
    FuncParams p(c.size, 0.0);
    if (p.size() > 2) p[2] = c.n;
    EXPECT_EQ(IsValidParams(p), c.valid) << c.size << " entries, n = " << c.n;
  }
}

TEST(PackedText, StoresLengthThenSignedBytesAndReadsBack) {
  FuncParams p;
  EXPECT_EQ(PackText("a\xE9", p), 3);
  EXPECT_EQ(p, (FuncParams{2, 97, -23}));
  int length = 0;
  EXPECT_EQ(UnpackText(p, 0, &length), "a\xE9");
  EXPECT_EQ(length, 2);

  EXPECT_EQ(UnpackText(FuncParams{-1, 65}, 0, &length), "");
  EXPECT_EQ(length, -1);
  // A length past the end reads what is there instead of running off.
  EXPECT_EQ(UnpackText(FuncParams{5, 65, 66}, 0), "AB");
}

TEST(Statistics, OnePointHasNoSpreadAndNoCorrelation) {
  CApprox approx;
  EXPECT_EQ(approx.ComputeStats({DotValue(2, 3, 4)}), 0.0);
  EXPECT_EQ(approx.GetStat(3, 0), 2.0);
  EXPECT_EQ(approx.GetStat(4, 1), 0.0);
  EXPECT_EQ(approx.GetStat(9, 1), 0.0);
  EXPECT_EQ(approx.GetStat(0, 7), 4.0);  // the axis is clamped to Z
}

TEST(Statistics, PopulationDeviationAndCorrelation) {
  CApprox approx;
  const double r = approx.ComputeStats({DotValue(0, 0), DotValue(1, 2), DotValue(2, 4)});
  EXPECT_DOUBLE_EQ(r, 1.0);
  EXPECT_DOUBLE_EQ(approx.deviation[0], std::sqrt(2.0 / 3.0));
  std::vector<std::string> rows;
  EXPECT_EQ(approx.StatRows(stat::kMiddle, rows), 4);
  EXPECT_EQ(rows, (std::vector<std::string>{"(Min+Max)/2", "   1", "   2", "   0"}));
  EXPECT_EQ(approx.StatRows(8, rows), 0);
  EXPECT_TRUE(rows.empty());
}

TEST(SolveLinear, SolvesWithoutPivotingAndLetsAZeroPivotThrough) {
  // 2x + y = 5, x + 3y = 10 -> x = 1, y = 3
  std::vector<double> m = {2, 1, 5, 1, 3, 10};
  std::vector<double> x;
  ASSERT_TRUE(SolveLinear(1, m, x));
  EXPECT_NEAR(x[0], 1.0, 1e-15);
  EXPECT_NEAR(x[1], 3.0, 1e-15);

  // A zero first pivot is not swapped away: the result is not finite.
  std::vector<double> zero = {0, 1, 1, 1, 0, 1};
  ASSERT_TRUE(SolveLinear(1, zero, x));
  EXPECT_FALSE(std::isfinite(x[0]) && std::isfinite(x[1]));

  std::vector<double> wrongSize = {1, 2, 3};
  EXPECT_FALSE(SolveLinear(1, wrongSize, x));
  EXPECT_FALSE(SolveLinear(-1, wrongSize, x));
}

TEST(FitPolynomial, ReproducesAPolynomialThroughExactPoints) {
  // v = 1 - 2u + 0.5u^2 + 0.25u^3 on 6 points, scaled by the range width.
  std::vector<double> u, v, w;
  for (int i = 0; i < 6; ++i) {
    const double x = -2 + i * 1.5;
    u.push_back(x);
    v.push_back(1 - 2 * x + 0.5 * x * x + 0.25 * x * x * x);
    w.push_back(1.0);
  }
  std::vector<double> coef;
  ASSERT_TRUE(FitPolynomial(7.5, u, v, w, 3, coef));
  const double expected[] = {1, -2, 0.5, 0.25};
  ASSERT_EQ(coef.size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(coef[k], expected[k], 1e-12) << "coefficient " << k;
  EXPECT_FALSE(FitPolynomial(1, u, v, w, -1, coef));
}

TEST(RegressLine, FitsALineAndFallsBackToTheMeanWhenSingular) {
  LineSums sums;
  for (double t : {0.0, 1.0, 2.0}) sums.Add(t, 3 + 2 * t);
  const LineFit line = RegressLine(sums);
  EXPECT_DOUBLE_EQ(line.a0, 3.0);
  EXPECT_DOUBLE_EQ(line.a1, 2.0);

  LineSums one;
  one.Add(5, 7);
  EXPECT_EQ(RegressLine(one).a0, 7.0);
  EXPECT_EQ(RegressLine(one).a1, 0.0);
  EXPECT_EQ(RegressLine(LineSums{}).a0, 0.0);
}

}  // namespace
}  // namespace tracemont
