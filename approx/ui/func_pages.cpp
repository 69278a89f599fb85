#include "approx/ui/func_pages.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cfloat>

#include "app/help_texts.h"
#include "app/ui/help_system.h"
#include "app/ui/colour_button.h"
#include "app/ui/number_field.h"
#include "approx/progress.h"
#include "approx/ui/method_pictures.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "model/text.h"

namespace tracemont {

namespace {

constexpr int kMsgNoPoints = 41675;

QString Q(const std::string& s) { return QString::fromStdString(s); }

void PutClipboard(const std::string& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(Q(text));
}

// The platform's refusal of a field: the page stays.
bool CheckField(NumberField* field, const QString& label, QWidget* parent, bool report = true) {
  if (field->IsValid()) return true;
  if (report)
    QMessageBox::warning(parent, QString(),
                         QObject::tr("%1: enter a number %2.").arg(label, field->RangeText()));
  return false;
}

NumberField* AnyNumber(QWidget* parent) { return new NumberField(-DBL_MAX, DBL_MAX, parent); }

QSpinBox* Spin(int min, int max, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(min, max);
  return spin;
}

// A spin box whose arrows stop below its typed range: "Steps number" takes
// 0..999 typed, but its arrows go no further than the number of points.
class ArrowLimitedSpin final : public QSpinBox {
 public:
  ArrowLimitedSpin(int min, int max, int arrowMax, QWidget* parent)
      : QSpinBox(parent), arrowMax_(std::clamp(arrowMax, min, max)) {
    setRange(min, max);
  }
  void stepBy(int steps) override {
    setValue(std::clamp(value() + steps * singleStep(), minimum(), arrowMax_));
  }

 protected:
  StepEnabled stepEnabled() const override {
    StepEnabled enabled = StepNone;
    if (value() < arrowMax_) enabled |= StepUpEnabled;
    if (value() > minimum()) enabled |= StepDownEnabled;
    return enabled;
  }

 private:
  int arrowMax_;
};

// Long formulas are read from their start: setText alone leaves the caret,
// and so the view, at the end.
void ShowFromStart(QLineEdit* box, const QString& text) {
  box->setText(text);
  box->setCursorPosition(0);
}

QLineEdit* ReadOnlyBox(QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::ClickFocus);
  return box;
}

// A label and its control on one line, hidden and shown together.
QWidget* Row(const QString& label, QWidget* control, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* text = new QLabel(label, row);
  text->setMinimumWidth(130);
  layout->addWidget(text);
  control->setParent(row);
  layout->addWidget(control, 1);
  return row;
}

QButtonGroup* Radios(QGroupBox* box, const std::vector<QString>& captions) {
  auto* group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    auto* radio = new QRadioButton(captions[i], box);
    group->addButton(radio, static_cast<int>(i));
    layout->addWidget(radio);
  }
  return group;
}

void Check(QButtonGroup* group, int id) {
  if (QAbstractButton* b = group->button(id)) b->setChecked(true);
}

// Monospace keeps the regression captions lined up as they were written.
void UseFixedFont(QWidget* widget) {
  QFont font("Monospace");
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(widget->font().pointSizeF());
  widget->setFont(font);
}

}  // namespace

// --- formula panel ---------------------------------------------------------------

