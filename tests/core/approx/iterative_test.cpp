// The DFP minimiser, its progress text, the neural network and the
// non-linear formula fits.
#include <gtest/gtest.h>

#include <cmath>

#include "approx/approx.h"
#include "approx/func_params.h"
#include "approx/minimizer.h"
#include "approx/neural.h"
#include "approx/progress.h"

namespace tracemont {
namespace {

class Bowl : public CMinimizer {
 public:
  double Objective(std::span<const double> p) override {
    return (p[0] - 3) * (p[0] - 3) + 10 * (p[1] + 1) * (p[1] + 1);
  }
};

TEST(Minimizer, ConvergesOnAQuadraticBowlWithinAFewIterations) {
  Bowl bowl;
  double p[2] = {0, 0};
  int iterations = 100;
  EXPECT_EQ(bowl.Minimize(p, 1e-4, iterations, 1e-4), CMinimizer::kConverged);
  EXPECT_LE(iterations, 5);
  EXPECT_NEAR(p[0], 3, 1e-3);  // off by the forward difference's h / 2 at most
  EXPECT_NEAR(p[1], -1, 1e-3);
}

TEST(Minimizer, ReportsEachIterationAndTheLimitPlusOne) {
  std::vector<std::string> shown;
  ScopedProgressSlot slot([&](const std::string& text) { shown.push_back(text); });
  Bowl bowl;
  double p[2] = {0, 0};
  int iterations = 2;
  // A negative tolerance can never be met.
  EXPECT_EQ(bowl.Minimize(p, -1, iterations, 1e-4), CMinimizer::kIterationLimit);
  EXPECT_EQ(iterations, 3);
  EXPECT_EQ(shown, (std::vector<std::string>{"1/2", "2/2"}));
}

TEST(Minimizer, WithoutASlotNothingIsShown) {
  std::vector<std::string> shown;
  {
    ScopedProgressSlot slot([&](const std::string& text) { shown.push_back(text); });
  }
  ReportProgress(1, 2);
  EXPECT_TRUE(shown.empty());
}

TEST(Minimizer, ConfigureAppliesDefaultsAndClamps) {
  struct Case {
    double step;
    double iterations;
    double expectedStep;
    int expectedIterations;
  };
  for (const Case& c : {Case{0, 0, 0.0001, 300}, Case{0.05, 5000, 0.05, 1000},
                        Case{1e-9, -3, 0.00001, 1}, Case{1, 12.7, 0.1, 12},
                        Case{std::nan(""), HUGE_VAL, 0.0001, 300}}) {
    Bowl bowl;
    const double settings[10] = {0, 0, 0, 0, 0, c.step, c.iterations, 0, 0, 0};
    bowl.Configure(settings);
    EXPECT_DOUBLE_EQ(bowl.Step(), c.expectedStep) << c.step;
    EXPECT_EQ(bowl.MaxIterations(), c.expectedIterations) << c.iterations;
  }
  Bowl shortSettings;
  shortSettings.Configure(std::span<const double>{});
  EXPECT_EQ(shortSettings.MaxIterations(), 300);
}

TEST(NeuralNetwork, ConfigureReadsNeuronsActivationAndA) {
  struct Case {
    double neurons, kind, a;
    int expectedNeurons, expectedKind;
    double expectedA;
  };
  for (const Case& c : {Case{0, 0, 0, 8, 0, 4.0}, Case{1, 2, 0.5, 2, 1, 1.0},
                        Case{500, -1, 9, 100, 0, 5.0}}) {
    CNeuroFit fit;
    const double settings[10] = {c.neurons, 0, 0, c.kind, c.a, 0, 0, 0, 0, 0};
    fit.Configure(settings);
    EXPECT_EQ(fit.hidden, c.expectedNeurons);
    EXPECT_EQ(fit.kind, c.expectedKind);
    EXPECT_EQ(fit.a, c.expectedA);
  }
}

TEST(NeuralNetwork, ActivationsFollowTheMethod) {
  // One hidden pair of weights per neuron: w = 1, g = 1, b = 0.25 for two neurons.
  const double params[6] = {1, 1, 1, 1, 0.25, 0.25};
  CNeuroFit fit;
  fit.hidden = 2;
  fit.a = 2;
  fit.kind = 0;
  EXPECT_DOUBLE_EQ(fit.Forward(params, 1.0), 2 * 0.75 / (0.75 + 2));
  fit.kind = 1;
  EXPECT_DOUBLE_EQ(fit.Forward(params, 1.0), 2 / (1 + std::exp(-2 * 0.75)));
}

std::vector<DotValue> Smooth(int count) {
  std::vector<DotValue> out;
  for (int i = 0; i < count; ++i) {
    const double x = i / (count - 1.0);
    out.emplace_back(x, 2 + 3 * std::tanh(4 * (x - 0.5)), 0.0);
  }
  return out;
}

TEST(NeuralNetwork, ATrainedNetworkStoresItsBlockAndEvaluatesLikeIt) {
  SeedNeuralRandom(1);
  CApprox approx;
  approx.methodSettings = {0, 0, 1000};
  FuncParams p{70, 0, 25};
  approx.FitFunction(Smooth(11), p, {});
  ASSERT_EQ(p[0], 70) << "the network did not converge";
  EXPECT_EQ(p[13], 20);  // 25 neurons requested: 20
  EXPECT_EQ(p[2], 3 * 20 + 18);
  EXPECT_EQ(p[25], 20);  // layer sizes 1, 20, 1
  EXPECT_GE(p[20], 1);   // iterations used
  EXPECT_LE(p[20], 1000);
  EXPECT_EQ(p[27 + 60], p[7]) << "the block's RMS is the fit's deviation";
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows[0], "Neural network on 22 neurons");
  DescribeFunction(p, rows, 0);
  EXPECT_EQ(rows.size(), 2u * (78 - 4));
}

TEST(NeuralNetwork, TwoFitsInARowStartFromDifferentWeights) {
  const auto fit = [] {
    CApprox approx;
    approx.methodSettings = {0, 0, 1000};
    FuncParams p{70, 0, 4};
    approx.FitFunction(Smooth(11), p, {});
    return p;
  };
  SeedNeuralRandom(3);
  const FuncParams first = fit();
  const FuncParams second = fit();
  ASSERT_EQ(first[0], 70);
  ASSERT_EQ(second[0], 70);
  EXPECT_NE(first[27], second[27]);
  SeedNeuralRandom(3);
  EXPECT_EQ(fit(), first);
}

TEST(NeuralNetwork, MalformedBlocksEvaluateToZero) {
  FuncParams p(10 + 3 * 2 + 19 + 1, 0.0);
  p[0] = 70;
  p[2] = 3 * 2 + 18;
  p[10 + 15] = 50;  // more neurons than the block holds
  EXPECT_EQ(EvalFunction(p, 0.5), 0.0);
}

TEST(NonLinear, ALineFormulaConvergesToTheLineAndListsOnlyNonZeroParameters) {
  std::vector<DotValue> points;
  for (int i = 0; i < 10; ++i) points.emplace_back(i, 1 + 2 * i, 0.0);
  CApprox approx;
  approx.formula = "a+b*u";
  approx.methodSettings = {0, 0, 0};
  FuncParams p{90, 0, 1};
  approx.FitFunction(points, p, {});
  ASSERT_EQ(p[0], 90);
  ASSERT_EQ(p[2], 5 + 20);  // L = 5 characters
  EXPECT_NEAR(EvalFunction(p, 20), 41, 1e-3);
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0].substr(0, 13), "y=a+b*u; a=0.");  // a converges to 0.99996
  EXPECT_NE(rows[0].find(", b=2.000000"), std::string::npos);
  EXPECT_EQ(rows[0].find("c="), std::string::npos);  // c and d stay 0
  EXPECT_EQ(rows[2], "u");
  EXPECT_EQ(rows[3], "a+b*u");
  EXPECT_EQ(rows[5], "  2.00");
  EXPECT_EQ(rows[6], "  0.00");

  std::vector<DotValue> curve;
  EXPECT_EQ(SampleCurve(p, DotValue(-100, 0), DotValue(100, 0), curve, 9, true, 0, 0), 10);
  EXPECT_DOUBLE_EQ(curve.front().x, 0);  // the record's range, not the corners
  EXPECT_DOUBLE_EQ(curve.back().x, 9);
}

