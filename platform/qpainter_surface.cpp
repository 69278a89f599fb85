#include "platform/qpainter_surface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPolygon>
#include <QPolygonF>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "platform/qt_picture.h"

namespace tracemont {
namespace {

// Hatch patterns are 8 x 8 device pixels, one-pixel lines, like the system
// hatch brushes the drawing algorithms were written for.
constexpr int kHatchSize = 8;

// Used when a font record asks for height 0 ("any size"): 12 points.
constexpr qreal kDefaultEmHeightPlotUnits = 100.0 / 6.0;

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Keeps device coordinates inside int range whatever the plot coordinates.
int ToPixel(qreal v) {
  constexpr qreal kLimit = 1 << 30;
  return static_cast<int>(std::lround(std::clamp(v, -kLimit, kLimit)));
}

bool HatchPixel(BrushStyle style, int x, int y) {
  const bool forward = x == y;                  // "\" going down to the right
  const bool back = x + y == kHatchSize - 1;   // "/" going up to the right
  switch (style) {
    case BrushStyle::ForwardDiagonal: return forward;
    case BrushStyle::BackDiagonal: return back;
    case BrushStyle::DiagonalCross: return forward || back;
    case BrushStyle::Cross: return x == 0 || y == 0;
    default: return false;
  }
}

QBrush MakeBrush(const Brush& brush) {
  switch (brush.style) {
    case BrushStyle::Null: return QBrush(Qt::NoBrush);
    case BrushStyle::Solid: return QBrush(ToQColor(brush.colour));
    case BrushStyle::DiagonalCross:
    case BrushStyle::BackDiagonal:
    case BrushStyle::ForwardDiagonal:
    case BrushStyle::Cross: break;
  }
  // A texture with transparent gaps, so hatches overlay what lies below.
  QImage tile(kHatchSize, kHatchSize, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  const QColor colour = ToQColor(brush.colour);
  for (int y = 0; y < kHatchSize; ++y) {
    for (int x = 0; x < kHatchSize; ++x) {
      if (HatchPixel(brush.style, x, y)) tile.setPixelColor(x, y, colour);
    }
  }
  return QBrush(tile);
}

QPen MakePen(const Pen& pen, qreal unitsToPixels, bool antialiased) {
  if (pen.style == PenStyle::Null) return QPen(Qt::NoPen);
  QPen qpen(ToQColor(pen.colour));
  qreal width = 0;  // 0: Qt's cosmetic one-pixel pen
  if (pen.width > 0) {
    width = pen.width * unitsToPixels;
    width = antialiased ? std::max<qreal>(1, width) : std::max<qreal>(1, std::round(width));
  }
  qpen.setWidthF(width);
  const bool thin = width <= 1;
  if (pen.style == PenStyle::Solid) {
    // Thin lines leave out their last pixel; wide ones get round ends and
    // joins so that polylines have no notches.
    qpen.setCapStyle(thin ? Qt::FlatCap : Qt::RoundCap);
    qpen.setJoinStyle(thin ? Qt::MiterJoin : Qt::RoundJoin);
    return qpen;
  }
  qpen.setCapStyle(Qt::FlatCap);
  if (!thin) {
    // Wide pens: Qt's patterns, which scale with the width.
    switch (pen.style) {
      case PenStyle::Dash: qpen.setStyle(Qt::DashLine); break;
      case PenStyle::Dot: qpen.setStyle(Qt::DotLine); break;
      case PenStyle::DashDot: qpen.setStyle(Qt::DashDotLine); break;
      default: qpen.setStyle(Qt::DashDotDotLine); break;
    }
    return qpen;
  }
  // Hairlines: pixel patterns of the classic cosmetic pens.
  switch (pen.style) {
    case PenStyle::Dash: qpen.setDashPattern({18, 6}); break;
    case PenStyle::Dot: qpen.setDashPattern({3, 3}); break;
    case PenStyle::DashDot: qpen.setDashPattern({9, 6, 3, 6}); break;
    default: qpen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
  }
  return qpen;
}

// True for the four-point axis-parallel polygons that Region::AddRect makes.
bool IsAxisRect(const std::vector<Point>& p) {
  if (p.size() != 4) return false;
  const bool startsHorizontal = p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y &&
                                p[3].x == p[0].x;
  const bool startsVertical = p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x &&
                              p[3].y == p[0].y;
  return startsHorizontal || startsVertical;
}

Rect BoundsOf(const std::vector<Point>& points) {
  Rect r = Rect::At(points.front());
  for (const Point& p : points) r = r.Including(p);
  return r;
}

QFontMetricsF MetricsOn(const QFont& font, const QPaintDevice* device) {
  return device != nullptr ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, int pixelsPerInchX, int pixelsPerInchY,
                                 bool printer, QPointF plotAtDeviceOrigin)
    : painter_(painter), ppiX_(pixelsPerInchX), ppiY_(pixelsPerInchY), printer_(printer) {
  if (pixelsPerInchX <= 0 || pixelsPerInchY <= 0) {
    throw std::invalid_argument("QPainterSurface: the device resolution must be positive");
  }
  const qreal sx = ppiX_ / 100.0;
  const qreal sy = ppiY_ / 100.0;
  toDevice_ = QTransform(sx, 0, 0, -sy, -plotAtDeviceOrigin.x() * sx, plotAtDeviceOrigin.y() * sy);
  toPlot_ = toDevice_.inverted();
  if (!Ready()) return;
  painter_.save();
  savedPainterState_ = true;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

QPainterSurface::~QPainterSurface() {
  if (savedPainterState_ && Ready()) painter_.restore();
}

bool QPainterSurface::Ready() const { return painter_.isActive(); }

QPointF QPainterSurface::DeviceF(Point plot) const { return toDevice_.map(QPointF(plot.x, plot.y)); }

QPoint QPainterSurface::DevicePixel(Point plot) const {
  const QPointF p = DeviceF(plot);
  return {ToPixel(p.x()), ToPixel(p.y())};
}

Point QPainterSurface::ToDevice(Point plot) const {
  const QPoint p = DevicePixel(plot);
  return {p.x(), p.y()};
}

QRect QPainterSurface::DeviceRect(const Rect& plot) const {
  const QPoint a = DevicePixel({plot.left, plot.top});
  const QPoint b = DevicePixel({plot.right, plot.bottom});
  return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()),
               std::abs(b.y() - a.y()));
}

QRect QPainterSurface::VisibleDeviceRect() const {
  const QPaintDevice* device = painter_.device();
  if (!Ready() || device == nullptr) return {};
  // Device pixels are the painter's own coordinates; undo any transform the
  // caller left on it to find the device edges in them.
  QRectF visible = painter_.worldTransform().inverted().mapRect(
      QRectF(0, 0, device->width(), device->height()));
  if (painter_.hasClipping()) visible = visible.intersected(painter_.clipBoundingRect());
  return visible.toAlignedRect();
}

Rect QPainterSurface::ClipBox() const {
  const QRectF plot = toPlot_.mapRect(QRectF(VisibleDeviceRect()));
  // QRectF's top is the smaller y, which is the lower edge in plot space.
  return {static_cast<int>(std::floor(plot.left())), static_cast<int>(std::ceil(plot.bottom())),
          static_cast<int>(std::ceil(plot.right())), static_cast<int>(std::floor(plot.top()))};
}

int QPainterSurface::DeviceLengthX(int plotUnits) const {
  if (plotUnits == 0) return 0;
  return std::max(1, ToPixel(std::abs(static_cast<qreal>(plotUnits)) * ppiX_ / 100.0));
}

int QPainterSurface::DeviceLengthY(int plotUnits) const {
  if (plotUnits == 0) return 0;
  return std::max(1, ToPixel(std::abs(static_cast<qreal>(plotUnits)) * ppiY_ / 100.0));
}

void QPainterSurface::UsePen(bool antialiased) {
  painter_.setRenderHint(QPainter::Antialiasing, antialiased);
  if (!builtPen_ || builtPen_->pen != CurrentPen() || builtPen_->antialiased != antialiased) {
    builtPen_ = BuiltPen{CurrentPen(), antialiased, MakePen(CurrentPen(), ppiX_ / 100.0, antialiased)};
  }
  painter_.setPen(builtPen_->qpen);
  penVisible_ = CurrentPen().style != PenStyle::Null;
}

void QPainterSurface::UseNoPen() {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setPen(Qt::NoPen);
  penVisible_ = false;
}

void QPainterSurface::UseBrush(const Brush& brush) {
  if (!builtBrush_ || builtBrush_->brush != brush) builtBrush_ = BuiltBrush{brush, MakeBrush(brush)};
  painter_.setBrush(builtBrush_->qbrush);
  painter_.setBrushOrigin(QPointF(BrushOrigin().x, BrushOrigin().y));
}

QRectF QPainterSurface::OutlineRect(const QRect& device) const {
  if (!penVisible_) return QRectF(device);
  return QRectF(device.x(), device.y(), std::max(0, device.width() - 1),
                std::max(0, device.height() - 1));
}

void QPainterSurface::Polyline(std::span<const Point> points) {
  if (!Ready() || points.size() < 2) return;
  const bool smooth = SmoothLines();
  UsePen(smooth);
  painter_.setBrush(Qt::NoBrush);
  if (smooth) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points) line.append(DeviceF(p));
    painter_.drawPolyline(line);
    return;
  }
  QPolygon line;
  line.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) line.append(DevicePixel(p));
  painter_.drawPolyline(line);
}

