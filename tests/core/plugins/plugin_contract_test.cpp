// The shipped plug-ins through their exported C interface, loaded the way the
// host loads them: by path from bin/Appr and by name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "plugins/include/tracemont_plugin.h"

namespace {

struct Plugin {
  void* module = nullptr;
  TracemontMaxOfFactorsFn maxOfFactors = nullptr;
  TracemontPrepareFn prepare = nullptr;
  TracemontCalcInPointFn calcInPoint = nullptr;
  TracemontFunctionTitleFn functionTitle = nullptr;
  TracemontFunctionNameFn functionName = nullptr;
  TracemontFunctionStringFn functionString = nullptr;
  TracemontParamInfoFn paramInfo = nullptr;

  explicit Plugin(const std::string& file) {
    module = dlopen((std::string(TM_APPR_DIR) + "/" + file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return;
    maxOfFactors = reinterpret_cast<TracemontMaxOfFactorsFn>(dlsym(module, "MaxOfFactors"));
    prepare = reinterpret_cast<TracemontPrepareFn>(dlsym(module, "Prepare"));
    calcInPoint = reinterpret_cast<TracemontCalcInPointFn>(dlsym(module, "CalcInPoint"));
    functionTitle = reinterpret_cast<TracemontFunctionTitleFn>(dlsym(module, "FunctionTitle"));
    functionName = reinterpret_cast<TracemontFunctionNameFn>(dlsym(module, "FunctionName"));
    functionString = reinterpret_cast<TracemontFunctionStringFn>(dlsym(module, "FunctionString"));
    paramInfo = reinterpret_cast<TracemontParamInfoFn>(dlsym(module, "ParamInfo"));
  }
  bool Complete() const {
    return maxOfFactors && prepare && calcInPoint && functionTitle && functionName &&
           functionString && paramInfo;
  }
  std::string Text(int (*fn)(char*, int)) const {
    char buffer[255];
    const int n = fn(buffer, sizeof buffer);
    return n < 0 ? "<error>" : std::string(buffer, static_cast<std::size_t>(n));
  }
  std::string Formula(const std::vector<double>& record) const {
    char buffer[255];
    const int n = functionString(record.data(), static_cast<int>(record.size()), buffer, sizeof buffer);
    return n < 0 ? "<error " + std::to_string(n) + ">" : std::string(buffer, static_cast<std::size_t>(n));
  }
};

struct Fit {
  int result;
  std::vector<double> record;
};

Fit Prepare(const Plugin& p, const std::vector<double>& u, const std::vector<double>& v,
            std::vector<double> params, int recordSize = 18) {
  const std::vector<double> w(u.size(), 1.0);
  Fit fit{0, std::vector<double>(static_cast<std::size_t>(std::max(recordSize, 1)), -7.0)};
  fit.result = p.prepare(0, 0, 0, 0, u.data(), v.data(), w.data(), static_cast<int>(u.size()),
                         params.data(), static_cast<int>(params.size()), fit.record.data(),
                         recordSize);
  return fit;
}

std::vector<double> Record(double u0, double v0, double m, std::vector<double> a) {
  std::vector<double> r(18, 0.0);
  r[5] = u0;
  r[6] = v0;
  r[7] = m;
  r[8] = static_cast<double>(a.size()) - 1;
  for (std::size_t k = 0; k < a.size(); ++k) r[9 + k] = a[k];
  return r;
}

class Gradus : public ::testing::Test {
 protected:
  Plugin plugin{"Gradus.so"};
  void SetUp() override { ASSERT_TRUE(plugin.Complete()) << dlerror(); }
};

TEST_F(Gradus, ExportsItsTextsAndRecordSize) {
  EXPECT_EQ(plugin.maxOfFactors(), 18);
  EXPECT_EQ(plugin.Text(plugin.functionTitle), " y = V0 + (x-U0)^M *(A0 + A1*x...+AN*x^N)");
  EXPECT_EQ(plugin.Text(plugin.functionName), "f(U) = V0 + (U-U0)^M *(A0+...+AN*U^N)");
  EXPECT_EQ(plugin.functionTitle(nullptr, 10), -1);
  char small[5];
  EXPECT_EQ(plugin.functionName(small, sizeof small), 4);
  EXPECT_STREQ(small, "f(U)");
}

TEST_F(Gradus, ParamInfoNamesTheFourParametersWithTheirDefaults) {
  const char* names[] = {"M", "N", "U0", "V0"};
  const double defaults[] = {1.0, 4.0, 0.0, 0.0};
  for (int i = 1; i <= 4; ++i) {
    char buffer[255];
    double value = -99;
    EXPECT_EQ(plugin.paramInfo(i, buffer, sizeof buffer, &value),
              static_cast<int>(std::string(names[i - 1]).size()));
    EXPECT_STREQ(buffer, names[i - 1]);
    EXPECT_EQ(value, defaults[i - 1]);
  }
  char buffer[255];
  double untouched = -99;
  EXPECT_EQ(plugin.paramInfo(5, buffer, sizeof buffer, &untouched), -1);
  EXPECT_EQ(plugin.paramInfo(0, buffer, sizeof buffer, &untouched), -1);
  EXPECT_EQ(untouched, -99);
  EXPECT_EQ(plugin.paramInfo(1, nullptr, 10, &untouched), -1);
  EXPECT_EQ(plugin.paramInfo(2, buffer, sizeof buffer, nullptr), 1);
}

TEST_F(Gradus, PrepareRefusesTooFewPointsOrASmallRecordAndWritesNothing) {
  const Fit one = Prepare(plugin, {1}, {1}, {1, 4, 0, 0});
  EXPECT_EQ(one.result, -1);
  EXPECT_EQ(one.record[0], -7.0);
  EXPECT_EQ(Prepare(plugin, {1, 2}, {1, 2}, {1, 4, 0, 0}, 17).result, -2);
}

TEST_F(Gradus, FitsAPolynomialTimesUExactlyAndCountsSkippedPointsInTheDeviation) {
  // v = 3u + 2u^2 = u * (3 + 2u); with M = 1 the fit sees z = 3 + 2u.
  const std::vector<double> u{1, 2, 3, 4};
  std::vector<double> v;
  for (double x : u) v.push_back(3 * x + 2 * x * x);
  const Fit fit = Prepare(plugin, u, v, {1, 1, 0, 0});
  ASSERT_EQ(fit.result, 18);
  EXPECT_NEAR(fit.record[9], 3.0, 1e-9);
  EXPECT_NEAR(fit.record[10], 2.0, 1e-9);
  EXPECT_EQ(fit.record[8], 1.0);
  EXPECT_EQ(fit.record[0], 4.0);
  EXPECT_NEAR(fit.record[17], 0.0, 1e-9);
  EXPECT_NEAR(plugin.calcInPoint(5, fit.record.data(), 18), 65.0, 1e-9);

  // A point at u = U0 takes no part in the fit but counts in the deviation:
  // f(0) = 0 against v = 10 over 5 points gives sqrt(100 / 5).
  const Fit withZero = Prepare(plugin, {1, 2, 3, 4, 0}, {5, 14, 27, 44, 10}, {1, 1, 0, 0});
  EXPECT_NEAR(withZero.record[9], 3.0, 1e-9);
  EXPECT_NEAR(withZero.record[17], std::sqrt(20.0), 1e-9);
  EXPECT_EQ(withZero.record[1], 1.0);  // range over the used points only
}

TEST_F(Gradus, ClampsTheShapeParametersAndLowersTheDegreeToThePoints) {
  const Fit fit = Prepare(plugin, {1, 2, 3}, {1, 2, 3}, {9, 4, 0, 0});
  EXPECT_EQ(fit.record[7], 5.0);
  EXPECT_EQ(fit.record[8], 2.0);  // 3 usable points allow degree 2
  EXPECT_EQ(Prepare(plugin, {1, 2, 3}, {1, 2, 3}, {-9, -3, 0, 0}).record[7], -5.0);
  EXPECT_EQ(Prepare(plugin, {1, 2, 3}, {1, 2, 3}, {1, 7.9, 0, 0}).record[8], 2.0);
  const Fit defaults = Prepare(plugin, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}, {});
  EXPECT_EQ(defaults.record[7], 1.0);
  EXPECT_EQ(defaults.record[8], 4.0);
}

TEST_F(Gradus, FormulaTextsUsePaddedFormats) {
  EXPECT_EQ(plugin.Formula(Record(0, 0, 1, {1, 2})), "f(U) = U * (   1+   2*U^1)");
  EXPECT_EQ(plugin.Formula(Record(2, 1.5, 0.5, {3})), "f(U) =  1.5 + (U-   2)^0.5 * (   3)");
  EXPECT_EQ(plugin.Formula(Record(0, 0, 1, {0.5, 2, -0.3})),
            "f(U) = U * ( 0.5+   2*U^1-0.3*U^2)");
  EXPECT_EQ(plugin.Formula(Record(0, 0, 1, {0, 0, 4})), "f(U) = U * (+   4*U^2)");
  std::vector<double> shortRecord(17, 0.0);
  EXPECT_EQ(plugin.Formula(shortRecord), "<error -2>");
}

TEST_F(Gradus, EvaluationNeedsAFullRecordAndNeverReadsPastIt) {
  const std::vector<double> record = Record(0, 1, 2, {1, 1});
  EXPECT_DOUBLE_EQ(plugin.calcInPoint(2, record.data(), 18), 1 + 4 * 3);
  EXPECT_EQ(plugin.calcInPoint(2, record.data(), 10), 0.0);
  std::vector<double> damaged = record;
  damaged[8] = 1e9;  // a degree no record can hold
  EXPECT_TRUE(std::isfinite(plugin.calcInPoint(2, damaged.data(), 18)));
  damaged[8] = -1;
  EXPECT_EQ(plugin.calcInPoint(2, damaged.data(), 18), 0.0);
}

TEST(HarmonicExample, RecoversALineWithASineWave) {
  Plugin plugin("Harmonic.so");
  ASSERT_TRUE(plugin.Complete()) << dlerror();
  std::vector<double> u, v;
  for (int i = 0; i < 50; ++i) {
    u.push_back(i * 0.2);
    v.push_back(1.5 - 0.25 * u.back() + 3.0 * std::sin(2.0 * (u.back() - 0.5)));
  }
  const Fit fit = Prepare(plugin, u, v, {2.0, 0.5, 1, 0}, plugin.maxOfFactors());
  ASSERT_GT(fit.result, 0);
  EXPECT_NEAR(fit.record[0], 1.5, 1e-9);
  EXPECT_NEAR(fit.record[1], -0.25, 1e-9);
  EXPECT_NEAR(fit.record[2], 3.0, 1e-9);
  EXPECT_NEAR(plugin.calcInPoint(1.0, fit.record.data(), 8), 1.5 - 0.25 + 3 * std::sin(1.0), 1e-9);
  EXPECT_EQ(plugin.Formula(fit.record), "f(U) =  1.5 + -0.25*U +    3*sin(   2*(U- 0.5))");
  EXPECT_EQ(Prepare(plugin, {1, 2}, {1, 2}, {1, 0, 1, 0}, 8).result, -1);
}

}  // namespace
