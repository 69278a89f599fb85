#include <gtest/gtest.h>

#include <cmath>

#include "model/plot_objects.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

// One value unit per plot unit (0.0254 cm). The plot range starts a hair
// above 0 so that whole non-negative values land on their own unit despite
// the truncation of the page mapping.
CAxeScale UnitScale() { return CAxeScale(1 / 0.0254, 0.0, 1e-9, 1e-9, 1, CAxeScale::kLinear); }

CPlotDot Series(int source = source::kDropped) {
  CPlotDot s(cmd::kRedPoints, cmd::kRoundPoints, source);
  s.xScale = UnitScale();
  s.yScale = UnitScale();
  return s;
}

CPlotClip Area(std::vector<Point> vertices, int kind = cmd::kIrregularArea) {
  CPlotClip a(cmd::kBluePoints, kind);
  a.xScale = UnitScale();
  a.yScale = UnitScale();
  a.spacingCheck = 0;
  for (const Point& p : vertices) a.AddPoint(p);
  a.FinishEdit();
  return a;
}

TEST(ColourSet, MapsCommandsAndFileIndicesBothWays) {
  const int commands[] = {32853, 32852, 32851, 32850, 32854, 32855};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ColourIndexOfCommand(commands[i]), i);
    EXPECT_EQ(ColourCommandOfIndex(i), commands[i]);
  }
  EXPECT_EQ(ColourIndexOfCommand(12345), 5);
  EXPECT_EQ(ColourCommandOfIndex(6), 32855);
  EXPECT_EQ(ColourCommandOfIndex(-1), 32855);
  EXPECT_EQ(LineColourOfCommand(32850), Rgb(255, 0, 0));
  EXPECT_EQ(FillColourOfCommand(32854), Rgb(255, 250, 205));
  EXPECT_EQ(LineColourOfCommand(1), Rgb(0, 0, 0));
  EXPECT_EQ(FillColourOfCommand(1), Rgb(192, 192, 192));
  EXPECT_EQ(ColourNameOfCommand(32852), "Blue");
}

TEST(MarkerShapes, MapsCommandsAndFileIndicesBothWays) {
  EXPECT_EQ(ShapeIndexOfCommand(32844), 0);
  EXPECT_EQ(ShapeIndexOfCommand(32845), 1);
  EXPECT_EQ(ShapeIndexOfCommand(32843), 2);
  EXPECT_EQ(ShapeIndexOfCommand(1), 2);
  EXPECT_EQ(ShapeCommandOfIndex(0), 32844);
  EXPECT_EQ(ShapeCommandOfIndex(1), 32845);
  EXPECT_EQ(ShapeCommandOfIndex(7), 32843);
}

TEST(Names, StartWithTheSourceOrKindPrefixAndAnEnglishTimeStamp) {
  std::tm t{};
  t.tm_hour = 14;
  t.tm_min = 3;
  t.tm_sec = 59;
  t.tm_mday = 9;
  t.tm_mon = 11;
  t.tm_year = 126;
  EXPECT_EQ(TimeStampName(t), "(14:03:59 09.Dec.26)");

  EXPECT_EQ(Series(source::kDropped).name.rfind("Spray (", 0), 0u);
  EXPECT_EQ(Series(source::kDigitized).name.rfind("Digit (", 0), 0u);
  EXPECT_EQ(Series(source::kAutomation).name.rfind("(", 0), 0u);
  EXPECT_EQ(CPlotClip(cmd::kRedPoints, cmd::kRectArea).name.rfind("Rect (", 0), 0u);
  EXPECT_EQ(CPlotClip(cmd::kRedPoints, cmd::kRangeArea).name.rfind("Range (", 0), 0u);
  EXPECT_EQ(CPlotFunc(cmd::kRedPoints, 0).name.rfind("(", 0), 0u);
}

TEST(AddingPointsByHand, SeriesNeedTenUnitsAndAreasMoreThanStepAndTenUnits) {
  CPlotDot s = Series();
  EXPECT_TRUE(s.AddPoint({0, 0}));
  EXPECT_FALSE(s.AddPoint({9, 0}));
  EXPECT_TRUE(s.AddPoint({10, 0}));
  EXPECT_TRUE(s.AddPoint({16, 8}));  // exactly 10 away
  s.spacingCheck = 0;
  EXPECT_TRUE(s.AddPoint({16, 8}));
  EXPECT_EQ(s.PointCount(), 4);
  EXPECT_EQ(s.Values()[3].z, 3.0);  // running number

  CPlotClip a(cmd::kRedPoints, cmd::kIrregularArea);
  EXPECT_TRUE(a.AddPoint({0, 0}));
  EXPECT_FALSE(a.AddPoint({10, 0}));
  EXPECT_TRUE(a.AddPoint({11, 0}));
  a.step = 20;
  EXPECT_FALSE(a.AddPoint({31, 0}));
  EXPECT_TRUE(a.AddPoint({32, 0}));
}

