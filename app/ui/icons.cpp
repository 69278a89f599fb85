#include "app/ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "app/command_table.h"
#include "model/colours.h"

namespace tracemont {
namespace {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Draws on a 24 x 24 canvas; `draw` gets a painter with antialiasing on.
template <class Draw>
QIcon Paint(Draw draw) {
  QIcon icon;
  for (const int size : {24, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

const QColor kInk(40, 40, 40);
const QColor kAccent(30, 90, 190);

void Page(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(Qt::white);
  QPainterPath path;
  path.moveTo(5, 2);
  path.lineTo(15, 2);
  path.lineTo(20, 7);
  path.lineTo(20, 22);
  path.lineTo(5, 22);
  path.closeSubpath();
  p.drawPath(path);
  p.drawLine(QPointF(15, 2), QPointF(15, 7));
  p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

void Arrow(QPainter& p, bool back) {
  p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  if (back) {
    path.moveTo(18, 19);
    path.cubicTo(22, 10, 14, 5, 6, 9);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(5, 9), QPointF(10, 12)}));
  } else {
    path.moveTo(6, 19);
    path.cubicTo(2, 10, 10, 5, 18, 9);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(15, 4), QPointF(19, 9), QPointF(14, 12)}));
  }
}

void Marker(QPainter& p, int shape, QPointF c, double r, const QColor& line, const QColor& fill) {
  p.setPen(QPen(line, 1.2));
  p.setBrush(fill);
  if (shape == cmd::kCrossPoints) {
    p.setPen(QPen(line, 2.0));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  } else if (shape == cmd::kTrianglePoints) {
    p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - r), QPointF(c.x() - r, c.y() + r),
                             QPointF(c.x() + r, c.y() + r)}));
  } else {
    p.drawEllipse(c, r, r);
  }
}

void Curve(QPainter& p, const QColor& colour) {
  p.setPen(QPen(colour, 2.0));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(3, 19);
  path.cubicTo(8, 2, 14, 24, 21, 5);
  p.drawPath(path);
}

void Dots(QPainter& p) {
  const QPointF points[] = {{5, 17}, {9, 12}, {13, 14}, {17, 8}, {20, 6}};
  for (const QPointF& c : points) Marker(p, cmd::kRoundPoints, c, 2.0, kInk, QColor(255, 182, 193));
}

void Axes(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(3, 21), QPointF(22, 21));
  p.drawLine(QPointF(3, 21), QPointF(3, 2));
}

}  // namespace

