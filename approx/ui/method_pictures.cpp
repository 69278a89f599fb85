#include "approx/ui/method_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

#include "approx/func_params.h"

namespace tracemont {

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 168;
// The plotting box inside the picture, leaving room for the axes.
const QRectF kBox(18, 22, 100, 120);

const QColor kPaper(250, 250, 244);
const QColor kAxis(60, 60, 60);
const QColor kDots(30, 60, 200);
const QColor kCurve(200, 30, 30);

// u, v in 0..1 to picture coordinates.
QPointF At(double u, double v) {
  return {kBox.left() + u * kBox.width(), kBox.bottom() - v * kBox.height()};
}

void DrawFrame(QPainter& p) {
  p.fillRect(QRect(0, 0, kWidth, kHeight), kPaper);
  p.setPen(QPen(QColor(150, 150, 150), 1));
  p.drawRect(QRect(0, 0, kWidth - 1, kHeight - 1));
  p.setPen(QPen(kAxis, 1.5));
  p.drawLine(QPointF(kBox.left(), kBox.bottom() + 4), QPointF(kBox.left(), kBox.top() - 6));
  p.drawLine(QPointF(kBox.left() - 4, kBox.bottom()), QPointF(kBox.right() + 4, kBox.bottom()));
  // Arrow heads.
  p.drawLine(QPointF(kBox.left(), kBox.top() - 6), QPointF(kBox.left() - 3, kBox.top()));
  p.drawLine(QPointF(kBox.left(), kBox.top() - 6), QPointF(kBox.left() + 3, kBox.top()));
  p.drawLine(QPointF(kBox.right() + 4, kBox.bottom()), QPointF(kBox.right() - 2, kBox.bottom() - 3));
  p.drawLine(QPointF(kBox.right() + 4, kBox.bottom()), QPointF(kBox.right() - 2, kBox.bottom() + 3));
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  p.drawText(QPointF(kBox.left() - 14, kBox.top() + 2), "Y");
  p.drawText(QPointF(kBox.right() - 2, kBox.bottom() + 14), "X");
}

void DrawDots(QPainter& p, const std::function<double(double)>& f, int count, double scatter) {
  p.setPen(Qt::NoPen);
  p.setBrush(kDots);
  for (int i = 0; i < count; ++i) {
    const double u = (i + 0.5) / count;
    // A fixed pattern of offsets: the picture is the same on every run.
    const double offset = scatter * std::sin(i * 2.7 + 1.3);
    p.drawEllipse(At(u, f(u) + offset), 2.2, 2.2);
  }
  p.setBrush(Qt::NoBrush);
}

void DrawCurve(QPainter& p, const std::function<double(double)>& f) {
  QPainterPath path(At(0, f(0)));
  for (int i = 1; i <= 64; ++i) path.lineTo(At(i / 64.0, f(i / 64.0)));
  p.setPen(QPen(kCurve, 2));
  p.drawPath(path);
}

void Caption(QPainter& p, const QString& text) {
  QFont font = p.font();
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kAxis);
  p.drawText(QRectF(2, kHeight - 22, kWidth - 4, 18), Qt::AlignCenter, text);
}

