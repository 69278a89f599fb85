// Background pictures: reading picture files, handing their pixels to the
// digitizing code, and the one loaded picture of the process.
#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "acquire/digit_tracer.h"
#include "model/editor_settings.h"
#include "platform/qt_picture.h"

namespace tracemont {

// Reads a picture file (BMP, GIF, JPEG, PNG, SVG and whatever else the
// installed image plug-ins read). Metafiles (.emf, .wmf) have no reader
// here. Any failure gives a null image; nothing is reported.
QImage LoadPictureFile(const std::string& path);

// The image's pixels as 0x00BBGGRR values; transparent parts are laid on
// white first, as they show on the page.
PixelBuffer ToPixelBuffer(const QImage& image);
// A buffer back to an image (for writing test pictures and previews).
QImage ToImage(const PixelBuffer& buffer);

// The document's background picture, loaded once for the process and
// loaded again when the file name or the shown flag changes, or when the
// file itself changed on disk (a document read again, a picture replaced or
// made after it was first missed).
class BackgroundPicture {
 public:
  static BackgroundPicture& Instance();
  // The picture to draw for these settings, or null when it is not shown or
  // cannot be read. The pointer stays valid until the next call with other
  // settings.
  const QtPicture* For(const CPlotEdit& editor);
  // Forget the loaded picture so the next call reads the file again.
  void Reload();

 private:
  std::string file_;
  std::string stamp_;  // the file's size and time when it was read
  bool shown_ = false;
  bool loaded_ = false;
  std::unique_ptr<QtPicture> picture_;
};

}  // namespace tracemont
