#include "app/ui/opt_page_axis.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "model/text.h"

namespace tracemont {
namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kHuge = 1e300;

QString UnitText(bool inches) { return inches ? QStringLiteral("inch") : QStringLiteral("cm."); }

// The fields this page edits; the page layout's rectangles and plot range
// are not the page's business.
bool SameSettings(const CPlaneAxe& a, const CPlaneAxe& b) {
  return a.name == b.name && a.unit == b.unit && a.note == b.note && a.arrow == b.arrow &&
         a.position == b.position && a.titleMode == b.titleMode && a.tickLines == b.tickLines &&
         a.band == b.band && a.tickStep == b.tickStep && a.scale == b.scale;
}

QPlainTextEdit* NoteBox(const std::string& text) {
  auto* box = new QPlainTextEdit;
  box->setPlainText(QString::fromStdString(text));
  box->document()->setModified(false);
  box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 12);
  return box;
}

}  // namespace

COptPageAxis::COptPageAxis(const DocumentData& data, int axisIndex, QWidget* parent)
    : OptionsPage(parent), axisIndex_(axisIndex == 0 ? 0 : 1) {
  const CPlaneAxe& axis = AxisOf(data);
  const bool horizontal = axisIndex_ == 0;
  shownScale_ = axis.scale;
  originalName_ = axis.name;
  originalUnit_ = axis.unit;
  originalNote_ = axis.note;

  auto* layout = new QVBoxLayout(this);

  auto* captionRow = new QHBoxLayout;
  name_ = new QLineEdit(QString::fromStdString(axis.name));
  unit_ = new QLineEdit(QString::fromStdString(axis.unit));
  captionRow->addWidget(new QLabel(QStringLiteral("Value")));
  captionRow->addWidget(name_, 3);
  captionRow->addSpacing(12);
  captionRow->addWidget(new QLabel(QStringLiteral("Units")));
  captionRow->addWidget(unit_, 1);
  layout->addLayout(captionRow);

  auto* scaleBox = new QGroupBox(QStringLiteral("Scale"));
  auto* scaleGrid = new QGridLayout(scaleBox);
  start_ = new NumberField(-kHuge, kHuge);
  start_->SetValue(axis.scale.b);
  inOne_ = new NumberField(1e-8, kHuge);
  inOne_->SetValue(axis.scale.k);
  inOneUnit_ = new QLabel;
  end_ = new QLineEdit;
  end_->setReadOnly(true);
  end_->setAlignment(Qt::AlignRight);
  end_->setFocusPolicy(Qt::NoFocus);
  end_->setToolTip(QStringLiteral("The value at the end of the axis"));
  log_ = new QCheckBox(QStringLiteral("Log. scale"));
  log_->setChecked(axis.scale.IsLogarithmic());
  base_ = new NumberField(1.01, kHuge);
  base_->SetValue(axis.scale.base);
  base_->setToolTip(QStringLiteral("Factor per centimetre"));
  scaleGrid->addWidget(new QLabel(QStringLiteral("Start")), 0, 0);
  scaleGrid->addWidget(start_, 0, 1);
  scaleGrid->addWidget(new QLabel(QStringLiteral("In one")), 1, 0);
  scaleGrid->addWidget(inOne_, 1, 1);
  scaleGrid->addWidget(inOneUnit_, 1, 2);
  scaleGrid->addWidget(new QLabel(QStringLiteral("End")), 2, 0);
  scaleGrid->addWidget(end_, 2, 1);
  scaleGrid->addWidget(log_, 3, 0);
  scaleGrid->addWidget(base_, 3, 1);
  scaleGrid->setColumnStretch(3, 1);

  auto* directionBox = new QGroupBox(QStringLiteral("Direction"));
  auto* directionColumn = new QVBoxLayout(directionBox);
  forward_ = new QRadioButton(horizontal ? QStringLiteral("To the right") : QStringLiteral("Upwards"));
  backward_ = new QRadioButton(horizontal ? QStringLiteral("To the left") : QStringLiteral("Downwards"));
  (axis.scale.direction >= 0 ? forward_ : backward_)->setChecked(true);
  directionColumn->addWidget(forward_);
  directionColumn->addWidget(backward_);
  directionColumn->addStretch();

  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scaleBox, 3);
  scaleRow->addWidget(directionBox, 1);
  layout->addLayout(scaleRow);

  auto* drawBox = new QGroupBox(QStringLiteral("Drawing"));
  auto* drawGrid = new QGridLayout(drawBox);
  position_ = new QComboBox;
  position_->addItems(horizontal ? QStringList{QStringLiteral("None"), QStringLiteral("Top"), QStringLiteral("Bottom")}
                                 : QStringList{QStringLiteral("None"), QStringLiteral("Left"), QStringLiteral("Right")});
  position_->setCurrentIndex(axis.position == 1 || axis.position == 2 ? axis.position : 0);
  titleMode_ = new QComboBox;
  titleMode_->addItems({QStringLiteral("None"), QStringLiteral("Centred"), QStringLiteral("At the end")});
  titleMode_->setCurrentIndex(axis.titleMode == 1 || axis.titleMode == 2 ? axis.titleMode : 0);
  // Out-of-range bands are clamped when applied, not refused.
  band_ = new NumberField(-kHuge, kHuge);
  band_->SetValue(axis.band);
  band_->setToolTip(QStringLiteral("Room kept for the axis on the page, 0.2 to 10 cm"));
  tickStep_ = new NumberField(1e-6, 1e6);
  tickStep_->SetValue(axis.tickStep);
  tickStep_->setToolTip(QStringLiteral("Distance between labelled ticks"));
  tickLines_ = new QSpinBox;
  tickLines_->setRange(0, 20);
  tickLines_->setValue(axis.tickLines);
  tickLines_->setToolTip(QStringLiteral("Subdivision lines between labelled ticks"));
  arrow_ = new QCheckBox(QStringLiteral("Arrow"));
  arrow_->setChecked(axis.arrow != 0);
  drawGrid->addWidget(new QLabel(QStringLiteral("Position")), 0, 0);
  drawGrid->addWidget(position_, 0, 1);
  drawGrid->addWidget(new QLabel(QStringLiteral("Band, cm")), 0, 3);
  drawGrid->addWidget(band_, 0, 4);
  drawGrid->addWidget(new QLabel(QStringLiteral("Title")), 1, 0);
  drawGrid->addWidget(titleMode_, 1, 1);
  drawGrid->addWidget(new QLabel(QStringLiteral("Tick step, cm")), 1, 3);
  drawGrid->addWidget(tickStep_, 1, 4);
  drawGrid->addWidget(arrow_, 2, 0, 1, 2);
  drawGrid->addWidget(new QLabel(QStringLiteral("Tick lines")), 2, 3);
  drawGrid->addWidget(tickLines_, 2, 4);
  drawGrid->setColumnMinimumWidth(2, 16);
  drawGrid->setColumnStretch(1, 1);
  drawGrid->setColumnStretch(4, 1);
  layout->addWidget(drawBox);

  note_ = NoteBox(axis.note);
  auto* noteForm = new QFormLayout;
  noteForm->addRow(QStringLiteral("Note"), note_);
  layout->addLayout(noteForm);
  layout->addStretch();

  base_->setEnabled(log_->isChecked());
  connect(log_, &QCheckBox::toggled, this, [this](bool on) {
    base_->setEnabled(on);
    ShowEnd();
  });
  connect(start_, &NumberField::ValueEdited, this, &COptPageAxis::ShowEnd);
  connect(inOne_, &NumberField::ValueEdited, this, &COptPageAxis::ShowEnd);
  connect(base_, &NumberField::ValueEdited, this, &COptPageAxis::ShowEnd);
  // An invalid entry leaves the end unknown until it is corrected.
  connect(start_, &QLineEdit::textEdited, this, &COptPageAxis::ShowEnd);
  connect(inOne_, &QLineEdit::textEdited, this, &COptPageAxis::ShowEnd);
  connect(base_, &QLineEdit::textEdited, this, &COptPageAxis::ShowEnd);
  ShowUnit(data.inches != 0);
}

