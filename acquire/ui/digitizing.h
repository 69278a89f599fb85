// The windowed side of digitizing: the limits dialog round the runs of
// acquire/digitize.h, the picture layer from the loaded background picture,
// and the pixels of the screen.
#pragma once

#include <QRect>
#include <functional>

#include "acquire/digitize.h"

class QWidget;

namespace tracemont {

class BorderWindow;

// Sent by the border window when the user asks to digitize.
constexpr int kFinishScreenDigitizing = 32818;

// The border window of a view, made on first use as the view's child so that
// it closes with the view; it shows the drawing colour of `colourCommand`.
// `onDigitize` runs when the user presses its "Digitize" button.
BorderWindow& OpenBorderWindow(QWidget& view, int colourCommand, std::function<void()> onDigitize);
// The view's border window if one was opened, else null.
BorderWindow* FindBorderWindow(QWidget& view);
// Shows the drawing colour of the command in the border window.
void ShowBorderColour(BorderWindow& window, int colourCommand);

// Whether digitizing from the picture can start: the picture is shown and
// an area is selected.
bool CanDigitizePicture(const CMainDoc& doc);

// Digitizes the background picture inside the selected areas at the view's
// resolution. With a dialog parent the limits dialog is shown first and
// Cancel ends the run; without one the limits stay as prepared. Returns the
// new series, or null when nothing was made.
CPlotDot* DigitizePicture(CMainDoc& doc, const DigitizeStyle& style, int dpiX, int dpiY,
                          QWidget* dialogParent);

// Digitizes the screen rectangle `screen` for exactly the colour `picked`
// after the limits dialog (the axes' ranges offered). Null when cancelled
// or nothing was found.
CPlotDot* DigitizeScreen(CMainDoc& doc, const DigitizeStyle& style, const QRect& screen,
                         Colour picked, QWidget* dialogParent);

}  // namespace tracemont