void QPainterSurface::Polygon(std::span<const Point> points) {
  if (!Ready() || points.size() < 2) return;
  UsePen(false);
  UseBrush(CurrentBrush());
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon.append(DevicePixel(p));
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void QPainterSurface::Rectangle(const Rect& r) {
  if (!Ready()) return;
  UsePen(false);
  UseBrush(CurrentBrush());
  painter_.drawRect(OutlineRect(DeviceRect(r)));
}

void QPainterSurface::RoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
  if (!Ready()) return;
  UsePen(false);
  UseBrush(CurrentBrush());
  // The corner sizes are the diameters of the corner ellipse.
  const qreal rx = std::abs(cornerWidth) * ppiX_ / 200.0;
  const qreal ry = std::abs(cornerHeight) * ppiY_ / 200.0;
  painter_.drawRoundedRect(OutlineRect(DeviceRect(r)), rx, ry, Qt::AbsoluteSize);
}

void QPainterSurface::Ellipse(const Rect& box) {
  if (!Ready()) return;
  UsePen(false);
  UseBrush(CurrentBrush());
  painter_.drawEllipse(OutlineRect(DeviceRect(box)));
}

void QPainterSurface::FillRegion(const Region& region, const Brush& brush) {
  if (!Ready() || brush.style == BrushStyle::Null) return;
  UseNoPen();
  UseBrush(brush);
  // Filling the parts one by one paints the same pixels as filling their
  // union (no blending, no anti-aliasing), without the cost of the union.
  for (const std::vector<Point>& polygon : region.polygons) {
    if (polygon.size() < 3) continue;
    if (IsAxisRect(polygon)) {
      painter_.drawRect(DeviceRect(BoundsOf(polygon)));
      continue;
    }
    QPolygon device;
    device.reserve(static_cast<qsizetype>(polygon.size()));
    for (const Point& p : polygon) device.append(DevicePixel(p));
    painter_.drawPolygon(device, Qt::OddEvenFill);
  }
}

