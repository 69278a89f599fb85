// Where the background picture lies on the page. Painting and digitizing
// both use this one function so that the traced pixels are the painted ones.
#pragma once

#include "model/geometry.h"

namespace tracemont {

struct PicturePlacement {
  // Plot units, upright: `top` is the picture's upper edge (larger y).
  Rect dest;
  // The part of the picture used, in picture pixels (y down; right and
  // bottom excluded).
  int sourceLeft = 0;
  int sourceTop = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
  bool IsEmpty() const { return dest.IsEmpty() || sourceWidth <= 0 || sourceHeight <= 0; }
};

// 0.01 mm to plot units (x 100 / 2540, rounded).
int HimetricToPlot(int himetric);

// Places a picture of `pixels` size and natural size `himetric` (0.01 mm)
// on `page` (plot units, (0, 0, W, -H)). Stretched: it fills the page.
// Otherwise it keeps its natural size, cut to the page's width and height
// from its top-left corner, placed at the page's top-left or, when centred,
// with its centre on the page's centre. A picture without pixels, or a
// natural size of 0, gives an empty placement.
PicturePlacement PlacePicture(Size pixels, Size himetric, const Rect& page, bool stretched,
                              bool centred);

// The natural size of a picture of `pixels` at `dpi` pixels per inch (96 when
// the picture says nothing), in 0.01 mm.
Size NaturalSizeAt(Size pixels, double dpiX, double dpiY);

}  // namespace tracemont
