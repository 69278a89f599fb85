#include "acquire/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/main_doc.h"

namespace tracemont {
namespace {

struct FakeHost : CanvasHost {
  DrawingSettings settings;
  bool answer = true;
  int questions = 0;
  int scalesToggles = 0;
  std::vector<PanelKind> panels;
  std::string position;

  DrawingSettings Settings() const override { return settings; }
  bool Confirm(std::string_view) override {
    ++questions;
    return answer;
  }
  void ToggleScalesWindow() override { ++scalesToggles; }
  void OpenPanel(PanelKind kind, CPlot&, Point) override { panels.push_back(kind); }
  void ShowPosition(const std::string& text) override { position = text; }
};

class CanvasTest : public ::testing::Test {
 protected:
  void Use(int toolId, int colour = cmd::kRedPoints) {
    host.settings.tool = toolId;
    host.settings.colour = colour;
    canvas.ToolChanged();
  }
  // Press at the first point, move through the others, release at the last.
  void Drag(const std::vector<Point>& path, bool shift = false) {
    canvas.ButtonDown({path.front(), shift});
    for (std::size_t i = 1; i < path.size(); ++i) canvas.MouseMove({path[i], shift});
    canvas.ButtonUp({path.back(), shift});
  }
  void Click(Point p, bool shift = false) { Drag({p}, shift); }
  // A rectangle area drawn with the tool from corner a to corner b.
  CPlotClip* DrawRectangle(Point a, Point b, int colour) {
    Use(tool::kRectArea, colour);
    Drag({a, {(a.x + b.x) / 2, (a.y + b.y) / 2}, b});
    return doc.Areas().empty() ? nullptr : doc.Areas().back().get();
  }
  CPlotDot* SeriesAt(const std::vector<Point>& points, int colour) {
    std::vector<DotValue> none;
    CPlotDot* s = doc.NewSeriesFromValues(none, {colour, cmd::kRoundPoints, 10, 1.0}, source::kDropped, std::nullopt);
    s->spacingCheck = 0;
    for (Point p : points) s->AddPoint(p);
    s->FinishEdit();
    s->spacingCheck = 1;
    doc.SetCurrentSeries(nullptr);
    return s;
  }

