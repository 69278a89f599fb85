#include "app/ui/colour_button.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace tracemont {

QColor ToQColor(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

Colour FromQColor(const QColor& colour) { return Rgb(colour.red(), colour.green(), colour.blue()); }

ColourButton::ColourButton(QString title, QWidget* parent) : QToolButton(parent), title_(std::move(title)) {
  setToolTip(title_);
  setIconSize(QSize(32, 14));
  connect(this, &QToolButton::clicked, this, &ColourButton::Pick);
  SetColour(0);
}

void ColourButton::SetColour(Colour colour) {
  colour_ = colour;
  QPixmap swatch(iconSize());
  swatch.fill(ToQColor(colour_));
  QPainter painter(&swatch);
  painter.setPen(QColor(96, 96, 96));
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  setIcon(QIcon(swatch));
}

void ColourButton::Pick() {
  const QColor picked = QColorDialog::getColor(ToQColor(colour_), this, title_);
  if (!picked.isValid()) return;  // cancelled
  SetColour(FromQColor(picked));
  emit ColourPicked(colour_);
}

}  // namespace tracemont
