#include "acquire/object_panels.h"

#include <algorithm>
#include <cmath>

#include "approx/approx.h"
#include "approx/func_params.h"
#include "model/main_doc.h"
#include "model/text.h"

namespace tracemont {

int ClampLineWidth(int tenthMm) { return std::clamp(tenthMm, 1, 100); }

int LineWidthToPlot(int tenthMm) { return std::max(1, TenthMmToPlot(ClampLineWidth(tenthMm))); }

int LineWidthToTenthMm(int plotUnits) { return static_cast<int>(std::lround(plotUnits * 254.0 / 100.0)); }

SeriesFields ReadSeriesFields(const CPlotDot& series) {
  SeriesFields f;
  f.colour = series.ColourCommand();
  f.shape = series.ShapeCommand();
  f.aspect = series.aspect;
  f.size = series.size;
  f.connect = series.connect != 0;
  f.connectWidth = LineWidthToTenthMm(series.connectWidth);
  f.name = series.name;
  f.visible = series.visible != 0;
  return f;
}

void WriteSeriesFields(CMainDoc& doc, CPlotDot& series, const SeriesFields& f) {
  const Rect before = series.Bounds();
  series.SetColourCommand(f.colour);
  series.SetShape(f.shape);
  series.SetSize(std::clamp(f.size, 0, 100), f.aspect, doc.Data().axisX.scale.k, doc.Data().axisY.scale.k);
  series.SetConnect(f.connect);
  series.SetLineWidth(LineWidthToPlot(f.connectWidth));
  series.visible = f.visible ? 1 : 0;
  series.RecalcMarker();
  series.FinishEdit();
  doc.ObjectChanged(series);
  // Larger old markers lie outside the new bounds.
  if (!(before == series.Bounds())) doc.Changed();
}

FunctionFields ReadFunctionFields(const CPlotFunc& function) {
  FunctionFields f;
  f.colour = function.colour;
  f.width = LineWidthToTenthMm(function.lineWidth);
  f.corridor = function.corridor != 0;
  f.samplerOption = function.samplerOption;
  f.visible = function.visible != 0;
  return f;
}

void WriteFunctionFields(CMainDoc& doc, CPlotFunc& function, const FunctionFields& f) {
  const bool resample = f.samplerOption != function.samplerOption;
  function.colour = f.colour;
  function.lineWidth = LineWidthToPlot(f.width);
  function.corridor = f.corridor ? 1 : 0;
  function.samplerOption = f.samplerOption;
  function.visible = f.visible ? 1 : 0;
  if (resample) function.Resample();
  doc.ObjectChanged(function);
  doc.Changed();
}

FunctionChecks ChecksForMethod(int methodId) {
  switch (methodId) {
    case method::kPolynomial: case method::kHyperbolic: case method::kLogarithmic: case method::kPower:
    case method::kExponential:
      return {true, false};
    case method::kPieceLinear:
      return {true, true};
    default:
      return {false, false};
  }
}

ArgumentRange ArgumentRangeOf(const CPlotFunc& function) {
  ArgumentRange r;
  const bool alongY = DirectionOf(function.params) == 1;
  r.name.assign(1, alongY ? 'Y' : 'X');
  if (function.rangeCorners.size() < 4) return r;
  const DotValue& lo = function.rangeCorners[0];
  const DotValue& hi = function.rangeCorners[2];
  r.min = alongY ? lo.y : lo.x;
  r.max = alongY ? hi.y : hi.x;
  return r;
}

bool ApplyArgumentRange(CMainDoc& doc, CPlotFunc& function, double min, double max) {
  if (!std::isfinite(min) || !std::isfinite(max) || function.rangeCorners.size() < 4) return false;
  if (min > max) std::swap(min, max);
  const bool alongY = DirectionOf(function.params) == 1;
  double minX = function.rangeCorners[0].x;
  double maxX = function.rangeCorners[2].x;
  double minY = function.rangeCorners[0].y;
  double maxY = function.rangeCorners[2].y;
  if (alongY) {
    minY = min;
    maxY = max;
  } else {
    minX = min;
    maxX = max;
  }
  doc.Checkpoint();
  function.SetRange({DotValue(minX, minY), DotValue(minX, maxY), DotValue(maxX, maxY), DotValue(maxX, minY)});
  doc.Changed();
  return true;
}

AreaSummary SummariseArea(const CMainDoc& doc, const CPlotClip& area) {
  AreaSummary s;
  doc.CollectInArea(area, s.inside, 0);
  for (DotValue& v : s.inside) v.flag = 0;
  s.pointsInside = static_cast<int>(s.inside.size());
  CApprox stats;
  s.correlation = s.inside.empty() ? 0.0 : stats.ComputeStats(s.inside);
  std::array<std::string, 4> row;
  if (area.GetValueTexts(5, row)) s.areaText = row[1];
  s.unitText = "[" + doc.Data().axisX.unit + "] x [" + doc.Data().axisY.unit + "]";
  for (const int i : {0, 1})
    if (area.GetValueTexts(i, row)) s.rows.push_back(row);
  for (const int kind : {0, 1, 3, 4}) {
    std::vector<std::string> texts;
    if (stats.StatRows(kind, texts) == 4) s.rows.push_back({texts[0], texts[1], texts[2], texts[3]});
  }
  s.applyEnabled = area.PointCount() > 3;
  s.functionEnabled = s.applyEnabled && s.pointsInside > 0;
  s.copyEnabled = area.PointCount() > 2 && s.pointsInside > 0;
  return s;
}

int RemoveSeriesRows(CMainDoc& doc, CPlotDot& series, std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::erase_if(rows, [&](int r) { return r < 0 || r >= series.PointCount(); });
  if (rows.empty()) return 0;
  doc.Checkpoint();
  int removed = 0;
  for (const int r : rows) removed += series.RemovePoint(r) ? 1 : 0;
  series.FinishEdit();
  doc.Changed();
  return removed;
}

}  // namespace tracemont
