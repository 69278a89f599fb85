#include "model/plot_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <mutex>
#include <optional>

#include "model/cp1251.h"

namespace tracemont {
namespace {

// Outline coordinates stay within this range, so that sums of a coordinate,
// a box size and a margin cannot overflow an int.
constexpr std::int64_t kCoordLimit = 1'000'000'000;
constexpr int kMetricLimit = 100'000'000;

constexpr Colour kButtonShadow = Rgb(160, 160, 160);
constexpr Colour kGreyStockBrush = Rgb(128, 128, 128);

int Coord(std::int64_t v) { return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit)); }

std::int64_t TruncTo64(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int64_t>(std::clamp(v, -4.0e18, 4.0e18));
}

struct FontMetricsSlot {
  std::mutex mutex;
  std::optional<std::pair<int, int>> metrics;  // average width, height
};

FontMetricsSlot& Slot() {
  static FontMetricsSlot slot;
  return slot;
}

}  // namespace

void SetDisplayFontMetrics(int averageWidth, int height) {
  std::lock_guard lock(Slot().mutex);
  Slot().metrics = std::make_pair(averageWidth, height);
}

void ClearDisplayFontMetrics() {
  std::lock_guard lock(Slot().mutex);
  Slot().metrics.reset();
}

double CharWidthRatio() {
  std::lock_guard lock(Slot().mutex);
  if (!Slot().metrics) return 0.5;
  const auto [width, height] = *Slot().metrics;
  if (height == 0) return 1.0;
  const double r = static_cast<double>(width) / height;
  return r < 0 ? 0.0 : r;
}

CharMetrics CharMetricsOf(int textSize, double ratio) {
  const auto clampMetric = [](double v) {
    if (!(v > 0)) return 0;
    return static_cast<int>(std::min(v, static_cast<double>(kMetricLimit)));
  };
  return {clampMetric(textSize * 10.0 / 25.4), clampMetric(textSize * ratio * 10.0 / 25.4)};
}

CPlotText::CPlotText(Point anchor_, int source_)
    : CPlotVal(cmd::kBlackPoints, source_),
      anchor{Coord(anchor_.x), Coord(anchor_.y)} {
  font.clipPrecision = 16;
}

int CPlotText::EffectivePosition() const {
  return position >= kUpperLeft && position <= kLowerLeft ? position : kUpperLeft;
}

void CPlotText::RebuildLines() {
  lines_.clear();
  if (text.empty()) return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string::npos) {
      lines_.push_back(text.substr(start));
      return;
    }
    // The line ends before its carriage return; a bare line feed drops nothing.
    std::size_t end = feed;
    if (end > start && text[end - 1] == '\r') --end;
    lines_.push_back(text.substr(start, end - start));
    start = feed + 1;
  }
}

