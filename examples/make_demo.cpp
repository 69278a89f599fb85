// Writes examples/demo.tmr: a plot that shows what Tracemont draws — series
// of every marker and colour, a rectangle and an irregular area, a fitted
// function with its corridor, a formula family and commentaries.
//
//   build/bin/make-demo-document examples/demo.tmr
#include <cmath>
#include <cstdio>
#include <vector>

#include "approx/approx.h"
#include "formula/formula_function.h"
#include "model/main_doc.h"

using namespace tracemont;

namespace {

std::vector<DotValue> Sampled(double from, double to, int n, double (*f)(double), double wobble) {
  std::vector<DotValue> points;
  for (int i = 0; i < n; ++i) {
    const double x = from + (to - from) * i / (n - 1);
    points.emplace_back(x, f(x) + wobble * std::sin(7.3 * i + 1.1), i);
  }
  return points;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-demo-document OUT.tmr\n");
    return 2;
  }
  CMainDoc doc;
  DocumentData& d = doc.Data();
  d.title = "Digitized oscillation and trends";
  d.comment = "Points read from a published graph; a line fitted to the rising set.";
  d.pageWidth = 2200;
  d.pageHeight = 1500;
  d.axisX.name = "Time";
  d.axisX.unit = "s";
  d.axisY.name = "Signal";
  d.axisY.unit = "mV";
  d.axisX.arrow = 1;
  d.axisY.arrow = 1;
  d.axisX.tickLines = 5;
  d.axisY.tickLines = 2;
  d.legend.visible = 1;
  d.legend.rect = {560, -40, 820, -150};
  doc.ApplyPageSize(d.pageWidth, d.pageHeight);

  const auto series = [&](std::vector<DotValue> points, int colour, int shape, const char* name, bool connect) {
    SeriesStyle style;
    style.colourCommand = colour;
    style.shapeCommand = shape;
    style.size = 18;
    CPlotDot* s = doc.NewSeriesFromValues(points, style, source::kRead, std::string(name));
    if (s) s->SetConnect(connect);
    return s;
  };
  series(Sampled(0.5, 17.5, 30, [](double x) { return 6.5 + 4.0 * std::exp(-0.15 * x) * std::sin(1.1 * x); }, 0.15),
         cmd::kRedPoints, cmd::kRoundPoints, "Damped oscillation", true);
  CPlotDot* rising = series(Sampled(1.0, 15.0, 15, [](double x) { return 1.0 + 0.45 * x; }, 0.35),
                            cmd::kBluePoints, cmd::kTrianglePoints, "Rising set", false);
  series(Sampled(2.0, 17.0, 16, [](double x) { return 10.5 - 0.25 * x; }, 0.2), cmd::kGreenPoints,
         cmd::kCrossPoints, "Falling set", false);
  series(Sampled(9.0, 16.0, 8, [](double x) { return 1.2 + 0.02 * x * x; }, 0.1), cmd::kBrownPoints,
         cmd::kRoundPoints, "Baseline", true);

  // An area round the rising set, and the straight line fitted through it.
  CPlotClip* range = doc.NewArea(cmd::kBluePoints, cmd::kRectArea);
  for (const DotValue& corner : {DotValue(0.5, 0.2), DotValue(0.5, 8.5), DotValue(15.5, 8.5), DotValue(15.5, 0.2)})
    range->AddValue(corner, false);
  range->FinishEdit();
  range->fill = 0;
  std::vector<DotValue> inside;
  rising->CollectInside(*range, inside);
  CApprox approx;
  FuncParams line{0, 0, 1};
  const std::vector<DotValue> rect{DotValue(0.5, 0.2), DotValue(0.5, 8.5), DotValue(15.5, 8.5), DotValue(15.5, 0.2)};
  approx.FitFunction(inside, line, rect);
  FunctionStyle fitted;
  fitted.colourCommand = cmd::kBluePoints;
  fitted.colour = LineColourOfCommand(cmd::kBluePoints);
  fitted.width = 5;
  fitted.corridor = true;
  doc.NewFunction(line, rect, fitted);

  CPlotClip* region = doc.NewArea(cmd::kBrownPoints, cmd::kIrregularArea);
  for (const DotValue& v : {DotValue(8.5, 0.4), DotValue(12.5, 0.5), DotValue(16.8, 1.2), DotValue(16.5, 3.6),
                            DotValue(12.0, 2.9), DotValue(8.6, 2.3)})
    region->AddValue(v, false);
  region->FinishEdit();

  // A family of formula curves: y = 9.5 + v*sin(u) for v = 0.3, 0.6, 0.9.
  FormulaCurve family;
  family.xText = "u";
  family.yText = "12.2+v*sin(u*1.5)";
  family.uMin = 0.5;
  family.uMax = 8.0;
  family.useV = true;
  family.vMin = 0.3;
  family.vMax = 0.9;
  family.vStep = 0.3;
  FunctionStyle formula;
  formula.colourCommand = cmd::kGrayPoints;
  formula.colour = Rgb(120, 60, 160);
  formula.width = 3;
  doc.NewFunction(BuildFormulaParams(family), rect, formula);

  CPlotText* note = doc.NewCommentary(range->ToOutline(11.0, 10.9), Rgb(0, 0, 128));
  if (note) {
    note->SetText("Peak of the oscillation");
    note->FinishEdit();
  }
  CPlotText* fitNote = doc.NewCommentary(range->ToOutline(10.5, 1.2), Rgb(0, 0, 0));
  if (fitNote) {
    fitNote->SetText("Y = a0 + a1*X fitted\r\nto the rising set");
    fitNote->FinishEdit();
  }
  doc.Changed();
  const FileResult saved = doc.Save(argv[1]);
  if (!saved.ok) {
    std::fprintf(stderr, "make-demo-document: %s\n", saved.message.c_str());
    return 1;
  }
  return 0;
}