  CMainDoc doc;
  FakeHost host;
  CCanvas canvas{doc, host};
};

TEST_F(CanvasTest, DroppedPointsKeepTenUnitsFromThePreviousOneWhenTheMouseMovesSlowly) {
  Use(tool::kDropPoints);
  std::vector<Point> path;
  for (int x = 150; x <= 250; x += 3) path.push_back({x, -200});
  Drag(path);
  ASSERT_EQ(doc.Series().size(), 1u);
  const CPlotDot& s = *doc.Series().front();
  EXPECT_EQ(s.source, source::kDropped);
  EXPECT_EQ(s.ColourCommand(), cmd::kRedPoints);
  ASSERT_GE(s.PointCount(), 9);
  EXPECT_LE(s.PointCount(), 11);
  for (int i = 1; i < s.PointCount(); ++i)
    EXPECT_GE(SquaredDistance(s.Outline()[i - 1], s.Outline()[i]), 100) << i;
}

TEST_F(CanvasTest, PointsOnLinesSpraysAHundredUnitSegmentIntoAboutTenEvenPoints) {
  Use(tool::kPointsOnLines);
  canvas.ButtonDown({{150, -200}});
  ASSERT_NE(doc.CurrentSeries(), nullptr);
  doc.CurrentSeries()->step = 10;
  for (int x = 160; x <= 250; x += 30) canvas.MouseMove({{x, -200}});
  canvas.ButtonUp({{250, -200}});
  const CPlotDot& s = *doc.Series().front();
  EXPECT_EQ(s.source, source::kOnLines);
  EXPECT_GE(s.PointCount(), 10);
  EXPECT_LE(s.PointCount(), 12);
  std::vector<int> xs;
  for (Point p : s.Outline()) {
    EXPECT_EQ(p.y, -200);
    xs.push_back(p.x);
  }
  std::sort(xs.begin(), xs.end());
  EXPECT_EQ(xs.front(), 150);
  EXPECT_EQ(xs.back(), 250);
  for (std::size_t i = 1; i < xs.size(); ++i) EXPECT_NEAR(xs[i] - xs[i - 1], 10, 1) << i;
}

TEST_F(CanvasTest, AStrokeContinuesTheSeriesUntilTheToolOrStyleChanges) {
  Use(tool::kDropPoints);
  Drag({{150, -150}, {200, -150}});
  Drag({{150, -250}, {200, -250}});
  EXPECT_EQ(doc.Series().size(), 1u);
  canvas.DrawingStyleChanged();
  Drag({{150, -300}, {200, -300}});
  EXPECT_EQ(doc.Series().size(), 2u);
}

TEST_F(CanvasTest, DrawingToolsDoNothingWhileTheDensityIsShown) {
  doc.SetDistributionMode(cmd::kDistribution);
  for (const int t : {tool::kDropPoints, tool::kPointsOnLines}) {
    Use(t);
    Drag({{150, -150}, {200, -150}});
  }
  EXPECT_TRUE(doc.Series().empty());
}

TEST_F(CanvasTest, ARectangleIsKeptOrDroppedByItsSizeAtButtonUp) {
  struct Case {
    int side;
    bool kept;
  };
  for (const Case c : {Case{5, false}, Case{9, false}, Case{100, true}}) {
    doc.ClearAll();
    CPlotClip* area = DrawRectangle({200, -200}, {200 + c.side, -200 - c.side}, cmd::kBluePoints);
    EXPECT_EQ(area != nullptr, c.kept) << c.side;
    if (area) {
      EXPECT_EQ(area->PointCount(), 4);
    }
  }
}

TEST_F(CanvasTest, ShiftDragMovesAnAreaOfAnotherColourWithoutCreatingOne) {
  CPlotClip* red = DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints);
  ASSERT_NE(red, nullptr);
  const std::vector<Point> before = red->Outline();
  Use(tool::kIrregularArea, cmd::kBluePoints);
  Drag({{250, -250}, {270, -260}, {280, -270}}, true);
  ASSERT_EQ(doc.Areas().size(), 1u);
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(red->Outline()[i], (Point{before[i].x + 30, before[i].y - 20})) << i;
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Areas().front()->Outline(), before);
}

TEST_F(CanvasTest, DraggingARectangleVertexKeepsItARectangle) {
  CPlotClip* area = DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints);
  ASSERT_NE(area, nullptr);
  Use(tool::kRectArea, cmd::kRedPoints);
  Drag({{300, -300}, {320, -310}, {340, -320}});
  ASSERT_EQ(doc.Areas().size(), 1u);
  const Rect b = doc.Areas().front()->Bounds().Normalized();
  EXPECT_TRUE(b.Contains({340, -320}));
  EXPECT_TRUE(b.Contains({200, -200}));
}

TEST_F(CanvasTest, RemovingVerticesRemovesTheAreaOnceItCannotBeDrawnAndUndoBringsItBack) {
  const std::vector<Point> vertices{{200, -200}, {300, -200}, {320, -260}, {250, -320}, {180, -260}};
  CPlotClip* area = doc.NewAreaAt(vertices.front(), cmd::kRedPoints, cmd::kIrregularArea);
  for (std::size_t i = 1; i < vertices.size(); ++i) area->AddPoint(vertices[i], i + 1 == vertices.size());
  ASSERT_EQ(area->PointCount(), 5);
  Use(tool::kRemoveAreaFunction, cmd::kBluePoints);
  Click(vertices[2]);
  EXPECT_EQ(area->PointCount(), 5) << "another colour's vertex stays";
  Use(tool::kRemoveAreaFunction, cmd::kRedPoints);
  Click(vertices[2]);
  ASSERT_EQ(doc.Areas().size(), 1u);
  EXPECT_EQ(doc.Areas().front()->PointCount(), 4);
  Click(vertices[3]);
  EXPECT_TRUE(doc.Areas().empty());
  ASSERT_TRUE(doc.Undo());
  ASSERT_EQ(doc.Areas().size(), 1u);
  EXPECT_EQ(doc.Areas().front()->PointCount(), 4);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Areas().front()->PointCount(), 5);
}

