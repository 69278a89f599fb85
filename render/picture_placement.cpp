#include "render/picture_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tracemont {

int HimetricToPlot(int himetric) {
  return static_cast<int>(std::llround(static_cast<double>(himetric) * 100.0 / 2540.0));
}

Size NaturalSizeAt(Size pixels, double dpiX, double dpiY) {
  const auto himetric = [](int n, double dpi) {
    if (!(dpi > 0.0)) dpi = 96.0;
    return static_cast<int>(std::llround(n * 2540.0 / dpi));
  };
  return {himetric(pixels.cx, dpiX), himetric(pixels.cy, dpiY)};
}

PicturePlacement PlacePicture(Size pixels, Size himetric, const Rect& pageRect, bool stretched,
                              bool centred) {
  PicturePlacement placement;
  const Rect page = pageRect.Normalized();
  const int pageW = page.Width();
  const int pageH = page.Height();
  if (pixels.cx <= 0 || pixels.cy <= 0 || pageW <= 0 || pageH <= 0) return placement;
  if (stretched) {
    placement.dest = page;
    placement.sourceWidth = pixels.cx;
    placement.sourceHeight = pixels.cy;
    return placement;
  }
  const int naturalW = HimetricToPlot(himetric.cx);
  const int naturalH = HimetricToPlot(himetric.cy);
  if (naturalW <= 0 || naturalH <= 0) return placement;
  // Only the part of the picture that fits the page is used.
  const int w = std::min(naturalW, pageW);
  const int h = std::min(naturalH, pageH);
  placement.sourceWidth = static_cast<int>(static_cast<std::int64_t>(pixels.cx) * w / naturalW);
  placement.sourceHeight = static_cast<int>(static_cast<std::int64_t>(pixels.cy) * h / naturalH);
  int left = page.left;
  int top = page.top;
  if (centred) {
    const Point centre{(page.left + page.right) / 2, (page.top + page.bottom) / 2};
    left = centre.x - w / 2;
    top = centre.y + h / 2;
  }
  placement.dest = {left, top, left + w, top - h};
  return placement;
}

}  // namespace tracemont
