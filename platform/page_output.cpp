#include "platform/page_output.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <cmath>

#include "model/document_data.h"
#include "platform/picture_loader.h"
#include "platform/qpainter_surface.h"
#include "render/page_painter.h"

namespace tracemont {

QSize PagePixels(const DocumentData& document, int dpi) {
  const Rect page = PageRectOf(document);
  return {static_cast<int>(std::ceil(page.Width() * dpi / 100.0)),
          static_cast<int>(std::ceil(page.Height() * dpi / 100.0))};
}

namespace {

void Paint(DocumentData& document, QPainter& painter, int dpiX, int dpiY) {
  QPainterSurface surface(painter, dpiX, dpiY, true);
  PagePaintOptions options;
  options.forPrinter = true;
  options.background = BackgroundPicture::Instance().For(document.editor);
  PaintPage(document, surface, options);
}

}  // namespace

void PaintPageOn(DocumentData& document, QPaintDevice& device, int dpiX, int dpiY) {
  QPainter painter(&device);
  painter.setRenderHint(QPainter::TextAntialiasing);
  Paint(document, painter, dpiX, dpiY);
}

QImage RenderPageImage(DocumentData& document, int dpi) {
  QImage image(PagePixels(document, dpi), QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
  image.fill(Qt::white);
  PaintPageOn(document, image, dpi, dpi);
  return image;
}

QString RenderPageFile(DocumentData& document, const QString& path, int dpi) {
  if (dpi < 10 || dpi > 2400) return QStringLiteral("the resolution must be 10 to 2400 dpi");
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "png") {
    const QSize size = PagePixels(document, dpi);
    if (static_cast<long long>(size.width()) * size.height() > 400'000'000LL)
      return QStringLiteral("the picture would be too large; choose a lower resolution");
    if (!RenderPageImage(document, dpi).save(path, "PNG")) return QStringLiteral("cannot write ") + path;
    return {};
  }
  if (suffix == "svg") {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setResolution(dpi);
    svg.setSize(PagePixels(document, dpi));
    svg.setViewBox(QRect(QPoint(0, 0), PagePixels(document, dpi)));
    svg.setTitle(QString::fromStdString(document.title));
    PaintPageOn(document, svg, dpi, dpi);
    return QFileInfo(path).size() > 0 ? QString() : QStringLiteral("cannot write ") + path;
  }
  if (suffix == "pdf") {
    QPdfWriter pdf(path);
    const Rect page = PageRectOf(document);
    pdf.setPageSize(QPageSize(QSizeF(page.Width() / 100.0, page.Height() / 100.0), QPageSize::Inch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(dpi);
    pdf.setTitle(QString::fromStdString(document.title));
    pdf.setCreator(QStringLiteral("Tracemont"));
    PaintPageOn(document, pdf, dpi, dpi);
    return QFileInfo(path).size() > 0 ? QString() : QStringLiteral("cannot write ") + path;
  }
  return QStringLiteral("unknown picture type '") + suffix + "' (use .png, .svg or .pdf)";
}

void PrintPage(DocumentData& document, QPrinter& printer) {
  QPainter painter(&printer);
  Paint(document, painter, printer.resolution(), printer.resolution());
}

}  // namespace tracemont
