#include "model/points_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/plot_text.h"

namespace tracemont {
namespace {

// A document whose axes have k = 1 (format "%6.3f"), named and with units.
DocumentData PlainDocument() {
  DocumentData doc;
  doc.title = "Plot";
  doc.axisX.name = "X";
  doc.axisY.name = "Y";
  doc.axisX.unit = "cm";
  doc.axisY.unit = "cm";
  return doc;
}

CPlotDot& AddSeries(DocumentData& doc, const std::vector<DotValue>& values,
                    int colour = cmd::kRedPoints, const std::string& name = "s") {
  auto s = std::make_unique<CPlotDot>(colour, cmd::kRoundPoints, source::kRead);
  s->xScale = doc.axisX.scale;
  s->yScale = doc.axisY.scale;
  s->spacingCheck = 0;
  s->name = name;
  for (const DotValue& v : values) s->AddValue(v);
  s->FinishEdit();
  doc.series.push_back(std::move(s));
  return *doc.series.back();
}

TEST(PointsText, DefaultOptionsWriteNamesUnitsAndPointsWithCrLf) {
  DocumentData doc = PlainDocument();
  AddSeries(doc, {{1.5, 2, 1}});
  EXPECT_EQ(BuildPointsText(doc, {}, PointsTextMode::File),
            "X\tY\tZ\r\ncm\tcm\t?\r\n 1.500\t 2.000\t1\r\n");
}

TEST(PointsText, ClipboardUsesDecimalCommasAndCleansAxisNames) {
  DocumentData doc = PlainDocument();
  doc.axisX.name = "Time, s";
  AddSeries(doc, {{1.5, 2, 1}});
  int count = -1;
  EXPECT_EQ(PointsClipboardText(doc, nullptr, {}, count),
            "Time__s\tY\tZ\r\ncm\tcm\t?\r\n 1,500\t 2,000\t1\r\n");
  EXPECT_EQ(count, 1);
}

TEST(PointsText, ClipboardWithNoPointIsEmpty) {
  DocumentData doc = PlainDocument();
  int count = -1;
  EXPECT_EQ(PointsClipboardText(doc, nullptr, {}, count), "");
  EXPECT_EQ(count, 0);
}

TEST(PointsText, OptionsShapeTheHeaderAndColumns) {
  DocumentData doc = PlainDocument();
  AddSeries(doc, {{1, -2, 2.7}, {3, 4, -2.7}});
  struct Case {
    const char* what;
    PointsTextOptions options;
    const char* expected;
  };
  PointsTextOptions allOn;
  allOn.plotHeader = true;
  allOn.notes = true;
  allOn.notesText = "a;b";
  allOn.divider = 0;
  PointsTextOptions bare;
  bare.axisTitle = bare.units = bare.zParameter = false;
  bare.divider = 2;
  const Case cases[] = {
      {"header, notes, space", allOn,
       "Plot\r\na;b\r\nX Y Z\r\ncm cm ?\r\n 1.000 -2.000 2\r\n 3.000  4.000 -2\r\n"},
      {"bare, comma", bare, " 1.000,-2.000\r\n 3.000, 4.000\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildPointsText(doc, c.options, PointsTextMode::File), c.expected) << c.what;
}

TEST(PointsText, NumberFormatFollowsTheAxisScale) {
  DocumentData doc = PlainDocument();
  doc.axisX.scale.k = 1000;  // step 10: "%6.0f"
  doc.axisY.scale.k = 0.01;  // step 0.0001: "%7.5f"
  AddSeries(doc, {{1234.5, 0.5, 0}});
  PointsTextOptions options;
  options.axisTitle = options.units = options.zParameter = false;
  EXPECT_EQ(BuildPointsText(doc, options, PointsTextMode::File), "  1234\t0.50000\r\n");
}

TEST(PointsText, PreviewStopsAt500PointsButTheFileTakesAll) {
  DocumentData doc = PlainDocument();
  std::vector<DotValue> values;
  for (int i = 0; i < 600; ++i) values.emplace_back(i, i);
  AddSeries(doc, values);
  PointsTextOptions options;
  options.axisTitle = options.units = false;
  const auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
  EXPECT_EQ(lines(BuildPointsText(doc, options, PointsTextMode::Preview)), 500);
  EXPECT_EQ(lines(BuildPointsText(doc, options, PointsTextMode::File)), 600);
}

TEST(PointsText, SortMixesSeriesAndKeepsTheOrderOfEqualKeys) {
  DocumentData doc = PlainDocument();
  AddSeries(doc, {{2, 1, 1}, {1, 2, 2}});
  AddSeries(doc, {{1, 3, 3}, {0, 4, 4}});
  PointsTextOptions options;
  options.axisTitle = options.units = false;
  options.sort = PointSort::ByX;
  EXPECT_EQ(BuildPointsText(doc, options, PointsTextMode::File),
            " 0.000\t 4.000\t4\r\n 1.000\t 2.000\t2\r\n 1.000\t 3.000\t3\r\n"
            " 2.000\t 1.000\t1\r\n");
}

TEST(PointsText, FiltersTakeSelectedPointsInSelectionOrderAndOneColour) {
  DocumentData doc = PlainDocument();
  CPlotDot& red = AddSeries(doc, {{1, 1, 0}, {2, 2, 0}, {3, 3, 0}}, cmd::kRedPoints);
  red.SelectPoint(2);
  red.SelectPoint(0);
  red.SelectPoint(99);  // stale entries are skipped
  AddSeries(doc, {{9, 9, 0}}, cmd::kBluePoints).SelectPoint(0);

  PointFilter selectedRed{true, true, cmd::kRedPoints};
  PointFilter anyColour{false, true, 0};
  auto xs = [](const std::vector<DotValue>& points) {
    std::vector<double> out;
    for (const auto& p : points) out.push_back(p.x);
    return out;
  };
  EXPECT_EQ(xs(GatherPoints(doc, selectedRed)), (std::vector<double>{3, 1}));
  EXPECT_EQ(xs(GatherPoints(doc, anyColour)), (std::vector<double>{1, 2, 3, 9}));
}

TEST(PointsXml, DefaultOptionsWriteHeaderAxesAndSeriesWithPaddedNumbers) {
  DocumentData doc = PlainDocument();
  doc.axisX.name = "Time, s";
  AddSeries(doc, {{1.5, 2, 2.7}}, cmd::kRedPoints, "A&B <1>");
  PointsXmlOptions options;
  options.notesText = "note \"q\"";
  options.zParameter = true;
  EXPECT_EQ(BuildPointsXml(doc, options),
            "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n"
            "<!--Generated by program Tracemont-->\r\n"
            "<!--  <!DOCTYPE TRACEMONT SYSTEM \"Tracemont.dtd\">  -->\r\n"
            "<TRACEMONT>\r\n"
            "<TITLE>Plot</TITLE>\r\n"
            "<COMMENT>note \"q\"</COMMENT>\r\n"
            "<AXEX>\r\n<NAME>Time, s</NAME>\r\n<UNIT>cm</UNIT>\r\n</AXEX>\r\n"
            "<AXEY>\r\n<NAME>Y</NAME>\r\n<UNIT>cm</UNIT>\r\n</AXEY>\r\n"
            "<LISTDOTS>\r\n"
            "<PLOT ID=\"0\">\r\n"
            "<STRID>A&amp;B &lt;1&gt;</STRID>\r\n"
            "<COLORNUM>3</COLORNUM>\r\n<SHAPENUM>2</SHAPENUM>\r\n<WIDTH>10</WIDTH>\r\n"
            "<ASPECT>   1</ASPECT>\r\n<SOURCE>2</SOURCE>\r\n"
            "<VALS>\r\n<VAL>\r\n<X> 1.500</X>\r\n<Y> 2.000</Y>\r\n<Z> 2.7</Z>\r\n</VAL>\r\n"
            "</VALS>\r\n</PLOT>\r\n</LISTDOTS>\r\n</TRACEMONT>\r\n");
}

TEST(PointsXml, WithoutPointsListDotsIsALeafAndCombinedWritesNone) {
  DocumentData doc = PlainDocument();
  PointsXmlOptions options;
  options.plotHeader = options.notes = options.axisTitle = options.units = false;
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n"
      "<!--Generated by program Tracemont-->\r\n"
      "<!--  <!DOCTYPE TRACEMONT SYSTEM \"Tracemont.dtd\">  -->\r\n";
  EXPECT_EQ(BuildPointsXml(doc, options),
            head + "<TRACEMONT>\r\n<LISTDOTS></LISTDOTS>\r\n</TRACEMONT>\r\n");
  options.combineSeries = true;
  EXPECT_EQ(BuildPointsXml(doc, options), head + "<TRACEMONT></TRACEMONT>\r\n");
}

TEST(PointsXml, IdsRunAcrossListsAndSkipSeriesWithoutPoints) {
  DocumentData doc = PlainDocument();
  AddSeries(doc, {{1, 1, 0}}, cmd::kBluePoints);
  AddSeries(doc, {{2, 2, 0}}, cmd::kRedPoints);
  auto area = std::make_unique<CPlotClip>(cmd::kRedPoints, 32780);
  area->spacingCheck = 0;
  for (const DotValue& v : std::vector<DotValue>{{0, 0}, {0, 1}, {1, 1}, {1, 0}}) area->AddValue(v);
  doc.areas.push_back(std::move(area));
  auto function = std::make_unique<CPlotFunc>(cmd::kRedPoints, 0);
  function->params.assign(12, 0.5);
  function->rangeCorners = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  function->spacingCheck = 0;
  function->AddValue({0, 0});
  doc.functions.push_back(std::move(function));
  auto text = std::make_unique<CPlotText>(Point{0, 0}, 0);
  text->SetText("note");
  doc.commentaries.push_back(std::move(text));

  PointsXmlOptions options;
  options.filter = {false, true, cmd::kRedPoints};
  options.areas = options.functions = options.commentary = true;
  const std::string xml = BuildPointsXml(doc, options);
  EXPECT_NE(xml.find("<LISTDOTS>\r\n<PLOT ID=\"0\">\r\n<STRID>s</STRID>"), std::string::npos);
  EXPECT_NE(xml.find("<LISTCLIP>\r\n<PLOT ID=\"1\">"), std::string::npos);
  EXPECT_NE(xml.find("<LISTFUNC>\r\n<PLOT ID=\"2\">"), std::string::npos);
  EXPECT_NE(xml.find("<LISTTEXT>\r\n<PLOT ID=\"3\">\r\n<STRID>note</STRID>\r\n<COLORNUM>"),
            std::string::npos);
  EXPECT_NE(xml.find("<REPERS>\r\n<VAL ID=\"Min\">\r\n<X> 0.000</X>\r\n<Y> 0.000</Y>\r\n</VAL>\r\n"
                     "<VAL ID=\"Max\">\r\n<X> 1.000</X>\r\n<Y> 1.000</Y>\r\n</VAL>\r\n</REPERS>"),
            std::string::npos);
  EXPECT_NE(xml.find("<PARAM ID=\"0\" COMMENT=\"Poly / Curv\"> 0.5</PARAM>"), std::string::npos);
  EXPECT_NE(xml.find("<PARAM ID=\"9\" COMMENT=\"\"> 0.5</PARAM>\r\n"
                     "<PARAM ID=\"10\" COMMENT=\"Data\"> 0.5</PARAM>\r\n"
                     "<PARAM ID=\"11\" COMMENT=\"\"> 0.5</PARAM>\r\n</PARAMS>"),
            std::string::npos);
}

TEST(PointsXml, CombinedSeriesShareOnePlotWithTheCombinedComment) {
  DocumentData doc = PlainDocument();
  AddSeries(doc, {{1, 1, 0}});
  AddSeries(doc, {{2, 2, 0}});
  PointsXmlOptions options;
  options.plotHeader = options.notes = options.axisTitle = options.units = false;
  options.combineSeries = true;
  const std::string xml = BuildPointsXml(doc, options);
  EXPECT_NE(xml.find("<LISTDOTS>\r\n<PLOT ID=\"0\" COMMENT=\"Combined\">\r\n<VALS>\r\n<VAL>\r\n"
                     "<X> 1.000</X>\r\n<Y> 1.000</Y>\r\n</VAL>\r\n<VAL>\r\n<X> 2.000</X>"),
            std::string::npos);
}

TEST(PointsXml, EncodingKeepsCyrillicAsBytesAndOtherCharactersAsReferences) {
  EXPECT_EQ(EncodeXmlCp1251("<A>Время</A>"), "<A>\xC2\xF0\xE5\xEC\xFF</A>");
  EXPECT_EQ(EncodeXmlCp1251("<A>Ж日</A>"), "<A>\xC6&#26085;</A>");
}

TEST(PointsFiles, ExtensionChoosesTheDialogAndNamesAreProposed) {
  EXPECT_EQ(PointsFileKindOf("/a/points.CSV"), PointsFileKind::None);
  EXPECT_EQ(PointsFileKindOf("/a/points.dat"), PointsFileKind::None);
  EXPECT_EQ(PointsFileKindOf("/a.b/points"), PointsFileKind::None);
  EXPECT_EQ(PointsFileKindOf("/a/POINTS.XML"), PointsFileKind::Xml);
  EXPECT_EQ(PointsFileKindOf("/a/p.Txt"), PointsFileKind::Text);
  EXPECT_EQ(ProposedPointsFileName(""), "test.txt");
  EXPECT_EQ(ProposedPointsFileName("/d/plot.tmr"), "/d/plot.txt");
  EXPECT_EQ(ProposedPointsFileName("/d.x/plot"), "/d.x/plot.txt");
}

TEST(PointsFiles, WriteReportsTheCauseOfAFailure) {
  const auto dir = std::filesystem::temp_directory_path() / ("tm_points_export_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "out.txt").string();
  EXPECT_TRUE(WriteExportFile(path, "a\r\n").ok);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\r\n");
  const ExportResult missing = WriteExportFile((dir / "no/such/dir.txt").string(), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.message, kMsgFileReadWrite);
  EXPECT_EQ(ExportErrorMessage(EACCES), kMsgFileAccessDenied);
  EXPECT_EQ(ExportErrorMessage(ENOSPC), kMsgNoFreeSpace);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tracemont
