#include "app/ui/opt_page_editor.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tracemont {

const char* const kPictureFilter =
    "Pictures (*.bmp *.gif *.jpg *.jpeg *.png *.svg);;Bitmaps (*.bmp);;GIF pictures (*.gif);;"
    "JPEG pictures (*.jpg *.jpeg);;PNG pictures (*.png);;SVG drawings (*.svg);;All files (*)";

namespace {

// A flag shown in a check box is written back only when the box disagrees
// with it, so that any non-zero stored value survives an unedited OK.
std::int32_t FlagOf(const QCheckBox& box, std::int32_t original) {
  return box.isChecked() == (original != 0) ? original : (box.isChecked() ? 1 : 0);
}

}  // namespace

COptPageEditor::COptPageEditor(const DocumentData& data, QWidget* parent)
    : OptionsPage(parent), originalFile_(data.editor.pictureFile) {
  const CPlotEdit& editor = data.editor;
  auto* layout = new QVBoxLayout(this);

  auto* drawBox = new QGroupBox(QStringLiteral("Drawing"));
  auto* drawGrid = new QGridLayout(drawBox);
  step_ = new QSpinBox;
  step_->setRange(kMinStep, kMaxStep);
  step_->setValue(editor.drawingStep);
  step_->setAlignment(Qt::AlignRight);
  step_->setToolTip(QStringLiteral("The least distance between two points of a new series"));
  auto* defaultButton = new QPushButton(QStringLiteral("Default"));
  defaultButton->setAutoDefault(false);
  connect(defaultButton, &QPushButton::clicked, this, &COptPageEditor::RestoreDefaultStep);
  areasMarks_ = new QCheckBox(QStringLiteral("Areas marks"));
  areasMarks_->setChecked(editor.areasMarks != 0);
  areasMarks_->setToolTip(QStringLiteral("Draw the marks by which areas and functions are erased and edited"));
  drawGrid->addWidget(new QLabel(QStringLiteral("Interval between points")), 0, 0);
  drawGrid->addWidget(step_, 0, 1);
  drawGrid->addWidget(new QLabel(QStringLiteral("0.1 mm")), 0, 2);
  drawGrid->addWidget(defaultButton, 0, 3);
  drawGrid->addWidget(areasMarks_, 1, 0, 1, 4);
  drawGrid->setColumnStretch(4, 1);
  layout->addWidget(drawBox);

  auto* pictureBox = new QGroupBox(QStringLiteral("Background picture"));
  auto* pictureColumn = new QVBoxLayout(pictureBox);
  use_ = new QCheckBox(QStringLiteral("use"));
  use_->setToolTip(QStringLiteral("Load the picture file and draw it behind the plot"));
  use_->setChecked(editor.pictureShown != 0);
  auto* fileRow = new QHBoxLayout;
  file_ = new QLineEdit(QString::fromStdString(editor.pictureFile));
  auto* browse = new QPushButton(QStringLiteral("..."));
  browse->setAutoDefault(false);
  browse->setToolTip(QStringLiteral("Choose the picture file"));
  browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  connect(browse, &QPushButton::clicked, this, &COptPageEditor::BrowsePicture);
  fileRow->addWidget(new QLabel(QStringLiteral("File")));
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  stretched_ = new QCheckBox(QStringLiteral("Resize to plot"));
  stretched_->setChecked(editor.pictureStretched != 0);
  centred_ = new QCheckBox(QStringLiteral("On page center"));
  centred_->setChecked(editor.pictureCentred != 0);
  centred_->setToolTip(QStringLiteral("Without resizing, put the picture's centre on the page's centre"));
  pictureColumn->addWidget(use_);
  pictureColumn->addLayout(fileRow);
  pictureColumn->addWidget(stretched_);
  pictureColumn->addWidget(centred_);
  layout->addWidget(pictureBox);
  layout->addStretch();

  // Centring matters only for a picture kept at its natural size.
  centred_->setEnabled(!stretched_->isChecked());
  connect(stretched_, &QCheckBox::toggled, centred_, [this](bool on) { centred_->setEnabled(!on); });
}

void COptPageEditor::RestoreDefaultStep() { step_->setValue(CPlotEdit{}.drawingStep); }

void COptPageEditor::BrowsePicture() {
  const QString current = file_->text();
  const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
  const QString chosen =
      QFileDialog::getOpenFileName(this, QStringLiteral("Background picture"), start, QString::fromUtf8(kPictureFilter));
  if (chosen.isEmpty()) return;  // cancelled
  file_->setText(chosen);
  file_->setModified(true);
  use_->setChecked(true);  // choosing a picture means showing it
}

CPlotEdit COptPageEditor::Edited(const CPlotEdit& original) const {
  CPlotEdit editor = original;
  editor.drawingStep = step_->value();
  editor.areasMarks = FlagOf(*areasMarks_, original.areasMarks);
  editor.pictureShown = FlagOf(*use_, original.pictureShown);
  editor.pictureStretched = FlagOf(*stretched_, original.pictureStretched);
  editor.pictureCentred = FlagOf(*centred_, original.pictureCentred);
  editor.pictureFile = file_->isModified() ? file_->text().toStdString() : originalFile_;
  return editor;
}

OptionsPage::Impact COptPageEditor::Pending(const DocumentData& data) const {
  return Edited(data.editor) == data.editor ? Impact::None : Impact::Redraw;
}

void COptPageEditor::Apply(DocumentData& data) const { data.editor = Edited(data.editor); }

}  // namespace tracemont