void COptPageAxis::ShowUnit(bool inches) {
  inOne_->SetDisplayFactor(inches ? kCmPerInch : 1.0);
  inOneUnit_->setText(UnitText(inches));
  ShowEnd();
}

void COptPageAxis::ShowEnd() {
  if (!start_->IsValid() || !inOne_->IsValid() || (log_->isChecked() && !base_->IsValid())) {
    end_->clear();
    return;
  }
  CAxeScale scale = shownScale_;
  scale.type = log_->isChecked() ? CAxeScale::kLogarithmic : CAxeScale::kLinear;
  scale.b = start_->Value();
  scale.k = inOne_->Value();
  scale.base = base_->Value();
  scale.Normalise();
  end_->setText(QString::fromStdString(FormatG(scale.ToValue(scale.hi - scale.lo))));
}

CPlaneAxe COptPageAxis::Edited(const CPlaneAxe& original) const {
  CPlaneAxe axis = original;
  axis.name = name_->isModified() ? name_->text().toStdString() : originalName_;
  axis.unit = unit_->isModified() ? unit_->text().toStdString() : originalUnit_;
  axis.note = note_->document()->isModified() ? note_->toPlainText().toStdString() : originalNote_;
  axis.scale.b = start_->Value();
  axis.scale.k = inOne_->Value();
  axis.scale.type = log_->isChecked() ? CAxeScale::kLogarithmic : CAxeScale::kLinear;
  axis.scale.base = base_->Value();
  // Stored flags keep their exact value while the box still agrees with them.
  if (forward_->isChecked() != (original.scale.direction >= 0)) axis.scale.direction = forward_->isChecked() ? 1 : -1;
  if (arrow_->isChecked() != (original.arrow != 0)) axis.arrow = arrow_->isChecked() ? 1 : 0;
  axis.band = band_->Value();
  axis.tickStep = tickStep_->Value();
  axis.tickLines = tickLines_->value();
  axis.position = position_->currentIndex();
  axis.titleMode = titleMode_->currentIndex();
  axis.NormaliseFields();
  return axis;
}

