// The regression line in its five forms and the "Best" choice.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "approx/approx.h"
#include "approx/func_params.h"
#include "approx/regression.h"

namespace tracemont {
namespace {

std::vector<DotValue> Sampled(const std::function<double(double)>& f, double from, double to,
                              int count) {
  std::vector<DotValue> out;
  for (int i = 0; i < count; ++i) {
    const double x = from + (to - from) * i / (count - 1);
    out.emplace_back(x, f(x), 0.0);
  }
  return out;
}

FuncParams Fit(int id, int degree, const std::vector<DotValue>& points) {
  CApprox approx;
  FuncParams p{static_cast<double>(id), 0, static_cast<double>(degree)};
  approx.FitFunction(points, p, {});
  return p;
}

std::string Text(const FuncParams& p) {
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  return rows.empty() ? "" : rows[0];
}

TEST(RegressionForms, RecoverTheCoefficientsOfExactDataAndPrintThemPadded) {
  struct Case {
    int id;
    int degree;
    std::function<double(double)> f;
    std::vector<double> coefficients;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, 2, [](double x) { return 2.5 + 0.5 * x - 0.01 * x * x; }, {2.5, 0.5, -0.01},
       "Y =  2.5 +  0.5*X - 0.01*X^2"},
      {2, 1, [](double x) { return 4 + 3 / x; }, {4, 3}, "Y =    4 +    3*1/X"},
      {4, 1, [](double x) { return 1 - 2 * std::log(x); }, {1, -2}, "Y =    1 -    2*ln(X)"},
      {6, 1, [](double x) { return std::exp(0.3 + 1.2 * std::log(x)); }, {0.3, 1.2},
       "ln(Y) =  0.3 +  1.2*ln(X)"},
      {8, 1, [](double x) { return std::exp(0.5 + 0.2 * x); }, {0.5, 0.2},
       "ln(Y) =  0.5 +  0.2*X"},
  };
  for (const Case& c : cases) {
    const FuncParams p = Fit(c.id, c.degree, Sampled(c.f, 1, 10, 19));
    ASSERT_EQ(p[0], c.id);
    ASSERT_EQ(p[2], c.degree) << "form " << c.id;
    for (std::size_t k = 0; k < c.coefficients.size(); ++k)
      EXPECT_NEAR(p[10 + k], c.coefficients[k], 1e-9) << "form " << c.id << " a" << k;
    EXPECT_NEAR(p[7], 0.0, 1e-9) << "form " << c.id;
    EXPECT_NEAR(EvalFunction(p, 5.5), c.f(5.5), 1e-9) << "form " << c.id;
    EXPECT_EQ(Text(p), c.text);
  }
}

TEST(RegressionForms, DegreeIsLoweredToWhatThePointsAndTheLimitAllow) {
  const auto three = Sampled([](double x) { return x * x; }, 0, 2, 3);
  EXPECT_EQ(Fit(0, 3, three)[2], 2);
  const auto many = Sampled([](double x) { return x; }, 0, 9, 10);
  EXPECT_EQ(Fit(0, 6, many)[2], 5);
  EXPECT_EQ(Fit(0, -2, many)[0], 0);  // a negative degree is the constant fit
  EXPECT_EQ(Fit(0, -2, many).size(), 13u);
}

TEST(RegressionForms, FiltersDropPointsNearZeroAgainstAFifthOfTheRange) {
  struct Case {
    int id;
    std::vector<DotValue> points;
    std::size_t kept;
  };
  // Ranges [0, 10] x [0, 10]: du = dv = 2.
  const std::vector<Case> cases = {
      {0, {{0, 0}, {1, 1}, {10, 10}}, 3},
      {2, {{-1, 5}, {0, 1}, {1.9, 2}, {2, 3}, {10, 10}}, 2},  // hyperbolic: |u| < 2 goes
      {4, {{0, 0}, {1.99, 1}, {2, 3}, {10, 10}}, 2},
      {6, {{0, 0}, {3, 1}, {2, 3}, {10, 10}}, 2},  // power: small u or small v
      {8, {{0, 0}, {3, 1.5}, {2, 3}, {10, 10}}, 2},
  };
  for (const Case& c : cases) {
    FitData data;
    for (const DotValue& d : c.points) {
      data.u.push_back(d.x);
      data.v.push_back(d.y);
      data.w.push_back(1);
    }
    FilterRegressionPoints(c.id, FitRange{0, 10, 0, 10}, data);
    EXPECT_EQ(data.Size(), c.kept) << "form " << c.id;
  }
}

TEST(RegressionForms, EvaluationKeepsTheArgumentAwayFromZero) {
  // Range [0, 1]: du' = 0.02.
  FuncParams hyperbolic{2, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1, 2};
  EXPECT_DOUBLE_EQ(EvalFunction(hyperbolic, 0.0), 1 + 2 / -0.02);
  EXPECT_DOUBLE_EQ(EvalFunction(hyperbolic, 0.01), 1 + 2 / 0.02);
  EXPECT_DOUBLE_EQ(EvalFunction(hyperbolic, -0.01), 1 + 2 / -0.02);
  FuncParams logarithmic{4, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1, 2};
  EXPECT_DOUBLE_EQ(EvalFunction(logarithmic, -5.0), 1 + 2 * std::log(0.02));
  FuncParams power = logarithmic;
  power[0] = 6;
  EXPECT_DOUBLE_EQ(EvalFunction(power, 0.0), std::exp(1 + 2 * std::log(0.02)));
}

TEST(RegressionForms, DeviationOfATransformedFormIsMeasuredInOriginalUnits) {
  // Exponential data (all above the filter's 0.2 of the value range) with
  // one point off the curve: the RMS is that of the values, not of their
  // logarithms.
  auto points = Sampled([](double x) { return 10 * std::exp(0.05 * x); }, 0, 10, 11);
  points[5].y += 1.0;
  const FuncParams p = Fit(8, 1, points);
  double sum = 0;
  for (const DotValue& d : points) sum += std::pow(EvalFunction(p, d.x) - d.y, 2);
  EXPECT_NEAR(p[7], std::sqrt(sum / points.size()), 1e-12);
  EXPECT_GT(p[7], 0.1);
}

TEST(RegressionForms, CoefficientTableListsIndexAndValue) {
  const FuncParams p{0, 0, 2, 0, 0, 1, 1, 0.5, 0, 0, 1, -0.5, 0, 0.5};
  std::vector<std::string> rows;
  EXPECT_EQ(DescribeFunction(p, rows, 0), 6);
  EXPECT_EQ(rows, (std::vector<std::string>{"0", "   1", "1", "-0.5", "2", "   0"}));
  EXPECT_EQ(DescribeFunction(p, rows, 1), 2);
  EXPECT_EQ(rows, (std::vector<std::string>{"Y =    1 -  0.5*X", " 0.5"}));
}

TEST(BestRegression, ChoosesTheFormOfSmallestDeviation) {
  struct Case {
    std::function<double(double)> f;
    int expected;
  };
  const std::vector<Case> cases = {
      {[](double x) { return 3 + 2 * x; }, 0},
      {[](double x) { return 2 + 5 / x; }, 2},
      {[](double x) { return std::exp(0.1 + 0.3 * x); }, 8},
  };
  for (const Case& c : cases) {
    CApprox approx;
    FuncParams p{-1, 0, 1};
    FitBestRegression(approx, Sampled(c.f, 1, 10, 10), p, {});
    EXPECT_EQ(p[0], c.expected);
    EXPECT_EQ(p[2], 1);
  }
}

TEST(BestRegression, ANonFiniteDeviationNeverWins) {
  // Two distinct arguments and degree 2: the polynomial's normal matrix has
  // a zero pivot, so its coefficients and deviation are NaN. The later
  // forms fall back to constants with a finite deviation and must win.
  const std::vector<DotValue> points = {{0, 1, 0}, {0, 2, 0}, {1, 3, 0}, {1, 5, 0}};
  FuncParams polynomial{0, 0, 2};
  CApprox approx;
  approx.FitFunction(points, polynomial, {});
  ASSERT_TRUE(std::isnan(polynomial[7]));
  FuncParams best{0, 0, 2};
  FitBestRegression(approx, points, best, {});
  EXPECT_TRUE(std::isfinite(best[7]));
}

}  // namespace
}  // namespace tracemont