std::string CPlotText::PathText() const {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.push_back(' ');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

void CPlotText::Layout() {
  RebuildLines();
  if (outline_.size() < static_cast<std::size_t>(kCalloutPoints)) return;

  const CharMetrics m = Metrics();
  const std::int64_t ch = m.height;
  const std::int64_t cw = m.width;
  std::size_t longest = 0;
  for (const std::string& line : lines_) longest = std::max(longest, Utf8Length(line));
  const auto cols = static_cast<std::int64_t>(longest) + 3;
  const auto rows = static_cast<std::int64_t>(lines_.size());
  const int pos = EffectivePosition();

  std::int64_t w = 0;
  std::int64_t h = 0;
  if (pos == kCentred) {
    const double a = static_cast<double>(cols * cw);
    const double b = static_cast<double>(rows * ch);
    const double rad = angle * 3.14159 / 180;
    w = TruncTo64(std::fabs(a * std::cos(rad)) + std::fabs(b * std::sin(rad)));
    h = TruncTo64(std::fabs(b * std::cos(rad)) + std::fabs(a * std::sin(rad)));
  } else {
    w = TruncTo64(static_cast<double>(cols * cw) * 1.2);
    h = TruncTo64(static_cast<double>(rows * ch) * 1.2);
  }
  w = std::min(w, kCoordLimit);
  h = std::min(h, kCoordLimit);

  const std::int64_t x = anchor.x;
  const std::int64_t y = anchor.y;
  std::int64_t dx = 0;
  std::int64_t dy = 0;
  switch (pos) {
    case kUpperLeft: dx = -w; dy = ch; break;
    case kUpperRight: dx = 0; dy = ch; break;
    case kCentred: dx = -(w / 2); dy = -(h / 2); break;
    case kLowerRight: dx = 0; dy = -(ch + h); break;
    case kLowerLeft: dx = -w; dy = -(ch + h); break;
  }
  const std::int64_t left = x + dx;
  const std::int64_t right = left + w;
  const std::int64_t lower = y + dy;
  const std::int64_t upper = lower + h;
  const auto at = [](std::int64_t px, std::int64_t py) { return Point{Coord(px), Coord(py)}; };

  std::vector<Point>& o = outline_;
  o[0] = at(x, y);
  o[2] = at(x, y);
  if (pos == kCentred) {
    o[4] = at(right, upper);
    o[5] = at(right, lower);
    o[6] = at(left, lower);
    o[7] = at(left, upper);
    o[1] = o[2] = o[3] = o[4];
  } else {
    const bool above = pos == kUpperLeft || pos == kUpperRight;
    const std::int64_t facing = above ? lower : upper;
    const std::int64_t far = above ? upper : lower;
    if (pos == kUpperLeft || pos == kLowerLeft) {
      o[1] = at(right - 2 * cw, facing);
      o[3] = at(right - cw, facing);
    } else {
      o[1] = at(left + cw, facing);
      o[3] = at(left + 2 * cw, facing);
    }
    o[4] = at(right, facing);
    o[5] = at(right, far);
    o[6] = at(left, far);
    o[7] = at(left, facing);
  }
  RecalcAllValues();
}

void CPlotText::SetText(std::string utf8) {
  if (outline_.empty())
    for (int i = 0; i < kCalloutPoints; ++i) CPlotVal::AddPoint(anchor, false, nullptr);
  text = std::move(utf8);
  Layout();
  FinishEdit();
}

void CPlotText::SetPosition(int position_) {
  position = position_;
  Layout();
  FinishEdit();
}

void CPlotText::SetTextSize(int tenthMm) {
  textSize = tenthMm;
  Layout();
  FinishEdit();
}

void CPlotText::SetAngle(int degrees) {
  angle = std::clamp(degrees, 0, 360);
  if (EffectivePosition() != kCentred) return;
  Layout();
  FinishEdit();
}

void CPlotText::CopyStyle(const CPlot& other) {
  if (const auto* o = dynamic_cast<const CPlotText*>(&other); o && o != this) {
    textColour = o->textColour;
    backgroundColour = o->backgroundColour;
    background = o->background;
    shadow = o->shadow;
    position = o->position;
    textSize = o->textSize;
    angle = o->angle;
  }
  Layout();
  FinishEdit();
}

void CPlotText::BoundsOf(std::size_t first, std::size_t last, int dx, int dy) {
  last = std::min(last, outline_.size());
  if (first >= last) {
    bounds_ = {};
    return;
  }
  Rect r = Rect::At(outline_[first]);
  for (std::size_t i = first; i < last; ++i) r = r.Including(outline_[i]);
  bounds_ = r.Inflated(dx, dy);
}

bool CPlotText::AddPoint(Point p, bool finish, Surface* surface) {
  const CharMetrics m = Metrics();
  if (outline_.size() >= static_cast<std::size_t>(kFirstCharPoint) + 1) {
    const std::size_t characters = Utf8Length(PathText());
    if (outline_.size() > characters + kCalloutPoints) return false;
    const std::int64_t least = static_cast<std::int64_t>(m.height) * m.height;
    if (SquaredDistance(p, outline_.back()) <= least) return false;
  }
  CPlotVal::AddPoint({Coord(p.x), Coord(p.y)}, finish, nullptr);
  BoundsOf(0, outline_.size(), 4 * m.width, 4 * m.height);
  if (surface) DrawLastSegment(*surface);
  return true;
}

void CPlotText::Offset(int dx, int dy) {
  if (drawText) return;
  anchor = {Coord(static_cast<std::int64_t>(anchor.x) + dx),
            Coord(static_cast<std::int64_t>(anchor.y) + dy)};
  const std::size_t box = std::min<std::size_t>(outline_.size(), kCalloutPoints);
  for (std::size_t i = 0; i < box; ++i) {
    outline_[i] = {Coord(static_cast<std::int64_t>(outline_[i].x) + dx),
                   Coord(static_cast<std::int64_t>(outline_[i].y) + dy)};
    RecalcValues(static_cast<int>(i));
  }
  ResetSort();
  const CharMetrics m = Metrics();
  BoundsOf(0, box, 2 * m.width, 2 * m.height);
}

bool CPlotText::HitTest(Point p) const {
  if (!visible || outline_.size() < static_cast<std::size_t>(kCalloutPoints)) return false;
  if (!drawText) {
    const Point a = outline_[4];
    const Point b = outline_[6];
    return Rect{a.x, a.y, b.x, b.y}.Contains(p);
  }
  if (outline_.size() <= static_cast<std::size_t>(kPathStart)) return false;
  Rect r = Rect::At(outline_[kPathStart]);
  for (std::size_t i = kPathStart; i < outline_.size(); ++i) r = r.Including(outline_[i]);
  const CharMetrics m = Metrics();
  return r.Inflated(2 * m.width, 2 * m.height).Contains(p);
}

FontDescription CPlotText::TextFont() const {
  FontDescription f = font;
  f.height = TenthMmToPlot(textSize);
  f.width = 0;
  // Tenths of a degree; a stored angle may be anything.
  const long long rotation = EffectivePosition() == kCentred ? angle * 10LL : 0;
  const int tenths = static_cast<int>(std::clamp<long long>(rotation, INT_MIN, INT_MAX));
  f.escapement = tenths;
  f.orientation = tenths;
  return f;
}

void CPlotText::DrawBox(Surface& surface) const {
  const std::span<const Point> callout(outline_.data() + 1, kCalloutPoints - 1);
  const Point corner4 = outline_[4];
  const Point corner6 = outline_[6];
  const int pos = EffectivePosition();

  if (background) {
    if (shadow) {
      constexpr int s = kShadowOffset;
      if (!surface.IsPrinter()) {
        surface.FillRect({corner6.x + s, corner4.y + s, corner4.x + s, corner6.y + s},
                         {BrushStyle::Solid, kButtonShadow});
      } else {
        std::vector<Point> moved(callout.begin(), callout.end());
        for (Point& q : moved) q = {q.x + s, q.y + s};
        surface.SetPen({PenStyle::Null, 0, 0});
        surface.SetBrush({BrushStyle::Solid, kGreyStockBrush});
        surface.Polygon(moved);
      }
    }
    surface.SetPen({PenStyle::Solid, lineWidth, textColour});
    surface.SetBrush({BrushStyle::Solid, backgroundColour});
    surface.Polygon(callout);
  } else if (pos != kCentred) {
    surface.SetPen({PenStyle::Solid, lineWidth, textColour});
    const Point leader[4] = {outline_[2], outline_[1], outline_[4], outline_[7]};
    surface.Polyline(leader);
  }

  surface.SetFont(TextFont());
  surface.SetTextColour(textColour);
  surface.SetTextBackground(true);
  const CharMetrics m = Metrics();
  std::int64_t sx = 0;
  std::int64_t sy = m.height;
  if (pos == kCentred) {
    const double d = std::sqrt(static_cast<double>(m.height) * m.height +
                               static_cast<double>(m.width) * m.width);
    const double rad = angle * 3.14159 / 180;
    sx = TruncTo64(std::sin(rad) * d);
    sy = TruncTo64(std::cos(rad) * d);
  }
  const auto n = static_cast<std::int64_t>(lines_.size());
  std::int64_t x = (n * sx + corner6.x + corner4.x) / 2;
  std::int64_t y = (n * sy + corner6.y + corner4.y) / 2;
  for (const std::string& line : lines_) {
    surface.Text({Coord(x), Coord(y)}, line, HAlign::Centre, VAlign::Top);
    x -= sx;
    y -= sy;
  }
}

void CPlotText::DrawPath(Surface& surface, const DrawContext& context) const {
  surface.SetFont(TextFont());
  surface.SetTextColour(textColour);
  surface.SetTextBackground(true);
  const Rect page = context.page.Normalized();
  const std::vector<std::string> characters = Utf8Characters(PathText());
  for (std::size_t k = 0; k < characters.size(); ++k) {
    const std::size_t at = kFirstCharPoint + k;
    if (at >= outline_.size()) break;
    if (!page.Contains(outline_[at])) continue;
    surface.Text(outline_[at], characters[k], HAlign::Left, VAlign::Top);
  }
}

bool CPlotText::Draw(Surface& surface, const DrawContext& context) {
  if (!visible) return false;
  SurfaceStateGuard guard(surface);
  if (drawText) {
    if (outline_.size() <= static_cast<std::size_t>(kFirstCharPoint)) return false;
    DrawPath(surface, context);
    return true;
  }
  if (lines_.empty() || outline_.size() < static_cast<std::size_t>(kCalloutPoints)) return false;
  DrawBox(surface);
  return true;
}

void CPlotText::RecalcOutline() {
  CPlotVal::RecalcOutline();
  if (!outline_.empty()) anchor = outline_[kAnchorPoint];
  Layout();
  CalcBounds();
  WidenBounds();
}

}  // namespace tracemont
