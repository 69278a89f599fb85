#include "app/ui/opt_page_format.h"

#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace tracemont {
namespace {

constexpr std::array<const char*, CVisuPara::kTextStyles> kTextNames{"Text", "Header", "Notes", "Tick labels",
                                                                     "Footer"};
constexpr std::array<const char*, CVisuPara::kLineStyles> kLineNames{"Main", "Axis", "Border", "Tick"};
constexpr int kNormalWeight = 400;

// A spin box for a length in 0.1 mm. Its range takes in the stored value, so
// that a value set outside the usual range elsewhere survives an unedited OK.
QSpinBox* LengthBox(int lo, int hi, int value) {
  auto* box = new QSpinBox;
  box->setRange(std::min(lo, value), std::max(hi, value));
  box->setValue(value);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QFont ToQFont(const FontDescription& d) {
  QFont font(QString::fromStdString(d.face));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(d.weight > 0 ? d.weight : kNormalWeight, 1, 1000)));
  font.setItalic(d.italic != 0);
  return font;
}

}  // namespace

COptPageFormat::COptPageFormat(const DocumentData& data, QWidget* parent)
    : OptionsPage(parent), font_(data.visu.font) {
  const CVisuPara& visu = data.visu;
  auto* layout = new QVBoxLayout(this);

  auto* fontBox = new QGroupBox(QStringLiteral("Font"));
  auto* fontRow = new QHBoxLayout(fontBox);
  fontName_ = new QLabel;
  auto* fontButton = new QPushButton(QStringLiteral("Font..."));
  fontButton->setToolTip(QStringLiteral("Face, weight and slant of every text of the plot; the sizes are set below"));
  connect(fontButton, &QPushButton::clicked, this, &COptPageFormat::ChooseFont);
  fontRow->addWidget(fontName_, 1);
  fontRow->addWidget(fontButton);
  layout->addWidget(fontBox);

  auto* columns = new QHBoxLayout;
  auto* textBox = new QGroupBox(QStringLiteral("Texts, 0.1 mm"));
  auto* textGrid = new QGridLayout(textBox);
  for (int i = 0; i < CVisuPara::kTextStyles; ++i) {
    const auto s = static_cast<std::size_t>(i);
    Row& row = texts_[s];
    row.size = LengthBox(1, 1000, visu.textSizes[s]);
    row.colour = new ColourButton(QStringLiteral("Colour of \"%1\"").arg(kTextNames[s]));
    row.colour->SetColour(visu.textColours[s]);
    textGrid->addWidget(new QLabel(kTextNames[s]), i, 0);
    textGrid->addWidget(row.size, i, 1);
    textGrid->addWidget(row.colour, i, 2);
  }
  textGrid->setRowStretch(CVisuPara::kTextStyles, 1);
  columns->addWidget(textBox);

  auto* lineBox = new QGroupBox(QStringLiteral("Lines, 0.1 mm"));
  auto* lineGrid = new QGridLayout(lineBox);
  for (int i = 0; i < CVisuPara::kLineStyles; ++i) {
    const auto s = static_cast<std::size_t>(i);
    Row& row = lines_[s];
    row.width = LengthBox(0, 100, visu.lines[s].width);
    row.colour = new ColourButton(QStringLiteral("Colour of \"%1\"").arg(kLineNames[s]));
    row.colour->SetColour(visu.lines[s].colour);
    lineGrid->addWidget(new QLabel(kLineNames[s]), i, 0);
    lineGrid->addWidget(row.width, i, 1);
    lineGrid->addWidget(row.colour, i, 2);
  }
  lineGrid->setRowStretch(CVisuPara::kLineStyles, 1);
  columns->addWidget(lineBox);
  layout->addLayout(columns);
  layout->addStretch();
  ShowFont();
}

void COptPageFormat::ChooseFont() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, ToQFont(font_), this, QStringLiteral("Font of the plot"));
  if (ok) SetBaseFont(chosen);
}

void COptPageFormat::SetBaseFont(const QFont& font) {
  font_.face = font.family().toStdString();
  font_.weight = static_cast<int>(font.weight());
  font_.italic = font.italic() ? 1 : 0;
  ShowFont();
}

void COptPageFormat::ShowFont() {
  QString text = QString::fromStdString(font_.face);
  const int weight = font_.weight > 0 ? font_.weight : kNormalWeight;
  if (weight >= 600) text += QStringLiteral(", bold");
  if (font_.italic) text += QStringLiteral(", italic");
  fontName_->setText(text);
  QFont preview = ToQFont(font_);
  preview.setPointSizeF(fontName_->font().pointSizeF() * 1.2);
  fontName_->setFont(preview);
}

CVisuPara COptPageFormat::Edited(const CVisuPara& original) const {
  CVisuPara visu = original;
  visu.font.face = font_.face;
  visu.font.weight = font_.weight;
  visu.font.italic = font_.italic;
  for (std::size_t s = 0; s < texts_.size(); ++s) {
    visu.textSizes[s] = texts_[s].size->value();
    visu.textColours[s] = texts_[s].colour->GetColour();
  }
  for (std::size_t s = 0; s < lines_.size(); ++s) {
    visu.lines[s].width = lines_[s].width->value();
    visu.lines[s].colour = lines_[s].colour->GetColour();
  }
  return visu;
}

OptionsPage::Impact COptPageFormat::Pending(const DocumentData& data) const {
  return Edited(data.visu) == data.visu ? Impact::None : Impact::Redraw;
}

void COptPageFormat::Apply(DocumentData& data) const { data.visu = Edited(data.visu); }

}  // namespace tracemont
