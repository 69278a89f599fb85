// The confidence ellipse (fit, texts, curve, decorations) and the numbers
// of the correlation table.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/correlation.h"
#include "approx/ellipse.h"
#include "approx/func_params.h"
#include "model/plot_objects.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

FuncParams EllipseOf(double sx, double sy, double rho, double cx = 0, double cy = 0) {
  CApprox stats;
  stats.count = 10;
  stats.deviation = {sx, sy, 0};
  stats.mean = {cx, cy, 0};
  stats.correlation = rho;
  FuncParams p(10, 0.0);
  p[0] = 99;
  EXPECT_TRUE(FitEllipse(stats, p));
  return p;
}

std::vector<std::string> Texts(const FuncParams& p, int mode) {
  std::vector<std::string> rows;
  DescribeFunction(p, rows, mode);
  return rows;
}

TEST(Ellipse, UncorrelatedPointsSpreadAlongXGiveAxesFourAndTwo) {
  // Corners (+-2, +-1): sx = 2, sy = 1, no correlation.
  const std::vector<DotValue> points = {{-2, -1, 0}, {-2, 1, 0}, {2, -1, 0}, {2, 1, 0}};
  CApprox approx;
  FuncParams p{99, 0, 0};
  ASSERT_EQ(approx.FitFunction(points, p, {}), 1);
  ASSERT_EQ(p.size(), 20u);
  EXPECT_EQ(p[2], 9);
  EXPECT_DOUBLE_EQ(p[12], 4.0);
  EXPECT_DOUBLE_EQ(p[13], 2.0);
  EXPECT_DOUBLE_EQ(p[14], 0.0);
  EXPECT_EQ(Texts(p, 1), (std::vector<std::string>{
                             "Ellipse: 0.0625 *dX2 +    0*dX*dY + 0.25 *dY2 = 1", "   0"}));
}

TEST(Ellipse, CorrelatedExampleMatchesItsClosedForm) {
  const FuncParams p = EllipseOf(2, 1, 0.5);
  EXPECT_DOUBLE_EQ(p[18], 1.0);   // covariance
  EXPECT_DOUBLE_EQ(p[19], -12);   // -4 det, det = 3
  EXPECT_NEAR(p[12], 4.1486, 1e-4);
  EXPECT_NEAR(p[13], 1.6700, 1e-4);
  EXPECT_NEAR(p[14], 0.2940, 1e-4);
  EXPECT_EQ(Texts(p, 1), (std::vector<std::string>{
                             "Ellipse: 0.08333 *dX2 - 0.1667*dX*dY + 0.3333 *dY2 = 1", " 0.5"}));
  const auto table = Texts(p, 0);
  ASSERT_EQ(table.size(), 10u);
  EXPECT_EQ(table[5], " 0.5");
}

TEST(Ellipse, PointsWithoutTwoDimensionalSpreadFail) {
  struct Case {
    const char* name;
    std::vector<DotValue> points;
  };
  // Rounding leaves det at 5e-18 on the first line (a bogus finite ellipse)
  // and L2 at 0 on the second (infinite axes).
  std::vector<DotValue> slanted, steep;
  for (int i = 0; i < 7; ++i) {
    slanted.emplace_back(0.1 * i, 0.3 * i + 1.7, 0.0);
    steep.emplace_back(0.1 * i, 1.1 * i + 1.7, 0.0);
  }
  const std::vector<Case> cases = {
      {"one point", {{1, 2, 0}}},
      {"equal X", {{1, 0, 0}, {1, 1, 0}, {1, 5, 0}}},
      {"equal Y", {{0, 3, 0}, {1, 3, 0}, {2, 3, 0}}},
      {"a slanted line", slanted},
      {"a steep line", steep},
  };
  for (const Case& c : cases) {
    CApprox approx;
    FuncParams p{99, 0, 0};
    EXPECT_EQ(approx.FitFunction(c.points, p, {}), 0) << c.name;
    EXPECT_EQ(p.size(), 10u) << c.name;
    EXPECT_FALSE(IsValidParams(p)) << c.name;
  }
}

TEST(Ellipse, CurveStartsOnTheMajorAxisAndIsNotClosed) {
  const FuncParams p = EllipseOf(2, 1, 0.5, 10, 20);
  std::vector<DotValue> curve;
  ASSERT_EQ(SampleCurve(p, DotValue(), DotValue(), curve, 100, true, 0, 0), 100);
  EXPECT_NEAR(curve[0].x, 10 + p[12] * std::cos(p[14]), 1e-12);
  EXPECT_NEAR(curve[0].y, 20 + p[12] * std::sin(p[14]), 1e-12);
  EXPECT_NEAR(curve[25].x, 10 - p[13] * std::sin(p[14]), 1e-4);
  EXPECT_NEAR(curve[50].x, 10 - p[12] * std::cos(p[14]), 1e-4);
  EXPECT_EQ(SampleCurve(p, DotValue(), DotValue(), curve, 0, true, 0, 0), 0);
}

