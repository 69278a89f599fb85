#include "render/page_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/plot_objects.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kMaxTicks = 100;
constexpr int kLowMargin = 9;
constexpr int kHighMargin = 11;
constexpr int kSubdivisionMargin = 10;
constexpr int kMajorTick = 8;   // plot units
constexpr int kMinorTick = 4;
constexpr int kLabelGap = 3;

// Text styles and line styles of the visual parameters.
constexpr int kTitleStyle = 1;
constexpr int kNotesStyle = 2;
constexpr int kTickLabelStyle = 3;
constexpr int kFooterStyle = 4;
constexpr int kAxisLine = 1;
constexpr int kBorderLine = 2;
constexpr int kGridLine = 3;

std::string TickLabel(const char* format, double value) {
  char buffer[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buffer, sizeof buffer, format, value);
#pragma GCC diagnostic pop
  std::string label(buffer);
  label.erase(0, label.find_first_not_of(' '));
  return label + " ";
}

Pen LinePen(const CLinePara& line, bool dottedWhenThin) {
  const int width = TenthMmToPlot(line.width);
  const PenStyle style = dottedWhenThin && line.width == 0 ? PenStyle::Dot : PenStyle::Solid;
  return {style, width, line.colour};
}

bool IsHorizontal(const CPlaneAxe& axis) { return axis.axisIndex == 0; }

}  // namespace

std::vector<AxisTick> AxisTicks(const CPlaneAxe& axis, Surface& surface) {
  std::vector<AxisTick> ticks;
  if (axis.position != 1 && axis.position != 2) return ticks;
  const Rect band = axis.axisRect.Normalized();
  const bool horizontal = IsHorizontal(axis);
  const int low = horizontal ? band.left : band.bottom;
  const int high = horizontal ? band.right : band.top;
  const CAxeScale& scale = axis.scale;
  const char* format = LabelFormat(axis.tickStep * scale.k);

  SurfaceStateGuard guard(surface);
  if (axis.visu) surface.SetFont(axis.visu->FontFor(kTickLabelStyle));

  int previousLow = 0;
  int previousHigh = 0;
  bool anyShown = false;
  double value = scale.b;
  const double factor = std::pow(scale.base, axis.tickStep);
  for (int i = 0; i < kMaxTicks; ++i) {
    if (!std::isfinite(value)) break;
    const int position = scale.ToPlot(value);
    if (position >= low + kLowMargin && position <= high - kHighMargin) {
      AxisTick tick{position, value, TickLabel(format, value), false};
      const Size extent = surface.TextExtent(tick.label);
      const int length = horizontal ? extent.cx : extent.cy;
      const int from = position - length / 2;
      const int to = from + length;
      // Two intervals overlap when an end of one lies within the other.
      const bool overlaps = anyShown && ((from >= previousLow && from <= previousHigh) ||
                                         (to >= previousLow && to <= previousHigh) ||
                                         (previousLow >= from && previousLow <= to));
      if (!overlaps) {
        tick.labelShown = true;
        previousLow = from;
        previousHigh = to;
        anyShown = true;
      }
      ticks.push_back(std::move(tick));
    }
    if (scale.IsLogarithmic())
      value *= factor;
    else
      value += axis.tickStep * scale.k;
  }
  return ticks;
}

