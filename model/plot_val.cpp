// CPlot and CPlotVal: outline, bounds, values and the operations on points.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "model/memory_advice.h"
#include "model/plot_objects.h"
#include "model/polygon.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string TimeStampName(const std::tm& t) {
  const int month = std::clamp(t.tm_mon, 0, 11);
  return StrFormat("(%02d:%02d:%02d %02d.%s.%02d)", t.tm_hour, t.tm_min, t.tm_sec, t.tm_mday,
                   kMonths[month], ((t.tm_year % 100) + 100) % 100);
}

std::string TimeStampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TimeStampName(local);
}

// --- CPlot ----------------------------------------------------------------------

CPlot::CPlot(int colourCommand)
    : name(TimeStampNow()),
      colourCommand_(colourCommand),
      colourIndex_(ColourIndexOfCommand(colourCommand)) {}

void CPlot::SetColourCommand(int command) {
  colourCommand_ = command;
  colourIndex_ = ColourIndexOfCommand(command);
}

void CPlot::CalcBounds() {
  if (outline_.empty()) {
    bounds_ = {};
    return;
  }
  Rect r = Rect::At(outline_.front());
  for (const Point& p : outline_) r = r.Including(p);
  bounds_ = r;
}

void CPlot::WidenBounds() {
  const int margin = 2 * std::max(lineWidth, frameWidth);
  bounds_ = bounds_.Inflated(margin, margin);
}

void CPlot::FinishEdit() {
  inProgress = 0;
  CalcBounds();
  WidenBounds();
}

bool CPlot::MoveTo(Point p) {
  if (p == position) return false;
  Offset(p.x - position.x, p.y - position.y);
  position = p;
  return true;
}

void CPlot::AppendOutlinePoint(Point p) {
  bounds_ = outline_.empty() ? Rect::At(p) : bounds_.Including(p);
  outline_.push_back(p);
}

bool CPlot::AddPoint(Point p, bool finish, Surface* /*surface*/) {
  AppendOutlinePoint(p);
  if (finish) FinishEdit();
  return true;
}

void CPlot::DropFromSelection(std::uint32_t removed) {
  std::vector<std::uint32_t> kept;
  kept.reserve(selection_.size());
  for (const std::uint32_t s : selection_) {
    if (s == removed) continue;
    kept.push_back(s > removed ? s - 1 : s);
  }
  selection_ = std::move(kept);
}

bool CPlot::RemovePoint(int i) {
  if (i < 0 || i >= PointCount()) return false;
  outline_.erase(outline_.begin() + i);
  DropFromSelection(static_cast<std::uint32_t>(i));
  return true;
}

std::optional<Rect> CPlot::MovePoint(int i, int dx, int dy) {
  if (i < 0 || i >= PointCount()) return std::nullopt;
  Point& p = outline_[static_cast<std::size_t>(i)];
  const Rect before = Rect::At(p);
  p.x += dx;
  p.y += dy;
  const int margin = 2 * kHandleSize;
  return before.United(Rect::At(p)).Inflated(margin, margin);
}

bool CPlot::Draw(Surface& /*surface*/, const DrawContext& /*context*/) { return !outline_.empty(); }

void CPlot::DrawLastSegment(Surface& surface) {
  if (outline_.size() < 2) return;
  SurfaceStateGuard guard(surface);
  surface.SetPen({PenStyle::Solid, lineWidth, LineColour()});
  surface.Line(outline_[outline_.size() - 2], outline_.back());
}

void CPlot::ShiftPoints(int dx, int dy, const std::vector<std::uint32_t>* indices) {
  if (indices) {
    for (const std::uint32_t i : *indices) {
      if (i >= outline_.size()) continue;
      outline_[i].x += dx;
      outline_[i].y += dy;
    }
  } else {
    for (Point& p : outline_) {
      p.x += dx;
      p.y += dy;
    }
  }
  PointsMoved();
}

void CPlot::Offset(int dx, int dy) {
  ShiftPoints(dx, dy, nullptr);
  CalcBounds();
}

