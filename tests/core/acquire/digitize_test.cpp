#include "acquire/digitize.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/colours.h"
#include "render/page_painter.h"
#include "render/picture_placement.h"

namespace tracemont {
namespace {

constexpr Colour kRed = Rgb(255, 0, 0);

TEST(MapLinearTest, MapsEndsOntoEndsAndLeavesADegenerateRangeAlone) {
  struct Case {
    double v, a, b, c, d, expected;
  } const cases[] = {
      {0, 0, 100, 0, 10, 0},  {50, 0, 100, 0, 10, 5}, {100, 0, 100, 0, 10, 10},
      {0, 0, 100, 10, 0, 10}, {150, 0, 100, 0, 10, 15}, {7, 3, 3, 0, 10, 7},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(MapLinear(c.v, c.a, c.b, c.c, c.d), c.expected) << c.v;
}

TEST(DigitLimitsTest, RemapsOnlyAfterALimitWasEdited) {
  DigitLimits limits;
  limits.xMin = 0;
  limits.xMax = 2;
  limits.Open();
  EXPECT_DOUBLE_EQ(limits.MapX(1.5), 1.5);  // OK without editing keeps the axis values
  limits.EditLimit(1, 1.0);                 // Y max unchanged in value but edited
  EXPECT_TRUE(limits.changed);
  limits.EditLimit(0, 4);
  EXPECT_DOUBLE_EQ(limits.MapX(1.5), 3.0);
  limits.Open();
  EXPECT_FALSE(limits.changed);
  EXPECT_DOUBLE_EQ(limits.oldXMax, 4.0);
  EXPECT_TRUE(DigitLimits::IsValidStep(100));
  EXPECT_FALSE(DigitLimits::IsValidStep(101));
  EXPECT_FALSE(DigitLimits::IsValidStep(-1));
}

TEST(DigitLimitsTest, ScreenRectangleMapsLeftToXMinAndTopToYMax) {
  DigitLimits limits;
  limits.xMin = 0;
  limits.xMax = 10;
  limits.yMin = -1;
  limits.yMax = 1;
  limits.screen = {200, 300, 300, 400};
  EXPECT_DOUBLE_EQ(limits.MapScreen({200, 300})->x, 0.0);
  EXPECT_DOUBLE_EQ(limits.MapScreen({250, 300})->x, 5.0);
  EXPECT_DOUBLE_EQ(limits.MapScreen({250, 300})->y, 1.0);
  EXPECT_DOUBLE_EQ(limits.MapScreen({250, 400})->y, -1.0);
  for (const PixelRect empty : {PixelRect{}, PixelRect{300, 300, 200, 400}, PixelRect{200, 400, 300, 300}}) {
    limits.screen = empty;
    EXPECT_FALSE(limits.MapScreen({250, 350}).has_value()) << empty.left << "," << empty.top;
  }
}

TEST(PicturePlacementTest, StretchesCentresOrCutsToThePage) {
  const Rect page{0, 0, 600, -400};
  struct Case {
    bool stretched, centred;
    Size himetric;
    Rect dest;
    int sourceWidth, sourceHeight;
  } const cases[] = {
      {true, false, {2540, 2540}, {0, 0, 600, -400}, 100, 50},
      {false, false, {2540, 2540}, {0, 0, 100, -100}, 100, 50},
      {false, true, {2540, 2540}, {250, -150, 350, -250}, 100, 50},
      {false, false, {25400, 2540}, {0, 0, 600, -100}, 60, 50},  // 1000 units wide: cut to 600
      {false, true, {25400, 25400}, {0, 0, 600, -400}, 60, 20},
      {false, false, {0, 2540}, {}, 0, 0},
  };
  for (const auto& c : cases) {
    const PicturePlacement p = PlacePicture({100, 50}, c.himetric, page, c.stretched, c.centred);
    EXPECT_EQ(p.dest, c.dest) << c.himetric.cx << " " << c.centred;
    EXPECT_EQ(p.sourceWidth, c.sourceWidth);
    EXPECT_EQ(p.sourceHeight, c.sourceHeight);
  }
  EXPECT_EQ(NaturalSizeAt({96, 192}, 96, 0), (Size{2540, 5080}));
}

TEST(RenderPictureLayerTest, PutsThePicturePixelsWhereThePlacementSays) {
  PixelBuffer picture = PixelBuffer::Filled(10, 10);
  picture.Set(0, 0, kRed);
  picture.Set(9, 9, kRed);
  const Rect page{0, 0, 200, -100};
  const PicturePlacement placement = PlacePicture({10, 10}, {2540, 2540}, page, false, false);
  const PixelBuffer layer = RenderPictureLayer(picture, placement, page, {96, 96});
  ASSERT_EQ(layer.width, 192);
  ASSERT_EQ(layer.height, 96);
  EXPECT_EQ(layer.At(0, 0), kRed);
  EXPECT_EQ(layer.At(95, 95), kRed);  // 96 x 96 pixels show 10 x 10
  EXPECT_EQ(layer.At(96, 95), Rgb(255, 255, 255));
  EXPECT_EQ(layer.At(50, 50), Rgb(255, 255, 255));
}

TEST(DigitizeImageTest, KeepsOnlyPointsInsideThePolygonAndMapsTheBoundingBox) {
  PixelBuffer image = PixelBuffer::Filled(200, 100);
  for (int x = 0; x < 200; ++x) image.Set(x, 50, kRed);
  // A triangle over the left half; its box spans x 0..100, y 0..100.
  const std::vector<std::vector<Point>> triangle{{{0, 0}, {100, 0}, {0, 100}}};
  const auto values = DigitizeImage(image, cmd::kRedPoints, triangle, 0, 10, 0, 1, 10, 96);
  ASSERT_FALSE(values.empty());
  for (const DotValue& v : values) {
    EXPECT_LT(v.x, 5.05);  // the triangle ends at x 50 on row 50
    EXPECT_NEAR(v.y, 0.5, 0.011);
  }
  EXPECT_TRUE(DigitizeImage(image, cmd::kBluePoints, triangle, 0, 10, 0, 1, 10, 96).empty());
  EXPECT_TRUE(DigitizeImage(image, cmd::kRedPoints, {}, 0, 10, 0, 1, 10, 96).empty());
}

class DigitizeDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layer = PixelBuffer::Filled(400, 300);
    for (int x = 20; x < 380; ++x) layer.Set(x, 150, kRed);
  }
  CPlotClip* Area(Rect r) {
    CPlotClip* area = doc.NewAreaAt({r.left, r.top}, cmd::kRedPoints, cmd::kRectArea);
    area->SetCorner({r.right, r.bottom}, true);
    area->selected = 1;
    return area;
  }
  CMainDoc doc;
  PixelBuffer layer;
  const PageRaster raster{96, 96};
  const DigitizeStyle style{cmd::kRedPoints, cmd::kCrossPoints, 20};
};

TEST_F(DigitizeDocumentTest, MakesOneUndoableDigitizedSeriesOnTheCurveInsideTheArea) {
  Area({50, -100, 250, -200});  // pixels 48..240 across, row 150 is plot y -156
  const DigitLimits limits = PictureLimits(doc, 20);
  const auto before = doc.Series().size();
  CPlotDot* series = DigitizeFromPicture(doc, layer, raster, style, limits, "graph.png");
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(series->source, source::kDigitized);
  EXPECT_EQ(series->name, "graph.png");
  EXPECT_EQ(series->ColourCommand(), cmd::kRedPoints);
  EXPECT_EQ(series->ShapeCommand(), cmd::kCrossPoints);
  EXPECT_GE(series->PointCount(), 40);
  for (const Point p : series->Outline()) {
    EXPECT_NEAR(p.y, -156, 1);
    EXPECT_GE(p.x, 50);
    EXPECT_LE(p.x, 250);
  }
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Series().size(), before);
}

