#include "acquire/points_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "model/main_doc.h"
#include "model/points_export.h"

namespace tracemont {
namespace {

std::vector<std::string> Split(std::string line, std::string_view separators = kFieldSeparators) {
  std::vector<std::string> out;
  SplitFields(line, out, separators);
  return out;
}

using Fields = std::vector<std::string>;

TEST(SplitFields, AnySeparatorGivesTheSameFieldsAndEmptyOnesAreDropped) {
  const struct {
    const char* line;
    Fields fields;
  } cases[] = {
      {"1;2;3", {"1", "2", "3"}},
      {"1 2 3", {"1", "2", "3"}},
      {"1|2|3", {"1", "2", "3"}},
      {"1\t2\t3", {"1", "2", "3"}},
      {"  1 ; 2\r\n", {"1", "2"}},
      {"1,,2", {"1", "2"}},
      {"1,5 2,5", {"1", "5", "2", "5"}},
      {"", {}},
      {" \t ", {}},
      {";", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.line), c.fields) << c.line;
}

TEST(SplitFields, TrimsTheLineInPlaceAndAppends) {
  std::string line = "  a b \n";
  std::vector<std::string> out{"x"};
  EXPECT_EQ(SplitFields(line, out), 3);
  EXPECT_EQ(line, "a b");
  EXPECT_EQ(out, (Fields{"x", "a", "b"}));
}

TEST(NumberTexts, LooksNumericAndIsNumberText) {
  const struct {
    const char* text;
    bool looksNumeric;
    bool isNumberText;
  } cases[] = {
      {"", false, true},   {"12", true, true},    {"-1", true, true},  {".5", true, true},
      {"+5", false, true}, {"1e-3", true, true},  {"  7 ", false, true}, {"   ", false, false},
      {"1,5", true, false}, {"A", false, false},  {"5x", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LooksNumeric(c.text), c.looksNumeric) << "[" << c.text << "]";
    EXPECT_EQ(IsNumberText(c.text), c.isNumberText) << "[" << c.text << "]";
  }
}

TEST(NumberTexts, AsciiToDoubleReadsThePrefixLikeTheCLibrary) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"+5", 5},   {" -2.5e1x", -25}, {"abc", 0},  {"", 0},    {".5", 0.5},
               {"3,7", 3},  {"--1", 0},        {"1e", 1},   {"1e400", HUGE_VAL}, {"-1e-400", 0}};
  for (const auto& c : cases) EXPECT_EQ(AsciiToDouble(c.text), c.value) << c.text;
}

TEST(LineAnalysis, FindsTheFirstDataLineAndTheColumnCount) {
  const struct {
    std::vector<std::string> lines;
    int firstDataLine;
    int columns;
  } cases[] = {
      {{"X Y Z", "1 2 3", "4 5 6"}, 2, 3},
      {{"1 2", "3 4"}, 1, 3},
      {{"A B", "", "A 1 2"}, 3, 3},     // one label among numbers is data
      {{"Temperature", "1 2"}, 1, 3},  // a lone label counts as data too
      {{"A B 1", "1 2 3 4 5"}, 2, 5},   // two labels are not
      {{"+5 +6"}, 1, 3},                // no data line: stays 1
      {{}, 1, 3},
  };
  for (const auto& c : cases) {
    const LineAnalysis a = AnalyseLines(c.lines);
    EXPECT_EQ(a.firstDataLine, c.firstDataLine) << testing::PrintToString(c.lines);
    EXPECT_EQ(a.columns, c.columns) << testing::PrintToString(c.lines);
  }
}

TEST(CollectPoints, ColumnsFirstLineAndShortRows) {
  const std::vector<std::string> lines = {"X Y Z", "1 2 3", "4", "5 6", "+7;8;9;10"};
  auto points = CollectPoints(lines, {2, 1, 2, 3});
  ASSERT_EQ(points.size(), 3u);  // "4" has no Y
  EXPECT_EQ(points[0].z, 3);
  EXPECT_EQ(points[1].z, 0);  // parameter column beyond the row
  EXPECT_EQ(points[2].x, 7);  // "+7" is read as 7
  EXPECT_EQ(points[2].count, 3);
  EXPECT_EQ(points[2].flag, 0);
  points = CollectPoints(lines, {0, 3, 4, 1});  // first line 0 taken as 1
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].x, 9);
  EXPECT_EQ(points[0].y, 10);
  EXPECT_EQ(points[0].z, 7);
}

