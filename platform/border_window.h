// The border window of digitizing from the screen: a frameless, always-on-
// top frame that the user drags and sizes over any graph on the screen. Its
// strip above the frame shows the current drawing colour and its name, the
// colour picked for the curve, a "Pick" button that freezes the framed
// picture so that a click on a pixel picks its colour (with a magnified
// preview round the pointer), and a "Digitize" button.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "acquire/digit_tracer.h"

class QLabel;
class QPushButton;

namespace tracemont {

// The pixels of a screen rectangle (global coordinates). Empty when the
// screen cannot be read.
PixelBuffer GrabScreen(const QRect& rect);

class BorderWindow : public QWidget {
  // Also what lets the view find its border window among its children.
  Q_OBJECT

 public:
  explicit BorderWindow(QWidget* parent = nullptr);

  // Shows the window with its frame round `screenRect` (global coordinates).
  void Open(const QRect& screenRect);
  // The framed rectangle, global coordinates.
  QRect FramedRect() const;
  // The colour picked in the frame (0x00BBGGRR), none until a pick.
  std::optional<Colour> PickedColour() const { return picked_; }
  // Shows the current drawing colour and its name.
  void SetColour(Colour colour, const QString& name);
  // Called when the user asks to digitize.
  void SetUser(std::function<void()> onDigitize) { onDigitize_ = std::move(onDigitize); }

  // Picks the colour of a pixel of the frozen frame picture (frame
  // coordinates); used by clicks while picking.
  void PickAt(QPoint framePoint);
  bool IsPicking() const { return picking_; }
  void StartPicking();

  static constexpr int kBorder = 6;
  static constexpr int kStrip = 30;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRect InteriorRect() const;  // widget coordinates
  void UpdateMask();
  void StopPicking();
  void ShowColours();

  QLabel* colourLabel_ = nullptr;
  QLabel* pickedLabel_ = nullptr;
  QPushButton* pickButton_ = nullptr;
  QPushButton* digitizeButton_ = nullptr;
  Colour colour_ = 0;
  QString colourName_;
  std::optional<Colour> picked_;
  std::function<void()> onDigitize_;
  bool picking_ = false;
  QImage frozen_;  // the framed picture while picking
  QPoint hover_{-1, -1};
  enum class Drag { None, Move, Resize } drag_ = Drag::None;
  QPoint dragStart_;
  QRect geometryAtStart_;
};

}  // namespace tracemont
