// Pixel checks of QPainterSurface: each case paints into a white QImage at a
// known resolution and looks at the pixels that came out.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <functional>

#include "platform/qpainter_surface.h"
#include "platform/qt_picture.h"

using namespace tracemont;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlack = Rgb(0, 0, 0);

using Draw = std::function<void(QPainterSurface&)>;

struct Device {
  int ppiX = 96;
  int ppiY = 96;
  QPointF origin;  // plot point at device pixel (0, 0)
};

QImage Paint(QSize size, const Device& device, const Draw& draw,
             std::optional<QRect> clip = std::nullopt) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  if (clip) painter.setClipRect(*clip);
  {
    QPainterSurface surface(painter, device.ppiX, device.ppiY, false, device.origin);
    draw(surface);
  }
  painter.end();
  return image;
}

QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kWhite) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

int InkCount(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) != kWhite;
  }
  return count;
}

bool IsInk(const QImage& image, int x, int y) { return image.pixel(x, y) != kWhite; }

bool Near(QRgb actual, int r, int g, int b, int tolerance) {
  return std::abs(qRed(actual) - r) <= tolerance && std::abs(qGreen(actual) - g) <= tolerance &&
         std::abs(qBlue(actual) - b) <= tolerance;
}

class StubPicture final : public Picture {
 public:
  Size PixelSize() const override { return {2, 2}; }
};

}  // namespace

Q_DECLARE_METATYPE(BrushStyle)
Q_DECLARE_METATYPE(PenStyle)
Q_DECLARE_METATYPE(HAlign)
Q_DECLARE_METATYPE(VAlign)
Q_DECLARE_METATYPE(Draw)
Q_DECLARE_METATYPE(Rect)

class QPainterSurfaceTest : public QObject {
  Q_OBJECT

 private slots:
  void aPlotRectangleLandsOnTheDevicePixelsOfItsSize_data() {
    QTest::addColumn<int>("ppiX");
    QTest::addColumn<int>("ppiY");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<bool>("withPen");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("one inch at 96 ppi") << 96 << 96 << QPointF(-25, 25) << false << QRect(24, 24, 96, 96);
    QTest::newRow("outlined rectangle keeps its size") << 96 << 96 << QPointF(-25, 25) << true
                                                      << QRect(24, 24, 96, 96);
    QTest::newRow("anisotropic 300 x 150 ppi") << 300 << 150 << QPointF(0, 0) << false
                                              << QRect(0, 0, 300, 150);
    QTest::newRow("y grows upwards") << 96 << 96 << QPointF(-50, 100) << false << QRect(48, 96, 96, 96);
  }
  void aPlotRectangleLandsOnTheDevicePixelsOfItsSize() {
    QFETCH(int, ppiX);
    QFETCH(int, ppiY);
    QFETCH(QPointF, origin);
    QFETCH(bool, withPen);
    QFETCH(QRect, expected);
    Point topLeft;
    const QImage image = Paint(QSize(400, 400), {ppiX, ppiY, origin}, [&](QPainterSurface& s) {
      s.SetPen(withPen ? Pen{PenStyle::Solid, 0, kBlack} : Pen{PenStyle::Null, 0, 0});
      s.SetBrush({BrushStyle::Solid, kRed});
      s.Rectangle({0, 0, 100, -100});
      topLeft = s.ToDevice({0, 0});
    });
    QCOMPARE(InkBounds(image), expected);
    QCOMPARE(InkCount(image, expected), expected.width() * expected.height());
    QCOMPARE(QPoint(topLeft.x, topLeft.y), expected.topLeft());
  }

  void evenOddFillLeavesTheDoublyWoundPartEmpty() {
    // An outer square and an inner square wound the same way: a non-zero
    // fill would paint the inner one too.
    const std::vector<Point> polygon = {{0, 0},    {100, 0},   {100, -100}, {0, -100},  {0, 0},
                                        {25, -25}, {75, -25}, {75, -75},   {25, -75}, {25, -25}};
    const QImage image = Paint(QSize(120, 120), {100, 100, {-10, 10}}, [&](QPainterSurface& s) {
      s.SetPen({PenStyle::Null, 0, 0});
      s.SetBrush({BrushStyle::Solid, kRed});
      s.Polygon(polygon);
    });
    QVERIFY(IsInk(image, 20, 60));   // between the squares
    QVERIFY(!IsInk(image, 60, 60));  // the hole
    QVERIFY(!IsInk(image, 115, 60));
  }