CFuncNlinPara::CFuncNlinPara(QWidget* parent) : QWidget(parent) {
  setObjectName("FormulaPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* line = new QHBoxLayout;
  line->addWidget(new QLabel("Y(u) = ", this));
  formula_ = new QLineEdit(this);
  formula_->setObjectName("Formula");
  line->addWidget(formula_, 1);
  layout->addLayout(line);

  auto* buttons = new QGridLayout;
  const std::vector<std::pair<QString, QString>> pieces{
      {"+", "+"},        {"-", "-"},          {"*", "*"},        {"/", "/"},
      {"u^v", "^"},      {"u^2", "^2"},       {"pi", "pi"},      {"sqr", "sqrt(u)"},
      {"exp", "exp(u)"}, {"ln", "ln(u)"},     {"log", "log(u)"}, {"sin", "sin(u)"},
      {"cos", "cos(u)"}, {"tan", "tan(u)"}};
  int at = 0;
  for (const auto& [caption, piece] : pieces) {
    auto* b = new QPushButton(caption, this);
    b->setMaximumWidth(48);
    connect(b, &QPushButton::clicked, this, [this, piece] { Append(piece); });
    buttons->addWidget(b, at / 7, at % 7);
    ++at;
  }
  layout->addLayout(buttons);

  auto* add = new QHBoxLayout;
  add->addWidget(new QLabel("Functions:", this));
  functions_ = new QComboBox(this);
  functions_->addItems({"abs(u)", "acos(u)", "asin(u)", "atan(u)", "besselj0(u)", "besselj1(u)",
                        "besseljn(u, v)", "bessely0(u)", "bessely1(u)", "besselyn(u, v)",
                        "beta(u, v)", "cosh(u)", "gamma(u)", "int(u)", "max(u, v)", "min(u, v)",
                        "normal(u, v)", "pow(u,v)", "sinh(u)", "tanh(u)"});
  add->addWidget(functions_, 1);
  auto* addButton = new QPushButton("Add", this);
  connect(addButton, &QPushButton::clicked, this,
          [this] { Append(functions_->currentText().left(80)); });
  add->addWidget(addButton);
  layout->addLayout(add);

  auto* group = new QGroupBox("Parameters:", this);
  auto* grid = new QGridLayout(group);
  const char* names[] = {"a", "b", "c", "d"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QPushButton(names[i], group);
    b->setMaximumWidth(32);
    const QString piece = QString(" ") + names[i];
    connect(b, &QPushButton::clicked, this, [this, piece] { Append(piece); });
    params_[i] = AnyNumber(group);
    params_[i]->setObjectName(QString("FormulaParam_") + names[i]);
    grid->addWidget(b, i / 2, (i % 2) * 2);
    grid->addWidget(params_[i], i / 2, (i % 2) * 2 + 1);
  }
  layout->addWidget(group);
  auto* preview = new QPushButton("Preview", this);
  preview->setObjectName("Preview");
  connect(preview, &QPushButton::clicked, this, [this] {
    if (onPreview) onPreview();
  });
  layout->addWidget(preview, 0, Qt::AlignLeft);
}

void CFuncNlinPara::Load(const WizardFields& fields) {
  formula_->setText(Q(fields.formula));
  for (int i = 0; i < 4; ++i) params_[i]->SetValue(fields.formulaParams[i]);
}

bool CFuncNlinPara::Store(WizardFields& fields) {
  const char* names[] = {"a", "b", "c", "d"};
  for (int i = 0; i < 4; ++i)
    if (!CheckField(params_[i], names[i], this)) return false;
  fields.formula = formula_->text().toStdString();
  for (int i = 0; i < 4; ++i) fields.formulaParams[i] = params_[i]->Value();
  return true;
}

void CFuncNlinPara::Append(const QString& piece) {
  if (piece.isEmpty()) return;
  formula_->setText(formula_->text() + piece + " ");
  formula_->setFocus();
  formula_->setCursorPosition(formula_->text().size());
}

// --- iteration panel --------------------------------------------------------------

CFuncNlinStat::CFuncNlinStat(QWidget* parent) : QWidget(parent) {
  setObjectName("IterationPanel");
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  const char* labels[] = {"a =", "b =", "c =", "d = "};
  for (int i = 0; i < 4; ++i) {
    params_[i] = AnyNumber(this);
    params_[i]->setObjectName(QString("IterationParam_%1").arg(i));
    form->addRow(labels[i], params_[i]);
  }
  step_ = AnyNumber(this);
  form->addRow("Step", step_);
  iterations_ = Spin(0, 1000, this);
  form->addRow("Iterations", iterations_);
}

void CFuncNlinStat::Load(const WizardFields& fields) {
  for (int i = 0; i < 4; ++i) params_[i]->SetValue(fields.iterationParams[i]);
  step_->SetValue(fields.iterationStep);
  iterations_->setValue(fields.iterationIterations);
}

bool CFuncNlinStat::Store(WizardFields& fields) {
  bool ok = true;
  const char* names[] = {"a", "b", "c", "d"};
  for (int i = 0; i < 4; ++i) ok = CheckField(params_[i], names[i], this) && ok;
  ok = CheckField(step_, "Step", this) && ok;
  for (int i = 0; i < 4; ++i) fields.iterationParams[i] = params_[i]->Value();
  fields.iterationStep = step_->Value();
  fields.iterationIterations = iterations_->value();
  return ok;
}

// --- pages ------------------------------------------------------------------------

CFuncPage::CFuncPage(CFuncPages& sheet, int dialogId, const QString& title)
    : QWizardPage(&sheet), sheet_(sheet), dialogId_(dialogId) {
  setTitle(title);
  auto* layout = new QHBoxLayout(this);
  picture_ = new QLabel(this);
  picture_->setObjectName("Picture");
  picture_->setFixedSize(128, 168);
  picture_->setAlignment(Qt::AlignTop);
  layout->addWidget(picture_, 0, Qt::AlignTop);
  content_ = new QWidget(this);
  layout->addWidget(content_, 1);
  SetPicture(picture::kGeneral);
}

void CFuncPage::SetPicture(int pictureId) {
  picture_->setPixmap(MethodPicture(pictureId));
  picture_->setProperty("pictureId", pictureId);
}

CApproxDriver& CFuncPage::Driver() { return sheet_.Driver(); }

// Step 1.
CFuncPageXY::CFuncPageXY(CFuncPages& sheet)
    : CFuncPage(sheet, 156, "Approximation line (step 1 of 5)") {
  auto* layout = new QVBoxLayout(Content());
  auto* direction = new QGroupBox(Content());
  auto* radios = new QHBoxLayout(direction);
  yOfX_ = new QRadioButton("Y = f ( X )", direction);
  xOfY_ = new QRadioButton("X = f ( Y )", direction);
  yOfX_->setObjectName("YofX");
  xOfY_->setObjectName("XofY");
  radios->addWidget(yOfX_);
  radios->addWidget(xOfY_);
  layout->addWidget(direction);
  const auto axisGroup = [&](const QString& title, QLabel*& name, QLabel*& unit, NumberField*& max,
                             NumberField*& min) {
    auto* group = new QGroupBox(title, Content());
    auto* form = new QFormLayout(group);
    name = new QLabel(group);
    form->addRow(name);
    max = AnyNumber(group);
    min = AnyNumber(group);
    form->addRow("Max", max);
    form->addRow("Min", min);
    unit = new QLabel(group);
    form->addRow("Range:", unit);
    layout->addWidget(group);
  };
  axisGroup("X parameter:", xName_, xUnit_, xMax_, xMin_);
  axisGroup("Y parameter:", yName_, yUnit_, yMax_, yMin_);
  xMin_->setObjectName("XMin");
  xMax_->setObjectName("XMax");
  yMin_->setObjectName("YMin");
  yMax_->setObjectName("YMax");
  layout->addStretch(1);
}

void CFuncPageXY::initializePage() {
  const WizardFields& f = Driver().fields;
  SetPicture(picture::kGeneral);
  (f.direction == 1 ? xOfY_ : yOfX_)->setChecked(true);
  xName_->setText(Q(f.xName));
  yName_->setText(Q(f.yName));
  xUnit_->setText(Q(f.xUnit));
  yUnit_->setText(Q(f.yUnit));
  xMax_->SetValue(f.xMax);
  xMin_->SetValue(f.xMin);
  yMax_->SetValue(f.yMax);
  yMin_->SetValue(f.yMin);
}

bool CFuncPageXY::validatePage() {
  if (!CheckField(xMax_, "X Max", this) || !CheckField(xMin_, "X Min", this) ||
      !CheckField(yMax_, "Y Max", this) || !CheckField(yMin_, "Y Min", this))
    return false;
  WizardFields& f = Driver().fields;
  f.direction = xOfY_->isChecked() ? 1 : 0;
  f.xMax = xMax_->Value();
  f.xMin = xMin_->Value();
  f.yMax = yMax_->Value();
  f.yMin = yMin_->Value();
  return true;
}

// Step 2.
CFuncPageFunc::CFuncPageFunc(CFuncPages& sheet)
    : CFuncPage(sheet, 159, "Approximation line (step 2 of 5)") {
  auto* layout = new QVBoxLayout(Content());
  group_ = new QGroupBox(Content());
  group_->setObjectName("KindGroup");
  std::vector<QString> captions;
  for (const char* c : KindCaptions()) captions.emplace_back(c);
  kinds_ = Radios(group_, captions);
  layout->addWidget(group_);
  layout->addStretch(1);
  connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) {
    CApproxDriver& d = Driver();
    d.fields.kind = kind;
    SetPicture(PictureOfMethod(d.MethodId()));
  });
}

