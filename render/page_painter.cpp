#include "render/page_painter.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/document_data.h"
#include "render/page_parts.h"
#include "render/picture_placement.h"

namespace tracemont {
namespace {

const Colour kWhite = Rgb(255, 255, 255);
const Colour kLightGrey = Rgb(192, 192, 192);
const Colour kSurroundings = Rgb(128, 128, 128);

// The clip box widened by one device unit (in plot units, a little more).
Rect CullBox(Surface& surface) {
  const int unitX = std::max(1, (100 + surface.PixelsPerInchX() - 1) / surface.PixelsPerInchX());
  const int unitY = std::max(1, (100 + surface.PixelsPerInchY() - 1) / surface.PixelsPerInchY());
  return surface.ClipBox().Inflated(unitX, unitY);
}

bool Visible(const CPlot& object, const Rect& cull) {
  return !object.Outline().empty() && object.Bounds().Intersects(cull);
}

// Draws every object of a list, the current one last so that it lies on top.
template <class T, class DrawFn>
void DrawList(const PlotList<T>& list, std::uint32_t currentId, const Rect& cull, DrawFn draw) {
  T* current = nullptr;
  for (const auto& object : list) {
    if (object->id == currentId && currentId != 0) {
      current = object.get();
      continue;
    }
    if (Visible(*object, cull)) draw(*object);
  }
  if (current && Visible(*current, cull)) draw(*current);
}

void PaintGridLines(const CPlaneAxe& x, const CPlaneAxe& y, Surface& surface, const Rect& plot) {
  PaintAxis(x, surface, true, plot);
  PaintAxis(y, surface, true, plot);
}

}  // namespace

Rect PageRectOf(const DocumentData& document) {
  return {0, 0, TenthMmToPlot(document.pageWidth), -TenthMmToPlot(document.pageHeight)};
}

void PaintObjects(DocumentData& document, Surface& surface, const PagePaintOptions& options) {
  const Rect cull = CullBox(surface);
  const Rect page = PageRectOf(document);
  // The plot rectangle and the axis bands, laid out afresh on copies of the
  // axes: painting changes nothing and never relies on a stale layout (a
  // document just read has none).
  CPlaneAxe x = document.axisX;
  CPlaneAxe y = document.axisY;
  std::array<CIndent, 4> indents = document.indents;
  const Rect plot = LayoutPage(document.pageWidth, document.pageHeight, x, y, indents);

  DrawContext context;
  context.page = page;
  context.smoothLines = !options.forPrinter && !options.inPlaceActive;
  const bool marks = document.editor.areasMarks != 0;
  const std::uint32_t current = options.currentId;

  const auto drawArea = [&](bool filled) {
    return [&, filled](CPlotClip& area) {
      DrawContext c = context;
      c.filled = filled;
      c.marks = marks;
      area.Draw(surface, c);
    };
  };
  const auto drawFunction = [&](bool filled) {
    return [&, filled](CPlotFunc& function) {
      DrawContext c = context;
      c.filled = filled;
      c.marks = marks;
      function.Draw(surface, c);
    };
  };

  const int mode = document.histo.mode;
  if (mode == distribution::kDensity) {
    if (options.distribution) options.distribution->PaintDensity(surface, cull);
    PaintGridLines(x, y, surface, plot);
    DrawList(document.areas, current, cull, drawArea(false));
    DrawList(document.functions, 0, cull, drawFunction(false));
  } else if (mode == distribution::kDiagram) {
    PaintGridLines(x, y, surface, plot);
    if (options.distribution) options.distribution->PaintDiagram(surface);
    DrawList(document.areas, current, cull, drawArea(false));
    DrawList(document.functions, 0, cull, drawFunction(false));
  } else {
    DrawList(document.areas, current, cull, drawArea(true));
    PaintGridLines(x, y, surface, plot);
    DrawList(document.series, current, cull, [&](CPlotDot& series) {
      series.occupation = mode == distribution::kOccupation ? 1 : 0;
      DrawContext c = context;
      c.marks = false;
      series.Draw(surface, c);
    });
    DrawList(document.functions, 0, cull, drawFunction(true));
    // Selected areas again on top of the points, outlined with their marks.
    for (const auto& area : document.areas) {
      if (!area->selected || area->id == current || !Visible(*area, cull)) continue;
      drawArea(false)(*area);
    }
    for (const auto& area : document.areas) {
      if (area->selected && area->id == current && Visible(*area, cull)) drawArea(false)(*area);
    }
  }

  // Axis bands: grey on screen, a thin rounded frame on paper.
  {
    SurfaceStateGuard guard(surface);
    const bool haveX = x.position == 1 || x.position == 2;
    const bool haveY = y.position == 1 || y.position == 2;
    if (options.forPrinter) {
      if (haveX || haveY) {
        Rect bands = haveX ? x.axisRect : y.axisRect;
        if (haveX && haveY) bands = bands.United(y.axisRect);
        surface.SetPen({PenStyle::Solid, 1, Rgb(221, 221, 204)});
        surface.SetBrush({BrushStyle::Null, 0});
        surface.RoundRect(bands, 10, 10);
      }
    } else {
      if (haveX) surface.FillRect(x.axisRect, {BrushStyle::Solid, kLightGrey});
      if (haveY) surface.FillRect(y.axisRect, {BrushStyle::Solid, kLightGrey});
    }
  }
  PaintAxis(x, surface, false, plot);
  PaintAxis(y, surface, false, plot);

  std::vector<CPlot*> series;
  for (const auto& s : document.series) series.push_back(s.get());
  std::vector<CPlot*> functions;
  for (const auto& f : document.functions) functions.push_back(f.get());
  PaintLegend(document.legend, document.visu, surface, series, functions);

  for (const auto& commentary : document.commentaries) {
    if (!commentary->visible || !Visible(*commentary, cull)) continue;
    DrawContext c = context;
    c.marks = false;
    commentary->Draw(surface, c);
  }
}

void PaintPage(DocumentData& document, Surface& surface, const PagePaintOptions& options) {
  const Rect page = PageRectOf(document);
  {
    SurfaceStateGuard guard(surface);
    surface.FillRect(options.forPrinter ? surface.ClipBox() : page, {BrushStyle::Solid, kWhite});
  }
  if (options.background != nullptr && document.editor.pictureShown != 0) {
    const Picture& picture = *options.background;
    const PicturePlacement at =
        PlacePicture(picture.PixelSize(), picture.NaturalSize(), page,
                     document.editor.pictureStretched != 0, document.editor.pictureCentred != 0);
    if (!at.IsEmpty())
      surface.DrawPicturePart(picture, at.dest, at.sourceLeft, at.sourceTop, at.sourceWidth,
                              at.sourceHeight);
  }
  if (!options.forPrinter && options.showGrid)
    PaintPageGrid(surface, page.right, -page.bottom, document.inches != 0);

  PaintObjects(document, surface, options);

  // The title and comment blocks, laid out afresh like the axes.
  CPlaneAxe x = document.axisX;
  CPlaneAxe y = document.axisY;
  std::array<CIndent, 4> indents = document.indents;
  LayoutPage(document.pageWidth, document.pageHeight, x, y, indents);
  PaintIndentText(indents[1], surface, document.title);
  PaintIndentText(indents[3], surface, document.comment);

  if (!options.forPrinter && !options.visibleArea.IsEmpty()) {
    SurfaceStateGuard guard(surface);
    const Rect v = options.visibleArea.Normalized();
    const Brush grey{BrushStyle::Solid, kSurroundings};
    if (v.right > page.right) surface.FillRect({page.right, v.top, v.right, v.bottom}, grey);
    if (v.bottom < page.bottom) surface.FillRect({v.left, page.bottom, std::min(v.right, page.right), v.bottom}, grey);
  }
}

}  // namespace tracemont
