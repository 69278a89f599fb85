#include "acquire/object_panels.h"

#include <gtest/gtest.h>

#include "approx/func_params.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

CPlotDot* SeriesOf(CMainDoc& doc, int n) {
  std::vector<DotValue> records;
  for (int i = 0; i < n; ++i) records.emplace_back(i, 10.0 * i, i);
  return doc.NewSeriesFromValues(records, {}, source::kRead, std::string("S"));
}

TEST(PanelWidths, TypedWidthsAreClampedBeforeTheyBecomePlotUnits) {
  struct Case {
    int typed;
    int stored;  // 0.1 mm
  };
  for (const Case c : {Case{0, 1}, Case{-5, 1}, Case{1, 1}, Case{50, 50}, Case{100, 100}, Case{250, 100}}) {
    CMainDoc doc;
    CPlotDot* s = SeriesOf(doc, 2);
    SeriesFields f = ReadSeriesFields(*s);
    f.connectWidth = c.typed;
    WriteSeriesFields(doc, *s, f);
    EXPECT_EQ(s->connectWidth, std::max(1, TenthMmToPlot(c.stored))) << c.typed;
    EXPECT_TRUE(doc.IsModified());
  }
}

TEST(SeriesPanel, RemovingThreeSelectedRowsKeepsTheOthersInOrder) {
  CMainDoc doc;
  CPlotDot* s = SeriesOf(doc, 6);
  EXPECT_EQ(RemoveSeriesRows(doc, *s, {4, 1, 2, 2, 99, -1}), 3);
  ASSERT_EQ(s->PointCount(), 3);
  EXPECT_EQ(s->Values()[0].x, 0.0);
  EXPECT_EQ(s->Values()[1].x, 3.0);
  EXPECT_EQ(s->Values()[2].x, 5.0);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Series().front()->PointCount(), 6);
}

TEST(AreaPanel, ButtonsNeedEnoughVerticesAndPointsInside) {
  struct Case {
    std::vector<Point> outline;
    bool apply;
    bool function;
    bool copy;
  };
  const Case cases[] = {
      {{{100, -150}, {300, -150}, {300, -350}}, false, false, true},
      {{{150, -150}, {250, -150}, {250, -250}, {150, -250}}, true, true, true},
      {{{400, -100}, {500, -100}, {500, -200}, {400, -200}}, true, false, false},
  };
  for (const Case& c : cases) {
    CMainDoc doc;
    ASSERT_NE(doc.NewSeries({200, -200}, {}, source::kDropped, std::nullopt, true), nullptr);
    CPlotClip* area = doc.NewArea(cmd::kRedPoints, cmd::kIrregularArea);
    area->spacingCheck = 0;
    for (Point p : c.outline) area->AddPoint(p);
    area->FinishEdit();
    const AreaSummary summary = SummariseArea(doc, *area);
    EXPECT_EQ(summary.applyEnabled, c.apply) << c.outline.size();
    EXPECT_EQ(summary.functionEnabled, c.function) << c.outline.size();
    EXPECT_EQ(summary.copyEnabled, c.copy) << c.outline.size();
    EXPECT_EQ(summary.rows.size(), 6u);
  }
}

TEST(FunctionPanel, ChecksFollowTheMethod) {
  struct Case {
    int method;
    bool corridor;
    bool centres;
  };
  for (const Case c : {Case{method::kFourier, false, false}, Case{method::kPieceLinear, true, true},
                       Case{method::kPolynomial, true, false}, Case{method::kExponential, true, false}}) {
    const FunctionChecks checks = ChecksForMethod(c.method);
    EXPECT_EQ(checks.corridor, c.corridor) << c.method;
    EXPECT_EQ(checks.centres, c.centres) << c.method;
  }
}

TEST(FunctionPanel, ApplyingARangeReplacesOnlyTheArgumentAndIsUndoable) {
  CMainDoc doc;
  FuncParams p(12, 0.0);  // constant 0 along X, degree 0
  p[0] = method::kPolynomial;
  const std::vector<DotValue> range{DotValue(0, 0), DotValue(0, 5), DotValue(10, 5), DotValue(10, 0)};
  CPlotFunc* f = doc.NewFunction(p, range, {});
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(ApplyArgumentRange(doc, *f, 1.0, std::nan("")));
  ASSERT_TRUE(ApplyArgumentRange(doc, *f, 8.0, 2.0));
  const ArgumentRange r = ArgumentRangeOf(*f);
  EXPECT_EQ(r.name, "X");
  EXPECT_EQ(r.min, 2.0);
  EXPECT_EQ(r.max, 8.0);
  EXPECT_EQ(f->rangeCorners[2].y, 5.0);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(ArgumentRangeOf(*doc.Functions().front()).max, 10.0);
}

}  // namespace
}  // namespace tracemont
