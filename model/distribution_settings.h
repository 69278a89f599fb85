// The stored settings of the document's distribution display (`CHisto` with
// its density `CHdist` and diagram `CHstat`). Only what documents keep lives
// here; the grids and their drawing are computed by the statistics code.
#pragma once

#include <cstdint>

#include "model/axes.h"
#include "model/geometry.h"

namespace tracemont {

// A cell size in centimetres.
struct CHCell {
  double width = 1.0;
  double height = 1.0;
  friend bool operator==(const CHCell&, const CHCell&) = default;
};

// The density range selection; minimum and maximum are fractions of the
// largest density.
struct CHSelect {
  std::int32_t enabled = 0;
  double minimum = 0.0;
  double maximum = 1.0;
  Colour colour = Rgb(80, 80, 80);
  friend bool operator==(const CHSelect&, const CHSelect&) = default;
};

// Settings shared by the density and the diagram.
struct CHbaseSettings {
  std::int32_t areaProportional = 0;
  std::int32_t sizeFollowsScale = 0;
  std::int32_t byColour = 1;
  std::int32_t labelMaximum = 0;
  friend bool operator==(const CHbaseSettings&, const CHbaseSettings&) = default;
};

// Smallest and largest stored cell side, cm.
constexpr double kMinCellCm = 0.05;
constexpr double kMaxCellCm = 1.0;

// Cells of a density quality, in plot units: fine s and coarse t.
struct QualityCells {
  int fine;
  int coarse;
};
// 0: 2/4, 1: 3/8, 2: 5/16, 3: 8/24, any other 1/4.
QualityCells CellsOfQuality(int quality);

struct CHdist : CHbaseSettings {
  std::int32_t quality = 1;      // 0..3
  std::int32_t showMode = 0;     // 0 tones, 1 vectors, 2 gradient tones
  std::int32_t kernelKind = 0;   // 0 normal, 1 uniform, 2 inverse square
  std::int32_t transparent = 0;
  std::int32_t pictureFilter = 0;  // set from the "Filters" window, not stored
  CHCell fine;
  CHCell coarse;
  std::int32_t selectOutside = 0;
  CMathScale colourScale;  // palette, maximum %, minimum %, logarithmic
  CHSelect range{0, 0.1, 0.13, Rgb(80, 80, 80)};

  CHdist() { DeriveCells(); }
  // Fine and coarse cells from the quality, in cm, clamped to 0.05..1.0.
  void DeriveCells();
};

struct CHstat : CHbaseSettings {
  std::int32_t symbols = 1;  // 0 none, 1 circle, 2 square
  CHCell cell{1.0, 1.0};
  std::int32_t fixedPosition = 0;
  std::int32_t centreLines = 0;
  std::int32_t trendLines = 1;

  // Clamps the cell sides to 0.05..1.0 cm (NaN becomes 1.0).
  void ClampCell();
};

// Display modes.
namespace distribution {
constexpr int kNone = 0;
constexpr int kOccupation = 1;
constexpr int kDensity = 2;
constexpr int kDiagram = 3;
}  // namespace distribution

struct CHisto {
  std::int32_t mode = distribution::kNone;
  CHdist density;
  CHstat diagram;
  // Set by every change of points; cleared by whoever recomputes the grid.
  bool recomputeNeeded = true;
};

}  // namespace tracemont
