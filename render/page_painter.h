// The picture of a whole page: white page, optional page grid, the plot
// objects in their layers, axis bands, legend, title and comment, and on
// screen the grey surroundings. The same composition paints the view, the
// printout and the batch renders.
#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "render/surface.h"

namespace tracemont {

struct DocumentData;

// The distribution and diagram pictures are painted by the statistics code;
// the page painter only decides when.
class DistributionPicture {
 public:
  virtual ~DistributionPicture() = default;
  // Density display (mode 2); `area` is the part of the page being painted.
  virtual void PaintDensity(Surface& surface, const Rect& area) = 0;
  // Diagram display (mode 3).
  virtual void PaintDiagram(Surface& surface) = 0;
};

struct PagePaintOptions {
  bool forPrinter = false;     // printing, preview and batch renders
  bool showGrid = false;       // the view's page grid (screen only)
  bool inPlaceActive = false;  // edited inside a container: no smooth curves
  // The object the user works on; painted last in its list.
  std::uint32_t currentId = 0;
  // Screen only: the part of the page area the view shows, for the grey
  // surroundings right of and below the page (plot units).
  Rect visibleArea;
  DistributionPicture* distribution = nullptr;
  // The document's background picture when it is shown (not owned); drawn
  // behind everything, placed by the document's editor settings.
  const Picture* background = nullptr;
};

// The page rectangle (0, 0, W, -H) of a document, plot units.
Rect PageRectOf(const DocumentData& document);

// Paints the page. Objects whose bounds miss the surface's clip box are not
// asked to draw.
void PaintPage(DocumentData& document, Surface& surface, const PagePaintOptions& options);

// The object layers alone (step 3 of PaintPage).
void PaintObjects(DocumentData& document, Surface& surface, const PagePaintOptions& options);

}  // namespace tracemont
