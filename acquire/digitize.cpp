#include "acquire/digitize.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/colours.h"


namespace tracemont {

double MapLinear(double v, double a, double b, double c, double d) {
  if (b == a) return v;
  return ((b - v) * c + (v - a) * d) / (b - a);
}

// --- DigitLimits -----------------------------------------------------------

void DigitLimits::Open() {
  oldXMax = xMax;
  oldYMax = yMax;
  oldXMin = xMin;
  oldYMin = yMin;
  changed = false;
}

void DigitLimits::EditLimit(int which, double value) {
  switch (which) {
    case 0: xMax = value; break;
    case 1: yMax = value; break;
    case 2: xMin = value; break;
    case 3: yMin = value; break;
    default: return;
  }
  changed = true;
}

std::optional<DotValue> DigitLimits::MapScreen(Point p) const {
  // Empty as the screen sees it: no width or no height, or turned inside out.
  if (screen.right <= screen.left || screen.bottom <= screen.top) return std::nullopt;
  return DotValue(MapLinear(p.x, screen.left, screen.right, xMin, xMax),
                  MapLinear(p.y, screen.top, screen.bottom, yMax, yMin), 0.0);
}

// --- SelectedRegion --------------------------------------------------------

SelectedRegion::SelectedRegion(const CMainDoc& doc) {
  std::vector<std::vector<Point>> polygons;
  for (const auto& area : doc.Areas())
    if (area->visible && area->selected && area->PointCount() >= 3) polygons.push_back(area->Outline());
  *this = SelectedRegion(std::move(polygons));
}

SelectedRegion::SelectedRegion(std::vector<std::vector<Point>> polygons) {
  bool first = true;
  for (auto& polygon : polygons) {
    if (polygon.size() < 3) continue;
    for (const Point p : polygon) {
      bounds_ = first ? Rect::At(p) : bounds_.Including(p);
      first = false;
    }
    testers_.emplace_back(polygon);
  }
}

bool SelectedRegion::Contains(Point p) const {
  if (!bounds_.Contains(p)) return false;
  return std::any_of(testers_.begin(), testers_.end(),
                     [p](const PolygonTester& tester) { return tester.Contains(p); });
}

// --- limits ------------------------------------------------------------------

DigitLimits PictureLimits(const CMainDoc& doc, int step) {
  DigitLimits limits;
  limits.xHead = doc.Data().axisX.GetCaption();
  limits.yHead = doc.Data().axisY.GetCaption();
  limits.step = step;
  bool any = false;
  for (const auto& area : doc.Areas()) {
    if (!area->visible || !area->selected) continue;
    for (const DotValue& v : area->Values()) {
      if (!any) {
        limits.xMin = limits.xMax = v.x;
        limits.yMin = limits.yMax = v.y;
        any = true;
        continue;
      }
      limits.xMin = std::min(limits.xMin, v.x);
      limits.xMax = std::max(limits.xMax, v.x);
      limits.yMin = std::min(limits.yMin, v.y);
      limits.yMax = std::max(limits.yMax, v.y);
    }
  }
  limits.Open();
  return limits;
}

DigitLimits ScreenLimits(const CMainDoc& doc, const PixelRect& screen, int step) {
  DigitLimits limits;
  const CPlaneAxe& x = doc.Data().axisX;
  const CPlaneAxe& y = doc.Data().axisY;
  limits.xHead = x.GetCaption();
  limits.yHead = y.GetCaption();
  limits.xMin = x.scale.ToValue(0.0);
  limits.xMax = x.scale.ToValue(x.Length());
  limits.yMin = y.scale.ToValue(0.0);
  limits.yMax = y.scale.ToValue(y.Length());
  limits.screen = screen;
  limits.step = step;
  limits.Open();
  return limits;
}

// --- page raster -------------------------------------------------------------

namespace {

int Scaled(std::int64_t value, int numerator, int denominator) {
  const std::int64_t product = value * numerator;
  return static_cast<int>(RoundedMean(product, denominator));
}

}  // namespace

int PageRaster::PixelX(int plotX) const { return Scaled(plotX, dpiX, 100); }
int PageRaster::PixelY(int plotY) const { return Scaled(-static_cast<std::int64_t>(plotY), dpiY, 100); }
Point PageRaster::ToPlot(Point pixel) const {
  return {Scaled(pixel.x, 100, dpiX), -Scaled(pixel.y, 100, dpiY)};
}

PixelBuffer RenderPictureLayer(const PixelBuffer& picture, const PicturePlacement& placement,
                               const Rect& pageRect, const PageRaster& raster) {
  if (raster.dpiX <= 0 || raster.dpiY <= 0) return {};
  const Rect page = pageRect.Normalized();
  PixelBuffer layer = PixelBuffer::Filled(raster.PixelX(page.right), raster.PixelY(page.bottom));
  if (layer.IsEmpty() || picture.IsEmpty() || placement.IsEmpty()) return layer;
  const int left = raster.PixelX(placement.dest.left);
  const int top = raster.PixelY(placement.dest.top);
  const int width = raster.PixelX(placement.dest.right) - left;
  const int height = raster.PixelY(placement.dest.bottom) - top;
  if (width <= 0 || height <= 0) return layer;
  const int x0 = std::max(0, left), x1 = std::min(layer.width, left + width);
  const int y0 = std::max(0, top), y1 = std::min(layer.height, top + height);
  std::vector<int> sourceX(static_cast<std::size_t>(std::max(0, x1 - x0)));
  for (int x = x0; x < x1; ++x) {
    const std::int64_t sx = placement.sourceLeft +
                            static_cast<std::int64_t>(x - left) * placement.sourceWidth / width;
    sourceX[x - x0] = static_cast<int>(std::clamp<std::int64_t>(sx, 0, picture.width - 1));
  }
  for (int y = y0; y < y1; ++y) {
    const std::int64_t sy = placement.sourceTop +
                            static_cast<std::int64_t>(y - top) * placement.sourceHeight / height;
    const int row = static_cast<int>(std::clamp<std::int64_t>(sy, 0, picture.height - 1));
    for (int x = x0; x < x1; ++x) layer.Set(x, y, picture.At(sourceX[x - x0], row));
  }
  return layer;
}

// --- digitizing runs ------------------------------------------------------------

namespace {

SeriesStyle SeriesStyleOf(const DigitizeStyle& style) {
  SeriesStyle s;
  s.colourCommand = style.colourCommand;
  s.shapeCommand = style.shapeCommand;
  s.size = std::clamp(style.size, 0, 100);
  s.aspect = 1.0;
  return s;
}

// The axes take the limits when asked; then the document is told what
// changed. The caller has created the series, so this belongs to its undo step.
void FinishRun(CMainDoc& doc, CPlotDot& series, const DigitLimits& limits) {
  DocumentData& data = doc.Data();
  bool axesChanged = false;
  if (limits.recalcX) axesChanged = data.axisX.FitToValues(limits.xMin, limits.xMax) || axesChanged;
  if (limits.recalcY) axesChanged = data.axisY.FitToValues(limits.yMin, limits.yMax) || axesChanged;
  if (axesChanged)
    doc.ChangedWithOutlines();
  else
    doc.ObjectChanged(series);
}

}  // namespace

CPlotDot* DigitizeFromPicture(CMainDoc& doc, const PixelBuffer& layer, const PageRaster& raster,
                              const DigitizeStyle& style, const DigitLimits& limits,
                              const std::string& title) {
  const SelectedRegion region(doc);
  if (region.IsEmpty() || layer.IsEmpty() || raster.dpiX <= 0 || raster.dpiY <= 0) return nullptr;
  const Rect box = region.Bounds();
  const PixelRect search{raster.PixelX(box.left), raster.PixelY(box.top), raster.PixelX(box.right),
                         raster.PixelY(box.bottom)};
  DigitTracer tracer(ColourClassOf(style.colourCommand),
                     StepToCells(limits.step, raster.dpiX, raster.dpiY));
  const CAxeScale& xs = doc.Data().axisX.scale;
  const CAxeScale& ys = doc.Data().axisY.scale;
  std::vector<DotValue> records;
  for (const Point pixel : tracer.Trace(layer, search, true)) {
    const Point plot = raster.ToPlot(pixel);
    if (!region.Contains(plot)) continue;
    records.emplace_back(limits.MapX(xs.FromPlot(plot.x)), limits.MapY(ys.FromPlot(plot.y)), 0.0);
  }
  if (records.empty()) return nullptr;
  CPlotDot* series = doc.NewSeriesFromValues(records, SeriesStyleOf(style), source::kDigitized, title);
  if (series) FinishRun(doc, *series, limits);
  return series;
}

CPlotDot* DigitizeFromScreen(CMainDoc& doc, const PixelBuffer& grab, Colour picked, int screenDpiX,
                             int screenDpiY, const DigitizeStyle& style, const DigitLimits& limits) {
  if (grab.IsEmpty()) return nullptr;
  DigitTracer tracer(ExactColourClass(picked), StepToCells(limits.step, screenDpiX, screenDpiY));
  std::vector<DotValue> records;
  for (const Point p : tracer.Trace(grab, {0, 0, grab.width, grab.height}, false)) {
    if (const auto value = limits.MapScreen({p.x + limits.screen.left, p.y + limits.screen.top}))
      records.push_back(*value);
  }
  if (records.empty()) return nullptr;
  CPlotDot* series = doc.NewSeriesFromValues(records, SeriesStyleOf(style), source::kDigitized,
                                             std::string("Screen"));
  if (series) FinishRun(doc, *series, limits);
  return series;
}

std::vector<DotValue> DigitizeImage(const PixelBuffer& image, int colourCommand,
                                    const std::vector<std::vector<Point>>& polygons,
                                    double xMin, double xMax, double yMin, double yMax, int step,
                                    int dpi) {
  const SelectedRegion region(polygons);
  if (region.IsEmpty() || image.IsEmpty() || dpi <= 0) return {};
  // Pixel space has y down; the region's "top" is its smaller y here.
  const Rect box = region.Bounds();
  const PixelRect search{box.left, box.bottom, box.right, box.top};
  DigitLimits limits;
  limits.xMin = xMin;
  limits.xMax = xMax;
  limits.yMin = yMin;
  limits.yMax = yMax;
  limits.screen = search;
  DigitTracer tracer(ColourClassOf(colourCommand), StepToCells(step, dpi, dpi));
  std::vector<DotValue> records;
  for (const Point p : tracer.Trace(image, search, true)) {
    if (!region.Contains(p)) continue;
    if (const auto value = limits.MapScreen(p)) records.push_back(*value);
  }
  return records;
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tracemont
