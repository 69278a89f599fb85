// Digitizing: from the document's background picture inside the selected
// areas, from a grabbed piece of the screen, and from a picture file in
// batch. The windows (limits dialog, border window, picture loading) are the
// caller's; everything here works on pixel buffers and the document.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "acquire/digit_tracer.h"
#include "model/dot_value.h"
#include "model/geometry.h"
#include "model/main_doc.h"
#include "model/polygon.h"
#include "render/picture_placement.h"

namespace tracemont {

// v mapped linearly from [a, b] to [c, d]; v itself when a equals b.
double MapLinear(double v, double a, double b, double c, double d);

// The values of the limits dialog (`CDlgDigit`) and its rules.
struct DigitLimits {
  std::string xHead;  // axis captions ("name, unit")
  std::string yHead;
  double xMax = 1.0, yMax = 1.0, xMin = 0.0, yMin = 0.0;
  bool recalcX = false;
  bool recalcY = false;
  int step = 0;  // digitization step, 0.1 mm
  double oldXMax = 1.0, oldYMax = 1.0, oldXMin = 0.0, oldYMin = 0.0;
  bool changed = false;  // a limit was edited since Open()
  PixelRect screen;      // the screen rectangle the limits describe

  // Typed steps are accepted from 0 to 100 (the spin box offers 0..50).
  static constexpr int kMaxStep = 100;
  static bool IsValidStep(int step) { return step >= 0 && step <= kMaxStep; }

  // The dialog opens: the old limits become the shown ones, nothing edited.
  void Open();
  // A limit box was edited: 0 X max, 1 Y max, 2 X min, 3 Y min.
  void EditLimit(int which, double value);
  // Picture values remapped from the old limits to the edited ones; values
  // pass unchanged when nothing was edited.
  double MapX(double x) const { return changed ? MapLinear(x, oldXMin, oldXMax, xMin, xMax) : x; }
  double MapY(double y) const { return changed ? MapLinear(y, oldYMin, oldYMax, yMin, yMax) : y; }
  // A screen point mapped to values: left edge X min, right edge X max, top
  // edge Y max, bottom edge Y min. Nothing when the rectangle is empty (no
  // width or height, or right of left / bottom above top).
  std::optional<DotValue> MapScreen(Point screenPoint) const;
};

// The union of the polygons of the visible selected areas, each by the
// even-odd rule, in plot units.
class SelectedRegion {
 public:
  explicit SelectedRegion(const CMainDoc& doc);
  explicit SelectedRegion(std::vector<std::vector<Point>> polygons);
  bool IsEmpty() const { return bounds_.IsEmpty(); }
  // Normalised bounding box of the polygons (plot units).
  const Rect& Bounds() const { return bounds_; }
  bool Contains(Point p) const;

 private:
  std::vector<PolygonTester> testers_;
  Rect bounds_;
};

// The limits for digitizing the picture: axis captions as heads, the range
// of the vertex values of the visible selected areas (0, 1, 0, 1 when there
// are none), the step.
DigitLimits PictureLimits(const CMainDoc& doc, int step);
// The limits for digitizing the screen: the axes' values at their start and
// far end, the rectangle, the step.
DigitLimits ScreenLimits(const CMainDoc& doc, const PixelRect& screen, int step);

// Page pixels at a resolution: plot (0, 0) is pixel (0, 0), y down.
struct PageRaster {
  int dpiX = 96;
  int dpiY = 96;
  int PixelX(int plotX) const;
  int PixelY(int plotY) const;
  Point ToPlot(Point pixel) const;
};

// The page as the off-screen bitmap of digitizing: white, with only the
// background picture placed as on screen (nearest pixel). Empty when the
// resolution is not positive or the page has no size.
PixelBuffer RenderPictureLayer(const PixelBuffer& picture, const PicturePlacement& placement,
                               const Rect& page, const PageRaster& raster);

// What a digitizing run makes the series look like.
struct DigitizeStyle {
  int colourCommand = 32853;
  int shapeCommand = 32843;
  int size = 10;  // marker size, 0.1 mm
};

// Traces the picture layer (from RenderPictureLayer) inside the selected
// areas with the class of the drawing colour and the limits' step, and adds
// the result as one undoable step: a series of source 3 titled `title`, its
// values through the axes and then the limits mapping; the axes take the
// limits when Recalc is set. Returns the series, or null (document
// untouched) when no area is selected or no point lies inside the areas.
CPlotDot* DigitizeFromPicture(CMainDoc& doc, const PixelBuffer& layer, const PageRaster& raster,
                              const DigitizeStyle& style, const DigitLimits& limits,
                              const std::string& title);

// Traces a grabbed screen rectangle (every pixel, white too) for exactly the
// picked colour and adds the series "Screen" mapped by the limits' screen
// rectangle. `screenDpi` sizes the cells. Null when nothing was found.
CPlotDot* DigitizeFromScreen(CMainDoc& doc, const PixelBuffer& grab, Colour picked, int screenDpiX,
                             int screenDpiY, const DigitizeStyle& style, const DigitLimits& limits);

// Batch digitizing of a picture in its own pixels: the polygons (image
// pixels) mark where to look, their bounding box carries the limits as on
// the screen (left X min, right X max, top Y max, bottom Y min) and only
// points inside a polygon are kept. Cells from the step at `dpi`.
std::vector<DotValue> DigitizeImage(const PixelBuffer& image, int colourCommand,
                                    const std::vector<std::vector<Point>>& polygons,
                                    double xMin, double xMax, double yMin, double yMax, int step,
                                    int dpi);

// The file name without its folder (either separator).
std::string FileNameOf(const std::string& path);

}  // namespace tracemont
