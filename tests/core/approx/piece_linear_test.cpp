// Piece linear ("Lines with step"): fit, evaluation, texts and drawings.
#include <gtest/gtest.h>

#include "approx/approx.h"
#include "approx/func_params.h"

namespace tracemont {
namespace {

FuncParams FitSteps(const std::vector<DotValue>& points, int steps) {
  CApprox approx;
  FuncParams p{20, 0, static_cast<double>(steps)};
  approx.FitFunction(points, p, {});
  return p;
}

std::vector<DotValue> Line(int count) {
  std::vector<DotValue> out;
  for (int i = 0; i < count; ++i) out.emplace_back(i, 2.0 * i, 0.0);
  return out;
}

TEST(PieceLinear, TenPointsAndTwentyStepsRequestedGiveNineSteps) {
  const FuncParams p = FitSteps(Line(10), 20);
  ASSERT_EQ(p[0], 20);
  ASSERT_EQ(p[2], 9);
  ASSERT_EQ(p.size(), 10u + 10u + 1u);
  EXPECT_EQ(p[19], 0.0);  // c_n
  // Cells of width 1.1 from -0.45: points 4 and 5 share cell 4, cell 9 stays empty.
  EXPECT_EQ((FuncParams(p.begin() + 10, p.begin() + 20)), (FuncParams{0, 2, 4, 6, 9, 12, 14, 16, 18, 0}));
  EXPECT_EQ(EvalFunction(p, -100), p[10]);
  EXPECT_EQ(EvalFunction(p, 100), p[18]);  // the last used level c_{n-1}
  EXPECT_EQ(EvalFunction(p, 4.6), p[10 + 4]);  // trunc(4.6 / 9 * 9)
}

TEST(PieceLinear, AnEmptyCellIsInterpolatedByIndexDistance) {
  // Ten points, nine steps: a gap between 2 and 8 leaves cells 3..5 empty.
  std::vector<DotValue> points;
  for (double x : {0.0, 0.5, 1.0, 1.5, 2.0, 8.0, 8.5, 9.0, 9.5, 10.0})
    points.emplace_back(x, x < 5 ? 0.0 : 9.0, 0.0);
  const FuncParams p = FitSteps(points, 9);
  ASSERT_EQ(p[2], 9);
  // Cell k holds u in [lo + k*w, lo + (k+1)*w), lo = -0.5, w = 11/9:
  // cells 0..2 the low points (level 0), cells 6..8 the high ones.
  EXPECT_EQ(p[10 + 2], 0.0);
  EXPECT_EQ(p[10 + 6], 9.0);
  for (int k = 3; k <= 5; ++k) EXPECT_DOUBLE_EQ(p[10 + k], 9.0 * (k - 2) / 4) << "cell " << k;
}

TEST(PieceLinear, TextsGiveTheStepWidthAndEachStepStart) {
  const FuncParams p{20, 0, 2, 0, 0, 4, 10, 1.5, 0, 0, 3, 7, 0};
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Lines with step    2", " 1.5"}));
  DescribeFunction(p, rows, 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"   0", "   3", "   2", "   7", "   4", "   0"}));
}

TEST(PieceLinear, DrawingsAsStepsWithSubdivisionAndThroughCentres) {
  // Two steps over [0, 4]: levels 3 and 7.
  const FuncParams p{20, 0, 2, 0, 0, 4, 10, 0, 0, 0, 3, 7, 0};
  struct Case {
    const char* name;
    double ua, ub;
    int samples, subdivide, centre;
    std::vector<std::pair<double, double>> expected;
  };
  const std::vector<Case> cases = {
      {"steps", 0, 4, 100, 0, 0, {{0, 3}, {2, 3}, {2, 7}, {4, 7}}},
      {"steps beyond the range", -1, 5, 100, 0, 0,
       {{-1, 3}, {0, 3}, {2, 3}, {2, 7}, {4, 7}, {5, 7}}},
      {"subdivided: q = 2 / 2 + 1", 0, 4, 2, 1, 0,
       {{0, 3}, {1, 3}, {2, 3}, {2, 7}, {3, 7}, {4, 7}}},
      {"centres", 0, 4, 100, 0, 1, {{0, 3}, {1, 3}, {1, 3}, {3, 7}}},
  };
  for (const Case& c : cases) {
    std::vector<DotValue> curve;
    SampleCurve(p, DotValue(c.ua, 0), DotValue(c.ub, 0), curve, c.samples, true, c.subdivide,
                c.centre);
    ASSERT_EQ(curve.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < curve.size(); ++i) {
      EXPECT_DOUBLE_EQ(curve[i].x, c.expected[i].first) << c.name << " point " << i;
      EXPECT_DOUBLE_EQ(curve[i].y, c.expected[i].second) << c.name << " point " << i;
    }
  }
}

TEST(PieceLinear, AStoredVectorWithoutStepsIsHarmless) {
  const FuncParams p{20, 0, 0, 0, 0, 4, 10, 0, 0, 0, 3};
  EXPECT_EQ(EvalFunction(p, 10), 0.0);
  std::vector<DotValue> curve;
  EXPECT_EQ(SampleCurve(p, DotValue(0, 0), DotValue(4, 0), curve, 100, true, 1, 1), 0);
}

}  // namespace
}  // namespace tracemont
