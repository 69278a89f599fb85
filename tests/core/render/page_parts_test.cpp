#include <gtest/gtest.h>

#include "model/plot_objects.h"
#include "render/page_parts.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

struct Axes {
  CVisuPara visu;
  CPlaneAxe x{0};
  CPlaneAxe y{1};
  Rect plot;
  Axes() {
    x.visu = &visu;
    y.visu = &visu;
    plot = LayoutPage(2000, 1500, x, y);  // 787 x 591 units, bands of 1 cm
  }
};

std::vector<std::string> Texts(const RecordingSurface& s) {
  std::vector<std::string> texts;
  for (const RecordedOp& op : s.Ops())
    if (op.kind == Kind::Text) texts.push_back(op.text);
  return texts;
}

TEST(AxisTicks, StartAtTheAxisStartAndKeepClearOfTheBandEnds) {
  Axes a;
  RecordingSurface surface;
  const std::vector<AxisTick> ticks = AxisTicks(a.x, surface);
  // The plot is 19 cm wide from 1 cm: values 0..18, the first too close to the end.
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(ticks.front().value, 1.0);
  EXPECT_EQ(ticks.front().label, "1.0 ");  // "%6.1f" for a step of 1, trimmed
  EXPECT_EQ(ticks.front().position, a.x.scale.ToPlot(1.0));
  EXPECT_EQ(ticks.back().value, 18.0);
  for (const AxisTick& t : ticks) {
    EXPECT_GE(t.position, a.x.axisRect.left + 9);
    EXPECT_LE(t.position, a.x.axisRect.right - 11);
  }
}

TEST(AxisTicks, SkipLabelsThatWouldOverlapAndStopAtAHundred) {
  Axes a;
  a.x.tickStep = 0.1;  // 4 units apart, labels far wider
  a.x.scale.k = 0.001;
  RecordingSurface surface;
  const std::vector<AxisTick> ticks = AxisTicks(a.x, surface);
  EXPECT_EQ(ticks.size(), 97u);  // 100 produced, three within 9 units of the start
  EXPECT_EQ(ticks[0].label, "0.00030 ");
  const auto shown = std::count_if(ticks.begin(), ticks.end(), [](const AxisTick& t) { return t.labelShown; });
  EXPECT_GT(shown, 1);
  EXPECT_LT(shown, 30);
  EXPECT_TRUE(ticks[0].labelShown);
  EXPECT_FALSE(ticks[1].labelShown);
}

TEST(PaintAxis, PaintsNothingWithoutPositionOrVisualParameters) {
  Axes a;
  RecordingSurface surface;
  a.x.position = 0;
  PaintAxis(a.x, surface, true, a.plot);
  a.y.visu = nullptr;
  PaintAxis(a.y, surface, true, a.plot);
  EXPECT_TRUE(surface.Ops().empty());
}

TEST(PaintAxis, DrawsGridLinesOnlyWhenAskedAndTheAxisLineLast) {
  Axes a;
  a.y.arrow = 1;
  RecordingSurface with;
  PaintAxis(a.y, with, true, a.plot);
  RecordingSurface without;
  PaintAxis(a.y, without, false, a.plot);
  const std::size_t ticks = AxisTicks(a.y, without).size();
  EXPECT_EQ(with.Count(Kind::Polyline), without.Count(Kind::Polyline) + ticks);
  // Grid lines use the "Tick" line style: width 0 draws dotted.
  const RecordedOp& grid = with.Ops().front();
  EXPECT_EQ(grid.pen.style, PenStyle::Dot);
  EXPECT_EQ(grid.points.front().x, a.plot.left);
  EXPECT_EQ(grid.points.back().x, a.plot.right);
  // The arrow head closes the picture; the axis line comes just before it.
  ASSERT_EQ(with.Ops().back().kind, Kind::Polygon);
  const RecordedOp& line = with.Ops()[with.Ops().size() - 2];
  EXPECT_EQ(line.pen.width, 2);  // 0.5 mm
  EXPECT_EQ(line.points.front(), (Point{a.y.axisRect.right, a.y.axisRect.bottom}));
  const std::vector<std::string> texts = Texts(with);
  EXPECT_EQ(texts.back(), "Param Y, cm");
}

