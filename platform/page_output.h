// The page picture on paper and in files: printers, PNG, SVG and PDF, all
// painted for the printer (no page grid, no grey surroundings) at the
// device's resolution and at the page's true size.
#pragma once

#include <QImage>
#include <QString>

class QPrinter;
class QPaintDevice;

namespace tracemont {

struct DocumentData;

// Page size in device pixels at `dpi`.
QSize PagePixels(const DocumentData& document, int dpi);
// Paints the page on any paint device whose origin is the page's top-left.
void PaintPageOn(DocumentData& document, QPaintDevice& device, int dpiX, int dpiY);
// The page as an image at `dpi` (white background).
QImage RenderPageImage(DocumentData& document, int dpi);
// Writes `path` as PNG, SVG or PDF by its suffix. Returns an empty string on
// success, otherwise the reason.
QString RenderPageFile(DocumentData& document, const QString& path, int dpi);
// Prints the page on the printer (one page, at its true size).
void PrintPage(DocumentData& document, QPrinter& printer);

}  // namespace tracemont
