#include "approx/approx_driver.h"

#include <algorithm>
#include <cstdlib>

#include "formula/formula_calc.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "model/plot_objects.h"
#include "model/text.h"

namespace tracemont {

namespace {

constexpr int kMsgCheckStrings = 2602;
constexpr int kMsgPluginAbsent = 41646;
constexpr int kMsgNetworkPoor = 41645;
constexpr int kMsgChooseFunction = 41679;
constexpr int kMsgFrom = 41561;
constexpr int kMsgTo = 41562;

std::string ReplaceAll(std::string text, char from, const std::string& to) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == from)
      out += to;
    else
      out += c;
  }
  return out;
}

// "%s from" with the letter.
std::string WithLetter(int id, const std::string& letter) {
  std::string text = LoadStr(id);
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, letter);
  return text;
}

}  // namespace

const std::array<const char*, fit_kind::kCount>& KindCaptions() {
  static const std::array<const char*, fit_kind::kCount> captions{
      "Regression line", "Piece linear", "Logistic function", "Fourier", "Neural network",
      "Non-linear", "User defined function", "Closed spline", "Sections"};
  return captions;
}

const std::array<const char*, 6>& RegressionFormCaptions() {
  static const std::array<const char*, 6> captions{
      "Polynomial      f(U) = a0 + a1*U + a2*U^2 + ...",
      "Hyperbolic      f(U) = a0 + a1/U + a2/U^2 + ...",
      "Logarithmic     f(U) = a0 + a1*ln(U) + a1*ln(U)^2 + ...",
      "Power            ln(f) = a0 + a1*ln(U) + a1*ln(U)^2 + ...",
      "Exponential    ln(f) =  a0 + a1*U  + a2*U^2 + ...",
      "Best"};
  return captions;
}

const std::array<const char*, 2>& LogisticFormCaptions() {
  static const std::array<const char*, 2> captions{
      "f(U) = Vmin + (Vmax-Vmin) / (1 + exp(a0 + a1*U))", "log(f(U) - Vmin) = a0 + a1*exp(-U)"};
  return captions;
}

const std::array<const char*, 2>& ActivationCaptions() {
  static const std::array<const char*, 2> captions{"f(U) = (U - dU) / (abs(U - dU) + a)",
                                                   "f(U) = 1. / (1. + exp(-a*abs(U - dU)))"};
  return captions;
}

const std::array<const char*, 9>& SplineGridCaptions() {
  static const std::array<const char*, 9> captions{"2  x  2", "3  x  3", "4  x  4",
                                                   "5  x  5", "6  x  6", "7  x  7",
                                                   "8  x  8", "9  x  9", "10x10"};
  return captions;
}

std::string TableClipboardText(const CoefficientTable& table) {
  const auto line = [](const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out += '\t';
      // The cells as described ("%4.4g" pads to four places); spreadsheets
      // read " 1,5" as the number.
      out += cells[i];
    }
    std::replace(out.begin(), out.end(), '.', ',');
    return out + "\r\n";
  };
  std::string text = line(table.columns);
  for (const auto& row : table.rows) text += line(row);
  return text;
}

std::vector<DotValue> GatherSelectedPoints(const CMainDoc& document, int colourFilter) {
  std::vector<DotValue> records;
  for (const auto& series : document.Series()) {
    if (!series->visible || !MatchesColour(*series, colourFilter)) continue;
    for (int i = 0;; ++i) {
      const auto value = series->GetValue(i, true);
      if (!value) break;
      records.emplace_back(value->x, value->y, value->z);
    }
  }
  return records;
}

std::vector<DotValue> RangeOfPoints(const std::vector<DotValue>& points) {
  if (points.empty()) return std::vector<DotValue>(4);
  CApprox calc(6);
  calc.ComputeStats(points);
  return {DotValue(calc.min[0], calc.min[1]), DotValue(calc.min[0], calc.max[1]),
          DotValue(calc.max[0], calc.max[1]), DotValue(calc.max[0], calc.min[1])};
}

std::string ChooseFunctionTitle(int direction) {
  const char* value = direction == 1 ? "X" : "Y";
  const char* argument = direction == 1 ? "Y" : "X";
  return LoadStr(kMsgChooseFunction) + value + " = f( " + argument + " ) :";
}

