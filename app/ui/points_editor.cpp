#include "app/ui/points_editor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "acquire/points_import.h"
#include "app/ui/help_system.h"
#include "app/ui/points_table.h"
#include "model/plot_objects.h"

namespace tracemont {

CPointsEditor::CPointsEditor(CPlotDot* series, double xLow, double xHigh, double yLow, double yHigh,
                             QWidget* parent)
    : QDialog(parent), series_(series), table_(new CTableList(3, this)) {
  setWindowTitle(tr("Editor of points"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  errorsCheck = new QCheckBox(tr("Editor's errors"), this);
  rangeCheck = new QCheckBox(tr("Points outside of range"), this);
  errorsCheck->setChecked(true);
  rangeCheck->setChecked(true);
  errorsCheck->setIcon(HeaderLetterIcon(QStringLiteral("\u25A0"), QColor(255, 0, 0)));
  rangeCheck->setIcon(HeaderLetterIcon(QStringLiteral("\u25A0"), QColor(255, 255, 0)));
  top->addWidget(errorsCheck);
  top->addWidget(rangeCheck);
  top->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  top->addWidget(buttons);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  auto* bottom = new QHBoxLayout;
  auto* copy = new QPushButton(tr("Copy"), this);
  auto* remove = new QPushButton(tr("Remove"), this);
  auto* paste = new QPushButton(tr("Paste"), this);
  for (QPushButton* b : {copy, remove, paste}) bottom->addWidget(b);
  bottom->addStretch(1);
  layout->addLayout(bottom);

  CPointsTableModel& model = table_->Model();
  model.SetReadOnly(false);
  model.SetHeaderNumbers(false);
  model.SetRanges({{std::min(xLow, xHigh), std::max(xLow, xHigh), 1},
                   {std::min(yLow, yHigh), std::max(yLow, yHigh), 2}});
  model.SetCheckNumbers(true);
  model.SetCheckRanges(true);
  model.SetHeaderIcons({{0, HeaderLetterIcon("#", Qt::darkGray)},
                        {1, HeaderLetterIcon("X", Qt::darkBlue)},
                        {2, HeaderLetterIcon("Y", Qt::darkGreen)},
                        {3, HeaderLetterIcon("Z", Qt::darkRed)}});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setMouseTracking(true);

  // Rows come straight from the series' texts; a model makes a long table
  // cheap to show, so no filling thread is needed and the reading is always
  // complete when OK or Cancel is pressed.
  if (series_) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(series_->Values().size());
    std::array<std::string, 4> texts;
    for (int i = 0; series_->GetValueTexts(i, texts); ++i) rows.push_back({texts[1], texts[2], texts[3]});
    model.SetRows(std::move(rows));
  }

  connect(errorsCheck, &QCheckBox::toggled, this, [this](bool on) { table_->Model().SetCheckNumbers(on); });
  connect(rangeCheck, &QCheckBox::toggled, this, [this](bool on) { table_->Model().SetCheckRanges(on); });
  connect(copy, &QPushButton::clicked, this, [this] { table_->CopySelected(1); });
  connect(remove, &QPushButton::clicked, table_, &CTableList::DeleteSelected);
  connect(paste, &QPushButton::clicked, table_, &CTableList::Paste);
  AddDialogHelp(*buttons, 173);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPointsEditor::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(420, 480);
}

void CPointsEditor::accept() {
  if (series_) {
    if (beforeChange) beforeChange();
    const std::vector<DotValue> points = PointsFromEditorRows(table_->Model().Rows());
    series_->sortKey = 0;
    series_->sortDirection = 0;
    series_->ClearSelection();
    series_->RestorePoints({}, {});
    const std::int32_t spacing = series_->spacingCheck;
    series_->spacingCheck = 0;  // every row becomes a point
    for (std::size_t i = 0; i < points.size(); ++i) series_->AddValue(points[i], i + 1 == points.size());
    if (points.empty()) series_->FinishEdit();
    series_->spacingCheck = spacing;
  }
  QDialog::accept();
}

}  // namespace tracemont
