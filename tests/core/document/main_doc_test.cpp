#include <gtest/gtest.h>

#include <limits>

#include "doc_test_support.h"
#include "model/main_doc.h"
#include "model/object_ids.h"

namespace tracemont {
namespace {

using namespace tracemont::testing;

// Counts what the document tells its observers.
struct Recorder : DocObserver {
  int changed = 0;
  int repaintAll = 0;
  int listChanged = 0;
  int resets = 0;
  int lastSelectedCount = -1;
  std::vector<Rect> regions;
  std::vector<bool> modified;
  void DocumentChanged() override { ++changed; }
  void RepaintAll() override { ++repaintAll; }
  void RepaintRegion(const Rect& r) override { regions.push_back(r); }
  void ObjectListChanged() override { ++listChanged; }
  void SelectedAreasCounted(int n) override { lastSelectedCount = n; }
  void DocumentReset(bool, double, double) override { ++resets; }
  void ModifiedChanged(bool m) override { modified.push_back(m); }
};

// A document whose axes map one value unit to one plot unit from the page
// origin, so that values and outline points agree.
class Document : public ::testing::Test {
 protected:
  void SetUp() override {
    // X axis on top and Y axis on the right: the X range starts at the page's edge.
    doc.Data().axisX.position = 1;
    doc.Data().axisY.position = 2;
    doc.SetAxisScales(CAxeScale(1 / 0.0254, 0, 0, 1, 1, 0), CAxeScale(1 / 0.0254, 0, 0, 1, 1, 0));
    doc.SetModified(false);
  }

  // The value whose outline coordinate is p (p >= 0): the middle of its unit.
  static double ValueAt(const CAxeScale& s, int p) { return s.ToValue((p + 0.5) * 0.0254 - s.lo); }

  CPlotDot* Series(std::vector<Point> points, int colour = cmd::kRedPoints) {
    std::vector<DotValue> values;
    for (const Point& p : points)
      values.emplace_back(ValueAt(doc.Data().axisX.scale, p.x), ValueAt(doc.Data().axisY.scale, p.y));
    return doc.NewSeriesFromValues(values, {colour, cmd::kRoundPoints, 10, 1.0}, source::kRead, std::nullopt);
  }
  CPlotClip* Area(std::vector<Point> vertices, int colour = cmd::kBluePoints) {
    CPlotClip* area = doc.NewArea(colour, cmd::kIrregularArea);
    area->spacingCheck = 0;
    for (std::size_t i = 0; i < vertices.size(); ++i) area->AddPoint(vertices[i], i + 1 == vertices.size());
    return area;
  }

