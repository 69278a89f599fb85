// A picture the platform layer loaded (background pictures, pasted images),
// handed through the core as an opaque Picture and drawn by QPainterSurface.
#pragma once

#include <QImage>
#include <utility>

#include "render/surface.h"

namespace tracemont {

class QtPicture final : public Picture {
 public:
  // Takes the image by value (QImage shares its pixels implicitly, so this is
  // cheap). A null image is allowed: it has size 0 x 0 and draws nothing.
  explicit QtPicture(QImage image) : image_(std::move(image)) {}

  // Width and height of the image in pixels.
  Size PixelSize() const override { return {image_.width(), image_.height()}; }
  // From the resolution the file states (Qt assumes 96 dpi when it says none).
  Size NaturalSize() const override {
    const auto himetric = [](int pixels, int dotsPerMeter) {
      if (dotsPerMeter <= 0) return (pixels * 2540 + 48) / 96;
      return static_cast<int>((static_cast<long long>(pixels) * 100000 + dotsPerMeter / 2) / dotsPerMeter);
    };
    return {himetric(image_.width(), image_.dotsPerMeterX()), himetric(image_.height(), image_.dotsPerMeterY())};
  }

  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

}  // namespace tracemont
