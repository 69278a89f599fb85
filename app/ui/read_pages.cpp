#include "app/ui/read_pages.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ui/help_system.h"
#include "app/ui/plot_bar.h"
#include "app/ui/points_table.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr std::size_t kFirstLookLines = 100;

// A page whose Next/Finish button follows a flag.
class ReadPage : public QWizardPage {
 public:
  using QWizardPage::QWizardPage;
  void SetComplete(bool on) {
    complete_ = on;
    emit completeChanged();
  }
  bool isComplete() const override { return complete_; }

 private:
  bool complete_ = true;
};

QString G(double v) { return QString::fromStdString(FormatG(v)); }
double Value(const QLineEdit* edit) { return AsciiToDouble(edit->text().toStdString()); }

std::vector<std::vector<std::string>> SplitLines(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(lines.size());
  for (std::string line : lines) {
    std::vector<std::string> fields;
    SplitFields(line, fields);
    rows.push_back(std::move(fields));
  }
  return rows;
}

void Warn(QWidget* parent, const char* text) {
  QMessageBox::warning(parent, QObject::tr("Tracemont"), QString::fromUtf8(text));
}

}  // namespace

std::optional<ReadSource> FileSource(const std::string& path, std::string& error) {
  ReadLinesResult read = ReadTextLines(path, kFirstLookLines);
  error = read.error;
  if (read.lines.empty()) return std::nullopt;
  ReadSource source;
  source.mode = ImportMode::File;
  source.title = path;
  source.path = path;
  source.lines = std::move(read.lines);
  source.linesShown = read.estimatedLines;
  source.wholeFileRead = read.complete;
  return source;
}

std::optional<ReadSource> ClipboardSource(const QString& clipboardText) {
  if (clipboardText.isEmpty()) return std::nullopt;
  ReadSource source;
  source.mode = ImportMode::Clipboard;
  source.title = kTitleFromClipboard;
  source.lines = ClipboardLines(clipboardText.toStdString());
  source.linesShown = static_cast<long long>(source.lines.size());
  return source;
}

ReadSource NewTableSource() {
  ReadSource source;
  source.mode = ImportMode::NewTable;
  source.title = kTitleNewData;
  source.lines = {"0.\t0.\t0."};
  source.linesShown = 1;
  return source;
}

std::optional<ReadSource> FunctionSource(const CPlotFunc& function, int pointRadius) {
  ReadSource source;
  source.mode = ImportMode::Function;
  source.title = kTitleFromFunction;
  function.SamplesFor(std::max(1, pointRadius), source.functionPoints);
  if (source.functionPoints.empty()) return std::nullopt;
  for (const DotValue& p : source.functionPoints)
    source.lines.push_back(StrFormat("%g\t%g\t%g", p.x, p.y, p.z));
  source.linesShown = static_cast<long long>(source.lines.size());
  return source;
}

CReadPages::CReadPages(CMainDoc& doc, ReadSource source, const ReadDefaults& defaults, QWidget* parent)
    : QWizard(parent), doc_(doc), source_(std::move(source)), defaults_(defaults) {
  setWizardStyle(QWizard::ClassicStyle);
  addPage(MakeDataPage());
  addPage(MakeScalePage());
  addPage(MakeLinePage());
  AddDialogHelp(*this, [this] { return 164 + std::max(0, currentId()); });
}

