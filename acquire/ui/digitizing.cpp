#include "acquire/ui/digitizing.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "acquire/ui/dlg_digit.h"
#include "app/command_table.h"
#include "model/colours.h"
#include "platform/border_window.h"
#include "platform/picture_loader.h"
#include "render/page_painter.h"

namespace tracemont {

BorderWindow* FindBorderWindow(QWidget& view) {
  return view.findChild<BorderWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

void ShowBorderColour(BorderWindow& window, int colourCommand) {
  QString name;
  if (const CommandInfo* info = FindCommand(colourCommand)) {
    // "Red Points" and so on: the menu text without mnemonic or shortcut.
    std::string text = info->menuText;
    text = text.substr(0, text.find('\t'));
    std::erase(text, '&');
    name = QString::fromStdString(text);
  }
  window.SetColour(LineColourOfCommand(colourCommand), name);
}

BorderWindow& OpenBorderWindow(QWidget& view, int colourCommand, std::function<void()> onDigitize) {
  BorderWindow* window = FindBorderWindow(view);
  if (window == nullptr) window = new BorderWindow(&view);
  window->SetUser(std::move(onDigitize));
  ShowBorderColour(*window, colourCommand);
  const QRect client(view.mapToGlobal(QPoint(0, 0)), view.size());
  window->Open(client);
  return *window;
}

bool CanDigitizePicture(const CMainDoc& doc) {
  return doc.Data().editor.pictureShown != 0 && doc.SelectedAreaCount() > 0;
}

CPlotDot* DigitizePicture(CMainDoc& doc, const DigitizeStyle& style, int dpiX, int dpiY,
                          QWidget* dialogParent) {
  if (SelectedRegion(doc).IsEmpty()) return nullptr;
  DigitLimits limits = PictureLimits(doc, style.size);
  if (dialogParent != nullptr) {
    CDlgDigit dialog(limits, dialogParent);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    limits = dialog.Limits();
  }
  // The off-screen page: white with only the picture, placed as painted.
  const QtPicture* picture = BackgroundPicture::Instance().For(doc.Data().editor);
  const Rect page = PageRectOf(doc.Data());
  PixelBuffer pixels;
  PicturePlacement placement;
  if (picture != nullptr) {
    pixels = ToPixelBuffer(picture->Image());
    placement = PlacePicture(picture->PixelSize(), picture->NaturalSize(), page,
                             doc.Data().editor.pictureStretched != 0,
                             doc.Data().editor.pictureCentred != 0);
  }
  const PageRaster raster{dpiX, dpiY};
  const PixelBuffer layer = RenderPictureLayer(pixels, placement, page, raster);
  return DigitizeFromPicture(doc, layer, raster, style, limits,
                             FileNameOf(doc.Data().editor.pictureFile));
}

CPlotDot* DigitizeScreen(CMainDoc& doc, const DigitizeStyle& style, const QRect& screen,
                         Colour picked, QWidget* dialogParent) {
  DigitLimits limits = ScreenLimits(
      doc, {screen.left(), screen.top(), screen.left() + screen.width(), screen.top() + screen.height()},
      style.size);
  const PixelBuffer grab = GrabScreen(screen);
  if (dialogParent != nullptr) {
    CDlgDigit dialog(limits, dialogParent);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    limits = dialog.Limits();
  }
  QScreen* where = QGuiApplication::screenAt(screen.center());
  if (where == nullptr) where = QGuiApplication::primaryScreen();
  const int dpiX = where ? static_cast<int>(where->logicalDotsPerInchX()) : 96;
  const int dpiY = where ? static_cast<int>(where->logicalDotsPerInchY()) : 96;
  return DigitizeFromScreen(doc, grab, picked, dpiX, dpiY, style, limits);
}

}  // namespace tracemont
