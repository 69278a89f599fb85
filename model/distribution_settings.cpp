#include "model/distribution_settings.h"

#include <algorithm>
#include <cmath>

namespace tracemont {
namespace {

double ClampSide(double cm) {
  if (std::isnan(cm)) return kMaxCellCm;
  return std::clamp(cm, kMinCellCm, kMaxCellCm);
}

}  // namespace

QualityCells CellsOfQuality(int quality) {
  switch (quality) {
    case 0: return {2, 4};
    case 1: return {3, 8};
    case 2: return {5, 16};
    case 3: return {8, 24};
    default: return {1, 4};
  }
}

void CHdist::DeriveCells() {
  // The cells are whole hundredths of an inch: 0.0254 cm each.
  const QualityCells cells = CellsOfQuality(quality);
  const double fineCm = ClampSide(cells.fine * 0.0254);
  const double coarseCm = ClampSide(cells.coarse * 0.0254);
  fine = {fineCm, fineCm};
  coarse = {coarseCm, coarseCm};
}

void CHstat::ClampCell() {
  cell.width = ClampSide(cell.width);
  cell.height = ClampSide(cell.height);
}

}  // namespace tracemont
