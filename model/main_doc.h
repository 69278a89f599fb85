// CMainDoc: the one document of the program. It owns the plot objects in
// four lists, hands out their ids, keeps the current object of each kind,
// performs every operation that adds, removes or changes objects, keeps an
// undo/redo history of whole-document snapshots and tells its observers
// about every change.
//
// Positions are plot units, lengths typed by the user 0.1 mm. A colour
// argument of 0 in queries and bulk operations means any colour, otherwise
// only objects of that colour command; invisible objects are skipped.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/doc_observer.h"
#include "model/document_data.h"
#include "model/document_file.h"
#include "model/undo_history.h"

namespace tracemont {

inline constexpr const char* kMsgRemovePointsInAreas = "All points in area will be removed.";

// Commands of the distribution display.
namespace cmd {
constexpr int kDiagram = 32870;
constexpr int kDistribution = 32871;
constexpr int kOccupation = 32873;
}  // namespace cmd

// How a new series looks: colour and shape commands, marker size (0.1 mm)
// and aspect (height / width).
struct SeriesStyle {
  int colourCommand = cmd::kBlackPoints;
  int shapeCommand = cmd::kRoundPoints;
  int size = 10;
  double aspect = 1.0;
};

// How a new function looks: colour command and colour (0x00BBGGRR), line
// width (0.1 mm, clamped to 1..100, 0 taken as 1), deviation corridor and
// sampler option.
struct FunctionStyle {
  int colourCommand = cmd::kBlackPoints;
  Colour colour = 0;
  int width = 1;
  bool corridor = false;
  int samplerOption = 0;
};

class CMainDoc {
 public:
  // Outline of the density range at a point (the distribution display's
  // tracer); set by the statistics code.
  using RangeTracer = std::function<std::vector<Point>(Point)>;
  // Asks the user a question with OK and Cancel; true for OK.
  using Confirm = std::function<bool(std::string_view message)>;

  // A new document with the defaults, its page laid out.
  CMainDoc();
  // Deletes the objects and the undo snapshots with their folder.
  ~CMainDoc() = default;
  CMainDoc(const CMainDoc&) = delete;
  CMainDoc& operator=(const CMainDoc&) = delete;

  // --- observers (not owned; remove one before destroying it) ---------------
  void AddObserver(DocObserver& observer);
  void RemoveObserver(DocObserver& observer);

  // --- content ----------------------------------------------------------------
  // The stored content. Changing it directly is allowed; call Changed() or
  // ChangedWithOutlines() afterwards.
  DocumentData& Data() { return data_; }
  const DocumentData& Data() const { return data_; }
  const PlotList<CPlotDot>& Series() const { return data_.series; }
  const PlotList<CPlotClip>& Areas() const { return data_.areas; }
  const PlotList<CPlotFunc>& Functions() const { return data_.functions; }
  const PlotList<CPlotText>& Commentaries() const { return data_.commentaries; }
  // The plot rectangle of the page in plot units (from the last layout).
  const Rect& PageRect() const { return pageRect_; }
  // Version of the last file read (1.00..1.10 as 100..110) or written (110).
  int FileVersion() const { return fileVersion_; }

  CPlotDot* CurrentSeries() const { return currentSeries_; }
  CPlotClip* CurrentArea() const { return currentArea_; }
  CPlotFunc* CurrentFunction() const { return currentFunction_; }
  CPlotText* CurrentCommentary() const { return currentCommentary_; }
  // Choose a current object; one that is not in its list clears the choice.
  void SetCurrentSeries(CPlotDot* series);
  void SetCurrentFunction(CPlotFunc* function);
  void SetCurrentCommentary(CPlotText* commentary);

  // Points gathered for automation clients.
  std::vector<DotValue> selectedPoints;
  // Object id used by the automation property ArrayVar.
  std::int32_t arrayId = -1;
  // When 0 the document closes without asking to save.
  std::int32_t savePrompt = 1;

  bool IsModified() const { return modified_; }
  void SetModified(bool modified);
  // Modified and the save prompt is on.
  bool ShouldAskToSave() const { return modified_ && savePrompt != 0; }
  int SelectedAreaCount() const { return selectedAreaCount_; }