void CPlot::OffsetSelected(int dx, int dy) {
  // A point listed twice in the selection still moves once.
  std::vector<std::uint32_t> unique = selection_;
  std::sort(unique.begin(), unique.end());
  unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
  ShiftPoints(dx, dy, &unique);
}

void CPlot::DrawLabel(Surface& surface, const Rect& box, int textHeight) {
  const Rect b = box.Normalized();
  const std::string text = GetName();
  const int height = textHeight > 0 ? textHeight : surface.TextExtent(text).cy;
  const int middle = (b.top + b.bottom) / 2;
  surface.Text({b.left + 4, middle + height / 2}, text, HAlign::Left, VAlign::Top);
}

// --- CPlotVal ---------------------------------------------------------------------

CPlotVal::CPlotVal(int colourCommand, int source_) : CPlot(colourCommand), source(source_) {}

bool CPlotVal::RestorePoints(std::vector<Point> outline, std::vector<DotValue> values) {
  if (outline.size() != values.size()) return false;
  outline_ = std::move(outline);
  values_ = std::move(values);
  selection_.clear();
  CalcBounds();
  return true;
}

void CPlotVal::ApplyScales(const CAxeScale& x, const CAxeScale& y) {
  xScale.Assign(x);
  yScale.Assign(y);
  RecalcOutline();
}

bool CPlotVal::AddPoint(Point p, bool finish, Surface* surface) {
  AppendOutlinePoint(p);
  values_.emplace_back(xScale.FromPlot(p.x), yScale.FromPlot(p.y), static_cast<double>(nextNumber));
  ++nextNumber;
  ResetSort();
  if (finish) FinishEdit();
  if (surface) DrawLastSegment(*surface);
  return true;
}

bool CPlotVal::AddValue(const DotValue& value, bool finish, Surface* /*surface*/) {
  AppendOutlinePoint(ToOutline(value.x, value.y));
  values_.emplace_back(value.x, value.y, value.z);
  ResetSort();
  if (finish) FinishEdit();
  return true;
}

void CPlotVal::AppendValues(std::vector<DotValue>&& values) {
  outline_.reserve(outline_.size() + values.size());
  PreferHugePages(outline_.data(), outline_.capacity() * sizeof(Point));
  for (DotValue& v : values) {
    v = DotValue(v.x, v.y, v.z);
    AppendOutlinePoint(ToOutline(v.x, v.y));
  }
  if (values_.empty()) {
    values_ = std::move(values);
  } else {
    values_.insert(values_.end(), values.begin(), values.end());
  }
  ResetSort();
  FinishEdit();
}

bool CPlotVal::RemovePoint(int i) {
  if (!CPlot::RemovePoint(i)) return false;
  values_.erase(values_.begin() + i);
  ResetSort();
  return true;
}

std::optional<Rect> CPlotVal::MovePoint(int i, int dx, int dy) {
  const auto redraw = CPlot::MovePoint(i, dx, dy);
  if (!redraw) return redraw;
  RecalcValues(i);
  ResetSort();
  return redraw;
}

void CPlotVal::PointsMoved() {
  RecalcAllValues();
  ResetSort();
}

bool CPlotVal::GetValueTexts(int i, std::array<std::string, 4>& texts) const {
  if (i < 0 || i >= static_cast<int>(values_.size())) return false;
  const DotValue& v = values_[static_cast<std::size_t>(i)];
  texts = {StrFormat("%d", i + 1), FormatG(v.x), FormatG(v.y), FormatG(v.z)};
  return true;
}

void CPlotVal::RecalcOutline() {
  for (std::size_t i = 0; i < values_.size() && i < outline_.size(); ++i)
    outline_[i] = ToOutline(values_[i].x, values_[i].y);
  CalcBounds();
  WidenBounds();
}

