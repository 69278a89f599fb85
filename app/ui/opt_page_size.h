// The "Page" page of the plot options sheet: the unit shown to the user,
// the plot page size, the four margin blocks and the title and comment texts
// shown in the upper and lower blocks.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <array>

#include "app/ui/number_field.h"
#include "app/ui/options_page.h"

namespace tracemont {

class COptPageSize : public OptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 186;
  // Indent kinds in the order the page lists them: "Upper", "Lower",
  // "Left", "Right".
  static constexpr std::array<int, 4> kBlockKinds{1, 3, 0, 2};

  // Shows the values of `data`; keeps no reference to it.
  explicit COptPageSize(const DocumentData& data, QWidget* parent = nullptr);

  int DialogId() const override { return kDialogId; }
  std::optional<Problem> Validate() const override;
  Impact Pending(const DocumentData& data) const override;
  void Apply(DocumentData& data) const override;

  bool Inches() const;
  // Sets the unit as if the user had chosen it (re-shows the sizes).
  void SetInches(bool inches);
  NumberField& WidthField() { return *width_; }
  NumberField& HeightField() { return *height_; }

 signals:
  // The user switched between "Inch" and "Cm".
  void UnitChanged(bool inches);

 private:
  struct Block {
    QCheckBox* flag = nullptr;
    NumberField* factor = nullptr;
  };

  void OnUnitToggled();
  std::string Title() const;
  std::string Comment() const;

  QRadioButton* cm_ = nullptr;
  QRadioButton* inch_ = nullptr;
  NumberField* width_ = nullptr;
  NumberField* height_ = nullptr;
  std::array<QLabel*, 2> sizeUnits_{};
  std::array<Block, 4> blocks_{};  // indexed by indent kind
  // Texts are written back only when edited, so that line ends and other
  // details the boxes would normalise survive an unedited OK.
  std::string originalTitle_;
  std::string originalComment_;
  QLineEdit* title_ = nullptr;
  QPlainTextEdit* comment_ = nullptr;
};

}  // namespace tracemont
