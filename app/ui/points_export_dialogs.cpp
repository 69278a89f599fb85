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
#include <functional>

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

// OK writes the file and closes the dialog, also after a write error, which
// is shown with the file's path as caption and no owner.
void AddButtons(QDialog& dialog, QVBoxLayout& layout, int dialogId, std::function<ExportResult()> write,
                std::function<QString()> path) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  AddDialogHelp(*buttons, dialogId);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, write, path] {
    const ExportResult result = write();
    if (!result.ok) QMessageBox::critical(nullptr, path(), QString::fromStdString(result.message));
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout.addWidget(buttons);
}

}  // namespace

template <class Options>
ExportControls::ExportControls(const Options& defaults, const CMainDoc& doc, int colourCommand, QWidget* parent)
    : header(Check("Plot header", defaults.plotHeader, parent)),
      notes(Check("Notes", defaults.notes, parent)),
      axisTitle(Check("Axis title", defaults.axisTitle, parent)),
      units(Check("Units", defaults.units, parent)),
      selected(Check("Selected only", defaults.filter.selectedOnly, parent)),
      coloured(Check("Colored only", defaults.filter.colouredOnly, parent)),
      z(Check("Z Parameter", defaults.zParameter, parent)),
      notesText(new QLineEdit(QString::fromStdString(doc.Data().comment), parent)),
      colour(MakeColourBox(colourCommand, parent)) {
  notesText->setCursorPosition(0);  // a long comment shows from its start
}

std::vector<QWidget*> ExportControls::Widgets() const {
  return {header, notes, notesText, axisTitle, units, selected, coloured, colour, z};
}

template <class Options>
void ExportControls::ReadInto(Options& o) const {
  o.plotHeader = header->isChecked();
  o.notes = notes->isChecked();
  o.notesText = notesText->text().toStdString();
  o.axisTitle = axisTitle->isChecked();
  o.units = units->isChecked();
  o.zParameter = z->isChecked();
  o.filter = {selected->isChecked(), coloured->isChecked(), colour->currentData().toInt()};
}

CPointsTextDialog::CPointsTextDialog(const CMainDoc& doc, int colour, const QString& path, QWidget* parent)
    : QDialog(parent), doc_(doc), path_(new QLineEdit(path, this)), common_(PointsTextOptions{}, doc, colour, this) {
  setWindowTitle(tr("Save the points to text file"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(path_);

  auto* options = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  for (QWidget* w : common_.Widgets()) left->addWidget(w);
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

  AddButtons(*this, *layout, 144, [this] { return Write(); }, [this] { return Path(); });

  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           common_.header, common_.notes, common_.axisTitle, common_.units, common_.selected, common_.coloured,
           common_.z, dividers_[0], dividers_[1], dividers_[2], sorts_[0], sorts_[1], sorts_[2]})
    connect(b, &QAbstractButton::clicked, this, &CPointsTextDialog::RebuildPreview);
  connect(common_.colour, &QComboBox::currentIndexChanged, this, [this] {
    if (common_.coloured->isChecked()) RebuildPreview();
  });
  RebuildPreview();
  resize(520, 520);
}

PointsTextOptions CPointsTextDialog::Options() const {
  PointsTextOptions o;
  common_.ReadInto(o);
  for (int i = 0; i < 3; ++i) {
    if (dividers_[i]->isChecked()) o.divider = i;
    if (sorts_[i]->isChecked()) o.sort = static_cast<PointSort>(i);
  }
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
    : QDialog(parent), doc_(doc), path_(new QLineEdit(path, this)), common_(PointsXmlOptions{}, doc, colour, this) {
  setWindowTitle(tr("Save the points to XML file"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(path_);
  for (QWidget* w : common_.Widgets()) layout->addWidget(w);
  combine_ = Check("Combine all series", false, this);
  layout->addWidget(combine_);
  auto* objects = new QGroupBox(tr("Objects:"), this);
  auto* objectsLayout = new QVBoxLayout(objects);
  functions_ = Check("Functions", false, objects);
  areas_ = Check("Areas", false, objects);
  commentary_ = Check("Commentary", false, objects);
  for (QWidget* w : std::initializer_list<QWidget*>{functions_, areas_, commentary_}) objectsLayout->addWidget(w);
  layout->addWidget(objects);
  AddButtons(*this, *layout, 145, [this] { return Write(); }, [this] { return Path(); });
}

PointsXmlOptions CPointsXmlDialog::Options() const {
  PointsXmlOptions o;
  common_.ReadInto(o);
  o.combineSeries = combine_->isChecked();
  o.functions = functions_->isChecked();
  o.areas = areas_->isChecked();
  o.commentary = commentary_->isChecked();
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