TEST_F(CanvasTest, EraseRemovesOnlyPointsOfTheCurrentColourUnlessShiftIsHeld) {
  struct Case {
    bool shift;
    int redLeft;
    int blueLeft;
  };
  for (const Case c : {Case{false, 1, 2}, Case{true, 1, 1}}) {
    doc.ClearAll();
    SeriesAt({{200, -200}, {260, -200}}, cmd::kRedPoints);
    SeriesAt({{200, -200}, {300, -200}}, cmd::kBluePoints);
    Use(tool::kErase, cmd::kRedPoints);
    Drag({{190, -200}, {200, -200}}, c.shift);
    EXPECT_EQ(doc.Series()[0]->PointCount(), c.redLeft) << c.shift;
    EXPECT_EQ(doc.Series()[1]->PointCount(), c.blueLeft) << c.shift;
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Series()[0]->PointCount(), 2);
  }
}

TEST_F(CanvasTest, SelectingAnAreaAndDraggingMovesItsPointsAndOneUndoPutsThemBack) {
  CPlotDot* s = SeriesAt({{220, -220}, {400, -350}}, cmd::kRedPoints);
  ASSERT_NE(DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints), nullptr);
  Use(tool::kSelect, cmd::kRedPoints);
  canvas.ButtonDown({{250, -250}});
  canvas.MouseMove({{260, -255}});
  const std::optional<Rect> repaint = canvas.MouseMove({{280, -270}});
  canvas.ButtonUp({{280, -270}});
  EXPECT_EQ(s->Outline()[0], (Point{250, -240}));
  EXPECT_EQ(s->Outline()[1], (Point{400, -350}));
  ASSERT_TRUE(repaint);
  EXPECT_TRUE(repaint->Contains({230, -230}));
  EXPECT_TRUE(repaint->Contains({250, -240}));
  // Only what moved is repainted: not the unselected, unconnected point.
  EXPECT_FALSE(repaint->Contains({400, -350}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Series().front()->Outline()[0], (Point{220, -220}));
}

TEST_F(CanvasTest, DraggingASelectedPointRepaintsTheLinesToItsNeighbours) {
  CPlotDot* s = SeriesAt({{100, -100}, {250, -250}, {500, -400}}, cmd::kRedPoints);
  s->connect = 1;
  ASSERT_NE(DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints), nullptr);
  Use(tool::kSelect, cmd::kRedPoints);
  canvas.ButtonDown({{260, -260}});
  const std::optional<Rect> repaint = canvas.MouseMove({{270, -265}});
  ASSERT_TRUE(repaint);
  EXPECT_TRUE(repaint->Contains({100, -100}));
  EXPECT_TRUE(repaint->Contains({500, -400}));
}

TEST_F(CanvasTest, TheDeleteKeyRemovesSelectedPointsOnlyWithTheSelectTool) {
  struct Case {
    int toolId;
    bool answer;
    int removed;
  };
  for (const Case c : {Case{tool::kSelect, true, 1}, Case{tool::kSelect, false, 0}, Case{tool::kErase, true, 0}}) {
    doc.ClearAll();
    SeriesAt({{220, -220}, {230, -230}, {400, -350}}, cmd::kRedPoints);
    DrawRectangle({200, -200}, {225, -225}, cmd::kRedPoints);
    Use(tool::kSelect, cmd::kRedPoints);
    Click({212, -212});
    host.answer = c.answer;
    Use(c.toolId, cmd::kRedPoints);
    EXPECT_EQ(canvas.DeleteKey(false), c.removed) << c.toolId << c.answer;
    EXPECT_EQ(doc.Series().front()->PointCount(), 3 - c.removed);
  }
}