TEST(MarkerGeometry, ClampsSizeAndAspectAndNeverGoesBelowOneUnit) {
  struct Case {
    int size;
    double aspect;
    int halfWidth, halfHeight;
    double storedAspect;
  };
  const Case cases[] = {
      {10, 1.0, 4, 4, 1.0},    // 1 mm = 3.94 units
      {0, 1.0, 1, 1, 1.0},     // drawn as size 1
      {1, 1.0, 1, 1, 1.0},     // 0.39 rounds to 0, kept at 1
      {100, 0.05, 39, 4, 0.1},
      {10, 20.0, 4, 39, 10.0},
  };
  for (const Case& c : cases) {
    CPlotDot s = Series();
    s.size = c.size;
    s.aspect = c.aspect;
    s.RecalcMarker();
    EXPECT_EQ(s.halfWidth, c.halfWidth) << c.size << " " << c.aspect;
    EXPECT_EQ(s.halfHeight, c.halfHeight) << c.size << " " << c.aspect;
    EXPECT_DOUBLE_EQ(s.aspect, c.storedAspect);
  }
}

TEST(MarkerGeometry, SizeFollowingTheScaleIsKeptInValueUnits) {
  CPlotDot s = Series();
  s.xScale.k = 2.0;  // 2 value units per cm
  s.yScale.k = 4.0;
  s.SetSize(50, 2.0, 2.0, 4.0);
  EXPECT_DOUBLE_EQ(s.sizeX, 1.0);
  EXPECT_DOUBLE_EQ(s.sizeY, 4.0);
  s.sizeFollowsScale = 1;
  s.RecalcMarker();
  EXPECT_EQ(s.halfWidth, 20);  // 1 value unit = 0.5 cm = 50 tenths of mm
  EXPECT_EQ(s.halfHeight, 39);
  s.ChangeSize(100, 2.0);
  EXPECT_DOUBLE_EQ(s.sizeX, 2.0);
  EXPECT_DOUBLE_EQ(s.sizeY, 8.0);
  EXPECT_DOUBLE_EQ(s.MarkerArea(), 4.0 * 2.0 * 8.0);
}

TEST(MarkerRegion, HitTestAndEraseFollowTheShape) {
  CPlotDot s = Series();
  s.size = 100;  // half size 39
  s.RecalcMarker();
  s.spacingCheck = 0;
  s.AddPoint({0, 0});
  s.AddPoint({200, 0});
  // The corner of the box is outside the ellipse but inside a cross's box.
  EXPECT_TRUE(s.HitTest({30, 0}));
  EXPECT_FALSE(s.HitTest({35, 35}));
  s.SetShape(cmd::kCrossPoints);
  EXPECT_TRUE(s.HitTest({35, 35}));
  s.SetShape(cmd::kTrianglePoints);
  EXPECT_TRUE(s.HitTest({0, 35}));    // under the apex
  EXPECT_FALSE(s.HitTest({35, 35}));  // beside it
  EXPECT_TRUE(s.HitTest({35, -35}));  // on the wide base

  EXPECT_EQ(s.EraseAt({200, -10}), 1);
  EXPECT_EQ(s.PointCount(), 1);
  EXPECT_EQ(s.EraseAt({500, 500}), 0);
}

TEST(PointInformation, DescribesThePositionAndEveryPointUnderIt) {
  CPlotDot s = Series();
  s.spacingCheck = 0;
  s.AddValue(DotValue(10.0, 20.0, 7.0));
  EXPECT_EQ(s.GetPointInfo({10, 20}),
            "Point: u=10 v=20\r\nТочка = 1 \r\nX =   10\r\nY =   20\r\nz=   7\r\n");
  EXPECT_EQ(s.GetPointInfo({500, 500}), "Point: u=500 v=500\r\n");
  std::array<std::string, 4> texts;
  ASSERT_TRUE(s.GetValueTexts(0, texts));
  EXPECT_EQ(texts, (std::array<std::string, 4>{"1", "  10", "  20", "   7"}));
  EXPECT_FALSE(s.GetValueTexts(1, texts));
}

