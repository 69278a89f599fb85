// CPlotDot: a points series with its markers.
#include <algorithm>
#include <cmath>

#include "model/plot_objects.h"
#include "model/text.h"

namespace tracemont {
namespace {

// Two handle sizes: the least distance between points placed by hand.
constexpr std::int64_t kMinSpacing = 2 * kHandleSize;

std::string SeriesPrefix(int source) {
  switch (source) {
    case source::kDropped: return LoadStr(41570);
    case source::kOnLines: return LoadStr(41571);
    case source::kRead: return LoadStr(41572);
    case source::kDigitized: return LoadStr(41573);
    default: return {};
  }
}

int HalfOf(int tenthMm) {
  const double plot = std::max(tenthMm, 1) * 1000.0 / 2540.0;
  return std::max(1, TruncToInt(std::round(plot)));
}

Point ClampInto(Point p, const Rect& page) {
  const Rect n = page.Normalized();
  return {std::clamp(p.x, n.left, n.right), std::clamp(p.y, n.bottom, n.top)};
}

// Sign of the cross product (b - a) x (p - a).
double Side(Point a, Point b, Point p) {
  return static_cast<double>(b.x - a.x) * (p.y - a.y) - static_cast<double>(b.y - a.y) * (p.x - a.x);
}

}  // namespace

CPlotDot::CPlotDot(int colourCommand, int shapeCommand, int source_)
    : CPlotVal(colourCommand, source_),
      shapeCommand_(ShapeCommandOfIndex(ShapeIndexOfCommand(shapeCommand))),
      shapeIndex_(ShapeIndexOfCommand(shapeCommand)) {
  const std::string prefix = SeriesPrefix(source_);
  if (!prefix.empty()) name = prefix + " " + name;
  RecalcMarker();
}

void CPlotDot::SetShape(int shapeCommand) {
  shapeIndex_ = ShapeIndexOfCommand(shapeCommand);
  shapeCommand_ = ShapeCommandOfIndex(shapeIndex_);
}

void CPlotDot::SetSize(int size_, double aspect_, double kx, double ky) {
  size = size_;
  aspect = std::isnan(aspect_) ? 1.0 : std::clamp(aspect_, 0.1, 10.0);
  sizeX = size * 0.01 * kx;
  sizeY = aspect * size * 0.01 * ky;
  RecalcMarker();
}

void CPlotDot::ChangeSize(int size_, double aspect_) {
  const double newAspect = std::isnan(aspect_) ? 1.0 : std::clamp(aspect_, 0.1, 10.0);
  // A size of 0 is drawn as 1, so it rescales as 1 too.
  const double ratio = static_cast<double>(std::max(size_, 1)) / std::max<int>(size, 1);
  sizeX *= ratio;
  sizeY *= ratio * (aspect > 0 ? newAspect / aspect : 1.0);
  size = size_;
  aspect = newAspect;
  RecalcMarker();
}

void CPlotDot::RecalcMarker() {
  aspect = std::isnan(aspect) ? 1.0 : std::clamp(aspect, 0.1, 10.0);
  int w = std::max<int>(size, 1);
  int h = TruncToInt(w * aspect);
  if (sizeFollowsScale) {
    if (xScale.k != 0.0) w = TruncToInt(sizeX * 100.0 / xScale.k);
    if (yScale.k != 0.0) h = TruncToInt(sizeY * 100.0 / yScale.k);
  }
  halfWidth = HalfOf(w);
  halfHeight = HalfOf(h);
}

double CPlotDot::MarkerArea() const {
  if (sizeFollowsScale) return 4.0 * sizeX * sizeY;
  return 4.0 * (size * 0.01 * xScale.k) * (aspect * size * 0.01 * yScale.k);
}

bool CPlotDot::MarkerContains(Point at, Point p) const {
  if (!MarkerBox(at).Contains(p)) return false;
  switch (Shape()) {
    case MarkerShape::Cross:
      return true;
    case MarkerShape::Triangle: {
      const Point apex{at.x, at.y + halfHeight};
      const Point left{at.x - halfWidth, at.y - halfHeight};
      const Point right{at.x + halfWidth, at.y - halfHeight};
      const double s1 = Side(left, right, p);
      const double s2 = Side(right, apex, p);
      const double s3 = Side(apex, left, p);
      return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
    }
    case MarkerShape::Round: {
      const double dx = static_cast<double>(p.x - at.x) / halfWidth;
      const double dy = static_cast<double>(p.y - at.y) / halfHeight;
      return dx * dx + dy * dy <= 1.0;
    }
  }
  return false;
}

bool CPlotDot::AddPoint(Point p, bool finish, Surface* surface) {
  const bool first = outline_.empty();
  if (spacingCheck && !first && SquaredDistance(p, outline_.back()) < kMinSpacing * kMinSpacing)
    return false;
  CPlotVal::AddPoint(p, finish, surface);
  if (first && !finish) bounds_ = Rect::At(p).Inflated(2 * halfWidth, 2 * halfHeight);
  return true;
}

bool CPlotDot::AddValue(const DotValue& value, bool finish, Surface* surface) {
  CPlotVal::AddValue(value, finish, surface);
  if (surface) DrawLastSegment(*surface);
  return true;
}

void CPlotDot::WidenBounds() {
  CPlot::WidenBounds();
  bounds_ = bounds_.Inflated(halfWidth, halfHeight);
}

bool CPlotDot::HitTest(Point p) const {
  if (!visible) return false;
  return std::any_of(outline_.begin(), outline_.end(),
                     [&](const Point& at) { return MarkerContains(at, p); });
}

void CPlotDot::DrawMarker(Surface& surface, Point at) const {
  const Rect box = MarkerBox(at);
  switch (Shape()) {
    case MarkerShape::Cross:
      for (int d = -1; d <= 1; ++d) {
        surface.Line({box.left, at.y + d}, {box.right, at.y + d});
        surface.Line({at.x + d, box.top}, {at.x + d, box.bottom});
      }
      break;
    case MarkerShape::Triangle: {
      const Point triangle[3] = {{at.x, box.top}, {box.left, box.bottom}, {box.right, box.bottom}};
      surface.Polygon(triangle);
      break;
    }
    case MarkerShape::Round:
      surface.Ellipse(box);
      break;
  }
}

bool CPlotDot::Draw(Surface& surface, const DrawContext& context) {
  if (!visible || outline_.empty()) return false;
  SurfaceStateGuard guard(surface);
  const Rect page = context.page.Normalized();

  if (occupation) {
    Region boxes;
    for (const Point& p : outline_)
      if (page.Contains(p)) boxes.AddRect(MarkerBox(p));
    if (boxes.IsEmpty()) return true;
    const Point origin = surface.ToDevice({0, 0});
    surface.SetBrushOrigin({((origin.x + ColourIndex()) % 8 + 8) % 8, ((origin.y + ColourIndex()) % 8 + 8) % 8});
    surface.FillRegion(boxes, {BrushStyle::DiagonalCross, LineColour()});
    surface.FrameRegion(boxes, {BrushStyle::Solid, LineColour()}, 1, 1);
    return true;
  }

  if (inProgress) DrawLastSegment(surface);
  const Pen markerPen{PenStyle::Solid, lineWidth, LineColour()};
  if (connect && outline_.size() > 1) {
    surface.SetPen(connectWidth >= 2 ? Pen{PenStyle::Solid, connectWidth, LineColour()} : markerPen);
    std::vector<Point> line;
    line.reserve(outline_.size());
    for (const Point& p : outline_) line.push_back(clampToPage ? ClampInto(p, page) : p);
    surface.Polyline(line);
  }
  surface.SetPen(markerPen);
  surface.SetBrush({BrushStyle::Solid, FillColour()});
  // Only markers that reach into the part being painted are drawn: a repaint
  // of a small rectangle (a dragged area) then costs little.
  const int reach = std::max(lineWidth, 1) + 1;
  const Rect clip = surface.ClipBox().Inflated(halfWidth + reach, halfHeight + reach);
  const Rect visible{std::max(page.left, clip.left), std::min(page.top, clip.top),
                     std::min(page.right, clip.right), std::max(page.bottom, clip.bottom)};
  if (visible.left > visible.right || visible.bottom > visible.top) return true;
  // Markers are opaque and drawn without anti-aliasing, so a second marker at
  // the same position paints exactly the same pixels: large series skip
  // repeated positions (a million points on a page share far fewer places).
  constexpr std::size_t kDeduplicateFrom = 4096;
  constexpr long long kMaxCells = 16'000'000;
  const long long cells = static_cast<long long>(visible.Width() + 1) * (visible.Height() + 1);
  if (outline_.size() < kDeduplicateFrom || cells > kMaxCells) {
    for (const Point& p : outline_)
      if (visible.Contains(p)) DrawMarker(surface, p);
    return true;
  }
  std::vector<bool> drawn(static_cast<std::size_t>(cells), false);
  const int stride = visible.Width() + 1;
  for (const Point& p : outline_) {
    if (!visible.Contains(p)) continue;
    const auto cell =
        static_cast<std::size_t>(static_cast<long long>(visible.top - p.y) * stride + (p.x - visible.left));
    if (drawn[cell]) continue;
    drawn[cell] = true;
    DrawMarker(surface, p);
  }
  return true;
}

void CPlotDot::DrawLabel(Surface& surface, const Rect& box, int textHeight) {
  const Rect b = box.Normalized();
  {
    SurfaceStateGuard guard(surface);
    surface.SetPen({PenStyle::Solid, lineWidth, LineColour()});
    surface.SetBrush({BrushStyle::Solid, FillColour()});
    DrawMarker(surface, {b.left + 4 + halfWidth, (b.top + b.bottom) / 2});
  }
  // The name follows the sample marker.
  Rect rest = b;
  rest.left += 4 + 2 * halfWidth + 4;
  CPlot::DrawLabel(surface, rest, textHeight);
}

std::string CPlotDot::GetPointInfo(Point p) const {
  std::string info = StrFormat("Point: u=%d v=%d\r\n", p.x, p.y);
  for (std::size_t i = 0; i < outline_.size(); ++i) {
    if (!MarkerContains(outline_[i], p)) continue;
    const DotValue& v = values_[i];
    info += StrFormat("Точка = %d \r\nX = %4.4g\r\nY = %4.4g\r\nz=%4.4g\r\n", static_cast<int>(i) + 1,
                      v.x, v.y, v.z);
  }
  return info;
}

int CPlotDot::EraseAt(Point p) {
  int removed = 0;
  for (int i = PointCount() - 1; i >= 0; --i) {
    if (MarkerContains(outline_[static_cast<std::size_t>(i)], p) && RemovePoint(i)) ++removed;
  }
  return removed;
}

void CPlotDot::RecalcOutline() {
  RecalcMarker();
  CPlotVal::RecalcOutline();
}

void CPlotDot::SetLineEnd(Point p) {
  const std::size_t end = static_cast<std::size_t>(std::max(lineStart, 0)) + 1;
  if (outline_.size() >= end + 1) {
    const Point old = outline_[end];
    MovePoint(static_cast<int>(end), p.x - old.x, p.y - old.y);
    return;
  }
  CPlotVal::AddPoint(p, false, nullptr);
}

void CPlotDot::SprayLine() {
  const std::size_t start = static_cast<std::size_t>(std::max(lineStart, 0));
  if (start + 1 < outline_.size()) {
    const Point a = outline_[start];
    const Point b = outline_[start + 1];
    const double length = std::sqrt(static_cast<double>(SquaredDistance(a, b)));
    // A step below one unit would never end; a segment across an absurd
    // coordinate range is capped at a million points.
    const double stride = std::max({1.0, static_cast<double>(step), length / 1.0e6});
    for (double t = 0.0; t < length; t += stride) {
      if (t <= 0.0) continue;
      const double f = t / length;
      const Point q{TruncToInt(a.x + (b.x - a.x) * f), TruncToInt(a.y + (b.y - a.y) * f)};
      CPlotVal::AddPoint(q, false, nullptr);
    }
  }
  lineStart = PointCount();
  RecalcAllValues();
  FinishEdit();
}

}  // namespace tracemont