  CMainDoc doc;
};

TEST(ObjectIdCounter, OnlyGrowsAndStopsAtTheLargestId) {
  IdCounter ids;
  EXPECT_EQ(ids.Next(), 1u);
  ids.Raise(57);
  EXPECT_EQ(ids.Next(), 58u);
  ids.Raise(10);
  EXPECT_EQ(ids.Next(), 59u);
  ids.Raise(std::numeric_limits<std::uint32_t>::max());
  EXPECT_FALSE(ids.Next());
  EXPECT_EQ(ids.Highest(), std::numeric_limits<std::uint32_t>::max());
}

TEST_F(Document, OpeningRaisesTheIdCounterButNeverLowersIt) {
  ScratchDir dir;
  const std::uint32_t base = ObjectIds().Highest();
  DocumentData stored;
  stored.series.push_back(MakeSeries({{1, 1}}));
  stored.series[0]->id = base + 57;
  ASSERT_TRUE(SaveDocumentFile(dir.Path("ids.tmr"), stored).ok);

  ASSERT_TRUE(doc.Open(dir.Path("ids.tmr")).ok);
  EXPECT_EQ(Series({{5, 5}})->id, base + 58);

  while (ObjectIds().Highest() < base + 70) ObjectIds().Next();
  ASSERT_TRUE(doc.Open(dir.Path("ids.tmr")).ok);
  EXPECT_EQ(doc.Series()[0]->id, base + 57);  // ids read stay as stored
  EXPECT_EQ(Series({{5, 5}})->id, base + 71);
}

TEST_F(Document, NewSeriesTakesTheDocumentsSettings) {
  Recorder seen;
  doc.AddObserver(seen);
  doc.Data().editor.connectDefault = 1;
  doc.Data().editor.drawingStep = 50;
  CPlotDot* s = doc.NewSeries({100, -200}, {cmd::kGreenPoints, cmd::kCrossPoints, 30, 20.0},
                              source::kDropped, std::string("mine"), true);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(doc.CurrentSeries(), s);
  EXPECT_EQ(s->name, "mine");
  EXPECT_EQ(s->step, 20);  // 5 mm in plot units
  EXPECT_EQ(s->connect, 1);
  EXPECT_EQ(s->aspect, 10.0);
  EXPECT_EQ(s->xScale, doc.Data().axisX.scale);
  EXPECT_EQ(s->Outline(), std::vector<Point>{Point({100, -200})});
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(seen.listChanged, 1);
  EXPECT_TRUE(doc.CanUndo());

  CPlotDot* close = Series({{0, 0}, {1, 0}});  // closer than a hand-placed point may be
  EXPECT_EQ(close->PointCount(), 2);
  EXPECT_FALSE(close->inProgress);
  EXPECT_EQ(close->spacingCheck, 1);
  doc.RemoveObserver(seen);
}

TEST_F(Document, ARejectedFunctionLeavesNoTrace) {
  const FuncParams good{0, 0, 2, 0, 0, 10, 10, 0.1, 0, 0, 1, 2, 0.1};
  const std::vector<DotValue> range{DotValue(0, 0), DotValue(0, 10), DotValue(10, 10), DotValue(10, 0)};
  CPlotFunc* f = doc.NewFunction(good, range, {cmd::kRedPoints, Rgb(1, 2, 3), 0, true, 0});
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->lineWidth, 1);  // 0 taken as 0.1 mm, at least one unit
  EXPECT_EQ(f->colour, Rgb(1, 2, 3));
  std::vector<std::string> rows;
  if (DescribeFunction(good, rows, 1) > 1) {
    EXPECT_EQ(f->name, rows.front());
  }

  const std::uint32_t highest = ObjectIds().Highest();
  const std::size_t undoBefore = doc.History().UndoCount();
  EXPECT_EQ(doc.NewFunction({0, 0, 5}, range, {}), nullptr);
  EXPECT_EQ(ObjectIds().Highest(), highest);
  EXPECT_EQ(doc.Functions().size(), 1u);
  EXPECT_EQ(doc.CurrentFunction(), f);
  EXPECT_EQ(doc.History().UndoCount(), undoBefore + 1);  // the checkpoint was taken

  CPlotFunc* wide = doc.NewFunction(good, range, {cmd::kRedPoints, 0, 500, false, 0});
  EXPECT_EQ(wide->lineWidth, 39);  // clamped to 10 mm
}

TEST_F(Document, RangeAreasNeedTheDensityOrDiagramAndThreePoints) {
  std::vector<Point> traced = {{0, 0}, {0, 3}};
  doc.SetRangeTracer([&](Point) { return traced; });
  EXPECT_EQ(doc.NewRangeArea({1, 1}, cmd::kRedPoints), nullptr);  // mode 0
  doc.SetDistributionMode(cmd::kDistribution);
  EXPECT_EQ(doc.NewRangeArea({1, 1}, cmd::kRedPoints), nullptr);  // two points
  traced = {{0, 0}, {0, 3}, {3, 3}, {3, 0}};
  CPlotClip* area = doc.NewRangeArea({1, 1}, cmd::kRedPoints);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->Outline(), traced);  // kept although the points are close
  EXPECT_EQ(area->name.rfind("Range (", 0), 0u);
  EXPECT_EQ(doc.CurrentArea(), area);
}

