// Closed spline and sections: grids, rings, Hough search, drawings, texts.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/func_params.h"

namespace tracemont {
namespace {

FuncParams Fit(int id, int n, const std::vector<DotValue>& points) {
  CApprox approx;
  FuncParams p{static_cast<double>(id), 0, static_cast<double>(n)};
  approx.FitFunction(points, p, {});
  return p;
}

std::vector<std::pair<double, double>> Nodes(const FuncParams& p) {
  std::vector<std::pair<double, double>> out;
  for (int j = 0; j < static_cast<int>(p[2]) / 2; ++j) out.emplace_back(p[10 + 2 * j], p[11 + 2 * j]);
  return out;
}

TEST(ClosedSpline, SevenPointsMakeARingOfFourQuadrantCentroids) {
  const std::vector<DotValue> points = {{0, 0, 0}, {1, 0.1, 0}, {3, 0.2, 0}, {4, 0.3, 0},
                                        {0, 5, 0}, {1, 5.1, 0}, {4, 5.2, 0}};
  const FuncParams p = Fit(30, 9, points);
  ASSERT_EQ(p[0], 30);
  ASSERT_EQ(p[2], 8);
  const std::vector<std::pair<double, double>> expected = {
      {0.5, 5.05}, {4, 5.2}, {3.5, 0.25}, {0.5, 0.05}};
  const auto nodes = Nodes(p);
  ASSERT_EQ(nodes.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(nodes[i].first, expected[i].first) << i;
    EXPECT_DOUBLE_EQ(nodes[i].second, expected[i].second) << i;
  }
  std::vector<DotValue> curve;
  ASSERT_EQ(SampleCurve(p, DotValue(), DotValue(), curve, 100, true, 0, 0), 13);
  EXPECT_EQ(curve.back().x, curve.front().x);
  EXPECT_EQ(curve.back().y, curve.front().y);
}

TEST(ClosedSpline, AFourByFourGridRingsTopRightBottomLeft) {
  std::vector<DotValue> points;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) points.emplace_back(i, j + 0.01 * i, 0.0);
  const FuncParams p = Fit(30, 16, points);
  const std::vector<std::pair<double, double>> expected = {
      {0, 3},    {1, 3.01},  {2, 3.02},  {3, 3.03},   {3, 2.03},      {3, 1.03},
      {3, 0.03}, {2, 0.02},  {1, 0.01},  {0, 0},      {0.5, 1.005},   {0.5, 2.005}};
  const auto nodes = Nodes(p);
  ASSERT_EQ(nodes.size(), expected.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_NEAR(nodes[i].first, expected[i].first, 1e-12) << i;
    EXPECT_NEAR(nodes[i].second, expected[i].second, 1e-12) << i;
  }
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Closed spline curve on 12 points", "-"}));
  DescribeFunction(p, rows, 0);
  ASSERT_EQ(rows.size(), 24u);
  EXPECT_EQ(rows[1], "   3");
}

TEST(ClosedSpline, GridsThatCannotBeFilledGiveTheConstantFit) {
  std::vector<DotValue> twenty;
  for (int i = 0; i < 20; ++i) twenty.emplace_back(i % 5, i / 5 + 0.01 * i, 0.0);
  // 20 points, 25 requested: 6 rows of 3 or 4 points, too few for 6 cells.
  EXPECT_EQ(Fit(30, 25, twenty)[0], 0);
  EXPECT_EQ(Fit(30, 9, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}})[0], 0);
  EXPECT_EQ(Fit(30, 1, twenty)[0], 0);
}

TEST(ClosedSpline, NotANumberAmongThePointsSortsWithoutHarm) {
  std::vector<DotValue> points;
  for (int i = 0; i < 16; ++i) points.emplace_back(i % 4, i / 4 + 0.01 * i, 0.0);
  points[5].y = std::nan("");
  points[9].x = std::nan("");
  const FuncParams p = Fit(30, 16, points);
  EXPECT_TRUE(IsValidParams(p));
  EXPECT_EQ(p[0], 30);
  EXPECT_EQ(p[2], 24);
}

TEST(ClosedSpline, ControlPointsLieOnTheTangentsAndFewNodesDrawNothing) {
  // A unit square: the tangents at B = (0, 0) and C = (1, 0) meet at
  // (0.5, -0.5); both control points are a third of the way there.
  const FuncParams square{30, 0, 8, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0};
  std::vector<DotValue> curve;
  ASSERT_EQ(SampleCurve(square, DotValue(), DotValue(), curve, 100, true, 0, 0), 13);
  EXPECT_DOUBLE_EQ(curve[1].x, 0.5 / 3);
  EXPECT_DOUBLE_EQ(curve[1].y, -0.5 / 3);
  EXPECT_DOUBLE_EQ(curve[2].x, 1 - 0.5 / 3);
  EXPECT_DOUBLE_EQ(curve[2].y, -0.5 / 3);

  const FuncParams three{30, 0, 6, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0};
  EXPECT_EQ(SampleCurve(three, DotValue(), DotValue(), curve, 100, true, 0, 0), 0);
  std::vector<std::string> rows;
  DescribeFunction(FuncParams{30, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}, rows, 1);
  EXPECT_EQ(rows[0], "Spline error: it is not enough points");
}

TEST(Sections, ALineIsOneSectionBetweenItsExtremePoints) {
  std::vector<DotValue> points;
  for (int i = 0; i < 50; ++i) points.emplace_back(i * 10.0 / 49, i * 5.0 / 49, 0.0);
  points.emplace_back(0, 10, 0.0);  // two strays widen the value range
  points.emplace_back(10, 10, 0.0);
  const FuncParams p = Fit(40, 50, points);
  ASSERT_EQ(p[0], 40);
  ASSERT_EQ(p[2], 4);
  EXPECT_EQ((FuncParams(p.begin() + 10, p.begin() + 14)), (FuncParams{0, 0, 10, 5}));
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Sections 1", "-"}));
  DescribeFunction(p, rows, 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"   0", "   0", "  10", "   5"}));
}

TEST(Sections, TwoCrossingLinesAreTwoSectionsDrawnApart) {
  std::vector<DotValue> points;
  for (int i = 0; i < 40; ++i) {
    const double u = i * 10.0 / 39;
    points.emplace_back(u, u, 0.0);
    points.emplace_back(u, 10 - u, 0.0);
  }
  FuncParams p = Fit(40, 51, points);
  ASSERT_EQ(p[2], 8);
  EXPECT_EQ((FuncParams(p.begin() + 10, p.begin() + 18)),
            (FuncParams{0, 0, 10, 10, 0, 10, 10, 0}));

  std::vector<DotValue> curve;
  ASSERT_EQ(SampleCurve(p, DotValue(), DotValue(), curve, 2, true, 0, 0), 8);
  EXPECT_DOUBLE_EQ(curve[1].x, 10.0 / 3);
  EXPECT_DOUBLE_EQ(curve[5].y, 10 - 10.0 / 3);
  const auto pieces = CurvePieces(p, curve.size());
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1], (std::pair<std::size_t, std::size_t>{4, 4}));

  EXPECT_FALSE(DeleteSection(p, 2));
  EXPECT_TRUE(DeleteSection(p, 0));
  EXPECT_EQ(p[2], 4);
  EXPECT_EQ(p[10], 0);
  EXPECT_EQ(p[11], 10);
  EXPECT_TRUE(IsValidParams(p));
  EXPECT_FALSE(DeleteSection(p, 0));  // the only section stays
}

}  // namespace
}  // namespace tracemont
