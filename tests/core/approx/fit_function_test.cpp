// The fit dispatcher: header, constant fit, direction, range filter, the
// appended deviation and the result copy; the generic sampling.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/func_params.h"

namespace tracemont {
namespace {

std::vector<DotValue> Points(std::initializer_list<std::pair<double, double>> xy) {
  std::vector<DotValue> out;
  for (const auto& [x, y] : xy) out.emplace_back(x, y, 0.0);
  return out;
}

std::vector<DotValue> Range(double x0, double y0, double x1, double y1) {
  return {DotValue(x0, y0), DotValue(x0, y1), DotValue(x1, y1), DotValue(x1, y0)};
}

const std::vector<DotValue> kFour = Points({{0, 1}, {1, 3}, {2, 2}, {3, 6}});

TEST(FitFunction, DegreeZeroStoresTheConstantFitInTwelveEntries) {
  CApprox approx;
  FuncParams p{0, 0, 0};
  EXPECT_EQ(approx.FitFunction(kFour, p, Range(0, 0, 3, 6)), 1);
  ASSERT_EQ(p.size(), 12u);
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[2], 0);
  EXPECT_DOUBLE_EQ(p[10], 3.0);  // mean of Y
  EXPECT_DOUBLE_EQ(p[7], std::sqrt(3.5));
  EXPECT_EQ(p[11], p[7]);
  EXPECT_EQ((FuncParams{p[3], p[4], p[5], p[6]}), (FuncParams{0, 1, 3, 6}));
  FuncParams copy;
  EXPECT_EQ(approx.CopyResult(copy), 12);
  EXPECT_EQ(copy, p);
}

TEST(FitFunction, AFitterThatFallsBackAppendsItsDeviationAsAThirteenthEntry) {
  struct Case {
    const char* why;
    FuncParams request;
    std::vector<DotValue> points;
  };
  const std::vector<Case> cases = {
      {"Fourier on two points", {60, 0, 2}, Points({{0, 1}, {1, 3}})},
      {"logistic with an empty value range", {50, 0, 1}, Points({{0, 2}, {1, 2}, {2, 2}})},
      {"piece linear with one point", {20, 0, 5}, Points({{1, 1}})},
      {"closed spline on 3 points", {30, 0, 16}, Points({{0, 0}, {1, 2}, {2, 1}})},
      {"sections on a flat line", {40, 0, 50}, Points({{0, 1}, {1, 1}, {2, 1}})},
      {"neural network on one argument", {70, 0, 4}, Points({{1, 0}, {1, 2}})},
      {"a plug-in that is not there", {80, 0, 1}, Points({{0, 0}, {1, 2}})},
  };
  for (const Case& c : cases) {
    CApprox approx;
    approx.pluginFile = "missing.so";
    FuncParams p = c.request;
    approx.FitFunction(c.points, p, Range(-100, -100, 100, 100));
    ASSERT_EQ(p.size(), 13u) << c.why;
    EXPECT_EQ(p[0], 0) << c.why;
    EXPECT_EQ(p[2], 0) << c.why;
    EXPECT_DOUBLE_EQ(p[12], p[7]) << c.why;
    EXPECT_NEAR(p[7], p[11], 1e-12) << c.why;  // the RMS of a constant is the deviation
  }
}

TEST(FitFunction, DirectionOneFitsXFromYAndSamplesAlongY) {
  // X = 2Y + 1
  const auto points = Points({{1, 0}, {3, 1}, {5, 2}, {7, 3}});
  CApprox approx;
  FuncParams p{0, 1, 1};
  approx.FitFunction(points, p, Range(1, 0, 7, 3));
  EXPECT_NEAR(p[10], 1.0, 1e-12);
  EXPECT_NEAR(p[11], 2.0, 1e-12);
  EXPECT_NEAR(EvalFunction(p, 2.0), 5.0, 1e-12);
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows[0], "X =    1 +    2*Y");

