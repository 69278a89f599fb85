// Axes and scales: how values become positions on the page, and the small
// records that describe axes, margins, fonts, line styles and the legend.
//
// Units: a plot distance u along an axis is in centimetres from the axis
// origin; page positions are plot units (0.01 inch, y up); page sizes, text
// sizes and line widths are stored in 0.1 mm.
#pragma once

#include <array>
#include <span>
#include <cstdint>
#include <string>
#include <vector>

#include "model/font.h"
#include "model/geometry.h"

namespace tracemont {

// 0.1 mm to plot units, rounded to the nearest unit (n x 10 x 100 / 2540).
int TenthMmToPlot(double tenthMm);
// Centimetres to plot units, truncated toward zero and kept inside the int
// range (NaN gives 0) so that absurd values cannot overflow the outline.
// A result within 1e-6 of a whole unit is that unit, so that plot units
// taken to values and back land where they started.
int CmToPlot(double cm);
// Plot units to centimetres.
constexpr double PlotToCm(int plot) { return plot * 0.001 * 25.4; }

// One axis mapping from values to distances along the page.
// The fields are public because documents store and edit them as a record;
// call Normalise() after changing them directly.
class CAxeScale {
 public:
  static constexpr int kLinear = 0;
  static constexpr int kLogarithmic = 1;

  int direction = 1;  // not negative: positions grow with u; negative: reversed
  int type = kLinear;
  double k = 1.0;     // linear: value units per centimetre
  double b = 0.0;     // value at u = 0 (log: value at the origin)
  double base = 2.0;  // log: factor per centimetre
  double lo = 0.0;    // plot range along the page, centimetres
  double hi = 1.0;

  CAxeScale() = default;
  CAxeScale(double k, double b, double lo, double hi, int direction, int type, double base = 2.0);

  // Copies direction, type, base, k, b, lo, hi and normalises.
  void Assign(const CAxeScale& other);
  // Restores the invariants: linear k >= 1e-8; log base >= 1.01, b = 0
  // replaced by k, b >= 1e-8; lo <= hi.
  void Normalise();
  // Stores the plot range in increasing order.
  void SetPlotRange(double lo, double hi);

  bool IsLogarithmic() const { return type == kLogarithmic; }
  // Value to distance in centimetres (linear (v - b) / k, log ln(v / b) / ln base).
  double ToDistance(double v) const;
  // Distance in centimetres to value.
  double ToValue(double u) const;
  // Value to page coordinate in plot units (direction and plot range applied,
  // truncated toward zero).
  int ToPlot(double v) const;
  // Page coordinate in plot units back to the value.
  double FromPlot(int p) const;

  friend bool operator==(const CAxeScale&, const CAxeScale&) = default;
};

// Line style: colour, width in 0.1 mm, platform pen style number (0 solid).
struct CLinePara {
  Colour colour = 0;
  std::int32_t width = 0;
  std::int32_t style = 0;
  friend bool operator==(const CLinePara&, const CLinePara&) = default;
};

// Visual parameters of the plot: base font, five text styles, four line styles.
struct CVisuPara {
  static constexpr int kTextStyles = 5;  // Text, Header, Notes, Tick labels, Footer
  static constexpr int kLineStyles = 4;  // Main, Axis, Border, Tick

  FontDescription font;
  std::array<Colour, kTextStyles> textColours{0, 0, 0, 0, 0};
  std::array<std::int32_t, kTextStyles> textSizes{30, 60, 25, 30, 25};  // 0.1 mm
  std::array<CLinePara, kLineStyles> lines{
      CLinePara{0, 8, 0}, CLinePara{Rgb(128, 128, 128), 5, 0}, CLinePara{0, 5, 0},
      CLinePara{Rgb(128, 128, 128), 0, 0}};

  // The base font with the height of text style `style` in plot units;
  // styles outside 0..4 use style 0.
  FontDescription FontFor(int style) const;
  Colour TextColourFor(int style) const;