TEST(CollectPoints, ALongTextGivesThePointsOfItsLinesInOrder) {
  // Long enough to be read in two halves; short and header lines scattered.
  std::string text = "X Y Z\nunits\n";
  std::vector<std::string> lines = {"X Y Z", "units"};
  for (int i = 0; text.size() < (5u << 20); ++i) {
    lines.push_back(i % 1000 == 999 ? std::string("gap") : std::to_string(i) + "," + std::to_string(-i) + "," + std::to_string(2 * i));
    text += lines.back() + "\n";
  }
  for (const ColumnChoice choice : {ColumnChoice{3, 1, 2, 3}, ColumnChoice{1, 3, 1, 2}}) {
    const std::vector<DotValue> fromText = CollectPointsFromText(text, choice);
    const std::vector<DotValue> fromLines = CollectPoints(lines, choice);
    ASSERT_EQ(fromText.size(), fromLines.size());
    for (std::size_t i = 0; i < fromText.size(); ++i) {
      ASSERT_EQ(fromText[i].x, fromLines[i].x) << i;
      ASSERT_EQ(fromText[i].y, fromLines[i].y) << i;
    }
  }
}

TEST(CollectPoints, TableRowsCountOnlyNonEmptyCells) {
  const std::vector<std::vector<std::string>> rows = {{"1.5", "2", ""}, {"3", "", ""}, {"x", "y", "z"}};
  const auto points = CollectPointsFromRows(rows, {1, 1, 2, 3});
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].x, 1.5);
  EXPECT_EQ(points[0].z, 0);
  EXPECT_EQ(points[1].x, 0);  // not numbers read as 0, not rejected
}

TEST(ClipboardText, CopiedRowsReadBackWithDecimalPoints) {
  const std::string text = RowsToClipboardText({{"1", "1.5", "2"}, {"2", "4.5", "6"}}, 1);
  EXPECT_EQ(text, "1,5\t2\r\n4,5\t6\r\n");
  const auto lines = ClipboardLines(text + "\r\n\r\n");
  EXPECT_EQ(lines, (Fields{"1.5\t2", "4.5\t6"}));
  EXPECT_EQ(Split(lines[0]), (Fields{"1.5", "2"}));
}

TEST(StepTwo, MultipliersAspectAndRangeAreClamped) {
  EXPECT_EQ(ClampMultiplier(-3), 0);
  EXPECT_EQ(ClampMultiplier(5000000), 1000000);
  EXPECT_EQ(ClampMultiplier(2.5), 2.5);
  EXPECT_EQ(ClampMultiplier(std::nan("")), 0);
  EXPECT_EQ(ClampAspect(0), 0.1);
  EXPECT_EQ(ClampAspect(25), 10);
  EXPECT_EQ(ClampAspect(2), 2);

  const std::vector<DotValue> points = {{0.5, 1}, {1, 1, 7}, {2, 1}, {2.5, 1}, {1.5, 9}};
  const auto kept = FilterAndScale(points, ValueRange{1, 2, 0, 5}, 10, -1);
  ASSERT_EQ(kept.size(), 2u);  // bounds are inclusive, on the values as read
  EXPECT_EQ(kept[0].x, 10);
  EXPECT_EQ(kept[0].y, -1);
  EXPECT_EQ(kept[0].z, 7);
  EXPECT_EQ(kept[1].x, 20);
  EXPECT_EQ(FilterAndScale(points, std::nullopt, 1, 1).size(), points.size());

  const auto range = RangeOf(points);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->xMin, 0.5);
  EXPECT_EQ(range->xMax, 2.5);
  EXPECT_EQ(range->yMax, 9);
  EXPECT_FALSE(RangeOf({}));
}

TEST(EditorRows, RowsNeedTwoFilledCellsAndZNeedsAllThree) {
  const auto points = PointsFromEditorRows(
      {{"", "5", "7"}, {"1", "", ""}, {" 3.142", "2", "1"}, {"4", " 6", ""}, {"x", "1e1", "?"}});
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0].x, 0);
  EXPECT_EQ(points[0].y, 5);
  EXPECT_EQ(points[0].z, 0);
  EXPECT_EQ(points[1].x, 3.142);
  EXPECT_EQ(points[1].z, 1);
  EXPECT_EQ(points[2].y, 6);
  EXPECT_EQ(points[2].z, 0);
  EXPECT_EQ(points[3].x, 0);  // not a number: what its text yields
  EXPECT_EQ(points[3].y, 10);
}