void CFuncPageFunc::initializePage() {
  CApproxDriver& d = Driver();
  group_->setTitle(Q(ChooseFunctionTitle(d.fields.direction)));
  Check(kinds_, d.fields.kind);
  SetPicture(PictureOfMethod(d.MethodId()));
}

bool CFuncPageFunc::validatePage() {
  CApproxDriver& d = Driver();
  d.fields.kind = std::max(0, kinds_->checkedId());
  d.LeaveKindPage();
  return true;
}

// Step 3.
CFuncPagePara::CFuncPagePara(CFuncPages& sheet)
    : CFuncPage(sheet, 196, "Approximation line (step 3 of 5)") {
  auto* layout = new QVBoxLayout(Content());
  regression_ = new QGroupBox("Approximation:", Content());
  std::vector<QString> forms;
  for (const char* c : RegressionFormCaptions()) forms.emplace_back(c);
  forms_ = Radios(regression_, forms);
  UseFixedFont(regression_);
  layout->addWidget(regression_);

  logistic_ = new QGroupBox("Approximation:", Content());
  logisticForms_ = Radios(logistic_, {LogisticFormCaptions()[0], LogisticFormCaptions()[1]});
  layout->addWidget(logistic_);

  activation_ = new QGroupBox("Neuron activation function:", Content());
  activations_ = Radios(activation_, {ActivationCaptions()[0], ActivationCaptions()[1]});
  layout->addWidget(activation_);
  parameterA_ = AnyNumber(Content());
  parameterARow_ = Row("Parameter A", parameterA_, Content());
  layout->addWidget(parameterARow_);
  training_ = new QGroupBox("Training parameters:", Content());
  auto* trainingForm = new QFormLayout(training_);
  step_ = AnyNumber(training_);
  iterations_ = Spin(0, 1000, training_);
  trainingForm->addRow("Step", step_);
  trainingForm->addRow("Iterations", iterations_);
  layout->addWidget(training_);

  plugin_ = new QWidget(Content());
  auto* pluginLayout = new QVBoxLayout(plugin_);
  pluginLayout->setContentsMargins(0, 0, 0, 0);
  pluginLayout->addWidget(new QLabel("User defined approximation functions:", plugin_));
  pluginList_ = new QListWidget(plugin_);
  pluginList_->setObjectName("PluginList");
  pluginList_->setMaximumHeight(90);
  pluginLayout->addWidget(pluginList_);
  auto* parameters = new QGroupBox("Parameters:", plugin_);
  auto* parameterForm = new QFormLayout(parameters);
  for (int i = 0; i < 4; ++i) {
    pluginLabels_[i] = new QLabel(QString("Param%1").arg(i + 1), parameters);
    pluginValues_[i] = AnyNumber(parameters);
    parameterForm->addRow(pluginLabels_[i], pluginValues_[i]);
  }
  pluginLayout->addWidget(parameters);
  layout->addWidget(plugin_);
  connect(pluginList_, &QListWidget::currentRowChanged, this, [this](int row) { SelectPluginRow(row); });

  formulaPanel_ = new CFuncNlinPara(Content());
  formulaPanel_->hide();
  formulaPanel_->onPreview = [this] {
    CApproxDriver& d = Driver();
    if (!formulaPanel_->Store(d.fields)) return;
    d.fields.iterationParams = d.fields.formulaParams;
    sheet_.StatPage().IterationPanel().Load(d.fields);
    d.Preview();
    formulaPanel_->Load(d.fields);
  };
  layout->addWidget(formulaPanel_);
  layout->addStretch(1);
  description_ = ReadOnlyBox(Content());
  description_->setObjectName("Description");
  layout->addWidget(description_);
}

