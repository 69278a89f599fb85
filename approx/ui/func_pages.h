// The five-step fitting wizard: direction and range, kind of function, form
// and parameters, computation with its coefficient table, line style. The
// pages only show and edit the fields of a CApproxDriver, which does the
// work and keeps the preview function in the document.
#pragma once

#include <QWizard>
#include <QWizardPage>
#include <array>
#include <functional>
#include <vector>

#include "approx/approx_driver.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
class QTreeWidget;
class QCheckBox;

namespace tracemont {

class ColourButton;
class CMainDoc;
class NumberField;
class CFuncPages;

// Shows a help topic (the program's help system).
using WizardHelp = std::function<void(int topicId)>;

// The formula panel of step 3: formula, start parameters, text buttons and
// Preview.
class CFuncNlinPara : public QWidget {
 public:
  explicit CFuncNlinPara(QWidget* parent);
  // Shows the formula and a..d of the fields.
  void Load(const WizardFields& fields);
  // Takes the formula and a..d; false (a message shown) for a field that is
  // not a number.
  bool Store(WizardFields& fields);
  // Appends `piece` and a blank to the formula, caret at the end.
  void Append(const QString& piece);
  std::function<void()> onPreview;

 private:
  QLineEdit* formula_;
  std::array<NumberField*, 4> params_{};
  QComboBox* functions_;
};

// The iteration panel of step 4: a..d, step and iterations of the
// non-linear fit.
class CFuncNlinStat : public QWidget {
 public:
  explicit CFuncNlinStat(QWidget* parent);
  void Load(const WizardFields& fields);
  bool Store(WizardFields& fields);

 private:
  std::array<NumberField*, 4> params_{};
  NumberField* step_;
  QSpinBox* iterations_;
};

// A page of the wizard: its picture, its dialog id for help, and the move of
// its fields between controls and the driver.
class CFuncPage : public QWizardPage {
 public:
  CFuncPage(CFuncPages& sheet, int dialogId, const QString& title);
  int DialogId() const { return dialogId_; }
  // The page's picture.
  void SetPicture(int pictureId);

 protected:
  CApproxDriver& Driver();
  // Area right of the picture for the page's controls.
  QWidget* Content() const { return content_; }
  CFuncPages& sheet_;

 private:
  int dialogId_;
  QLabel* picture_;
  QWidget* content_;
};

class CFuncPageXY final : public CFuncPage {
 public:
  explicit CFuncPageXY(CFuncPages& sheet);
  void initializePage() override;
  bool validatePage() override;

 private:
  QRadioButton* yOfX_;
  QRadioButton* xOfY_;
  QLabel* xName_;
  QLabel* yName_;
  QLabel* xUnit_;
  QLabel* yUnit_;
  NumberField* xMax_;
  NumberField* xMin_;
  NumberField* yMax_;
  NumberField* yMin_;
};

class CFuncPageFunc final : public CFuncPage {
 public:
  explicit CFuncPageFunc(CFuncPages& sheet);
  void initializePage() override;
  bool validatePage() override;

 private:
  QGroupBox* group_;
  QButtonGroup* kinds_;
};

class CFuncPagePara final : public CFuncPage {
 public:
  explicit CFuncPagePara(CFuncPages& sheet);
  void initializePage() override;
  bool validatePage() override;
  CFuncNlinPara& FormulaPanel() { return *formulaPanel_; }

 private:
  bool Store();
  void ShowPlugins();
  void SelectPluginRow(int row);
  QGroupBox* regression_;
  QButtonGroup* forms_;
  QGroupBox* logistic_;
  QButtonGroup* logisticForms_;
  QGroupBox* activation_;
  QButtonGroup* activations_;
  QWidget* parameterARow_;
  NumberField* parameterA_;
  QGroupBox* training_;
  NumberField* step_;
  QSpinBox* iterations_;
  QWidget* plugin_;
  QListWidget* pluginList_;
  std::array<QLabel*, 4> pluginLabels_{};
  std::array<NumberField*, 4> pluginValues_{};
  CFuncNlinPara* formulaPanel_;
  QLineEdit* description_;
};

class CFuncPageStat final : public CFuncPage {
 public:
  explicit CFuncPageStat(CFuncPages& sheet);
  void initializePage() override;
  bool validatePage() override;
  // "Recalc": fit with the fields as they stand, show the result.
  void Recalc();
  // The copy button.
  void CopyFormula();
  // Shows the driver's texts, table and panel values.
  void ShowResult();
  CFuncNlinStat& IterationPanel() { return *iterationPanel_; }
  QTreeWidget* Table() const { return table_; }

 private:
  // Takes the fields; a refused one is reported (false).
  bool Store();
  void FillTableWidget();
  QLineEdit* points_;
  QWidget* pointsRow_;
  std::vector<QWidget*> methodRows_;  // degree, steps, spline, nodes, harmonics, neurons
  QSpinBox* degree_;
  QSpinBox* steps_;
  QComboBox* spline_;
  QSpinBox* nodes_;
  QSpinBox* harmonics_;
  QSpinBox* neurons_;
  CFuncNlinStat* iterationPanel_;
  QTreeWidget* table_;
  QLineEdit* formula_;
  QLineEdit* deviation_;
  QWidget* deviationRow_;
};

class CFuncPageLine final : public CFuncPage {
 public:
  explicit CFuncPageLine(CFuncPages& sheet);
  void initializePage() override;
  void cleanupPage() override;
  bool validatePage() override;

 private:
  ColourButton* colour_;
  QCheckBox* corridor_;
  QCheckBox* centres_;
  QSpinBox* width_;
  QLineEdit* name_;
  QPushButton* formula_;
};

class CFuncPages final : public QWizard {
 public:
  enum PageId { kXY = 0, kFunc, kPara, kStat, kLine };

  // The driver is borrowed for the wizard's lifetime.
  CFuncPages(CApproxDriver& driver, WizardHelp help, QWidget* parent);
  CApproxDriver& Driver() { return driver_; }
  CFuncPagePara& ParaPage() { return *para_; }
  CFuncPageStat& StatPage() { return *stat_; }
  // Cancel, Escape and the close box: the preview leaves the document.
  void reject() override;

 private:
  void ShowHelp();
  CApproxDriver& driver_;
  WizardHelp help_;
  CFuncPagePara* para_;
  CFuncPageStat* stat_;
};

// Runs the wizard modally on the records (range: four corners, or fewer to
// take the points' bounding box); Finish leaves one function object in the
// document. Nothing for no records. `editorColourCommand` colours an object
// made with colour command 0.
void RunApproximationWizard(CMainDoc& document, const std::vector<DotValue>& points,
                            const std::vector<DotValue>& range, int colourCommand,
                            int editorColourCommand, const WizardHelp& help, QWidget* parent);

// The commands "Function on Selected Points" (32875, every colour) and
// "Function on Colored Points" (32874, the editor's colour): gathers the
// selected points and opens the wizard, or shows "There are no points in
// areas selected".
void RunFunctionCommand(CMainDoc& document, int command, int editorColourCommand,
                        const WizardHelp& help, QWidget* parent);

}  // namespace tracemont
