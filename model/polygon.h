// Even-odd membership of integer points in a closed polygon, and the number
// of unit cells it covers.
//
// A point (x, y) of the integer plot grid stands for the cell whose centre is
// (x + 0.5, y + 0.5): it is inside when that centre is inside under the
// even-odd rule. Centres never lie on an edge between integer vertices'
// rows, so the rule is exact, and a w x h rectangle covers exactly w x h cells
// (its left and bottom edges inside, right and top outside).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/geometry.h"

namespace tracemont {

class PolygonTester {
 public:
  // polygon: the vertices, read as closed. Fewer than 3 vertices contain nothing.
  explicit PolygonTester(std::span<const Point> polygon);

  bool Contains(Point p) const;

 private:
  struct Edge {
    double x0;     // x at y0
    double y0;
    double slope;  // dx / dy
    int ylo;       // rows ylo .. yhi - 1 cross the edge
    int yhi;
  };
  // Rows [bandY[i], bandY[i + 1]) cross the same edges: bandEdges[bandStart[i] ..
  // bandStart[i + 1]).
  std::vector<int> bandY_;
  std::vector<std::size_t> bandStart_;
  std::vector<Edge> bandEdges_;
  std::vector<Edge> allEdges_;  // used when the band table would be too big
  bool useBands_ = false;
  Rect box_;                    // normalised bounding box
  bool empty_ = true;

  static int Crossings(std::span<const Edge> edges, double cx, double cy);
};

// Number of unit cells covered by the polygon under the even-odd rule.
std::int64_t CoveredCells(std::span<const Point> polygon);

}  // namespace tracemont