void CFuncPagePara::initializePage() {
  CApproxDriver& d = Driver();
  const WizardFields& f = d.fields;
  SetPicture(PictureOfMethod(d.MethodId()));
  Check(forms_, f.regressionForm);
  Check(logisticForms_, f.logisticForm);
  Check(activations_, f.activation);
  parameterA_->SetValue(f.parameterA);
  step_->SetValue(f.trainingStep);
  iterations_->setValue(f.trainingIterations);
  formulaPanel_->Load(f);
  ShowFromStart(description_, Q(f.description));

  const int kind = f.kind;
  regression_->setVisible(kind == fit_kind::kRegression);
  logistic_->setVisible(kind == fit_kind::kLogistic);
  for (QWidget* w : {static_cast<QWidget*>(activation_), parameterARow_, static_cast<QWidget*>(training_)})
    w->setVisible(kind == fit_kind::kNeural);
  formulaPanel_->setVisible(kind == fit_kind::kNonLinear);
  description_->setVisible(kind != fit_kind::kNonLinear);
  plugin_->setVisible(false);
  if (kind == fit_kind::kUserDefined) ShowPlugins();
}

void CFuncPagePara::ShowPlugins() {
  WizardFields& f = Driver().fields;
  f.plugins = DiscoverPlugins();
  if (f.plugins.names.empty()) return;  // the method cannot be used
  plugin_->setVisible(true);
  const QSignalBlocker block(pluginList_);
  pluginList_->clear();
  for (const std::string& title : f.plugins.titles) pluginList_->addItem(Q(title));
  f.selectedPlugin = std::clamp(f.selectedPlugin, 0, static_cast<int>(f.plugins.names.size()) - 1);
  pluginList_->setCurrentRow(f.selectedPlugin);
  SelectPluginRow(f.selectedPlugin);
}

