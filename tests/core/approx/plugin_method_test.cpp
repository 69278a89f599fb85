// Method 80 through a fake plug-in library: block layout, calls, texts and
// the behaviour of a missing library.
#include <gtest/gtest.h>

#include <cstring>

#include "approx/approx.h"
#include "approx/func_params.h"
#include "approx/plugin_method.h"

namespace tracemont {
namespace {

// A library fitting v = r0 + r1 u from the first and last point, with a
// record of 3: (r0, r1, count).
int MaxOfFactors() { return 3; }
int Prepare(double, double, double, double, double* u, double* v, double*, int count,
            double* params, int paramCount, double* record, int recordSize) {
  if (count < 2 || recordSize < 3) return -1;
  record[1] = (v[count - 1] - v[0]) / (u[count - 1] - u[0]);
  record[0] = v[0] - record[1] * u[0] + (paramCount > 0 ? params[0] : 0);
  record[2] = count;
  u[0] = 1e300;  // a library may scribble on what it is given
  return recordSize;
}
double CalcInPoint(double u, double* record, int recordSize) {
  return recordSize < 2 ? 0 : record[0] + record[1] * u;
}
int FunctionString(double*, int, char* buffer, int size) {
  std::strncpy(buffer, "f(U) = line", static_cast<std::size_t>(size));
  return 11;
}

class PluginMethod : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetPluginBinder([](const std::string& name) -> std::optional<PluginEntryPoints> {
      if (name == "liner.so") {
        PluginEntryPoints e;
        e.maxOfFactors = MaxOfFactors;
        e.prepare = Prepare;
        e.calcInPoint = CalcInPoint;
        e.functionString = FunctionString;
        return e;
      }
      if (name == "bare.so") {  // exports only what makes it valid
        PluginEntryPoints e;
        e.maxOfFactors = MaxOfFactors;
        e.prepare = Prepare;
        return e;
      }
      return std::nullopt;
    });
  }
  void TearDown() override { SetPluginBinder(std::move(previous_)); }

  static FuncParams Fit(const std::string& file, std::vector<double> settings = {}) {
    CApprox approx;
    approx.pluginFile = file;
    approx.methodSettings = std::move(settings);
    FuncParams p{80, 0, 1};
    approx.FitFunction({{0, 1, 0}, {1, 3, 0}, {2, 5, 0}}, p, {});
    return p;
  }

 private:
  PluginBinder previous_;
};

TEST_F(PluginMethod, StoresTheFileNameThenTheRecordAndEvaluatesThroughTheLibrary) {
  const FuncParams p = Fit("liner.so", {0.5, 0, 0, 0});
  ASSERT_EQ(p[0], 80);
  // L = 9, m = 3: n = 12.
  ASSERT_EQ(p[2], 12);
  EXPECT_EQ(p[10], 9);
  std::string name;
  for (int i = 11; i < 19; ++i) name += static_cast<char>(p[i]);
  EXPECT_EQ(name, "liner.so");
  EXPECT_EQ((FuncParams(p.begin() + 19, p.begin() + 23)), (FuncParams{1.5, 2, 3, 0}));
  EXPECT_DOUBLE_EQ(EvalFunction(p, 10), 21.5);
  EXPECT_DOUBLE_EQ(p[7], 0.5);
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"f(U) = line", " 0.5"}));
  DescribeFunction(p, rows, 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"4", " 1.5", "5", "   2", "6", "   3"}));
}

TEST_F(PluginMethod, AMissingLibraryMeansConstantFitsZeroValuesAndTheTestText) {
  EXPECT_EQ(Fit("")[0], 0);
  EXPECT_EQ(Fit("absent.so")[0], 0);

  FuncParams stored = Fit("liner.so");
  stored[11] = 'X';  // now names a library that is not there
  EXPECT_EQ(EvalFunction(stored, 10), 0.0);
  std::vector<std::string> rows;
  DescribeFunction(stored, rows, 1);
  EXPECT_EQ(rows[0], "test user");

  // A library without CalcInPoint fits but evaluates to 0.
  const FuncParams bare = Fit("bare.so");
  ASSERT_EQ(bare[0], 80);
  EXPECT_EQ(EvalFunction(bare, 1), 0.0);
  DescribeFunction(bare, rows, 1);
  EXPECT_EQ(rows[0], "test user");
}

TEST_F(PluginMethod, AMalformedNameLengthEvaluatesToZero) {
  FuncParams p = Fit("liner.so");
  p[10] = 40;  // not smaller than n
  EXPECT_EQ(EvalFunction(p, 1), 0.0);
  p[10] = 0;
  EXPECT_EQ(EvalFunction(p, 1), 0.0);
}

}  // namespace
}  // namespace tracemont
