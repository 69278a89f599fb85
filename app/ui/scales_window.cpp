#include "app/ui/scales_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShowEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/text.h"

namespace tracemont {
namespace {

QSlider* ZoomSlider(const QString& tip) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setRange(CScalesWindow::kSliderMin, CScalesWindow::kSliderMax);
  slider->setValue(CScalesWindow::kUnchanged);
  slider->setPageStep(1);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  slider->setMinimumWidth(200);
  slider->setToolTip(tip);
  return slider;
}

QToolButton* ArrowButton(Qt::ArrowType arrow, const QString& tip) {
  auto* button = new QToolButton;
  button->setArrowType(arrow);
  button->setToolTip(tip);
  button->setAutoRepeat(false);
  button->setFixedSize(28, 28);
  return button;
}

// The scale as the user reads it: value units per centimetre or inch, or
// the factor per centimetre of a logarithmic axis.
QString ScaleText(const CAxeScale& scale, bool inches) {
  if (scale.IsLogarithmic()) return QStringLiteral("base %1").arg(QString::fromStdString(FormatG(scale.base)).trimmed());
  const double k = inches ? scale.k * 2.54 : scale.k;
  return QStringLiteral("%1 per %2")
      .arg(QString::fromStdString(FormatG(k)).trimmed(), inches ? QStringLiteral("inch") : QStringLiteral("cm."));
}

}  // namespace

CScalesWindow::CScalesWindow(CMainDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
  setWindowTitle(QStringLiteral("Scales"));
  setModal(false);

  auto* layout = new QVBoxLayout(this);

  auto* zoomBox = new QGroupBox(QStringLiteral("Zoom"));
  auto* zoomGrid = new QGridLayout(zoomBox);
  xSlider_ = ZoomSlider(QStringLiteral("Zoom the X axis: right of the middle enlarges the value per centimetre, left reduces it"));
  ySlider_ = ZoomSlider(QStringLiteral("Zoom the Y axis: right of the middle enlarges the value per centimetre, left reduces it"));
  xFactor_ = new QLabel;
  yFactor_ = new QLabel;
  const int factorWidth = fontMetrics().horizontalAdvance(QStringLiteral("0.0000e+00 per inch"));
  xFactor_->setMinimumWidth(factorWidth);
  yFactor_->setMinimumWidth(factorWidth);
  zoomGrid->addWidget(new QLabel(QStringLiteral("X")), 0, 0);
  zoomGrid->addWidget(xSlider_, 0, 1);
  zoomGrid->addWidget(xFactor_, 0, 2);
  zoomGrid->addWidget(new QLabel(QStringLiteral("Y")), 1, 0);
  zoomGrid->addWidget(ySlider_, 1, 1);
  zoomGrid->addWidget(yFactor_, 1, 2);

  auto* shiftBox = new QGroupBox(QStringLiteral("Shift"));
  auto* shiftGrid = new QGridLayout(shiftBox);
  auto* left = ArrowButton(Qt::LeftArrow, QStringLiteral("Start of the X axis one tick step higher (Left key)"));
  auto* right = ArrowButton(Qt::RightArrow, QStringLiteral("Start of the X axis one tick step lower (Right key)"));
  auto* up = ArrowButton(Qt::UpArrow, QStringLiteral("Start of the Y axis one tick step lower (Up key)"));
  auto* down = ArrowButton(Qt::DownArrow, QStringLiteral("Start of the Y axis one tick step higher (Down key)"));
  shiftGrid->addWidget(up, 0, 1);
  shiftGrid->addWidget(left, 1, 0);
  shiftGrid->addWidget(right, 1, 2);
  shiftGrid->addWidget(down, 2, 1);
  connect(left, &QToolButton::clicked, this, [this] { HandleArrow(Qt::Key_Left); });
  connect(right, &QToolButton::clicked, this, [this] { HandleArrow(Qt::Key_Right); });
  connect(up, &QToolButton::clicked, this, [this] { HandleArrow(Qt::Key_Up); });
  connect(down, &QToolButton::clicked, this, [this] { HandleArrow(Qt::Key_Down); });

  auto* row = new QHBoxLayout;
  row->addWidget(zoomBox, 1);
  row->addWidget(shiftBox);
  layout->addLayout(row);

  auto* restore = new QPushButton(QStringLiteral("Restore scales X,Y"));
  restore->setAutoDefault(false);
  restore->setToolTip(QStringLiteral("Put back the scales the axes had when this window was shown"));
  connect(restore, &QPushButton::clicked, this, &CScalesWindow::Restore);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(restore);
  layout->addLayout(buttons);

  for (QSlider* slider : {xSlider_, ySlider_}) {
    connect(slider, &QSlider::sliderPressed, this, [this] { dragCheckpointTaken_ = false; });
    connect(slider, &QSlider::valueChanged, this, [this, slider](int position) { OnSlider(*slider, position); });
  }
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  Capture();
}