void CFuncPagePara::SelectPluginRow(int row) {
  WizardFields& f = Driver().fields;
  if (row < 0 || row >= static_cast<int>(f.plugins.names.size())) return;
  f.selectedPlugin = row;
  f.pluginParameters = {};
  SelectPlugin(f.plugins.names[row], f.pluginParameters);
  for (int i = 0; i < 4; ++i) {
    pluginLabels_[i]->setText(Q(f.pluginParameters.labels[i]));
    pluginValues_[i]->SetValue(f.pluginParameters.values[i]);
  }
}

bool CFuncPagePara::Store() {
  WizardFields& f = Driver().fields;
  switch (f.kind) {
    case fit_kind::kRegression: f.regressionForm = std::max(0, forms_->checkedId()); break;
    case fit_kind::kLogistic: f.logisticForm = std::max(0, logisticForms_->checkedId()); break;
    case fit_kind::kNeural:
      if (!CheckField(parameterA_, "Parameter A", this) || !CheckField(step_, "Step", this))
        return false;
      f.activation = std::max(0, activations_->checkedId());
      f.parameterA = parameterA_->Value();
      f.trainingStep = step_->Value();
      f.trainingIterations = iterations_->value();
      break;
    case fit_kind::kNonLinear: return formulaPanel_->Store(f);
    case fit_kind::kUserDefined:
      if (!plugin_->isVisible()) break;
      for (int i = 0; i < 4; ++i)
        if (!CheckField(pluginValues_[i], pluginLabels_[i]->text(), this)) return false;
      for (int i = 0; i < 4; ++i) f.pluginParameters.values[i] = pluginValues_[i]->Value();
      break;
    default: break;
  }
  return true;
}

bool CFuncPagePara::validatePage() {
  if (!Store()) return false;
  Driver().LeaveParameterPage();
  sheet_.StatPage().IterationPanel().Load(Driver().fields);
  return true;
}

