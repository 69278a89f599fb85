// The limits dialog of digitizing ("Set values in graphic digitization
// limits"): the values at the edges of the search region, whether the axes
// take them, and the digitization step.
#pragma once

#include <QDialog>

#include "acquire/digitize.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tracemont {

class CDlgDigit : public QDialog {
  Q_OBJECT
 public:
  // Shows `limits` (copied); the old limits are taken from them now.
  explicit CDlgDigit(const DigitLimits& limits, QWidget* parent = nullptr);

  // The values after OK: edited limits (and the changed flag), Recalc X/Y,
  // the step. Unedited boxes keep their exact values.
  const DigitLimits& Limits() const { return limits_; }

  void accept() override;

 private:
  QLineEdit* LimitBox(int which);
  DigitLimits limits_;
  QLineEdit* boxes_[4] = {};  // X max, Y max, X min, Y min
  bool edited_[4] = {};
  QCheckBox* recalcX_ = nullptr;
  QCheckBox* recalcY_ = nullptr;
  QSpinBox* step_ = nullptr;
};

}  // namespace tracemont