  // --- life cycle ----------------------------------------------------------------
  // Empties the document back to the defaults; clears the history.
  void NewDocument();
  // Reads a file. On failure the document is empty (the defaults) and the
  // result carries the message. Clears the history; not modified afterwards.
  FileResult Open(const std::string& path);
  // Purges empty objects and saves without ever destroying the previous
  // file; not modified afterwards when it succeeds.
  FileResult Save(const std::string& path);
  // Deletes all objects of the four lists and forgets the current ones.
  void DeleteContents();

  // --- creation (each takes an undo checkpoint first) -----------------------------
  // A new current series with the document's scales, the editor's drawing
  // step and connect default; (x, y) added as its first point when asked.
  // Nothing when no id is left.
  CPlotDot* NewSeries(Point at, const SeriesStyle& style, int source,
                      const std::optional<std::string>& name, bool addFirstPoint);
  // A new series holding the records as they are (no spacing check).
  CPlotDot* NewSeriesFromValues(const std::vector<DotValue>& records, const SeriesStyle& style,
                                int source, const std::optional<std::string>& name);
  // The same, taking over the records' storage (large imports).
  CPlotDot* NewSeriesFromValues(std::vector<DotValue>&& records, const SeriesStyle& style, int source,
                                const std::optional<std::string>& name);
  // A new current area; its fill follows the editor's default.
  CPlotClip* NewArea(int colourCommand, int kindCommand);
  CPlotClip* NewAreaAt(Point at, int colourCommand, int kindCommand);
  // Only in display modes 2 and 3 with a tracer set: an area of kind 32782
  // round the density range at `at`, when the range has at least 3 points.
  CPlotClip* NewRangeArea(Point at, int colourCommand);
  void SetRangeTracer(RangeTracer tracer) { rangeTracer_ = std::move(tracer); }
  // A new current function over the range records. Nothing (no object, no
  // id used, current function unchanged) when the parameter vector is
  // rejected.
  CPlotFunc* NewFunction(const FuncParams& params, const std::vector<DotValue>& range,
                         const FunctionStyle& style);
  // A new current commentary anchored at `at` with empty text.
  CPlotText* NewCommentary(Point at, Colour textColour);

  // --- queries ----------------------------------------------------------------------
  template <class T>
  T* FindById(const PlotList<T>& list, std::uint32_t id) const;
  // The first visible object of the colour whose HitTest is true.
  template <class T>
  T* HitObject(const PlotList<T>& list, Point p, int colour) const;
  struct VertexHit {
    CPlotClip* area;
    int vertex;
  };
  // The first area with a vertex handle at p.
  std::optional<VertexHit> HitVertex(Point p, int colour) const;
  struct SectionHit {
    CPlotFunc* function;
    int section;
  };
  // The first function with a section (method 40) at p.
  std::optional<SectionHit> HitFunction(Point p, int colour) const;
  // Appends every point of every series inside the area to `records` (in
  // series order); returns the length of `records`.
  int CollectInArea(const CPlotClip& area, std::vector<DotValue>& records, int colour) const;

  // --- editing ----------------------------------------------------------------------
  void SelectInCurrentArea(int colour);
  // Clears every series' selection; true when any point was selected.
  bool ClearAllSelections();
  // Checkpoint, then removes the selected points of every series; returns how many.
  int RemoveSelectedPoints();
  // Checkpoint; the area becomes current and the points of the colour inside
  // it are removed; empty objects are purged; the change is announced.
  int RemovePointsInArea(CPlotClip& area, int colour);
  // Asks kMsgRemovePointsInAreas; on OK removes the points inside every
  // selected visible area (each point once). Returns how many; 0 when
  // cancelled or no area is selected.
  int RemovePointsInSelectedAreas(const Confirm& confirm);
  // When areas are selected: clears all selections, then selects the points
  // inside every selected area (a point in two areas is listed twice).
  void SelectPointsInSelectedAreas(int colour);
  // Move every selected visible area, or the selected points of every
  // visible series; true when anything moved.
  bool MoveSelectedAreas(int dx, int dy);
  bool MoveSelectedPoints(int dx, int dy);
  void ToggleAreaSelection(CPlotClip& area);
  void UnselectAllAreas();
  // Counts visible selected areas and tells the observers; returns the count.
  int RecountSelectedAreas();
  // Erases the points under p in every visible series of the colour.
  int EraseInRect(Point p, int colour);
  // Checkpoint, then removes and deletes the object from its list; false
  // when it is in no list.
  bool RemoveObject(const CPlot* object);
  // Removes several objects as one step: one checkpoint (unless the caller
  // took it already as part of a larger step). Unknown pointers are skipped.
  // Returns how many were removed.
  int RemoveObjects(const std::vector<const CPlot*>& objects, bool checkpoint = true);
  // Deletes visible series without points and areas too small to draw;
  // returns how many.
  int PurgeEmpty();
  // Checkpoint, then deletes every object; the change is announced.
  void ClearAll();
  // Moves the area to the end of the area list and makes it current.
  void MakeCurrentArea(CPlotClip& area);