TEST(NonLinear, KeptParametersAreStoredWithoutIterating) {
  std::vector<DotValue> points;
  for (int i = 0; i < 5; ++i) points.emplace_back(i, i * i, 0.0);
  CApprox approx;
  approx.formula = "a*u*u+b";
  approx.startValues = {0, 2, 0, 0};
  approx.keepParameters = 1;
  FuncParams p{90, 0, 1};
  approx.FitFunction(points, p, {});
  ASSERT_EQ(p[0], 90);
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  // b is listed after ", " although a before it was left out.
  EXPECT_EQ(rows[0], "y=a*u*u+b; , b=2.000000");
  DescribeFunction(p, rows, 0);
  ASSERT_EQ(rows.size(), 34u);
  EXPECT_EQ(rows[0], "4");
  EXPECT_EQ(rows[1], "   5");     // N
  EXPECT_EQ(rows[13], "   0");    // iterations used
  EXPECT_EQ(rows[32], "20");
  EXPECT_EQ(EvalFunction(p, 3), 2.0);
}

TEST(NonLinear, AFormulaThatCannotBeEvaluatedFitsNothingAndEvaluatesToZero) {
  std::vector<DotValue> points;
  for (int i = 0; i < 5; ++i) points.emplace_back(i, 3.0, 0.0);
  CApprox approx;
  approx.formula = "a+q";
  approx.keepParameters = 1;
  approx.startValues = {1, 0, 0, 0};
  FuncParams p{90, 0, 1};
  approx.FitFunction(points, p, {});
  ASSERT_EQ(p[0], 90);
  EXPECT_EQ(EvalFunction(p, 1), 0.0);
  EXPECT_DOUBLE_EQ(p[7], 3.0);  // every point counted with f = 0
  // A truncated block is refused rather than read past its end.
  FuncParams shortBlock(p.begin(), p.begin() + 20);
  shortBlock[2] = 9;
  EXPECT_EQ(EvalFunction(shortBlock, 1), 0.0);
}

}  // namespace
}  // namespace tracemont
