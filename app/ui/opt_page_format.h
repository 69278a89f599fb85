// The "Format" page of the plot options sheet: the base font of the plot's
// texts, the size and colour of the five text styles and the width and
// colour of the four line styles.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <array>

#include "app/ui/colour_button.h"
#include "app/ui/options_page.h"

namespace tracemont {

class COptPageFormat : public OptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 184;

  // Shows the visual parameters of `data`; keeps no reference to it.
  explicit COptPageFormat(const DocumentData& data, QWidget* parent = nullptr);

  int DialogId() const override { return kDialogId; }
  Impact Pending(const DocumentData& data) const override;
  void Apply(DocumentData& data) const override;

  // The visual parameters as the page would leave them.
  CVisuPara Edited(const CVisuPara& original) const;
  // Takes face, weight and italic of `font` as if chosen in the font dialog.
  void SetBaseFont(const QFont& font);
  QSpinBox& TextSizeBox(int style) { return *texts_[static_cast<std::size_t>(style)].size; }
  QSpinBox& LineWidthBox(int style) { return *lines_[static_cast<std::size_t>(style)].width; }

 private:
  struct Row {
    QSpinBox* size = nullptr;  // text size or line width, 0.1 mm
    QSpinBox* width = nullptr;
    ColourButton* colour = nullptr;
  };

  void ChooseFont();
  void ShowFont();

  FontDescription font_;  // the base font as chosen so far
  QLabel* fontName_ = nullptr;
  std::array<Row, CVisuPara::kTextStyles> texts_{};
  std::array<Row, CVisuPara::kLineStyles> lines_{};
};

}  // namespace tracemont