void QPainterSurface::FrameRegion(const Region& region, const Brush& brush, int w, int h) {
  if (!Ready() || brush.style == BrushStyle::Null) return;
  const int dx = DeviceLengthX(w);
  const int dy = DeviceLengthY(h);
  if (dx == 0 && dy == 0) return;

  std::vector<QRegion> parts;
  parts.reserve(region.polygons.size());
  for (const std::vector<Point>& polygon : region.polygons) {
    if (polygon.size() < 3) continue;
    if (IsAxisRect(polygon)) {
      parts.emplace_back(DeviceRect(BoundsOf(polygon)));
      continue;
    }
    QPolygon device;
    device.reserve(static_cast<qsizetype>(polygon.size()));
    for (const Point& p : polygon) device.append(DevicePixel(p));
    parts.emplace_back(device, Qt::OddEvenFill);
  }
  if (parts.empty()) return;
  // Unite pairwise, so that many small parts (marker boxes) stay cheap.
  while (parts.size() > 1) {
    std::vector<QRegion> merged;
    merged.reserve((parts.size() + 1) / 2);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) merged.push_back(parts[i].united(parts[i + 1]));
    if (parts.size() % 2 == 1) merged.push_back(parts.back());
    parts = std::move(merged);
  }
  const QRegion whole = parts.front();
  // What stays inside when the region is shifted by the frame width in each
  // direction is the interior; the rest is the border.
  const QRegion interior = whole.intersected(whole.translated(dx, 0))
                               .intersected(whole.translated(-dx, 0))
                               .intersected(whole.translated(0, dy))
                               .intersected(whole.translated(0, -dy));
  const QRegion frame = whole.subtracted(interior);

  UseNoPen();
  UseBrush(brush);
  for (const QRect& r : frame) painter_.drawRect(r);
}