TEST_F(CanvasTest, MagnifierZoomsIntoAnAreaAndRestoresTheAxesExactly) {
  CPlotDot* s = SeriesAt({{250, -250}}, cmd::kRedPoints);
  ASSERT_NE(DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints), nullptr);
  const CAxeScale x = doc.Data().axisX.scale;
  const CAxeScale y = doc.Data().axisY.scale;
  const Point before = s->Outline()[0];

  canvas.MagnifierCommand();
  EXPECT_EQ(canvas.Cursor(), CanvasCursor::kMagnifier);
  canvas.ButtonDown({{500, -50}});
  canvas.ButtonUp({{500, -50}});
  EXPECT_EQ(canvas.MagnifierState(), 2);

  Click({250, -250});
  EXPECT_EQ(canvas.MagnifierState(), 1);
  EXPECT_LT(doc.Data().axisX.scale.k, x.k);
  EXPECT_NE(doc.Series().front()->Outline()[0], before);

  canvas.MagnifierCommand();
  EXPECT_EQ(canvas.MagnifierState(), 0);
  EXPECT_EQ(doc.Data().axisX.scale, x);
  EXPECT_EQ(doc.Data().axisY.scale, y);
  EXPECT_EQ(doc.Series().front()->Outline()[0], before);
}

TEST_F(CanvasTest, ChoosingAnotherToolDisarmsTheMagnifier) {
  canvas.MagnifierCommand();
  Use(tool::kErase);
  EXPECT_EQ(canvas.MagnifierState(), 0);
}

TEST_F(CanvasTest, InformationOpensThePanelOfTheObjectUnderTheCursor) {
  SeriesAt({{400, -350}}, cmd::kRedPoints);
  DrawRectangle({200, -200}, {300, -300}, cmd::kRedPoints);
  Use(tool::kInformation, cmd::kRedPoints);
  Click({250, -250});
  Click({400, -350});
  Click({350, -150});
  EXPECT_EQ(host.panels, (std::vector<PanelKind>{PanelKind::kArea, PanelKind::kSeries}));
}

TEST_F(CanvasTest, CommentaryToolCreatesMovesAndDrawsPathsOnlyWhenArmed) {
  Use(tool::kCommentary, cmd::kBluePoints);
  Click({200, -200});
  ASSERT_EQ(doc.Commentaries().size(), 1u);
  CPlotText* text = doc.Commentaries().front().get();
  EXPECT_EQ(text->textColour, Rgb(0, 0, 128));
  text->SetText("Hello");
  const Point anchor = text->Outline().front();
  const Point box = text->Bounds().Centre();
  Drag({box, {box.x + 20, box.y}, {box.x + 40, box.y - 10}});
  ASSERT_EQ(doc.Commentaries().size(), 1u);
  EXPECT_EQ(text->Outline().front(), (Point{anchor.x + 40, anchor.y - 10}));

  text->drawText = 1;
  EXPECT_TRUE(canvas.StartPathDrawing());
  ASSERT_EQ(text->PointCount(), CPlotText::kPathStart);
  std::vector<Point> path;
  for (int i = 0; i < 12; ++i) path.push_back({100 + 30 * i, -300});
  Drag(path);
  // One path start point and one point per character of "Hello".
  EXPECT_EQ(text->PointCount(), 14);
  EXPECT_EQ(doc.Commentaries().size(), 1u);
  canvas.EndPathDrawing();
  text->drawText = 0;
  EXPECT_FALSE(canvas.StartPathDrawing());
  EXPECT_EQ(text->PointCount(), 14) << "a box commentary keeps its path points";
}

TEST_F(CanvasTest, MovesWithoutAPressChangeNothingButShowThePagePosition) {
  SeriesAt({{200, -200}}, cmd::kRedPoints);
  Use(tool::kErase, cmd::kRedPoints);
  EXPECT_FALSE(canvas.MouseMove({{200, -200}}));
  EXPECT_EQ(doc.Series().front()->PointCount(), 1);
  EXPECT_EQ(host.position, " X:  5.08     Y:  5.08");
}

}  // namespace
}  // namespace tracemont