TEST(Sorting, SameKeyAgainReversesAndAChangeOfPointsSortsAfresh) {
  CPlotDot s = Series();
  for (double x : {3.0, 1.0, 2.0}) s.AddValue(DotValue(x * 20, 0, x));
  ASSERT_TRUE(s.SortBy(0));
  EXPECT_EQ(s.Values()[0].x, 20.0);
  EXPECT_EQ(s.Values()[2].x, 60.0);
  EXPECT_EQ(s.Outline()[0].x, 20);  // the outline follows
  ASSERT_TRUE(s.SortBy(0));
  EXPECT_EQ(s.Values()[0].x, 60.0);
  EXPECT_EQ(s.sortDirection, -1);
  s.AddValue(DotValue(0.0, 0, 9));
  ASSERT_TRUE(s.SortBy(0));
  EXPECT_EQ(s.Values()[0].x, 0.0);
  EXPECT_EQ(s.Values()[3].x, 60.0);
  EXPECT_EQ(s.sortDirection, 1);
}

TEST(Sorting, IsStableAndRejectsAKeyBeyondTheRecordCount) {
  CPlotDot s = Series();
  s.AddValue(DotValue(1, 5, 0));
  s.AddValue(DotValue(0, 5, 1));
  s.AddValue(DotValue(2, 4, 2));
  ASSERT_TRUE(s.SortBy(1));
  EXPECT_EQ(s.Values()[0].z, 2.0);
  EXPECT_EQ(s.Values()[1].z, 0.0);  // equal Y keep their order
  EXPECT_EQ(s.Values()[2].z, 1.0);
  EXPECT_FALSE(s.SortBy(3));
}

TEST(Selection, APointInsideTwoAreasIsListedTwiceButRemovedOnce) {
  CPlotDot s = Series();
  s.spacingCheck = 0;
  for (int x : {5, 50, 95}) s.AddValue(DotValue(x, 5, 0));
  const CPlotClip left = Area({{0, 0}, {60, 0}, {60, 10}, {0, 10}});
  const CPlotClip right = Area({{40, 0}, {100, 0}, {100, 10}, {40, 10}});
  s.SelectInside(left);
  s.SelectInside(right);
  EXPECT_EQ(s.Selection(), (std::vector<std::uint32_t>{0, 1, 1, 2}));

  std::vector<DotValue> records;
  EXPECT_EQ(s.CollectInside(left, records), 2);
  EXPECT_EQ(s.CollectInside(right, records), 4);
  EXPECT_EQ(records[3].x, 95.0);

  EXPECT_EQ(s.RemoveSelected(), 3);
  EXPECT_EQ(s.PointCount(), 0);
}

TEST(Selection, RemovingAPointKeepsTheSelectionOnTheSamePoints) {
  CPlotDot s = Series();
  for (int x : {0, 20, 40}) s.AddValue(DotValue(x, 0, x));
  s.SelectPoint(2);
  EXPECT_TRUE(s.RemovePoint(0));
  ASSERT_EQ(s.Selection().size(), 1u);
  EXPECT_EQ(s.GetValue(0, true)->x, 40.0);
  EXPECT_FALSE(s.RemovePoint(5));
  EXPECT_FALSE(s.MovePoint(-1, 1, 1).has_value());
  EXPECT_FALSE(s.GetValue(2).has_value());
}

