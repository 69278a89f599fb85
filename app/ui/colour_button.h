// A button that shows a colour and lets the user pick another one with the
// colour dialog. Colours are the document's 0x00BBGGRR values.
#pragma once

#include <QColor>
#include <QToolButton>

#include "model/geometry.h"

namespace tracemont {

QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);

class ColourButton : public QToolButton {
  Q_OBJECT

 public:
  // title: the colour dialog's caption.
  explicit ColourButton(QString title, QWidget* parent = nullptr);

  void SetColour(Colour colour);
  Colour GetColour() const { return colour_; }

 signals:
  // The user picked a colour.
  void ColourPicked(Colour colour);

 private:
  void Pick();

  QString title_;
  Colour colour_ = 0;
};

}  // namespace tracemont
