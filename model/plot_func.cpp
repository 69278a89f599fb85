// CPlotFunc: a function curve over its range rectangle.
#include <algorithm>
#include <cmath>

#include "approx/ellipse.h"
#include "model/plot_objects.h"
#include "model/polygon.h"

namespace tracemont {
namespace {

// Some devices keep coordinates in 16 bits.
constexpr int kCurveLimit = 32000;

int ClampCurve(int v) { return std::clamp(v, -kCurveLimit, kCurveLimit); }

}  // namespace

CPlotFunc::CPlotFunc(int colourCommand, int source_)
    : CPlotClip(colourCommand, 0), colour(LineColourOfCommand(colourCommand)) {
  source = source_;
}

void CPlotFunc::SetColourCommand(int command) {
  CPlotClip::SetColourCommand(command);
  colour = LineColourOfCommand(command);
}

bool CPlotFunc::SetParameters(const FuncParams& vector) {
  if (!IsValidParams(vector)) return false;
  params = vector;
  return true;
}

bool CPlotFunc::SetRange(const std::vector<DotValue>& records) {
  if (records.size() < 4) return false;
  rangeCorners.clear();
  for (const DotValue& r : records) rangeCorners.emplace_back(r.x, r.y, r.z);
  // A second range replaces the first rather than adding four more corners.
  outline_.clear();
  values_.clear();
  selection_.clear();
  for (std::size_t i = 0; i < 4; ++i) AddValue(rangeCorners[i], i == 3, nullptr);
  Resample();
  return true;
}

void CPlotFunc::Resample() {
  if (rangeCorners.size() < 4) {
    curve.clear();
    return;
  }
  const bool straight = !xScale.IsLogarithmic() && !yScale.IsLogarithmic();
  // The sampler option selects "Lines on centers of steps"; passing 0 here
  // would hide that drawing although the wizard and the panel offer it.
  SampleCurve(params, rangeCorners[0], rangeCorners[2], curve, SampleCount(), straight, 0,
              samplerOption);
  CalcBounds();
}

int CPlotFunc::SampleCount() const {
  if (!IsValidParams(params) || MethodOf(params) != method::kSections) return sampleCapacity;
  // Sections are sampled per section. They are straight, so with very many
  // of them fewer samples each draw the same lines, and the curve stays a
  // few records per stored section instead of a hundred.
  constexpr long long kSectionCurveLimit = 100'000;
  const long long sections = std::max(StoredInt(params[2]) / 4, 1);
  return static_cast<int>(std::clamp<long long>(kSectionCurveLimit / sections - 2, 0, sampleCapacity));
}

int CPlotFunc::SamplesFor(int divisor, std::vector<DotValue>& records) const {
  if (rangeCorners.size() < 4) {
    records.clear();
    return 0;
  }
  const Rect b = bounds_.Normalized();
  const long long count =
      (static_cast<long long>(b.Width() + b.Height()) * 252 / std::max(divisor, 1)) / 200;
  const bool linear = !xScale.IsLogarithmic() && !yScale.IsLogarithmic();
  return SampleCurve(params, rangeCorners[0], rangeCorners[2], records,
                     static_cast<int>(std::min<long long>(count, 10'000'000)), true,
                     linear ? 1 : 0, samplerOption);
}

bool CPlotFunc::RemoveSection(int i) {
  if (!IsValidParams(params) || MethodOf(params) != method::kSections) return false;
  if (!DeleteSection(params, i)) return false;
  Resample();
  return true;
}

void CPlotFunc::DrawFinitePieces(Surface& surface, std::size_t first, std::size_t count,
                                 const std::vector<Point>& points) const {
  // Points whose values are not finite (a singular fit) break the line
  // instead of being drawn at an arbitrary place.
  std::size_t run = first;
  const std::size_t end = std::min(first + count, std::min(points.size(), curve.size()));
  for (std::size_t i = first; i <= end; ++i) {
    const bool finite = i < end && std::isfinite(curve[i].x) && std::isfinite(curve[i].y);
    if (finite) continue;
    if (i - run >= 2) surface.Polyline(std::span<const Point>(points.data() + run, i - run));
    run = i + 1;
  }
}

void CPlotFunc::BuildDrawBuffer() const {
  drawBuffer_.resize(curve.size());
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const Point p = ToOutline(curve[i].x, curve[i].y);
    drawBuffer_[i] = {ClampCurve(p.x), ClampCurve(p.y)};
  }
}

void CPlotFunc::CalcBounds() {
  if (curve.empty()) {
    CPlotClip::CalcBounds();
    return;
  }
  BuildDrawBuffer();
  std::optional<Rect> r;
  for (std::size_t i = 0; i < drawBuffer_.size(); ++i) {
    if (!std::isfinite(curve[i].x) || !std::isfinite(curve[i].y)) continue;
    r = r ? r->Including(drawBuffer_[i]) : Rect::At(drawBuffer_[i]);
  }
  if (r)
    bounds_ = *r;
  else
    CPlotClip::CalcBounds();
}

