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

  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

}  // namespace tracemont