void PaintAxis(const CPlaneAxe& axis, Surface& surface, bool withLines, const Rect& plotRect) {
  if ((axis.position != 1 && axis.position != 2) || !axis.visu) return;
  const CVisuPara& visu = *axis.visu;
  SurfaceStateGuard guard(surface);
  const Rect band = axis.axisRect.Normalized();
  const Rect plot = plotRect.Normalized();
  const bool horizontal = IsHorizontal(axis);
  // The axis line runs along the band's edge next to the plot; ticks point
  // away from the plot, into the band.
  const bool first = axis.position == 1;  // top for X, left for Y
  const int edge = horizontal ? (first ? band.bottom : band.top) : (first ? band.right : band.left);
  const int outward = horizontal ? (first ? 1 : -1) : (first ? -1 : 1);
  const auto alongToPoint = [&](int along, int across) {
    return horizontal ? Point{along, across} : Point{across, along};
  };

  const std::vector<AxisTick> ticks = AxisTicks(axis, surface);

  // Grid lines across the plot.
  if (withLines) {
    surface.SetPen(LinePen(visu.lines[kGridLine], true));
    for (const AxisTick& t : ticks) {
      if (horizontal)
        surface.Line({t.position, plot.bottom}, {t.position, plot.top});
      else
        surface.Line({plot.left, t.position}, {plot.right, t.position});
    }
  }

  // Subdivision marks between labelled ticks.
  surface.SetPen(LinePen(visu.lines[kAxisLine], false));
  const int low = horizontal ? band.left : band.bottom;
  const int high = horizontal ? band.right : band.top;
  if (axis.tickLines > 1 && ticks.size() >= 2) {
    const double spacing = static_cast<double>(ticks[1].position - ticks[0].position);
    // Marks run on before the first and after the last labelled tick too,
    // as long as they stay inside the band.
    for (int i = -1; i < static_cast<int>(ticks.size()); ++i) {
      const double start = i < 0 ? ticks[0].position - spacing : ticks[static_cast<std::size_t>(i)].position;
      for (int j = 1; j < axis.tickLines; ++j) {
        const int at = static_cast<int>(std::lround(start + spacing * j / axis.tickLines));
        if (at < low + kSubdivisionMargin || at > high - kSubdivisionMargin) continue;
        surface.Line(alongToPoint(at, edge), alongToPoint(at, edge + outward * kMinorTick));
      }
    }
  }
  for (const AxisTick& t : ticks)
    surface.Line(alongToPoint(t.position, edge), alongToPoint(t.position, edge + outward * kMajorTick));

  // Tick labels.
  surface.SetFont(visu.FontFor(kTickLabelStyle));
  surface.SetTextColour(visu.TextColourFor(kTickLabelStyle));
  surface.SetTextBackground(true);
  const int labelAt = edge + outward * (kMajorTick + kLabelGap);
  int labelDepth = 0;
  for (const AxisTick& t : ticks) {
    if (!t.labelShown) continue;
    const Size extent = surface.TextExtent(t.label);
    labelDepth = std::max(labelDepth, horizontal ? extent.cy : extent.cx);
    if (horizontal)
      surface.Text({t.position, labelAt}, t.label, HAlign::Centre, first ? VAlign::Bottom : VAlign::Top);
    else
      surface.Text({labelAt, t.position + extent.cy / 2}, t.label, first ? HAlign::Right : HAlign::Left,
                   VAlign::Top);
  }

  // Title: 1 centred along the axis, 2 at its far end, 0 none.
  if (axis.titleMode == 1 || axis.titleMode == 2) {
    FontDescription font = visu.FontFor(kNotesStyle);
    if (!horizontal) font.escapement = 900;  // reads upwards
    surface.SetFont(font);
    surface.SetTextColour(visu.TextColourFor(kNotesStyle));
    const std::string caption = axis.GetCaption();
    const Size extent = surface.TextExtent(caption);
    const int across = labelAt + outward * (labelDepth + kLabelGap);
    if (horizontal) {
      const int x = axis.titleMode == 1 ? (band.left + band.right) / 2 : band.right - extent.cx / 2 - kHighMargin;
      surface.Text({x, across}, caption, HAlign::Centre, first ? VAlign::Bottom : VAlign::Top);
    } else {
      // Rotated text: its "top" faces the band's outer edge.
      const int y = axis.titleMode == 1 ? (band.top + band.bottom) / 2 : band.top - extent.cx / 2 - kHighMargin;
      const int x = first ? std::max(band.left, across - extent.cy) : std::min(band.right - extent.cy, across);
      surface.Text({x, y}, caption, HAlign::Centre, VAlign::Top);
    }
  }

  // The axis line, last, with its arrow at the end of growing values.
  const CLinePara& border = visu.lines[kBorderLine];
  const int width = std::max(1, TenthMmToPlot(border.width));
  surface.SetPen({PenStyle::Solid, width, border.colour});
  const Point from = alongToPoint(low, edge);
  const Point to = alongToPoint(high, edge);
  surface.Line(from, to);
  if (axis.arrow) {
    const bool towardsHigh = axis.scale.direction >= 0;
    const Point tip = towardsHigh ? to : from;
    const int back = towardsHigh ? -1 : 1;
    const int half = std::max(2, width * 5 / 2);
    const int length = 3 * half;
    const Point head[3] = {tip, alongToPoint((horizontal ? tip.x : tip.y) + back * length, edge + half),
                           alongToPoint((horizontal ? tip.x : tip.y) + back * length, edge - half)};
    surface.SetBrush({BrushStyle::Solid, border.colour});
    surface.Polygon(head);
  }
}

