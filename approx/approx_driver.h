// The approximation driver: what the five-step fitting wizard computes,
// without any window. It turns the wizard's fields into a parameter vector
// and a range rectangle, fits, keeps one preview function in the document
// while the wizard is open and builds the coefficient table and its
// clipboard text. The wizard's pages only show and edit `WizardFields`.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "approx/approx.h"
#include "approx/plugin_host.h"
#include "model/dot_value.h"
#include "model/geometry.h"

namespace tracemont {

class CMainDoc;
class CPlotFunc;

// Kinds of function offered on step 2, in radio order.
namespace fit_kind {
constexpr int kRegression = 0;
constexpr int kPieceLinear = 1;
constexpr int kLogistic = 2;
constexpr int kFourier = 3;
constexpr int kNeural = 4;
constexpr int kNonLinear = 5;
constexpr int kUserDefined = 6;
constexpr int kClosedSpline = 7;
constexpr int kSections = 8;
constexpr int kCount = 9;
}  // namespace fit_kind

// The regression form radio that lets the driver choose the form.
constexpr int kBestForm = 5;

// Radio captions of the pages (the texts the user sees).
const std::array<const char*, fit_kind::kCount>& KindCaptions();
const std::array<const char*, 6>& RegressionFormCaptions();
const std::array<const char*, 2>& LogisticFormCaptions();
const std::array<const char*, 2>& ActivationCaptions();
const std::array<const char*, 9>& SplineGridCaptions();

// Every field of the wizard's pages, with the defaults of a new wizard.
struct WizardFields {
  // Step 1: direction (0: Y = f(X), 1: X = f(Y)) and range.
  int direction = 0;
  double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
  std::string xName, yName, xUnit, yUnit;
  // Step 2.
  int kind = fit_kind::kRegression;
  // Step 3.
  int regressionForm = 0;  // 0..5, 5 = "Best"
  int logisticForm = 0;
  int activation = 0;
  double parameterA = 4.0;
  double trainingStep = 0.0001;
  int trainingIterations = 300;  // 0..1000
  PluginListing plugins;
  int selectedPlugin = 0;
  PluginParameters pluginParameters;
  std::string description;  // read-only box of step 3
  // Formula panel of step 3.
  std::string formula = "a+b*u";
  std::array<double, 4> formulaParams{};
  // Step 4.
  int points = 0;
  int degree = 1;       // 0..5
  int steps = 20;       // 0..999
  int splineGrid = 2;   // 0..8: (index + 2)^2 spline points
  int nodes = 50;       // 10..100
  int harmonics = 2;    // 0..5
  int neurons = 8;      // 2..20
  std::string formulaText;
  std::string deviationText;
  // Iteration panel of step 4.
  std::array<double, 4> iterationParams{};
  double iterationStep = 0.0001;
  int iterationIterations = 500;
  // Step 5.
  int colourCommand = 0;
  Colour colour = 0;
  int width = 10;  // 0.1 mm
  bool corridor = false;
  bool centres = false;
  std::string name;
};

// The coefficient table of step 4.
struct CoefficientTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

// The table as clipboard text: a line of column titles, then a line per
// row; the cells as they are (padding included) joined by tabs, every "."
// turned into ",", lines ending CR LF.
std::string TableClipboardText(const CoefficientTable& table);

// The selected points of the visible series whose colour command is
// `colourFilter` (0: every series), in series order, as X, Y, Z records.
std::vector<DotValue> GatherSelectedPoints(const CMainDoc& document, int colourFilter);
// The range rectangle of the records: (min X, min Y), (min X, max Y),
// (max X, max Y), (max X, min Y); four zero records for no record.
std::vector<DotValue> RangeOfPoints(const std::vector<DotValue>& points);

// "Choose function Y = f( X ) :" for a direction.
std::string ChooseFunctionTitle(int direction);

class CApproxDriver {
 public:
  // Shows a message to the user (modal in the program).
  using MessageSink = std::function<void(const std::string& text)>;
  // Puts plain text on the clipboard; failures are not reported.
  using ClipboardSink = std::function<void(const std::string& text)>;

