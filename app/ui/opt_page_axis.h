// The "Axie X" and "Axie Y" pages of the plot options sheet: one axis'
// caption texts, scale (start, value per centimetre or inch, logarithmic
// base, direction) and how it is drawn (position, band, ticks, title,
// arrow). "End" follows "Start" and "In one" and is read-only.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <string>

#include "app/ui/number_field.h"
#include "app/ui/options_page.h"

namespace tracemont {

class COptPageAxis : public OptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogIdX = 188;
  static constexpr int kDialogIdY = 187;

  // axisIndex: 0 the X axis, 1 the Y axis. Shows the values of that axis of
  // `data` in its unit (inches when `data.inches` is set); keeps no
  // reference to `data`.
  COptPageAxis(const DocumentData& data, int axisIndex, QWidget* parent = nullptr);

  int DialogId() const override { return axisIndex_ == 0 ? kDialogIdX : kDialogIdY; }
  std::optional<Problem> Validate() const override;
  Impact Pending(const DocumentData& data) const override;
  void Apply(DocumentData& data) const override;
  void ShowUnit(bool inches) override;

  NumberField& StartField() { return *start_; }
  NumberField& InOneField() { return *inOne_; }
  QCheckBox& LogBox() { return *log_; }
  // The shown "End" text.
  QString EndText() const { return end_->text(); }

 private:
  // The axis as this page would leave it, fields normalised.
  CPlaneAxe Edited(const CPlaneAxe& original) const;
  const CPlaneAxe& AxisOf(const DocumentData& data) const { return axisIndex_ == 0 ? data.axisX : data.axisY; }
  CPlaneAxe& AxisOf(DocumentData& data) const { return axisIndex_ == 0 ? data.axisX : data.axisY; }
  void ShowEnd();

  int axisIndex_;
  CAxeScale shownScale_;  // the document's scale when the page was built (for the axis length)
  QLineEdit* name_ = nullptr;
  QLineEdit* unit_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
  std::string originalName_;
  std::string originalUnit_;
  std::string originalNote_;
  NumberField* start_ = nullptr;
  NumberField* inOne_ = nullptr;
  QLabel* inOneUnit_ = nullptr;
  QLineEdit* end_ = nullptr;
  QCheckBox* log_ = nullptr;
  NumberField* base_ = nullptr;
  QRadioButton* forward_ = nullptr;
  QRadioButton* backward_ = nullptr;
  QCheckBox* arrow_ = nullptr;
  QComboBox* position_ = nullptr;
  QComboBox* titleMode_ = nullptr;
  NumberField* band_ = nullptr;
  NumberField* tickStep_ = nullptr;
  QSpinBox* tickLines_ = nullptr;
};

}  // namespace tracemont