Size CPlotFunc::DeviationInPlot() const {
  if (!IsValidParams(params) || rangeCorners.size() < 4) return {};
  const double deviation = std::fabs(params[7]);
  if (!std::isfinite(deviation)) return {};
  // The deviation lies along the value axis of the function.
  const bool valueIsY = DirectionOf(params) != 1;
  const CAxeScale& scale = valueIsY ? yScale : xScale;
  const double middle = valueIsY ? (rangeCorners[0].y + rangeCorners[2].y) / 2
                                 : (rangeCorners[0].x + rangeCorners[2].x) / 2;
  const int length = std::abs(scale.ToPlot(middle + deviation) - scale.ToPlot(middle));
  return valueIsY ? Size{0, length} : Size{length, 0};
}

bool CPlotFunc::HitTest(Point p) const {
  if (!visible || !IsValidParams(params) || curve.empty()) return false;
  if (MethodOf(params) == method::kSections) return HitSection(p) >= 0;
  BuildDrawBuffer();
  const Size dev = DeviationInPlot();
  const int d = (std::abs(dev.cx) + std::abs(dev.cy)) / 2 + lineWidth;
  std::vector<Point> band;
  band.reserve(2 * drawBuffer_.size());
  for (const Point& q : drawBuffer_) band.push_back({q.x - d, q.y - d});
  for (auto it = drawBuffer_.rbegin(); it != drawBuffer_.rend(); ++it) band.push_back({it->x + d, it->y + d});
  return PolygonTester(band).Contains(p);
}

int CPlotFunc::HitSection(Point p) const {
  if (!IsValidParams(params) || MethodOf(params) != method::kSections) return -1;
  // Section i is stored as (start u, start v, end u, end v) from entry 10 + 4i.
  const int sections = StoredInt(params[2]) / 4;
  const bool reversed = DirectionOf(params) == 1;
  const auto toPlot = [&](double u, double v) {
    const Point q = reversed ? ToOutline(v, u) : ToOutline(u, v);
    return Point{ClampCurve(q.x), ClampCurve(q.y)};
  };
  const double w = std::max(lineWidth, 1);
  for (int i = 0; i < sections; ++i) {
    const std::size_t at = kFuncHeaderSize + 4 * static_cast<std::size_t>(i);
    const Point a = toPlot(params[at], params[at + 1]);
    const Point b = toPlot(params[at + 2], params[at + 3]);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    const double nx = len > 0 ? -dy / len * w : 0;
    const double ny = len > 0 ? dx / len * w : w;
    const Point quad[4] = {{TruncToInt(a.x + nx), TruncToInt(a.y + ny)},
                           {TruncToInt(b.x + nx), TruncToInt(b.y + ny)},
                           {TruncToInt(b.x - nx), TruncToInt(b.y - ny)},
                           {TruncToInt(a.x - nx), TruncToInt(a.y - ny)}};
    if (PolygonTester(quad).Contains(p)) return i;
  }
  return -1;
}

bool CPlotFunc::Draw(Surface& surface, const DrawContext& context) {
  if (!visible || !IsValidParams(params) || curve.empty()) return false;
  SurfaceStateGuard guard(surface);
  BuildDrawBuffer();
  const Pen pen{PenStyle::Solid, lineWidth, colour};
  surface.SetPen(pen);
  surface.SetSmoothLines(context.smoothLines && drawBuffer_.size() >= 2);
  for (const auto& [first, count] : CurvePieces(params, drawBuffer_.size()))
    DrawFinitePieces(surface, first, count, drawBuffer_);
  surface.SetSmoothLines(false);

  if (MethodOf(params) == method::kEllipse) {
    DrawEllipseDecorations(
        surface, params, [this](double x, double y) { return ToOutline(x, y); }, rangeCorners,
        drawBuffer_, {corridor != 0, samplerOption, colour});
    return true;
  }
  if (!corridor) return true;
  const Size dev = DeviationInPlot();
  const int least = lineWidth / 2 + 2;
  if (std::abs(dev.cx) < least && std::abs(dev.cy) < least) return true;
  surface.SetPen({PenStyle::Dot, 0, colour});
  for (const int sign : {1, -1}) {
    std::vector<Point> shifted;
    shifted.reserve(drawBuffer_.size());
    for (const Point& q : drawBuffer_)
      shifted.push_back({ClampCurve(q.x + sign * dev.cx), ClampCurve(q.y + sign * dev.cy)});
    for (const auto& [first, count] : CurvePieces(params, shifted.size()))
      DrawFinitePieces(surface, first, count, shifted);
  }
  return true;
}

void CPlotFunc::DrawLabel(Surface& surface, const Rect& box, int textHeight) {
  const Rect b = box.Normalized();
  const int middle = (b.top + b.bottom) / 2;
  {
    SurfaceStateGuard guard(surface);
    surface.SetPen({PenStyle::Solid, std::max(lineWidth, 1), colour});
    surface.Line({b.left + 4, middle}, {b.left + 24, middle});
  }
  Rect rest = b;
  rest.left += 28;
  CPlot::DrawLabel(surface, rest, textHeight);
}

}  // namespace tracemont
