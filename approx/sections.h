// Sections (method 40): straight segments along which many points lie,
// found by a Hough transform over a grid of angles and distances in
// coordinates normalised to the point ranges.
//
// Block (n = 4k): section i at c_{4i} = start u, c_{4i+1} = start v,
// c_{4i+2} = end u, c_{4i+3} = end v, then 0.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "approx/fit_core.h"
#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

// What one search did, for measurements.
struct SectionSearchStats {
  int passes = 0;
  double votingSeconds = 0.0;  // filling the accumulator
  double totalSeconds = 0.0;
};

// K = n clamped to 10..100 nodes per axis of the grid. Up to 10 passes, each
// voting with the points not yet marked, taking the most voted cells as
// segments unless an earlier section lies within 2 / K of them, and marking
// the points near every accepted segment. The constant fit for fewer than
// 2 points or an empty argument or value range; finding nothing stores an
// empty block. Returns 1. `stats`, when given, receives timings.
int FitSections(FitTarget& target, const FitRange& range, const FitData& data,
                SectionSearchStats* stats = nullptr);

// Mode 1: "Sections %d" and "-"; mode 0: start u, start v, end u, end v of
// each section.
int DescribeSections(const FuncParams& p, std::vector<std::string>& rows, int mode);

// S + 2 evenly spaced points from the start to the end of each section,
// section after section; none for S < 0. Returns the number of points.
int SampleSections(const FuncParams& p, std::vector<DotValue>& curve, int samples);

// One (first, count) piece per section when the curve divides evenly among
// the sections; otherwise one piece of the whole curve.
std::vector<std::pair<std::size_t, std::size_t>> SectionPieces(const FuncParams& p,
                                                               std::size_t points);

}  // namespace tracemont