  std::vector<DotValue> curve;
  ASSERT_EQ(SampleCurve(p, DotValue(1, 0), DotValue(7, 3), curve, 4, false, 0, 0), 4);
  EXPECT_DOUBLE_EQ(curve[3].y, 3.0);  // samples run along Y
  EXPECT_NEAR(curve[3].x, 7.0, 1e-12);
}

TEST(FitFunction, RegressionKeepsPointsOnTheRangeBorderAndDropsThoseOutside) {
  const auto points = Points({{0, 0}, {1, 1}, {2, 2}, {3, 30}});
  CApprox approx;
  FuncParams p{0, 0, 1};
  approx.FitFunction(points, p, Range(0, 0, 2, 2));
  EXPECT_NEAR(p[10], 0.0, 1e-12);
  EXPECT_NEAR(p[11], 1.0, 1e-12);
  EXPECT_NEAR(p[7], 0.0, 1e-12);  // only the kept points count in the deviation
}

TEST(FitFunction, ABadDirectionFailsWithoutTouchingTheHeader) {
  // Negative values would have been written into n by a deviation pass
  // that read the direction 2 as an index offset.
  const auto points = Points({{0, -5}, {1, -1}, {2, -3}});
  CApprox approx;
  FuncParams p{0, 2, 1};
  EXPECT_EQ(approx.FitFunction(points, p, Range(0, -5, 2, -1)), 0);
  ASSERT_EQ(p.size(), 11u);
  EXPECT_EQ(p[2], 0.0);
  EXPECT_EQ(p[4], -5.0);
  EXPECT_TRUE(IsValidParams(p));
}

TEST(FitFunction, AnUnknownMethodFitsNothingButSucceeds) {
  CApprox approx;
  FuncParams p{55, 0, 3};
  EXPECT_EQ(approx.FitFunction(kFour, p, {}), 1);
  ASSERT_EQ(p.size(), 11u);
  EXPECT_EQ(p[0], 55);
  EXPECT_EQ(EvalFunction(p, 1.0), 0.0);
  std::vector<std::string> rows;
  EXPECT_EQ(DescribeFunction(p, rows, 1), 0);
}

TEST(FitFunction, MissingRequestEntriesKeepTheWorkingValues) {
  CApprox approx;
  FuncParams first{0, 0, 1};
  approx.FitFunction(kFour, first, {});
  FuncParams second;  // nothing requested: the last method, direction and n again
  approx.FitFunction(kFour, second, {});
  EXPECT_EQ(second, first);
}

TEST(SampleCurve, AStraightLineNeedsTwoSamplesAndAnInvalidVectorNone) {
  const FuncParams line{0, 0, 1, 0, 0, 10, 10, 0, 0, 0, 1, 2};
  std::vector<DotValue> curve;
  EXPECT_EQ(SampleCurve(line, DotValue(0, 0), DotValue(10, 0), curve, 100, true, 0, 0), 2);
  EXPECT_EQ(SampleCurve(line, DotValue(0, 0), DotValue(10, 0), curve, 100, true, 1, 0), 100);
  EXPECT_EQ(SampleCurve(line, DotValue(0, 0), DotValue(10, 0), curve, 100, false, 0, 0), 100);
  EXPECT_DOUBLE_EQ(curve.back().y, 21.0);
  EXPECT_EQ(SampleCurve(FuncParams(10, 0.0), DotValue(), DotValue(), curve, 100, true, 0, 0), 0);
  EXPECT_TRUE(curve.empty());
}

TEST(IsPointwise, ListsTheMethodsEvaluatedAtAnArgument) {
  for (int id : {0, 2, 4, 6, 8, 20, 50, 51, 60, 70, 71, 80, 90}) {
    FuncParams p(11, 0.0);
    p[0] = id;
    EXPECT_TRUE(IsPointwise(p)) << id;
  }
  for (int id : {30, 40, 99, 100, 1}) {
    FuncParams p(11, 0.0);
    p[0] = id;
    EXPECT_FALSE(IsPointwise(p)) << id;
  }
  EXPECT_FALSE(IsPointwise(FuncParams(10, 0.0)));
}

}  // namespace
}  // namespace tracemont
