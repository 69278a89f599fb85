#include "app/ui/opt_page_size.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

namespace tracemont {
namespace {

// Tenths of a millimetre per shown unit.
constexpr double kTenthsPerCm = 100.0;
constexpr double kTenthsPerInch = 254.0;

QString UnitText(bool inches) { return inches ? QStringLiteral("inch") : QStringLiteral("cm."); }

QString BlockName(int kind) {
  switch (kind) {
    case 1: return QStringLiteral("Upper");
    case 3: return QStringLiteral("Lower");
    case 0: return QStringLiteral("Left");
    default: return QStringLiteral("Right");
  }
}

}  // namespace

COptPageSize::COptPageSize(const DocumentData& data, QWidget* parent)
    : OptionsPage(parent), originalTitle_(data.title), originalComment_(data.comment) {
  auto* layout = new QVBoxLayout(this);

  auto* unitBox = new QGroupBox(QStringLiteral("Units"));
  auto* unitRow = new QHBoxLayout(unitBox);
  cm_ = new QRadioButton(QStringLiteral("Cm"));
  inch_ = new QRadioButton(QStringLiteral("Inch"));
  unitRow->addWidget(cm_);
  unitRow->addWidget(inch_);
  unitRow->addStretch();
  layout->addWidget(unitBox);

  auto* sizeBox = new QGroupBox(QStringLiteral("Plot size"));
  auto* sizeGrid = new QGridLayout(sizeBox);
  width_ = new NumberField(kMinPageSize, kMaxPageSize);
  height_ = new NumberField(kMinPageSize, kMaxPageSize);
  const std::array<std::pair<QString, NumberField*>, 2> sizes{
      std::pair{QStringLiteral("Width"), width_}, std::pair{QStringLiteral("Height"), height_}};
  for (int row = 0; row < 2; ++row) {
    auto* field = sizes[static_cast<std::size_t>(row)].second;
    field->SetWholeNumbers(true);  // stored in whole 0.1 mm
    sizeGrid->addWidget(new QLabel(sizes[static_cast<std::size_t>(row)].first), row, 0);
    sizeGrid->addWidget(field, row, 1);
    sizeUnits_[static_cast<std::size_t>(row)] = new QLabel;
    sizeGrid->addWidget(sizeUnits_[static_cast<std::size_t>(row)], row, 2);
  }
  sizeGrid->setColumnStretch(3, 1);
  width_->SetValue(data.pageWidth);
  height_->SetValue(data.pageHeight);
  layout->addWidget(sizeBox);

  auto* blockBox = new QGroupBox(QStringLiteral("Margin blocks"));
  auto* blockGrid = new QGridLayout(blockBox);
  blockGrid->addWidget(new QLabel(QStringLiteral("Size, cm")), 0, 1);
  int row = 1;
  for (const int kind : kBlockKinds) {
    Block& block = blocks_[static_cast<std::size_t>(kind)];
    const CIndent& indent = data.indents[static_cast<std::size_t>(kind)];
    block.flag = new QCheckBox(BlockName(kind));
    block.flag->setChecked(indent.flag != 0);
    block.factor = new NumberField(0.1, 10.0);
    block.factor->SetValue(indent.factor);
    blockGrid->addWidget(block.flag, row, 0);
    blockGrid->addWidget(block.factor, row, 1);
    ++row;
  }
  blockGrid->setColumnStretch(2, 1);
  layout->addWidget(blockBox);

  auto* textBox = new QGroupBox(QStringLiteral("Texts"));
  auto* textForm = new QFormLayout(textBox);
  title_ = new QLineEdit(QString::fromStdString(data.title));
  title_->setToolTip(QStringLiteral("Shown in the upper block"));
  comment_ = new QPlainTextEdit;
  comment_->setPlainText(QString::fromStdString(data.comment));
  comment_->document()->setModified(false);
  comment_->setToolTip(QStringLiteral("Shown in the lower block"));
  comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * 4 + 12);
  textForm->addRow(QStringLiteral("Title"), title_);
  textForm->addRow(QStringLiteral("Comment"), comment_);
  layout->addWidget(textBox);
  layout->addStretch();

  (data.inches ? inch_ : cm_)->setChecked(true);
  OnUnitToggled();
  connect(inch_, &QRadioButton::toggled, this, [this] {
    OnUnitToggled();
    emit UnitChanged(Inches());
  });
}

bool COptPageSize::Inches() const { return inch_->isChecked(); }

void COptPageSize::SetInches(bool inches) { (inches ? inch_ : cm_)->setChecked(true); }

void COptPageSize::OnUnitToggled() {
  const bool inches = Inches();
  const double factor = 1.0 / (inches ? kTenthsPerInch : kTenthsPerCm);
  width_->SetDisplayFactor(factor);
  height_->SetDisplayFactor(factor);
  for (QLabel* label : sizeUnits_) label->setText(UnitText(inches));
}

std::string COptPageSize::Title() const {
  return title_->isModified() ? title_->text().toStdString() : originalTitle_;
}

std::string COptPageSize::Comment() const {
  return comment_->document()->isModified() ? comment_->toPlainText().toStdString() : originalComment_;
}

std::optional<OptionsPage::Problem> COptPageSize::Validate() const {
  const QString unit = UnitText(Inches());
  if (!width_->IsValid())
    return Problem{width_, QStringLiteral("The width must be a number %1 %2").arg(width_->RangeText(), unit)};
  if (!height_->IsValid())
    return Problem{height_, QStringLiteral("The height must be a number %1 %2").arg(height_->RangeText(), unit)};
  for (const int kind : kBlockKinds) {
    const NumberField* factor = blocks_[static_cast<std::size_t>(kind)].factor;
    if (!factor->IsValid())
      return Problem{blocks_[static_cast<std::size_t>(kind)].factor,
                     QStringLiteral("The size factor of the %1 block must be a number %2")
                         .arg(BlockName(kind).toLower(), factor->RangeText())};
  }
  return std::nullopt;
}

OptionsPage::Impact COptPageSize::Pending(const DocumentData& data) const {
  if (std::lround(width_->Value()) != data.pageWidth || std::lround(height_->Value()) != data.pageHeight)
    return Impact::PageSize;
  for (const int kind : kBlockKinds) {
    const Block& block = blocks_[static_cast<std::size_t>(kind)];
    const CIndent& indent = data.indents[static_cast<std::size_t>(kind)];
    if ((block.flag->isChecked() ? 1 : 0) != (indent.flag != 0 ? 1 : 0) || block.factor->Value() != indent.factor)
      return Impact::Outlines;
  }
  if (Inches() != (data.inches != 0) || Title() != data.title || Comment() != data.comment)
    return Impact::Redraw;
  return Impact::None;
}

void COptPageSize::Apply(DocumentData& data) const {
  if (Inches() != (data.inches != 0)) data.inches = Inches() ? 1 : 0;
  data.pageWidth = static_cast<std::int32_t>(std::lround(width_->Value()));
  data.pageHeight = static_cast<std::int32_t>(std::lround(height_->Value()));
  for (const int kind : kBlockKinds) {
    const Block& block = blocks_[static_cast<std::size_t>(kind)];
    CIndent& indent = data.indents[static_cast<std::size_t>(kind)];
    // A flag stored as any non-zero value stays as it is while still ticked.
    if (block.flag->isChecked() != (indent.flag != 0)) indent.flag = block.flag->isChecked() ? 1 : 0;
    indent.factor = block.factor->Value();
  }
  data.title = Title();
  data.comment = Comment();
}

}  // namespace tracemont