QWizardPage* CReadPages::MakeDataPage() {
  auto* page = new ReadPage(this);
  page->setTitle(tr("Add points series (step 1 of 3)"));
  auto* layout = new QVBoxLayout(page);
  const DocumentData& data = doc_.Data();

  auto* top = new QGridLayout;
  top->addWidget(new QLabel(tr("Take as from line"), page), 0, 0);
  firstLine = new QSpinBox(page);
  firstLine->setToolTip(tr("Input data from tables, as from selected line"));
  top->addWidget(firstLine, 0, 1);
  top->addWidget(new QLabel(QString::number(source_.linesShown), page), 0, 2);
  const QString captions[] = {QString::fromStdString(data.axisX.GetCaption()),
                              QString::fromStdString(data.axisY.GetCaption()), tr("Parameter")};
  QSpinBox** spins[] = {&xColumn, &yColumn, &zColumn};
  for (int i = 0; i < 3; ++i) {
    auto* group = new QGroupBox(captions[i], page);
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel(tr("Row"), group));
    *spins[i] = new QSpinBox(group);
    (*spins[i])->setValue(i + 1);
    row->addWidget(*spins[i]);
    top->addWidget(group, 1, i);
    connect(*spins[i], &QSpinBox::valueChanged, this, &CReadPages::MarkColumns);
  }
  layout->addLayout(top);

  table_ = new CTableList(3, page);
  layout->addWidget(table_, 1);
  auto* remove = new QPushButton(tr("Remove"), page);
  remove->setToolTip(tr("Delete all table lines selected"));
  connect(remove, &QPushButton::clicked, table_, &CTableList::DeleteSelected);
  layout->addWidget(remove, 0, Qt::AlignLeft);

  // The table: rows come from the line store, columns from the widest line.
  const LineAnalysis analysis = AnalyseLines(source_.lines);
  const bool readOnly = source_.mode == ImportMode::File || source_.mode == ImportMode::Function;
  table_->Model().SetDataColumns(analysis.columns);
  table_->Model().SetRows(SplitLines(source_.lines));
  table_->Model().SetReadOnly(readOnly);
  remove->setEnabled(!readOnly);
  for (QSpinBox* spin : {xColumn, yColumn, zColumn}) spin->setRange(1, analysis.columns);
  xColumn->setValue(1);
  yColumn->setValue(2);
  zColumn->setValue(std::min(3, analysis.columns));
  firstLine->setRange(0, static_cast<int>(source_.lines.size()));
  firstLine->setValue(analysis.firstDataLine);
  MarkColumns();
  page->SetComplete(!source_.lines.empty());
  return page;
}

QWizardPage* CReadPages::MakeScalePage() {
  auto* page = new ReadPage(this);
  page->setTitle(tr("Add points series (step 2 of 3)"));
  auto* layout = new QGridLayout(page);
  wasRead = new QLabel(page);
  layout->addWidget(wasRead, 0, 0, 1, 4);
  multiplyX = new QLineEdit("1", page);
  multiplyY = new QLineEdit("1", page);
  layout->addWidget(new QLabel(tr("X Multiply by"), page), 1, 0);
  layout->addWidget(multiplyX, 1, 1);
  layout->addWidget(new QLabel(tr("Y Multiply by"), page), 1, 2);
  layout->addWidget(multiplyY, 1, 3);
  const char* rangeNames[] = {"X range min", "X range max", "Y range min", "Y range max"};
  const char* axisNames[] = {"X axis min", "X axis max", "Y axis min", "Y axis max"};
  const DocumentData& data = doc_.Data();
  const double axisValues[] = {data.axisX.scale.b, data.axisX.scale.ToValue(data.axisX.Length()),
                               data.axisY.scale.b, data.axisY.scale.ToValue(data.axisY.Length())};
  for (int i = 0; i < 4; ++i) {
    range[i] = new QLineEdit("0", page);
    axis[i] = new QLineEdit(G(axisValues[i]), page);
    layout->addWidget(new QLabel(tr(rangeNames[i]), page), 2 + i, 0);
    layout->addWidget(range[i], 2 + i, 1);
    layout->addWidget(new QLabel(tr(axisNames[i]), page), 2 + i, 2);
    layout->addWidget(axis[i], 2 + i, 3);
  }
  auto* add = new QGroupBox(tr("Add points:"), page);
  auto* addLayout = new QVBoxLayout(add);
  auto* all = new QRadioButton(tr("All points"), add);
  fromRange = new QRadioButton(tr("From range"), add);
  all->setChecked(true);
  addLayout->addWidget(all);
  addLayout->addWidget(fromRange);
  auto* scales = new QGroupBox(tr("Plot scales:"), page);
  auto* scalesLayout = new QVBoxLayout(scales);
  recalc = new QRadioButton(tr("Recalc"), scales);
  recalc->setToolTip(tr("Recalculate plot scales on X, Y to display all points"));
  auto* assigned = new QRadioButton(tr("Take assigned"), scales);
  assigned->setToolTip(tr("Use current plot scales on X, Y"));
  assigned->setChecked(true);
  scalesLayout->addWidget(recalc);
  scalesLayout->addWidget(assigned);
  layout->addWidget(add, 6, 0, 1, 2);
  layout->addWidget(scales, 6, 2, 1, 2);
  return page;
}

