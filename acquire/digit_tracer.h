// The curve tracer of digitizing: finds the pixels of one colour class in a
// picture and reduces them to a sparse list of points along the curve.
//
// Everything here works on a plain pixel buffer so that pictures from files,
// from the screen and from synthetic tests go through the same code.
#pragma once

#include <cstdint>
#include <vector>

#include "model/geometry.h"

namespace tracemont {

// A picture as 0x00BBGGRR pixels, row by row from the top-left corner.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // width x height values

  // A white buffer of the given size (negative sizes give an empty buffer).
  static PixelBuffer Filled(int width, int height, Colour colour = Rgb(255, 255, 255));
  bool IsEmpty() const { return width <= 0 || height <= 0; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // The pixel at (x, y); the caller checks Contains.
  Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, Colour c) {
    if (Contains(x, y)) pixels[static_cast<std::size_t>(y) * width + x] = c;
  }
};

// A rectangle of pixels by its edges (y grows downwards). Whether the right
// and bottom edges belong to it is said where it is used.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Which colours count as the curve: inclusive bounds per channel and a
// dominance rule (1..3: that channel (red, green, blue) is the largest;
// -1..-3: it is the smallest; 0: no rule).
struct ColourClass {
  int lower[3] = {0, 0, 0};  // red, green, blue
  int upper[3] = {128, 128, 128};
  int rule = 0;

  // Whether a 0x00BBGGRR colour belongs to the class. Rules outside -3..3
  // count as the nearest of them.
  bool Accepts(Colour colour) const;
  friend bool operator==(const ColourClass&, const ColourClass&) = default;
};

// The class of a drawing colour command (32850 red .. 32855 gray); any other
// command gets the black class.
ColourClass ColourClassOf(int colourCommand);
// Exactly one colour, no rule (the colour picked on the screen).
ColourClass ExactColourClass(Colour colour);

// Grid cell size in pixels, each at least 2.
struct CellSize {
  int width = 2;
  int height = 2;
  friend bool operator==(CellSize, CellSize) = default;
};

// Cells for a digitizing step (0.1 mm) on a device with the given pixels per
// inch: half the step's length in pixels in each direction, at least 2.
CellSize StepToCells(int step, int dpiX, int dpiY);

// The grid-based tracer (`DigitTracer`). One object per run; Trace may be
// called again and starts afresh.
class DigitTracer {
 public:
  DigitTracer(const ColourClass& colours, CellSize cells);

  // The points of the curve in pixel coordinates of `picture`, in emitting
  // order: cells of the grid over `search` that collect enough matching
  // pixels, then 2 x 2 blocks of what is left. Pixels count when they lie
  // in the search rectangle (left and top edges included, right and bottom
  // excluded) and in the picture; with skipWhite pure white ones are
  // ignored whatever the class says. Empty when nothing matches.
  std::vector<Point> Trace(const PixelBuffer& picture, const PixelRect& search, bool skipWhite);

  // Hits a cell needs to emit a point in the last run (at least 1).
  int Threshold() const { return threshold_; }
  // Matching pixels per occupied cell in the last run (truncated).
  int MeanHits() const { return meanHits_; }

 private:
  struct TraceCell {
    std::int64_t sumX = 0;
    std::int64_t sumY = 0;
    int count = 0;      // hits still to account for
    int hits = 0;       // hits counted, for the mean point
    Point mean;         // centre until hits arrive
  };
  TraceCell& Cell(int column, int row);
  void Count(const PixelBuffer& picture, const PixelRect& search, bool skipWhite);
  void Emit(std::vector<Point>& out);

  ColourClass colours_;
  CellSize cells_;
  PixelRect search_;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<TraceCell> grid_;  // column-major
  int meanHits_ = 0;
  int threshold_ = 1;
};

// sum / n rounded to the nearest integer (halves away from zero); n > 0.
std::int64_t RoundedMean(std::int64_t sum, std::int64_t n);

}  // namespace tracemont