  void hatchBrushesRepeatEveryEightPixelsFromTheBrushOrigin_data() {
    QTest::addColumn<BrushStyle>("style");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<bool>("viaRectangle");
    QTest::addColumn<int>("inkPerTile");
    QTest::newRow("diagonal cross") << BrushStyle::DiagonalCross << 96 << false << 16;
    QTest::newRow("back diagonal") << BrushStyle::BackDiagonal << 96 << false << 8;
    QTest::newRow("forward diagonal") << BrushStyle::ForwardDiagonal << 96 << true << 8;
    QTest::newRow("cross") << BrushStyle::Cross << 96 << true << 15;
    QTest::newRow("not scaled on a 600 ppi printer") << BrushStyle::DiagonalCross << 600 << false << 16;
  }
  void hatchBrushesRepeatEveryEightPixelsFromTheBrushOrigin() {
    QFETCH(BrushStyle, style);
    QFETCH(int, ppi);
    QFETCH(bool, viaRectangle);
    QFETCH(int, inkPerTile);
    const auto paintWithOrigin = [&](Point brushOrigin) {
      return Paint(QSize(64, 64), {ppi, ppi, {}}, [&](QPainterSurface& s) {
        s.SetBrushOrigin(brushOrigin);
        const Rect everything{-10, 10, 1000, -1000};
        if (viaRectangle) {
          s.SetPen({PenStyle::Null, 0, 0});
          s.SetBrush({style, kRed});
          s.Rectangle(everything);
        } else {
          s.FillRect(everything, {style, kRed});
        }
      });
    };
    const QImage plain = paintWithOrigin({0, 0});
    const QImage shifted = paintWithOrigin({3, 1});
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        QCOMPARE(plain.pixel(x + 8, y), plain.pixel(x, y));
        QCOMPARE(plain.pixel(x, y + 8), plain.pixel(x, y));
        QCOMPARE(shifted.pixel(x + 3, y + 1), plain.pixel(x, y));
        QVERIFY(plain.pixel(x, y) == kWhite || plain.pixel(x, y) == qRgb(255, 0, 0));
      }
    }
    QCOMPARE(InkCount(plain, QRect(16, 16, 8, 8)), inkPerTile);
  }

  void penStylesAndWidthsGiveTheirCoverageAndThickness_data() {
    QTest::addColumn<PenStyle>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<double>("coverage");
    QTest::newRow("hairline") << PenStyle::Solid << 0 << 100 << 1 << 1.0;
    QTest::newRow("5 units at 100 ppi") << PenStyle::Solid << 5 << 100 << 5 << 1.0;
    QTest::newRow("5 units at 200 ppi") << PenStyle::Solid << 5 << 200 << 10 << 1.0;
    QTest::newRow("dash") << PenStyle::Dash << 0 << 100 << 1 << 0.75;
    QTest::newRow("dot") << PenStyle::Dot << 0 << 100 << 1 << 0.5;
    QTest::newRow("dash dot") << PenStyle::DashDot << 0 << 100 << 1 << 0.5;
    QTest::newRow("dash dot dot") << PenStyle::DashDotDot << 0 << 100 << 1 << 0.625;
    QTest::newRow("null") << PenStyle::Null << 5 << 100 << 0 << 0.0;
  }
  void penStylesAndWidthsGiveTheirCoverageAndThickness() {
    QFETCH(PenStyle, style);
    QFETCH(int, width);
    QFETCH(int, ppi);
    QFETCH(int, thickness);
    QFETCH(double, coverage);
    // A horizontal line 240 pixels long (a multiple of every dash period).
    const int length = 240;
    const QImage image = Paint(QSize(300, 100), {ppi, ppi, {}}, [&](QPainterSurface& s) {
      s.SetPen({style, width, kBlack});
      const int end = length * 100 / ppi;
      s.Line({10 * 100 / ppi, -50 * 100 / ppi}, {10 * 100 / ppi + end, -50 * 100 / ppi});
    });
    const QRect ink = InkBounds(image);
    QCOMPARE(ink.height(), thickness);
    if (thickness == 0) return;
    const int onCentreRow = InkCount(image, QRect(0, ink.center().y(), image.width(), 1));
    QVERIFY2(std::abs(onCentreRow - coverage * length) <= 0.05 * length,
             qPrintable(QString("%1 of %2 pixels inked").arg(onCentreRow).arg(length)));
  }

  void nullPenAndNullBrushDrawNothing_data() {
    QTest::addColumn<Draw>("draw");
    const Rect box{10, -10, 90, -90};
    QTest::newRow("polyline") << Draw([](QPainterSurface& s) {
      const Point pts[3] = {{10, -10}, {90, -50}, {10, -90}};
      s.Polyline(pts);
    });
    QTest::newRow("smooth polyline") << Draw([](QPainterSurface& s) {
      s.SetSmoothLines(true);
      s.Line({10, -10}, {90, -90});
    });
    QTest::newRow("polygon") << Draw([](QPainterSurface& s) {
      const Point pts[3] = {{10, -10}, {90, -50}, {10, -90}};
      s.Polygon(pts);
    });
    QTest::newRow("rectangle") << Draw([box](QPainterSurface& s) { s.Rectangle(box); });
    QTest::newRow("round rectangle") << Draw([box](QPainterSurface& s) { s.RoundRect(box, 20, 20); });
    QTest::newRow("ellipse") << Draw([box](QPainterSurface& s) { s.Ellipse(box); });
  }
  void nullPenAndNullBrushDrawNothing() {
    QFETCH(Draw, draw);
    const auto paintWith = [&](PenStyle style) {
      return Paint(QSize(100, 100), {100, 100, {}}, [&](QPainterSurface& s) {
        s.SetPen({style, 3, kBlack});
        s.SetBrush({BrushStyle::Null, 0});
        draw(s);
      });
    };
    QVERIFY(!InkBounds(paintWith(PenStyle::Solid)).isEmpty());
    QVERIFY(InkBounds(paintWith(PenStyle::Null)).isEmpty());
  }

  void smoothLinesAreAntialiasedOnlyWhileSwitchedOn() {
    const auto greyPixels = [](bool smooth) {
      const QImage image = Paint(QSize(100, 100), {100, 100, {}}, [&](QPainterSurface& s) {
        s.SetSmoothLines(smooth);
        s.SetPen({PenStyle::Solid, 2, kBlack});
        s.Line({5, -5}, {95, -60});
        s.SetSmoothLines(false);
        s.Line({5, -95}, {95, -70});  // after the switch went off: crisp
      });
      int grey = 0;
      for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) grey += image.pixel(x, y) != kWhite && image.pixel(x, y) != qRgb(0, 0, 0);
      }
      return grey;
    };
    QCOMPARE(greyPixels(false), 0);
    QVERIFY(greyPixels(true) > 0);
  }

  void textExtentGrowsWithTheTextAndHasTheFontCellHeight_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("ppi");
    QTest::newRow("20 units on screen") << 20 << 96;
    QTest::newRow("40 units on screen") << 40 << 96;
    QTest::newRow("40 units on a printer") << 40 << 600;
  }
  void textExtentGrowsWithTheTextAndHasTheFontCellHeight() {
    QFETCH(int, height);
    QFETCH(int, ppi);
    Size one, two, three;
    Paint(QSize(10, 10), {ppi, ppi, {}}, [&](QPainterSurface& s) {
      FontDescription font;
      font.height = height;
      s.SetFont(font);
      one = s.TextExtent("W");
      two = s.TextExtent("WW");
      three = s.TextExtent("WWW");
    });
    QVERIFY(one.cx > 0);
    QVERIFY(two.cx > one.cx);
    QVERIFY(three.cx > two.cx);
    QVERIFY2(std::abs(one.cy - height) <= 2,
             qPrintable(QString("cell height %1 for font height %2").arg(one.cy).arg(height)));
    QCOMPARE(two.cy, one.cy);
  }

  void textSitsOnItsAnchorAsAligned_data() {
    QTest::addColumn<HAlign>("h");
    QTest::addColumn<VAlign>("v");
    QTest::addColumn<int>("escapement");
    QTest::addColumn<bool>("right");  // ink right of the anchor (else left)
    QTest::addColumn<bool>("below");  // ink below the anchor (else above)
    QTest::newRow("left top") << HAlign::Left << VAlign::Top << 0 << true << true;
    QTest::newRow("right bottom") << HAlign::Right << VAlign::Bottom << 0 << false << false;
    QTest::newRow("turned a quarter counter-clockwise") << HAlign::Left << VAlign::Top << 900 << true
                                                       << false;
  }
  void textSitsOnItsAnchorAsAligned() {
    QFETCH(HAlign, h);
    QFETCH(VAlign, v);
    QFETCH(int, escapement);
    QFETCH(bool, right);
    QFETCH(bool, below);
    const Point anchor{150, -150};  // device (150, 150) at 100 ppi
    const QImage image = Paint(QSize(300, 300), {100, 100, {}}, [&](QPainterSurface& s) {
      FontDescription font;
      font.height = 30;
      font.escapement = escapement;
      s.SetFont(font);
      s.Text(anchor, "Hello", h, v);
    });
    const QRect ink = InkBounds(image);
    QVERIFY(!ink.isEmpty());
    QVERIFY(right ? ink.left() >= 148 : ink.right() <= 152);
    QVERIFY(below ? ink.top() >= 148 : ink.bottom() <= 152);
    // Upright text is wider than tall, turned text taller than wide.
    QCOMPARE(ink.width() > ink.height(), escapement == 0);
    QVERIFY(std::min(ink.width(), ink.height()) <= 30);
  }

  void opaqueTextFillsItsCellWithTheBackground() {
    const QImage image = Paint(QSize(200, 100), {100, 100, {}}, [](QPainterSurface& s) {
      FontDescription font;
      font.height = 40;
      s.SetFont(font);
      s.SetTextBackground(false, Rgb(0, 0, 255));
      s.Text({10, -10}, "ii");
    });
    // The gap between the two letters is background, not white.
    const QRect ink = InkBounds(image);
    QCOMPARE(image.pixel(ink.left() + 1, ink.top() + 1), qRgb(0, 0, 255));
    QVERIFY(std::abs(ink.height() - 40) <= 2);
  }

  void regionFramePaintsOnlyTheBorderOfTheUnion() {
    // Two overlapping squares at 100 ppi (1 unit = 1 pixel), shifted by 20 px.
    Region region;
    region.AddRect({0, 0, 200, -200});
    region.AddRect({100, -100, 300, -300});
    const QImage image = Paint(QSize(340, 340), {100, 100, {-20, 20}}, [&](QPainterSurface& s) {
      s.FrameRegion(region, {BrushStyle::Solid, kRed}, 10, 5);
    });
    QVERIFY(IsInk(image, 25, 120));    // left border, 10 px wide
    QVERIFY(!IsInk(image, 32, 120));
    QVERIFY(IsInk(image, 120, 22));    // top border, 5 px high
    QVERIFY(!IsInk(image, 120, 27));
    QVERIFY(!IsInk(image, 217, 150));  // first square's right edge lies inside the second
    QVERIFY(IsInk(image, 316, 250));   // right border of the second square
    QVERIFY(IsInk(image, 250, 317));   // its bottom border
    QVERIFY(!IsInk(image, 250, 312));
    QVERIFY(!IsInk(image, 5, 5));
    QVERIFY(!IsInk(image, 330, 330));
  }

  void gradientTriangleShowsTheVertexColoursAtItsCorners() {
    const QImage image = Paint(QSize(220, 220), {100, 100, {}}, [](QPainterSurface& s) {
      s.GradientTriangle({{0, 0}, Rgb(255, 0, 0)}, {{200, 0}, Rgb(0, 255, 0)},
                         {{0, -200}, Rgb(0, 0, 255)});
    });
    QVERIFY(Near(image.pixel(2, 2), 255, 0, 0, 8));
    QVERIFY(Near(image.pixel(195, 2), 0, 255, 0, 10));
    QVERIFY(Near(image.pixel(2, 195), 0, 0, 255, 10));
    QVERIFY(Near(image.pixel(66, 66), 85, 85, 85, 6));
    QCOMPARE(image.pixel(150, 150), kWhite);
  }

  void pictureIsStretchedUprightIntoItsRectangle() {
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(0, 1, qRgb(0, 0, 255));
    source.setPixel(1, 1, qRgb(255, 255, 0));
    const QtPicture picture(source);
    QCOMPARE(picture.PixelSize(), (Size{2, 2}));
    const QImage image = Paint(QSize(100, 100), {96, 96, {}}, [&](QPainterSurface& s) {
      s.DrawPicture(picture, {0, 0, 100, -100});
      s.DrawPicture(StubPicture(), {0, 0, 100, -100});  // not ours: ignored
    });
    QCOMPARE(image.pixel(10, 10), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(85, 10), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(10, 85), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(85, 85), qRgb(255, 255, 0));
    QCOMPARE(image.pixel(97, 97), kWhite);
  }

  void clipBoxIsTheVisibleDeviceAreaInPlotUnits_data() {
    QTest::addColumn<int>("ppiX");
    QTest::addColumn<int>("ppiY");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("clip");  // null: the painter does not clip
    QTest::addColumn<Rect>("expected");
    QTest::newRow("whole image") << 96 << 96 << QPointF(0, 0) << QSize(96, 192) << QRect()
                                 << Rect{0, 0, 100, -200};
    QTest::newRow("anisotropic") << 300 << 150 << QPointF(0, 0) << QSize(300, 300) << QRect()
                                 << Rect{0, 0, 100, -200};
    QTest::newRow("clip rectangle, moved origin") << 100 << 100 << QPointF(-20, 30) << QSize(100, 100)
                                                  << QRect(10, 20, 50, 40) << Rect{-10, 10, 40, -30};
    QTest::newRow("widened to whole units") << 96 << 96 << QPointF(0, 0) << QSize(100, 100)
                                            << QRect(10, 10, 10, 10) << Rect{10, -10, 21, -21};
  }
  void clipBoxIsTheVisibleDeviceAreaInPlotUnits() {
    QFETCH(int, ppiX);
    QFETCH(int, ppiY);
    QFETCH(QPointF, origin);
    QFETCH(QSize, size);
    QFETCH(QRect, clip);
    QFETCH(Rect, expected);
    Rect box;
    Point corner, oppositeCorner;
    Paint(size, {ppiX, ppiY, origin}, [&](QPainterSurface& s) {
      box = s.ClipBox();
      corner = s.ToDevice({box.left, box.top});
      oppositeCorner = s.ToDevice({box.right, box.bottom});
    }, clip.isNull() ? std::nullopt : std::optional<QRect>(clip));
    QCOMPARE(box, expected);
    // And back: the box covers the device area it came from.
    const QRect device = clip.isNull() ? QRect(QPoint(0, 0), size) : clip;
    QVERIFY(corner.x <= device.left() && corner.y <= device.top());
    QVERIFY(oppositeCorner.x >= device.right() + 1 && oppositeCorner.y >= device.bottom() + 1);
    QVERIFY(oppositeCorner.x - device.right() <= 2 && oppositeCorner.y - device.bottom() <= 2);
  }

  void aResolutionThatIsNotPositiveIsRejected() {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, QPainterSurface(painter, 0, 96));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, QPainterSurface(painter, 96, -1));
  }

  void anInactivePainterIsIgnoredQuietly() {
    QPainter painter;  // never begun
    QPainterSurface surface(painter, 96, 96);
    surface.Rectangle({0, 0, 100, -100});
    surface.Text({0, 0}, "text");
    surface.GradientTriangle({{0, 0}, 0}, {{10, 0}, 0}, {{0, -10}, 0});
    QCOMPARE(surface.ClipBox(), (Rect{0, 0, 0, 0}));
    QVERIFY(surface.TextExtent("text").cx > 0);
  }
};

QTEST_MAIN(QPainterSurfaceTest)
#include "qpainter_surface_test.moc"