QIcon CommandIcon(int id) {
  switch (id) {
    case cmd::kFileNew:
      return Paint([](QPainter& p) { Page(p); });
    case cmd::kFileOpen:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(21, 8),
                                 QPointF(21, 20), QPointF(2, 20)}));
        p.setBrush(QColor(250, 225, 130));
        p.drawPolygon(QPolygonF({QPointF(4, 11), QPointF(23, 11), QPointF(21, 20), QPointF(2, 20)}));
      });
    case cmd::kFileSave:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(220, 220, 220));
        p.drawRect(QRectF(6, 13, 12, 8));
      });
    case cmd::kFilePrint:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 2, 10, 7));
        p.setBrush(QColor(180, 180, 190));
        p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 7));
      });
    case cmd::kPrintPreview:
      return Paint([](QPainter& p) {
        Page(p);
        p.setPen(QPen(kAccent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(11, 12), 4, 4);
        p.drawLine(QPointF(14, 15), QPointF(18, 19));
      });
    case cmd::kUndo:
      return Paint([](QPainter& p) { Arrow(p, true); });
    case cmd::kRedo:
      return Paint([](QPainter& p) { Arrow(p, false); });
    case cmd::kCopyPlot:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 2, 13, 15));
        p.drawRect(QRectF(8, 7, 13, 15));
        p.setPen(QPen(kAccent, 1.5));
        p.drawPolyline(QPolygonF({QPointF(10, 19), QPointF(13, 13), QPointF(16, 16), QPointF(19, 10)}));
      });
    case cmd::kAddFromFile:
    case cmd::kAddFromTable:
    case cmd::kPastePoints:
      return Paint([id](QPainter& p) {
        if (id == cmd::kAddFromTable) {
          p.setPen(QPen(kInk, 1));
          p.setBrush(Qt::white);
          p.drawRect(QRectF(2, 3, 20, 18));
          for (int y = 9; y < 21; y += 4) p.drawLine(QPointF(2, y), QPointF(22, y));
          p.drawLine(QPointF(9, 3), QPointF(9, 21));
        } else {
          Page(p);
          for (int y = 10; y < 20; y += 3) {
            p.setPen(QPen(id == cmd::kPastePoints ? kAccent : kInk, 1));
            p.drawLine(QPointF(8, y), QPointF(17, y));
          }
        }
        Marker(p, cmd::kRoundPoints, QPointF(18, 18), 3.5, kInk, QColor(144, 238, 144));
      });
    case cmd::kApproximation:
      return Paint([](QPainter& p) {
        Axes(p);
        Dots(p);
        Curve(p, kAccent);
      });
    case cmd::kFormula:
      return Paint([](QPainter& p) {
        Axes(p);
        QFont f = p.font();
        f.setItalic(true);
        f.setPixelSize(11);
        p.setFont(f);
        p.setPen(kAccent);
        p.drawText(QRectF(5, 2, 19, 16), Qt::AlignCenter, "f(u)");
      });
    case cmd::kCorrelation:
      return Paint([](QPainter& p) {
        Axes(p);
        Dots(p);
        p.setPen(QPen(kAccent, 1.5));
        p.setBrush(Qt::NoBrush);
        p.save();
        p.translate(12, 12);
        p.rotate(-40);
        p.drawEllipse(QPointF(0, 0), 9, 4);
        p.restore();
      });
    case cmd::kPointsEditor:
      return Paint([](QPainter& p) { Dots(p); });
    case 32873:  // occupation
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QBrush(kInk, Qt::DiagCrossPattern));
        p.drawRect(QRectF(4, 6, 10, 9));
        p.drawRect(QRectF(10, 11, 10, 9));
      });
    case 32871:  // distribution
      return Paint([](QPainter& p) {
        for (int i = 0; i < 4; ++i)
          for (int j = 0; j < 4; ++j) {
            const int v = 255 - 50 * ((i + j) % 4);
            p.fillRect(QRectF(3 + 5 * i, 3 + 5 * j, 5, 5), QColor(v, v, 255));
          }
      });
    case 32870:  // diagram
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j) p.drawRect(QRectF(3 + 6 * i, 3 + 6 * j, 6, 6));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(6, 18), 2, 2);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(18, 6), 1.5, 1.5);
      });
    case cmd::kLegend:
      return Paint([](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 255), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 4, 20, 16));
        Marker(p, cmd::kRoundPoints, QPointF(6, 9), 2, kInk, QColor(255, 182, 193));
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(10, 9), QPointF(19, 9));
        p.setPen(QPen(kAccent, 1.5));
        p.drawLine(QPointF(4, 15), QPointF(8, 15));
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(10, 15), QPointF(19, 15));
      });
    case cmd::kOptions:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        for (int i = 0; i < 3; ++i) {
          const double y = 6 + 6 * i;
          p.drawLine(QPointF(3, y), QPointF(21, y));
          p.setBrush(kAccent);
          p.drawEllipse(QPointF(6 + 6 * i, y), 2.5, 2.5);
        }
      });
    case cmd::kPointsOnLines:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(3, 20), QPointF(21, 4));
        for (int i = 0; i < 4; ++i)
          Marker(p, cmd::kRoundPoints, QPointF(4 + 5.5 * i, 19 - 4.8 * i), 2, kInk, QColor(255, 182, 193));
      });
    case cmd::kDropPoints:
      return Paint([](QPainter& p) { Dots(p); });
    case cmd::kRectArea:
      return Paint([](QPainter& p) {
        p.setPen(QPen(QColor(165, 42, 42), 1.5));
        p.setBrush(QColor(255, 250, 205));
        p.drawRect(QRectF(3, 5, 18, 14));
      });
    case cmd::kIrregularArea:
      return Paint([](QPainter& p) {
        p.setPen(QPen(QColor(165, 42, 42), 1.5));
        p.setBrush(QColor(255, 250, 205));
        p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 3), QPointF(21, 9), QPointF(17, 21),
                                 QPointF(7, 18)}));
      });
    case cmd::kCommentaryTool:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(255, 255, 210));
        p.drawRect(QRectF(2, 4, 20, 13));
        p.drawPolygon(QPolygonF({QPointF(6, 17), QPointF(10, 17), QPointF(5, 22)}));
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(2, 4, 20, 13), Qt::AlignCenter, "Abc");
      });
    case cmd::kErasePoints:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 150, 170));
        p.save();
        p.translate(12, 12);
        p.rotate(-40);
        p.drawRoundedRect(QRectF(-9, -4, 18, 8), 2, 2);
        p.restore();
      });
    case cmd::kInformation:
    case cmd::kDensityInformation:
      return Paint([id](QPainter& p) {
        p.setPen(QPen(kAccent, 1.5));
        p.setBrush(id == cmd::kInformation ? QColor(220, 235, 255) : QColor(230, 255, 230));
        p.drawEllipse(QPointF(12, 12), 9, 9);
        QFont f = p.font();
        f.setPixelSize(13);
        f.setBold(true);
        f.setItalic(true);
        p.setFont(f);
        p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "i");
      });
    case cmd::kRemoveAreaAndFunction:
      return Paint([](QPainter& p) {
        p.setPen(QPen(QColor(165, 42, 42), 1.2));
        p.setBrush(QColor(255, 250, 205));
        p.drawRect(QRectF(3, 5, 14, 12));
        p.setPen(QPen(QColor(200, 0, 0), 2.5));
        p.drawLine(QPointF(12, 12), QPointF(21, 21));
        p.drawLine(QPointF(21, 12), QPointF(12, 21));
      });
    case cmd::kSelectArea:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(6, 19), QPointF(10, 15), QPointF(13, 21),
                                 QPointF(15, 20), QPointF(12, 14), QPointF(18, 14)}));
      });
    case cmd::kMagnifier:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(220, 240, 255));
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
      });
    case cmd::kAxisX:
    case cmd::kAxisY:
      return Paint([id](QPainter& p) {
        p.setPen(QPen(kInk, 1.5));
        if (id == cmd::kAxisX) {
          p.drawLine(QPointF(2, 14), QPointF(22, 14));
          p.drawPolyline(QPolygonF({QPointF(18, 10), QPointF(22, 14), QPointF(18, 18)}));
          for (int x = 5; x < 20; x += 4) p.drawLine(QPointF(x, 14), QPointF(x, 17));
        } else {
          p.drawLine(QPointF(10, 22), QPointF(10, 2));
          p.drawPolyline(QPolygonF({QPointF(6, 6), QPointF(10, 2), QPointF(14, 6)}));
          for (int y = 19; y > 5; y -= 4) p.drawLine(QPointF(7, y), QPointF(10, y));
        }
      });
    case cmd::kBlackPoints:
    case cmd::kBluePoints:
    case cmd::kGreenPoints:
    case cmd::kRedPoints:
    case cmd::kBrownPoints:
    case cmd::kGrayPoints:
      return Paint([id](QPainter& p) {
        p.setPen(QPen(ToQColor(LineColourOfCommand(id)), 2));
        p.setBrush(ToQColor(FillColourOfCommand(id)));
        p.drawRoundedRect(QRectF(4, 4, 16, 16), 3, 3);
        p.setBrush(ToQColor(LineColourOfCommand(id)));
        p.drawEllipse(QPointF(12, 12), 3, 3);
      });
    case cmd::kRoundPoints:
    case cmd::kCrossPoints:
    case cmd::kTrianglePoints:
      return Paint([id](QPainter& p) { Marker(p, id, QPointF(12, 12), 7, kInk, QColor(173, 216, 230)); });
    case cmd::kScalesWindow:
      return Paint([](QPainter& p) {
        Axes(p);
        p.setPen(QPen(kAccent, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(18, 8));
        p.drawPolyline(QPolygonF({QPointF(15, 5), QPointF(18, 8), QPointF(15, 11)}));
        p.drawLine(QPointF(8, 16), QPointF(18, 16));
        p.drawPolyline(QPolygonF({QPointF(11, 13), QPointF(8, 16), QPointF(11, 19)}));
      });
    case cmd::kContextHelp:
    case cmd::kHelpTopics:
      return Paint([](QPainter& p) {
        p.setPen(QPen(kAccent, 1.5));
        p.setBrush(QColor(255, 250, 200));
        p.drawEllipse(QPointF(12, 12), 9, 9);
        QFont f = p.font();
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "?");
      });
    default:
      return {};
  }
}

}  // namespace tracemont
