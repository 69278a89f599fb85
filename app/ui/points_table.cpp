#include "app/ui/points_table.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "acquire/points_import.h"
#include "model/text.h"

namespace tracemont {

CPointsTableModel::CPointsTableModel(int dataColumns, QObject* parent)
    : QAbstractTableModel(parent), dataColumns_(std::max(1, dataColumns)) {}

void CPointsTableModel::SetRows(std::vector<std::vector<std::string>> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  for (auto& r : rows_) r.resize(static_cast<std::size_t>(dataColumns_));
  endResetModel();
}

void CPointsTableModel::SetDataColumns(int count) {
  beginResetModel();
  dataColumns_ = std::max(1, count);
  for (auto& r : rows_) r.resize(static_cast<std::size_t>(dataColumns_));
  endResetModel();
}

void CPointsTableModel::InsertRow(int row, const std::vector<std::string>& fields) {
  row = std::clamp(row, 0, rowCount());
  beginInsertRows({}, row, row);
  std::vector<std::string> cells(fields.begin(),
                                 fields.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                      fields.size(), static_cast<std::size_t>(dataColumns_))));
  cells.resize(static_cast<std::size_t>(dataColumns_));
  rows_.insert(rows_.begin() + row, std::move(cells));
  endInsertRows();
  // The numbers below the new row moved by one.
  if (row + 1 < rowCount()) emit dataChanged(index(row + 1, 0), index(rowCount() - 1, 0));
}

std::vector<std::string> CPointsTableModel::RowFields(int row, std::size_t minFields) const {
  if (row < 0 || row >= rowCount()) return {};
  std::vector<std::string> fields = rows_[static_cast<std::size_t>(row)];
  while (fields.size() < minFields) fields.emplace_back("0.");
  return fields;
}

void CPointsTableModel::RemoveRowList(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  beginResetModel();
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    if (*it >= 0 && *it < static_cast<int>(rows_.size())) rows_.erase(rows_.begin() + *it);
  if (rows_.empty()) rows_.emplace_back(static_cast<std::size_t>(dataColumns_));
  endResetModel();
}

void CPointsTableModel::SetCheckNumbers(bool on) {
  checkNumbers_ = on;
  RepaintCells();
}

void CPointsTableModel::SetCheckRanges(bool on) {
  checkRanges_ = on;
  RepaintCells();
}

void CPointsTableModel::SetRanges(std::vector<ColumnRange> ranges) {
  ranges_ = std::move(ranges);
  RepaintCells();
}

void CPointsTableModel::SetHeaderIcons(std::vector<std::pair<int, QIcon>> icons) {
  icons_ = std::move(icons);
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void CPointsTableModel::RepaintCells() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const std::string* CPointsTableModel::Cell(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 1 || column > dataColumns_) return nullptr;
  return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column - 1)];
}

bool CPointsTableModel::IsNumberError(int row, int column) const {
  const std::string* cell = Cell(row, column);
  return checkNumbers_ && cell && !cell->empty() && !IsNumberText(*cell);
}

bool CPointsTableModel::IsOutOfRange(int row, int column) const {
  const std::string* cell = Cell(row, column);
  if (!checkRanges_ || !cell || cell->empty()) return false;
  for (const ColumnRange& r : ranges_) {
    if (r.column != column) continue;
    const double v = AsciiToDouble(*cell);
    if (v < r.low || v > r.high) return true;
  }
  return false;
}

int CPointsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CPointsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : dataColumns_ + 1;
}

QVariant CPointsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
      if (column == 0) return QString::number(row + 1);
      const std::string* cell = Cell(row, column);
      return cell ? QString::fromStdString(*cell) : QString();
    }
    case Qt::BackgroundRole:
      if (IsNumberError(row, column)) return QColor(255, 0, 0);
      if (IsOutOfRange(row, column)) return QColor(255, 255, 0);
      return {};
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
  }
}

bool CPointsTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || readOnly_ || !Cell(index.row(), index.column())) return false;
  rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column() - 1)] =
      value.toString().left(kMaxCellLength).toStdString();
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags CPointsTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!readOnly_ && index.column() >= 1) f |= Qt::ItemIsEditable;
  return f;
}

QVariant CPointsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole)
    return section == 0 || !headerNumbers_ ? QString() : QString::number(section);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  if (role == Qt::DecorationRole)
    for (const auto& [column, icon] : icons_)
      if (column == section) return icon;
  return {};
}

// --- CTableList -------------------------------------------------------------------

CTableList::CTableList(int dataColumns, QWidget* parent)
    : QTableView(parent), model_(dataColumns, this) {
  setModel(&model_);
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  horizontalHeader()->setSectionsMovable(true);
  verticalHeader()->hide();
  confirm_ = [this](const QString& text) {
    return QMessageBox::question(this, tr("Tracemont"), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
  };
}

std::vector<int> CTableList::SelectedRows() const {
  std::vector<int> rows;
  if (!selectionModel()) return rows;
  for (const QModelIndex& i : selectionModel()->selectedRows()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int CTableList::DeleteSelected() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || model_.ReadOnly()) return 0;
  const QString text = QString::fromStdString(StrFormat(kMsgRemoveRowsFormat, static_cast<int>(rows.size())));
  if (!confirm_ || !confirm_(text)) return 0;
  model_.RemoveRowList(rows);
  return static_cast<int>(rows.size());
}

int CTableList::CopySelected(int firstColumn) {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return 0;
  std::vector<std::vector<std::string>> cells;
  for (const int r : rows) {
    std::vector<std::string> row = {std::to_string(r + 1)};
    for (const std::string& c : model_.RowFields(r)) row.push_back(c);
    cells.push_back(std::move(row));
  }
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return -4;
  clipboard->setText(QString::fromStdString(
      RowsToClipboardText(cells, static_cast<std::size_t>(std::max(0, firstColumn)))));
  return 1;
}

int CTableList::Paste() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return 0;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int pasted = PasteText(clipboard->text());
  QApplication::restoreOverrideCursor();
  return pasted;
}

int CTableList::PasteText(const QString& text) {
  if (model_.ReadOnly()) return 0;
  const std::vector<int> selected = SelectedRows();
  int at = selected.empty() ? model_.rowCount() : selected.front();
  int pasted = 0;
  for (std::string line : ClipboardLines(text.toStdString())) {
    std::vector<std::string> fields;
    SplitFields(line, fields);
    model_.InsertRow(at++, fields);
    ++pasted;
  }
  return pasted;
}

void CTableList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
      currentIndex().isValid() && !model_.ReadOnly()) {
    edit(currentIndex());
    return;
  }
  QTableView::keyPressEvent(event);
}

QIcon HeaderLetterIcon(const QString& letter, const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(colour);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(12);
  p.setFont(f);
  p.drawText(pixmap.rect(), Qt::AlignCenter, letter);
  return QIcon(pixmap);
}

}  // namespace tracemont