// Each test process has its own folder: the tests run in parallel.
class ScratchFile : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const {
    return std::filesystem::temp_directory_path() /
           ("tm_points_import_test_" + std::to_string(::getpid()));
  }
  std::string Write(const std::string& bytes) {
    std::filesystem::create_directories(Folder());
    path_ = (Folder() / "in.txt").string();
    std::ofstream(path_, std::ios::binary) << bytes;
    return path_;
  }
  void TearDown() override { std::filesystem::remove_all(Folder()); }
  std::string path_;
};

TEST_F(ScratchFile, ReadsEveryLineWhateverItsLengthAndCount) {
  std::string bytes = std::string(2000, '7') + "\r\n";
  for (int i = 0; i < 150000; ++i) bytes += std::to_string(i) + " 1\n";
  bytes += "last";  // no line end
  const ReadLinesResult all = ReadTextLines(Write(bytes), std::nullopt);
  EXPECT_TRUE(all.error.empty());
  EXPECT_TRUE(all.complete);
  ASSERT_EQ(all.lines.size(), 150002u);
  EXPECT_EQ(all.lines[0], std::string(2000, '7'));
  EXPECT_EQ(all.lines.back(), "last");
  EXPECT_EQ(all.estimatedLines, 150002);

  const ReadLinesResult first = ReadTextLines(path_, 100);
  EXPECT_EQ(first.lines.size(), 100u);
  EXPECT_FALSE(first.complete);
  EXPECT_GT(first.estimatedLines, 100);
}

TEST_F(ScratchFile, WholeFileCollectionMatchesTheLineStore) {
  const std::string text = "X;Y;Z\r\n1,5 2 3\r\n\r\n4|5\n7\n-1e2\t+8\t9";
  const std::string path = Write(text);
  const std::vector<std::string> lines = ReadTextLines(path, std::nullopt).lines;
  for (const ColumnChoice choice : {ColumnChoice{1, 1, 2, 3}, ColumnChoice{2, 2, 3, 1}, ColumnChoice{5, 1, 2, 3}}) {
    std::string error;
    const auto fromFile = CollectPointsFromFile(path, choice, error);
    const auto fromLines = CollectPoints(lines, choice);
    EXPECT_TRUE(error.empty());
    ASSERT_EQ(fromFile.size(), fromLines.size()) << choice.firstDataLine;
    for (std::size_t i = 0; i < fromFile.size(); ++i) {
      EXPECT_EQ(fromFile[i].x, fromLines[i].x);
      EXPECT_EQ(fromFile[i].y, fromLines[i].y);
      EXPECT_EQ(fromFile[i].z, fromLines[i].z);
    }
  }
  EXPECT_EQ(CollectPoints(lines, {1, 1, 2, 3}).size(), 4u);
  std::string error;
  EXPECT_TRUE(CollectPointsFromFile(path + ".none", {}, error).empty());
  EXPECT_EQ(error, kMsgFileReadWrite);
}

TEST_F(ScratchFile, ShortFileIsCompleteAndMissingFileReportsAnError) {
  const ReadLinesResult r = ReadTextLines(Write("1 2\n3 4\n"), 100);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.lines, (Fields{"1 2", "3 4"}));
  const ReadLinesResult missing = ReadTextLines(path_ + ".none", 100);
  EXPECT_TRUE(missing.lines.empty());
  EXPECT_EQ(missing.error, kMsgFileReadWrite);
}

TEST(CreateSeries, StoresEveryPointWithSourceTwoAndFitsTheAxes) {
  CMainDoc doc;
  // Points closer than any spacing rule would allow are all kept.
  const std::vector<DotValue> points = {{0, 0, 1}, {0, 0, 2}, {100, 50, 3}};
  ImportSeriesSettings settings;
  settings.title = "read";
  settings.colourCommand = cmd::kRedPoints;
  settings.aspect = 25;
  settings.axes = {0, 100, 0, 50};
  const ImportOutcome outcome = CreateImportedSeries(doc, points, settings);
  ASSERT_NE(outcome.series, nullptr);
  EXPECT_TRUE(outcome.scalesChanged);
  EXPECT_EQ(outcome.series->source, source::kRead);
  EXPECT_EQ(outcome.series->name, "read");
  EXPECT_EQ(outcome.series->aspect, 10);
  ASSERT_EQ(outcome.series->Values().size(), 3u);
  EXPECT_EQ(outcome.series->Values()[2].x, 100);
  EXPECT_EQ(outcome.series->spacingCheck, 1);
  // Undo takes back the series in one step.
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.Series().empty());
  EXPECT_EQ(CreateImportedSeries(doc, {}, settings).series, nullptr);
}

}  // namespace
}  // namespace tracemont
