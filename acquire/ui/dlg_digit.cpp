#include "acquire/ui/dlg_digit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/ui/help_system.h"
#include "model/text.h"

namespace tracemont {
namespace {

// The step's arrows run from 0 to 50; a typed value may go up to 100.
class StepSpinBox final : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;
  static constexpr int kArrowMax = 50;

  void stepBy(int steps) override {
    const int next = std::clamp(value() + steps, 0, std::max(value(), kArrowMax));
    setValue(next);
  }

 protected:
  StepEnabled stepEnabled() const override {
    StepEnabled enabled = StepNone;
    if (value() > 0) enabled |= StepDownEnabled;
    if (value() < kArrowMax) enabled |= StepUpEnabled;
    return enabled;
  }
};

}  // namespace

CDlgDigit::CDlgDigit(const DigitLimits& limits, QWidget* parent) : QDialog(parent), limits_(limits) {
  setObjectName("DlgDigit");
  setWindowTitle(tr("Set values in graphic digitization limits"));
  limits_.Open();

  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  const auto group = [this](const std::string& head, int maxBox, int minBox, QCheckBox*& recalc) {
    auto* box = new QGroupBox(QString::fromStdString(head), this);
    auto* form = new QFormLayout(box);
    form->addRow(tr("max"), LimitBox(maxBox));
    form->addRow(tr("min"), LimitBox(minBox));
    recalc = new QCheckBox(tr("Recalc"), box);
    form->addRow(recalc);
    return box;
  };
  groups->addWidget(group(limits_.xHead, 0, 2, recalcX_));
  groups->addWidget(group(limits_.yHead, 1, 3, recalcY_));
  recalcX_->setObjectName("RecalcX");
  recalcY_->setObjectName("RecalcY");
  recalcX_->setChecked(limits_.recalcX);
  recalcY_->setChecked(limits_.recalcY);
  layout->addLayout(groups);

  auto* stepRow = new QHBoxLayout;
  stepRow->addWidget(new QLabel(tr("Digitization step, 0.1 mm"), this));
  step_ = new StepSpinBox(this);
  step_->setObjectName("Step");
  step_->setRange(0, DigitLimits::kMaxStep);
  step_->setValue(std::clamp(limits_.step, 0, DigitLimits::kMaxStep));
  stepRow->addWidget(step_);
  stepRow->addStretch();
  layout->addLayout(stepRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  AddDialogHelp(*buttons, 192);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QLineEdit* CDlgDigit::LimitBox(int which) {
  const double values[4] = {limits_.xMax, limits_.yMax, limits_.xMin, limits_.yMin};
  static const char* const kNames[4] = {"XMax", "YMax", "XMin", "YMin"};
  auto* edit = new QLineEdit(QString::fromStdString(StrFormat("%.10g", values[which])), this);
  edit->setObjectName(kNames[which]);
  boxes_[which] = edit;
  connect(edit, &QLineEdit::textEdited, this, [this, which] { edited_[which] = true; });
  return edit;
}

void CDlgDigit::accept() {
  double typed[4] = {};
  for (int i = 0; i < 4; ++i) {
    if (!edited_[i]) continue;
    bool ok = false;
    typed[i] = boxes_[i]->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed[i])) {
      QMessageBox::warning(this, windowTitle(), tr("Please enter a number."));
      boxes_[i]->setFocus();
      boxes_[i]->selectAll();
      return;
    }
  }
  for (int i = 0; i < 4; ++i)
    if (edited_[i]) limits_.EditLimit(i, typed[i]);
  limits_.recalcX = recalcX_->isChecked();
  limits_.recalcY = recalcY_->isChecked();
  limits_.step = step_->value();
  QDialog::accept();
}

}  // namespace tracemont
