#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/axes.h"

namespace tracemont {
namespace {

TEST(AxeScale, LogarithmicScaleWithZeroStartTakesTheFactorAsStart) {
  CAxeScale s(5.0, 0.0, 0.0, 10.0, 1, CAxeScale::kLogarithmic);
  EXPECT_DOUBLE_EQ(s.b, 5.0);
  EXPECT_DOUBLE_EQ(s.ToDistance(5.0), 0.0);
}

TEST(AxeScale, NormaliseRestoresEveryInvariant) {
  struct Case {
    CAxeScale in;
    double k, b, base, lo, hi;
  };
  const Case cases[] = {
      // linear: k at least 1e-8, b untouched
      {{-3.0, -7.0, 0, 1, 1, CAxeScale::kLinear}, 1e-8, -7.0, 2.0, 0, 1},
      // log: base at least 1.01, b at least 1e-8
      {{1.0, -2.0, 0, 1, 1, CAxeScale::kLogarithmic, 1.0}, 1.0, 1e-8, 1.01, 0, 1},
      // lo and hi are put in order
      {{1.0, 0.0, 5, 2, 1, CAxeScale::kLinear}, 1.0, 0.0, 2.0, 2, 5},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(c.in.k, c.k);
    EXPECT_DOUBLE_EQ(c.in.b, c.b);
    EXPECT_DOUBLE_EQ(c.in.base, c.base);
    EXPECT_DOUBLE_EQ(c.in.lo, c.lo);
    EXPECT_DOUBLE_EQ(c.in.hi, c.hi);
  }
}

TEST(AxeScale, MapsValuesToPlotUnitsBothWaysInEitherDirection) {
  // 2 value units per cm starting at 10; plot range 1 .. 11 cm.
  CAxeScale up(2.0, 10.0, 1.0, 11.0, 1, CAxeScale::kLinear);
  CAxeScale down(2.0, 10.0, 1.0, 11.0, -1, CAxeScale::kLinear);
  // v = 14 is 2 cm from the start: 3 cm on the page (118.1 units), or 9 cm reversed.
  EXPECT_EQ(up.ToPlot(14.0), 118);
  EXPECT_EQ(down.ToPlot(14.0), 354);
  // Back within one plot unit (0.0254 cm, 0.0508 value units).
  EXPECT_NEAR(up.FromPlot(up.ToPlot(14.0)), 14.0, 0.0508);
  EXPECT_NEAR(down.FromPlot(down.ToPlot(14.0)), 14.0, 0.0508);
  // Negative page positions truncate toward zero.
  CAxeScale below(1.0, 0.0, -5.0, 0.0, 1, CAxeScale::kLinear);
  EXPECT_EQ(below.ToPlot(0.99), -157);  // -4.01 cm = -157.87 units
}

TEST(AxeScale, LogarithmicRoundTrip) {
  CAxeScale s(1.0, 1.0, 0.0, 10.0, 1, CAxeScale::kLogarithmic, 10.0);
  EXPECT_NEAR(s.ToDistance(1000.0), 3.0, 1e-12);
  EXPECT_NEAR(s.ToValue(2.0), 100.0, 1e-9);
}

TEST(AxeScale, AbsurdValuesSaturateInsteadOfOverflowing) {
  CAxeScale s(1e-8, 0.0, 0.0, 1.0, 1, CAxeScale::kLinear);
  EXPECT_GT(s.ToPlot(1e300), 0);
  EXPECT_LT(s.ToPlot(-1e300), 0);
  EXPECT_EQ(s.ToPlot(std::nan("")), 0);
}

TEST(Nice, RoundsTheMagnitudeWithDecimalsByItsSize) {
  struct Case {
    double v;
    int mode;
    double expected;
  };
  const Case cases[] = {
      {0.0, 1, 0.0},          {-0.0567, -1, -0.056}, {0.0567, 1, 0.057},  {0.978, 0, 0.98},
      {0.123, -1, 0.12},      {9.87, 1, 9.9},        {0.00123, 0, 0.0012}, {55.5, 0, 56.0},
      {1234.0, -1, 1230.0},   {1234.0, 1, 1240.0},   {123456.0, 0, 123500.0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(Nice(c.v, c.mode), c.expected, 1e-12) << c.v << " mode " << c.mode;
}

TEST(LabelFormat, ChoosesDecimalsByTheTickStep) {
  const std::pair<double, std::string> cases[] = {
      {0.0001, "%7.5f"}, {0.0003, "%6.4f"}, {0.001, "%6.4f"}, {0.01, "%6.3f"},
      {0.25, "%6.2f"},   {0.3, "%6.1f"},    {2.9, "%6.1f"},   {3.0, "%6.0f"}, {500.0, "%6.0f"},
  };
  for (const auto& [step, format] : cases) EXPECT_EQ(LabelFormat(step), format) << step;
}

CPlaneAxe AxisOfLength(double cm) {
  CPlaneAxe axis(0);
  axis.scale.SetPlotRange(0.0, cm);
  return axis;
}

TEST(FitToValues, RoundsStartEndAndScaleToNiceNumbers) {
  CPlaneAxe axis = AxisOfLength(10.0);
  EXPECT_TRUE(axis.FitToValues(9.87, 0.123));  // order does not matter
  EXPECT_NEAR(axis.scale.b, 0.12, 1e-12);
  EXPECT_NEAR(axis.scale.k, 0.98, 1e-12);
}

TEST(FitToValues, ChangesNothingForAnEmptyRangeOrAnAlreadyFittingAxis) {
  CPlaneAxe axis = AxisOfLength(10.0);
  const CAxeScale before = axis.scale;
  EXPECT_FALSE(axis.FitToValues(3.0, 3.0));
  EXPECT_EQ(axis.scale, before);
  // Already showing 0 .. 10 within 1%.
  EXPECT_FALSE(axis.FitToValues(0.0, 10.05));
  CPlaneAxe empty = AxisOfLength(0.0);
  EXPECT_FALSE(empty.FitToValues(1.0, 2.0));
}

TEST(ShiftAndZoom, MoveTheStartByTickStepsAndScaleAroundTheMiddle) {
  CPlaneAxe axis = AxisOfLength(10.0);
  axis.tickStep = 2.0;
  axis.scale.k = 3.0;
  axis.Shift(1);
  EXPECT_DOUBLE_EQ(axis.scale.b, 6.0);
  axis.Shift(-1);
  EXPECT_DOUBLE_EQ(axis.scale.b, 0.0);

  const CAxeScale captured = axis.scale;
  const double middle = axis.scale.ToValue(5.0);
  axis.Zoom(12, captured);
  EXPECT_DOUBLE_EQ(axis.scale.k, 6.0);
  EXPECT_NEAR(axis.scale.ToValue(5.0), middle, 1e-9);
  axis.Zoom(5, captured);
  EXPECT_DOUBLE_EQ(axis.scale.k, 1.5);
  axis.Zoom(10, captured);
  EXPECT_DOUBLE_EQ(axis.scale.k, 3.0);
}

TEST(ShiftAndZoom, LogarithmicAxisShiftsByPowersOfTheBase) {
  CPlaneAxe axis = AxisOfLength(10.0);
  axis.scale = CAxeScale(1.0, 1.0, 0.0, 10.0, 1, CAxeScale::kLogarithmic, 10.0);
  axis.tickStep = 0.5;
  axis.Shift(1);
  EXPECT_NEAR(axis.scale.b, std::sqrt(10.0), 1e-12);
  axis.Shift(-1);
  EXPECT_NEAR(axis.scale.b, 1.0, 1e-12);

  const CAxeScale captured = axis.scale;
  axis.Zoom(12, captured);
  EXPECT_NEAR(axis.scale.base, 12.0, 1e-12);
  axis.Zoom(5, captured);
  EXPECT_NEAR(axis.scale.base, 5.5, 1e-12);
  axis.Zoom(1, AxisOfLength(1).scale);  // base 2: (2 - 1) x 0.1 + 1 = 1.1
  EXPECT_NEAR(axis.scale.base, 1.1, 1e-12);
}

TEST(PlaneAxe, NormalisesOutOfRangeFieldsAndBuildsItsCaption) {
  CPlaneAxe axis(1);
  EXPECT_EQ(axis.GetCaption(), "Param Y, cm");
  EXPECT_EQ(axis.position, 1);
  axis.position = 7;
  axis.titleMode = -1;
  axis.band = 50.0;
  axis.tickLines = 99;
  axis.NormaliseFields();
  EXPECT_EQ(axis.position, 0);
  EXPECT_EQ(axis.titleMode, 0);
  EXPECT_DOUBLE_EQ(axis.band, 10.0);
  EXPECT_EQ(axis.tickLines, 20);
  axis.band = 0.01;
  axis.NormaliseFields();
  EXPECT_DOUBLE_EQ(axis.band, 0.2);
}

TEST(PageLayout, TakesTheAxisBandsOffThePageEdges) {
  CPlaneAxe x(0);  // bottom band, 1 cm = 39 units
  CPlaneAxe y(1);  // left band
  const Rect plot = LayoutPage(2000, 1500, x, y);  // 787 x 591 plot units
  EXPECT_EQ(plot, (Rect{39, 0, 787, -591 + 39}));
  EXPECT_EQ(x.axisRect, (Rect{39, -552, 787, -591}));
  EXPECT_EQ(y.axisRect, (Rect{0, 0, 39, -552}));
  EXPECT_NEAR(x.scale.lo, 39 * 0.0254, 1e-12);
  EXPECT_NEAR(x.scale.hi, 787 * 0.0254, 1e-12);
  EXPECT_NEAR(y.scale.lo, -552 * 0.0254, 1e-12);
  EXPECT_NEAR(y.scale.hi, 0.0, 1e-12);
  // A point at the axis start sits on the plot rectangle's corner.
  EXPECT_EQ(x.scale.ToPlot(0.0), 39);
  EXPECT_EQ(y.scale.ToPlot(0.0), -552);
}

TEST(PageLayout, AxesWithoutPositionLeaveTheWholePage) {
  CPlaneAxe x(0);
  CPlaneAxe y(1);
  x.position = 0;
  y.position = 2;  // right
  const Rect plot = LayoutPage(1000, 1000, x, y);
  EXPECT_EQ(plot, (Rect{0, 0, 394 - 39, -394}));
  EXPECT_EQ(x.axisRect, Rect{});
  EXPECT_EQ(y.axisRect, (Rect{355, 0, 394, -394}));
}

TEST(RangeOperations, FractionAndValueAtFractionInvertEachOther) {
  EXPECT_DOUBLE_EQ(FractionInRange(5, 0, 10, false), 0.5);
  EXPECT_DOUBLE_EQ(FractionInRange(-1, 0, 10, false), 0.0);
  EXPECT_DOUBLE_EQ(FractionInRange(11, 0, 10, false), 1.0);
  EXPECT_DOUBLE_EQ(FractionInRange(5, 10, 10, false), 0.0);
  EXPECT_NEAR(FractionInRange(10, 0.5, 100, true), 0.5, 1e-12);  // lo below 1 taken as 1
  EXPECT_DOUBLE_EQ(ValueAtFraction(0.5, 0, 10, false), 5.0);
  EXPECT_DOUBLE_EQ(ValueAtFraction(2.0, 0, 10, false), 10.0);
  EXPECT_NEAR(ValueAtFraction(0.5, 1, 100, true), 10.0, 1e-12);
  EXPECT_NEAR(ValueAtFraction(1.0, 2, 2, true), 2.2, 1e-12);  // ratio at least 1.1
  EXPECT_DOUBLE_EQ(ClampToRange(5, 0, 3), 3.0);
}

TEST(AxeScale, PlotUnitsTakenToValuesAndBackLandWhereTheyStarted) {
  const CAxeScale scales[] = {
      CAxeScale(1.0, 0.5, 0.0, 20.0, 1, CAxeScale::kLinear),
      CAxeScale(0.1, -3.0, 0.9906, 21.0, 1, CAxeScale::kLinear),
      CAxeScale(2.0, 10.0, -27.94, 0.0, -1, CAxeScale::kLinear),
      CAxeScale(1.0, 1.0, 2.54, 22.54, 1, CAxeScale::kLogarithmic, 10.0),
  };
  for (const CAxeScale& s : scales) {
    int moved = 0;
    for (int p = -3000; p <= 3000; ++p) moved += s.ToPlot(s.FromPlot(p)) != p ? 1 : 0;
    EXPECT_EQ(moved, 0) << "k " << s.k << " lo " << s.lo;
  }
  EXPECT_EQ(CmToPlot(2.54 - 1e-3), 99);  // a real shortfall still truncates
}

TEST(VisuPara, TextStyleFontsTakeTheirSizeInPlotUnits) {
  CVisuPara visu;
  EXPECT_EQ(visu.FontFor(1).height, 24);  // 60 x 0.1 mm = 23.6 units
  EXPECT_EQ(visu.FontFor(9).height, visu.FontFor(0).height);
  EXPECT_EQ(visu.FontFor(0).face, "Times New Roman");
  EXPECT_EQ(TenthMmToPlot(2000), 787);
}

}  // namespace
}  // namespace tracemont