TEST_F(Document, QueriesSkipInvisibleObjectsAndFilterByColour) {
  CPlotDot* red = Series({{100, 100}});
  CPlotDot* blue = Series({{100, 100}}, cmd::kBluePoints);
  EXPECT_EQ(doc.HitObject(doc.Series(), {100, 100}, 0), red);
  EXPECT_EQ(doc.HitObject(doc.Series(), {100, 100}, cmd::kBluePoints), blue);
  EXPECT_EQ(doc.FindById(doc.Series(), blue->id), blue);
  red->visible = 0;
  EXPECT_EQ(doc.HitObject(doc.Series(), {100, 100}, 0), blue);
  EXPECT_EQ(doc.FindById(doc.Series(), red->id), nullptr);
  EXPECT_EQ(doc.FindById(doc.Series(), 0xFFFFFFF0u), nullptr);

  CPlotClip* area = Area({{0, 0}, {0, 200}, {200, 200}, {200, 0}});
  const auto vertex = doc.HitVertex({203, 198}, 0);
  ASSERT_TRUE(vertex);
  EXPECT_EQ(vertex->area, area);
  EXPECT_EQ(vertex->vertex, 2);
  EXPECT_FALSE(doc.HitVertex({203, 198}, cmd::kRedPoints));
  EXPECT_FALSE(doc.HitFunction({0, 0}, 0));

  red->visible = 1;
  std::vector<DotValue> records;
  EXPECT_EQ(doc.CollectInArea(*area, records, 0), 2);
  EXPECT_EQ(doc.CollectInArea(*area, records, cmd::kBluePoints), 3);
}

