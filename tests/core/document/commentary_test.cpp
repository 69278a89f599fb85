#include <gtest/gtest.h>

#include "model/plot_text.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

// Leaves the process-wide display metrics as the tests found them.
class Commentary : public ::testing::Test {
 protected:
  void SetUp() override { ClearDisplayFontMetrics(); }
  void TearDown() override { ClearDisplayFontMetrics(); }

  static CPlotText Make(Point anchor, const std::string& text, int position) {
    CPlotText t(anchor, 1);
    t.position = position;
    t.SetText(text);
    return t;
  }
};

TEST_F(Commentary, DisplayMetricsGiveTheWidthRatio) {
  EXPECT_DOUBLE_EQ(CharWidthRatio(), 0.5);
  SetDisplayFontMetrics(7, 14);
  EXPECT_DOUBLE_EQ(CharWidthRatio(), 0.5);
  SetDisplayFontMetrics(6, 0);
  EXPECT_DOUBLE_EQ(CharWidthRatio(), 1.0);
  SetDisplayFontMetrics(-3, 10);
  EXPECT_DOUBLE_EQ(CharWidthRatio(), 0.0);
  EXPECT_EQ(CharMetricsOf(50, 0.5).height, 19);
  EXPECT_EQ(CharMetricsOf(50, 0.5).width, 9);
}

TEST_F(Commentary, OneLineInPositionOneLiesAboveAndRightOfTheAnchor) {
  const CPlotText t = Make({100, 200}, "ABC", CPlotText::kUpperRight);
  const std::vector<Point> expected = {{100, 200}, {109, 219}, {100, 200}, {118, 219},
                                       {164, 219}, {164, 241}, {100, 241}, {100, 219}};
  EXPECT_EQ(t.Outline(), expected);
  EXPECT_EQ(t.Lines(), std::vector<std::string>{"ABC"});
  EXPECT_FALSE(t.inProgress);
}

TEST_F(Commentary, EachPositionPutsTheBoxAndLeaderOnItsSide) {
  struct Case {
    int position;
    int angle;
    std::vector<Point> points;  // outline points 1..7
  };
  const Case cases[] = {
      {0, 0, {{-18, 19}, {0, 0}, {-9, 19}, {0, 19}, {0, 41}, {-64, 41}, {-64, 19}}},
      {3, 0, {{9, -19}, {0, 0}, {18, -19}, {64, -19}, {64, -41}, {0, -41}, {0, -19}}},
      {4, 0, {{-18, -19}, {0, 0}, {-9, -19}, {0, -19}, {0, -41}, {-64, -41}, {-64, -19}}},
      // Centred: the plain box, 54 x 19 unrotated; at 90 degrees its sides swap.
      {2, 0, {{27, 10}, {27, 10}, {27, 10}, {27, 10}, {27, -9}, {-27, -9}, {-27, 10}}},
      {2, 90, {{10, 27}, {10, 27}, {10, 27}, {10, 27}, {10, -27}, {-9, -27}, {-9, 27}}},
  };
  for (const Case& c : cases) {
    CPlotText t({0, 0}, 1);
    t.position = c.position;
    t.angle = c.angle;
    t.SetText("ABC");
    const std::vector<Point> callout(t.Outline().begin() + 1, t.Outline().begin() + 8);
    EXPECT_EQ(callout, c.points) << "position " << c.position << " angle " << c.angle;
    EXPECT_EQ(t.Outline()[0], (Point{0, 0}));
  }
}

TEST_F(Commentary, LinesEndBeforeTheirCarriageReturnAndATrailingBreakAddsARow) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
    int boxHeight;  // trunc(rows x 19 x 1.2)
  };
  const Case cases[] = {
      {"", {}, 0},
      {"ABC\r\n", {"ABC", ""}, 45},
      {"AB\r\nCDEF", {"AB", "CDEF"}, 45},
      // A bare line feed ends the line without eating its last character.
      {"AB\nCD", {"AB", "CD"}, 45},
  };
  for (const Case& c : cases) {
    const CPlotText t = Make({0, 0}, c.text, CPlotText::kUpperRight);
    EXPECT_EQ(t.Lines(), c.lines) << c.text;
    EXPECT_EQ(t.Outline()[5].y - t.Outline()[4].y, c.boxHeight) << c.text;
  }
}

TEST_F(Commentary, AngleIsClampedAndMattersOnlyWhenCentred) {
  CPlotText t = Make({0, 0}, "ABC", CPlotText::kUpperRight);
  const std::vector<Point> before = t.Outline();
  t.SetAngle(400);
  EXPECT_EQ(t.angle, 360);
  t.SetAngle(-5);
  EXPECT_EQ(t.angle, 0);
  t.SetAngle(45);
  EXPECT_EQ(t.Outline(), before);
  t.SetPosition(CPlotText::kCentred);
  const std::vector<Point> rotated = t.Outline();
  t.SetAngle(0);
  EXPECT_NE(t.Outline(), rotated);
}

TEST_F(Commentary, PathTakesOnePointPerCharacterSpacedMoreThanACharacterHeight) {
  CPlotText t = Make({0, 0}, "AB\r\nC", CPlotText::kUpperRight);  // 4 characters on the path
  t.drawText = 1;
  int accepted = 0;
  for (int i = 0; i < 20; ++i) accepted += t.AddPoint({100 + 30 * i, 0}) ? 1 : 0;
  EXPECT_EQ(accepted, 5);  // 8 box points + path start + 4 characters
  EXPECT_EQ(t.PointCount(), 13);

  CPlotText five = Make({0, 0}, "ABCDE", CPlotText::kUpperRight);
  five.drawText = 1;
  EXPECT_TRUE(five.AddPoint({100, 0}));
  EXPECT_TRUE(five.AddPoint({101, 0}));   // the first two path points are free
  EXPECT_FALSE(five.AddPoint({120, 0}));  // 19 = ch: not farther
  EXPECT_TRUE(five.AddPoint({121, 0}));
  for (int x = 200; five.AddPoint({x, 0}); x += 50) {
  }
  EXPECT_EQ(five.PointCount(), 14);
}

