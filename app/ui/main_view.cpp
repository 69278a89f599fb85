#include "app/ui/main_view.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <cmath>

#include "model/main_doc.h"
#include "platform/qpainter_surface.h"
#include "render/page_painter.h"

namespace tracemont {

CMainView::CMainView(CMainDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  setAcceptDrops(true);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setBackgroundRole(QPalette::Dark);
  document_.AddObserver(*this);
  UpdateScrollBars();
}

CMainView::~CMainView() { document_.RemoveObserver(*this); }

int CMainView::PixelsPerInchX() const { return std::max(1, logicalDpiX()); }
int CMainView::PixelsPerInchY() const { return std::max(1, logicalDpiY()); }

void CMainView::SetGridShown(bool on) {
  showGrid_ = on;
  viewport()->update();
}

void CMainView::SetCurrentObjectId(std::uint32_t id) {
  if (id == currentId_) return;
  currentId_ = id;
  viewport()->update();
}

Point CMainView::ToPlot(QPoint pixel) const {
  const double x = (pixel.x() + horizontalScrollBar()->value()) * 100.0 / PixelsPerInchX();
  const double y = -(pixel.y() + verticalScrollBar()->value()) * 100.0 / PixelsPerInchY();
  return {static_cast<int>(std::floor(x)), static_cast<int>(std::ceil(y))};
}

QPoint CMainView::ToViewport(Point plot) const {
  return {static_cast<int>(std::lround(plot.x * PixelsPerInchX() / 100.0)) - horizontalScrollBar()->value(),
          static_cast<int>(std::lround(-plot.y * PixelsPerInchY() / 100.0)) - verticalScrollBar()->value()};
}

Rect CMainView::VisiblePlotArea() const {
  const Point topLeft = ToPlot({0, 0});
  const Point bottomRight = ToPlot({viewport()->width() + 1, viewport()->height() + 1});
  return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}.Normalized();
}

void CMainView::UpdateScrollBars() {
  const Rect page{0, 0, TenthMmToPlot(document_.Data().pageWidth), -TenthMmToPlot(document_.Data().pageHeight)};
  const int width = static_cast<int>(std::ceil(page.Width() * PixelsPerInchX() / 100.0)) + 1;
  const int height = static_cast<int>(std::ceil(page.Height() * PixelsPerInchY() / 100.0)) + 1;
  horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
  verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  verticalScrollBar()->setPageStep(viewport()->height());
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);
}

void CMainView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setClipRect(event->rect());
  const QPointF origin(horizontalScrollBar()->value() * 100.0 / PixelsPerInchX(),
                       -verticalScrollBar()->value() * 100.0 / PixelsPerInchY());
  QPainterSurface surface(painter, PixelsPerInchX(), PixelsPerInchY(), false, origin);
  PagePaintOptions options;
  options.forPrinter = false;
  options.showGrid = showGrid_;
  options.currentId = currentId_;
  options.visibleArea = VisiblePlotArea();
  PaintPage(document_.Data(), surface, options);
}

void CMainView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CMainView::mouseMoveEvent(QMouseEvent* event) {
  emit PointerMoved(ToPlot(event->position().toPoint()));
  QAbstractScrollArea::mouseMoveEvent(event);
}

void CMainView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainView::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit FilesDropped(paths);
  }
}

void CMainView::RepaintAll() { viewport()->update(); }

void CMainView::RepaintRegion(const Rect& region) {
  const Rect r = region.Normalized();
  const QPoint a = ToViewport({r.left, r.top});
  const QPoint b = ToViewport({r.right, r.bottom});
  viewport()->update(QRect(a, b).normalized().adjusted(-2, -2, 2, 2));
}

void CMainView::PageResized() {
  UpdateScrollBars();
  viewport()->update();
}

}  // namespace tracemont
