// A Surface that draws nothing and remembers every call, so tests can check
// what a painting algorithm asked for.
#pragma once

#include <string>
#include <vector>

#include "render/surface.h"

namespace tracemont {

struct RecordedOp {
  enum class Kind { Polyline, Polygon, Rectangle, RoundRect, Ellipse, FillRegion, FrameRegion,
                    Text, GradientTriangle, Picture };
  Kind kind;
  std::vector<Point> points;  // polyline/polygon points, triangle corners
  Rect rect;                  // rectangle, ellipse box, picture destination
  Region region;              // FillRegion/FrameRegion
  Pen pen;                    // pen current at the call
  Brush brush;                // current brush, or the brush passed to a region call
  Point brushOrigin;
  std::string text;
  FontDescription font;
  Colour textColour = 0;
  bool smooth = false;
};

class RecordingSurface : public Surface {
 public:
  // clip: the clip box reported to painters; pixelsPerInch: device resolution.
  explicit RecordingSurface(Rect clip = {-100000, 100000, 100000, -100000}, bool printer = false,
                            int pixelsPerInch = 96)
      : clip_(clip.Normalized()), printer_(printer), ppi_(pixelsPerInch) {}

  bool IsPrinter() const override { return printer_; }
  int PixelsPerInchX() const override { return ppi_; }
  int PixelsPerInchY() const override { return ppi_; }
  Point ToDevice(Point plot) const override;
  Rect ClipBox() const override { return clip_; }

  void Polyline(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
  void Ellipse(const Rect& box) override;
  void FillRegion(const Region& region, const Brush& brush) override;
  void FrameRegion(const Region& region, const Brush& brush, int w, int h) override;
  void Text(Point at, std::string_view utf8, HAlign h, VAlign v) override;
  Size TextExtent(std::string_view utf8) override;
  void GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                        const GradientVertex& c) override;
  void DrawPicture(const Picture& picture, const Rect& dest) override;

  const std::vector<RecordedOp>& Ops() const { return ops_; }
  std::size_t Count(RecordedOp::Kind kind) const;
  void Clear() { ops_.clear(); }

 private:
  RecordedOp& Record(RecordedOp::Kind kind);

  Rect clip_;
  bool printer_;
  int ppi_;
  std::vector<RecordedOp> ops_;
};

}  // namespace tracemont