  // Stores the page size (0.1 mm) and lays the page out again.
  void SetPageSize(int width, int height);
  // Clamps each side to 100..10000 first, announces the change with new
  // outlines, refreshes the current series' step, recounts selected areas.
  void ApplyPageSize(int width, int height);
  // Checkpoint, then the page takes the size of a window's client area.
  void FitPageToWindow(int clientWidth, int clientHeight, int pixelsPerInchX, int pixelsPerInchY);
  // The axes take the scales (their plot ranges stay those of the page);
  // every object follows.
  void SetAxisScales(const CAxeScale& x, const CAxeScale& y);
  // 32870 diagram (3), 32871 distribution (2), 32873 occupation (1), any
  // other command none (0); announces the change.
  void SetDistributionMode(int command);
  // Shows or hides the legend.
  void ToggleLegend();

  // --- change notification --------------------------------------------------------
  // Distribution marked, modified, containers and views told.
  void Changed();
  // Every object takes the document's scales and recomputes its outline
  // (series also take the size-follows-scale option), then Changed().
  void ChangedWithOutlines();
  // A property of one object changed: modified, containers told, its
  // neighbourhood repainted.
  void ObjectChanged(const CPlot& object);

  // --- undo/redo ----------------------------------------------------------------------
  // Saves the whole document as the next undo snapshot and empties the redo
  // list. False (lists unchanged) when the snapshot cannot be written.
  bool Checkpoint();
  // Forgets the newest undo snapshot, for a change taken back without a step
  // of its own (a preview that a wizard replaces or removes); false when the
  // undo list is empty.
  bool DiscardCheckpoint();
  // Back to the last snapshot (the current state goes to the redo list).
  // False, with the document and the lists unchanged, when nothing can be
  // undone or a snapshot cannot be written or read.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  const UndoHistory& History() const { return history_; }

 private:
  // Reset after new, open, undo and redo.
  void Reset();
  void Relayout();
  void MarkDistribution() { data_.histo.recomputeNeeded = true; }
  // Clears current pointers that no longer point into their lists.
  void ForgetMissingCurrents();
  bool Restore(bool undo);
  template <class F>
  void Notify(F&& call);

  DocumentData data_;
  UndoHistory history_;
  std::vector<DocObserver*> observers_;
  RangeTracer rangeTracer_;
  Rect pageRect_;
  int fileVersion_ = 110;
  bool modified_ = false;
  int selectedAreaCount_ = 0;
  CPlotDot* currentSeries_ = nullptr;
  CPlotClip* currentArea_ = nullptr;
  CPlotFunc* currentFunction_ = nullptr;
  CPlotText* currentCommentary_ = nullptr;
};

// Whether an object passes a colour filter (0 passes everything).
inline bool MatchesColour(const CPlot& object, int colour) {
  return colour == 0 || object.ColourCommand() == colour;
}

template <class T>
T* CMainDoc::FindById(const PlotList<T>& list, std::uint32_t id) const {
  for (const auto& o : list)
    if (o->visible && o->id == id) return o.get();
  return nullptr;
}

template <class T>
T* CMainDoc::HitObject(const PlotList<T>& list, Point p, int colour) const {
  for (const auto& o : list)
    if (o->visible && MatchesColour(*o, colour) && o->HitTest(p)) return o.get();
  return nullptr;
}

}  // namespace tracemont