TEST(PageGrid, RunsEveryFiveMillimetresFromTheFirstUnit) {
  RecordingSurface surface;
  PaintPageGrid(surface, 100, 60, false);  // steps of 19.69 units
  std::vector<int> xs;
  std::vector<int> ys;
  for (const RecordedOp& op : surface.Ops()) {
    if (op.points[0].x == op.points[1].x) xs.push_back(op.points[0].x);
    else ys.push_back(op.points[0].y);
  }
  EXPECT_EQ(xs, (std::vector<int>{1, 20, 40, 60, 79, 99}));
  EXPECT_EQ(ys, (std::vector<int>{-1, -20, -40}));
  EXPECT_EQ(surface.Ops()[0].pen, (Pen{PenStyle::Dot, 0, Rgb(221, 221, 204)}));
  surface.Clear();
  PaintPageGrid(surface, 20, 20, true);  // one step does not fit
  EXPECT_TRUE(surface.Ops().empty());
}

TEST(IndentText, TitleStandsOnTheLowerEdgeAndCommentLinesGoDown) {
  CVisuPara visu;
  CIndent title = CIndent::OfKind(1);
  title.visu = &visu;
  title.rect = {0, 0, 400, -50};
  RecordingSurface surface;
  PaintIndentText(title, surface, "A title");
  ASSERT_EQ(surface.Ops().size(), 1u);
  EXPECT_EQ(surface.Ops()[0].points[0], (Point{200, -50}));
  EXPECT_EQ(surface.Ops()[0].font.height, 24);

  CIndent comment = CIndent::OfKind(3);
  comment.visu = &visu;
  comment.rect = {10, -500, 400, -600};
  surface.Clear();
  PaintIndentText(comment, surface, "one\r\ntwo");
  comment.flag = 1;
  PaintIndentText(comment, surface, "one\r\ntwo");
  ASSERT_EQ(surface.Ops().size(), 2u);
  EXPECT_EQ(surface.Ops()[0].text, "one");
  EXPECT_EQ(surface.Ops()[1].points[0].y, -500 - 10);  // 2.5 mm text
}

TEST(Legend, ShowsTheSeriesThatFitAndNoFunctionsAfterThem) {
  CVisuPara visu;
  CLegend legend;
  legend.visible = 1;
  legend.rect = {0, -60, 300, 0};  // given upside down: normalised and stored
  std::vector<CPlotDot> dots(6, CPlotDot(cmd::kRedPoints, cmd::kRoundPoints, 0));
  CPlotFunc function(cmd::kBluePoints, 0);
  std::vector<CPlot*> series;
  for (CPlotDot& d : dots) series.push_back(&d);
  std::vector<CPlot*> functions{&function};
  RecordingSurface surface;
  PaintLegend(legend, visu, surface, series, functions);
  EXPECT_EQ(legend.rect, (Rect{0, 0, 300, -60}));
  ASSERT_EQ(surface.Ops()[0].kind, Kind::Rectangle);
  EXPECT_EQ(surface.Ops()[0].pen, (Pen{PenStyle::Solid, 2, Rgb(0, 0, 255)}));
  // Rows of 13 units (1.3 x 10) from 4 below the top: four fit in 60 units.
  EXPECT_EQ(surface.Count(Kind::Text), 4u);
  EXPECT_EQ(surface.Count(Kind::Ellipse), 4u);

  legend.rect = {0, 0, 300, -200};
  dots.resize(2, CPlotDot(cmd::kRedPoints, cmd::kRoundPoints, 0));
  series.resize(2);
  surface.Clear();
  PaintLegend(legend, visu, surface, series, functions);
  EXPECT_EQ(surface.Count(Kind::Text), 3u);

  legend.visible = 0;
  surface.Clear();
  PaintLegend(legend, visu, surface, series, functions);
  EXPECT_TRUE(surface.Ops().empty());
}

}  // namespace
}  // namespace tracemont
