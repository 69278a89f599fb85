#include "platform/picture_loader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace tracemont {

QImage LoadPictureFile(const std::string& path) {
  const QString name = QString::fromStdString(path);
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (path.empty() || suffix == "emf" || suffix == "wmf") return {};
  QImageReader reader(name);
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  return image;
}

PixelBuffer ToPixelBuffer(const QImage& image) {
  if (image.isNull()) return {};
  QImage rgb(image.size(), QImage::Format_RGB32);
  rgb.fill(Qt::white);
  {
    QPainter painter(&rgb);
    painter.drawImage(0, 0, image);
  }
  PixelBuffer buffer = PixelBuffer::Filled(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    Colour* out = buffer.pixels.data() + static_cast<std::size_t>(y) * buffer.width;
    for (int x = 0; x < rgb.width(); ++x) out[x] = Rgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
  }
  return buffer;
}

QImage ToImage(const PixelBuffer& buffer) {
  if (buffer.IsEmpty()) return {};
  QImage image(buffer.width, buffer.height, QImage::Format_RGB32);
  for (int y = 0; y < buffer.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < buffer.width; ++x) {
      const Colour c = buffer.At(x, y);
      line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
  }
  return image;
}

namespace {

// What tells a changed file from the one read before; empty when missing.
std::string FileStamp(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  if (path.empty() || !info.exists()) return {};
  return std::to_string(info.size()) + "/" +
         std::to_string(info.lastModified().toMSecsSinceEpoch());
}

}  // namespace

BackgroundPicture& BackgroundPicture::Instance() {
  static BackgroundPicture instance;
  return instance;
}

const QtPicture* BackgroundPicture::For(const CPlotEdit& editor) {
  const bool shown = editor.pictureShown != 0;
  const std::string stamp = shown ? FileStamp(editor.pictureFile) : std::string();
  if (!loaded_ || shown != shown_ || editor.pictureFile != file_ || stamp != stamp_) {
    picture_.reset();
    file_ = editor.pictureFile;
    stamp_ = stamp;
    shown_ = shown;
    loaded_ = true;
    if (shown) {
      QImage image = LoadPictureFile(file_);
      if (!image.isNull()) picture_ = std::make_unique<QtPicture>(std::move(image));
    }
  }
  return picture_.get();
}

void BackgroundPicture::Reload() {
  loaded_ = false;
  picture_.reset();
}

}  // namespace tracemont
