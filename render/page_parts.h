// The parts of a page picture that belong to the page rather than to a plot
// object: axes with ticks, labels, grid lines and titles; the legend; the
// title and comment blocks; the page grid. All drawing is in plot units.
#pragma once

#include <span>
#include <string>

#include "model/axes.h"
#include "model/geometry.h"
#include "render/surface.h"

namespace tracemont {

class CPlot;

// Tick marks and grid lines of an axis, computed before they are painted so
// that tests and other painters can see them.
struct AxisTick {
  int position = 0;   // plot units along the axis (x for X, y for Y)
  double value = 0.0;
  std::string label;  // formatted, leading blanks trimmed, one space after
  bool labelShown = false;  // false when it would overlap the previous label
};

// Labelled ticks from the axis start, one tick step apart, at most 100, kept
// only where they lie inside the axis rectangle (margins 9 low, 11 high).
// `surface` measures the labels in the tick-label font for overlap skipping.
std::vector<AxisTick> AxisTicks(const CPlaneAxe& axis, Surface& surface);

// Paints one axis: subdivision marks, labelled ticks, grid lines across
// `plot` (the plot rectangle) when `withLines`, the title and the axis line
// with its arrow. Nothing when the axis has no position or no visual
// parameters.
void PaintAxis(const CPlaneAxe& axis, Surface& surface, bool withLines, const Rect& plot);

// The dotted page grid, every 0.2 inch (inches) or 5 mm, over the page of
// width w and height h (plot units; the page is (0, 0) to (w, -h)).
void PaintPageGrid(Surface& surface, int w, int h, bool inches);

// The document title (kind 1) or comment (kind 3) in its margin block.
void PaintIndentText(const CIndent& indent, Surface& surface, const std::string& text);

// The legend box with a row for every series and then every function; rows
// that do not fit are left out. The rectangle is normalised and stored back.
// Nothing when the legend is not visible.
void PaintLegend(CLegend& legend, const CVisuPara& visu, Surface& surface,
                 std::span<CPlot* const> series, std::span<CPlot* const> functions);

}  // namespace tracemont