CApproxDriver::CApproxDriver(CMainDoc* document, const std::vector<DotValue>& points,
                             const std::vector<DotValue>& range, int colourCommand,
                             int editorColourCommand)
    : document_(document), editorColourCommand_(editorColourCommand) {
  points_.reserve(points.size());
  for (const DotValue& p : points) points_.emplace_back(p.x, p.y, p.z);
  calc_.ComputeStats(points_);
  fields.points = static_cast<int>(points_.size());
  if (document_) {
    const DocumentData& data = document_->Data();
    fields.xName = data.axisX.name;
    fields.xUnit = data.axisX.unit;
    fields.yName = data.axisY.name;
    fields.yUnit = data.axisY.unit;
    wasModified_ = document_->IsModified();
    undoBase_ = document_->History().UndoCount();
  }
  const std::vector<DotValue> corners = range.size() < 3 ? RangeOfPoints(points_) : range;
  fields.xMin = corners[0].x;
  fields.xMax = corners[2].x;
  fields.yMin = corners[0].y;
  fields.yMax = corners[2].y;
  fields.colourCommand = colourCommand;
  fields.colour = LineColourOfCommand(colourCommand);
}

CPlotFunc* CApproxDriver::PreviewFunction() const {
  if (!document_ || previewId_ == 0) return nullptr;
  for (const auto& f : document_->Functions())
    if (f->id == previewId_) return f.get();
  return nullptr;
}

int CApproxDriver::MethodId() const {
  switch (fields.kind) {
    case fit_kind::kPieceLinear: return method::kPieceLinear;
    case fit_kind::kLogistic: return fields.logisticForm == 1 ? method::kLogistic2 : method::kLogistic1;
    case fit_kind::kFourier: return method::kFourier;
    case fit_kind::kNeural: return fields.activation == 1 ? method::kNeural2 : method::kNeural1;
    case fit_kind::kNonLinear: return method::kNonLinear;
    case fit_kind::kUserDefined: return method::kPlugin;
    case fit_kind::kClosedSpline: return method::kClosedSpline;
    case fit_kind::kSections: return method::kSections;
    default: break;
  }
  static constexpr std::array<int, 6> kForms{method::kPolynomial, method::kHyperbolic,
                                             method::kLogarithmic, method::kPower,
                                             method::kExponential, method::kPolynomial};
  return fields.regressionForm >= 0 && fields.regressionForm < 6 ? kForms[fields.regressionForm]
                                                                  : method::kPolynomial;
}

int CApproxDriver::MethodN() const {
  switch (MethodId()) {
    case method::kPieceLinear: return std::clamp(fields.steps, 0, std::max(0, fields.points));
    case method::kClosedSpline: {
      const int side = std::clamp(fields.splineGrid, 0, 8) + 2;
      return side * side;
    }
    case method::kSections: return std::clamp(fields.nodes, 10, 100);
    case method::kFourier: return std::clamp(fields.harmonics, 0, 6);
    case method::kNeural1: case method::kNeural2: return std::clamp(fields.neurons, 2, 20);
    default: return std::clamp(fields.degree, 0, 6);
  }
}

std::string CApproxDriver::ArgumentLetter() const { return fields.direction == 1 ? "Y" : "X"; }
std::string CApproxDriver::ValueLetter() const { return fields.direction == 1 ? "X" : "Y"; }

