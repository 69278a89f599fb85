#include "app/ui/main_view.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <cmath>

#include "app/ui/canvas_cursors.h"
#include "app/ui/commentary_panel.h"
#include "app/ui/info_panels.h"
#include "model/main_doc.h"
#include "model/text.h"
#include "platform/picture_loader.h"
#include "platform/qpainter_surface.h"
#include "render/page_painter.h"

namespace tracemont {

CMainView::CMainView(CMainDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  setAcceptDrops(true);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setBackgroundRole(QPalette::Dark);
  setFocusPolicy(Qt::StrongFocus);
  document_.AddObserver(*this);
  canvas_ = std::make_unique<CCanvas>(document_, *this);
  panels_ = std::make_unique<CInfoPanels>(document_, [this] { return VisiblePlotArea(); }, this);
  panels_->FunctionPanel().SetDrawingDefaults([this] {
    const DrawingSettings s = Settings();
    return ReadDefaults{s.colour, s.shape, s.size};
  });
  connect(&panels_->FunctionPanel(), &CFuncInfo::SeriesMade, this, &CMainView::DrawingSettingsChosen);
  commentaryPanel_ = new CCommentaryPanel(document_, *canvas_, [this](const Rect& r) { RepaintPlotRect(r); }, this);
  viewport()->setCursor(CanvasCursorPicture(canvas_->Cursor()));
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
  options.background = BackgroundPicture::Instance().For(document_.Data().editor);
  PaintPage(document_.Data(), surface, options);
}

void CMainView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CMainView::mouseMoveEvent(QMouseEvent* event) {
  emit PointerMoved(ToPlot(event->position().toPoint()));
  Handle(canvas_->MouseMove(InputOf(*event)));
  if (!canvas_->HasCapture()) viewport()->setCursor(CanvasCursorPicture(canvas_->Cursor()));
}

CanvasInput CMainView::InputOf(const QMouseEvent& event) const {
  return {ToPlot(event.position().toPoint()), (event.modifiers() & Qt::ShiftModifier) != 0};
}

void CMainView::Handle(const std::optional<Rect>& changed) {
  if (changed) RepaintPlotRect(*changed);
}

void CMainView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    ShowContextMenu(event->position().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  Handle(canvas_->ButtonDown(InputOf(*event)));
}

void CMainView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Handle(canvas_->ButtonUp(InputOf(*event)));
  viewport()->setCursor(CanvasCursorPicture(canvas_->Cursor()));
}

void CMainView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Handle(canvas_->DoubleClick(InputOf(*event)));
}

void CMainView::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    canvas_->DeleteKey((event->modifiers() & Qt::ShiftModifier) != 0);
    return;
  }
  QAbstractScrollArea::keyReleaseEvent(event);
}

void CMainView::RepaintPlotRect(const Rect& region) {
  const Rect r = region.Normalized();
  const QPoint a = ToViewport({r.left, r.top});
  const QPoint b = ToViewport({r.right, r.bottom});
  // Pens and markers reach past the logical rectangle by a few pixels.
  viewport()->update(QRect(a, b).normalized().adjusted(-5, -6, 6, 5));
}

QPoint CMainView::ScreenOf(Point plot) const { return viewport()->mapToGlobal(ToViewport(plot)); }

DrawingSettings CMainView::Settings() const { return settingsSource_ ? settingsSource_() : DrawingSettings{}; }

// Qt already sends every move and the release to the widget that got the
// press, which is the capture the canvas needs.
void CMainView::SetCapture(bool /*on*/) {}

void CMainView::SetCursor(CanvasCursor cursor) { viewport()->setCursor(CanvasCursorPicture(cursor)); }

void CMainView::ShowPosition(const std::string& text) { emit PositionText(QString::fromStdString(text)); }

void CMainView::ShowAxisValues(std::optional<Point> plot, double x, double y) {
  emit AxisValues(plot.has_value(), x, y);
}