CPlotFunc EllipseObject(const FuncParams& p) {
  const CAxeScale unit(1 / 0.0254, 0.0, 1e-9, 1e-9, 1, CAxeScale::kLinear);
  CPlotFunc f(cmd::kRedPoints, 0);
  f.xScale = unit;
  f.yScale = unit;
  EXPECT_TRUE(f.SetParameters(p));
  EXPECT_TRUE(f.SetRange({DotValue(0, 0), DotValue(0, 40), DotValue(20, 40), DotValue(20, 0)}));
  return f;
}

TEST(EllipseDrawing, CentreLinesSpanTheRangeAndAxesJoinOppositeSamples) {
  CPlotFunc f = EllipseObject(EllipseOf(2, 1, 0.5, 10, 20));
  f.corridor = 1;
  f.samplerOption = 1;
  RecordingSurface surface;
  ASSERT_TRUE(f.Draw(surface, {}));
  ASSERT_EQ(surface.Count(Kind::Polyline), 5u);
  const auto& ops = surface.Ops();
  EXPECT_EQ(ops[1].pen.style, PenStyle::Dash);
  EXPECT_EQ(ops[1].pen.width, 0);
  EXPECT_EQ(ops[1].points, (std::vector<Point>{{10, 0}, {10, 40}}));
  EXPECT_EQ(ops[2].points, (std::vector<Point>{{0, 20}, {20, 20}}));
  const auto& buffer = f.DrawBuffer();
  EXPECT_EQ(ops[3].pen.style, PenStyle::Dot);
  EXPECT_EQ(ops[3].points, (std::vector<Point>{buffer[0], buffer[50]}));
  EXPECT_EQ(ops[4].points, (std::vector<Point>{buffer[25], buffer[75]}));
  EXPECT_EQ(surface.CurrentPen(), Pen{});  // the surface is left as found

  f.corridor = 0;
  surface.Clear();
  f.Draw(surface, {});
  EXPECT_EQ(surface.Count(Kind::Polyline), 3u);
}

TEST(EllipseDrawing, OtherMethodsGetNoCentreLines) {
  const FuncParams line{0, 0, 1, 0, 0, 20, 40, 0, 0, 0, 1, 1, 0};
  CPlotFunc f = EllipseObject(line);
  f.samplerOption = 1;
  RecordingSurface surface;
  ASSERT_TRUE(f.Draw(surface, {}));
  for (const RecordedOp& op : surface.Ops()) EXPECT_NE(op.pen.style, PenStyle::Dash);
}

TEST(Correlation, InterfacingCoefficientOnSmallGrids) {
  struct Case {
    const char* name;
    std::vector<DotValue> points;
    int rows, cols;
    double expected;
  };
  const std::vector<Case> cases = {
      {"a diagonal pair", {{0, 0, 0}, {2, 2, 0}}, 2, 2, 1.0},
      {"four corners", {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}}, 2, 2, 0.0},
      {"a grid below 2 becomes 2", {{0, 0, 0}, {2, 2, 0}}, 0, 1, 1.0},
      {"no height", {{0, 1, 0}, {2, 1, 0}}, 2, 2, 0.0},
      {"no points", {}, 2, 2, 0.0},
      // The point at max X falls into the last interval: cells (0,0), (2,2)
      // and (2,2) make S = 1 + 1 = 2 over 2 filled columns.
      {"maximum on the last interval", {{0, 0, 0}, {3, 3, 0}, {2.9, 2.9, 0}}, 3, 3, 1.0},
  };
  for (const Case& c : cases) {
    CApprox stats;
    stats.ComputeStats(c.points);
    EXPECT_NEAR(InterfacingCoefficient(stats, c.points, c.rows, c.cols), c.expected, 1e-12)
        << c.name;
  }
}

TEST(Correlation, RowShowsCountMeansCorrelationAndInterfacing) {
  const CorrelationRow row = ComputeCorrelationRow({{0, 0, 0}, {2, 2, 0}}, 2);
  EXPECT_EQ(row.Texts(), (std::array<std::string, 5>{"2", "   1", "   1", "   1", "   1"}));
  EXPECT_EQ(ComputeCorrelationRow({}, 2).Texts()[0], "0");
}

}  // namespace
}  // namespace tracemont
