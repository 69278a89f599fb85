#include "acquire/canvas.h"

#include <algorithm>
#include <cmath>

#include "approx/func_params.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "model/text.h"

namespace tracemont {

int tool::Normalised(int id) {
  switch (id) {
    case kPointsOnLines: case kDropPoints: case kRectArea: case kIrregularArea: case kCommentary:
    case kErase: case kInformation: case kDensityInformation: case kRemoveAreaFunction: case kSelect:
      return id;
    default:
      return kSelect;
  }
}

namespace {

// Room round an area for its labels and handles, plot units (10000 x 0.1 mm).
constexpr int kAreaMargin = 394;

// What a moving selected area paints: its bounds (handles included) widened
// by its outline pen and selection frame. Clicks repaint the wider margin
// above; a drag repaints on every move and over a large series that margin
// would cost most of a page repaint each time.
Rect MovedAreaRepaint(const CPlotClip& area) {
  const int reach = std::max(area.frameWidth, 3 * area.lineWidth) + 2;
  return area.Bounds().Inflated(reach, reach);
}

Rect Between(Point a, Point b) { return Rect{a.x, a.y, b.x, b.y}.Normalized(); }

bool DrawingAllowed(const CMainDoc& doc) {
  const int mode = doc.Data().histo.mode;
  return mode == distribution::kNone || mode == distribution::kOccupation;
}

Rect SeriesRepaint(const CPlotDot& series, const Rect& r) {
  return r.Inflated(2 * series.halfWidth, 2 * series.halfHeight);
}

}  // namespace

// What one tool handler sees during an event.
struct ToolContext {
  CMainDoc& doc;
  CanvasHost& host;
  CCanvas::Gesture& gesture;
  DrawingSettings settings;
  bool shift = false;
  bool takeCapture = false;  // set by Down to hold the mouse until the button is up

