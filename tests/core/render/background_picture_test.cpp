#include <gtest/gtest.h>

#include "model/document_data.h"
#include "render/page_painter.h"
#include "render/picture_placement.h"
#include "render/recording_surface.h"

namespace tracemont {
namespace {

using Kind = RecordedOp::Kind;

class FixedPicture final : public Picture {
 public:
  Size PixelSize() const override { return {96, 48}; }  // 1 x 0.5 inch at 96 dpi
};

TEST(BackgroundPicture, IsPaintedOverTheWhitePageBeforeAnythingElseOnlyWhenShown) {
  DocumentData doc;
  LayoutPage(doc.pageWidth, doc.pageHeight, doc.axisX, doc.axisY, doc.indents);
  const FixedPicture picture;
  PagePaintOptions options;
  options.background = &picture;
  const Rect page = PageRectOf(doc);

  struct Case {
    int shown, stretched, centred;
    bool painted;
    Rect dest;
  } const cases[] = {
      {0, 1, 0, false, {}},
      {1, 1, 0, true, page},
      {1, 0, 0, true, {0, 0, 100, -50}},
      {1, 0, 1, true, {page.right / 2 - 50, page.bottom / 2 + 25, page.right / 2 + 50, page.bottom / 2 - 25}},
  };
  for (const auto& c : cases) {
    doc.editor.pictureShown = c.shown;
    doc.editor.pictureStretched = c.stretched;
    doc.editor.pictureCentred = c.centred;
    RecordingSurface surface;
    PaintPage(doc, surface, options);
    ASSERT_EQ(surface.Count(Kind::Picture), c.painted ? 1u : 0u) << c.shown;
    if (!c.painted) continue;
    ASSERT_GE(surface.Ops().size(), 2u);
    EXPECT_EQ(surface.Ops()[0].kind, Kind::FillRegion);  // the white page
    EXPECT_EQ(surface.Ops()[1].kind, Kind::Picture);
    EXPECT_EQ(surface.Ops()[1].rect, c.dest) << c.stretched << c.centred;
  }
}

}  // namespace
}  // namespace tracemont
