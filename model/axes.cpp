#include "model/axes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tracemont {
namespace {

constexpr double kMinK = 1e-8;
constexpr double kMinBase = 1.01;
// Outline coordinates must stay well inside 32 bits: later arithmetic adds
// marker sizes and margins to them.
constexpr double kPlotLimit = 1.0e9;

int ClampedTrunc(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -kPlotLimit, kPlotLimit));
}

int PlotOfBand(double cm) { return CmToPlot(cm); }

}  // namespace

int TenthMmToPlot(double tenthMm) {
  const double plot = tenthMm * 10.0 * 100.0 / 2540.0;
  if (std::isnan(plot)) return 0;
  return static_cast<int>(std::lround(std::clamp(plot, -kPlotLimit, kPlotLimit)));
}

int CmToPlot(double cm) {
  // A position computed from a whole plot unit (a value read back from the
  // outline) comes out a rounding error off that unit; truncating it then
  // would move the point by one unit each time values and outline are
  // recomputed from each other.
  const double units = cm * 1000.0 / 25.4;
  const double nearest = std::round(units);
  return ClampedTrunc(std::fabs(units - nearest) < 1e-6 ? nearest : units);
}

// --- CAxeScale ---------------------------------------------------------------

CAxeScale::CAxeScale(double k_, double b_, double lo_, double hi_, int direction_, int type_,
                     double base_)
    : direction(direction_), type(type_), k(k_), b(b_), base(base_), lo(lo_), hi(hi_) {
  Normalise();
}

void CAxeScale::Assign(const CAxeScale& other) {
  direction = other.direction;
  type = other.type;
  base = other.base;
  k = other.k;
  b = other.b;
  lo = other.lo;
  hi = other.hi;
  Normalise();
}

void CAxeScale::Normalise() {
  if (IsLogarithmic()) {
    if (!(base >= kMinBase)) base = kMinBase;
    if (b == 0.0) b = k;
    if (!(b >= kMinK)) b = kMinK;
  } else {
    if (!(k >= kMinK)) k = kMinK;
  }
  if (lo > hi) std::swap(lo, hi);
}

void CAxeScale::SetPlotRange(double lo_, double hi_) {
  lo = std::min(lo_, hi_);
  hi = std::max(lo_, hi_);
}

double CAxeScale::ToDistance(double v) const {
  if (IsLogarithmic()) return std::log(v / b) / std::log(base);
  return (v - b) / k;
}

double CAxeScale::ToValue(double u) const {
  if (IsLogarithmic()) return b * std::pow(base, u);
  return k * u + b;
}

int CAxeScale::ToPlot(double v) const {
  const double u = ToDistance(v);
  const double page = direction >= 0 ? u + lo : hi - u;
  return CmToPlot(page);
}

double CAxeScale::FromPlot(int p) const {
  const double page = PlotToCm(p);
  const double u = direction >= 0 ? page - lo : hi - page;
  return ToValue(u);
}

// --- CVisuPara ---------------------------------------------------------------

FontDescription CVisuPara::FontFor(int style) const {
  if (style < 0 || style >= kTextStyles) style = 0;
  FontDescription f = font;
  f.height = TenthMmToPlot(textSizes[static_cast<std::size_t>(style)]);
  return f;
}

Colour CVisuPara::TextColourFor(int style) const {
  if (style < 0 || style >= kTextStyles) style = 0;
  return textColours[static_cast<std::size_t>(style)];
}

// --- CPlaneAxe -----------------------------------------------------------------

CPlaneAxe::CPlaneAxe(int index)
    : name(index == 0 ? "Param X" : "Param Y"),
      note(index == 0 ? "test Comments X" : "test Comments Y"),
      axisIndex(index),
      position(index == 0 ? 2 : 1) {}

CPlaneAxe::CPlaneAxe(int index, std::string name_, std::string unit_, std::string note_, double k,
                     double b, double base, int type)
    : CPlaneAxe(index) {
  name = std::move(name_);
  unit = std::move(unit_);
  note = std::move(note_);
  scale.k = k;
  scale.b = b;
  scale.base = base;
  scale.type = type;
  scale.Normalise();
}

std::string CPlaneAxe::GetCaption() const { return name + ", " + unit; }

void CPlaneAxe::NormaliseFields() {
  if (position != 1 && position != 2) position = 0;
  if (titleMode != 1 && titleMode != 2) titleMode = 0;
  band = std::isnan(band) ? 1.0 : std::clamp(band, 0.2, 10.0);
  tickLines = std::clamp(tickLines, 0, 20);
  scale.Normalise();
}

bool CPlaneAxe::FitToValues(double vmin, double vmax) {
  if (vmin > vmax) std::swap(vmin, vmax);
  const double length = Length();
  if (length == 0.0 || vmin == vmax) return false;

  const double start = scale.b;
  const double end = scale.ToValue(length);
  const auto within1Percent = [](double a, double c) {
    return (a - c) * (a - c) <= 0.0001 * (a + c) * (a + c);
  };
  if (within1Percent(start, vmin) && within1Percent(end, vmax)) return false;

  const double niceStart = Nice(vmin, -1);
  const double niceEnd = Nice(vmax, 1);
  scale.k = Nice((niceEnd - niceStart) / length, 0);
  scale.b = niceStart;
  scale.Normalise();
  if (position != 1 && position != 2) position = 0;
  return true;
}

void CPlaneAxe::Shift(int steps) {
  if (scale.IsLogarithmic())
    scale.b *= std::pow(scale.base, steps * tickStep);
  else
    scale.b += steps * scale.k * tickStep;
  scale.Normalise();
}