  // `document` is borrowed for the driver's lifetime (null: nothing can be
  // computed). The records are copied (X, Y, Z, flag 0). A range of fewer
  // than 3 records is replaced by the bounding box of the points.
  // `colourCommand` is the line colour (0: black line, the editor's colour
  // `editorColourCommand` for the object).
  CApproxDriver(CMainDoc* document, const std::vector<DotValue>& points,
                const std::vector<DotValue>& range, int colourCommand, int editorColourCommand);
  // The preview is left where it is: call Cancel() or Finish() first.
  ~CApproxDriver() = default;
  CApproxDriver(const CApproxDriver&) = delete;
  CApproxDriver& operator=(const CApproxDriver&) = delete;

  WizardFields fields;
  MessageSink showMessage = [](const std::string&) {};
  ClipboardSink putClipboard = [](const std::string&) {};

  const std::vector<DotValue>& Points() const { return points_; }
  const CApprox& Calculator() const { return calc_; }
  const CoefficientTable& Table() const { return table_; }
  bool TableShown() const { return tableShown_; }
  bool Computed() const { return computed_; }
  // The preview function in the document, or null.
  CPlotFunc* PreviewFunction() const;

  // Method id from the fields ("Best" gives 0).
  int MethodId() const;
  // n for the vector from the fields, clamped per method.
  int MethodN() const;
  // The argument and value letters of the direction ("X" and "Y" for 0).
  std::string ArgumentLetter() const;
  std::string ValueLetter() const;

  // Fits with method `id`: fills `params` and `range`; `deviation` gets
  // params[7] when a vector was made. False, with a message shown, when the
  // non-linear formula is rejected, no plug-in is valid or the network did
  // not converge.
  bool RunMethod(int id, FuncParams& params, std::vector<DotValue>& range, double& deviation);
  // The regression form (0, 2, 4, 6, 8) with the smallest deviation; the
  // earlier form wins a tie.
  int ChooseBestForm(FuncParams& params, std::vector<DotValue>& range);
  // MethodId, "Best" resolved, then RunMethod.
  bool ComputeFunction(FuncParams& params, std::vector<DotValue>& range);
  // Computes and puts the result in the document in place of the preview.
  // mode 0 fits, mode 1 keeps the non-linear start values (preview). False
  // without a document or when the computation fails (the preview stays).
  bool MakeFunction(FuncParams& params, int mode);
  // Step-4 texts and coefficient table from a vector; the table (the
  // formula text for method 90) goes to the clipboard.
  void FillTable(const FuncParams& params);

  // --- the pages' actions ---
  // Step 1 left: nothing to compute. Step 2 left: the description becomes
  // the chosen kind's caption.
  void LeaveKindPage();
  // Step 3 left: the description of the chosen function becomes the formula
  // text of step 4; the deviation text is emptied.
  void LeaveParameterPage();
  // Step 4 entered: computed cleared; the table is hidden when there is no
  // formula text.
  void EnterStatPage();
  // Step 5 entered: the name takes the formula text of step 4.
  void EnterLinePage();
  // Going back from step 5 clears computed.
  void LeaveLinePageBack() { computed_ = false; }
  // "Recalc": fit, preview, table; computed set whatever the outcome.
  void Recalc();
  // The copy button: Recalc, then the formula text to the clipboard.
  void CopyFormula();
  // "Preview" of the formula panel: the typed formula with the typed
  // parameters, not iterated.
  void Preview();
  // "Formula" of step 5: the name becomes the preview's formula text. False
  // when nothing was computed.
  bool FormulaToName();
  // Cancel: the preview leaves the document (which is as before the wizard).
  void Cancel();
  // Finish: the function is computed (or the Recalc vector reused) and
  // stays in the document as an ordinary object. False, with nothing left
  // in the document, when the computation fails.
  bool Finish();

 private:
  void RemovePreview();
  std::string DescribeChoice();

  CMainDoc* document_;
  std::vector<DotValue> points_;
  std::vector<DotValue> range_;
  CApprox calc_{6};
  CoefficientTable table_;
  bool tableShown_ = true;
  int editorColourCommand_;
  std::uint32_t previewId_ = 0;
  bool computed_ = false;
  int mode_ = 0;
  bool wasModified_ = false;
  std::size_t undoBase_ = 0;  // undo snapshots before the wizard opened
  FuncParams lastParams_;
};

}  // namespace tracemont
