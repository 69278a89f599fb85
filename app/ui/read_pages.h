// The add-points wizard: three pages that read numbers from a text file, the
// clipboard, a typed table or a function's curve, let the user choose
// columns, a range, multipliers and the look of the new series, and create
// it in the document.
#pragma once

#include <QWizard>

#include <optional>
#include <string>
#include <vector>

#include "acquire/points_import.h"
#include "model/dot_value.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tracemont {

class CMainDoc;
class CPlotFunc;
class CTableList;

enum class ImportMode { File, Clipboard, NewTable, Function };

// What the wizard reads, prepared before it opens.
struct ReadSource {
  ImportMode mode = ImportMode::NewTable;
  std::string title;               // the default series title
  std::string path;                // File: the file read
  std::vector<std::string> lines;  // the line store
  long long linesShown = 0;        // estimated or counted lines
  bool wholeFileRead = true;       // File: every line is in `lines`
  std::vector<DotValue> functionPoints;  // Function: the curve's points
};

// The drawing defaults the wizard starts from (the view's current ones).
struct ReadDefaults {
  int colourCommand = 0;
  int shapeCommand = 0;
  int radius = 10;
};

// Source preparation. Each gives nothing when the wizard must not open: a
// file that cannot be read (`error` then holds the message) or is empty, no
// text on the clipboard, a function without points.
std::optional<ReadSource> FileSource(const std::string& path, std::string& error);
std::optional<ReadSource> ClipboardSource(const QString& clipboardText);
ReadSource NewTableSource();
std::optional<ReadSource> FunctionSource(const CPlotFunc& function, int pointRadius);

class CReadPages : public QWizard {
  Q_OBJECT
 public:
  CReadPages(CMainDoc& doc, ReadSource source, const ReadDefaults& defaults, QWidget* parent = nullptr);

  // The series made by Finish (owned by the document), and whether the plot
  // scales changed; the caller announces the change.
  const ImportOutcome& Outcome() const { return outcome_; }
  // Points collected on step 1 and kept on step 2.
  const std::vector<DotValue>& Collected() const { return collected_; }
  const std::vector<DotValue>& Kept() const { return kept_; }
  CTableList& Table() const { return *table_; }

  // The controls, for tests and the help texts.
  QSpinBox* firstLine = nullptr;
  QSpinBox* xColumn = nullptr;
  QSpinBox* yColumn = nullptr;
  QSpinBox* zColumn = nullptr;
  QLineEdit* multiplyX = nullptr;
  QLineEdit* multiplyY = nullptr;
  QLineEdit* range[4] = {};  // X min, X max, Y min, Y max
  QLineEdit* axis[4] = {};
  QRadioButton* fromRange = nullptr;
  QRadioButton* recalc = nullptr;
  QLineEdit* finalAxis[4] = {};
  QLineEdit* seriesTitle = nullptr;
  QComboBox* colour = nullptr;
  QComboBox* shape = nullptr;
  QSpinBox* radius = nullptr;
  QLineEdit* aspect = nullptr;
  QLabel* wasRead = nullptr;
  QLabel* keptCount = nullptr;

  bool validateCurrentPage() override;
  void initializePage(int id) override;

 private:
  QWizardPage* MakeDataPage();
  QWizardPage* MakeScalePage();
  QWizardPage* MakeLinePage();
  void MarkColumns();
  bool CollectPoints();
  void FilterPoints();
  bool Finish();

  CMainDoc& doc_;
  ReadSource source_;
  ReadDefaults defaults_;
  CTableList* table_ = nullptr;
  std::vector<DotValue> collected_;
  std::vector<DotValue> kept_;
  ImportOutcome outcome_;
};

// A document command that opens the wizard (File, Clipboard or NewTable):
// prepares the source (file dialog, clipboard text, the one-row table) and
// runs the wizard; `chosen` receives the wizard's colour and shape commands
// when a series was made. True when a series was made.
bool RunImportCommand(CMainDoc& doc, ImportMode mode, const QString& documentPath,
                      const ReadDefaults& defaults, QWidget* parent, ReadDefaults* chosen = nullptr);

// Runs the wizard on a prepared source; true when it was finished and a
// series was made (the change is announced).
bool RunReadPages(CMainDoc& doc, ReadSource source, const ReadDefaults& defaults, QWidget* parent,
                  ReadDefaults* chosen = nullptr);

}  // namespace tracemont
