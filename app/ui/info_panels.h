// The information panels of series, areas and functions: small modeless
// dialogs, created once and re-bound to an object each time the Information
// tool opens them. They keep the object's id, never a pointer, because undo
// replaces every object; every edit goes through the document.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "acquire/canvas.h"
#include "app/ui/read_pages.h"
#include "model/doc_observer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace tracemont {

class CMainDoc;
class CPlot;
class CPlotClip;
class CPlotDot;
class CPlotFunc;
class ColourButton;

// Base of the panels: the document, the bound object's id, the first-change
// undo snapshot and the placement on the screen.
class CPlotDialog : public QDialog {
  Q_OBJECT

 public:
  // The document must outlive the panel.
  CPlotDialog(CMainDoc& document, QWidget* parent);

  // Binds the object with the id (false, panel hidden and unbound, when the
  // document holds no object of the panel's class with it), fills the
  // controls and shows the panel near `screen` the first time.
  bool Bind(std::uint32_t id, QPoint screen);
  // Unbinds and hides.
  void Unbind();
  std::uint32_t BoundId() const { return id_; }
  // Reads the object again, or hides the panel when it is gone.
  void Refresh();

 protected:
  // The object of the panel's class with the bound id, or null.
  virtual CPlot* Object() const = 0;
  // Copies the object into the controls.
  virtual void Fill() = 0;
  // Before the first change after binding: one undo snapshot.
  void BeginChange();
  // Asks OK/Cancel.
  bool Ask(const QString& text);
  // Removes the bound object through the document and hides the panel.
  void RemoveObject();
  CMainDoc& doc_;
  bool filling_ = false;  // controls being filled: change handlers ignore it

 private:
  std::uint32_t id_ = 0;
  bool placed_ = false;
  bool changed_ = false;
};

// Series panel.
class CDotsInfo final : public CPlotDialog {
  Q_OBJECT

 public:
  CDotsInfo(CMainDoc& document, QWidget* parent);
  CPlotDot* Series() const;
  QTreeWidget* ValueList() const { return values_; }
  // The "Remove points" button: asks, then removes the selected rows.
  void RemoveSelectedRows(bool ask = true);

 protected:
  CPlot* Object() const override;
  void Fill() override;

 private:
  void WriteBack();
  void FillValues();
  QComboBox* colour_;
  QComboBox* shape_;
  QLineEdit* aspect_;
  QSpinBox* size_;
  QCheckBox* connect_;
  QSpinBox* width_;
  QLineEdit* name_;
  QCheckBox* visible_;
  QTreeWidget* values_;
};

// Area panel.
class CClipInfo final : public CPlotDialog {
  Q_OBJECT

 public:
  CClipInfo(CMainDoc& document, QWidget* parent);
  CPlotClip* Area() const;
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* FunctionButton() const { return function_; }

 protected:
  CPlot* Object() const override;
  void Fill() override;

 private:
  void WriteBack();
  QComboBox* colour_;
  QLabel* count_;
  QLabel* correlation_;
  QLabel* area_;
  QLabel* unit_;
  QCheckBox* fill_;
  QLineEdit* name_;
  QCheckBox* visible_;
  QTreeWidget* values_;
  QPushButton* apply_;
  QPushButton* copy_;
  QPushButton* function_;
};

// Function panel.
class CFuncInfo final : public CPlotDialog {
  Q_OBJECT

 public:
  // `visibleArea` gives the page area shown in the view (plot units).
  CFuncInfo(CMainDoc& document, std::function<Rect()> visibleArea, QWidget* parent);
  CPlotFunc* Function() const;
  QSpinBox* WidthField() const { return width_; }
  // The drawing colour, shape and radius a series made from the function
  // ("Transform...") starts with; without it the wizard's own defaults.
  void SetDrawingDefaults(std::function<ReadDefaults()> defaults) { drawingDefaults_ = std::move(defaults); }
  // Turns the curve into a series through the add-points wizard and, when a
  // series was made, removes the function.
  void ConvertToSeries();

 signals:
  // A series was made by "Transform..." with these drawing settings, which
  // become the view's.
  void SeriesMade(int colourCommand, int shapeCommand, int radius);

 public:

 protected:
  CPlot* Object() const override;
  void Fill() override;

 private:
  void WriteBack();
  std::function<Rect()> visibleArea_;
  std::function<ReadDefaults()> drawingDefaults_;
  ColourButton* colour_;
  QSpinBox* width_;
  QCheckBox* corridor_;
  QCheckBox* centres_;
  QLabel* rangeName_;
  QLineEdit* min_;
  QLineEdit* max_;
  QLabel* deviation_;
  QLineEdit* formula_;
  QCheckBox* visible_;
};

// The three panels, owned together and kept in step with the document.
class CInfoPanels final : public DocObserver {
 public:
  CInfoPanels(CMainDoc& document, std::function<Rect()> visibleArea, QWidget* parent);
  ~CInfoPanels() override;
  // Opens the panel of the kind for the object; the ellipse panel is not
  // here, so an ellipse opens the function panel.
  void Open(PanelKind kind, std::uint32_t id, QPoint screen);
  CDotsInfo& SeriesPanel() { return *series_; }
  CClipInfo& AreaPanel() { return *area_; }
  CFuncInfo& FunctionPanel() { return *function_; }

  void ObjectListChanged() override { RefreshAll(); }
  void DocumentReset(bool, double, double) override { RefreshAll(); }

 private:
  void RefreshAll();
  CMainDoc& doc_;
  CDotsInfo* series_;
  CClipInfo* area_;
  CFuncInfo* function_;
};

}  // namespace tracemont
