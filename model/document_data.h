// The stored content of a document: everything its archive holds, and
// nothing of its run-time state (history, observers, current objects).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/axes.h"
#include "model/distribution_settings.h"
#include "model/editor_settings.h"
#include "model/plot_objects.h"
#include "model/plot_text.h"

namespace tracemont {

// A list that owns its plot objects, in order.
template <class T>
using PlotList = std::vector<std::unique_ptr<T>>;

// String-table defaults of a new document.
constexpr int kDefaultTitleId = 41590;    // "Points (X,Y) distribution"
constexpr int kDefaultCommentId = 41591;  // "Commentaries: "

// Page size limits of ApplyPageSize, 0.1 mm.
constexpr int kMinPageSize = 100;
constexpr int kMaxPageSize = 10000;

struct DocumentData {
  DocumentData();
  // Moves keep the axes and indents bound to the visual parameters of the
  // record they end up in.
  DocumentData(DocumentData&& other) noexcept;
  DocumentData& operator=(DocumentData&& other) noexcept;
  DocumentData(const DocumentData&) = delete;
  DocumentData& operator=(const DocumentData&) = delete;

  CVisuPara visu;
  std::string title;
  std::string comment;
  PlotList<CPlotDot> series;
  PlotList<CPlotClip> areas;
  PlotList<CPlotFunc> functions;
  PlotList<CPlotText> commentaries;
  std::array<CIndent, 4> indents;
  CPlaneAxe axisX{0};
  CPlaneAxe axisY{1};
  CPlotEdit editor;
  CHisto histo;
  CLegend legend;
  std::int32_t inches = 0;          // 0 centimetres, 1 inches
  std::int32_t pageWidth = 1500;    // 0.1 mm
  std::int32_t pageHeight = 1100;   // 0.1 mm

  // Deletes the objects of the four lists; settings stay.
  void ClearObjects();
  // Points the axes and indents at this record's visual parameters (after
  // construction or a move).
  void BindVisu();
};

// Whether the document would drop the object before writing it: a visible
// series without points, or an area with fewer than 4 points or whose points
// span less than 4 x max(line width, frame width) in either direction.
bool IsPurgeable(const CPlotDot& series);
bool IsPurgeable(const CPlotClip& area);

}  // namespace tracemont