void CPlaneAxe::Zoom(int p, const CAxeScale& captured) {
  if (scale.IsLogarithmic()) {
    if (p >= 11)
      scale.base = captured.base * p * 0.1;
    else if (p < 10)
      scale.base = (captured.base - 1.0) * p * 0.1 + 1.0;
    else
      scale.base = captured.base;
    scale.Normalise();
    return;
  }
  double factor = 1.0;
  if (p >= 11)
    factor = p - 10;
  else if (p < 10)
    factor = p * 0.1;
  const double middle = (scale.hi - scale.lo) / 2.0;
  const double valueAtMiddle = scale.ToValue(middle);
  scale.k = captured.k * factor;
  scale.Normalise();
  scale.b = valueAtMiddle - scale.k * middle;
  scale.Normalise();
}

// --- range operations of the distribution scales --------------------------------

double ClampToRange(double v, double lo, double hi) { return std::max(lo, std::min(hi, v)); }

double FractionInRange(double v, double lo, double hi, bool logarithmic) {
  if (logarithmic && lo < 1.0) lo = 1.0;
  if (!(lo < hi) || v < lo) return 0.0;
  if (v > hi) return 1.0;
  if (logarithmic) return (std::log(v) - std::log(lo)) / (std::log(hi) - std::log(lo));
  return (v - lo) / (hi - lo);
}

double ValueAtFraction(double t, double lo, double hi, bool logarithmic) {
  t = std::clamp(t, 0.0, 1.0);
  if (!logarithmic) return lo + (hi - lo) * t;
  if (lo < 1.0) lo = 1.0;
  double ratio = hi / lo;
  if (ratio < 1.1) ratio = 1.1;
  return lo * std::pow(ratio, t);
}

// --- Nice and label formats ----------------------------------------------------

double Nice(double v, int mode) {
  if (v == 0.0) return 0.0;
  const double m = std::fabs(v);
  int decimals = -2;
  if (m < 0.01)
    decimals = 4;
  else if (m < 0.1)
    decimals = 3;
  else if (m < 1)
    decimals = 2;
  else if (m < 10)
    decimals = 1;
  else if (m < 100)
    decimals = 0;
  else if (m < 10000)
    decimals = -1;
  const double add = mode < 0 ? 0.0 : (mode == 0 ? 0.5 : 1.0);
  const double scaleBy = std::pow(10.0, decimals);
  const double r = std::floor(m * scaleBy + add) / scaleBy;
  return v < 0 ? -r : r;
}

const char* LabelFormat(double step) {
  if (step < 0.0003) return "%7.5f";
  if (step < 0.003) return "%6.4f";
  if (step < 0.03) return "%6.3f";
  if (step < 0.3) return "%6.2f";
  if (step < 3) return "%6.1f";
  return "%6.0f";
}

// --- page layout -----------------------------------------------------------------

Rect LayoutPage(double widthTenthMm, double heightTenthMm, CPlaneAxe& x, CPlaneAxe& y) {
  return LayoutPage(widthTenthMm, heightTenthMm, x, y, {});
}

Rect LayoutPage(double widthTenthMm, double heightTenthMm, CPlaneAxe& x, CPlaneAxe& y,
                std::span<CIndent> indents) {
  const int w = TenthMmToPlot(widthTenthMm);
  const int h = TenthMmToPlot(heightTenthMm);
  Rect plot{0, 0, w, -h};

  // Margin blocks first, each a strip of its edge of what is left. A block
  // never takes more than a third of the page either way.
  for (std::size_t kind = 0; kind < indents.size() && kind < 4; ++kind) {
    CIndent& block = indents[kind];
    block.rect = {};
    if (!block.flag) continue;
    const double factor = std::isnan(block.factor) ? 1.0 : std::clamp(block.factor, 0.0, 10.0);
    const int size = std::min(CmToPlot(factor), kind % 2 == 1 ? h / 3 : w / 3);
    switch (kind) {
      case 0: block.rect = {plot.left, plot.top, plot.left + size, plot.bottom}; plot.left += size; break;
      case 1: block.rect = {plot.left, plot.top, plot.right, plot.top - size}; plot.top -= size; break;
      case 2: block.rect = {plot.right - size, plot.top, plot.right, plot.bottom}; plot.right -= size; break;
      case 3: block.rect = {plot.left, plot.bottom + size, plot.right, plot.bottom}; plot.bottom += size; break;
    }
  }

  const int xBand = x.position == 1 || x.position == 2 ? PlotOfBand(x.band) : 0;
  const int yBand = y.position == 1 || y.position == 2 ? PlotOfBand(y.band) : 0;
  if (x.position == 1) plot.top -= xBand;
  if (x.position == 2) plot.bottom += xBand;
  if (y.position == 1) plot.left += yBand;
  if (y.position == 2) plot.right -= yBand;

  // The bands run along the plot rectangle; the corners belong to neither.
  x.axisRect = {};
  if (x.position == 1) x.axisRect = {plot.left, plot.top + xBand, plot.right, plot.top};
  if (x.position == 2) x.axisRect = {plot.left, plot.bottom, plot.right, plot.bottom - xBand};
  y.axisRect = {};
  if (y.position == 1) y.axisRect = {plot.left - yBand, plot.top, plot.left, plot.bottom};
  if (y.position == 2) y.axisRect = {plot.right, plot.top, plot.right + yBand, plot.bottom};

  x.scale.SetPlotRange(PlotToCm(plot.left), PlotToCm(plot.right));
  y.scale.SetPlotRange(PlotToCm(plot.bottom), PlotToCm(plot.top));
  return plot;
}

}  // namespace tracemont