// Step 4.
CFuncPageStat::CFuncPageStat(CFuncPages& sheet)
    : CFuncPage(sheet, 157, "Approximation line (step 4 of 5)") {
  auto* layout = new QVBoxLayout(Content());
  auto* group = new QGroupBox("Approximation parameters:", Content());
  auto* groupLayout = new QVBoxLayout(group);
  points_ = ReadOnlyBox(group);
  points_->setObjectName("PointsNumber");
  pointsRow_ = Row("Points (X,Y) number", points_, group);
  groupLayout->addWidget(pointsRow_);
  degree_ = Spin(0, 5, group);
  degree_->setObjectName("Degree");
  steps_ = new ArrowLimitedSpin(0, 999, Driver().fields.points, group);
  steps_->setObjectName("Steps");
  spline_ = new QComboBox(group);
  spline_->setObjectName("SplinePoints");
  for (const char* c : SplineGridCaptions()) spline_->addItem(c);
  nodes_ = Spin(10, 100, group);
  harmonics_ = Spin(0, 5, group);
  neurons_ = Spin(2, 20, group);
  methodRows_ = {Row("Polynomial degree", degree_, group), Row("Steps number", steps_, group),
                 Row("Points of spline", spline_, group), Row("Nodes of net", nodes_, group),
                 Row("Harmonics", harmonics_, group),     Row("Neurons", neurons_, group)};
  for (QWidget* row : methodRows_) groupLayout->addWidget(row);
  iterationPanel_ = new CFuncNlinStat(group);
  iterationPanel_->hide();
  groupLayout->addWidget(iterationPanel_);
  layout->addWidget(group);

  table_ = new QTreeWidget(Content());
  table_->setObjectName("CoefficientTable");
  table_->setRootIsDecorated(false);
  table_->setHeaderLabels({"_", "_"});
  table_->setMinimumHeight(110);
  layout->addWidget(table_, 1);

  auto* recalc = new QPushButton("Recalc", Content());
  recalc->setObjectName("Recalc");
  connect(recalc, &QPushButton::clicked, this, [this] { Recalc(); });
  layout->addWidget(recalc, 0, Qt::AlignLeft);

  auto* formulaLine = new QHBoxLayout;
  formula_ = ReadOnlyBox(Content());
  formula_->setObjectName("FormulaText");
  formulaLine->addWidget(formula_, 1);
  auto* copy = new QToolButton(Content());
  copy->setObjectName("CopyFormula");
  copy->setIcon(QIcon(MethodPicture(picture::kCopy)));
  copy->setToolTip("Copy");
  connect(copy, &QToolButton::clicked, this, [this] { CopyFormula(); });
  formulaLine->addWidget(copy);
  layout->addLayout(formulaLine);

  deviation_ = ReadOnlyBox(Content());
  deviation_->setObjectName("ErrorOfCalculus");
  deviationRow_ = Row("Error of calculus", deviation_, Content());
  layout->addWidget(deviationRow_);
}

void CFuncPageStat::initializePage() {
  CApproxDriver& d = Driver();
  d.EnterStatPage();
  const WizardFields& f = d.fields;
  const int id = d.MethodId();
  SetPicture(PictureOfMethod(id));
  points_->setText(QString::number(f.points));
  degree_->setValue(f.degree);
  steps_->setValue(f.steps);
  spline_->setCurrentIndex(f.splineGrid);
  nodes_->setValue(f.nodes);
  harmonics_->setValue(f.harmonics);
  neurons_->setValue(f.neurons);
  iterationPanel_->Load(f);

  const bool regression = id == method::kPolynomial || id == method::kHyperbolic ||
                          id == method::kLogarithmic || id == method::kPower ||
                          id == method::kExponential;
  const std::array<bool, 6> shown{regression,
                                  id == method::kPieceLinear,
                                  id == method::kClosedSpline,
                                  id == method::kSections,
                                  id == method::kFourier,
                                  id == method::kNeural1 || id == method::kNeural2};
  for (std::size_t i = 0; i < shown.size(); ++i) methodRows_[i]->setVisible(shown[i]);
  iterationPanel_->setVisible(id == method::kNonLinear);
  pointsRow_->setVisible(id != method::kNonLinear);
  deviationRow_->setVisible(id != method::kClosedSpline && id != method::kSections);
  ShowFromStart(formula_, Q(f.formulaText));
  deviation_->setText(Q(f.deviationText));
  if (!d.TableShown()) {
    table_->clear();
    table_->hide();
  }
}

