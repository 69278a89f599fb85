// The "Editor" page of the plot options sheet: the drawing step of new
// series, the areas marks switch and the background picture (use, file,
// "Resize to plot", "On page center").
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <string>

#include "app/ui/options_page.h"

namespace tracemont {

// The file dialog filter of background pictures.
extern const char* const kPictureFilter;

class COptPageEditor : public OptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 182;
  static constexpr int kMinStep = 1;    // 0.1 mm
  static constexpr int kMaxStep = 100;  // 0.1 mm

  // Shows the editor settings of `data`; keeps no reference to it.
  explicit COptPageEditor(const DocumentData& data, QWidget* parent = nullptr);

  int DialogId() const override { return kDialogId; }
  Impact Pending(const DocumentData& data) const override;
  void Apply(DocumentData& data) const override;

  // The editor settings as the page would leave them.
  CPlotEdit Edited(const CPlotEdit& original) const;
  QSpinBox& StepBox() { return *step_; }
  // Puts back the initial drawing step ("Default").
  void RestoreDefaultStep();

 private:
  void BrowsePicture();

  std::string originalFile_;
  QSpinBox* step_ = nullptr;
  QCheckBox* areasMarks_ = nullptr;
  QCheckBox* use_ = nullptr;
  QLineEdit* file_ = nullptr;
  QCheckBox* stretched_ = nullptr;
  QCheckBox* centred_ = nullptr;
};

}  // namespace tracemont
