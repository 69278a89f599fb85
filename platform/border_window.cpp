#include "platform/border_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegion>
#include <QScreen>

#include "platform/picture_loader.h"

namespace tracemont {
namespace {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QString Swatch(Colour c) {
  return QStringLiteral("background:%1; border:1px solid black; min-width:16px;").arg(ToQColor(c).name());
}

}  // namespace

PixelBuffer GrabScreen(const QRect& rect) {
  if (rect.isEmpty()) return {};
  QScreen* screen = QGuiApplication::screenAt(rect.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect local = rect.translated(-screen->geometry().topLeft());
  const QPixmap pixmap = screen->grabWindow(0, local.x(), local.y(), local.width(), local.height());
  if (pixmap.isNull()) return {};
  QImage image = pixmap.toImage();
  // High-resolution screens give more device pixels; trace in logical ones.
  if (image.size() != rect.size()) image = image.scaled(rect.size());
  return ToPixelBuffer(image);
}

BorderWindow::BorderWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("BorderWindow");
  setWindowTitle(tr("Digitize from screen"));
  setMouseTracking(true);
  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(kBorder, 2, kBorder, 2);
  colourLabel_ = new QLabel(this);
  pickedLabel_ = new QLabel(this);
  pickedLabel_->setObjectName("PickedColour");
  pickButton_ = new QPushButton(tr("Pick"), this);
  pickButton_->setToolTip(tr("Click a pixel of the curve inside the frame to pick its colour"));
  digitizeButton_ = new QPushButton(tr("Digitize"), this);
  digitizeButton_->setObjectName("Digitize");
  strip->addWidget(colourLabel_);
  strip->addWidget(pickedLabel_);
  strip->addStretch();
  strip->addWidget(pickButton_);
  strip->addWidget(digitizeButton_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* column = new QWidget(this);
  column->setLayout(strip);
  column->setFixedHeight(kStrip);
  layout->addWidget(column, 0, Qt::AlignTop);
  connect(pickButton_, &QPushButton::clicked, this, [this] { picking_ ? StopPicking() : StartPicking(); });
  connect(digitizeButton_, &QPushButton::clicked, this, [this] {
    if (onDigitize_) onDigitize_();
  });
  ShowColours();
  resize(320, 240);
}

void BorderWindow::Open(const QRect& screenRect) {
  StopPicking();
  const QRect inner = screenRect.isEmpty() ? QRect(screenRect.topLeft(), QSize(300, 200)) : screenRect;
  setGeometry(inner.adjusted(-kBorder, -kStrip, kBorder, kBorder));
  show();
  raise();
}

QRect BorderWindow::InteriorRect() const {
  return rect().adjusted(kBorder, kStrip, -kBorder, -kBorder);
}

QRect BorderWindow::FramedRect() const { return InteriorRect().translated(geometry().topLeft()); }

void BorderWindow::SetColour(Colour colour, const QString& name) {
  colour_ = colour;
  colourName_ = name;
  ShowColours();
}

void BorderWindow::ShowColours() {
  colourLabel_->setText(colourName_.isEmpty() ? QString() : colourName_);
  colourLabel_->setStyleSheet(QStringLiteral("color:%1; font-weight:bold;").arg(ToQColor(colour_).name()));
  if (picked_) {
    pickedLabel_->setStyleSheet(Swatch(*picked_));
    pickedLabel_->setToolTip(tr("Curve colour: %1, %2, %3")
                                 .arg(RedOf(*picked_)).arg(GreenOf(*picked_)).arg(BlueOf(*picked_)));
  } else {
    pickedLabel_->setStyleSheet(QString());
    pickedLabel_->setText(tr("no colour picked"));
  }
  if (picked_) pickedLabel_->setText(QStringLiteral("    "));
}

void BorderWindow::StartPicking() {
  // Freeze what the frame shows, then fill the frame with it so that clicks
  // land on this window instead of the graph below.
  const PixelBuffer pixels = GrabScreen(FramedRect());
  frozen_ = ToImage(pixels);
  picking_ = !frozen_.isNull();
  pickButton_->setDown(picking_);
  UpdateMask();
  update();
}

void BorderWindow::StopPicking() {
  picking_ = false;
  frozen_ = QImage();
  hover_ = {-1, -1};
  if (pickButton_) pickButton_->setDown(false);
  UpdateMask();
  update();
}

void BorderWindow::PickAt(QPoint framePoint) {
  if (frozen_.isNull() || !frozen_.rect().contains(framePoint)) return;
  const QRgb c = frozen_.pixel(framePoint);
  picked_ = Rgb(qRed(c), qGreen(c), qBlue(c));
  ShowColours();
  StopPicking();
}

void BorderWindow::UpdateMask() {
  if (picking_)
    clearMask();
  else
    setMask(QRegion(rect()).subtracted(QRegion(InteriorRect())));
}

void BorderWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (picking_) StopPicking();
  UpdateMask();
}

void BorderWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(255, 200, 0));
  painter.fillRect(QRect(0, 0, width(), kStrip), palette().window());
  if (!picking_) return;
  const QRect inner = InteriorRect();
  painter.drawImage(inner.topLeft(), frozen_);
  const QPoint at = hover_ - inner.topLeft();
  if (!frozen_.rect().contains(at)) return;
  // A magnified view of the pixels round the pointer, placed away from it.
  constexpr int kHalf = 7, kZoom = 8;
  const QRect source(at.x() - kHalf, at.y() - kHalf, 2 * kHalf + 1, 2 * kHalf + 1);
  const int side = source.width() * kZoom;
  QPoint where = hover_ + QPoint(16, 16);
  if (where.x() + side > width()) where.setX(hover_.x() - 16 - side);
  if (where.y() + side > height()) where.setY(hover_.y() - 16 - side);
  const QRect target(where, QSize(side, side));
  painter.fillRect(target, Qt::white);
  painter.drawImage(target, frozen_.copy(source));
  painter.setPen(Qt::black);
  painter.drawRect(target.adjusted(0, 0, -1, -1));
  painter.drawRect(QRect(where + QPoint(kHalf * kZoom, kHalf * kZoom), QSize(kZoom, kZoom)));
}

void BorderWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (picking_ && InteriorRect().contains(p)) {
    PickAt(p - InteriorRect().topLeft());
    return;
  }
  // The bottom-right corner resizes; the strip and edges move the window.
  const bool corner = p.x() > width() - 3 * kBorder && p.y() > height() - 3 * kBorder;
  drag_ = corner ? Drag::Resize : Drag::Move;
  dragStart_ = event->globalPosition().toPoint();
  geometryAtStart_ = geometry();
}

void BorderWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (picking_) {
    hover_ = p;
    update();
  }
  const bool corner = p.x() > width() - 3 * kBorder && p.y() > height() - 3 * kBorder;
  setCursor(corner ? Qt::SizeFDiagCursor : picking_ && InteriorRect().contains(p) ? Qt::CrossCursor : Qt::SizeAllCursor);
  if (drag_ == Drag::None) return;
  const QPoint delta = event->globalPosition().toPoint() - dragStart_;
  if (drag_ == Drag::Move) {
    move(geometryAtStart_.topLeft() + delta);
  } else {
    resize(std::max(4 * kBorder + 40, geometryAtStart_.width() + delta.x()),
           std::max(kStrip + 3 * kBorder + 20, geometryAtStart_.height() + delta.y()));
  }
}

void BorderWindow::mouseReleaseEvent(QMouseEvent*) { drag_ = Drag::None; }

}  // namespace tracemont