  friend bool operator==(const CVisuPara&, const CVisuPara&) = default;
};

// One plot axis: caption texts, placement on the page, ticks and its scale.
class CPlaneAxe {
 public:
  std::string name;
  std::string unit = "cm";
  std::string note;
  std::int32_t arrow = 0;
  std::int32_t axisIndex = 0;  // 0 X, 1 Y
  std::int32_t position = 0;   // 0 none; X: 1 top, 2 bottom; Y: 1 left, 2 right
  std::int32_t titleMode = 1;  // 0, 1 or 2
  std::int32_t tickLines = 1;  // subdivision lines, 0..20
  double band = 1.0;           // cm, 0.2..10
  double tickStep = 1.0;       // cm between labelled ticks
  Rect axisRect;               // plot units, set by the page layout
  const CVisuPara* visu = nullptr;  // the document's; not owned, may be null
  CAxeScale scale;

  // An axis with the defaults of its index: X ("Param X", bottom) or Y
  // ("Param Y", left).
  explicit CPlaneAxe(int axisIndex = 0);
  CPlaneAxe(int axisIndex, std::string name, std::string unit, std::string note, double k,
            double b, double base, int type);

  // name + ", " + unit.
  std::string GetCaption() const;
  // Position and title mode outside 1..2 become 0, band clamped to 0.2..10,
  // tick lines to 0..20, scale normalised.
  void NormaliseFields();
  // Axis length in centimetres (hi - lo of the scale).
  double Length() const { return scale.hi - scale.lo; }

  // Chooses a rounded start and scale factor so that [vmin, vmax] fills the
  // axis. Returns false when nothing changed (empty axis, empty range, or the
  // axis already shows the range within 1% at both ends).
  bool FitToValues(double vmin, double vmax);
  // Moves the axis start by `steps` tick steps (normally +1 or -1).
  void Shift(int steps);
  // Zooms relative to `captured` (the scale when the "Scales" window opened)
  // with slider position 1..20, 10 meaning unchanged. Linear zoom keeps the
  // value at the middle of the axis in place.
  void Zoom(int sliderPosition, const CAxeScale& captured);
};

// A page margin block (kinds 0..3; 1 holds the title, 3 the comment).
struct CIndent {
  std::int32_t flag = 0;
  std::int32_t kind = 0;
  double factor = 1.0;
  Rect rect;
  const CVisuPara* visu = nullptr;  // the document's; not owned

  static CIndent OfKind(int kind) {
    CIndent i;
    i.kind = kind;
    i.flag = kind == 1 ? 1 : 0;
    return i;
  }
};

// The legend box; its painting and binding to a document belong to rendering.
struct CLegend {
  std::int32_t visible = 0;
  Rect rect{100, -100, 200, -150};
};

// A scale record owned by the distribution computations.
struct CMathScale {
  std::vector<std::int32_t> values{0};
  double first = 100.0;
  double second = 0.0;
  std::int32_t flag = 0;
};

// clamp(v, lo, hi) = max(lo, min(hi, v)).
double ClampToRange(double v, double lo, double hi);
// Fraction of v within [lo, hi], linear or logarithmic (lo below 1 taken as
// 1 in the log form); 0 when lo >= hi or v < lo, 1 when v > hi.
double FractionInRange(double v, double lo, double hi, bool logarithmic);
// Value at fraction t (clamped to [0, 1]) of [lo, hi]; log form: lo x (hi /
// lo)^t with lo below 1 taken as 1 and hi / lo below 1.1 taken as 1.1.
double ValueAtFraction(double t, double lo, double hi, bool logarithmic);

// Rounds v to a "nice" number with 1-3 significant digits; mode -1 rounds the
// magnitude down, 0 to nearest, 1 up; the sign is kept.
double Nice(double v, int mode);
// printf format for tick labels of the given step in value units.
const char* LabelFormat(double step);

// The page layout: page rectangle (0, 0, W, -H) from the page size in 0.1 mm,
// axis bands taken off its edges by the axes' positions. Sets each axis'
// rectangle and plot range; returns the plot rectangle (the document's page
// rectangle).
Rect LayoutPage(double widthTenthMm, double heightTenthMm, CPlaneAxe& x, CPlaneAxe& y);
// The same, with the page's margin blocks: every block whose flag is set
// takes `factor` centimetres off its edge of the page (kind 1 the top, where
// the title stands; kind 3 the bottom, for the comment; kind 0 the left;
// kind 2 the right) before the axis bands are laid out, and gets that strip
// as its rectangle; the others get an empty one. `indents` holds the blocks
// indexed by kind (at most four are used).
Rect LayoutPage(double widthTenthMm, double heightTenthMm, CPlaneAxe& x, CPlaneAxe& y,
                std::span<CIndent> indents);

}  // namespace tracemont