TEST(AreaMembership, UsesTheEvenOddRuleWithLeftAndBottomEdgesInside) {
  const CPlotClip square = Area({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(square.Contains({0, 0}));
  EXPECT_TRUE(square.Contains({9, 9}));
  EXPECT_FALSE(square.Contains({10, 5}));
  EXPECT_FALSE(square.Contains({5, 10}));
  EXPECT_DOUBLE_EQ(square.ComputedArea(false), 100.0);

  // A pentagram: its centre is covered twice and so lies outside.
  const CPlotClip star = Area({{0, 30}, {18, -25}, {-29, 9}, {29, 9}, {-18, -25}});
  EXPECT_FALSE(star.Contains({0, 0}));
  EXPECT_TRUE(star.Contains({0, 20}));
}

TEST(AreaMembership, ComputedAreaInValueUnitsScalesTheCellCount) {
  CPlotClip square = Area({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  square.xScale.k = 2 / 0.0254;  // 2 value units per plot unit
  EXPECT_NEAR(square.ComputedArea(true), 200.0, 1e-9);
  const CPlotClip flat = Area({{0, 0}, {10, 0}, {10, 0}, {0, 0}});
  EXPECT_DOUBLE_EQ(flat.ComputedArea(true), 0.0);
}

TEST(RectangleAreas, StartFromOneCornerAndKeepTheirShapeWhenAVertexMoves) {
  CPlotClip r(cmd::kRedPoints, cmd::kRectArea);
  r.xScale = UnitScale();
  r.yScale = UnitScale();
  r.AddPoint({0, 0});
  r.SetCorner({50, 40});
  ASSERT_EQ(r.PointCount(), 4);
  EXPECT_EQ(r.Outline(), (std::vector<Point>{{0, 0}, {0, 40}, {50, 40}, {50, 0}}));
  r.SetCorner({60, 30}, true);
  EXPECT_EQ(r.Outline(), (std::vector<Point>{{0, 0}, {0, 30}, {60, 30}, {60, 0}}));

  const auto redraw = r.MovePoint(2, 10, 5);
  ASSERT_TRUE(redraw.has_value());
  EXPECT_EQ(r.Outline(), (std::vector<Point>{{0, 0}, {0, 35}, {70, 35}, {70, 0}}));
  EXPECT_NEAR(r.Values()[3].x, 70.0, 1e-6);
  EXPECT_TRUE(redraw->Contains({80, 45}));  // new corner plus two handle sizes
  EXPECT_EQ(r.HitVertex({72, 33}), 2);
  EXPECT_EQ(r.HitVertex({40, 20}), -1);

  CPlotClip free = Area({{0, 0}, {30, 0}, {30, 30}, {0, 40}});
  free.MovePoint(1, 5, 5);
  EXPECT_EQ(free.Outline()[1], (Point{35, 5}));
  EXPECT_EQ(free.Outline()[2], (Point{30, 30}));
}

TEST(Spraying, PutsPointsEveryStepAlongTheSegmentAfterItsEnd) {
  CPlotDot s = Series(source::kOnLines);
  s.step = 8;
  s.SetLineEnd({0, 0});
  s.SetLineEnd({20, 0});
  s.SetLineEnd({30, 0});  // moves the end
  ASSERT_EQ(s.PointCount(), 2);
  s.SprayLine();
  EXPECT_EQ(s.Outline(), (std::vector<Point>{{0, 0}, {30, 0}, {8, 0}, {16, 0}, {24, 0}}));
  EXPECT_EQ(s.lineStart, 5);
  EXPECT_FALSE(s.inProgress);
}

TEST(Combine, AppendsEveryPointThroughTheTargetsScales) {
  CPlotDot a = Series();
  CPlotDot b = Series();
  b.AddValue(DotValue(100, 100, 1));
  b.AddValue(DotValue(200, 200, 2));
  a.xScale.k = 1 / 0.0254 / 2;
  EXPECT_EQ(a.Combine({&b, &a}), 4);  // itself included: a stable copy is read
  EXPECT_EQ(a.PointCount(), 4);
  EXPECT_EQ(a.Outline()[1], (Point{400, 200}));  // X stretched twice
}

FuncParams Line(double a0, double a1) {
  // Y = a0 + a1 X over 0..100, deviation 10.
  return {0, 0, 1, 0, 0, 100, 100, 10, 0, 0, a0, a1};
}

std::vector<DotValue> RangeOf(double x0, double y0, double x1, double y1) {
  return {DotValue(x0, y0), DotValue(x0, y1), DotValue(x1, y1), DotValue(x1, y0)};
}

CPlotFunc Function(const FuncParams& p) {
  CPlotFunc f(cmd::kGreenPoints, 0);
  f.xScale = UnitScale();
  f.yScale = UnitScale();
  EXPECT_TRUE(f.SetParameters(p));
  EXPECT_TRUE(f.SetRange(RangeOf(0, 0, 100, 100)));
  return f;
}

TEST(FunctionParameters, NeedTenEntriesAndNPlusElevenAndKeepTheOldOnFailure) {
  CPlotFunc f(cmd::kRedPoints, 0);
  EXPECT_FALSE(f.SetParameters(FuncParams(10, 0.0)));
  EXPECT_TRUE(f.SetParameters(FuncParams(11, 0.0)));
  FuncParams five(15, 0.0);
  five[2] = 5;
  EXPECT_FALSE(f.SetParameters(five));
  EXPECT_EQ(f.params.size(), 11u);
  five.push_back(0.0);
  EXPECT_TRUE(f.SetParameters(five));
  EXPECT_FALSE(f.SetRange({DotValue(), DotValue(), DotValue()}));
}

TEST(FunctionCurves, AStraightLineIsSampledWithTwoPointsAndBoundsFollowTheCurve) {
  CPlotFunc f = Function(Line(10, 0.5));
  EXPECT_EQ(f.PointCount(), 4);
  EXPECT_FALSE(f.inProgress);
  ASSERT_EQ(f.curve.size(), 2u);
  EXPECT_DOUBLE_EQ(f.curve[1].y, 60.0);
  EXPECT_EQ(f.Bounds(), (Rect{0, 60, 100, 10}));
  std::vector<DotValue> points;
  EXPECT_EQ(f.SamplesFor(2, points), (100 + 50) * 252 / 2 / 200);
  EXPECT_TRUE(f.HitTest({50, 35}));
  // The band is the curve shifted diagonally by half the deviation (10) plus
  // the line width: 6 units, 3 units up and down for this slope.
  EXPECT_TRUE(f.HitTest({50, 37}));
  EXPECT_FALSE(f.HitTest({50, 40}));
  EXPECT_FALSE(f.HitTest({50, 80}));
}

TEST(FunctionCurves, FarPointsAreClampedAndTheCorridorNeedsAVisibleShift) {
  CPlotFunc f = Function(Line(0, 1000));
  RecordingSurface surface;
  ASSERT_TRUE(f.Draw(surface, {}));
  ASSERT_EQ(surface.Count(Kind::Polyline), 1u);
  EXPECT_EQ(surface.Ops()[0].points.back(), (Point{100, 32000}));

  f.corridor = 1;
  surface.Clear();
  f.Draw(surface, {});
  EXPECT_EQ(surface.Count(Kind::Polyline), 3u);
  EXPECT_EQ(surface.Ops()[1].pen.style, PenStyle::Dot);

  f.params[7] = 1;  // a shift of 1 unit is below line width / 2 + 2
  surface.Clear();
  f.Draw(surface, {});
  EXPECT_EQ(surface.Count(Kind::Polyline), 1u);

  CPlotFunc empty(cmd::kRedPoints, 0);
  EXPECT_FALSE(empty.Draw(surface, {}));
  EXPECT_FALSE(empty.HitTest({0, 0}));
}

TEST(FunctionCurves, NonFiniteSamplesBreakTheCurveInsteadOfDrawingAnywhere) {
  CPlotFunc f = Function(Line(0, 0.5));
  f.curve = {DotValue(0, 0), DotValue(10, 5), DotValue(20, std::nan("")), DotValue(30, 15),
             DotValue(40, 20), DotValue(50, 25)};
  RecordingSurface surface;
  ASSERT_TRUE(f.Draw(surface, {}));
  ASSERT_EQ(surface.Count(Kind::Polyline), 2u);
  EXPECT_EQ(surface.Ops()[0].points.size(), 2u);
  EXPECT_EQ(surface.Ops()[1].points.size(), 3u);
}

TEST(FunctionCurves, SectionsCanBeRemovedOneAtATime) {
  // Two sections: (0,0)-(100,0) and (0,50)-(100,50).
  FuncParams p{40, 0, 8, 0, 0, 100, 50, 0, 0, 0, 0, 0, 100, 0, 0, 50, 100, 50, 0, 0};
  CPlotFunc f = Function(p);
  EXPECT_EQ(f.HitSection({50, 50}), 1);
  EXPECT_EQ(f.HitSection({50, 25}), -1);
  EXPECT_TRUE(f.RemoveSection(0));
  EXPECT_EQ(f.params[2], 4.0);
  EXPECT_EQ(f.params.size(), 16u);
  EXPECT_FALSE(f.RemoveSection(0));  // the last section stays
  EXPECT_FALSE(Function(Line(0, 1)).RemoveSection(0));
}

TEST(Drawing, SeriesDrawOnlyPointsOnThePageAndConnectThemWithTheirOwnPen) {
  CPlotDot s = Series();
  s.spacingCheck = 0;
  for (int x : {10, 50, 5000}) s.AddValue(DotValue(x, 10, 0));
  s.FinishEdit();
  DrawContext context;
  context.page = {0, 1000, 1000, 0};
  RecordingSurface surface;
  EXPECT_TRUE(s.Draw(surface, context));
  EXPECT_EQ(surface.Count(Kind::Ellipse), 2u);
  EXPECT_EQ(surface.Count(Kind::Polyline), 0u);

  s.SetConnect(true);
  s.SetLineWidth(3);
  surface.Clear();
  s.Draw(surface, context);
  ASSERT_EQ(surface.Ops()[0].kind, Kind::Polyline);
  EXPECT_EQ(surface.Ops()[0].pen.width, 3);
  EXPECT_EQ(surface.Ops()[0].points.back(), (Point{1000, 10}));  // clamped to the page
  EXPECT_EQ(surface.Ops()[1].brush, (Brush{BrushStyle::Solid, Rgb(255, 182, 193)}));

  s.occupation = 1;
  surface.Clear();
  s.Draw(surface, context);
  ASSERT_EQ(surface.Count(Kind::FillRegion), 1u);
  EXPECT_EQ(surface.Ops()[0].brush.style, BrushStyle::DiagonalCross);
  EXPECT_EQ(surface.Ops()[0].region.polygons.size(), 2u);
  EXPECT_EQ(surface.Count(Kind::FrameRegion), 1u);

  s.visible = 0;
  surface.Clear();
  EXPECT_FALSE(s.Draw(surface, context));
  EXPECT_TRUE(surface.Ops().empty());
}

TEST(Drawing, LargeSeriesPaintEachPositionOnce) {
  CPlotDot s = Series();
  s.spacingCheck = 0;
  for (int i = 0; i < 6000; ++i) s.AddValue(DotValue(10 + i % 50, 10 + (i / 50) % 20, i));
  DrawContext context;
  context.page = {0, 1000, 1000, 0};
  RecordingSurface surface;
  s.Draw(surface, context);
  EXPECT_EQ(surface.Count(Kind::Ellipse), 50u * 20u);  // 1000 distinct places
}

TEST(Drawing, AreasFillOrThickenOutlineAddMarksAndTheSelectionFrame) {
  CPlotClip a = Area({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  RecordingSurface surface;
  DrawContext context;
  ASSERT_TRUE(a.Draw(surface, context));
  EXPECT_EQ(surface.Ops()[0].brush.style, BrushStyle::Solid);
  EXPECT_EQ(surface.Ops()[0].pen.width, 1);

  context.filled = false;
  context.marks = true;
  a.selected = 1;
  surface.Clear();
  a.Draw(surface, context);
  EXPECT_EQ(surface.Ops()[0].brush.style, BrushStyle::Null);
  EXPECT_EQ(surface.Ops()[0].pen.width, 3);
  EXPECT_EQ(surface.Count(Kind::Rectangle), 4u);
  ASSERT_EQ(surface.Ops().back().kind, Kind::FrameRegion);
  EXPECT_EQ(surface.Ops().back().brush.style, BrushStyle::BackDiagonal);
}

TEST(Drawing, AFinishedAreaSmallerThanFourFrameWidthsIsNotDrawn) {
  // frame width 6: at least 24 units each way.
  CPlotClip thin = Area({{0, 0}, {100, 0}, {100, 23}, {0, 23}});
  RecordingSurface surface;
  EXPECT_FALSE(thin.Draw(surface, {}));
  thin.inProgress = 1;
  EXPECT_TRUE(thin.Draw(surface, {}));
  CPlotClip enough = Area({{0, 0}, {100, 0}, {100, 24}, {0, 24}});
  EXPECT_TRUE(enough.Draw(surface, {}));
}

TEST(AreaTexts, GiveStatisticsOfTheVerticesAndTheComputedArea) {
  const CPlotClip square = Area({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  std::array<std::string, 4> texts;
  ASSERT_TRUE(square.GetValueTexts(1, texts));
  EXPECT_EQ(texts, (std::array<std::string, 4>{"Area max", "  10", "  10", "   3"}));
  ASSERT_TRUE(square.GetValueTexts(5, texts));
  EXPECT_EQ(texts[0], "Computed area");
  EXPECT_EQ(texts[1], " 100");
  EXPECT_FALSE(square.GetValueTexts(7, texts));
}

TEST(ScaleChange, RecalcOutlineMovesPointsFromTheirValues) {
  CPlotDot s = Series();
  s.AddValue(DotValue(100, 50, 0));
  CAxeScale twice = UnitScale();
  twice.k /= 2;
  s.ApplyScales(twice, UnitScale());
  EXPECT_EQ(s.Outline()[0], (Point{200, 50}));
  EXPECT_EQ(s.Values()[0].x, 100.0);
}

}  // namespace
}  // namespace tracemont