void CScalesWindow::Capture() {
  capturedX_ = doc_.Data().axisX.scale;
  capturedY_ = doc_.Data().axisY.scale;
  const QSignalBlocker blockX(xSlider_);
  const QSignalBlocker blockY(ySlider_);
  xSlider_->setValue(kUnchanged);
  ySlider_->setValue(kUnchanged);
  ShowFactors();
}

void CScalesWindow::ShowFactors() {
  const bool inches = doc_.Data().inches != 0;
  xFactor_->setText(ScaleText(doc_.Data().axisX.scale, inches));
  yFactor_->setText(ScaleText(doc_.Data().axisY.scale, inches));
}

void CScalesWindow::Announce() {
  // ChangedWithOutlines marks the distribution for recomputation too.
  doc_.ChangedWithOutlines();
  ShowFactors();
}

void CScalesWindow::ShiftX(int steps) {
  doc_.Checkpoint();
  doc_.Data().axisX.Shift(steps);
  Announce();
}

void CScalesWindow::ShiftY(int steps) {
  doc_.Checkpoint();
  doc_.Data().axisY.Shift(steps);
  Announce();
}

void CScalesWindow::ZoomX(int sliderPosition) {
  doc_.Checkpoint();
  doc_.Data().axisX.Zoom(sliderPosition, capturedX_);
  Announce();
}

void CScalesWindow::ZoomY(int sliderPosition) {
  doc_.Checkpoint();
  doc_.Data().axisY.Zoom(sliderPosition, capturedY_);
  Announce();
}

void CScalesWindow::OnSlider(QSlider& slider, int position) {
  CPlaneAxe& axis = &slider == xSlider_ ? doc_.Data().axisX : doc_.Data().axisY;
  const CAxeScale& captured = &slider == xSlider_ ? capturedX_ : capturedY_;
  // A drag is one user action: its first move takes the undo step.
  if (!slider.isSliderDown() || !dragCheckpointTaken_) doc_.Checkpoint();
  if (slider.isSliderDown()) dragCheckpointTaken_ = true;
  axis.Zoom(position, captured);
  Announce();
}

void CScalesWindow::Restore() {
  doc_.Checkpoint();
  const auto putBack = [](CAxeScale& scale, const CAxeScale& captured) {
    scale.k = captured.k;
    scale.b = captured.b;
    scale.base = captured.base;
    scale.Normalise();
  };
  putBack(doc_.Data().axisX.scale, capturedX_);
  putBack(doc_.Data().axisY.scale, capturedY_);
  {
    const QSignalBlocker blockX(xSlider_);
    const QSignalBlocker blockY(ySlider_);
    xSlider_->setValue(kUnchanged);
    ySlider_->setValue(kUnchanged);
  }
  Announce();
}

bool CScalesWindow::HandleArrow(int key) {
  switch (key) {
    case Qt::Key_Left: ShiftX(+1); return true;
    case Qt::Key_Up: ShiftY(-1); return true;
    case Qt::Key_Right: ShiftX(-1); return true;
    case Qt::Key_Down: ShiftY(+1); return true;
    default: return false;
  }
}

void CScalesWindow::showEvent(QShowEvent* event) {
  // Shown again after the user worked on the plot: start from what it shows now.
  if (!event->spontaneous()) Capture();
  QDialog::showEvent(event);
}

void CScalesWindow::keyPressEvent(QKeyEvent* event) {
  if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && HandleArrow(event->key())) return;
  QDialog::keyPressEvent(event);
}

bool CScalesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && HandleArrow(key->key())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tracemont
