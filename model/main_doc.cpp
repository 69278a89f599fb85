#include "model/main_doc.h"

#include <algorithm>

#include "approx/func_params.h"
#include "model/archive.h"
#include "model/object_ids.h"

namespace tracemont {
namespace {

// Drawing step of new series in plot units: at least 1 when the editor's
// step (0.1 mm) is positive; nothing otherwise (the series keeps its own).
std::optional<int> StepOf(const CPlotEdit& editor) {
  if (editor.drawingStep <= 0) return std::nullopt;
  return std::max(1, TenthMmToPlot(editor.drawingStep));
}

template <class T>
bool Contains(const PlotList<T>& list, const T* object) {
  return std::any_of(list.begin(), list.end(), [&](const auto& o) { return o.get() == object; });
}

template <class T>
bool Holds(const PlotList<T>& list, const CPlot* object) {
  return std::any_of(list.begin(), list.end(),
                     [&](const auto& o) { return static_cast<const CPlot*>(o.get()) == object; });
}

template <class T>
bool Erase(PlotList<T>& list, const CPlot* object) {
  const auto it = std::find_if(list.begin(), list.end(),
                               [&](const auto& o) { return static_cast<const CPlot*>(o.get()) == object; });
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

CMainDoc::CMainDoc() { Relayout(); }

template <class F>
void CMainDoc::Notify(F&& call) {
  // A copy: an observer may unsubscribe while it is told.
  const std::vector<DocObserver*> observers = observers_;
  for (DocObserver* o : observers) call(*o);
}

void CMainDoc::AddObserver(DocObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
    observers_.push_back(&observer);
}

void CMainDoc::RemoveObserver(DocObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void CMainDoc::SetModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  Notify([&](DocObserver& o) { o.ModifiedChanged(modified); });
}

void CMainDoc::SetCurrentSeries(CPlotDot* series) {
  currentSeries_ = Contains(data_.series, series) ? series : nullptr;
}

void CMainDoc::SetCurrentFunction(CPlotFunc* function) {
  currentFunction_ = Contains(data_.functions, function) ? function : nullptr;
}

void CMainDoc::SetCurrentCommentary(CPlotText* commentary) {
  currentCommentary_ = Contains(data_.commentaries, commentary) ? commentary : nullptr;
}

void CMainDoc::ForgetMissingCurrents() {
  if (!Contains(data_.series, currentSeries_)) currentSeries_ = nullptr;
  if (!Contains(data_.areas, currentArea_)) currentArea_ = nullptr;
  if (!Contains(data_.functions, currentFunction_)) currentFunction_ = nullptr;
  if (!Contains(data_.commentaries, currentCommentary_)) currentCommentary_ = nullptr;
}

// --- life cycle ---------------------------------------------------------------------

void CMainDoc::Relayout() {
  pageRect_ = LayoutPage(data_.pageWidth, data_.pageHeight, data_.axisX, data_.axisY, data_.indents);
  MarkDistribution();
}

void CMainDoc::Reset() {
  currentSeries_ = nullptr;
  currentArea_ = nullptr;
  currentFunction_ = nullptr;
  currentCommentary_ = nullptr;
  selectedAreaCount_ = 0;
  Notify([](DocObserver& o) { o.SelectedAreasCounted(0); });
  Relayout();
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  ChangedWithOutlines();
  if (!history_.restoring) history_.Clear();
  const bool inches = data_.inches == 1;
  const double kx = data_.axisX.scale.k;
  const double ky = data_.axisY.scale.k;
  Notify([&](DocObserver& o) { o.DocumentReset(inches, kx, ky); });
}

void CMainDoc::DeleteContents() {
  data_.ClearObjects();
  ForgetMissingCurrents();
  MarkDistribution();
}

void CMainDoc::NewDocument() {
  DeleteContents();
  data_ = DocumentData();
  fileVersion_ = kArchiveVersion;
  Reset();
  SetModified(false);
}

FileResult CMainDoc::Open(const std::string& path) {
  DocumentData loaded;
  FileResult result = LoadDocumentFile(path, loaded);
  DeleteContents();
  data_ = result.ok ? std::move(loaded) : DocumentData();
  fileVersion_ = result.ok ? result.version : kArchiveVersion;
  Reset();
  SetModified(false);
  return result;
}

FileResult CMainDoc::Save(const std::string& path) {
  PurgeEmpty();
  FileResult result = SaveDocumentFile(path, data_);
  if (result.ok) {
    fileVersion_ = result.version;
    SetModified(false);
  }
  return result;
}

// --- creation ---------------------------------------------------------------------------

CPlotDot* CMainDoc::NewSeries(Point at, const SeriesStyle& style, int source,
                              const std::optional<std::string>& name, bool addFirstPoint) {
  Checkpoint();
  const auto id = ObjectIds().Next();
  if (!id) return nullptr;
  auto series = std::make_unique<CPlotDot>(style.colourCommand, style.shapeCommand, source);
  series->id = *id;
  series->xScale.Assign(data_.axisX.scale);
  series->yScale.Assign(data_.axisY.scale);
  if (const auto step = StepOf(data_.editor)) series->step = *step;
  series->SetSize(style.size, style.aspect, data_.axisX.scale.k, data_.axisY.scale.k);
  if (name) series->name = *name;
  series->connect = data_.editor.connectDefault ? 1 : 0;
  series->spacingCheck = 1;
  if (addFirstPoint) series->AddPoint(at);

  CPlotDot* raw = series.get();
  data_.series.push_back(std::move(series));
  currentSeries_ = raw;
  MarkDistribution();
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return raw;
}

CPlotDot* CMainDoc::NewSeriesFromValues(const std::vector<DotValue>& records,
                                        const SeriesStyle& style, int source,
                                        const std::optional<std::string>& name) {
  return NewSeriesFromValues(std::vector<DotValue>(records), style, source, name);
}

CPlotDot* CMainDoc::NewSeriesFromValues(std::vector<DotValue>&& records, const SeriesStyle& style,
                                        int source, const std::optional<std::string>& name) {
  CPlotDot* series = NewSeries({}, style, source, name, false);
  if (!series) return nullptr;
  series->AppendValues(std::move(records));
  const Rect bounds = series->Bounds();
  Notify([&](DocObserver& o) { o.RepaintRegion(bounds); });
  return series;
}

CPlotClip* CMainDoc::NewArea(int colourCommand, int kindCommand) {
  Checkpoint();
  const auto id = ObjectIds().Next();
  if (!id) return nullptr;
  auto area = std::make_unique<CPlotClip>(colourCommand, kindCommand);
  area->id = *id;
  area->xScale.Assign(data_.axisX.scale);
  area->yScale.Assign(data_.axisY.scale);
  area->fill = data_.editor.fillDefault ? 1 : 0;

  CPlotClip* raw = area.get();
  data_.areas.push_back(std::move(area));
  currentArea_ = raw;
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return raw;
}

CPlotClip* CMainDoc::NewAreaAt(Point at, int colourCommand, int kindCommand) {
  CPlotClip* area = NewArea(colourCommand, kindCommand);
  if (area && area->visible) area->AddPoint(at);
  return area;
}

CPlotClip* CMainDoc::NewRangeArea(Point at, int colourCommand) {
  const int mode = data_.histo.mode;
  if (mode != distribution::kDensity && mode != distribution::kDiagram) return nullptr;
  if (!rangeTracer_) return nullptr;
  const std::vector<Point> outline = rangeTracer_(at);
  if (outline.size() < 3) return nullptr;
  CPlotClip* area = NewArea(colourCommand, cmd::kRangeArea);
  if (!area) return nullptr;
  // The traced outline is kept as it is: its points lie a cell apart, closer
  // than the spacing kept between points placed by hand.
  area->spacingCheck = 0;
  for (std::size_t i = 0; i < outline.size(); ++i)
    area->AddPoint(outline[i], i + 1 == outline.size(), nullptr);
  area->spacingCheck = 1;
  const Rect bounds = area->Bounds();
  Notify([&](DocObserver& o) { o.RepaintRegion(bounds); });
  return area;
}

CPlotFunc* CMainDoc::NewFunction(const FuncParams& params, const std::vector<DotValue>& range,
                                 const FunctionStyle& style) {
  Checkpoint();
  auto function = std::make_unique<CPlotFunc>(style.colourCommand, 0);
  function->xScale.Assign(data_.axisX.scale);
  function->yScale.Assign(data_.axisY.scale);
  if (!function->SetParameters(params)) return nullptr;
  function->samplerOption = style.samplerOption;
  function->SetRange(range);
  function->colour = style.colour;
  const int width = std::clamp(style.width, 1, 100);
  function->lineWidth = std::max(1, TenthMmToPlot(width));
  function->corridor = style.corridor ? 1 : 0;
  std::vector<std::string> rows;
  if (DescribeFunction(params, rows, 1) > 1) function->name = rows.front();

  CPlotFunc* raw = function.get();
  data_.functions.push_back(std::move(function));
  // The id is given once the function is in its list.
  const auto id = ObjectIds().Next();
  if (!id) {
    data_.functions.pop_back();
    return nullptr;
  }
  raw->id = *id;
  currentFunction_ = raw;
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return raw;
}

CPlotText* CMainDoc::NewCommentary(Point at, Colour textColour) {
  Checkpoint();
  const auto id = ObjectIds().Next();
  if (!id) return nullptr;
  auto commentary = std::make_unique<CPlotText>(at, CPlotText::kMadeByUser);
  commentary->id = *id;
  commentary->textColour = textColour;
  commentary->xScale.Assign(data_.axisX.scale);
  commentary->yScale.Assign(data_.axisY.scale);

  CPlotText* raw = commentary.get();
  data_.commentaries.push_back(std::move(commentary));
  currentCommentary_ = raw;
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return raw;
}

// --- queries -----------------------------------------------------------------------------

std::optional<CMainDoc::VertexHit> CMainDoc::HitVertex(Point p, int colour) const {
  for (const auto& area : data_.areas) {
    if (!area->visible || !MatchesColour(*area, colour)) continue;
    const int vertex = area->HitVertex(p);
    if (vertex >= 0) return VertexHit{area.get(), vertex};
  }
  return std::nullopt;
}

std::optional<CMainDoc::SectionHit> CMainDoc::HitFunction(Point p, int colour) const {
  for (const auto& function : data_.functions) {
    if (!function->visible || !MatchesColour(*function, colour)) continue;
    const int section = function->HitSection(p);
    if (section >= 0) return SectionHit{function.get(), section};
  }
  return std::nullopt;
}

int CMainDoc::CollectInArea(const CPlotClip& area, std::vector<DotValue>& records,
                            int colour) const {
  for (const auto& series : data_.series)
    if (series->visible && MatchesColour(*series, colour)) series->CollectInside(area, records);
  return static_cast<int>(records.size());
}

// --- editing -------------------------------------------------------------------------------

void CMainDoc::SelectInCurrentArea(int colour) {
  if (!currentArea_) return;
  for (const auto& series : data_.series)
    if (series->visible && MatchesColour(*series, colour)) series->SelectInside(*currentArea_);
}

bool CMainDoc::ClearAllSelections() {
  bool any = false;
  for (const auto& series : data_.series) {
    any = any || !series->Selection().empty();
    series->ClearSelection();
  }
  return any;
}

int CMainDoc::RemoveSelectedPoints() {
  Checkpoint();
  int removed = 0;
  for (const auto& series : data_.series) removed += series->RemoveSelected();
  if (removed > 0) {
    MarkDistribution();
    SetModified(true);
  }
  return removed;
}

int CMainDoc::RemovePointsInArea(CPlotClip& area, int colour) {
  if (!Contains(data_.areas, &area)) return 0;
  Checkpoint();
  MakeCurrentArea(area);
  ClearAllSelections();
  SelectInCurrentArea(colour);
  int removed = 0;
  for (const auto& series : data_.series) removed += series->RemoveSelected();
  PurgeEmpty();
  Changed();
  return removed;
}

int CMainDoc::RemovePointsInSelectedAreas(const Confirm& confirm) {
  std::vector<CPlotClip*> selected;
  for (const auto& area : data_.areas)
    if (area->visible && area->selected) selected.push_back(area.get());
  if (selected.empty()) return 0;
  if (confirm && !confirm(kMsgRemovePointsInAreas)) return 0;
  Checkpoint();
  int removed = 0;
  std::optional<Rect> redraw;
  for (CPlotClip* area : selected) {
    ClearAllSelections();
    for (const auto& series : data_.series)
      if (series->visible) series->SelectInside(*area);
    for (const auto& series : data_.series) removed += series->RemoveSelected();
    redraw = redraw ? redraw->United(area->Bounds()) : area->Bounds();
  }
  PurgeEmpty();
  if (removed > 0) {
    MarkDistribution();
    SetModified(true);
  }
  Notify([&](DocObserver& o) { o.RepaintRegion(*redraw); });
  return removed;
}

void CMainDoc::SelectPointsInSelectedAreas(int colour) {
  const auto isSelected = [](const auto& area) { return area->visible && area->selected; };
  if (std::none_of(data_.areas.begin(), data_.areas.end(), isSelected)) return;
  ClearAllSelections();
  for (const auto& area : data_.areas) {
    if (!isSelected(area)) continue;
    for (const auto& series : data_.series)
      if (series->visible && MatchesColour(*series, colour)) series->SelectInside(*area);
  }
}

bool CMainDoc::MoveSelectedAreas(int dx, int dy) {
  bool moved = false;
  for (const auto& area : data_.areas) {
    if (!area->visible || !area->selected) continue;
    area->Offset(dx, dy);
    moved = true;
  }
  if (moved) MarkDistribution();
  return moved;
}

bool CMainDoc::MoveSelectedPoints(int dx, int dy) {
  bool moved = false;
  for (const auto& series : data_.series) {
    if (!series->visible || series->Selection().empty()) continue;
    series->OffsetSelected(dx, dy);
    moved = true;
  }
  if (moved) MarkDistribution();
  return moved;
}

void CMainDoc::ToggleAreaSelection(CPlotClip& area) {
  area.selected = area.selected ? 0 : 1;
  RecountSelectedAreas();
}

void CMainDoc::UnselectAllAreas() {
  for (const auto& area : data_.areas) area->selected = 0;
  RecountSelectedAreas();
}

int CMainDoc::RecountSelectedAreas() {
  selectedAreaCount_ = static_cast<int>(std::count_if(
      data_.areas.begin(), data_.areas.end(), [](const auto& a) { return a->visible && a->selected; }));
  const int count = selectedAreaCount_;
  Notify([&](DocObserver& o) { o.SelectedAreasCounted(count); });
  return count;
}

int CMainDoc::EraseInRect(Point p, int colour) {
  int erased = 0;
  for (const auto& series : data_.series)
    if (series->visible && MatchesColour(*series, colour)) erased += series->EraseAt(p);
  if (erased > 0) {
    MarkDistribution();
    SetModified(true);
  }
  return erased;
}

bool CMainDoc::RemoveObject(const CPlot* object) {
  // Found by address only: the pointer may be stale, so it is never used.
  const bool known = Holds(data_.series, object) || Holds(data_.areas, object) ||
                     Holds(data_.functions, object) || Holds(data_.commentaries, object);
  if (!object || !known) return false;
  Checkpoint();
  const bool removed = Erase(data_.series, object) || Erase(data_.areas, object) ||
                       Erase(data_.functions, object) || Erase(data_.commentaries, object);
  ForgetMissingCurrents();
  MarkDistribution();
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return removed;
}

int CMainDoc::RemoveObjects(const std::vector<const CPlot*>& objects, bool checkpoint) {
  const auto known = [this](const CPlot* o) {
    return o && (Holds(data_.series, o) || Holds(data_.areas, o) || Holds(data_.functions, o) ||
                 Holds(data_.commentaries, o));
  };
  if (std::none_of(objects.begin(), objects.end(), known)) return 0;
  if (checkpoint) Checkpoint();
  int removed = 0;
  for (const CPlot* object : objects) {
    if (!known(object)) continue;
    if (Erase(data_.series, object) || Erase(data_.areas, object) || Erase(data_.functions, object) ||
        Erase(data_.commentaries, object))
      ++removed;
  }
  ForgetMissingCurrents();
  MarkDistribution();
  SetModified(true);
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return removed;
}

int CMainDoc::PurgeEmpty() {
  const auto before = data_.series.size() + data_.areas.size();
  std::erase_if(data_.series, [](const auto& s) { return IsPurgeable(*s); });
  std::erase_if(data_.areas, [](const auto& a) { return IsPurgeable(*a); });
  const auto purged = static_cast<int>(before - data_.series.size() - data_.areas.size());
  if (purged == 0) return 0;
  ForgetMissingCurrents();
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  return purged;
}

void CMainDoc::ClearAll() {
  Checkpoint();
  DeleteContents();
  selectedAreaCount_ = 0;
  Notify([](DocObserver& o) { o.ObjectListChanged(); });
  Changed();
}

void CMainDoc::MakeCurrentArea(CPlotClip& area) {
  auto& list = data_.areas;
  const auto it = std::find_if(list.begin(), list.end(), [&](const auto& a) { return a.get() == &area; });
  if (it == list.end()) return;
  std::unique_ptr<CPlotClip> moved = std::move(*it);
  list.erase(it);
  list.push_back(std::move(moved));
  currentArea_ = &area;
}

void CMainDoc::SetPageSize(int width, int height) {
  data_.pageWidth = width;
  data_.pageHeight = height;
  Relayout();
  Notify([](DocObserver& o) { o.PageResized(); });
}

void CMainDoc::ApplyPageSize(int width, int height) {
  SetPageSize(std::clamp(width, kMinPageSize, kMaxPageSize),
              std::clamp(height, kMinPageSize, kMaxPageSize));
  ChangedWithOutlines();
  if (currentSeries_)
    if (const auto step = StepOf(data_.editor)) currentSeries_->step = *step;
  RecountSelectedAreas();
}

void CMainDoc::FitPageToWindow(int clientWidth, int clientHeight, int pixelsPerInchX,
                               int pixelsPerInchY) {
  if (pixelsPerInchX <= 0 || pixelsPerInchY <= 0) return;
  Checkpoint();
  const auto tenths = [](int pixels, int perInch) {
    return static_cast<int>(static_cast<long long>(pixels) * 254 / perInch);
  };
  ApplyPageSize(tenths(clientWidth, pixelsPerInchX), tenths(clientHeight, pixelsPerInchY));
}

void CMainDoc::SetAxisScales(const CAxeScale& x, const CAxeScale& y) {
  data_.axisX.scale.Assign(x);
  data_.axisY.scale.Assign(y);
  Relayout();
  ChangedWithOutlines();
}

void CMainDoc::SetDistributionMode(int command) {
  switch (command) {
    case cmd::kDiagram: data_.histo.mode = distribution::kDiagram; break;
    case cmd::kDistribution: data_.histo.mode = distribution::kDensity; break;
    case cmd::kOccupation: data_.histo.mode = distribution::kOccupation; break;
    default: data_.histo.mode = distribution::kNone; break;
  }
  Changed();
}

void CMainDoc::ToggleLegend() {
  data_.legend.visible = data_.legend.visible ? 0 : 1;
  const Rect legend = data_.legend.rect;
  SetModified(true);
  Notify([&](DocObserver& o) {
    o.DocumentChanged();
    o.RepaintRegion(legend);
  });
}

// --- change notification ------------------------------------------------------------------

void CMainDoc::Changed() {
  MarkDistribution();
  SetModified(true);
  Notify([](DocObserver& o) {
    o.DocumentChanged();
    o.RepaintAll();
  });
}

void CMainDoc::ChangedWithOutlines() {
  const CAxeScale& x = data_.axisX.scale;
  const CAxeScale& y = data_.axisY.scale;
  for (const auto& series : data_.series) {
    series->sizeFollowsScale = data_.histo.density.sizeFollowsScale ? 1 : 0;
    series->ApplyScales(x, y);
  }
  for (const auto& area : data_.areas) area->ApplyScales(x, y);
  for (const auto& function : data_.functions) {
    function->ApplyScales(x, y);
    // Sampling depends on whether the scales are linear.
    function->Resample();
  }
  for (const auto& commentary : data_.commentaries) commentary->ApplyScales(x, y);
  Changed();
}

void CMainDoc::ObjectChanged(const CPlot& object) {
  SetModified(true);
  int margin = 0;
  if (const auto* series = dynamic_cast<const CPlotDot*>(&object))
    margin = 2 * std::max(series->halfWidth, series->halfHeight);
  else if (dynamic_cast<const CPlotClip*>(&object))
    margin = TenthMmToPlot(10000);
  const Rect region = object.Bounds().Inflated(margin, margin);
  Notify([&](DocObserver& o) {
    o.DocumentChanged();
    o.RepaintRegion(region);
  });
}

// --- undo/redo -----------------------------------------------------------------------------

bool CMainDoc::Checkpoint() {
  const auto path = history_.NextUndoPath();
  if (!path) return false;
  if (!WriteSnapshotFile(*path, data_).ok) return false;
  history_.PushUndo(*path);
  history_.ClearRedo();
  return true;
}

bool CMainDoc::DiscardCheckpoint() {
  if (!history_.CanUndo()) return false;
  history_.PopUndo();
  return true;
}

bool CMainDoc::Restore(bool undo) {
  if (undo ? !history_.CanUndo() : !history_.CanRedo()) return false;
  // The current state goes to the other list first.
  const auto keep = undo ? history_.NextRedoPath() : history_.NextUndoPath();
  if (!keep || !WriteSnapshotFile(*keep, data_).ok) return false;
  DocumentData restored;
  const FileResult read = LoadDocumentFile(undo ? history_.LastUndo() : history_.LastRedo(), restored);
  if (!read.ok) return false;
  if (undo) {
    history_.PushRedo(*keep);
    history_.PopUndo();
  } else {
    history_.PushUndo(*keep);
    history_.PopRedo();
  }
  history_.restoring = true;
  DeleteContents();
  data_ = std::move(restored);
  Reset();
  history_.restoring = false;
  Changed();
  return true;
}

bool CMainDoc::Undo() { return Restore(true); }

bool CMainDoc::Redo() { return Restore(false); }

}  // namespace tracemont