const QPainterSurface::ResolvedFont& QPainterSurface::CurrentResolvedFont() {
  const FontDescription& d = CurrentFont();
  if (font_ && font_->description == d) return *font_;

  QFont font(QString::fromUtf8(d.face.data(), static_cast<qsizetype>(d.face.size())));
  font.setWeight(d.weight <= 0 ? QFont::Normal
                               : static_cast<QFont::Weight>(std::clamp(d.weight, 1, 1000)));
  font.setItalic(d.italic != 0);
  font.setUnderline(d.underline != 0);
  font.setStrikeOut(d.strikeOut != 0);

  const QPaintDevice* device = painter_.device();
  const qreal sy = ppiY_ / 100.0;
  qreal emPixels = kDefaultEmHeightPlotUnits * sy;
  if (d.height < 0) {
    emPixels = -static_cast<qreal>(d.height) * sy;
  } else if (d.height > 0) {
    // A positive height is the cell (ascent + descent); find the em size
    // that gives it in whatever face fontconfig picked.
    constexpr int kProbePixels = 256;
    QFont probe(font);
    probe.setPixelSize(kProbePixels);
    const QFontMetricsF pm = MetricsOn(probe, device);
    const qreal cellPerEm = (pm.ascent() + pm.descent()) / kProbePixels;
    emPixels = d.height * sy / (cellPerEm > 0 ? cellPerEm : 1);
  }
  font.setPixelSize(std::max(1, ToPixel(emPixels)));

  if (d.width > 0) {
    // The record's width is the average character width.
    const qreal average = MetricsOn(font, device).averageCharWidth();
    if (average > 0) {
      font.setStretch(std::clamp(ToPixel(100.0 * d.width * (ppiX_ / 100.0) / average), 1, 4000));
    }
  }

  const QFontMetricsF metrics = MetricsOn(font, device);
  font_ = ResolvedFont{d, font, metrics.ascent(), metrics.descent()};
  return *font_;
}

void QPainterSurface::Text(Point at, std::string_view utf8, HAlign h, VAlign v) {
  if (!Ready() || utf8.empty()) return;
  const ResolvedFont& resolved = CurrentResolvedFont();
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const qreal width = MetricsOn(resolved.font, painter_.device()).horizontalAdvance(text);

  // Offsets from the anchor in the text's own (possibly rotated) frame.
  qreal x = 0;
  if (h == HAlign::Centre) x = -width / 2;
  if (h == HAlign::Right) x = -width;
  qreal baseline = 0;
  if (v == VAlign::Top) baseline = std::round(resolved.ascent);
  if (v == VAlign::Bottom) baseline = -std::round(resolved.descent);

  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.translate(QPointF(DevicePixel(at)));
  // Escapement turns counter-clockwise as seen; device y points down.
  if (CurrentFont().escapement != 0) painter_.rotate(-CurrentFont().escapement / 10.0);
  if (!TransparentText()) {
    painter_.fillRect(QRectF(x, baseline - resolved.ascent, width, resolved.ascent + resolved.descent),
                      ToQColor(TextBackground()));
  }
  painter_.setFont(resolved.font);
  painter_.setPen(QPen(ToQColor(TextColour())));
  painter_.drawText(QPointF(x, baseline), text);
  painter_.restore();
}

