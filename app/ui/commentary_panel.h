// CCommentaryPanel: the modeless "Commentary" window that edits the
// document's current commentary: text, size, orientation, colours, position
// round the anchor, background, shadow, visibility and the draw-text mode,
// whose path the user then draws with the commentary tool.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "model/geometry.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tracemont {

class CCanvas;
class CMainDoc;
class CPlotText;
class ColourButton;

class CCommentaryPanel final : public QDialog {
  Q_OBJECT

 public:
  // The document and canvas must outlive the panel; `repaint` invalidates a
  // plot rectangle of the view.
  CCommentaryPanel(CMainDoc& document, CCanvas& canvas, std::function<void(const Rect&)> repaint,
                   QWidget* parent);

  // Makes the commentary current and shows its values ("TEST" is set as the
  // text of an empty one); shown near `screen` the first time, focus in the
  // text box.
  void Load(CPlotText& commentary, QPoint screen);

  // The buttons, callable directly.
  void Input();
  void Remove();
  void DrawItNow();
  void ClosePanel();

  QPlainTextEdit* TextBox() const { return text_; }
  QSpinBox* SizeBox() const { return size_; }
  QSpinBox* AngleBox() const { return angle_; }
  QRadioButton* PositionButton(int i) const { return positions_.at(static_cast<std::size_t>(i)); }
  QCheckBox* DrawTextBox() const { return drawText_; }
  QPushButton* DrawItNowButton() const { return drawNow_; }

 private:
  CPlotText* Current() const;
  // Writes the controls to the commentary (not the text, not the mode).
  void Apply(CPlotText& text);
  // Repaints everything the commentary covered since the last redraw and
  // ends path drawing.
  void Redraw();
  void Gather(const CPlotText& text);
  // Event of every live control.
  void LiveChange();
  // One undo snapshot before the first live change after loading.
  void BeginChange();
  void ChooseFont();
  void SetText(CPlotText& text);

  CMainDoc& doc_;
  CCanvas& canvas_;
  std::function<void(const Rect&)> repaint_;
  QPlainTextEdit* text_;
  QSpinBox* size_;
  QSpinBox* angle_;
  ColourButton* textColour_;
  ColourButton* backColour_;
  std::array<QRadioButton*, 5> positions_{};
  QCheckBox* background_;
  QCheckBox* shadow_;
  QCheckBox* drawText_;
  QCheckBox* visible_;
  QPushButton* drawNow_;
  std::optional<Rect> redraw_;
  bool initialised_ = false;
  bool loading_ = false;
  bool placed_ = false;
  bool changed_ = false;
};

}  // namespace tracemont