void PaintPageGrid(Surface& surface, int w, int h, bool inches) {
  SurfaceStateGuard guard(surface);
  surface.SetPen({PenStyle::Dot, 0, Rgb(221, 221, 204)});
  const double step = inches ? 20.0 : 500 * 0.0393700787;
  if (step + 2 < w) {
    for (int i = 0;; ++i) {
      const int x = static_cast<int>(i * step) + 1;
      surface.Line({x, 0}, {x, -h});
      if (!(static_cast<int>(i * step) + 2 + step < w)) break;
    }
  }
  if (-(step + 2) > -h) {
    for (int i = 0;; ++i) {
      const int y = -(static_cast<int>(i * step) + 1);
      surface.Line({0, y}, {w, y});
      if (!(-(static_cast<int>(i * step) + 2) - step > -h)) break;
    }
  }
}

void PaintIndentText(const CIndent& indent, Surface& surface, const std::string& text) {
  if (!indent.flag || text.empty() || !indent.visu || indent.rect.IsEmpty()) return;
  const CVisuPara& visu = *indent.visu;
  const Rect r = indent.rect.Normalized();
  SurfaceStateGuard guard(surface);
  surface.SetTextBackground(true);
  if (indent.kind == 1) {
    surface.SetFont(visu.FontFor(kTitleStyle));
    surface.SetTextColour(visu.TextColourFor(kTitleStyle));
    surface.Text({(r.left + r.right) / 2, r.bottom}, text, HAlign::Centre, VAlign::Bottom);
    return;
  }
  if (indent.kind != 3) return;
  surface.SetFont(visu.FontFor(kFooterStyle));
  surface.SetTextColour(visu.TextColourFor(kFooterStyle));
  int y = r.top;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    surface.Text({r.left, y}, line, HAlign::Left, VAlign::Top);
    y -= std::max(1, surface.TextExtent(line.empty() ? " " : line).cy);
    start = end + 1;
  }
}

void PaintLegend(CLegend& legend, const CVisuPara& visu, Surface& surface,
                 std::span<CPlot* const> series, std::span<CPlot* const> functions) {
  if (!legend.visible) return;
  legend.rect = legend.rect.Normalized();
  const Rect box = legend.rect;
  SurfaceStateGuard guard(surface);
  surface.SetPen({PenStyle::Solid, 2, Rgb(0, 0, 255)});
  surface.SetBrush({BrushStyle::Solid, Rgb(255, 255, 255)});
  surface.Rectangle(box);

  const FontDescription font = visu.FontFor(kFooterStyle);
  surface.SetFont(font);
  surface.SetTextColour(visu.TextColourFor(kFooterStyle));
  surface.SetTextBackground(true);
  const int textHeight = std::max(1, font.height);
  const int rowHeight = static_cast<int>(1.3 * textHeight);
  Rect row{box.left + 4, box.top - 4, box.right - 4, box.top - 4 - textHeight};
  bool full = false;
  for (const std::span<CPlot* const> list : {series, functions}) {
    for (CPlot* object : list) {
      if (row.bottom < box.bottom) {
        full = true;
        break;
      }
      if (!object) continue;
      object->DrawLabel(surface, row, textHeight);
      row.top -= rowHeight;
      row.bottom -= rowHeight;
    }
    if (full) break;
  }
}

}  // namespace tracemont
