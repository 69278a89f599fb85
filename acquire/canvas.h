// CCanvas: the plot view's controller. The view hands it every mouse and key
// event in plot units; it keeps the state of the gesture in progress, runs
// the handler of the current tool and changes the document only through its
// operations, taking one undo checkpoint per gesture that changes anything.
// What the view must do in return (repaint, capture, cursor, status texts,
// panels) goes through CanvasHost, so this class knows nothing of windows.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/axes.h"
#include "model/geometry.h"

namespace tracemont {

class CMainDoc;
class CPlot;
class CPlotClip;
class CPlotText;

// Tool commands of the editor tool bar.
namespace tool {
constexpr int kPointsOnLines = 32778;
constexpr int kDropPoints = 32779;
constexpr int kRectArea = 32780;
constexpr int kIrregularArea = 32781;
constexpr int kCommentary = 32783;
constexpr int kErase = 32784;
constexpr int kInformation = 32814;
constexpr int kDensityInformation = 32815;
constexpr int kRemoveAreaFunction = 32836;
constexpr int kSelect = 32837;
constexpr int kMagnifier = 32813;
// Any id that is not a tool above (the magnifier included) gives kSelect.
int Normalised(int id);
}  // namespace tool

// The pictures the view shows as its cursor; the view draws them.
enum class CanvasCursor {
  kArrow,
  kPointsOnLines,
  kDropPoints,
  kArea,
  kCommentaryNew,
  kCommentaryEdit,
  kErase,
  kInformation,
  kDensityInformation,
  kRemove,
  kMagnifier,
  kMove,
};

// The drawing settings of the editor tool bar, read at every event.
struct DrawingSettings {
  int tool = tool::kSelect;  // a tool command; unknown ids act as kSelect
  int colour = 32853;        // colour command 32850..32855
  int shape = 32843;         // shape command 32843..32845
  int size = 10;             // marker size, 0.1 mm
};

// One mouse event in plot units (y up). `shift` widens the colour filter to
// every colour.
struct CanvasInput {
  Point at;
  bool shift = false;
};

// Kinds of information panel a gesture may open.
enum class PanelKind { kSeries, kArea, kFunction, kEllipse };

// What the view does for the canvas. Every member has a harmless default so
// that tests implement only what they look at.
class CanvasHost {
 public:
  virtual ~CanvasHost() = default;
  virtual DrawingSettings Settings() const { return {}; }
  // Take (true) or release the mouse capture.
  virtual void SetCapture(bool /*on*/) {}
  virtual void SetCursor(CanvasCursor /*cursor*/) {}
  // The page position text for the status bar.
  virtual void ShowPosition(const std::string& /*text*/) {}
  // Axis values at the pointer for the tool bar; nothing empties the fields.
  virtual void ShowAxisValues(std::optional<Point> /*plot*/, double /*x*/, double /*y*/) {}
  // Show the "Scales" window, or hide it when it is visible.
  virtual void ToggleScalesWindow() {}
  // Open the panel of the object at the pointer position `at` (plot units).
  virtual void OpenPanel(PanelKind /*kind*/, CPlot& /*object*/, Point /*at*/) {}
  // Open (or show and focus) the commentary panel for the commentary.
  virtual void OpenCommentaryPanel(CPlotText& /*commentary*/, Point /*at*/) {}
  // Whether a commentary is being edited in an open panel.
  virtual bool CommentaryPanelOpen() const { return false; }
  // Ask OK/Cancel; true for OK.
  virtual bool Confirm(std::string_view /*message*/) { return true; }
  // True while the document is shown inside a container, not our frame.
  virtual bool Embedded() const { return false; }
};

class ToolHandler;

class CCanvas {
 public:
  // Both must outlive the canvas.
  CCanvas(CMainDoc& document, CanvasHost& host);
  ~CCanvas();
  CCanvas(const CCanvas&) = delete;
  CCanvas& operator=(const CCanvas&) = delete;

  // Mouse events. Each returns the plot rectangle to repaint; nothing when
  // nothing changed on screen.
  std::optional<Rect> ButtonDown(const CanvasInput& input);
  std::optional<Rect> MouseMove(const CanvasInput& input);
  std::optional<Rect> ButtonUp(const CanvasInput& input);
  std::optional<Rect> DoubleClick(const CanvasInput& input);
  // The Delete key: removes the selected points of the filtered colour after
  // confirmation, only with the select tool. Returns how many were removed.
  int DeleteKey(bool shift);
  // Removes the selected points of the colour (0 every colour) after
  // confirmation; only while the select tool is current, else 0.
  int RemoveSelectedPoints(int colour);

  // The tool bar's tool, colour, shape or size changed: the next stroke
  // starts a new series; another tool disarms the magnifier.
  void ToolChanged();
  void DrawingStyleChanged();

  // The magnifier command: arm, disarm, or restore the saved scales.
  void MagnifierCommand();
  // 0 off, 2 armed, 1 zoomed.
  int MagnifierState() const { return magnifier_; }

  // Path drawing of the current commentary: when it is visible and in
  // draw-text mode its old path (outline points from 8 on) is removed and
  // the next gestures of the commentary tool draw a new one. Returns the
  // rectangle to repaint (the old path), or nothing when it is not armed.
  std::optional<Rect> StartPathDrawing();
  void EndPathDrawing() { pathDrawing_ = false; }
  bool PathDrawing() const { return pathDrawing_; }

  // The cursor the view should show now.
  CanvasCursor Cursor() const;
  // True between a button down that took the capture and its button up.
  bool HasCapture() const { return captured_; }

  // State shared with the tool handlers during one gesture.
  struct Gesture {
    Point last;
    int toolId = tool::kSelect;   // the tool that started it
    int vertex = -1;             // area vertex being dragged
    CPlotClip* moving = nullptr;  // area moved with Shift or the select tool
    CPlotText* commentary = nullptr;  // commentary being dragged
    bool checkpointed = false;    // an undo snapshot was taken for it
    bool newObject = false;       // the gesture created its object
    bool drawingPath = false;     // adds path points to the commentary
  };

 private:
  ToolHandler& HandlerFor(int toolId);
  bool InAxisLabelBox(Point p) const;
  void UpdatePositionDisplay(Point p);
  std::optional<Rect> ZoomInto(Point p);

  CMainDoc& doc_;
  CanvasHost& host_;
  std::map<int, std::unique_ptr<ToolHandler>> handlers_;
  Gesture gesture_;
  bool captured_ = false;
  int magnifier_ = 0;
  bool pathDrawing_ = false;
  CAxeScale savedX_;
  CAxeScale savedY_;
};

}  // namespace tracemont
