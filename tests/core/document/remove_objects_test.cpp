#include <gtest/gtest.h>

#include "model/main_doc.h"

namespace tracemont {
namespace {

TEST(RemoveObjects, RemovesSeveralObjectsInOneUndoStep) {
  CMainDoc doc;
  SeriesStyle style;
  std::vector<const CPlot*> made;
  for (int i = 0; i < 3; ++i)
    made.push_back(doc.NewSeriesFromValues({DotValue(i, i), DotValue(i + 1, i)}, style, source::kRead, std::nullopt));
  CPlotClip* area = doc.NewArea(cmd::kRedPoints, cmd::kRectArea);
  made.push_back(area);
  CPlotDot stranger(cmd::kRedPoints, cmd::kRoundPoints, 0);
  made.push_back(&stranger);  // not the document's: skipped

  EXPECT_EQ(doc.RemoveObjects(made), 4);
  EXPECT_TRUE(doc.Series().empty());
  EXPECT_TRUE(doc.Areas().empty());
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Series().size(), 3u);
  EXPECT_EQ(doc.RemoveObjects({&stranger}), 0);
}

}  // namespace
}  // namespace tracemont
