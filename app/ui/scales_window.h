// The "Scales" window: a modeless tool window that shifts the axes by whole
// tick steps (arrow buttons and arrow keys) and zooms them (two sliders,
// 1..20, 10 = the scale captured when the window was shown). "Restore scales
// X,Y" puts back the captured scales. Every user action is one undo step.
//
// The main window creates it once (hidden) and shows or hides it:
//   auto scales = std::make_unique<CScalesWindow>(doc, mainWindow);
//   scales->setVisible(!scales->isVisible());
#pragma once

#include <QDialog>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "model/main_doc.h"

namespace tracemont {

class CScalesWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 194;
  static constexpr int kSliderMin = 1;
  static constexpr int kSliderMax = 20;
  static constexpr int kUnchanged = 10;

  // doc: borrowed; it must outlive the window.
  explicit CScalesWindow(CMainDoc& doc, QWidget* parent = nullptr);

  // Takes the document's current scales as the ones zooming starts from and
  // "Restore" puts back; the sliders go back to 10. Done on every show.
  void Capture();
  // Moves an axis' start by `steps` tick steps (one undo step).
  void ShiftX(int steps);
  void ShiftY(int steps);
  // Zooms an axis relative to the captured scale (one undo step).
  void ZoomX(int sliderPosition);
  void ZoomY(int sliderPosition);
  // Puts back k, b and base of both captured scales (one undo step).
  void Restore();

  QSlider& XSlider() { return *xSlider_; }
  QSlider& YSlider() { return *ySlider_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Arrow keys shift the axes wherever the focus is inside the window.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shifts for the arrow keys: left X +1, up Y -1, right X -1, down Y +1.
  bool HandleArrow(int key);
  void Announce();
  // Slider moved by the user; while dragging, one undo step per drag.
  void OnSlider(QSlider& slider, int position);
  void ShowFactors();

  CMainDoc& doc_;
  CAxeScale capturedX_;
  CAxeScale capturedY_;
  QSlider* xSlider_ = nullptr;
  QSlider* ySlider_ = nullptr;
  QLabel* xFactor_ = nullptr;
  QLabel* yFactor_ = nullptr;
  bool dragCheckpointTaken_ = false;
};

}  // namespace tracemont
