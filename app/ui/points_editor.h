// CPointsEditor: the values of one points series as an editable table. OK
// replaces every point of the series by the rows; Cancel leaves it alone.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;

namespace tracemont {

class CPlotDot;
class CTableList;

class CPointsEditor : public QDialog {
  Q_OBJECT
 public:
  // The series is borrowed for the dialog's life and may be null (an empty
  // table). Cells outside [xLow, xHigh] x [yLow, yHigh] are shown yellow;
  // each pair may come in either order.
  CPointsEditor(CPlotDot* series, double xLow, double xHigh, double yLow, double yHigh,
                QWidget* parent = nullptr);

  CTableList& Table() const { return *table_; }
  QCheckBox* errorsCheck = nullptr;  // "Editor's errors"
  QCheckBox* rangeCheck = nullptr;   // "Points outside of range"

  // Called on OK right before the series changes (an undo checkpoint).
  std::function<void()> beforeChange;

  // OK: the series takes the table's rows (see PointsFromEditorRows).
  void accept() override;

 private:
  CPlotDot* series_;
  CTableList* table_;
};

}  // namespace tracemont
