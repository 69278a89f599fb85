// The dialogs that write points to a text or XML file, "Save Points As..."
// that chooses between them, and the copy of points to the clipboard.
#pragma once

#include <QDialog>

#include <vector>

#include "model/dot_value.h"
#include "model/points_export.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace tracemont {

class CMainDoc;

// The options both export dialogs have: made checked as the options' own
// defaults say, and read back into them. The widgets belong to the dialog.
struct ExportControls {
  template <class Options>
  ExportControls(const Options& defaults, const CMainDoc& doc, int colour, QWidget* parent);
  // In the order they are laid out.
  std::vector<QWidget*> Widgets() const;
  template <class Options>
  void ReadInto(Options& o) const;

  QCheckBox *header, *notes, *axisTitle, *units, *selected, *coloured, *z;
  QLineEdit* notesText;
  QComboBox* colour;
};

// Dialog 144: options of the text export with a live preview; OK writes the
// file (a write error is shown, and the dialog closes all the same).
class CPointsTextDialog : public QDialog {
  Q_OBJECT
 public:
  // `colour` is the view's current drawing colour command.
  CPointsTextDialog(const CMainDoc& doc, int colour, const QString& path, QWidget* parent = nullptr);
  PointsTextOptions Options() const;
  QString Path() const;
  QString PreviewText() const;
  // Writes the file with the current options; the message on failure.
  ExportResult Write() const;

 private:
  void RebuildPreview();
  const CMainDoc& doc_;
  QLineEdit* path_;
  ExportControls common_;
  QRadioButton* dividers_[3];
  QRadioButton* sorts_[3];
  QPlainTextEdit* preview_;
};

// Dialog 145: options of the XML export; OK writes the file.
class CPointsXmlDialog : public QDialog {
  Q_OBJECT
 public:
  CPointsXmlDialog(const CMainDoc& doc, int colour, const QString& path, QWidget* parent = nullptr);
  PointsXmlOptions Options() const;
  QString Path() const;
  ExportResult Write() const;

 private:
  const CMainDoc& doc_;
  QLineEdit* path_;
  ExportControls common_;
  QCheckBox *combine_, *functions_, *areas_, *commentary_;
};

// "Save Points As...": asks for a file and opens the dialog its extension
// names; true when a dialog was closed with OK. `documentPath` may be empty.
bool SavePointsAs(const CMainDoc& doc, const QString& documentPath, int colour, QWidget* parent);

// Puts points on the clipboard in the text form with decimal commas. With
// `points` they are written as given; otherwise the series' points pass the
// two filters (the colour being `colour`). Returns the number of points
// copied, 0 when there is none (the clipboard is left alone), -4 when the
// clipboard cannot take the text. Shows nothing.
int CopyPointsText(const CMainDoc& doc, int colour, const std::vector<DotValue>* points,
                   bool selectedOnly, bool colouredOnly);

}  // namespace tracemont
