#include <gtest/gtest.h>

#include "model/document_data.h"
#include "render/page_painter.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

// A document with one area, two series and a function, laid out on its page.
struct Page {
  DocumentData doc;
  CPlotClip* area = nullptr;
  CPlotDot* first = nullptr;
  CPlotDot* second = nullptr;

  Page() {
    LayoutPage(doc.pageWidth, doc.pageHeight, doc.axisX, doc.axisY, doc.indents);
    auto add = [&](auto object) {
      object->xScale = doc.axisX.scale;
      object->yScale = doc.axisY.scale;
      return object;
    };
    auto a = add(std::make_unique<CPlotClip>(cmd::kBrownPoints, cmd::kRectArea));
    for (const DotValue& v : {DotValue(1, 1), DotValue(1, 5), DotValue(6, 5), DotValue(6, 1)}) a->AddValue(v);
    a->FinishEdit();
    a->id = 1;
    area = a.get();
    doc.areas.push_back(std::move(a));
    for (int i = 0; i < 2; ++i) {
      auto s = add(std::make_unique<CPlotDot>(i == 0 ? cmd::kRedPoints : cmd::kBluePoints, cmd::kRoundPoints, 2));
      s->AddValue(DotValue(2 + i, 3));
      s->FinishEdit();
      s->id = 2 + static_cast<std::uint32_t>(i);
      (i == 0 ? first : second) = s.get();
      doc.series.push_back(std::move(s));
    }
  }
};

// The fill colours of the ellipses drawn, in order: which series came when.
std::vector<Colour> MarkerFills(const RecordingSurface& s) {
  std::vector<Colour> fills;
  for (const RecordedOp& op : s.Ops())
    if (op.kind == Kind::Ellipse) fills.push_back(op.brush.colour);
  return fills;
}

TEST(PagePainter, PaintsAreasBeforeSeriesAndTheCurrentSeriesLast) {
  Page page;
  RecordingSurface surface;
  PagePaintOptions options;
  PaintPage(page.doc, surface, options);
  const auto firstPolygon = std::find_if(surface.Ops().begin(), surface.Ops().end(),
                                         [](const RecordedOp& op) { return op.kind == Kind::Polygon; });
  const auto firstEllipse = std::find_if(surface.Ops().begin(), surface.Ops().end(),
                                         [](const RecordedOp& op) { return op.kind == Kind::Ellipse; });
  ASSERT_NE(firstPolygon, surface.Ops().end());
  ASSERT_NE(firstEllipse, surface.Ops().end());
  EXPECT_LT(firstPolygon, firstEllipse);
  EXPECT_EQ(MarkerFills(surface), (std::vector<Colour>{page.first->FillColour(), page.second->FillColour()}));

  surface.Clear();
  options.currentId = page.first->id;  // first in the list, painted on top
  PaintPage(page.doc, surface, options);
  EXPECT_EQ(MarkerFills(surface), (std::vector<Colour>{page.second->FillColour(), page.first->FillColour()}));
}

TEST(PagePainter, DensityAndDiagramModesPaintNoSeries) {
  for (const int mode : {distribution::kDensity, distribution::kDiagram}) {
    Page page;
    page.doc.histo.mode = mode;
    RecordingSurface surface;
    PaintPage(page.doc, surface, {});
    EXPECT_TRUE(MarkerFills(surface).empty()) << mode;
    EXPECT_GE(surface.Count(Kind::Polygon), 1u) << mode;  // the area still is
  }
  Page occupied;
  occupied.doc.histo.mode = distribution::kOccupation;
  RecordingSurface surface;
  PaintPage(occupied.doc, surface, {});
  EXPECT_EQ(surface.Count(Kind::FillRegion) >= 2, true);  // page, bands and the hatched boxes
  EXPECT_TRUE(occupied.first->occupation);
}

TEST(PagePainter, GridAndGreySurroundingsOnlyOnScreen) {
  Page page;
  PagePaintOptions screen;
  screen.showGrid = true;
  screen.visibleArea = {0, 0, 2000, -2000};
  RecordingSurface onScreen;
  PaintPage(page.doc, onScreen, screen);
  const auto dotted = [](const RecordingSurface& s) {
    return std::count_if(s.Ops().begin(), s.Ops().end(), [](const RecordedOp& op) {
      return op.kind == Kind::Polyline && op.pen.colour == Rgb(221, 221, 204);
    });
  };
  const auto grey = [](const RecordingSurface& s) {
    return std::count_if(s.Ops().begin(), s.Ops().end(), [](const RecordedOp& op) {
      return op.kind == Kind::FillRegion && op.brush.colour == Rgb(128, 128, 128);
    });
  };
  EXPECT_GT(dotted(onScreen), 10);
  EXPECT_EQ(grey(onScreen), 2);

  PagePaintOptions printer = screen;
  printer.forPrinter = true;
  RecordingSurface onPaper(Rect{-100000, 100000, 100000, -100000}, true);
  PaintPage(page.doc, onPaper, printer);
  EXPECT_EQ(dotted(onPaper), 0);
  EXPECT_EQ(grey(onPaper), 0);
  EXPECT_EQ(onPaper.Count(Kind::RoundRect), 1u);  // the frame round the axis bands
}

TEST(PagePainter, TheTitleStandsInTheUpperMarginBlock) {
  Page page;
  page.doc.title = "Title";
  RecordingSurface surface;
  PaintPage(page.doc, surface, {});
  const auto title = std::find_if(surface.Ops().begin(), surface.Ops().end(),
                                  [](const RecordedOp& op) { return op.kind == Kind::Text && op.text == "Title"; });
  ASSERT_NE(title, surface.Ops().end());
  EXPECT_EQ(title->points[0].y, -39);  // 1 cm block at the top: its lower edge
  page.doc.indents[1].flag = 0;
  surface.Clear();
  PaintPage(page.doc, surface, {});
  EXPECT_EQ(std::count_if(surface.Ops().begin(), surface.Ops().end(),
                          [](const RecordedOp& op) { return op.text == "Title"; }),
            0);
}

TEST(PagePainter, ObjectsOutsideTheClipBoxAreNotAskedToDraw) {
  Page page;
  RecordingSurface clipped(Rect{1500, -1500, 1600, -1600});
  PaintPage(page.doc, clipped, {});
  EXPECT_TRUE(MarkerFills(clipped).empty());
}

}  // namespace
}  // namespace tracemont