QWizardPage* CReadPages::MakeLinePage() {
  auto* page = new ReadPage(this);
  page->setTitle(tr("Add points series (step 3 of 3)"));
  auto* layout = new QFormLayout(page);
  keptCount = new QLabel(page);
  layout->addRow(tr("In series"), keptCount);
  const char* names[] = {"Axis X min", "Axis X max", "Axis Y min", "Axis Y max"};
  for (int i = 0; i < 4; ++i) {
    finalAxis[i] = new QLineEdit(page);
    layout->addRow(tr(names[i]), finalAxis[i]);
  }
  seriesTitle = new QLineEdit(QString::fromStdString(source_.title), page);
  layout->addRow(tr("Input series title:"), seriesTitle);
  colour = new QComboBox(page);
  for (const int id : ColourCommands()) {
    colour->addItem(QString::fromStdString(ColourNameOfCommand(id)), id);
    if (id == defaults_.colourCommand) colour->setCurrentIndex(colour->count() - 1);
  }
  layout->addRow(tr("Color"), colour);
  shape = new QComboBox(page);
  const char* shapeNames[] = {"Round", "Cross", "Triangle"};
  const int shapeIds[] = {cmd::kRoundPoints, cmd::kCrossPoints, cmd::kTrianglePoints};
  for (int i = 0; i < 3; ++i) {
    shape->addItem(tr(shapeNames[i]), shapeIds[i]);
    if (shapeIds[i] == defaults_.shapeCommand) shape->setCurrentIndex(i);
  }
  layout->addRow(tr("Marker"), shape);
  radius = new QSpinBox(page);
  radius->setRange(0, 100);
  radius->setValue(defaults_.radius);
  layout->addRow(tr("Radius ( X ), 0.1 mm"), radius);
  aspect = new QLineEdit("1", page);
  layout->addRow(tr("Aspect ratio (Y/X)"), aspect);
  return page;
}

void CReadPages::MarkColumns() {
  if (!table_ || !xColumn || !yColumn || !zColumn) return;
  table_->Model().SetHeaderIcons({{0, HeaderLetterIcon("#", Qt::darkGray)},
                                  {xColumn->value(), HeaderLetterIcon("X", Qt::darkBlue)},
                                  {yColumn->value(), HeaderLetterIcon("Y", Qt::darkGreen)},
                                  {zColumn->value(), HeaderLetterIcon("Z", Qt::darkRed)}});
}

void CReadPages::initializePage(int id) {
  QWizard::initializePage(id);
  auto* page = static_cast<ReadPage*>(this->page(id));
  if (id == 1) {
    wasRead->setText(tr("Was read %1 points").arg(collected_.size()));
    page->SetComplete(!collected_.empty());
    if (collected_.empty()) Warn(this, kMsgNoDataRead);
  } else if (id == 2) {
    keptCount->setText(tr("%1 points").arg(kept_.size()));
    page->SetComplete(!kept_.empty());
    if (kept_.empty()) Warn(this, kMsgNoDataRead);
  }
}

bool CReadPages::validateCurrentPage() {
  switch (currentId()) {
    case 0: return CollectPoints();
    case 1: FilterPoints(); return true;
    case 2: return Finish();
    default: return true;
  }
}

bool CReadPages::CollectPoints() {
  const ColumnChoice choice{firstLine->value(), xColumn->value(), yColumn->value(), zColumn->value()};
  if (source_.mode == ImportMode::Function) {
    collected_ = source_.functionPoints;
  } else if (table_->Model().ReadOnly()) {
    if (source_.mode == ImportMode::File && !source_.wholeFileRead) {
      // Every line of the file, however many, with progress on long files.
      QProgressDialog progress(tr("Reading %1").arg(QString::fromStdString(source_.path)),
                               tr("Cancel"), 0, 100, this);
      progress.setWindowModality(Qt::WindowModal);
      progress.setMinimumDuration(300);
      ReadLinesResult all = ReadTextLines(source_.path, std::nullopt,
                                          [&](long long read, long long estimated) {
                                            progress.setMaximum(static_cast<int>(std::min<long long>(
                                                std::max(estimated, read), 2000000000)));
                                            progress.setValue(static_cast<int>(std::min<long long>(read, 2000000000)));
                                            return !progress.wasCanceled();
                                          });
      if (!all.error.empty())
        QMessageBox::critical(this, QString::fromStdString(source_.path), QString::fromStdString(all.error));
      if (!all.complete) return false;  // cancelled or failed: stay on the page, nothing dropped
      source_.lines = std::move(all.lines);
      source_.wholeFileRead = true;
    }
    collected_ = tracemont::CollectPoints(source_.lines, choice);
  } else {
    collected_ = CollectPointsFromRows(table_->Model().Rows(), choice);
  }
  if (const auto r = RangeOf(collected_)) {
    range[0]->setText(G(r->xMin));
    range[1]->setText(G(r->xMax));
    range[2]->setText(G(r->yMin));
    range[3]->setText(G(r->yMax));
  }
  return true;
}

