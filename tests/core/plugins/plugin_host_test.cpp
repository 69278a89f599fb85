// The host against real libraries in a folder laid out like the program's:
// Gradus, a library with only the two required exports, and a text file
// named like a library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "approx/approx.h"
#include "approx/plugin_host.h"
#include "model/document_file.h"

namespace tracemont {
namespace {

namespace fs = std::filesystem;

class PluginHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program = fs::temp_directory_path() / ("tm-plugin-host-" + std::to_string(::getpid()));
    fs::create_directories(program / "Appr");
    fs::copy_file(fs::path(TM_APPR_DIR) / "Gradus.so", program / "Appr" / "Gradus.so");
    fs::copy_file(fs::path(TM_TEST_PLUGIN_DIR) / "Partial.so", program / "Appr" / "Partial.so");
    std::ofstream(program / "Appr" / "Broken.so") << "not a library\n";
    fs::create_directories(program / "Appr" / "folder.so");
    InstallPluginHost(program.string());
  }
  static void TearDownTestSuite() { fs::remove_all(program); }

  static FuncParams Fit(const std::string& plugin, std::vector<double> settings) {
    std::vector<DotValue> points;
    for (int i = 1; i <= 6; ++i) points.emplace_back(i, 3.0 * i + 2.0 * i * i);
    CApprox approx;
    approx.pluginFile = plugin;
    approx.methodSettings = std::move(settings);
    FuncParams p{80, 0, 1};
    const std::vector<DotValue> range{DotValue(1, 5), DotValue(1, 90), DotValue(6, 90), DotValue(6, 5)};
    approx.FitFunction(points, p, range);
    return p;
  }
  static inline fs::path program;
};

TEST_F(PluginHost, ListsLoadableLibrariesWithBothRequiredExportsOnly) {
  const PluginListing listing = DiscoverPlugins();
  EXPECT_EQ(listing.names, (std::vector<std::string>{"Gradus.so", "Partial.so"}));
  EXPECT_EQ(listing.titles, (std::vector<std::string>{" y = V0 + (x-U0)^M *(A0 + A1*x...+AN*x^N)", ""}));
  EXPECT_EQ(ResolvePlugin(listing, 0), "Gradus.so");
  EXPECT_FALSE(ResolvePlugin(listing, 2).has_value());
}

TEST_F(PluginHost, SelectingALibraryResetsTheParametersToItsDefaults) {
  PluginParameters parameters;
  parameters.values = {7, 7, 7, 7};
  SelectPlugin("Gradus.so", parameters);
  EXPECT_EQ(parameters.labels, (std::array<std::string, 4>{"M", "N", "U0", "V0"}));
  EXPECT_EQ(parameters.values, (std::array<double, 4>{1, 4, 0, 0}));
  PluginParameters untouched;
  untouched.values = {7, 7, 7, 7};
  SelectPlugin("Partial.so", untouched);  // no ParamInfo: labels and values stay
  EXPECT_EQ(untouched.labels[0], "Param1");
  EXPECT_EQ(untouched.values[0], 7.0);
}

TEST_F(PluginHost, FitsThroughGradusAndStoresItsFileNameBeforeTheRecord) {
  const FuncParams p = Fit("Gradus.so", {1, 1, 0, 0});
  ASSERT_EQ(MethodOf(p), 80);
  EXPECT_EQ(p[10], 10.0);  // "Gradus.so" is 9 bytes: L = 10
  EXPECT_EQ(p[2], 10.0 + 18.0);
  EXPECT_NEAR(p[10 + 10 + 9], 3.0, 1e-9);  // A0 of the record
  EXPECT_NEAR(EvalFunction(p, 2.0), 14.0, 1e-9);
  std::vector<std::string> rows;
  ASSERT_EQ(DescribeFunction(p, rows, 1), 2);
  EXPECT_EQ(rows[0], "f(U) = U * (   3+   2*U^1)");
}

TEST_F(PluginHost, ALibraryWithoutEvaluationFitsButEvaluatesToZero) {
  const FuncParams p = Fit("Partial.so", {});
  ASSERT_EQ(MethodOf(p), 80);
  EXPECT_EQ(EvalFunction(p, 2.0), 0.0);
  std::vector<std::string> rows;
  DescribeFunction(p, rows, 1);
  EXPECT_EQ(rows[0], "test user");
}

TEST_F(PluginHost, ANameFromAnotherSystemFindsTheSameBaseNameAndAMissingOneGivesZero) {
  FuncParams p = Fit("Gradus.so", {1, 1, 0, 0});
  // Rewrite the stored name as a document from another system would have it.
  const std::string dll = "GRADUS.dll";
  // The block starts with L = length + 1, then the name's bytes.
  FuncParams renamed(p.begin(), p.begin() + 10);
  PackText(dll, renamed);
  renamed[10] = static_cast<double>(dll.size() + 1);
  renamed.insert(renamed.end(), p.begin() + 20, p.end());
  renamed[2] = p[2] + 1;
  EXPECT_NEAR(EvalFunction(renamed, 2.0), 14.0, 1e-9);

  FuncParams missing(p.begin(), p.begin() + 10);
  PackText("Absent.so", missing);
  missing[10] = 10;
  missing.insert(missing.end(), p.begin() + 20, p.end());
  EXPECT_EQ(EvalFunction(missing, 2.0), 0.0);
  std::vector<std::string> rows;
  DescribeFunction(missing, rows, 1);
  EXPECT_EQ(rows[0], "test user");
  EXPECT_EQ(Fit("Broken.so", {}).front(), 0.0);  // constant fit
}

TEST_F(PluginHost, ADocumentWithAGradusFunctionReopensWithTheSameCurve) {
  DocumentData doc;
  auto function = std::make_unique<CPlotFunc>(cmd::kRedPoints, 0);
  function->xScale = doc.axisX.scale;
  function->yScale = doc.axisY.scale;
  ASSERT_TRUE(function->SetParameters(Fit("Gradus.so", {1, 1, 0, 0})));
  ASSERT_TRUE(function->SetRange({DotValue(1, 5), DotValue(1, 90), DotValue(6, 90), DotValue(6, 5)}));
  const std::vector<DotValue> drawn = function->curve;
  ASSERT_GT(drawn.size(), 2u);
  doc.functions.push_back(std::move(function));

  const std::string path = (program / "gradus.tmr").string();
  ASSERT_TRUE(SaveDocumentFile(path, doc).ok);
  DocumentData reopened;
  ASSERT_TRUE(LoadDocumentFile(path, reopened).ok);
  ASSERT_EQ(reopened.functions.size(), 1u);
  CPlotFunc& again = *reopened.functions.front();
  again.Resample();
  ASSERT_EQ(again.curve.size(), drawn.size());
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_DOUBLE_EQ(again.curve[i].x, drawn[i].x);
    EXPECT_DOUBLE_EQ(again.curve[i].y, drawn[i].y);
  }
}

}  // namespace
}  // namespace tracemont
