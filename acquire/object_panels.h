// What the information panels of series, areas and functions show and how
// their edits are written back, without any window: the panels read fields
// from here and hand edited fields back, so the rules (clamping, enabling,
// which document operation runs) live in one testable place.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/dot_value.h"
#include "model/geometry.h"

namespace tracemont {

class CMainDoc;
class CPlotClip;
class CPlotDot;
class CPlotFunc;

// Line widths typed in 0.1 mm are kept within 1..100 (0 and below give 1).
int ClampLineWidth(int tenthMm);
// Plot units of a clamped line width in 0.1 mm, at least 1.
int LineWidthToPlot(int tenthMm);
// 0.1 mm of a line width in plot units (rounded), as the panels show it.
int LineWidthToTenthMm(int plotUnits);

// The editable settings of a points series.
struct SeriesFields {
  int colour = 0;          // colour command
  int shape = 0;           // shape command
  double aspect = 1.0;     // height / width
  int size = 10;           // marker size, 0.1 mm (0..100)
  bool connect = false;
  int connectWidth = 1;    // 0.1 mm
  std::string name;
  bool visible = true;
};
SeriesFields ReadSeriesFields(const CPlotDot& series);
// Writes every field but the name (Apply writes that); marker recomputed,
// the document told. No undo snapshot: the caller takes one.
void WriteSeriesFields(CMainDoc& doc, CPlotDot& series, const SeriesFields& fields);

// The editable settings of a function.
struct FunctionFields {
  Colour colour = 0;
  int width = 1;  // 0.1 mm
  bool corridor = false;
  int samplerOption = 0;
  bool visible = true;
};
FunctionFields ReadFunctionFields(const CPlotFunc& function);
void WriteFunctionFields(CMainDoc& doc, CPlotFunc& function, const FunctionFields& fields);

// Which of the function panel's two checks apply to a method: deviation
// lines for the regression forms and piece-linear lines, step centres for
// piece-linear lines only.
struct FunctionChecks {
  bool corridor = false;
  bool centres = false;
};
FunctionChecks ChecksForMethod(int methodId);

// The argument of a function ("X" for direction 0, "Y" for 1) and its range
// from the range corners.
struct ArgumentRange {
  std::string name;
  double min = 0.0;
  double max = 0.0;
};
ArgumentRange ArgumentRangeOf(const CPlotFunc& function);
// Snapshot, then the argument range becomes [min, max] (swapped when given
// the wrong way round; the other coordinate's range kept) and the curve is
// sampled again. False, and nothing changed, for non-finite bounds or a
// function without range corners.
bool ApplyArgumentRange(CMainDoc& doc, CPlotFunc& function, double min, double max);

// What the area panel shows.
struct AreaSummary {
  int pointsInside = 0;
  double correlation = 0.0;
  std::string areaText;   // "%4.4g" of the computed area in value units
  std::string unitText;   // "[X unit] x [Y unit]"
  std::vector<std::array<std::string, 4>> rows;  // the six value-list rows
  std::vector<DotValue> inside;                   // X, Y, Z, flag 0
  bool applyEnabled = false;     // more than 3 outline points
  bool functionEnabled = false;  // and at least one point inside
  bool copyEnabled = false;      // more than 2 outline points and a point inside
};
AreaSummary SummariseArea(const CMainDoc& doc, const CPlotClip& area);

// Snapshot, then removes the points of the given rows (any order, duplicates
// and rows out of range ignored), highest index first. Returns how many.
int RemoveSeriesRows(CMainDoc& doc, CPlotDot& series, std::vector<int> rows);

}  // namespace tracemont