bool CFuncPageStat::Store() {
  WizardFields& f = Driver().fields;
  f.degree = degree_->value();
  f.steps = steps_->value();
  f.splineGrid = spline_->currentIndex();
  f.nodes = nodes_->value();
  f.harmonics = harmonics_->value();
  f.neurons = neurons_->value();
  if (Driver().MethodId() != method::kNonLinear) return true;
  return iterationPanel_->Store(f);
}

bool CFuncPageStat::validatePage() { return Store(); }

void CFuncPageStat::Recalc() {
  CApproxDriver& d = Driver();
  Store();  // a refused field is reported; the computation still runs
  {
    // The box shows the iteration count of the iterative fits while they run.
    ScopedProgressSlot progress([this](const std::string& text) {
      deviation_->setText(Q(text));
      deviation_->repaint();
    });
    d.Recalc();
  }
  ShowResult();
}

void CFuncPageStat::CopyFormula() {
  Recalc();
  Driver().putClipboard(Driver().fields.formulaText);
}

void CFuncPageStat::ShowResult() {
  CApproxDriver& d = Driver();
  ShowFromStart(formula_, Q(d.fields.formulaText));
  deviation_->setText(Q(d.fields.deviationText));
  if (d.MethodId() == method::kNonLinear) {
    iterationPanel_->Load(d.fields);
    sheet_.ParaPage().FormulaPanel().Load(d.fields);
    return;
  }
  FillTableWidget();
}

void CFuncPageStat::FillTableWidget() {
  const CoefficientTable& t = Driver().Table();
  table_->clear();
  table_->setColumnCount(static_cast<int>(t.columns.size()));
  QStringList titles;
  for (const std::string& c : t.columns) titles << Q(c);
  table_->setHeaderLabels(titles);
  const int width = table_->width();
  const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int n = static_cast<int>(t.columns.size());
  for (int i = 0; i < n; ++i) {
    int w = 0;
    if (n == 2)
      w = (i == 0 ? 2 : 3) * ((width - 6) / 5);
    else if (n > 2)
      w = (width - scroll - 3) / n;
    table_->setColumnWidth(i, w);
    table_->headerItem()->setTextAlignment(i, Qt::AlignCenter);
  }
  for (const auto& row : t.rows) {
    QStringList cells;
    for (const std::string& cell : row) cells << Q(cell).trimmed();  // centred, not padded
    auto* item = new QTreeWidgetItem(cells);
    for (int i = 0; i < n; ++i) item->setTextAlignment(i, Qt::AlignCenter);
    table_->addTopLevelItem(item);
  }
  table_->show();
}

// Step 5.
CFuncPageLine::CFuncPageLine(CFuncPages& sheet)
    : CFuncPage(sheet, 158, "Approximation line (step 5 of 5)") {
  auto* layout = new QVBoxLayout(Content());
  colour_ = new ColourButton("Line color", Content());
  colour_->setText("Line color");
  colour_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  layout->addWidget(colour_, 0, Qt::AlignLeft);
  corridor_ = new QCheckBox("Lines of standart deviation", Content());
  centres_ = new QCheckBox("Lines on centers of steps", Content());
  layout->addWidget(corridor_);
  layout->addWidget(centres_);
  width_ = Spin(0, 100, Content());
  width_->setObjectName("Width");
  layout->addWidget(Row("Width, 0.1 mm", width_, Content()));
  layout->addStretch(1);
  formula_ = new QPushButton("Formula", Content());
  formula_->setObjectName("FormulaButton");
  connect(formula_, &QPushButton::clicked, this, [this] {
    if (Driver().FormulaToName()) ShowFromStart(name_, Q(Driver().fields.name));
  });
  layout->addWidget(formula_, 0, Qt::AlignLeft);
  name_ = new QLineEdit(Content());
  name_->setObjectName("Name");
  layout->addWidget(name_);
}

