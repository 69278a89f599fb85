// Logistic functions and Fourier series against the functions they were
// generated from.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/fourier.h"
#include "approx/func_params.h"

namespace tracemont {
namespace {

FuncParams Fit(int id, int n, const std::vector<DotValue>& points) {
  CApprox approx;
  FuncParams p{static_cast<double>(id), 0, static_cast<double>(n)};
  approx.FitFunction(points, p, {});
  return p;
}

TEST(Logistic, RecoversTheParametersOfBothFormsAndIgnoresTheValueExtremes) {
  struct Case {
    int id;
    double vmin, vmax, a0, a1;
  };
  for (const Case& c : {Case{50, 1, 5, -2, 0.5}, Case{51, 2, 0, 0.5, -1.5}}) {
    const auto f = [&](double u) {
      return c.id == 50 ? c.vmin + (c.vmax - c.vmin) / (std::exp(c.a0 + c.a1 * u) + 1)
                        : c.vmin + std::exp(c.a0 + c.a1 * std::exp(-u));
    };
    std::vector<DotValue> points;
    for (int i = 0; i <= 10; ++i) points.emplace_back(i * 0.8, f(i * 0.8), 0.0);
    // Points at the asymptotes set the value range and are not used.
    points.emplace_back(30, c.vmin, 0.0);
    if (c.id == 50) points.emplace_back(-30, c.vmax, 0.0);
    const FuncParams p = Fit(c.id, 1, points);
    ASSERT_EQ(p[0], c.id);
    ASSERT_EQ(p[2], 9);
    ASSERT_EQ(p.size(), 21u);
    EXPECT_EQ(p[10], 11);  // points used
    EXPECT_EQ(p[15], c.id == 50 ? 0 : 1);
    EXPECT_NEAR(p[16], c.a0, 1e-9) << c.id;
    EXPECT_NEAR(p[17], c.a1, 1e-9) << c.id;
    EXPECT_NEAR(EvalFunction(p, 3.3), f(3.3), 1e-9) << c.id;
  }
}

TEST(Logistic, OneUsablePointGivesAZeroSlope) {
  const FuncParams p = Fit(50, 1, {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}});
  ASSERT_EQ(p[0], 50);
  EXPECT_EQ((FuncParams(p.begin() + 10, p.begin() + 20)), (FuncParams{1, 0, 2, 0, 2, 0, 0, 0, 0, 0}));
}

TEST(Logistic, TextsPrintTheEvaluatedFormulaWithAxisNames) {
  FuncParams p{51, 0, 9, 0, 0, 1, 1, 0.25, 0, 0, 5, 0, 1, 2, 9, 1, 0.5, -0.5, 0, 0};
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows[0], "Logistic ln(Y-2.000000) = 0.500000 - 0.500000*exp(-X)");
  EXPECT_EQ(rows[1], "0.25");
  p[15] = 0;
  p[1] = 1;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows[0], "Logistic X = 2.000000 + 7.000000/(1 + exp(0.500000+-0.500000*Y))");
  DescribeFunction(p, rows, 0);
  ASSERT_EQ(rows.size(), 18u);
  EXPECT_EQ(rows[16], "8");
  p[15] = 7;  // an unknown form evaluates to 0
  EXPECT_EQ(EvalFunction(p, 1.0), 0.0);
}

TEST(Fourier, RecoversTheCoefficientsOfAKnownSeries) {
  const double omega = 2 * kFivePlacePi / 10.0;
  const auto f = [&](double u) {
    return 3 + 1.5 * std::cos(omega * u) - 0.7 * std::sin(omega * u) +
           0.4 * std::cos(2 * omega * u) + 0.2 * std::sin(2 * omega * u);
  };
  std::vector<DotValue> points;
  for (int i = 0; i <= 40; ++i) points.emplace_back(i * 0.25, f(i * 0.25), 0.0);
  const FuncParams p = Fit(60, 2, points);
  ASSERT_EQ(p[0], 60);
  ASSERT_EQ(p[2], 11);
  ASSERT_EQ(p.size(), 23u);
  const double centre = (p[13] + p[14]) / 2;
  EXPECT_NEAR(centre + p[16], 3.0, 1e-9);
  const double expected[] = {1.5, -0.7, 0.4, 0.2};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(p[17 + i], expected[i], 1e-9) << i;
  EXPECT_EQ(p[21], 0.0);
  EXPECT_NEAR(EvalFunction(p, 7.1), f(7.1), 1e-9);
  EXPECT_NEAR(p[7], 0.0, 1e-9);

  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Fourier approximation on 2 harmonics", "-"}));
  DescribeFunction(p, rows, 0);
  ASSERT_EQ(rows.size(), 14u);  // i = 4 .. n - 1
  EXPECT_EQ(rows[0], "4");
  EXPECT_EQ(rows[1], "   0");  // c_0
  EXPECT_EQ(rows[12], "10");
}

TEST(Fourier, HarmonicsAreLimitedAndZeroHarmonicsGiveTheConstant) {
  std::vector<DotValue> points;
  for (int i = 0; i < 30; ++i) points.emplace_back(i, std::sin(i * 0.3), 0.0);
  EXPECT_EQ(Fit(60, 9, points)[15], 5);  // k
  EXPECT_EQ(Fit(60, 9, points)[2], 17);
  EXPECT_EQ(Fit(60, -1, points)[0], 0);
  // A block claiming more harmonics than it holds evaluates to 0.
  FuncParams p = Fit(60, 1, points);
  p[15] = 40;
  EXPECT_EQ(EvalFunction(p, 1.0), 0.0);
}

}  // namespace
}  // namespace tracemont
