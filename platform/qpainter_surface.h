// The core's drawing surface on top of a QPainter: plot units (0.01 inch,
// y up) are mapped to device pixels by a QTransform, and every primitive is
// drawn in device pixels so that hatch patterns, hairlines and pixel edges
// come out the way the painting algorithms expect (8-pixel hatches that do
// not scale with the page, 1-pixel cosmetic pens, crisp fills).
#pragma once

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QPainter>
#include <QPointF>
#include <QTransform>
#include <optional>

#include "render/surface.h"

namespace tracemont {

class QPainterSurface final : public Surface {
 public:
  // painter: active painter owned by the caller; it must outlive the surface.
  //   Its current coordinates are taken as device pixels (normally the
  //   identity transform). Its state is saved here and restored by the
  //   destructor, so the caller gets it back as it was.
  // pixelsPerInchX/Y: the device resolution; both must be positive, otherwise
  //   std::invalid_argument is thrown.
  // printer: what IsPrinter() reports (printing and print preview).
  // plotAtDeviceOrigin: the plot position, in plot units (fractions allowed),
  //   that lands on device pixel (0, 0); lets a scrolled view or a memory
  //   image that starts at a clip box corner use the same page coordinates.
  QPainterSurface(QPainter& painter, int pixelsPerInchX, int pixelsPerInchY, bool printer = false,
                  QPointF plotAtDeviceOrigin = {});
  ~QPainterSurface() override;
  QPainterSurface(const QPainterSurface&) = delete;
  QPainterSurface& operator=(const QPainterSurface&) = delete;

  // The plot-to-device mapping: 100 units per inch, y flipped.
  const QTransform& PlotToDevice() const { return toDevice_; }

  bool IsPrinter() const override { return printer_; }
  int PixelsPerInchX() const override { return ppiX_; }
  int PixelsPerInchY() const override { return ppiY_; }
  // Device pixel of a plot position, rounded to the nearest pixel.
  Point ToDevice(Point plot) const override;
  // The painter's clip rectangle, or the whole device when the painter does
  // not clip, in plot units, widened to whole units (normalised, y up).
  Rect ClipBox() const override;

  void Polyline(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
  void Ellipse(const Rect& box) override;
  void FillRegion(const Region& region, const Brush& brush) override;
  void FrameRegion(const Region& region, const Brush& brush, int w, int h) override;
  // The font height is the character cell height in plot units (a negative
  // height is the em height instead); invalid UTF-8 shows as replacement
  // characters.
  void Text(Point at, std::string_view utf8, HAlign h = HAlign::Left,
            VAlign v = VAlign::Top) override;
  Size TextExtent(std::string_view utf8) override;
  // Degenerate triangles draw nothing; only the visible part is rasterised.
  void GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                        const GradientVertex& c) override;
  // Draws a QtPicture; any other Picture draws nothing.
  void DrawPicture(const Picture& picture, const Rect& dest) override;
  void DrawPicturePart(const Picture& picture, const Rect& dest, int sx, int sy, int sw,
                       int sh) override;

 private:
  struct ResolvedFont {
    FontDescription description;
    QFont font;
    qreal ascent = 0;
    qreal descent = 0;
  };

  bool Ready() const;
  QPointF DeviceF(Point plot) const;
  QPoint DevicePixel(Point plot) const;
  QRect DeviceRect(const Rect& plot) const;
  QRect VisibleDeviceRect() const;
  int DeviceLengthX(int plotUnits) const;
  int DeviceLengthY(int plotUnits) const;

  // Put the current pen and brush on the painter for one shape.
  void UsePen(bool antialiased);
  void UseBrush(const Brush& brush);
  void UseNoPen();
  // Pen-stroked shapes leave their right and bottom pixel edge out, so a
  // framed rectangle covers the same pixels as a filled one.
  QRectF OutlineRect(const QRect& device) const;

  const ResolvedFont& CurrentResolvedFont();

  QPainter& painter_;
  int ppiX_;
  int ppiY_;
  bool printer_;
  bool savedPainterState_ = false;
  QTransform toDevice_;
  QTransform toPlot_;
  bool penVisible_ = false;
  // The last pen and brush built, so runs of markers do not rebuild them.
  struct BuiltPen {
    Pen pen;
    bool antialiased = false;
    QPen qpen;
  };
  struct BuiltBrush {
    Brush brush;
    QBrush qbrush;
  };
  std::optional<BuiltPen> builtPen_;
  std::optional<BuiltBrush> builtBrush_;
  std::optional<ResolvedFont> font_;
};

}  // namespace tracemont
