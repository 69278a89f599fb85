#include "app/ui/canvas_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <map>

namespace tracemont {
namespace {

constexpr int kSide = 32;

// A cross hair with its hot spot in the centre and a small tool sign in the
// lower right quarter.
QPixmap CrossHair() {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
    p.setPen(QPen(colour, width));
    p.drawLine(16, 2, 16, 12);
    p.drawLine(16, 20, 16, 30);
    p.drawLine(2, 16, 12, 16);
    p.drawLine(20, 16, 30, 16);
  }
  return pixmap;
}

void Sign(QPainter& p, CanvasCursor kind) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  switch (kind) {
    case CanvasCursor::kPointsOnLines:
      p.setBrush(Qt::black);
      p.drawLine(20, 29, 30, 21);
      p.drawEllipse(QPointF(20, 29), 1.5, 1.5);
      p.drawEllipse(QPointF(25, 25), 1.5, 1.5);
      p.drawEllipse(QPointF(30, 21), 1.5, 1.5);
      break;
    case CanvasCursor::kDropPoints:
      p.setBrush(Qt::black);
      for (const QPointF c : {QPointF(21, 22), QPointF(28, 24), QPointF(23, 29)}) p.drawEllipse(c, 1.6, 1.6);
      break;
    case CanvasCursor::kArea:
      p.setBrush(QColor(255, 255, 255, 160));
      p.drawRect(20, 20, 10, 8);
      break;
    case CanvasCursor::kCommentaryNew:
    case CanvasCursor::kCommentaryEdit: {
      p.setBrush(kind == CanvasCursor::kCommentaryNew ? QColor(255, 255, 0) : QColor(160, 220, 255));
      p.drawRect(19, 19, 12, 9);
      p.drawLine(21, 22, 29, 22);
      p.drawLine(21, 25, 27, 25);
      break;
    }
    case CanvasCursor::kErase:
      p.setBrush(QColor(255, 160, 160));
      p.drawPolygon(QPolygonF({QPointF(19, 27), QPointF(25, 20), QPointF(31, 24), QPointF(25, 31)}));
      break;
    case CanvasCursor::kInformation:
    case CanvasCursor::kDensityInformation: {
      p.setBrush(kind == CanvasCursor::kInformation ? QColor(40, 90, 200) : QColor(200, 120, 40));
      p.drawEllipse(QPointF(25, 25), 6, 6);
      p.setPen(QPen(Qt::white, 2));
      p.drawLine(25, 24, 25, 29);
      p.drawPoint(25, 21);
      break;
    }
    case CanvasCursor::kRemove:
      p.setPen(QPen(QColor(200, 0, 0), 2));
      p.drawLine(20, 20, 30, 30);
      p.drawLine(30, 20, 20, 30);
      break;
    default:
      break;
  }
}

// A magnifying glass with its hot spot in the lens' centre.
QPixmap Magnifier() {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(QColor(255, 255, 255, 120));
  p.drawEllipse(QPointF(12, 12), 8, 8);
  p.setPen(QPen(Qt::black, 4));
  p.drawLine(18, 18, 28, 28);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(8, 12, 16, 12);
  p.drawLine(12, 8, 12, 16);
  return pixmap;
}

QCursor Make(CanvasCursor kind) {
  switch (kind) {
    case CanvasCursor::kArrow: return QCursor(Qt::ArrowCursor);
    case CanvasCursor::kMove: return QCursor(Qt::SizeAllCursor);
    case CanvasCursor::kMagnifier: return QCursor(Magnifier(), 12, 12);
    default: break;
  }
  QPixmap pixmap = CrossHair();
  QPainter p(&pixmap);
  Sign(p, kind);
  p.end();
  return QCursor(pixmap, 16, 16);
}

}  // namespace

QCursor CanvasCursorPicture(CanvasCursor kind) {
  static std::map<CanvasCursor, QCursor> cache;
  auto it = cache.find(kind);
  if (it == cache.end()) it = cache.emplace(kind, Make(kind)).first;
  return it->second;
}

}  // namespace tracemont