TEST_F(Commentary, OffsetMovesTheBoxOnlyInBoxMode) {
  CPlotText t = Make({0, 0}, "ABC", CPlotText::kUpperRight);
  t.AddPoint({500, 500});
  t.Offset(10, -5);
  EXPECT_EQ(t.anchor, (Point{10, -5}));
  EXPECT_EQ(t.Outline()[4], (Point{74, 14}));
  EXPECT_EQ(t.Outline()[8], (Point{500, 500}));  // the path stays
  t.drawText = 1;
  t.Offset(10, 10);
  EXPECT_EQ(t.anchor, (Point{10, -5}));
}

TEST_F(Commentary, HitTestUsesTheBoxOrTheWidenedPath) {
  CPlotText empty({0, 0}, 1);
  EXPECT_FALSE(empty.HitTest({0, 0}));
  CPlotText t = Make({0, 0}, "ABC", CPlotText::kUpperRight);
  EXPECT_TRUE(t.HitTest({30, 30}));
  EXPECT_FALSE(t.HitTest({30, 10}));  // between the anchor and the box
  t.drawText = 1;
  EXPECT_FALSE(t.HitTest({30, 30}));  // no path yet
  t.AddPoint({1000, 1000});
  EXPECT_TRUE(t.HitTest({1017, 1037}));   // 2 cw and 2 ch round the path
  EXPECT_FALSE(t.HitTest({1019, 1000}));
}

TEST_F(Commentary, DrawsShadowCalloutAndCentredLines) {
  CPlotText t = Make({0, 0}, "ABC", CPlotText::kUpperRight);
  RecordingSurface screen;
  ASSERT_TRUE(t.Draw(screen, {}));
  const auto& ops = screen.Ops();
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, Kind::FillRegion);  // the shadow, moved by 6 both ways
  EXPECT_EQ(ops[0].region.polygons[0][0], (Point{6, 47}));
  EXPECT_EQ(ops[1].kind, Kind::Polygon);
  EXPECT_EQ(ops[1].points.size(), 7u);
  EXPECT_EQ(ops[1].brush.colour, Rgb(255, 255, 0));
  EXPECT_EQ(ops[2].kind, Kind::Text);
  EXPECT_EQ(ops[2].points.front(), (Point{32, 39}));
  EXPECT_EQ(ops[2].font.height, 20);  // 5 mm rounded to plot units

  t.background = 0;
  RecordingSurface plain;
  t.Draw(plain, {});
  ASSERT_EQ(plain.Count(Kind::Polyline), 1u);
  EXPECT_EQ(plain.Ops()[0].points, (std::vector<Point>{{0, 0}, {9, 19}, {64, 19}, {0, 19}}));

  t.visible = 0;
  RecordingSurface none;
  EXPECT_FALSE(t.Draw(none, {}));
  EXPECT_TRUE(none.Ops().empty());
}

TEST_F(Commentary, DrawTextModeWritesOneCharacterPerPathPointInsideThePage) {
  CPlotText t = Make({0, 0}, "Ж\r\nB", CPlotText::kUpperRight);
  t.drawText = 1;
  for (const Point p : {Point{0, 0}, Point{40, 0}, Point{80, 0}, Point{5000, 0}}) t.AddPoint(p);
  RecordingSurface s;
  DrawContext context;
  context.page = {0, 100, 1000, -100};
  ASSERT_TRUE(t.Draw(s, context));
  ASSERT_EQ(s.Count(Kind::Text), 2u);  // "B" lies outside the page
  EXPECT_EQ(s.Ops()[0].text, "Ж");
  EXPECT_EQ(s.Ops()[0].points.front(), (Point{40, 0}));
  EXPECT_EQ(s.Ops()[1].text, " ");
}

TEST_F(Commentary, CopyStyleTakesTheOtherCommentarysLook) {
  CPlotText source = Make({0, 0}, "X", CPlotText::kLowerLeft);
  source.textColour = Rgb(1, 2, 3);
  source.textSize = 80;
  source.shadow = 0;
  CPlotText t = Make({0, 0}, "ABC", CPlotText::kUpperRight);
  t.CopyStyle(source);
  EXPECT_EQ(t.position, CPlotText::kLowerLeft);
  EXPECT_EQ(t.textColour, Rgb(1, 2, 3));
  EXPECT_EQ(t.shadow, 0);
  EXPECT_LT(t.Outline()[5].y, 0);  // laid out below the anchor
  EXPECT_EQ(t.GetName(), "ABC");
}

TEST_F(Commentary, HugeStoredSizesStayWithinTheCoordinateRange) {
  CPlotText t({1'000'000'000, -1'000'000'000}, 1);
  t.textSize = 2'000'000'000;
  t.SetText(std::string(1000, 'W'));
  for (const Point& p : t.Outline()) {
    EXPECT_LE(std::abs(static_cast<long long>(p.x)), 1'000'000'000LL);
    EXPECT_LE(std::abs(static_cast<long long>(p.y)), 1'000'000'000LL);
  }
  EXPECT_TRUE(t.AddPoint({0, 0}));
}

}  // namespace
}  // namespace tracemont