bool CApproxDriver::RunMethod(int id, FuncParams& params, std::vector<DotValue>& range,
                              double& deviation) {
  params = {static_cast<double>(id), fields.direction == 1 ? 1.0 : 0.0,
            static_cast<double>(MethodN())};
  calc_.keepParameters = mode_;
  calc_.methodSettings.clear();
  switch (id) {
    case method::kNeural1: case method::kNeural2:
      calc_.methodSettings = {fields.parameterA, fields.trainingStep,
                              static_cast<double>(fields.trainingIterations)};
      break;
    case method::kNonLinear: {
      fields.formulaParams = fields.iterationParams;
      calc_.startValues = fields.iterationParams;
      calc_.methodSettings = {0.0, fields.iterationStep,
                              static_cast<double>(fields.iterationIterations)};
      std::string text = fields.formula;
      if (!CFormulaCalc::Instance().CheckWithParams(text, fields.iterationParams)) {
        showMessage(LoadStr(kMsgCheckStrings) + "\n" + text);
        return false;
      }
      calc_.formula = fields.formula;
      calc_.argumentName = "u";
      break;
    }
    case method::kPlugin: {
      const auto file = ResolvePlugin(fields.plugins, fields.selectedPlugin);
      if (!file) {
        showMessage(LoadStr(kMsgPluginAbsent));
        return false;
      }
      calc_.pluginFile = *file;
      const auto& v = fields.pluginParameters.values;
      calc_.methodSettings.assign(v.begin(), v.end());
      break;
    }
    default: break;
  }
  range = {DotValue(fields.xMin, fields.yMin), DotValue(fields.xMin, fields.yMax),
           DotValue(fields.xMax, fields.yMax), DotValue(fields.xMax, fields.yMin)};
  // Finish after Recalc takes the vector Recalc made, even when fields
  // changed since: a long iterative fit is not run twice. A preview
  // (mode 1) always draws the typed parameters, never the reused vector.
  FuncParams reused;
  if (computed_ && mode_ == 0 && calc_.CopyResult(reused) > 0)
    params = reused;
  else
    calc_.FitFunction(points_, params, range);
  if (id == method::kNeural1 || id == method::kNeural2) {
    const int made = MethodOf(params);
    if (params.empty() || (made != method::kNeural1 && made != method::kNeural2)) {
      showMessage(LoadStr(kMsgNetworkPoor));
      return false;
    }
  }
  if (params.size() > 7) deviation = params[7];
  return true;
}

int CApproxDriver::ChooseBestForm(FuncParams& params, std::vector<DotValue>& range) {
  int best = method::kPolynomial;
  double bestDeviation = 0.0;
  bool first = true;
  for (const int form : {method::kPolynomial, method::kHyperbolic, method::kLogarithmic,
                         method::kPower, method::kExponential}) {
    double deviation = 1e99;
    RunMethod(form, params, range, deviation);
    if (first || deviation < bestDeviation) {
      best = form;
      bestDeviation = deviation;
      first = false;
    }
  }
  return best;
}

bool CApproxDriver::ComputeFunction(FuncParams& params, std::vector<DotValue>& range) {
  int id = MethodId();
  if (fields.kind == fit_kind::kRegression && fields.regressionForm == kBestForm)
    id = ChooseBestForm(params, range);
  double deviation = 0.0;
  return RunMethod(id, params, range, deviation);
}

void CApproxDriver::RemovePreview() {
  CPlotFunc* preview = PreviewFunction();
  previewId_ = 0;
  if (!preview) return;
  // The preview was never a step of its own: its removal takes no undo
  // snapshot, so undo after Finish goes straight back to before the wizard.
  document_->RemoveObjects({preview}, false);
  document_->Changed();
}

bool CApproxDriver::MakeFunction(FuncParams& params, int mode) {
  mode_ = mode;
  if (!document_) return false;
  std::vector<DotValue> range;
  if (!ComputeFunction(params, range)) return false;
  lastParams_ = params;
  RemovePreview();
  FunctionStyle style;
  style.colourCommand = fields.colourCommand != 0 ? fields.colourCommand : editorColourCommand_;
  style.colour = fields.colour;
  style.width = fields.width;
  style.corridor = fields.corridor;
  style.samplerOption = fields.centres ? 1 : 0;
  CPlotFunc* made = document_->NewFunction(params, range, style);
  // Every preview snapshots the state before the wizard again; one snapshot
  // is kept, so that one undo takes back what the wizard left.
  while (document_->History().UndoCount() > undoBase_ + 1) document_->DiscardCheckpoint();
  if (!made) return false;
  previewId_ = made->id;
  made->name = fields.name;
  document_->Changed();
  return true;
}