void CReadPages::FilterPoints() {
  const double kx = ClampMultiplier(Value(multiplyX));
  const double ky = ClampMultiplier(Value(multiplyY));
  std::optional<ValueRange> filter;
  if (fromRange->isChecked())
    filter = ValueRange{Value(range[0]), Value(range[1]), Value(range[2]), Value(range[3])};
  kept_ = FilterAndScale(collected_, filter, kx, ky);
  for (int i = 0; i < 4; ++i) {
    // "Recalc" fits the axes to the points as they will be stored, so the
    // range is multiplied as the points are.
    const double k = i < 2 ? kx : ky;
    finalAxis[i]->setText(recalc->isChecked() ? G(Value(range[i]) * k) : axis[i]->text());
  }
}

bool CReadPages::Finish() {
  ImportSeriesSettings settings;
  settings.title = seriesTitle->text().toStdString();
  settings.colourCommand = colour->currentData().toInt();
  settings.shapeCommand = shape->currentData().toInt();
  settings.radius = radius->value();
  settings.aspect = Value(aspect);
  settings.axes = {Value(finalAxis[0]), Value(finalAxis[1]), Value(finalAxis[2]), Value(finalAxis[3])};
  outcome_ = CreateImportedSeries(doc_, kept_, settings);
  return true;
}

bool RunReadPages(CMainDoc& doc, ReadSource source, const ReadDefaults& defaults, QWidget* parent,
                  ReadDefaults* chosen) {
  CReadPages sheet(doc, std::move(source), defaults, parent);
  if (sheet.exec() != QDialog::Accepted || !sheet.Outcome().series) return false;
  if (chosen)
    *chosen = {sheet.colour->currentData().toInt(), sheet.shape->currentData().toInt(), sheet.radius->value()};
  if (sheet.Outcome().scalesChanged)
    doc.ChangedWithOutlines();
  else
    doc.Changed();
  return true;
}

}  // namespace tracemont

namespace tracemont {

bool RunImportCommand(CMainDoc& doc, ImportMode mode, const QString& documentPath,
                      const ReadDefaults& defaults, QWidget* parent, ReadDefaults* chosen) {
  std::optional<ReadSource> source;
  switch (mode) {
    case ImportMode::File: {
      const QString proposed =
          QString::fromStdString(ProposedImportFileName(documentPath.toStdString()));
      const QString path = QFileDialog::getOpenFileName(
          parent, QObject::tr("Open"), proposed, QObject::tr("Text Files (*.txt);;CSV Files (*.csv)"));
      if (path.isEmpty()) return false;
      std::string error;
      source = FileSource(QFileInfo(path).absoluteFilePath().toStdString(), error);
      if (!error.empty())
        QMessageBox::critical(parent, QFileInfo(path).fileName(), QString::fromStdString(error));
      break;
    }
    case ImportMode::Clipboard: {
      QClipboard* clipboard = QGuiApplication::clipboard();
      QApplication::setOverrideCursor(Qt::WaitCursor);
      const QString text = clipboard ? clipboard->text() : QString();
      QApplication::restoreOverrideCursor();
      if (text.isEmpty()) {
        QMessageBox::warning(parent, QObject::tr("Tracemont"), QString::fromUtf8(kMsgClipboardError));
        return false;
      }
      source = ClipboardSource(text);
      break;
    }
    case ImportMode::NewTable: source = NewTableSource(); break;
    case ImportMode::Function: return false;  // started from the function's own command
  }
  if (!source) return false;
  return RunReadPages(doc, std::move(*source), defaults, parent, chosen);
}

}  // namespace tracemont