std::optional<DotValue> CPlotVal::GetValue(int i, bool selected) const {
  if (selected) {
    if (i < 0 || i >= static_cast<int>(selection_.size())) return std::nullopt;
    i = static_cast<int>(selection_[static_cast<std::size_t>(i)]);
  }
  if (i < 0 || i >= static_cast<int>(values_.size())) return std::nullopt;
  const DotValue& v = values_[static_cast<std::size_t>(i)];
  return DotValue(v.x, v.y, v.z);
}

int CPlotVal::Combine(const std::vector<const CPlotVal*>& others) {
  int added = 0;
  for (const CPlotVal* other : others) {
    if (!other) continue;
    // A copy, so that combining an object with itself reads a stable list.
    const std::vector<DotValue> values = other->Values();
    for (const DotValue& v : values) {
      if (AddValue(v, false, nullptr)) ++added;
    }
  }
  FinishEdit();
  ClearSelection();
  return added;
}

int CPlotVal::RemoveSelected() {
  // A point can be listed twice (inside two selected areas); it is removed
  // once, and removing from the highest index down keeps the others valid.
  std::vector<std::uint32_t> indices = selection_;
  std::sort(indices.begin(), indices.end(), std::greater<>());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  int removed = 0;
  for (const std::uint32_t i : indices) {
    if (i >= outline_.size()) continue;
    outline_.erase(outline_.begin() + i);
    values_.erase(values_.begin() + i);
    ++removed;
  }
  selection_.clear();
  if (removed > 0) ResetSort();
  return removed;
}

void CPlotVal::SelectInside(const CPlotClip& area) {
  const PolygonTester inside(area.Outline());
  for (std::size_t i = 0; i < outline_.size(); ++i)
    if (inside.Contains(outline_[i])) selection_.push_back(static_cast<std::uint32_t>(i));
}

int CPlotVal::CollectInside(const CPlotClip& area, std::vector<DotValue>& out) const {
  const PolygonTester inside(area.Outline());
  for (std::size_t i = 0; i < outline_.size(); ++i) {
    if (!inside.Contains(outline_[i])) continue;
    const DotValue& v = values_[i];
    out.emplace_back(v.x, v.y, v.z);
  }
  return static_cast<int>(out.size());
}

bool CPlotVal::SortBy(int key) {
  if (values_.empty() || !values_.front().IsValidKey(key)) return false;
  const std::size_t n = values_.size();
  if (key == sortKey && sortDirection != 0) {
    std::reverse(values_.begin(), values_.end());
    // The selection follows its points through the reversal.
    for (std::uint32_t& s : selection_)
      if (s < n) s = static_cast<std::uint32_t>(n - 1 - s);
    sortDirection = -sortDirection;
  } else {
    sortDirection = 1;
    sortKey = key;
    selection_.clear();
    // Stable, like exchanging neighbours only when the left one is greater;
    // NaN values go last instead of stopping the exchanges where they stand.
    std::stable_sort(values_.begin(), values_.end(), [key](const DotValue& a, const DotValue& b) {
      const double va = a.Coordinate(key);
      const double vb = b.Coordinate(key);
      if (std::isnan(va)) return false;
      if (std::isnan(vb)) return true;
      return va < vb;
    });
  }
  for (DotValue& v : values_) v.flag = 0;
  for (std::size_t i = 0; i < n; ++i) outline_[i] = ToOutline(values_[i].x, values_[i].y);
  CalcBounds();
  WidenBounds();
  return true;
}

void CPlotVal::RecalcValues(int i) {
  if (values_.empty()) return;
  if (i < 0 || i >= static_cast<int>(values_.size())) i = static_cast<int>(values_.size()) - 1;
  const auto k = static_cast<std::size_t>(i);
  values_[k].x = xScale.FromPlot(outline_[k].x);
  values_[k].y = yScale.FromPlot(outline_[k].y);
}

void CPlotVal::RecalcAllValues() {
  for (std::size_t k = 0; k < values_.size() && k < outline_.size(); ++k) {
    values_[k].x = xScale.FromPlot(outline_[k].x);
    values_[k].y = yScale.FromPlot(outline_[k].y);
  }
}

}  // namespace tracemont
