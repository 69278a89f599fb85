#include "app/ui/points_export_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/help_system.h"
#include "app/ui/plot_bar.h"
#include "model/colours.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

QComboBox* MakeColourBox(int colour, QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (const int id : ColourCommands()) {
    box->addItem(QString::fromStdString(ColourNameOfCommand(id)), id);
    if (id == colour) box->setCurrentIndex(box->count() - 1);
  }
  return box;
}

QCheckBox* Check(const char* text, bool on, QWidget* parent) {
  auto* box = new QCheckBox(QObject::tr(text), parent);
  box->setChecked(on);
  return box;
}

// A write failure is shown with the file's path as caption and no owner.
ExportResult ShowIfFailed(const ExportResult& result, const QString& path) {
  if (!result.ok) QMessageBox::critical(nullptr, path, QString::fromStdString(result.message));
  return result;
}

}  // namespace

CPointsTextDialog::CPointsTextDialog(const CMainDoc& doc, int colour, const QString& path, QWidget* parent)
    : QDialog(parent), doc_(doc) {
  setWindowTitle(tr("Save the points to text file"));
  auto* layout = new QVBoxLayout(this);
  path_ = new QLineEdit(path, this);
  layout->addWidget(path_);

  auto* options = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  header_ = Check("Plot header", false, this);
  notes_ = Check("Notes", false, this);
  notesText_ = new QLineEdit(QString::fromStdString(doc.Data().comment), this);
  axisTitle_ = Check("Axis title", true, this);
  units_ = Check("Units", true, this);
  selected_ = Check("Selected only", false, this);
  coloured_ = Check("Colored only", false, this);
  colour_ = MakeColourBox(colour, this);
  z_ = Check("Z Parameter", true, this);
  for (QWidget* w : std::initializer_list<QWidget*>{header_, notes_, notesText_, axisTitle_, units_,
                                                    selected_, coloured_, colour_, z_})
    left->addWidget(w);
  options->addLayout(left);

  auto* right = new QVBoxLayout;
  auto* dividerBox = new QGroupBox(tr("Divider:"), this);
  auto* dividerLayout = new QVBoxLayout(dividerBox);
  const char* dividerNames[] = {"Space", "Tabulator", "Comma"};
  for (int i = 0; i < 3; ++i) {
    dividers_[i] = new QRadioButton(tr(dividerNames[i]), dividerBox);
    dividerLayout->addWidget(dividers_[i]);
  }
  dividers_[1]->setChecked(true);
  auto* sortBox = new QGroupBox(tr("Sort:"), this);
  auto* sortLayout = new QVBoxLayout(sortBox);
  const char* sortNames[] = {"by X", "by Y", "None"};
  for (int i = 0; i < 3; ++i) {
    sorts_[i] = new QRadioButton(tr(sortNames[i]), sortBox);
    sortLayout->addWidget(sorts_[i]);
  }
  sorts_[2]->setChecked(true);
  right->addWidget(dividerBox);
  right->addWidget(sortBox);
  options->addLayout(right);
  layout->addLayout(options);

  layout->addWidget(new QLabel(tr("File preview:"), this));
  preview_ = new QPlainTextEdit(this);
  preview_->setReadOnly(true);
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(preview_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  AddDialogHelp(*buttons, 144);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ShowIfFailed(Write(), Path());
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           header_, notes_, axisTitle_, units_, selected_, coloured_, z_, dividers_[0], dividers_[1],
           dividers_[2], sorts_[0], sorts_[1], sorts_[2]})
    connect(b, &QAbstractButton::clicked, this, &CPointsTextDialog::RebuildPreview);
  connect(colour_, &QComboBox::currentIndexChanged, this, [this] {
    if (coloured_->isChecked()) RebuildPreview();
  });
  RebuildPreview();
  resize(520, 520);
}

PointsTextOptions CPointsTextDialog::Options() const {
  PointsTextOptions o;
  o.plotHeader = header_->isChecked();
  o.notes = notes_->isChecked();
  o.notesText = notesText_->text().toStdString();
  o.axisTitle = axisTitle_->isChecked();
  o.units = units_->isChecked();
  o.zParameter = z_->isChecked();
  for (int i = 0; i < 3; ++i) {
    if (dividers_[i]->isChecked()) o.divider = i;
    if (sorts_[i]->isChecked()) o.sort = static_cast<PointSort>(i);
  }
  o.filter = {selected_->isChecked(), coloured_->isChecked(), colour_->currentData().toInt()};
  return o;
}

QString CPointsTextDialog::Path() const { return path_->text(); }
QString CPointsTextDialog::PreviewText() const { return preview_->toPlainText(); }