TEST_F(DigitizeDocumentTest, EditedLimitsRemapTheValuesAndNoAreaGivesNothing) {
  EXPECT_EQ(DigitizeFromPicture(doc, layer, raster, style, PictureLimits(doc, 20), "x"), nullptr);
  Area({50, -100, 250, -200});
  DigitLimits limits = PictureLimits(doc, 20);
  limits.EditLimit(3, 100.0);  // Y min
  limits.EditLimit(1, 200.0);  // Y max
  CPlotDot* series = DigitizeFromPicture(doc, layer, raster, style, limits, "x");
  ASSERT_NE(series, nullptr);
  const double expectedY = MapLinear(doc.Data().axisY.scale.FromPlot(-156), limits.oldYMin,
                                     limits.oldYMax, 100.0, 200.0);
  for (const DotValue& v : series->Values()) EXPECT_NEAR(v.y, expectedY, 1.5);
}

TEST_F(DigitizeDocumentTest, ScreenDigitizingTitlesTheSeriesScreenAndMapsTheRectangle) {
  DigitLimits limits = ScreenLimits(doc, {1000, 500, 1400, 800}, 20);
  limits.xMin = 0;
  limits.xMax = 40;
  limits.yMin = 0;
  limits.yMax = 30;
  CPlotDot* series = DigitizeFromScreen(doc, layer, kRed, 96, 96, style, limits);
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(series->name, "Screen");
  for (const DotValue& v : series->Values()) EXPECT_NEAR(v.y, 15.0, 0.2);
  EXPECT_EQ(DigitizeFromScreen(doc, layer, Rgb(1, 2, 3), 96, 96, style, limits), nullptr);
}

TEST_F(DigitizeDocumentTest, PictureAtNaturalSizeGivesTheSamePointsAsTheBatchRun) {
  // A 96-dpi picture of 192 x 96 pixels is 200 x 100 plot units at natural
  // size: the layer at 96 dpi holds it pixel for pixel.
  PixelBuffer picture = PixelBuffer::Filled(192, 96);
  for (int x = 10; x < 180; ++x) picture.Set(x, 30 + x / 8, kRed);
  const Rect page = PageRectOf(doc.Data());
  const PixelBuffer pageLayer = RenderPictureLayer(
      picture, PlacePicture({192, 96}, {5080, 2540}, page, false, false), page, raster);
  Area({0, 0, 200, -100});
  DigitLimits limits = PictureLimits(doc, 20);
  limits.EditLimit(2, 0.0);
  limits.EditLimit(0, 10.0);
  limits.EditLimit(3, 0.0);
  limits.EditLimit(1, 5.0);
  CPlotDot* series = DigitizeFromPicture(doc, pageLayer, raster, style, limits, "p");
  ASSERT_NE(series, nullptr);
  const auto batch = DigitizeImage(picture, cmd::kRedPoints, {{{0, 0}, {192, 0}, {192, 96}, {0, 96}}},
                                   0, 10, 0, 5, 20, 96);
  ASSERT_EQ(series->Values().size(), batch.size());
  for (std::size_t i = 0; i < batch.size(); ++i) {
    EXPECT_NEAR(series->Values()[i].x, batch[i].x, 10.0 / 192);  // within a pixel
    EXPECT_NEAR(series->Values()[i].y, batch[i].y, 5.0 / 96);
  }
}

}  // namespace
}  // namespace tracemont
