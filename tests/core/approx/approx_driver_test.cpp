// The fitting wizard's driver on a real document: fits of every kind,
// "Best", the preview life cycle, the coefficient table and its clipboard
// text, and the gathering of selected points.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "approx/approx_driver.h"
#include "model/main_doc.h"
#include "model/plot_objects.h"

namespace tracemont {
namespace {

std::vector<DotValue> Line(int count) {  // y = 1.5 + 2x
  std::vector<DotValue> points;
  for (int i = 0; i < count; ++i) points.emplace_back(i, 1.5 + 2.0 * i);
  return points;
}

std::vector<DotValue> Circle(int count) {
  std::vector<DotValue> points;
  for (int i = 0; i < count; ++i) {
    const double t = 2 * M_PI * i / count;
    points.emplace_back(5 + 3 * std::cos(t), 5 + 3 * std::sin(t));
  }
  return points;
}

class ApproxDriver : public ::testing::Test {
 protected:
  CApproxDriver& Open(const std::vector<DotValue>& points) {
    driver_ = std::make_unique<CApproxDriver>(&doc_, points, std::vector<DotValue>{}, 0,
                                              cmd::kBlackPoints);
    driver_->showMessage = [this](const std::string& text) { messages_.push_back(text); };
    driver_->putClipboard = [this](const std::string& text) { clipboard_ = text; };
    return *driver_;
  }
  // Walks the pages as the wizard does with the fields already chosen.
  void WalkToStatPage(CApproxDriver& d) {
    d.LeaveKindPage();
    d.LeaveParameterPage();
    d.EnterStatPage();
  }

