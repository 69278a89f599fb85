#include "doc_test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tracemont::testing {

std::unique_ptr<CPlotDot> MakeSeries(const std::vector<Point>& points, int colour) {
  auto s = std::make_unique<CPlotDot>(colour, cmd::kRoundPoints, source::kRead);
  s->xScale = UnitScale();
  s->yScale = UnitScale();
  s->spacingCheck = 0;
  for (const Point& p : points) s->AddPoint(p);
  s->FinishEdit();
  return s;
}

std::unique_ptr<CPlotClip> MakeArea(const std::vector<Point>& vertices, int colour) {
  auto a = std::make_unique<CPlotClip>(colour, cmd::kIrregularArea);
  a->xScale = UnitScale();
  a->yScale = UnitScale();
  a->spacingCheck = 0;
  for (const Point& p : vertices) a->AddPoint(p);
  a->FinishEdit();
  return a;
}

DocumentData MakeRichDocument() {
  DocumentData doc;
  doc.inches = 1;
  doc.pageWidth = 2100;
  doc.pageHeight = 2970;
  doc.title = "Заголовок 日本";  // needs the wide form
  doc.comment = "line 1\r\nline 2";
  doc.visu.font.face = "Arial";
  doc.visu.font.italic = 1;
  doc.visu.textColours[2] = Rgb(1, 2, 3);
  doc.visu.textSizes[4] = 44;
  doc.visu.lines[3] = {Rgb(9, 8, 7), 12, 2};
  doc.indents[2].factor = 2.5;
  doc.indents[3].flag = 1;
  doc.axisX.name = "Время";
  doc.axisX.unit = "s";
  doc.axisX.arrow = 1;
  doc.axisX.band = 2.0;
  doc.axisX.tickLines = 5;
  doc.axisX.scale = CAxeScale(2.0, -3.0, 0.5, 14.0, -1, CAxeScale::kLinear);
  doc.axisY.position = 2;
  doc.axisY.scale = CAxeScale(1.0, 0.1, 0.0, 9.0, 1, CAxeScale::kLogarithmic, 10.0);
  doc.editor = {1, 0, 0, 25, 1, 1, 0, "/pictures/фон.bmp"};
  doc.histo.mode = 3;
  doc.histo.density.quality = 3;
  doc.histo.density.DeriveCells();
  doc.histo.density.colourScale.values = {255, 65280, 16711680};
  doc.histo.density.range = {1, 0.25, 0.75, Rgb(10, 20, 30)};
  doc.histo.diagram.cell = {0.5, 0.25};
  doc.histo.diagram.labelMaximum = 1;
  doc.legend = {1, {5, -5, 400, -90}};

  auto series = MakeSeries({{10, 20}, {30, 40}, {50, 60}});
  series->id = 101;
  series->name = "Серия 1";
  series->SetShape(cmd::kTrianglePoints);
  series->connect = 1;
  series->connectWidth = 3;
  series->visible = 0;
  // Records read from files keep their reserved fields and flags.
  std::vector<DotValue> values = series->Values();
  std::vector<Point> outline = series->Outline();
  DotValue odd(1.5, -2.5, 7.0);
  odd.reserved[3] = 42.0;
  odd.flag = 1;
  values.push_back(odd);
  outline.push_back({2, -3});
  series->RestorePoints(outline, values);
  series->FinishEdit();
  doc.series.push_back(std::move(series));

  auto area = MakeArea({{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  area->id = 102;
  area->fill = 0;
  doc.areas.push_back(std::move(area));

  auto function = std::make_unique<CPlotFunc>(cmd::kGreenPoints, 0);
  function->xScale = UnitScale();
  function->yScale = UnitScale();
  function->SetParameters({0, 0, 2, 0, 0, 10, 10, 0.1, 0, 0, 1, 2, 0.1});
  function->samplerOption = 1;
  function->SetRange({DotValue(0, 0), DotValue(0, 10), DotValue(10, 10), DotValue(10, 0)});
  function->id = 103;
  function->colour = Rgb(12, 34, 56);
  function->corridor = 1;
  function->FinishEdit();
  doc.functions.push_back(std::move(function));

  auto text = std::make_unique<CPlotText>(Point{50, -50}, 1);
  text->xScale = UnitScale();
  text->yScale = UnitScale();
  text->id = 104;
  text->position = CPlotText::kCentred;
  text->angle = 30;
  text->textSize = 35;
  text->reserved = 0xDEADBEEF;
  text->font.face = "Courier New";
  text->SetText("Привет\r\n世界");
  text->drawText = 1;
  text->AddPoint({200, 200});
  text->AddPoint({260, 200});
  text->FinishEdit();
  doc.commentaries.push_back(std::move(text));
  return doc;
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tm-doc-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  dir_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tracemont::testing