void CApproxDriver::FillTable(const FuncParams& params) {
  std::vector<std::string> rows;
  if (DescribeFunction(params, rows, 1) > 1) {
    fields.formulaText = rows[0];
    fields.deviationText = rows[1];
  }
  const int id = MethodOf(params);
  if (!params.empty() && id == method::kNonLinear) {
    for (std::size_t i = 0; i < 4 && 4 + i < rows.size(); ++i) {
      const double v = std::strtod(rows[4 + i].c_str(), nullptr);
      fields.formulaParams[i] = v;
      fields.iterationParams[i] = v;
    }
    putClipboard(fields.formulaText);
    return;
  }
  table_ = {};
  switch (id) {
    case method::kClosedSpline: table_.columns = {"X", "Y"}; break;
    case method::kSections: table_.columns = {"X1", "Y1", "X2", "Y2"}; break;
    case method::kPieceLinear: {
      const bool byY = params.size() >= 2 && StoredInt(params[1]) == 1;
      const std::string argument = byY ? "Y" : "X";
      table_.columns = {WithLetter(kMsgFrom, argument), WithLetter(kMsgTo, argument),
                        byY ? "X" : "Y"};
      break;
    }
    default: table_.columns = {"n", "An"}; break;
  }
  std::vector<std::string> list;
  DescribeFunction(params, list, 0);
  const std::size_t count = id == method::kSections ? list.size() / 4 : list.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    if (id == method::kPieceLinear) {
      const std::string from = i == 0 ? "" : list[2 * i];
      const std::string to = i + 1 == count || 2 * i + 2 >= list.size() ? "" : list[2 * i + 2];
      table_.rows.push_back({from, to, list[2 * i + 1]});
    } else if (id == method::kSections) {
      table_.rows.push_back({list[4 * i], list[4 * i + 1], list[4 * i + 2], list[4 * i + 3]});
    } else {
      table_.rows.push_back({list[2 * i], list[2 * i + 1]});
    }
  }
  tableShown_ = true;
  putClipboard(TableClipboardText(table_));
}

std::string CApproxDriver::DescribeChoice() {
  const std::string argument = ArgumentLetter();
  const std::string value = ValueLetter();
  switch (MethodId()) {
    case method::kLogistic1: case method::kLogistic2:
      return ReplaceAll(ReplaceAll(LogisticFormCaptions()[fields.logisticForm == 1 ? 1 : 0], 'U',
                                   argument),
                        'V', value);
    case method::kPlugin: {
      const auto file = ResolvePlugin(fields.plugins, fields.selectedPlugin);
      if (!file) return "";
      return CApprPlugin(*file).Name().substr(0, 255);
    }
    case method::kNonLinear:
      fields.iterationParams = fields.formulaParams;
      return ReplaceAll(ReplaceAll("V = " + fields.formula, 'U', argument), 'V', value);
    case method::kPieceLinear: case method::kClosedSpline: case method::kSections:
    case method::kFourier: case method::kNeural1: case method::kNeural2:
      return fields.description;
    default: {
      const int form = std::clamp(fields.regressionForm, 0, 5);
      return ReplaceAll(ReplaceAll(RegressionFormCaptions()[form], 'U', argument), 'f', value);
    }
  }
}

void CApproxDriver::LeaveKindPage() {
  fields.description = KindCaptions()[std::clamp(fields.kind, 0, fit_kind::kCount - 1)];
}

void CApproxDriver::LeaveParameterPage() {
  fields.formulaText = DescribeChoice();
  fields.deviationText.clear();
}

void CApproxDriver::EnterStatPage() {
  computed_ = false;
  if (fields.formulaText.empty()) {
    table_ = {};
    tableShown_ = false;
  }
}

void CApproxDriver::EnterLinePage() { fields.name = fields.formulaText; }

void CApproxDriver::Recalc() {
  computed_ = false;
  FuncParams params;
  MakeFunction(params, 0);
  FillTable(params);
  computed_ = true;
}

void CApproxDriver::CopyFormula() {
  Recalc();
  putClipboard(fields.formulaText);
}

void CApproxDriver::Preview() {
  fields.iterationParams = fields.formulaParams;
  FuncParams params;
  MakeFunction(params, 1);
  fields.formulaParams = fields.iterationParams;
}

bool CApproxDriver::FormulaToName() {
  const CPlotFunc* preview = PreviewFunction();
  if (!computed_ || !preview) return false;
  std::vector<std::string> rows;
  if (DescribeFunction(preview->params, rows, 1) > 1) fields.name = rows[0];
  return true;
}

void CApproxDriver::Cancel() {
  const bool hadPreview = PreviewFunction() != nullptr;
  RemovePreview();
  if (!document_) return;
  // Nothing is left of the wizard, so neither is its undo step.
  while (document_->History().UndoCount() > undoBase_) document_->DiscardCheckpoint();
  if (hadPreview) document_->SetModified(wasModified_);
}

bool CApproxDriver::Finish() {
  FuncParams params;
  if (MakeFunction(params, 0)) {
    previewId_ = 0;  // no longer a preview: an ordinary object of the document
    return true;
  }
  // No function is made: an earlier preview must not stay behind.
  Cancel();
  return false;
}

}  // namespace tracemont