void CPointsTextDialog::RebuildPreview() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  preview_->setPlainText(
      QString::fromStdString(BuildPointsText(doc_.Data(), Options(), PointsTextMode::Preview)));
  QApplication::restoreOverrideCursor();
}

ExportResult CPointsTextDialog::Write() const {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string text = BuildPointsText(doc_.Data(), Options(), PointsTextMode::File);
  QApplication::restoreOverrideCursor();
  return WriteExportFile(Path().toStdString(), text);
}

CPointsXmlDialog::CPointsXmlDialog(const CMainDoc& doc, int colour, const QString& path, QWidget* parent)
    : QDialog(parent), doc_(doc) {
  setWindowTitle(tr("Save the points to XML file"));
  auto* layout = new QVBoxLayout(this);
  path_ = new QLineEdit(path, this);
  layout->addWidget(path_);
  header_ = Check("Plot header", true, this);
  notes_ = Check("Notes", true, this);
  notesText_ = new QLineEdit(QString::fromStdString(doc.Data().comment), this);
  axisTitle_ = Check("Axis title", true, this);
  units_ = Check("Units", true, this);
  selected_ = Check("Selected only", false, this);
  coloured_ = Check("Colored only", false, this);
  colour_ = MakeColourBox(colour, this);
  z_ = Check("Z Parameter", false, this);
  combine_ = Check("Combine all series", false, this);
  for (QWidget* w : std::initializer_list<QWidget*>{header_, notes_, notesText_, axisTitle_, units_,
                                                    selected_, coloured_, colour_, z_, combine_})
    layout->addWidget(w);
  auto* objects = new QGroupBox(tr("Objects:"), this);
  auto* objectsLayout = new QVBoxLayout(objects);
  functions_ = Check("Functions", false, objects);
  areas_ = Check("Areas", false, objects);
  commentary_ = Check("Commentary", false, objects);
  for (QWidget* w : std::initializer_list<QWidget*>{functions_, areas_, commentary_}) objectsLayout->addWidget(w);
  layout->addWidget(objects);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  AddDialogHelp(*buttons, 145);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ShowIfFailed(Write(), Path());
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

PointsXmlOptions CPointsXmlDialog::Options() const {
  PointsXmlOptions o;
  o.plotHeader = header_->isChecked();
  o.notes = notes_->isChecked();
  o.notesText = notesText_->text().toStdString();
  o.axisTitle = axisTitle_->isChecked();
  o.units = units_->isChecked();
  o.zParameter = z_->isChecked();
  o.combineSeries = combine_->isChecked();
  o.functions = functions_->isChecked();
  o.areas = areas_->isChecked();
  o.commentary = commentary_->isChecked();
  o.filter = {selected_->isChecked(), coloured_->isChecked(), colour_->currentData().toInt()};
  return o;
}

QString CPointsXmlDialog::Path() const { return path_->text(); }

ExportResult CPointsXmlDialog::Write() const {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string bytes = EncodeXmlCp1251(BuildPointsXml(doc_.Data(), Options()));
  QApplication::restoreOverrideCursor();
  return WriteExportFile(Path().toStdString(), bytes);
}

bool SavePointsAs(const CMainDoc& doc, const QString& documentPath, int colour, QWidget* parent) {
  const QString proposed = QString::fromStdString(ProposedPointsFileName(documentPath.toStdString()));
  const QString path = QFileDialog::getSaveFileName(parent, QObject::tr("Save Points As"), proposed,
                                                    QObject::tr("Text Files (*.txt);;XML Files (*.xml)"));
  if (path.isEmpty()) return false;
  // The default extension, as the dialog would add it to a bare name.
  const QString full = QFileInfo(QFileInfo(path).suffix().isEmpty() ? path + ".txt" : path).absoluteFilePath();
  switch (PointsFileKindOf(full.toStdString())) {
    case PointsFileKind::Text: {
      CPointsTextDialog dialog(doc, colour, full, parent);
      return dialog.exec() == QDialog::Accepted;
    }
    case PointsFileKind::Xml: {
      CPointsXmlDialog dialog(doc, colour, full, parent);
      return dialog.exec() == QDialog::Accepted;
    }
    case PointsFileKind::None: return false;
  }
  return false;
}

int CopyPointsText(const CMainDoc& doc, int colour, const std::vector<DotValue>* points,
                   bool selectedOnly, bool colouredOnly) {
  int count = 0;
  const std::string text =
      PointsClipboardText(doc.Data(), points, PointFilter{selectedOnly, colouredOnly, colour}, count);
  if (count == 0) return 0;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return -4;
  clipboard->setText(QString::fromStdString(text));
  return count;
}

}  // namespace tracemont