void CMainView::OpenPanel(PanelKind kind, CPlot& object, Point at) {
  panels_->Open(kind, object.id, ScreenOf(at));
}

void CMainView::OpenCommentaryPanel(CPlotText& commentary, Point at) {
  // Reloading the panel it already edits would drop text not yet put in.
  if (commentaryPanel_->isVisible() && document_.CurrentCommentary() == &commentary) {
    commentaryPanel_->raise();
    commentaryPanel_->activateWindow();
    return;
  }
  commentaryPanel_->Load(commentary, ScreenOf(at));
}

bool CMainView::CommentaryPanelOpen() const { return commentaryPanel_->isVisible(); }

bool CMainView::Confirm(std::string_view message) {
  return QMessageBox::question(this, tr("Tracemont"), QString::fromUtf8(message.data(), static_cast<int>(message.size())),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

namespace {

// String of a colour's name in the context menu texts.
int ColourNameId(int colourCommand) {
  switch (colourCommand) {
    case cmd::kRedPoints: return 41653;
    case cmd::kGreenPoints: return 41652;
    case cmd::kBluePoints: return 41651;
    case cmd::kBrownPoints: return 41654;
    case cmd::kGrayPoints: return 41655;
    default: return 41650;
  }
}

}  // namespace

void CMainView::ShowContextMenu(QPoint viewportPixel) {
  setFocus(Qt::MouseFocusReason);
  viewport()->update();
  const Point at = ToPlot(viewportPixel);
  QMenu menu(this);
  const auto available = [&](int command) { return !commandAvailable_ || commandAvailable_(command); };
  const auto add = [&](int textId, int command, bool enabled = true) {
    QAction* action = menu.addAction(QString::fromStdString(LoadStr(textId)));
    action->setEnabled(enabled && available(command));
    connect(action, &QAction::triggered, this, [this, command] { emit CommandRequested(command); });
    return action;
  };
  add(32702, 32700);
  menu.addSeparator();
  const DocumentData& d = document_.Data();
  const bool onLegend = d.legend.visible != 0 && d.legend.rect.Contains(at);
  CPlotText* commentary = document_.HitObject(document_.Commentaries(), at, 0);
  if (commentary) {
    document_.SetCurrentCommentary(commentary);
    QAction* remove = menu.addAction(QString::fromStdString(LoadStr(32712)));
    const std::uint32_t id = commentary->id;
    connect(remove, &QAction::triggered, this, [this, id] {
      if (CPlotText* c = document_.FindById(document_.Commentaries(), id)) {
        document_.RemoveObject(c);
        document_.Changed();
      }
    });
  }
  if (!onLegend && !commentary) {
    std::size_t selected = 0;
    for (const auto& s : document_.Series())
      if (s->visible) selected += s->Selection().size();
    const bool any = selected > 0;
    const std::string colour = LoadStr(ColourNameId(Settings().colour));
    const auto addColoured = [&](int textId, int command, bool enabled) {
      QString text = QString::fromStdString(LoadStr(textId));
      text.replace(QStringLiteral("%s"), QString::fromStdString(colour));
      QAction* action = menu.addAction(text);
      action->setEnabled(enabled && available(command));
      connect(action, &QAction::triggered, this, [this, command] { emit CommandRequested(command); });
    };
    addColoured(41641, 32830, any);
    add(41642, 32831, any);
    menu.addSeparator();
    addColoured(41643, 32834, any);
    add(41644, 32835, any);
    menu.addSeparator();
    // The fitting commands work on the points inside the selected areas.
    const bool areasSelected = document_.SelectedAreaCount() > 0;
    addColoured(41670, 32874, areasSelected);
    add(41671, 32875, areasSelected);
    addColoured(41682, 32797, any);
    add(41683, 32796, any);
    add(41673, 32876, any);
  }
  menu.addSeparator();
  add(33302, 33300);
  menu.exec(viewport()->mapToGlobal(viewportPixel));
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
