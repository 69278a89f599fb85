// CMainView: the scrolling view of the page. It paints the document through
// the core's page composition on a QPainterSurface at the screen's
// resolution and repaints what the document reports as changed. Mouse and
// key events go to its CCanvas, for which it repaints, captures the mouse,
// draws the cursors and opens the context menu.
#pragma once

#include <QAbstractScrollArea>
#include <cstdint>
#include <functional>
#include <memory>

#include "acquire/canvas.h"
#include "model/doc_observer.h"
#include "model/geometry.h"

namespace tracemont {

class CMainDoc;
class CInfoPanels;
class CCommentaryPanel;

class CMainView : public QAbstractScrollArea, public DocObserver, public CanvasHost {
  Q_OBJECT

 public:
  // The document must outlive the view; the view observes it.
  explicit CMainView(CMainDoc& document, QWidget* parent = nullptr);
  ~CMainView() override;

  // Page grid of the view (command "Grid"); screen only.
  bool GridShown() const { return showGrid_; }
  void SetGridShown(bool on);
  // The object the user works on, painted on top of its kind.
  void SetCurrentObjectId(std::uint32_t id);

  // Plot position of a viewport pixel, and back.
  Point ToPlot(QPoint viewportPixel) const;
  QPoint ToViewport(Point plot) const;
  // The page area visible in the viewport, plot units.
  Rect VisiblePlotArea() const;
  int PixelsPerInchX() const;
  int PixelsPerInchY() const;

  // The controller of the mouse tools.
  CCanvas& Canvas() { return *canvas_; }
  // The information panels of series, areas and functions.
  CInfoPanels& Panels() { return *panels_; }
  // Where the drawing settings come from (the editor tool bar); without one
  // the defaults are used.
  void SetSettingsSource(std::function<DrawingSettings()> source) { settingsSource_ = std::move(source); }
  // Tells whether a command can be carried out now (the frame's own rules);
  // context-menu items of commands it refuses are disabled. Without it every
  // command counts as available.
  void SetCommandAvailability(std::function<bool(int)> available) { commandAvailable_ = std::move(available); }
  // The panel of the current commentary.
  CCommentaryPanel& CommentaryPanel() { return *commentaryPanel_; }
  // Invalidates the device rectangle of a plot rectangle, widened by the
  // pixels a pen or marker may reach beyond it.
  void RepaintPlotRect(const Rect& region);

  // CanvasHost
  DrawingSettings Settings() const override;
  void SetCapture(bool on) override;
  void SetCursor(CanvasCursor cursor) override;
  void ShowPosition(const std::string& text) override;
  void ShowAxisValues(std::optional<Point> plot, double x, double y) override;
  void ToggleScalesWindow() override { emit ScalesWindowRequested(); }
  void OpenPanel(PanelKind kind, CPlot& object, Point at) override;
  void OpenCommentaryPanel(CPlotText& commentary, Point at) override;
  bool CommentaryPanelOpen() const override;
  bool Confirm(std::string_view message) override;

  // DocObserver
  void RepaintAll() override;
  void RepaintRegion(const Rect& region) override;
  void PageResized() override;

 signals:
  // The pointer moved over the page: position in plot units.
  void PointerMoved(tracemont::Point plot);
  // Files dropped on the view.
  void FilesDropped(const QStringList& paths);
  // The status bar's position text.
  void PositionText(const QString& text);
  // Axis values at the pointer; `inside` false when it left the plot.
  void AxisValues(bool inside, double x, double y);
  void ScalesWindowRequested();
  // A command chosen in the context menu.
  void CommandRequested(int id);
  // A wizard made a series with these drawing settings; they become the
  // editor bar's.
  void DrawingSettingsChosen(int colourCommand, int shapeCommand, int radius);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateScrollBars();
  CanvasInput InputOf(const QMouseEvent& event) const;
  void Handle(const std::optional<Rect>& changed);
  void ShowContextMenu(QPoint viewportPixel);
  QPoint ScreenOf(Point plot) const;

  CMainDoc& document_;
  bool showGrid_ = false;
  std::uint32_t currentId_ = 0;
  std::function<DrawingSettings()> settingsSource_;
  std::function<bool(int)> commandAvailable_;
  std::unique_ptr<CCanvas> canvas_;
  std::unique_ptr<CInfoPanels> panels_;
  CCommentaryPanel* commentaryPanel_ = nullptr;  // a child of the view
};

}  // namespace tracemont
