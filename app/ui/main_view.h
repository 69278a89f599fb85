// CMainView: the scrolling view of the page. It paints the document through
// the core's page composition on a QPainterSurface at the screen's
// resolution and repaints what the document reports as changed.
#pragma once

#include <QAbstractScrollArea>
#include <cstdint>
#include <functional>

#include "model/doc_observer.h"
#include "model/geometry.h"

namespace tracemont {

class CMainDoc;

class CMainView : public QAbstractScrollArea, public DocObserver {
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

  // DocObserver
  void RepaintAll() override;
  void RepaintRegion(const Rect& region) override;
  void PageResized() override;

 signals:
  // The pointer moved over the page: position in plot units.
  void PointerMoved(tracemont::Point plot);
  // Files dropped on the view.
  void FilesDropped(const QStringList& paths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateScrollBars();

  CMainDoc& document_;
  bool showGrid_ = false;
  std::uint32_t currentId_ = 0;
};

}  // namespace tracemont
