#include "acquire/digit_tracer.h"

#include <algorithm>
#include <cmath>

#include "model/colours.h"

namespace tracemont {

PixelBuffer PixelBuffer::Filled(int width, int height, Colour colour) {
  PixelBuffer buffer;
  if (width <= 0 || height <= 0) return buffer;
  buffer.width = width;
  buffer.height = height;
  buffer.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour);
  return buffer;
}

bool ColourClass::Accepts(Colour colour) const {
  const int channel[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
  for (int i = 0; i < 3; ++i)
    if (channel[i] < lower[i] || channel[i] > upper[i]) return false;
  const int r = std::clamp(rule, -3, 3);
  if (r == 0) return true;
  const int own = channel[std::abs(r) - 1];
  for (const int other : channel) {
    if (r > 0 && own < other) return false;
    if (r < 0 && own > other) return false;
  }
  return true;
}

ColourClass ColourClassOf(int colourCommand) {
  switch (colourCommand) {
    case cmd::kRedPoints: return {{64, 0, 0}, {255, 192, 192}, 1};
    case cmd::kGreenPoints: return {{0, 64, 0}, {192, 255, 192}, 2};
    case cmd::kBluePoints: return {{0, 0, 64}, {192, 192, 255}, 3};
    case cmd::kBrownPoints: return {{0, 64, 64}, {192, 255, 255}, -1};
    case cmd::kGrayPoints: return {{128, 128, 128}, {255, 255, 255}, 0};
    default: return {{0, 0, 0}, {128, 128, 128}, 0};
  }
}

ColourClass ExactColourClass(Colour colour) {
  const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  return {{r, g, b}, {r, g, b}, 0};
}

CellSize StepToCells(int step, int dpiX, int dpiY) {
  const auto pixels = [step](int dpi) {
    const std::int64_t tenths = static_cast<std::int64_t>(dpi) * step / 10;  // truncates
    return static_cast<int>(std::llround(static_cast<double>(tenths) * 100.0 / 2540.0));
  };
  return {std::max(2, pixels(dpiX) / 2), std::max(2, pixels(dpiY) / 2)};
}

std::int64_t RoundedMean(std::int64_t sum, std::int64_t n) {
  const std::int64_t half = n / 2;
  return sum >= 0 ? (sum + half) / n : -((-sum + half) / n);
}

DigitTracer::DigitTracer(const ColourClass& colours, CellSize cells)
    : colours_(colours), cells_{std::max(2, cells.width), std::max(2, cells.height)} {}

DigitTracer::TraceCell& DigitTracer::Cell(int column, int row) {
  column = std::clamp(column, 0, columns_ - 1);
  row = std::clamp(row, 0, rows_ - 1);
  return grid_[static_cast<std::size_t>(column) * rows_ + row];
}

std::vector<Point> DigitTracer::Trace(const PixelBuffer& picture, const PixelRect& search,
                                      bool skipWhite) {
  std::vector<Point> out;
  search_ = {std::min(search.left, search.right), std::min(search.top, search.bottom),
             std::max(search.left, search.right), std::max(search.top, search.bottom)};
  meanHits_ = 0;
  threshold_ = 1;
  grid_.clear();
  // Only the part of the search that the picture covers can hold hits, so
  // the grid is cut to it: beyond the picture's right and bottom, and before
  // its left and top by whole pairs of cells, so that the cells and the 2 x 2
  // blocks keep their places. Cells without hits never emit, so the points
  // stay the same, and a huge search costs no more than the picture.
  if (search_.right <= 0 || search_.bottom <= 0 || search_.left >= picture.width ||
      search_.top >= picture.height)
    return out;
  const auto pairsBefore = [](int edge, int cell) {
    return edge >= 0 ? std::int64_t{0} : (-static_cast<std::int64_t>(edge) / cell) / 2 * 2 * cell;
  };
  search_.left = static_cast<int>(search_.left + pairsBefore(search_.left, cells_.width));
  search_.top = static_cast<int>(search_.top + pairsBefore(search_.top, cells_.height));
  search_.right = std::min(search_.right, picture.width);
  search_.bottom = std::min(search_.bottom, picture.height);
  const std::int64_t columns = (static_cast<std::int64_t>(search_.right) - search_.left) / cells_.width + 2;
  const std::int64_t rows = (static_cast<std::int64_t>(search_.bottom) - search_.top) / cells_.height + 2;
  // A grid bigger than the picture's pixels could ever fill is a caller's
  // mistake; refuse it rather than allocate without bound.
  if (columns < 2 || rows < 2 || columns * rows > std::int64_t{1} << 28) return out;
  columns_ = static_cast<int>(columns);
  rows_ = static_cast<int>(rows);
  grid_.resize(static_cast<std::size_t>(columns * rows));
  for (int c = 0; c < columns_; ++c) {
    for (int r = 0; r < rows_; ++r) {
      TraceCell& cell = Cell(c, r);
      const int left = search_.left + c * cells_.width;
      const int top = search_.top + r * cells_.height;
      cell.mean = {(left + left + cells_.width) / 2, (top + top + cells_.height) / 2};
    }
  }
  Count(picture, search_, skipWhite);
  Emit(out);
  return out;
}

void DigitTracer::Count(const PixelBuffer& picture, const PixelRect& search, bool skipWhite) {
  const int x0 = std::max(search.left, 0);
  const int x1 = std::min(search.right, picture.width);
  const int y0 = std::max(search.top, 0);
  const int y1 = std::min(search.bottom, picture.height);
  std::int64_t matching = 0;
  if (x0 < x1 && y0 < y1) {
    std::vector<int> columnOf(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) columnOf[x - x0] = std::min((x - search.left) / cells_.width, columns_ - 1);
    // The bounds are tested inline; the dominance rule only for pixels
    // inside them, which keeps the scan of a mostly white picture cheap.
    const int rule = std::clamp(colours_.rule, -3, 3);
    for (int y = y0; y < y1; ++y) {
      const int row = std::min((y - search.top) / cells_.height, rows_ - 1);
      const Colour* line = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
      for (int x = x0; x < x1; ++x) {
        const Colour c = line[x] & 0xFFFFFFu;
        if (skipWhite && c == 0xFFFFFFu) continue;
        const int ch[3] = {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>(c >> 16)};
        if (ch[0] < colours_.lower[0] || ch[0] > colours_.upper[0] || ch[1] < colours_.lower[1] ||
            ch[1] > colours_.upper[1] || ch[2] < colours_.lower[2] || ch[2] > colours_.upper[2])
          continue;
        if (rule != 0 && !colours_.Accepts(c)) continue;
        TraceCell& cell = grid_[static_cast<std::size_t>(columnOf[x - x0]) * rows_ + row];
        cell.sumX += x;
        cell.sumY += y;
        ++cell.hits;
        ++matching;
      }
    }
  }
  // Each cell's mean is its exact sum divided once, rounded: a running
  // integer mean would drift towards the cell's top-left corner.
  std::int64_t occupied = 0;
  for (TraceCell& cell : grid_) {
    if (cell.hits == 0) continue;
    ++occupied;
    cell.count = cell.hits;
    cell.mean = {static_cast<int>(RoundedMean(cell.sumX, cell.hits)),
                 static_cast<int>(RoundedMean(cell.sumY, cell.hits))};
  }
  meanHits_ = occupied == 0 ? 0 : static_cast<int>(matching / occupied);
  threshold_ = std::max(1, (3 * meanHits_) / 4);
}

void DigitTracer::Emit(std::vector<Point>& out) {
  out.clear();
  for (int c = 0; c < columns_; ++c) {
    for (int r = 0; r < rows_; ++r) {
      TraceCell& cell = Cell(c, r);
      if (cell.count < threshold_) continue;
      out.push_back(cell.mean);
      cell.count = std::max(0, cell.count - threshold_);
    }
  }
  // What the first pass left over, gathered in 2 x 2 blocks. The grid's last
  // column and row never hold hits, so blocks at the edge lose nothing by
  // skipping cells outside the grid.
  for (int c = 0; c < columns_; c += 2) {
    for (int r = 0; r < rows_; r += 2) {
      std::int64_t sumX = 0, sumY = 0, weight = 0;
      for (int dc = 0; dc < 2; ++dc) {
        for (int dr = 0; dr < 2; ++dr) {
          if (c + dc >= columns_ || r + dr >= rows_) continue;
          const TraceCell& cell = Cell(c + dc, r + dr);
          if (cell.count == 0) continue;
          const int w = std::max(1, cell.count);
          sumX += static_cast<std::int64_t>(cell.mean.x) * w;
          sumY += static_cast<std::int64_t>(cell.mean.y) * w;
          weight += w;
        }
      }
      if (weight == 0 || weight < threshold_) continue;
      out.push_back({static_cast<int>(RoundedMean(sumX, weight)),
                     static_cast<int>(RoundedMean(sumY, weight))});
    }
  }
}

}  // namespace tracemont