void CFuncPageLine::initializePage() {
  CApproxDriver& d = Driver();
  d.EnterLinePage();
  const WizardFields& f = d.fields;
  const int id = d.MethodId();
  SetPicture(PictureOfMethod(id));
  colour_->SetColour(f.colour);
  corridor_->setChecked(f.corridor);
  centres_->setChecked(f.centres);
  width_->setValue(f.width);
  ShowFromStart(name_, Q(f.name));
  centres_->setVisible(id == method::kPieceLinear);
  corridor_->setVisible(f.kind == fit_kind::kRegression || id == method::kPieceLinear);
  formula_->setEnabled(d.Computed());
}

void CFuncPageLine::cleanupPage() { Driver().LeaveLinePageBack(); }

bool CFuncPageLine::validatePage() {
  WizardFields& f = Driver().fields;
  f.colour = colour_->GetColour();
  f.corridor = corridor_->isVisible() && corridor_->isChecked();
  f.centres = centres_->isVisible() && centres_->isChecked();
  f.width = width_->value();
  f.name = name_->text().toStdString();
  return true;
}

// --- the sheet ----------------------------------------------------------------------

CFuncPages::CFuncPages(CApproxDriver& driver, WizardHelp help, QWidget* parent)
    : QWizard(parent), driver_(driver), help_(std::move(help)) {
  setObjectName("FuncPages");
  setWindowTitle(QString());
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::HaveHelpButton, true);
  setOption(QWizard::NoBackButtonOnStartPage, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  setPage(kXY, new CFuncPageXY(*this));
  setPage(kFunc, new CFuncPageFunc(*this));
  para_ = new CFuncPagePara(*this);
  stat_ = new CFuncPageStat(*this);
  setPage(kPara, para_);
  setPage(kStat, stat_);
  setPage(kLine, new CFuncPageLine(*this));
  setStartId(kXY);
  connect(this, &QWizard::helpRequested, this, [this] { ShowHelp(); });
  // Opened without a handler (from a panel): the program's own help.
  if (!help_ && HelpSystem::Current())
    help_ = [](int topic) {
      if (HelpSystem* system = HelpSystem::Current()) system->ShowTopic(topic);
    };
  button(QWizard::HelpButton)->setEnabled(static_cast<bool>(help_));
  resize(640, 560);
}

void CFuncPages::ShowHelp() {
  if (!help_) return;
  const auto* page = dynamic_cast<const CFuncPage*>(currentPage());
  const int dialog = page ? page->DialogId() : 159;
  // Step 3 and its panels share the wizard's topic.
  const int topic = HelpTopicForDialog(dialog);
  help_(topic != 0 ? topic : HelpTopicForDialog(159));
}

void CFuncPages::reject() {
  driver_.Cancel();
  QWizard::reject();
}

// --- entry points --------------------------------------------------------------------

void RunApproximationWizard(CMainDoc& document, const std::vector<DotValue>& points,
                            const std::vector<DotValue>& range, int colourCommand,
                            int editorColourCommand, const WizardHelp& help, QWidget* parent) {
  if (points.empty()) return;
  CApproxDriver driver(&document, points, range, colourCommand, editorColourCommand);
  driver.showMessage = [parent](const std::string& text) {
    QMessageBox::warning(parent, QObject::tr("Tracemont"), Q(text));
  };
  driver.putClipboard = PutClipboard;
  CFuncPages sheet(driver, help, parent);
  if (sheet.exec() == QDialog::Accepted) driver.Finish();
}

void RunFunctionCommand(CMainDoc& document, int command, int editorColourCommand,
                        const WizardHelp& help, QWidget* parent) {
  const bool allColours = command == 32875;
  if (allColours) document.SelectPointsInSelectedAreas(0);
  const int filter = allColours ? 0 : editorColourCommand;
  const std::vector<DotValue> points = GatherSelectedPoints(document, filter);
  if (points.empty()) {
    QMessageBox::warning(parent, QObject::tr("Tracemont"), Q(LoadStr(kMsgNoPoints)));
  } else {
    RunApproximationWizard(document, points, RangeOfPoints(points), filter, editorColourCommand,
                           help, parent);
  }
  if (allColours) document.SelectPointsInSelectedAreas(0);
}

}  // namespace tracemont
