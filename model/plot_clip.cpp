// CPlotClip: areas that select points.
#include <algorithm>
#include <cmath>

#include "model/plot_objects.h"
#include "model/polygon.h"
#include "model/text.h"

namespace tracemont {
namespace {

std::string AreaPrefix(int kind) {
  switch (kind) {
    case cmd::kRectArea: return LoadStr(41576);
    case cmd::kIrregularArea: return LoadStr(41575);
    case cmd::kRangeArea: return LoadStr(41577);
    default: return {};
  }
}

Rect ExtentOf(const std::vector<Point>& points) {
  if (points.empty()) return {};
  Rect r = Rect::At(points.front());
  for (const Point& p : points) r = r.Including(p);
  return r;
}

// Four points whose sides alternate vertical and horizontal. `verticalFirst`
// tells whether the side from point 0 to point 1 is the vertical one.
bool IsAxisRectangle(const std::vector<Point>& o, bool& verticalFirst) {
  if (o.size() != 4) return false;
  if (o[0].x == o[1].x && o[1].y == o[2].y && o[2].x == o[3].x && o[3].y == o[0].y) {
    verticalFirst = true;
    return true;
  }
  if (o[0].y == o[1].y && o[1].x == o[2].x && o[2].y == o[3].y && o[3].x == o[0].x) {
    verticalFirst = false;
    return true;
  }
  return false;
}

}  // namespace

CPlotClip::CPlotClip(int colourCommand, int kindCommand) : CPlotVal(colourCommand, 0) {
  const std::string prefix = AreaPrefix(kindCommand);
  if (!prefix.empty()) name = prefix + " " + name;
}

void CPlotClip::CalcBounds() {
  CPlot::CalcBounds();
  if (!outline_.empty()) bounds_ = bounds_.Inflated(2 * kHandleSize, 2 * kHandleSize);
}

bool CPlotClip::AddPoint(Point p, bool finish, Surface* surface) {
  if (spacingCheck && !outline_.empty()) {
    const std::int64_t d2 = SquaredDistance(p, outline_.back());
    const std::int64_t stepLimit = static_cast<std::int64_t>(std::max(step, 0)) * std::max(step, 0);
    constexpr std::int64_t kHandleLimit = 4LL * kHandleSize * kHandleSize;
    if (d2 <= stepLimit || d2 <= kHandleLimit) return false;
  }
  return CPlotVal::AddPoint(p, finish, surface);
}

bool CPlotClip::AddValue(const DotValue& value, bool finish, Surface* surface) {
  // Areas keep values computed from their integer outline, with running Z.
  return CPlotVal::AddPoint(ToOutline(value.x, value.y), finish, surface);
}

std::optional<Rect> CPlotClip::MovePoint(int i, int dx, int dy) {
  bool verticalFirst = true;
  if (i < 0 || i >= PointCount() || !IsAxisRectangle(outline_, verticalFirst))
    return CPlotVal::MovePoint(i, dx, dy);

  const Rect before = ExtentOf(outline_);
  const auto k = static_cast<std::size_t>(i);
  Point& moved = outline_[k];
  moved.x += dx;
  moved.y += dy;
  // The side from i to i + 1 is vertical when i is even in a vertical-first
  // rectangle; that neighbour shares x, the one across the other side shares y.
  const bool nextShareX = (i % 2 == 0) == verticalFirst;
  Point& next = outline_[(k + 1) % 4];
  Point& previous = outline_[(k + 3) % 4];
  if (nextShareX) {
    next.x = moved.x;
    previous.y = moved.y;
  } else {
    next.y = moved.y;
    previous.x = moved.x;
  }
  RecalcAllValues();
  ResetSort();
  const int margin = 2 * kHandleSize;
  return before.United(ExtentOf(outline_)).Inflated(margin, margin);
}

bool CPlotClip::Contains(Point p) const { return PolygonTester(outline_).Contains(p); }

bool CPlotClip::HitTest(Point p) const { return visible && Contains(p); }

int CPlotClip::HitVertex(Point p) const {
  for (std::size_t i = 0; i < outline_.size(); ++i) {
    const Point v = outline_[i];
    if (std::abs(static_cast<std::int64_t>(p.x) - v.x) <= kHandleSize &&
        std::abs(static_cast<std::int64_t>(p.y) - v.y) <= kHandleSize)
      return static_cast<int>(i);
  }
  return -1;
}

double CPlotClip::ComputedArea(bool inValues) const {
  const double cells = static_cast<double>(CoveredCells(outline_));
  if (!inValues) return cells;
  const Rect extent = ExtentOf(outline_).Normalized();
  if (extent.Width() == 0 || extent.Height() == 0) return cells;
  const double xRange = std::fabs(xScale.FromPlot(extent.right) - xScale.FromPlot(extent.left));
  const double yRange = std::fabs(yScale.FromPlot(extent.top) - yScale.FromPlot(extent.bottom));
  return cells * (xRange / extent.Width()) * (yRange / extent.Height());
}

void CPlotClip::SetCorner(Point p, bool finish, Surface* /*surface*/) {
  if (outline_.empty()) CPlotVal::AddPoint(p, false, nullptr);
  if (outline_.size() < 2)
    for (int i = 0; i < 3; ++i) CPlotVal::AddPoint(p, false, nullptr);
  const Point origin = outline_[0];
  outline_[1] = {origin.x, p.y};
  outline_[2] = p;
  outline_[3] = {p.x, origin.y};
  RecalcAllValues();
  ResetSort();
  if (finish)
    FinishEdit();
  else
    CalcBounds();
}

bool CPlotClip::IsDrawable() const {
  if (inProgress) return true;
  if (outline_.size() < 4) return false;
  // The size rule applies to the polygon itself: the stored bounds carry
  // handle and frame margins that would let any area pass.
  const Rect extent = ExtentOf(outline_);
  const int least = 4 * std::max(lineWidth, frameWidth);
  return extent.Width() >= least && extent.Height() >= least;
}

std::vector<Point> CPlotClip::PagePoints(const Rect& page) const {
  if (!clampToPage) return outline_;
  const Rect n = page.Normalized();
  std::vector<Point> points;
  points.reserve(outline_.size());
  for (const Point& p : outline_)
    points.push_back({std::clamp(p.x, n.left, n.right), std::clamp(p.y, n.bottom, n.top)});
  return points;
}

bool CPlotClip::Draw(Surface& surface, const DrawContext& context) {
  if (!visible || outline_.empty() || !IsDrawable()) return false;
  SurfaceStateGuard guard(surface);
  const std::vector<Point> polygon = PagePoints(context.page);

  if (fill && context.filled) {
    surface.SetPen({PenStyle::Solid, lineWidth, LineColour()});
    surface.SetBrush({BrushStyle::Solid, FillColour()});
    surface.Polygon(polygon);
  } else {
    surface.SetPen({PenStyle::Solid, 3 * lineWidth, LineColour()});
    surface.SetBrush({BrushStyle::Null, 0});
    surface.Polygon(polygon);
  }
  if (context.marks) {
    surface.SetPen({PenStyle::Solid, 1, LineColour()});
    surface.SetBrush({BrushStyle::Solid, Rgb(255, 255, 255)});
    for (const Point& v : polygon)
      surface.Rectangle({v.x - kHandleSize, v.y + kHandleSize, v.x + kHandleSize, v.y - kHandleSize});
  }
  if (selected && polygon.size() >= 3) {
    Region region;
    region.AddPolygon(polygon);
    surface.FrameRegion(region, {BrushStyle::BackDiagonal, LineColour()}, frameWidth, frameWidth);
  }
  return true;
}

void CPlotClip::DrawLabel(Surface& surface, const Rect& box, int textHeight) {
  const Rect b = box.Normalized();
  const int middle = (b.top + b.bottom) / 2;
  {
    SurfaceStateGuard guard(surface);
    surface.SetPen({PenStyle::Solid, lineWidth, LineColour()});
    surface.SetBrush({BrushStyle::Solid, FillColour()});
    surface.Rectangle({b.left + 4, middle + 6, b.left + 24, middle - 6});
  }
  Rect rest = b;
  rest.left += 28;
  CPlot::DrawLabel(surface, rest, textHeight);
}

bool CPlotClip::GetValueTexts(int i, std::array<std::string, 4>& texts) const {
  if (i < 0 || i > 6) return false;
  CApprox own;
  own.ComputeStats(values_);
  const auto statRow = [&](const char* label, int kind) {
    texts = {label, FormatG(own.GetStat(kind, 0)), FormatG(own.GetStat(kind, 1)),
             FormatG(own.GetStat(kind, 2))};
  };
  switch (i) {
    case 0: statRow("Area min", stat::kMin); break;
    case 1: statRow("Area max", stat::kMax); break;
    case 2: statRow("Area medium", stat::kMiddle); break;
    case 3: texts = {"Normal", "", "", ""}; break;
    case 4: texts = {"Area error", "", "", ""}; break;
    case 5: texts = {LoadStr(41553), FormatG(ComputedArea(true)), "", ""}; break;
    case 6: texts = {LoadStr(41555), FormatG(approx.correlation), "", ""}; break;
  }
  return true;
}

}  // namespace tracemont