Size QPainterSurface::TextExtent(std::string_view utf8) {
  const ResolvedFont& resolved = CurrentResolvedFont();
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const qreal width = MetricsOn(resolved.font, painter_.device()).horizontalAdvance(text);
  return {ToPixel(width * 100.0 / ppiX_),
          ToPixel((resolved.ascent + resolved.descent) * 100.0 / ppiY_)};
}

void QPainterSurface::GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                                       const GradientVertex& c) {
  if (!Ready()) return;
  const QPointF p[3] = {DeviceF(a.at), DeviceF(b.at), DeviceF(c.at)};
  const Colour colour[3] = {a.colour, b.colour, c.colour};
  const qreal area = (p[1].x() - p[0].x()) * (p[2].y() - p[0].y()) -
                     (p[2].x() - p[0].x()) * (p[1].y() - p[0].y());
  if (std::abs(area) < 1e-9) return;

  const QRectF bounds = QPolygonF({p[0], p[1], p[2]}).boundingRect();
  const QRect pixels =
      QRect(QPoint(ToPixel(std::floor(bounds.left())), ToPixel(std::floor(bounds.top()))),
            QPoint(ToPixel(std::ceil(bounds.right())) - 1, ToPixel(std::ceil(bounds.bottom())) - 1))
          .intersected(VisibleDeviceRect());
  if (pixels.isEmpty()) return;

  // Rasterise into a transparent image: each pixel centre inside the
  // triangle gets the vertex colours mixed by its barycentric weights.
  QImage image(pixels.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  constexpr qreal kEdgeTolerance = 1e-9;
  for (int row = 0; row < pixels.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    const qreal y = pixels.top() + row + 0.5;
    for (int col = 0; col < pixels.width(); ++col) {
      const qreal x = pixels.left() + col + 0.5;
      const qreal w0 = ((p[1].x() - x) * (p[2].y() - y) - (p[2].x() - x) * (p[1].y() - y)) / area;
      const qreal w1 = ((p[2].x() - x) * (p[0].y() - y) - (p[0].x() - x) * (p[2].y() - y)) / area;
      const qreal w2 = 1 - w0 - w1;
      if (w0 < -kEdgeTolerance || w1 < -kEdgeTolerance || w2 < -kEdgeTolerance) continue;
      const auto mix = [&](int (*channel)(Colour)) {
        const qreal value = w0 * channel(colour[0]) + w1 * channel(colour[1]) + w2 * channel(colour[2]);
        return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
      };
      line[col] = qRgb(mix(RedOf), mix(GreenOf), mix(BlueOf));
    }
  }
  painter_.drawImage(pixels.topLeft(), image);
}

void QPainterSurface::DrawPicture(const Picture& picture, const Rect& dest) {
  if (!Ready()) return;
  const auto* qtPicture = dynamic_cast<const QtPicture*>(&picture);
  if (qtPicture == nullptr || qtPicture->Image().isNull()) return;
  const QRect target = DeviceRect(dest);
  if (target.isEmpty()) return;
  painter_.drawImage(target, qtPicture->Image());
}

void QPainterSurface::DrawPicturePart(const Picture& picture, const Rect& dest, int sx, int sy,
                                      int sw, int sh) {
  if (!Ready()) return;
  const auto* qtPicture = dynamic_cast<const QtPicture*>(&picture);
  if (qtPicture == nullptr || qtPicture->Image().isNull() || sw <= 0 || sh <= 0) return;
  const QRect target = DeviceRect(dest);
  if (target.isEmpty()) return;
  painter_.drawImage(target, qtPicture->Image(), QRect(sx, sy, sw, sh));
}

}  // namespace tracemont
