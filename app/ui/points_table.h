// CTableList: the editable points table shared by the add-points wizard and
// the points editor. The rows live in CPointsTableModel; column 0 shows the
// row numbers (always 1..n, so renumbering is implicit), columns 1..N the
// cell texts.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QTableView>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tracemont {

// A column whose values outside [low, high] are marked yellow.
struct ColumnRange {
  double low = 0.0;
  double high = 0.0;
  int column = 0;  // model column (1..N)
};

class CPointsTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kMaxCellLength = 18;  // characters typed into a cell

  explicit CPointsTableModel(int dataColumns, QObject* parent = nullptr);

  // Replaces every row; each row holds its cells of columns 1..N (shorter
  // rows are padded with empty cells, longer ones cut).
  void SetRows(std::vector<std::vector<std::string>> rows);
  const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
  // Number of data columns N; rows are padded or cut to it.
  void SetDataColumns(int count);
  int DataColumns() const { return dataColumns_; }
  // Inserts one row before `row` (clamped to 0..rowCount) with the fields.
  void InsertRow(int row, const std::vector<std::string>& fields);
  // The cells of columns 1..N of a row, padded with "0." to `minFields`.
  std::vector<std::string> RowFields(int row, std::size_t minFields = 0) const;
  // Removes the rows (any order, duplicates allowed); when none is left, one
  // empty row is added.
  void RemoveRowList(std::vector<int> rows);

  void SetReadOnly(bool on) { readOnly_ = on; }
  bool ReadOnly() const { return readOnly_; }
  void SetCheckNumbers(bool on);
  void SetCheckRanges(bool on);
  void SetRanges(std::vector<ColumnRange> ranges);
  // Header icons of columns (model column -> icon); others show none.
  void SetHeaderIcons(std::vector<std::pair<int, QIcon>> icons);
  // Whether data columns are headed "1".."N" (the wizard) or by icons only (the editor).
  void SetHeaderNumbers(bool on) { headerNumbers_ = on; }
  // Whether the cell would be painted red or yellow.
  bool IsNumberError(int row, int column) const;
  bool IsOutOfRange(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::string* Cell(int row, int column) const;
  void RepaintCells();

  std::vector<std::vector<std::string>> rows_;
  int dataColumns_;
  bool readOnly_ = false;
  bool checkNumbers_ = true;
  bool checkRanges_ = false;
  bool headerNumbers_ = true;
  std::vector<ColumnRange> ranges_;
  std::vector<std::pair<int, QIcon>> icons_;
};

class CTableList : public QTableView {
  Q_OBJECT
 public:
  // Asks a question with OK and Cancel; true for OK. Tests replace it.
  using Confirm = std::function<bool(const QString& text)>;

  explicit CTableList(int dataColumns, QWidget* parent = nullptr);
  CPointsTableModel& Model() { return model_; }
  const CPointsTableModel& Model() const { return model_; }
  void SetConfirm(Confirm confirm) { confirm_ = std::move(confirm); }

  // Selected rows in ascending order.
  std::vector<int> SelectedRows() const;
  // Asks "%d lines were selected..." and removes the selected rows on OK;
  // returns how many were removed.
  int DeleteSelected();
  // Puts the selected rows (cells from model column `firstColumn` on) on the
  // clipboard: 1 on success, -4 when the clipboard cannot take the text,
  // 0 when no row is selected.
  int CopySelected(int firstColumn = 1);
  // Inserts the clipboard's lines before the first selected row (or after
  // the last row); returns how many rows were pasted.
  int Paste();
  // Inserts rows from clipboard-form text the same way (Paste's core).
  int PasteText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CPointsTableModel model_;
  Confirm confirm_;
};

// A small square icon with a letter, for the X, Y, parameter and number headers.
QIcon HeaderLetterIcon(const QString& letter, const QColor& colour);

}  // namespace tracemont
