// CPlotBar: the editor tool bar. It holds the drawing settings the view's
// tools read: the current tool, colour, marker shape and size, the
// magnifier, and shows the scale factors of both axes.
#pragma once

#include <QActionGroup>
#include <QLineEdit>
#include <QSlider>
#include <QToolBar>
#include <map>

namespace tracemont {

class CPlotBar : public QToolBar {
  Q_OBJECT

 public:
  // `actionFor` gives the frame's action of a command id (shared with menus).
  explicit CPlotBar(const std::function<QAction*(int)>& actionFor, QWidget* parent = nullptr);

  // Presses the tool button of `id` and releases the others; an id without
  // a tool button selects 32837. Returns the tool now selected.
  int SelectTool(int id);
  // Within the colour or shape group; an unknown id leaves the setting.
  int SelectColour(int id);
  int SelectShape(int id);
  void SelectMagnifier(bool on);
  // Writes the two scale fields ("%6.2f", "%6.1f" or "%4.4g" by size).
  void ShowScales(double xScale, double yScale);
  // The axis values under the pointer in the same two fields, formatted as
  // the scales are; both fields are emptied when the pointer is outside the
  // plot's axis box.
  void ShowAxisValues(bool inside, double x, double y);
  // The display command last chosen (32879, 32873, 32871 or 32870); the
  // drawing tools are enabled only for 32879 and 32873.
  void SetEditorMode(int command);

  int Tool() const { return tool_; }
  int Colour() const { return colour_; }
  int Shape() const { return shape_; }
  int EditorMode() const { return editorMode_; }
  bool Magnifier() const { return magnifier_; }
  // Marker size from the slider, 0.1 mm.
  int PointSize() const { return sizeSlider_->value(); }
  // Moves the slider (clamped to 1..100); emits SizeChanged when it moved.
  void SetPointSize(int size) { sizeSlider_->setValue(size); }

 signals:
  void ToolChanged(int id);
  void ColourChanged(int id);
  void ShapeChanged(int id);
  // The marker size slider moved (0.1 mm).
  void SizeChanged(int size);

 private:
  int SelectInGroup(const std::vector<int>& group, int id, int& setting);
  std::function<QAction*(int)> actionFor_;
  QLineEdit* xField_ = nullptr;
  QLineEdit* yField_ = nullptr;
  QSlider* sizeSlider_ = nullptr;
  int tool_ = 32837;
  int colour_ = 0;
  int shape_ = 0;
  int editorMode_ = 32879;
  bool magnifier_ = false;
};

// Commands of the tool buttons, colours and shapes, in bar order.
const std::vector<int>& ToolCommands();
const std::vector<int>& ColourCommands();
const std::vector<int>& ShapeCommands();

}  // namespace tracemont
