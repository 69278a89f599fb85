// The drawing surface every painting algorithm of the core draws on.
//
// Coordinates are plot units (1 unit = 0.01 inch) with y pointing up, as the
// page is laid out; an implementation maps them to its device (100 units per
// inch). The surface keeps a current pen, brush, font and text settings, like
// the graphics interfaces the algorithms were designed for; drawing calls use
// them. Implementations: QPainterSurface (platform/) and RecordingSurface
// (render/, for tests).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/font.h"
#include "model/geometry.h"

namespace tracemont {

// Numbered as the platform pen styles stored in documents (0 = solid).
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

// width is in plot units; 0 draws the thinnest line the device can show.
struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 0;
  Colour colour = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Null, Solid, DiagonalCross, BackDiagonal, ForwardDiagonal, Cross };

struct Brush {
  BrushStyle style = BrushStyle::Null;
  Colour colour = 0;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Baseline, Bottom };

// A union of closed polygons, each filled by the even-odd rule. Rectangles
// are added as four-point polygons.
struct Region {
  std::vector<std::vector<Point>> polygons;

  void AddPolygon(std::vector<Point> polygon) { polygons.push_back(std::move(polygon)); }
  void AddRect(const Rect& r) {
    const Rect n = r.Normalized();
    polygons.push_back({{n.left, n.top}, {n.right, n.top}, {n.right, n.bottom}, {n.left, n.bottom}});
  }
  bool IsEmpty() const { return polygons.empty(); }
};

struct GradientVertex {
  Point at;
  Colour colour = 0;
};

// A picture loaded by the platform layer; the core only passes it along.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual Size PixelSize() const = 0;
  // Size on paper in 0.01 mm; pictures that say nothing count as 96 dpi.
  virtual Size NaturalSize() const {
    const Size px = PixelSize();
    return {(px.cx * 2540 + 48) / 96, (px.cy * 2540 + 48) / 96};
  }
};

class Surface {
 public:
  virtual ~Surface() = default;

  // --- device facts -------------------------------------------------------
  virtual bool IsPrinter() const = 0;
  virtual int PixelsPerInchX() const = 0;
  virtual int PixelsPerInchY() const = 0;
  // Device pixel of a plot position (used for brush origins and culling).
  virtual Point ToDevice(Point plot) const = 0;
  // The part of the page that needs painting, in plot units (normalised).
  virtual Rect ClipBox() const = 0;

  // --- current drawing objects ----------------------------------------------
  void SetPen(const Pen& pen) { pen_ = pen; }
  void SetBrush(const Brush& brush) { brush_ = brush; }
  // Hatch patterns start at this device pixel (0..7 is enough: patterns are 8x8).
  void SetBrushOrigin(Point device) { brushOrigin_ = device; }
  void SetFont(const FontDescription& font) { font_ = font; }
  void SetTextColour(Colour colour) { textColour_ = colour; }
  void SetTextBackground(bool transparent, Colour colour = Rgb(255, 255, 255)) {
    transparentText_ = transparent;
    textBackground_ = colour;
  }
  // Anti-aliased lines for the following calls (the smooth-line switch).
  void SetSmoothLines(bool on) { smooth_ = on; }

  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  Point BrushOrigin() const { return brushOrigin_; }
  const FontDescription& CurrentFont() const { return font_; }
  Colour TextColour() const { return textColour_; }
  bool TransparentText() const { return transparentText_; }
  Colour TextBackground() const { return textBackground_; }
  bool SmoothLines() const { return smooth_; }

  // --- primitives (current pen; shapes also fill with the current brush) ---
  virtual void Polyline(std::span<const Point> points) = 0;
  // Closed polygon filled by the even-odd rule.
  virtual void Polygon(std::span<const Point> points) = 0;
  virtual void Rectangle(const Rect& r) = 0;
  virtual void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) = 0;
  virtual void Ellipse(const Rect& box) = 0;
  // Fills the region with a brush, without outline.
  virtual void FillRegion(const Region& region, const Brush& brush) = 0;
  // Paints a border of width w and height h inside the region's edges.
  virtual void FrameRegion(const Region& region, const Brush& brush, int w, int h) = 0;
  // Text in the current font and text colour; utf8 holds one line.
  virtual void Text(Point at, std::string_view utf8, HAlign h = HAlign::Left,
                    VAlign v = VAlign::Top) = 0;
  // Width and height of one line of text in the current font, plot units.
  virtual Size TextExtent(std::string_view utf8) = 0;
  // Gouraud-shaded triangle.
  virtual void GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                                const GradientVertex& c) = 0;
  // Draws the picture stretched into the rectangle.
  virtual void DrawPicture(const Picture& picture, const Rect& dest) = 0;
  // Draws the part of the picture at pixels (sx, sy), sw x sh, stretched
  // into the rectangle. A surface that cannot cut pictures draws it whole.
  virtual void DrawPicturePart(const Picture& picture, const Rect& dest, int /*sx*/, int /*sy*/,
                               int /*sw*/, int /*sh*/) {
    DrawPicture(picture, dest);
  }

  // --- conveniences built on the primitives ---------------------------------
  void Line(Point a, Point b) {
    const Point pts[2] = {a, b};
    Polyline(pts);
  }
  void FillRect(const Rect& r, const Brush& brush) {
    Region region;
    region.AddRect(r);
    FillRegion(region, brush);
  }

 private:
  Pen pen_;
  Brush brush_{BrushStyle::Solid, Rgb(255, 255, 255)};
  Point brushOrigin_;
  FontDescription font_;
  Colour textColour_ = 0;
  bool transparentText_ = true;
  Colour textBackground_ = Rgb(255, 255, 255);
  bool smooth_ = false;
};

// Restores pen, brush, font and text settings when it goes out of scope, so a
// Draw operation leaves the surface as it found it.
class SurfaceStateGuard {
 public:
  explicit SurfaceStateGuard(Surface& s)
      : surface_(s), pen_(s.CurrentPen()), brush_(s.CurrentBrush()), origin_(s.BrushOrigin()),
        font_(s.CurrentFont()), textColour_(s.TextColour()), transparent_(s.TransparentText()),
        background_(s.TextBackground()), smooth_(s.SmoothLines()) {}
  ~SurfaceStateGuard() {
    surface_.SetPen(pen_);
    surface_.SetBrush(brush_);
    surface_.SetBrushOrigin(origin_);
    surface_.SetFont(font_);
    surface_.SetTextColour(textColour_);
    surface_.SetTextBackground(transparent_, background_);
    surface_.SetSmoothLines(smooth_);
  }
  SurfaceStateGuard(const SurfaceStateGuard&) = delete;
  SurfaceStateGuard& operator=(const SurfaceStateGuard&) = delete;

 private:
  Surface& surface_;
  Pen pen_;
  Brush brush_;
  Point origin_;
  FontDescription font_;
  Colour textColour_;
  bool transparent_;
  Colour background_;
  bool smooth_;
};

}  // namespace tracemont