TEST_F(Document, OverlappingSelectedAreasSelectTwiceButRemoveOnce) {
  CPlotDot* s = Series({{50, 50}, {150, 50}, {300, 300}});
  CPlotClip* left = Area({{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  CPlotClip* wide = Area({{0, 0}, {0, 100}, {200, 100}, {200, 0}});
  doc.ToggleAreaSelection(*left);
  doc.ToggleAreaSelection(*wide);
  EXPECT_EQ(doc.SelectedAreaCount(), 2);

  doc.SelectPointsInSelectedAreas(0);
  EXPECT_EQ(s->Selection(), (std::vector<std::uint32_t>{0, 0, 1}));

  EXPECT_EQ(doc.RemovePointsInSelectedAreas([](std::string_view) { return false; }), 0);
  EXPECT_EQ(s->PointCount(), 3);
  std::string asked;
  EXPECT_EQ(doc.RemovePointsInSelectedAreas([&](std::string_view q) {
    asked = q;
    return true;
  }),
            2);
  EXPECT_EQ(asked, "All points in area will be removed.");
  EXPECT_EQ(s->PointCount(), 1);
  EXPECT_TRUE(doc.Data().histo.recomputeNeeded);

  doc.UnselectAllAreas();
  EXPECT_EQ(doc.SelectedAreaCount(), 0);
  doc.SelectPointsInSelectedAreas(0);  // nothing selected: the selection stays
  EXPECT_TRUE(s->Selection().empty());
}

TEST_F(Document, RemovingPointsInAnAreaPurgesWhatBecameEmpty) {
  Series({{500, 500}});
  Series({{10, 10}, {20, 20}});
  CPlotClip* area = Area({{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  Area({{300, 300}, {300, 400}, {400, 400}, {400, 300}});
  EXPECT_EQ(doc.RemovePointsInArea(*area, 0), 2);
  EXPECT_EQ(doc.Series().size(), 1u);  // the emptied series is gone
  EXPECT_EQ(doc.CurrentSeries(), nullptr);
  EXPECT_EQ(doc.CurrentArea(), area);
  EXPECT_EQ(doc.Areas().back().get(), area);  // moved to the end
}

TEST_F(Document, PurgeDropsEmptyVisibleSeriesAndUndrawableAreas) {
  CPlotDot* empty = Series({});
  CPlotDot* hidden = Series({});
  hidden->visible = 0;
  Series({{1, 1}});
  Area({{0, 0}, {0, 23}, {100, 23}, {100, 0}});  // lower than 4 x 6 units
  CPlotClip* kept = Area({{0, 0}, {0, 24}, {100, 24}, {100, 0}});
  Area({{0, 0}, {0, 100}, {100, 100}});
  EXPECT_EQ(doc.PurgeEmpty(), 3);
  EXPECT_EQ(doc.Series().size(), 2u);
  ASSERT_EQ(doc.Areas().size(), 1u);
  EXPECT_EQ(doc.Areas()[0].get(), kept);
  EXPECT_EQ(doc.CurrentArea(), nullptr);  // the last area made was purged
  (void)empty;
}

TEST_F(Document, RemovingAnEmptySeriesIsSafeAndUndoable) {
  Series({{1, 1}});
  CPlotDot* empty = Series({});
  EXPECT_TRUE(doc.RemoveObject(empty));
  EXPECT_EQ(doc.Series().size(), 1u);
  EXPECT_EQ(doc.CurrentSeries(), nullptr);
  const CPlotDot stranger(cmd::kRedPoints, cmd::kRoundPoints, 0);
  EXPECT_FALSE(doc.RemoveObject(&stranger));
  ASSERT_TRUE(doc.Undo());
  // The snapshot holds no empty series: undo brings back the rest.
  EXPECT_EQ(doc.Series().size(), 1u);
}

TEST_F(Document, PageSizeIsClampedAndDistributionModesFollowTheirCommands) {
  doc.ApplyPageSize(50, 20000);
  EXPECT_EQ(doc.Data().pageWidth, 100);
  EXPECT_EQ(doc.Data().pageHeight, 10000);

  const std::pair<int, int> modes[] = {{32870, 3}, {32871, 2}, {32873, 1}, {32872, 0}, {0, 0}};
  for (const auto& [command, mode] : modes) {
    doc.SetDistributionMode(command);
    EXPECT_EQ(doc.Data().histo.mode, mode) << command;
  }
}

TEST_F(Document, FittingToAWindowConvertsPixelsToTenthsOfMillimetres) {
  doc.FitPageToWindow(960, 480, 96, 96);
  EXPECT_EQ(doc.Data().pageWidth, 2540);
  EXPECT_EQ(doc.Data().pageHeight, 1270);
  EXPECT_TRUE(doc.CanUndo());
}

TEST_F(Document, ChangesWithOutlinesGiveEveryObjectTheAxesAndTheSizeOption) {
  CPlotDot* s = Series({{100, 100}});
  doc.Data().histo.density.sizeFollowsScale = 1;
  doc.Data().axisX.scale.k = 2 / 0.0254;  // two value units per plot unit
  Recorder seen;
  doc.AddObserver(seen);
  doc.ChangedWithOutlines();
  EXPECT_EQ(s->sizeFollowsScale, 1);
  EXPECT_EQ(s->xScale.k, 2 / 0.0254);
  EXPECT_EQ(s->Outline()[0].x, 50);
  EXPECT_EQ(seen.changed, 1);
  EXPECT_EQ(seen.repaintAll, 1);
  doc.RemoveObserver(seen);
  doc.Changed();
  EXPECT_EQ(seen.changed, 1);
}

TEST_F(Document, TheLegendToggleAndObjectChangesRepaintTheirRegion) {
  Recorder seen;
  doc.AddObserver(seen);
  doc.ToggleLegend();
  EXPECT_EQ(doc.Data().legend.visible, 1);
  ASSERT_EQ(seen.regions.size(), 1u);
  EXPECT_EQ(seen.regions[0], (Rect{100, -100, 200, -150}));
  EXPECT_EQ(seen.modified, std::vector<bool>{true});
  doc.RemoveObserver(seen);
}

TEST_F(Document, ANewDocumentForgetsObjectsAndHistory) {
  Series({{1, 1}});
  Recorder seen;
  doc.AddObserver(seen);
  doc.NewDocument();
  EXPECT_TRUE(doc.Series().empty());
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.Data().title, "Points (X,Y) distribution");
  EXPECT_EQ(seen.resets, 1);
  EXPECT_EQ(seen.lastSelectedCount, 0);
  doc.RemoveObserver(seen);
}

}  // namespace
}  // namespace tracemont
