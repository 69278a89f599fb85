#include "acquire/digit_tracer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "model/colours.h"

namespace tracemont {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

struct ClassCase {
  int command;
  Colour colour;
  bool accepted;
};

TEST(ColourClassTest, AcceptsTheColoursOfItsDrawingColour) {
  const ClassCase cases[] = {
      {cmd::kBlackPoints, Rgb(128, 128, 128), true},
      {cmd::kBlackPoints, Rgb(129, 0, 0), false},    // red 129 is beyond black
      {cmd::kRedPoints, Rgb(250, 150, 0), true},     // orange: red dominant
      {cmd::kRedPoints, Rgb(250, 200, 0), false},    // green beyond 192
      {cmd::kRedPoints, Rgb(100, 120, 0), false},    // green dominant
      {cmd::kRedPoints, Rgb(100, 100, 100), true},   // medium grey: every channel dominant
      {cmd::kGreenPoints, Rgb(100, 100, 100), true},
      {cmd::kBluePoints, Rgb(100, 100, 100), true},
      {cmd::kBlackPoints, Rgb(100, 100, 100), true},
      {cmd::kGrayPoints, Rgb(100, 100, 100), false},  // below 128
      {cmd::kGrayPoints, Rgb(160, 160, 160), true},
      {cmd::kBrownPoints, Rgb(0, 128, 128), true},   // red the smallest
      {cmd::kBrownPoints, Rgb(150, 128, 128), false},
      {cmd::kBluePoints, Rgb(0, 0, 63), false},      // blue below 64
      {12345, Rgb(0, 0, 0), true},                   // unknown colours trace black
  };
  for (const auto& c : cases)
    EXPECT_EQ(ColourClassOf(c.command).Accepts(c.colour), c.accepted)
        << "command " << c.command << " colour " << std::hex << c.colour;
}

TEST(ColourClassTest, ExactClassAcceptsOnlyThePickedColourAndOutOfRangeRulesClamp) {
  const ColourClass exact = ExactColourClass(Rgb(10, 20, 30));
  EXPECT_TRUE(exact.Accepts(Rgb(10, 20, 30)));
  EXPECT_FALSE(exact.Accepts(Rgb(10, 20, 31)));
  ColourClass wild{{0, 0, 0}, {255, 255, 255}, 9};  // treated as rule 3, blue dominant
  EXPECT_TRUE(wild.Accepts(Rgb(0, 0, 200)));
  EXPECT_FALSE(wild.Accepts(Rgb(200, 0, 100)));
}

TEST(StepToCellsTest, HalvesTheStepLengthInPixelsAndKeepsAtLeastTwo) {
  struct Case {
    int step, dpiX, dpiY;
    CellSize cells;
  } const cases[] = {
      {20, 96, 96, {4, 4}},    // 192 -> 8 pixels -> 4
      {0, 96, 96, {2, 2}},
      {10, 96, 96, {2, 2}},
      {20, 300, 96, {12, 4}},  // 600 -> 24 pixels
      {100, 96, 96, {19, 19}},
  };
  for (const auto& c : cases) EXPECT_EQ(StepToCells(c.step, c.dpiX, c.dpiY), c.cells) << c.step;
}

TEST(RoundedMeanTest, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(RoundedMean(7, 2), 4);
  EXPECT_EQ(RoundedMean(5, 3), 2);
  EXPECT_EQ(RoundedMean(-7, 2), -4);
  EXPECT_EQ(RoundedMean(0, 5), 0);
}

// A picture with a curve y = f(x) drawn one pixel thick and connected
// column to column; `curve` collects its pixels.
PixelBuffer DrawCurve(PixelBuffer picture, Colour colour, int x0, int x1,
                      const std::function<double(int)>& f, std::vector<Point>* curve = nullptr) {
  int previous = static_cast<int>(std::lround(f(x0)));
  for (int x = x0; x <= x1; ++x) {
    const int y = static_cast<int>(std::lround(f(x)));
    // The run in this column joins the previous column's pixel diagonally.
    const int from = y > previous ? previous + 1 : y;
    const int to = y < previous ? previous - 1 : y;
    for (int yy = std::min(from, to); yy <= std::max(from, to); ++yy) {
      picture.Set(x, yy, colour);
      if (curve) curve->push_back({x, yy});
    }
    previous = y;
  }
  return picture;
}

double DistanceToCurve(Point p, const std::vector<Point>& curve) {
  double best = std::numeric_limits<double>::max();
  for (const Point c : curve) best = std::min(best, std::hypot(p.x - c.x, p.y - c.y));
  return best;
}

TEST(DigitTracerTest, StraightLineGivesPointsOnItAboutOneCellApart) {
  const PixelBuffer picture =
      DrawCurve(PixelBuffer::Filled(220, 60), kRed, 10, 209, [](int) { return 30.0; });
  DigitTracer tracer(ColourClassOf(cmd::kRedPoints), StepToCells(20, 96, 96));
  auto points = tracer.Trace(picture, {0, 0, 220, 60}, true);
  ASSERT_GE(points.size(), 45u);
  std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
  for (const Point p : points) EXPECT_EQ(p.y, 30);
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LE(points[i].x - points[i - 1].x, 4);
  EXPECT_LE(points.front().x, 12);
  EXPECT_GE(points.back().x, 207);
}

struct AccuracyCase {
  int step;
  double tolerance;
};

class SineAccuracyTest : public ::testing::TestWithParam<AccuracyCase> {};

TEST_P(SineAccuracyTest, PointsLieOnTheCurveAndCoverItWithoutGaps) {
  std::vector<Point> curve;
  PixelBuffer picture = PixelBuffer::Filled(400, 200);
  for (int x = 0; x < 400; x += 40)  // grey grid lines and black axes must not count
    for (int y = 0; y < 200; ++y) picture.Set(x, y, Rgb(200, 200, 200));
  for (int x = 0; x < 400; ++x) picture.Set(x, 190, 0);
  picture = DrawCurve(picture, kRed, 5, 394, [](int x) { return 100.0 + 70.0 * std::sin(x / 40.0); }, &curve);
  picture = DrawCurve(picture, kBlue, 5, 394, [](int x) { return 100.0 - 70.0 * std::sin(x / 40.0); });
  const CellSize cells = StepToCells(GetParam().step, 96, 96);
  DigitTracer tracer(ColourClassOf(cmd::kRedPoints), cells);
  const auto points = tracer.Trace(picture, {0, 0, 400, 200}, true);
  ASSERT_FALSE(points.empty());
  for (const Point p : points)
    EXPECT_LE(DistanceToCurve(p, curve), GetParam().tolerance) << p.x << "," << p.y;
  const double gap = 3.0 * std::max(cells.width, cells.height);
  for (const Point c : curve) EXPECT_LE(DistanceToCurve(c, points), gap) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Cells, SineAccuracyTest,
                         ::testing::Values(AccuracyCase{10, 1.5}, AccuracyCase{20, 2.5}));

TEST(DigitTracerTest, FindsNothingInAnEmptySearchOrOutsideThePicture) {
  const PixelBuffer picture =
      DrawCurve(PixelBuffer::Filled(50, 50), kRed, 0, 49, [](int) { return 25.0; });
  DigitTracer tracer(ColourClassOf(cmd::kRedPoints), {2, 2});
  EXPECT_TRUE(tracer.Trace(picture, {0, 0, 50, 20}, true).empty());  // above the line
  EXPECT_TRUE(tracer.Trace(picture, {100, 100, 200, 200}, true).empty());
  EXPECT_TRUE(tracer.Trace(PixelBuffer{}, {0, 0, 10, 10}, true).empty());
  EXPECT_EQ(tracer.Threshold(), 1);
  // The right and bottom edges of the search rectangle do not count.
  EXPECT_TRUE(tracer.Trace(picture, {0, 0, 50, 25}, true).empty());
  EXPECT_FALSE(tracer.Trace(picture, {0, 0, 50, 26}, true).empty());
}

TEST(DigitTracerTest, SearchFarBeyondThePictureGivesThePointsOfTheSameGridNearIt) {
  const PixelBuffer picture = DrawCurve(PixelBuffer::Filled(120, 80), kRed, 0, 119,
                                        [](int x) { return 40.0 + 30.0 * std::sin(x / 15.0); });
  struct Case {
    PixelRect nearby, huge;
  } const cases[] = {
      // Offsets of whole cells, odd and even, so that the 2 x 2 blocks must
      // keep their places when the grid is cut to the picture.
      {{-6, -4, 130, 90}, {-3000006, -2000004, 50000000, 60000000}},
      {{-3, -3, 121, 81}, {-1000003, -1000003, 1000000, 1000000}},
  };
  for (const auto& c : cases) {
    DigitTracer tracer(ColourClassOf(cmd::kRedPoints), {2, 2});
    const auto expected = tracer.Trace(picture, c.nearby, true);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(tracer.Trace(picture, c.huge, true), expected) << c.huge.left;
  }
}

TEST(DigitTracerTest, WhiteCountsOnlyWhenNotSkipped) {
  const PixelBuffer picture = PixelBuffer::Filled(20, 20, kWhite);
  DigitTracer tracer(ExactColourClass(kWhite), {2, 2});
  EXPECT_TRUE(tracer.Trace(picture, {0, 0, 20, 20}, true).empty());
  // Every 2 x 2 cell emits (threshold 3 of 4 hits), then each 2 x 2 block of
  // the leftover single hits emits once more: 100 + 25 points.
  EXPECT_EQ(tracer.Trace(picture, {0, 0, 20, 20}, false).size(), 125u);
  EXPECT_EQ(tracer.Threshold(), 3);
}

TEST(DigitTracerTest, MeanPointIsRoundedNotDriftedToTheCellCorner) {
  // One cell whose four hits average to (2.75, 2.75): a running integer mean
  // truncates to (2, 2) on the way; the exact mean rounds to (3, 3).
  PixelBuffer picture = PixelBuffer::Filled(8, 8);
  for (const Point p : {Point{1, 3}, Point{3, 2}, Point{4, 3}, Point{3, 3}}) picture.Set(p.x, p.y, kRed);
  DigitTracer tracer(ColourClassOf(cmd::kRedPoints), {8, 8});
  const auto points = tracer.Trace(picture, {0, 0, 8, 8}, true);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0], (Point{3, 3}));
}

}  // namespace
}  // namespace tracemont
