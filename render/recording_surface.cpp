#include "render/recording_surface.h"

#include <algorithm>

namespace tracemont {

Point RecordingSurface::ToDevice(Point plot) const {
  // 100 plot units per inch, device y grows downwards.
  return {plot.x * ppi_ / 100, -plot.y * ppi_ / 100};
}

RecordedOp& RecordingSurface::Record(RecordedOp::Kind kind) {
  RecordedOp op{};
  op.kind = kind;
  op.pen = CurrentPen();
  op.brush = CurrentBrush();
  op.brushOrigin = BrushOrigin();
  op.font = CurrentFont();
  op.textColour = TextColour();
  op.smooth = SmoothLines();
  ops_.push_back(std::move(op));
  return ops_.back();
}

void RecordingSurface::Polyline(std::span<const Point> points) {
  Record(RecordedOp::Kind::Polyline).points.assign(points.begin(), points.end());
}

void RecordingSurface::Polygon(std::span<const Point> points) {
  Record(RecordedOp::Kind::Polygon).points.assign(points.begin(), points.end());
}

void RecordingSurface::Rectangle(const Rect& r) { Record(RecordedOp::Kind::Rectangle).rect = r; }

void RecordingSurface::RoundRect(const Rect& r, int, int) {
  Record(RecordedOp::Kind::RoundRect).rect = r;
}

void RecordingSurface::Ellipse(const Rect& box) { Record(RecordedOp::Kind::Ellipse).rect = box; }

void RecordingSurface::FillRegion(const Region& region, const Brush& brush) {
  RecordedOp& op = Record(RecordedOp::Kind::FillRegion);
  op.region = region;
  op.brush = brush;
}

void RecordingSurface::FrameRegion(const Region& region, const Brush& brush, int, int) {
  RecordedOp& op = Record(RecordedOp::Kind::FrameRegion);
  op.region = region;
  op.brush = brush;
}

void RecordingSurface::Text(Point at, std::string_view utf8, HAlign, VAlign) {
  RecordedOp& op = Record(RecordedOp::Kind::Text);
  op.points = {at};
  op.text = std::string(utf8);
}

Size RecordingSurface::TextExtent(std::string_view utf8) {
  // A fixed-pitch estimate: half the font height per character.
  const int h = std::max(1, CurrentFont().height);
  return {static_cast<int>(utf8.size()) * h / 2, h};
}

void RecordingSurface::GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                                        const GradientVertex& c) {
  Record(RecordedOp::Kind::GradientTriangle).points = {a.at, b.at, c.at};
}

void RecordingSurface::DrawPicture(const Picture&, const Rect& dest) {
  Record(RecordedOp::Kind::Picture).rect = dest;
}

std::size_t RecordingSurface::Count(RecordedOp::Kind kind) const {
  return static_cast<std::size_t>(
      std::count_if(ops_.begin(), ops_.end(), [kind](const RecordedOp& op) { return op.kind == kind; }));
}

}  // namespace tracemont