void DrawGraph(QPainter& p, int id) {
  switch (id) {
    case picture::kRegression: {
      const auto f = [](double u) { return 0.15 + 0.75 * u * u; };
      DrawDots(p, f, 9, 0.05);
      DrawCurve(p, f);
      Caption(p, "Regression");
      return;
    }
    case picture::kPieceLinear: {
      const auto f = [](double u) { return 0.2 + 0.6 * u; };
      DrawDots(p, f, 10, 0.06);
      p.setPen(QPen(kCurve, 2));
      for (int s = 0; s < 4; ++s) {
        const double v = f((s + 0.5) / 4);
        p.drawLine(At(s / 4.0, v), At((s + 1) / 4.0, v));
        if (s < 3) p.drawLine(At((s + 1) / 4.0, v), At((s + 1) / 4.0, f((s + 1.5) / 4)));
      }
      Caption(p, "Piece linear");
      return;
    }
    case picture::kClosedSpline: {
      p.setPen(Qt::NoPen);
      p.setBrush(kDots);
      for (int i = 0; i < 10; ++i) {
        const double t = 2 * M_PI * i / 10;
        const double r = 0.36 + 0.04 * std::sin(3.1 * i);
        p.drawEllipse(At(0.5 + r * std::cos(t), 0.5 + 0.8 * r * std::sin(t)), 2.2, 2.2);
      }
      p.setBrush(Qt::NoBrush);
      QPainterPath path;
      for (int i = 0; i <= 64; ++i) {
        const double t = 2 * M_PI * i / 64;
        const QPointF q = At(0.5 + 0.36 * std::cos(t) + 0.03 * std::cos(2 * t),
                             0.5 + 0.29 * std::sin(t));
        i == 0 ? path.moveTo(q) : path.lineTo(q);
      }
      p.setPen(QPen(kCurve, 2));
      p.drawPath(path);
      Caption(p, "Closed spline");
      return;
    }
    case picture::kSections: {
      const double xs[] = {0.05, 0.3, 0.45, 0.7, 0.95};
      const double ys[] = {0.2, 0.7, 0.45, 0.8, 0.35};
      DrawDots(p, [](double u) { return 0.2 + 0.5 * u + 0.15 * std::sin(9 * u); }, 12, 0.03);
      p.setPen(QPen(kCurve, 2));
      for (int i = 0; i + 1 < 5; i += 2) p.drawLine(At(xs[i], ys[i]), At(xs[i + 1], ys[i + 1]));
      p.drawLine(At(xs[2], ys[2] - 0.2), At(xs[4], ys[4]));
      Caption(p, "Sections");
      return;
    }
    case picture::kLogistic: {
      const auto f = [](double u) { return 0.1 + 0.8 / (1 + std::exp(-12 * (u - 0.5))); };
      DrawDots(p, f, 10, 0.04);
      DrawCurve(p, f);
      Caption(p, "Logistic");
      return;
    }
    case picture::kFourier: {
      const auto f = [](double u) { return 0.5 + 0.3 * std::sin(2 * M_PI * u) + 0.1 * std::sin(6 * M_PI * u); };
      DrawDots(p, f, 12, 0.04);
      DrawCurve(p, f);
      Caption(p, "Fourier");
      return;
    }
    case picture::kNeural: {
      // Input, hidden layer, output.
      const QPointF in = At(0.08, 0.55);
      const QPointF out = At(0.92, 0.55);
      p.setPen(QPen(QColor(120, 120, 120), 1));
      for (int j = 0; j < 4; ++j) {
        const QPointF h = At(0.5, 0.2 + 0.23 * j);
        p.drawLine(in, h);
        p.drawLine(h, out);
      }
      p.setPen(QPen(kAxis, 1));
      p.setBrush(QColor(255, 230, 160));
      for (int j = 0; j < 4; ++j) p.drawEllipse(At(0.5, 0.2 + 0.23 * j), 7, 7);
      p.setBrush(QColor(180, 210, 255));
      p.drawEllipse(in, 7, 7);
      p.drawEllipse(out, 7, 7);
      p.setBrush(Qt::NoBrush);
      Caption(p, "Neural network");
      return;
    }
    case picture::kNonLinear: {
      const auto f = [](double u) { return 0.15 + 0.7 * (1 - std::exp(-4 * u)); };
      DrawDots(p, f, 10, 0.04);
      DrawCurve(p, f);
      QFont font = p.font();
      font.setPixelSize(10);
      font.setItalic(true);
      p.setFont(font);
      p.setPen(kAxis);
      p.drawText(At(0.35, 0.3), "f(u; a,b,c,d)");
      Caption(p, "Non-linear");
      return;
    }
    default: {
      DrawDots(p, [](double u) { return 0.25 + 0.5 * u; }, 12, 0.12);
      Caption(p, "Points");
      return;
    }
  }
}

QPixmap CopyPicture() {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kAxis, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 2.5, 10, 12));
  p.setBrush(QColor(255, 255, 220));
  p.drawRect(QRectF(7.5, 6.5, 10, 12));
  p.drawLine(QPointF(9.5, 10.5), QPointF(15.5, 10.5));
  p.drawLine(QPointF(9.5, 13.5), QPointF(15.5, 13.5));
  p.drawLine(QPointF(9.5, 16.5), QPointF(13.5, 16.5));
  return pixmap;
}

}  // namespace

int PictureOfMethod(int methodId) {
  switch (methodId) {
    case method::kPolynomial: case method::kHyperbolic: case method::kLogarithmic:
    case method::kPower: case method::kExponential:
      return picture::kRegression;
    case method::kPieceLinear: return picture::kPieceLinear;
    case method::kClosedSpline: return picture::kClosedSpline;
    case method::kSections: return picture::kSections;
    case method::kLogistic1: case method::kLogistic2: return picture::kLogistic;
    case method::kFourier: return picture::kFourier;
    case method::kNeural1: case method::kNeural2: return picture::kNeural;
    case method::kNonLinear: return picture::kNonLinear;
    default: return picture::kGeneral;
  }
}

QPixmap MethodPicture(int pictureId) {
  if (pictureId == picture::kCopy) return CopyPicture();
  QPixmap pixmap(kWidth, kHeight);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFrame(p);
  DrawGraph(p, pictureId);
  return pixmap;
}

}  // namespace tracemont