  // The colour filter of the gesture: every colour with Shift.
  int Colour() const { return shift ? 0 : settings.colour; }
  // One undo snapshot per gesture, taken before its first change.
  void Touch() {
    if (gesture.checkpointed) return;
    doc.Checkpoint();
    gesture.checkpointed = true;
  }
};

// One mouse tool. Down starts a gesture; Move and Up reach it only while the
// canvas holds the capture.
class ToolHandler {
 public:
  virtual ~ToolHandler() = default;
  virtual std::optional<Rect> Down(ToolContext& ctx, Point at) = 0;
  virtual std::optional<Rect> Move(ToolContext& /*ctx*/, Point /*at*/) { return std::nullopt; }
  virtual std::optional<Rect> Up(ToolContext& ctx, Point at) { return Move(ctx, at); }
  virtual std::optional<Rect> DoubleClick(ToolContext& ctx, Point at);
  virtual CanvasCursor Cursor(const CanvasHost& host) const = 0;
};

namespace {

// The information panel of the function, area or series under `at`.
std::optional<Rect> OpenInformation(ToolContext& ctx, Point at) {
  const CMainDoc& doc = ctx.doc;
  const int colour = ctx.Colour();
  if (CPlotFunc* f = doc.HitObject(doc.Functions(), at, colour)) {
    ctx.host.OpenPanel(MethodOf(f->params) == method::kEllipse ? PanelKind::kEllipse : PanelKind::kFunction,
                       *f, at);
  } else if (CPlotClip* a = doc.HitObject(doc.Areas(), at, colour)) {
    ctx.host.OpenPanel(PanelKind::kArea, *a, at);
  } else if (CPlotDot* s = doc.HitObject(doc.Series(), at, colour)) {
    ctx.host.OpenPanel(PanelKind::kSeries, *s, at);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Rect> ToolHandler::DoubleClick(ToolContext& ctx, Point at) { return OpenInformation(ctx, at); }

namespace {

class PointsTool final : public ToolHandler {
 public:
  explicit PointsTool(bool onLines) : onLines_(onLines) {}

  std::optional<Rect> Down(ToolContext& ctx, Point at) override {
    if (!DrawingAllowed(ctx.doc)) return std::nullopt;
    CPlotDot* series = ctx.doc.CurrentSeries();
    if (!series) {
      const SeriesStyle style{ctx.settings.colour, ctx.settings.shape, ctx.settings.size, 1.0};
      series = ctx.doc.NewSeries(at, style, onLines_ ? source::kOnLines : source::kDropped, std::nullopt, true);
      if (!series) return std::nullopt;
      ctx.gesture.checkpointed = true;
      ctx.gesture.newObject = true;
    } else {
      if (!series->visible) return std::nullopt;
      ctx.Touch();
      // A further stroke of the same series starts its segment at the click.
      if (onLines_ && series->lineStart >= series->PointCount()) series->CPlotVal::AddPoint(at);
    }
    series->inProgress = 1;
    ctx.takeCapture = true;
    return SeriesRepaint(*series, series->Bounds());
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override {
    CPlotDot* series = Drawn(ctx);
    if (!series) return std::nullopt;
    const Rect before = series->Bounds();
    if (onLines_)
      series->SetLineEnd(at);
    else
      series->AddPoint(at);
    const Rect after = series->Bounds().United(before).United(Between(ctx.gesture.last, at));
    // The segment of "Points on Lines" runs from its start, which may lie
    // outside the bounds kept while drawing.
    Rect changed = after;
    if (onLines_ && series->lineStart < series->PointCount())
      changed = changed.Including(series->Outline()[static_cast<std::size_t>(series->lineStart)]);
    ctx.gesture.last = at;
    return SeriesRepaint(*series, changed);
  }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    CPlotDot* series = Drawn(ctx);
    if (!series) return std::nullopt;
    std::optional<Rect> changed = Move(ctx, at);
    if (onLines_) {
      series->SprayLine();
    } else {
      series->FinishEdit();
    }
    series->inProgress = 0;
    ctx.doc.Changed();
    return SeriesRepaint(*series, changed ? changed->United(series->Bounds()) : series->Bounds());
  }

  CanvasCursor Cursor(const CanvasHost&) const override {
    return onLines_ ? CanvasCursor::kPointsOnLines : CanvasCursor::kDropPoints;
  }

  std::optional<Rect> DoubleClick(ToolContext&, Point) override { return std::nullopt; }

 private:
  CPlotDot* Drawn(ToolContext& ctx) const {
    if (!DrawingAllowed(ctx.doc)) return nullptr;
    CPlotDot* series = ctx.doc.CurrentSeries();
    return series && series->visible ? series : nullptr;
  }
  bool onLines_;
};

class AreaTool final : public ToolHandler {
 public:
  explicit AreaTool(int kind) : kind_(kind) {}

  std::optional<Rect> Down(ToolContext& ctx, Point at) override {
    ctx.takeCapture = true;
    ctx.gesture.vertex = -1;
    CMainDoc& doc = ctx.doc;
    if (ctx.shift) {
      if (CPlotClip* area = doc.HitObject(doc.Areas(), at, 0)) {
        ctx.Touch();
        ctx.gesture.moving = area;
        doc.MakeCurrentArea(*area);
        ctx.host.SetCursor(CanvasCursor::kMove);
        return area->Bounds().Inflated(kAreaMargin, kAreaMargin);
      }
    }
    if (const auto hit = doc.HitVertex(at, ctx.Colour())) {
      ctx.Touch();
      doc.MakeCurrentArea(*hit->area);
      ctx.gesture.vertex = hit->vertex;
      return std::nullopt;
    }
    CPlotClip* area = doc.NewAreaAt(at, ctx.settings.colour, kind_);
    if (!area) return std::nullopt;
    ctx.gesture.checkpointed = true;
    ctx.gesture.newObject = true;
    return area->Bounds().Inflated(kAreaMargin, kAreaMargin);
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override { return Step(ctx, at, false); }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    std::optional<Rect> changed = Step(ctx, at, true);
    CMainDoc& doc = ctx.doc;
    CPlotClip* area = doc.CurrentArea();
    ctx.gesture.vertex = -1;
    ctx.gesture.moving = nullptr;
    if (!area || !ctx.gesture.checkpointed) return changed;
    area->FinishEdit();
    // An area too small to see is dropped here rather than left invisible
    // until the next save purges it.
    if (IsDegenerate(*area)) {
      const Rect gone = area->Bounds().Inflated(kAreaMargin, kAreaMargin);
      doc.PurgeEmpty();
      changed = changed ? changed->United(gone) : gone;
    }
    doc.Changed();
    return changed;
  }

  std::optional<Rect> DoubleClick(ToolContext& ctx, Point at) override {
    if (CPlotClip* area = ctx.doc.HitObject(ctx.doc.Areas(), at, 0)) ctx.host.OpenPanel(PanelKind::kArea, *area, at);
    return std::nullopt;
  }

  CanvasCursor Cursor(const CanvasHost&) const override { return CanvasCursor::kArea; }

  // No vertex, narrower or lower than twice the vertex handle, or too small
  // for the document to draw and keep.
  static bool IsDegenerate(const CPlotClip& area) {
    if (area.PointCount() == 0) return true;
    Rect extent = Rect::At(area.Outline().front());
    for (const Point& p : area.Outline()) extent = extent.Including(p);
    if (extent.Width() < 2 * kHandleSize || extent.Height() < 2 * kHandleSize) return true;
    return IsPurgeable(area);
  }

 private:
  std::optional<Rect> Step(ToolContext& ctx, Point at, bool finish) {
    CPlotClip* area = ctx.doc.CurrentArea();
    if (!area || !area->visible || !ctx.gesture.checkpointed) return std::nullopt;
    const Rect before = area->Bounds();
    const int dx = at.x - ctx.gesture.last.x;
    const int dy = at.y - ctx.gesture.last.y;
    if (ctx.gesture.moving) {
      if (dx != 0 || dy != 0) area->Offset(dx, dy);
    } else if (ctx.gesture.vertex >= 0) {
      if (dx != 0 || dy != 0) area->MovePoint(ctx.gesture.vertex, dx, dy);
    } else if (ctx.gesture.newObject) {
      if (kind_ == cmd::kRectArea)
        area->SetCorner(at, finish);
      else
        area->AddPoint(at, finish);
    }
    ctx.gesture.last = at;
    return before.United(area->Bounds()).Inflated(kAreaMargin, kAreaMargin);
  }
  int kind_;
};

class EraseTool final : public ToolHandler {
 public:
  std::optional<Rect> Down(ToolContext& ctx, Point) override {
    ctx.takeCapture = true;
    return std::nullopt;
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override {
    const Point last = ctx.gesture.last;
    ctx.gesture.last = at;
    if (!DrawingAllowed(ctx.doc)) return std::nullopt;
    const int colour = ctx.Colour();
    if (!ctx.doc.HitObject(ctx.doc.Series(), at, colour)) return std::nullopt;
    // Every series of the colour may lose points, so the widest marker counts.
    int halfWidth = 1;
    int halfHeight = 1;
    for (const auto& s : ctx.doc.Series()) {
      if (!s->visible || !MatchesColour(*s, colour)) continue;
      halfWidth = std::max(halfWidth, s->halfWidth);
      halfHeight = std::max(halfHeight, s->halfHeight);
    }
    ctx.Touch();
    if (ctx.doc.EraseInRect(at, colour) == 0) return std::nullopt;
    return Rect::At(at).Inflated(2 * halfWidth, 2 * halfHeight).United(Between(last, at));
  }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    std::optional<Rect> changed = Move(ctx, at);
    if (!ctx.gesture.checkpointed) return changed;
    ctx.doc.PurgeEmpty();
    ctx.doc.Changed();
    return changed;
  }

  CanvasCursor Cursor(const CanvasHost&) const override { return CanvasCursor::kErase; }
};

class RemoveTool final : public ToolHandler {
 public:
  std::optional<Rect> Down(ToolContext& ctx, Point) override {
    ctx.takeCapture = true;
    return std::nullopt;
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override {
    ctx.gesture.last = at;
    CMainDoc& doc = ctx.doc;
    const int colour = ctx.Colour();
    if (const auto hit = doc.HitFunction(at, colour)) {
      const Rect before = hit->function->Bounds();
      ctx.Touch();
      hit->function->RemoveSection(hit->section);
      doc.SetModified(true);
      return before.United(hit->function->Bounds()).Inflated(kAreaMargin, kAreaMargin);
    }
    const auto vertex = doc.HitVertex(at, colour);
    if (!vertex) return std::nullopt;
    CPlotClip* area = vertex->area;
    const Rect whole = area->Bounds().Inflated(kAreaMargin, kAreaMargin);
    ctx.Touch();
    area->RemovePoint(vertex->vertex);
    // An area left with too few vertices to draw or to survive saving and
    // undo is removed as a whole.
    if (IsPurgeable(*area)) {
      doc.PurgeEmpty();
      doc.Changed();
    } else {
      area->FinishEdit();
      doc.SetModified(true);
    }
    return whole;
  }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    std::optional<Rect> changed = Move(ctx, at);
    if (ctx.gesture.checkpointed) ctx.doc.Changed();
    return changed;
  }

  CanvasCursor Cursor(const CanvasHost&) const override { return CanvasCursor::kRemove; }
};

class SelectTool final : public ToolHandler {
 public:
  std::optional<Rect> Down(ToolContext& ctx, Point at) override {
    CMainDoc& doc = ctx.doc;
    CPlotClip* area = doc.HitObject(doc.Areas(), at, 0);
    if (!area) return std::nullopt;
    doc.ToggleAreaSelection(*area);
    const Rect changed = area->Bounds().Inflated(kAreaMargin, kAreaMargin);
    if (area->selected) {
      doc.MakeCurrentArea(*area);
      doc.SelectInCurrentArea(ctx.Colour());
      ctx.gesture.moving = area;
      ctx.host.SetCursor(CanvasCursor::kMove);
      ctx.takeCapture = true;
    } else {
      doc.ClearAllSelections();
      ctx.gesture.moving = nullptr;
    }
    return changed;
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override {
    CPlotClip* area = ctx.gesture.moving;
    if (!area || !area->visible) return std::nullopt;
    const int dx = at.x - ctx.gesture.last.x;
    const int dy = at.y - ctx.gesture.last.y;
    ctx.gesture.last = at;
    if (dx == 0 && dy == 0) return std::nullopt;
    ctx.Touch();
    const std::optional<Rect> before = Covered(ctx.doc);
    ctx.doc.MoveSelectedAreas(dx, dy);
    ctx.doc.MoveSelectedPoints(dx, dy);
    const std::optional<Rect> after = Covered(ctx.doc);
    if (!before || !after) return before ? before : after;
    return before->United(*after);
  }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    std::optional<Rect> changed = Move(ctx, at);
    ctx.gesture.moving = nullptr;
    if (ctx.gesture.checkpointed) ctx.doc.Changed();
    return changed;
  }

  CanvasCursor Cursor(const CanvasHost&) const override { return CanvasCursor::kArrow; }

 private:
  // Everything a move of the selection repaints: selected areas with their
  // labels, and the series holding selected points.
  static std::optional<Rect> Covered(const CMainDoc& doc) {
    std::optional<Rect> r;
    const auto add = [&](const Rect& x) { r = r ? r->United(x) : x; };
    for (const auto& a : doc.Areas())
      if (a->visible && a->selected) add(MovedAreaRepaint(*a));
    for (const auto& s : doc.Series())
      if (s->visible && !s->Selection().empty()) add(SelectionRepaint(*s));
    return r;
  }

  // The selected points, with their neighbours when lines connect them (those
  // lines move too), widened by the marker: a small selection in a large
  // series repaints a small rectangle.
  static Rect SelectionRepaint(const CPlotDot& series) {
    const std::vector<Point>& outline = series.Outline();
    std::optional<Rect> r;
    const auto add = [&](std::size_t i) {
      if (i >= outline.size()) return;
      const Rect p{outline[i].x, outline[i].y, outline[i].x, outline[i].y};
      r = r ? r->United(p) : p;
    };
    for (const std::uint32_t i : series.Selection()) {
      add(i);
      if (!series.connect) continue;
      if (i > 0) add(i - 1);
      add(static_cast<std::size_t>(i) + 1);
    }
    return SeriesRepaint(series, r ? *r : series.Bounds());
  }
};

class CommentaryTool final : public ToolHandler {
 public:
  explicit CommentaryTool(const bool& pathDrawing) : pathDrawing_(pathDrawing) {}

  std::optional<Rect> Down(ToolContext& ctx, Point at) override {
    CMainDoc& doc = ctx.doc;
    if (CPlotText* text = doc.CurrentCommentary(); pathDrawing_ && text && text->visible && text->drawText) {
      ctx.Touch();
      ctx.gesture.commentary = text;
      ctx.gesture.drawingPath = true;
      ctx.takeCapture = true;
      return AddPathPoint(*text, at, false);
    }
    if (ctx.host.CommentaryPanelOpen() && doc.CurrentCommentary()) {
      ctx.host.OpenCommentaryPanel(*doc.CurrentCommentary(), at);
      ctx.gesture.commentary = doc.CurrentCommentary();
      ctx.takeCapture = true;
      return std::nullopt;
    }
    if (CPlotText* hit = doc.HitObject(doc.Commentaries(), at, 0)) {
      doc.SetCurrentCommentary(hit);
      ctx.gesture.commentary = hit;
      ctx.takeCapture = true;
      return std::nullopt;
    }
    CPlotText* created = doc.NewCommentary(at, LineColourOfCommand(ctx.settings.colour));
    if (created) ctx.host.OpenCommentaryPanel(*created, at);
    return std::nullopt;
  }

  std::optional<Rect> Move(ToolContext& ctx, Point at) override {
    CPlotText* text = ctx.gesture.commentary;
    if (text && ctx.gesture.drawingPath) return AddPathPoint(*text, at, false);
    const int dx = at.x - ctx.gesture.last.x;
    const int dy = at.y - ctx.gesture.last.y;
    ctx.gesture.last = at;
    if (!text || (dx == 0 && dy == 0)) return std::nullopt;
    ctx.Touch();
    const Rect before = text->Bounds();
    text->Offset(dx, dy);
    return before.United(text->Bounds()).Inflated(2 * CPlotText::kShadowOffset, 2 * CPlotText::kShadowOffset);
  }

  std::optional<Rect> Up(ToolContext& ctx, Point at) override {
    std::optional<Rect> changed =
        ctx.gesture.commentary && ctx.gesture.drawingPath ? AddPathPoint(*ctx.gesture.commentary, at, true) : Move(ctx, at);
    ctx.gesture.commentary = nullptr;
    if (ctx.gesture.checkpointed) ctx.doc.Changed();
    return changed;
  }

  std::optional<Rect> DoubleClick(ToolContext& ctx, Point at) override {
    if (CPlotText* hit = ctx.doc.HitObject(ctx.doc.Commentaries(), at, 0)) {
      ctx.doc.SetCurrentCommentary(hit);
      ctx.host.OpenCommentaryPanel(*hit, at);
    }
    return std::nullopt;
  }

  CanvasCursor Cursor(const CanvasHost& host) const override {
    return host.CommentaryPanelOpen() ? CanvasCursor::kCommentaryEdit : CanvasCursor::kCommentaryNew;
  }

 private:
  static std::optional<Rect> AddPathPoint(CPlotText& text, Point at, bool finish) {
    const Rect before = text.Bounds();
    if (!text.AddPoint(at, finish) && !finish) return std::nullopt;
    return before.United(text.Bounds());
  }
  const bool& pathDrawing_;
};

class InformationTool final : public ToolHandler {
 public:
  explicit InformationTool(bool density) : density_(density) {}

  std::optional<Rect> Down(ToolContext& ctx, Point at) override {
    if (density_ && !DrawingAllowed(ctx.doc)) {
      CPlotClip* area = ctx.doc.NewRangeArea(at, ctx.settings.colour);
      if (!area) return std::nullopt;
      ctx.doc.Changed();
      return area->Bounds().Inflated(kAreaMargin, kAreaMargin);
    }
    return OpenInformation(ctx, at);
  }

  CanvasCursor Cursor(const CanvasHost&) const override {
    return density_ ? CanvasCursor::kDensityInformation : CanvasCursor::kInformation;
  }

 private:
  bool density_;
};

// A copy of `scale` under which the page span [low, high] (plot units along
// the axis) fills the axis' plot range.
CAxeScale ZoomedScale(const CAxeScale& scale, int low, int high) {
  const double plotExtent = scale.hi - scale.lo;
  const double extent = PlotToCm(high) - PlotToCm(low);
  if (plotExtent <= 0.0 || extent <= 0.0) return scale;
  const double ratio = extent / plotExtent;
  CAxeScale zoomed = scale;
  zoomed.b = scale.FromPlot(scale.direction >= 0 ? low : high);
  if (scale.IsLogarithmic())
    zoomed.base = std::pow(scale.base, ratio);
  else
    zoomed.k = scale.k * ratio;
  zoomed.Normalise();
  return zoomed;
}

}  // namespace

CCanvas::CCanvas(CMainDoc& document, CanvasHost& host) : doc_(document), host_(host) {
  handlers_[tool::kPointsOnLines] = std::make_unique<PointsTool>(true);
  handlers_[tool::kDropPoints] = std::make_unique<PointsTool>(false);
  handlers_[tool::kRectArea] = std::make_unique<AreaTool>(cmd::kRectArea);
  handlers_[tool::kIrregularArea] = std::make_unique<AreaTool>(cmd::kIrregularArea);
  handlers_[tool::kCommentary] = std::make_unique<CommentaryTool>(pathDrawing_);
  handlers_[tool::kErase] = std::make_unique<EraseTool>();
  handlers_[tool::kInformation] = std::make_unique<InformationTool>(false);
  handlers_[tool::kDensityInformation] = std::make_unique<InformationTool>(true);
  handlers_[tool::kRemoveAreaFunction] = std::make_unique<RemoveTool>();
  handlers_[tool::kSelect] = std::make_unique<SelectTool>();
}

CCanvas::~CCanvas() = default;

ToolHandler& CCanvas::HandlerFor(int toolId) { return *handlers_.at(tool::Normalised(toolId)); }

bool CCanvas::InAxisLabelBox(Point p) const {
  const DocumentData& d = doc_.Data();
  for (const CPlaneAxe* axis : {&d.axisX, &d.axisY})
    if (axis->position != 0 && !axis->axisRect.IsEmpty() && axis->axisRect.Contains(p)) return true;
  return false;
}

void CCanvas::UpdatePositionDisplay(Point p) {
  if (!host_.Embedded()) {
    const double unit = doc_.Data().inches ? 0.01 : 0.0254;
    host_.ShowPosition(StrFormat(" X: %5.2f     Y: %5.2f", p.x * unit, -(p.y * unit)));
  }
  const DocumentData& d = doc_.Data();
  if (doc_.PageRect().Contains(p))
    host_.ShowAxisValues(p, d.axisX.scale.FromPlot(p.x), d.axisY.scale.FromPlot(p.y));
  else
    host_.ShowAxisValues(std::nullopt, 0.0, 0.0);
}

std::optional<Rect> CCanvas::ButtonDown(const CanvasInput& input) {
  if (InAxisLabelBox(input.at)) {
    host_.ToggleScalesWindow();
    return std::nullopt;
  }
  if (magnifier_ == 2) return std::nullopt;
  const DrawingSettings settings = host_.Settings();
  gesture_ = Gesture{};
  gesture_.last = input.at;
  gesture_.toolId = tool::Normalised(settings.tool);
  ToolContext ctx{doc_, host_, gesture_, settings, input.shift};
  std::optional<Rect> changed = HandlerFor(gesture_.toolId).Down(ctx, input.at);
  if (ctx.takeCapture) {
    captured_ = true;
    host_.SetCapture(true);
  }
  return changed;
}

std::optional<Rect> CCanvas::MouseMove(const CanvasInput& input) {
  UpdatePositionDisplay(input.at);
  if (!captured_) return std::nullopt;
  ToolContext ctx{doc_, host_, gesture_, host_.Settings(), input.shift};
  return HandlerFor(gesture_.toolId).Move(ctx, input.at);
}

std::optional<Rect> CCanvas::ButtonUp(const CanvasInput& input) {
  if (magnifier_ == 2) {
    if (captured_) host_.SetCapture(false);
    captured_ = false;
    return ZoomInto(input.at);
  }
  if (!captured_) return std::nullopt;
  ToolContext ctx{doc_, host_, gesture_, host_.Settings(), input.shift};
  std::optional<Rect> changed = HandlerFor(gesture_.toolId).Up(ctx, input.at);
  captured_ = false;
  host_.SetCapture(false);
  gesture_ = Gesture{};
  host_.SetCursor(Cursor());
  return changed;
}

std::optional<Rect> CCanvas::DoubleClick(const CanvasInput& input) {
  if (InAxisLabelBox(input.at)) {
    host_.ToggleScalesWindow();
    return std::nullopt;
  }
  const DrawingSettings settings = host_.Settings();
  Gesture gesture;
  gesture.last = input.at;
  ToolContext ctx{doc_, host_, gesture, settings, input.shift};
  return HandlerFor(settings.tool).DoubleClick(ctx, input.at);
}

int CCanvas::DeleteKey(bool shift) {
  return RemoveSelectedPoints(shift ? 0 : host_.Settings().colour);
}

int CCanvas::RemoveSelectedPoints(int colour) {
  if (tool::Normalised(host_.Settings().tool) != tool::kSelect) return 0;
  const auto hasSelection = [&](const auto& s) {
    return s->visible && MatchesColour(*s, colour) && !s->Selection().empty();
  };
  if (std::none_of(doc_.Series().begin(), doc_.Series().end(), hasSelection)) return 0;
  if (!host_.Confirm(kMsgRemovePointsInAreas)) return 0;
  doc_.Checkpoint();
  int removed = 0;
  for (const auto& s : doc_.Data().series)
    if (hasSelection(s)) removed += s->RemoveSelected();
  doc_.PurgeEmpty();
  doc_.Changed();
  return removed;
}

void CCanvas::ToolChanged() {
  doc_.SetCurrentSeries(nullptr);
  if (magnifier_ == 2) magnifier_ = 0;
  host_.SetCursor(Cursor());
}

std::optional<Rect> CCanvas::StartPathDrawing() {
  pathDrawing_ = false;
  CPlotText* text = doc_.CurrentCommentary();
  if (!text || !text->visible || !text->drawText) return std::nullopt;
  const Rect before = text->Bounds();
  for (int i = text->PointCount() - 1; i >= CPlotText::kPathStart; --i) text->RemovePoint(i);
  pathDrawing_ = true;
  return before;
}

void CCanvas::DrawingStyleChanged() { doc_.SetCurrentSeries(nullptr); }

void CCanvas::MagnifierCommand() {
  switch (magnifier_) {
    case 0: magnifier_ = 2; break;
    case 2: magnifier_ = 0; break;
    default:
      doc_.SetAxisScales(savedX_, savedY_);
      magnifier_ = 0;
      break;
  }
  host_.SetCursor(Cursor());
}

std::optional<Rect> CCanvas::ZoomInto(Point p) {
  const CPlotClip* area = doc_.HitObject(doc_.Areas(), p, 0);
  if (!area) return std::nullopt;
  const Rect b = area->Bounds().Normalized();
  if (b.Width() < 2 || b.Height() < 2) return std::nullopt;
  const DocumentData& d = doc_.Data();
  savedX_ = d.axisX.scale;
  savedY_ = d.axisY.scale;
  doc_.SetAxisScales(ZoomedScale(savedX_, b.left, b.right), ZoomedScale(savedY_, b.bottom, b.top));
  magnifier_ = 1;
  host_.SetCursor(Cursor());
  return std::nullopt;
}

CanvasCursor CCanvas::Cursor() const {
  if (magnifier_ == 2) return CanvasCursor::kMagnifier;
  if (captured_ && gesture_.moving) return CanvasCursor::kMove;
  return handlers_.at(tool::Normalised(host_.Settings().tool))->Cursor(host_);
}

}  // namespace tracemont