std::optional<OptionsPage::Problem> COptPageAxis::Validate() const {
  if (!start_->IsValid()) return Problem{start_, QStringLiteral("\"Start\" must be a number.")};
  if (!inOne_->IsValid())
    return Problem{inOne_, QStringLiteral("\"In one\" must be a number greater than 0.")};
  if (log_->isChecked() && !base_->IsValid())
    return Problem{base_, QStringLiteral("The base of a logarithmic scale must be a number of at least 1.01.")};
  if (!band_->IsValid()) return Problem{band_, QStringLiteral("The band must be a number (0.2 to 10 cm).")};
  if (!tickStep_->IsValid())
    return Problem{tickStep_, QStringLiteral("The tick step must be a number %1 cm.").arg(tickStep_->RangeText())};
  return std::nullopt;
}

OptionsPage::Impact COptPageAxis::Pending(const DocumentData& data) const {
  const CPlaneAxe& axis = AxisOf(data);
  return SameSettings(Edited(axis), axis) ? Impact::None : Impact::Outlines;
}

void COptPageAxis::Apply(DocumentData& data) const {
  CPlaneAxe& axis = AxisOf(data);
  const CPlaneAxe edited = Edited(axis);
  axis.name = edited.name;
  axis.unit = edited.unit;
  axis.note = edited.note;
  axis.arrow = edited.arrow;
  axis.position = edited.position;
  axis.titleMode = edited.titleMode;
  axis.tickLines = edited.tickLines;
  axis.band = edited.band;
  axis.tickStep = edited.tickStep;
  axis.scale = edited.scale;
}

}  // namespace tracemont
