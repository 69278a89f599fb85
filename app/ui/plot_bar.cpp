#include "app/ui/plot_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QWidget>

#include "app/command_table.h"
#include "app/window_placement.h"
#include "model/colours.h"

namespace tracemont {

const std::vector<int>& ToolCommands() {
  static const std::vector<int> tools{cmd::kSelectArea,    cmd::kPointsOnLines, cmd::kDropPoints,
                                      cmd::kRectArea,      cmd::kIrregularArea, cmd::kErasePoints,
                                      cmd::kCommentaryTool, cmd::kInformation,  cmd::kRemoveAreaAndFunction};
  return tools;
}

const std::vector<int>& ColourCommands() {
  static const std::vector<int> colours{cmd::kBlackPoints, cmd::kBluePoints,  cmd::kGreenPoints,
                                        cmd::kRedPoints,   cmd::kBrownPoints, cmd::kGrayPoints};
  return colours;
}

const std::vector<int>& ShapeCommands() {
  static const std::vector<int> shapes{cmd::kRoundPoints, cmd::kCrossPoints, cmd::kTrianglePoints};
  return shapes;
}

CPlotBar::CPlotBar(const std::function<QAction*(int)>& actionFor, QWidget* parent)
    : QToolBar(tr("Editor"), parent), actionFor_(actionFor) {
  setObjectName("EditorBar");
  const auto addGroup = [&](const std::vector<int>& ids) {
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (const int id : ids) {
      QAction* action = actionFor_(id);
      if (!action) continue;
      action->setCheckable(true);
      group->addAction(action);
      addAction(action);
    }
    addSeparator();
  };
  addGroup(ToolCommands());
  addAction(actionFor_(cmd::kMagnifier));
  actionFor_(cmd::kMagnifier)->setCheckable(true);
  addSeparator();

  const auto scaleField = [&](int id) {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(2, 0, 2, 0);
    auto* label = new QLabel(id == cmd::kAxisX ? "X:" : "Y:", box);
    auto* field = new QLineEdit(box);
    field->setReadOnly(true);
    field->setMaximumWidth(70);
    field->setToolTip(QString::fromStdString(ToolTip(*FindCommand(id))));
    layout->addWidget(label);
    layout->addWidget(field);
    addWidget(box);
    return field;
  };
  xField_ = scaleField(cmd::kAxisX);
  yField_ = scaleField(cmd::kAxisY);
  addSeparator();
  addGroup(ColourCommands());
  addGroup(ShapeCommands());

  sizeSlider_ = new QSlider(Qt::Horizontal, this);
  sizeSlider_->setRange(1, 100);
  sizeSlider_->setValue(10);
  sizeSlider_->setMaximumWidth(110);
  sizeSlider_->setToolTip(QString::fromStdString(ToolTip(*FindCommand(cmd::kPointsSize))));
  addWidget(sizeSlider_);
  connect(sizeSlider_, &QSlider::valueChanged, this, &CPlotBar::SizeChanged);

  SelectTool(tool_);
  SelectColour(cmd::kBlackPoints);
  SelectShape(cmd::kRoundPoints);
}

int CPlotBar::SelectInGroup(const std::vector<int>& group, int id, int& setting) {
  if (std::find(group.begin(), group.end(), id) == group.end()) return setting;
  setting = id;
  for (const int other : group)
    if (QAction* action = actionFor_(other)) action->setChecked(other == id);
  return setting;
}

int CPlotBar::SelectTool(int id) {
  const auto& tools = ToolCommands();
  // The density variant of Information shares the Information button.
  if (id == cmd::kDensityInformation) {
    SelectInGroup(tools, cmd::kInformation, tool_);
    tool_ = id;
    emit ToolChanged(tool_);
    return tool_;
  }
  if (std::find(tools.begin(), tools.end(), id) == tools.end()) id = cmd::kSelectArea;
  SelectInGroup(tools, id, tool_);
  emit ToolChanged(tool_);
  return tool_;
}

int CPlotBar::SelectColour(int id) {
  const int before = colour_;
  SelectInGroup(ColourCommands(), id, colour_);
  if (colour_ != before) emit ColourChanged(colour_);
  return colour_;
}

int CPlotBar::SelectShape(int id) {
  const int before = shape_;
  SelectInGroup(ShapeCommands(), id, shape_);
  if (shape_ != before) emit ShapeChanged(shape_);
  return shape_;
}

void CPlotBar::SelectMagnifier(bool on) {
  magnifier_ = on;
  if (QAction* action = actionFor_(cmd::kMagnifier)) action->setChecked(on);
}

void CPlotBar::ShowScales(double xScale, double yScale) {
  xField_->setText(QString::fromStdString(ScaleFieldText(xScale)).trimmed());
  yField_->setText(QString::fromStdString(ScaleFieldText(yScale)).trimmed());
}

void CPlotBar::ShowAxisValues(bool inside, double x, double y) {
  if (!inside) {
    xField_->clear();
    yField_->clear();
    return;
  }
  ShowScales(x, y);
}

void CPlotBar::SetEditorMode(int command) {
  editorMode_ = command;
  const bool drawing = command == cmd::kPointsEditor || command == 32873;
  for (const int id : {cmd::kPointsOnLines, cmd::kDropPoints, cmd::kErasePoints, cmd::kSelectArea})
    if (QAction* action = actionFor_(id)) action->setEnabled(drawing);
}

}  // namespace tracemont