  CMainDoc doc_;
  std::unique_ptr<CApproxDriver> driver_;
  std::vector<std::string> messages_;
  std::string clipboard_;
};

TEST_F(ApproxDriver, EveryKindMakesAPreviewOfItsMethod) {
  struct Case {
    int kind;
    int expectedMethod;
    std::vector<DotValue> points;
  };
  const std::vector<Case> cases{
      {fit_kind::kRegression, method::kPolynomial, Line(12)},
      {fit_kind::kPieceLinear, method::kPieceLinear, Line(12)},
      {fit_kind::kLogistic, method::kLogistic1, Line(12)},
      {fit_kind::kFourier, method::kFourier, Line(12)},
      {fit_kind::kNonLinear, method::kNonLinear, Line(12)},
      {fit_kind::kClosedSpline, method::kClosedSpline, Circle(40)},
      {fit_kind::kSections, method::kSections, Line(40)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    CApproxDriver& d = Open(c.points);
    d.fields.kind = c.kind;
    WalkToStatPage(d);
    d.Recalc();
    ASSERT_NE(d.PreviewFunction(), nullptr);
    EXPECT_EQ(MethodOf(d.PreviewFunction()->params), c.expectedMethod);
    EXPECT_TRUE(d.Computed());
    EXPECT_TRUE(messages_.empty());
    d.Cancel();
  }
}

TEST_F(ApproxDriver, StraightLineGivesItsCoefficientsAndClipboardText) {
  CApproxDriver& d = Open(Line(12));
  WalkToStatPage(d);
  d.Recalc();
  EXPECT_EQ(clipboard_, "n\tAn\r\n0\t 1,5\r\n1\t   2\r\n");
  EXPECT_EQ(d.Table().columns, (std::vector<std::string>{"n", "An"}));
}

TEST_F(ApproxDriver, NarrowedRangeOfStepOneLeavesOutsidePointsOutOfTheRegression) {
  std::vector<DotValue> points = Line(12);
  for (int x : {20, 21, 22}) points.emplace_back(x, 100.0);
  CApproxDriver& d = Open(points);
  EXPECT_EQ(d.fields.xMax, 22.0);
  d.fields.xMax = 11.0;
  d.fields.yMax = 23.5;
  WalkToStatPage(d);
  d.Recalc();
  ASSERT_EQ(d.Table().rows.size(), 2u);
  EXPECT_EQ(d.Table().rows[0][1], " 1.5");
  EXPECT_EQ(d.Table().rows[1][1], "   2");
}

TEST_F(ApproxDriver, BestChoosesTheFormWithTheSmallestDeviation) {
  std::vector<DotValue> points;
  for (int i = 1; i <= 10; ++i) points.emplace_back(i, std::exp(0.3 * i));
  CApproxDriver& d = Open(points);
  d.fields.regressionForm = kBestForm;
  FuncParams params;
  std::vector<DotValue> range;
  EXPECT_EQ(d.ChooseBestForm(params, range), method::kExponential);
  ASSERT_TRUE(d.ComputeFunction(params, range));
  EXPECT_EQ(MethodOf(params), method::kExponential);
}

TEST_F(ApproxDriver, BestKeepsTheEarlierFormOnEqualDeviation) {
  // A constant: every form fits it exactly (deviation 0).
  std::vector<DotValue> points;
  for (int i = 1; i <= 6; ++i) points.emplace_back(i, 2.0);
  CApproxDriver& d = Open(points);
  FuncParams params;
  std::vector<DotValue> range;
  EXPECT_EQ(d.ChooseBestForm(params, range), method::kPolynomial);
}

TEST_F(ApproxDriver, DirectionXOfYTurnsTextsAndColumns) {
  EXPECT_EQ(ChooseFunctionTitle(0), "Choose function Y = f( X ) :");
  EXPECT_EQ(ChooseFunctionTitle(1), "Choose function X = f( Y ) :");
  CApproxDriver& d = Open(Line(12));
  d.fields.direction = 1;
  WalkToStatPage(d);
  EXPECT_EQ(d.fields.formulaText, "Polynomial      X(Y) = a0 + a1*Y + a2*Y^2 + ...");

  d.fields.kind = fit_kind::kPieceLinear;
  WalkToStatPage(d);
  EXPECT_EQ(d.fields.formulaText, "Piece linear");
  d.Recalc();
  EXPECT_EQ(d.Table().columns, (std::vector<std::string>{"Y from", "Y to", "X"}));
  d.fields.direction = 0;
  d.Recalc();
  EXPECT_EQ(d.Table().columns, (std::vector<std::string>{"X from", "X to", "Y"}));
}

TEST_F(ApproxDriver, DescriptionsReplaceTheLetters) {
  CApproxDriver& d = Open(Line(12));
  d.fields.kind = fit_kind::kLogistic;
  d.LeaveParameterPage();
  EXPECT_EQ(d.fields.formulaText, "f(X) = Ymin + (Ymax-Ymin) / (1 + exp(a0 + a1*X))");
  d.fields.kind = fit_kind::kNonLinear;
  d.LeaveParameterPage();
  EXPECT_EQ(d.fields.formulaText, "Y = a+b*u");
}

TEST_F(ApproxDriver, MethodNClampsPerMethod) {
  struct Case {
    int kind;
    int WizardFields::*field;
    int value;
    int n;
  };
  const std::vector<Case> cases{
      {fit_kind::kPieceLinear, &WizardFields::steps, 20, 12},  // no more steps than points
      {fit_kind::kPieceLinear, &WizardFields::steps, 0, 0},
      {fit_kind::kPieceLinear, &WizardFields::steps, -3, 0},
      {fit_kind::kClosedSpline, &WizardFields::splineGrid, 2, 16},
      {fit_kind::kClosedSpline, &WizardFields::splineGrid, 8, 100},
      {fit_kind::kSections, &WizardFields::nodes, 5, 10},
      {fit_kind::kFourier, &WizardFields::harmonics, 9, 6},
      {fit_kind::kNeural, &WizardFields::neurons, 25, 20},
      {fit_kind::kNeural, &WizardFields::neurons, 1, 2},
      {fit_kind::kLogistic, &WizardFields::degree, 9, 6},
  };
  CApproxDriver& d = Open(Line(12));
  EXPECT_EQ(d.fields.splineGrid, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    WizardFields f = d.fields;
    d.fields.kind = c.kind;
    d.fields.*c.field = c.value;
    EXPECT_EQ(d.MethodN(), c.n);
    d.fields = f;
  }
}

TEST_F(ApproxDriver, PieceLinearStepsZeroGivesTheConstantFit) {
  CApproxDriver& d = Open(Line(12));
  d.fields.kind = fit_kind::kPieceLinear;
  d.fields.steps = 0;
  WalkToStatPage(d);
  d.Recalc();
  ASSERT_NE(d.PreviewFunction(), nullptr);
  EXPECT_EQ(MethodOf(d.PreviewFunction()->params), method::kPolynomial);
}

TEST_F(ApproxDriver, FinishAfterRecalcUsesTheRecalcVector) {
  CApproxDriver& d = Open(Line(12));
  WalkToStatPage(d);
  d.Recalc();
  d.fields.degree = 3;  // changed without a new Recalc
  d.EnterLinePage();
  ASSERT_TRUE(d.Finish());
  ASSERT_EQ(doc_.Functions().size(), 1u);
  EXPECT_EQ(StoredInt(doc_.Functions().front()->params[2]), 1);
  EXPECT_EQ(doc_.Functions().front()->name, d.fields.formulaText);
}

TEST_F(ApproxDriver, FinishWithoutRecalcComputesAndIsOneUndoableObject) {
  CApproxDriver& d = Open(Line(12));
  WalkToStatPage(d);
  d.EnterLinePage();
  ASSERT_TRUE(d.Finish());
  EXPECT_EQ(doc_.Functions().size(), 1u);
  EXPECT_EQ(d.PreviewFunction(), nullptr);  // no longer the wizard's
  ASSERT_TRUE(doc_.Undo());
  EXPECT_TRUE(doc_.Functions().empty());
}

TEST_F(ApproxDriver, CancelAfterSeveralRecalcsLeavesNothingNotEvenAnUndoStep) {
  CApproxDriver& d = Open(Line(12));
  const std::size_t steps = doc_.History().UndoCount();
  WalkToStatPage(d);
  for (int degree : {1, 2, 3}) {
    d.fields.degree = degree;
    d.Recalc();
    EXPECT_EQ(doc_.Functions().size(), 1u);  // each preview replaces the last
  }
  d.Cancel();
  EXPECT_TRUE(doc_.Functions().empty());
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(doc_.History().UndoCount(), steps);
}

TEST_F(ApproxDriver, FinishAfterSeveralPreviewsIsOneUndoStep) {
  CApproxDriver& d = Open(Line(12));
  const std::size_t steps = doc_.History().UndoCount();
  WalkToStatPage(d);
  for (int degree : {1, 2}) {
    d.fields.degree = degree;
    d.Recalc();
  }
  d.EnterLinePage();
  ASSERT_TRUE(d.Finish());
  EXPECT_EQ(doc_.History().UndoCount(), steps + 1);
  ASSERT_TRUE(doc_.Undo());
  EXPECT_TRUE(doc_.Functions().empty());
  EXPECT_EQ(doc_.History().UndoCount(), steps);
}

TEST_F(ApproxDriver, NonLinearRecalcRoundsParametersAndPreviewDrawsTypedOnes) {
  CApproxDriver& d = Open(Line(12));
  d.fields.kind = fit_kind::kNonLinear;
  d.fields.formulaParams = {1, 1, 0, 0};
  WalkToStatPage(d);
  EXPECT_EQ(d.fields.iterationParams[0], 1.0);  // copied when step 3 was left
  d.Recalc();
  EXPECT_NEAR(d.fields.iterationParams[0], 1.5, 0.011);
  EXPECT_NEAR(d.fields.iterationParams[1], 2.0, 0.011);
  EXPECT_EQ(d.fields.formulaParams, d.fields.iterationParams);
  EXPECT_EQ(clipboard_, d.fields.formulaText);

  const std::string formulaText = d.fields.formulaText;
  d.fields.formulaParams = {7, 0, 0, 0};
  d.Preview();
  ASSERT_NE(d.PreviewFunction(), nullptr);
  EXPECT_NEAR(EvalFunction(d.PreviewFunction()->params, 3.0), 7.0, 1e-9);
  EXPECT_EQ(d.fields.formulaText, formulaText);
  EXPECT_EQ(d.fields.formulaParams[0], 7.0);
}

TEST_F(ApproxDriver, FailuresShowTheirMessageAndKeepThePreview) {
  struct Case {
    const char* why;
    std::function<void(WizardFields&)> set;
    std::string messageStart;
    bool showsConstantFit;  // else no vector was made and the texts stay
  };
  const std::vector<Case> cases{
      {"bad formula", [](WizardFields& f) { f.kind = fit_kind::kNonLinear; f.formula = "a+*"; },
       "Check strings, please. Possible errors are:\n", false},
      {"no plug-in", [](WizardFields& f) { f.kind = fit_kind::kUserDefined; },
       "User defined function is absent.", false},
      {"network", [](WizardFields& f) { f.kind = fit_kind::kNeural; f.trainingIterations = 1; },
       "The number of iterations had appeared poor", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CApproxDriver& d = Open(Line(12));
    WalkToStatPage(d);
    d.Recalc();
    const std::uint32_t first = d.PreviewFunction()->id;
    messages_.clear();
    const std::string firstText = d.fields.formulaText;
    c.set(d.fields);
    d.EnterStatPage();
    d.Recalc();
    EXPECT_TRUE(d.Computed());  // a failed Recalc still counts as made
    EXPECT_EQ(d.fields.formulaText != firstText, c.showsConstantFit) << d.fields.formulaText;
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind(c.messageStart, 0), 0u) << messages_[0];
    ASSERT_NE(d.PreviewFunction(), nullptr);
    EXPECT_EQ(d.PreviewFunction()->id, first);
    // Finish that fails leaves no function behind.
    EXPECT_FALSE(d.Finish());
    EXPECT_TRUE(doc_.Functions().empty());
  }
}

TEST_F(ApproxDriver, UserDefinedFitsThroughTheGradusPlugin) {
  const auto appr = std::filesystem::path(TM_APPR_DIR);
  InstallPluginHost(appr.parent_path().string());
  CApproxDriver& d = Open(Line(12));
  d.fields.kind = fit_kind::kUserDefined;
  d.fields.plugins = DiscoverPlugins();
  ASSERT_FALSE(d.fields.plugins.names.empty());
  SelectPlugin(d.fields.plugins.names[0], d.fields.pluginParameters);
  WalkToStatPage(d);
  d.Recalc();
  InstallPluginHost("");
  EXPECT_TRUE(messages_.empty());
  ASSERT_NE(d.PreviewFunction(), nullptr);
  EXPECT_EQ(MethodOf(d.PreviewFunction()->params), method::kPlugin);
}

TEST_F(ApproxDriver, GatheringCountsDoubleSelectionsAndFiltersColours) {
  SeriesStyle red;
  red.colourCommand = cmd::kRedPoints;
  SeriesStyle blue;
  blue.colourCommand = cmd::kBluePoints;
  CPlotDot* a = doc_.NewSeriesFromValues(Line(4), red, 2, std::nullopt);
  CPlotDot* b = doc_.NewSeriesFromValues(Line(4), blue, 2, std::nullopt);
  a->SelectPoint(1);
  a->SelectPoint(1);  // inside two selected areas
  b->SelectPoint(3);
  EXPECT_EQ(GatherSelectedPoints(doc_, 0).size(), 3u);
  const auto reds = GatherSelectedPoints(doc_, cmd::kRedPoints);
  ASSERT_EQ(reds.size(), 2u);
  EXPECT_EQ(reds[0].y, 3.5);
  b->visible = 0;
  EXPECT_EQ(GatherSelectedPoints(doc_, 0).size(), 2u);

  const auto range = RangeOfPoints(Line(4));
  ASSERT_EQ(range.size(), 4u);
  EXPECT_EQ(range[1].x, 0.0);
  EXPECT_EQ(range[1].y, 7.5);
  EXPECT_EQ(range[3].x, 3.0);
  EXPECT_EQ(range[3].y, 1.5);
}

}  // namespace
}  // namespace tracemont
