#include "model/document_data.h"

#include <algorithm>

#include "model/text.h"

namespace tracemont {

DocumentData::DocumentData()
    : title(LoadStr(kDefaultTitleId)),
      comment(LoadStr(kDefaultCommentId)),
      indents{CIndent::OfKind(0), CIndent::OfKind(1), CIndent::OfKind(2), CIndent::OfKind(3)} {
  BindVisu();
}

DocumentData::DocumentData(DocumentData&& other) noexcept { *this = std::move(other); }

DocumentData& DocumentData::operator=(DocumentData&& other) noexcept {
  if (this == &other) return *this;
  visu = std::move(other.visu);
  title = std::move(other.title);
  comment = std::move(other.comment);
  series = std::move(other.series);
  areas = std::move(other.areas);
  functions = std::move(other.functions);
  commentaries = std::move(other.commentaries);
  indents = other.indents;
  axisX = std::move(other.axisX);
  axisY = std::move(other.axisY);
  editor = std::move(other.editor);
  histo = std::move(other.histo);
  legend = other.legend;
  inches = other.inches;
  pageWidth = other.pageWidth;
  pageHeight = other.pageHeight;
  BindVisu();
  return *this;
}

void DocumentData::ClearObjects() {
  series.clear();
  areas.clear();
  functions.clear();
  commentaries.clear();
}

void DocumentData::BindVisu() {
  axisX.visu = &visu;
  axisY.visu = &visu;
  for (CIndent& indent : indents) indent.visu = &visu;
}

bool IsPurgeable(const CPlotDot& series) { return series.visible && series.PointCount() == 0; }

bool IsPurgeable(const CPlotClip& area) {
  const std::vector<Point>& o = area.Outline();
  if (o.size() < 4) return true;
  // The polygon's own extent: the stored bounds carry drawing margins.
  const auto [minX, maxX] = std::minmax_element(o.begin(), o.end(),
                                                [](Point a, Point b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(o.begin(), o.end(),
                                                [](Point a, Point b) { return a.y < b.y; });
  const std::int64_t least = 4LL * std::max(area.lineWidth, area.frameWidth);
  return static_cast<std::int64_t>(maxX->x) - minX->x < least ||
         static_cast<std::int64_t>(maxY->y) - minY->y < least;
}

}  // namespace tracemont
