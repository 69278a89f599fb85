// Integer geometry of the page in plot units (1 unit = 0.01 inch, y up) and
// the 0x00BBGGRR colour value shared by every subsystem.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tracemont {

// A colour as stored and exchanged everywhere: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

// A rectangle by its four edges. In plot space "top" is the upper edge, so a
// normalised rectangle has left <= right and bottom <= top (y grows upwards);
// the page is (0, 0, W, -H). Operations that need an order normalise first.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend constexpr bool operator==(const Rect&, const Rect&) = default;

  // The rectangle that holds exactly one point.
  static constexpr Rect At(Point p) { return {p.x, p.y, p.x, p.y}; }

  constexpr Rect Normalized() const {
    return {std::min(left, right), std::max(top, bottom), std::max(left, right),
            std::min(top, bottom)};
  }
  constexpr int Width() const { return std::abs(right - left); }
  constexpr int Height() const { return std::abs(top - bottom); }
  constexpr bool IsEmpty() const { return left == right || top == bottom; }

  // True when p lies inside or on the edges of the normalised rectangle.
  constexpr bool Contains(Point p) const {
    const Rect n = Normalized();
    return p.x >= n.left && p.x <= n.right && p.y >= n.bottom && p.y <= n.top;
  }
  // Grows the normalised rectangle to include p.
  constexpr Rect Including(Point p) const {
    const Rect n = Normalized();
    return {std::min(n.left, p.x), std::max(n.top, p.y), std::max(n.right, p.x),
            std::min(n.bottom, p.y)};
  }
  constexpr Rect United(const Rect& o) const {
    const Rect a = Normalized();
    const Rect b = o.Normalized();
    return {std::min(a.left, b.left), std::max(a.top, b.top), std::max(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  }
  // Widens the normalised rectangle by dx on the left and right and dy on the
  // top and bottom (negative values narrow it).
  constexpr Rect Inflated(int dx, int dy) const {
    const Rect n = Normalized();
    return {n.left - dx, n.top + dy, n.right + dx, n.bottom - dy};
  }
  // Closed intervals: rectangles that share an edge intersect.
  constexpr bool Intersects(const Rect& o) const {
    const Rect a = Normalized();
    const Rect b = o.Normalized();
    return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
  }
  constexpr Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
};

}  // namespace tracemont

#include <cmath>
#include <limits>

namespace tracemont {

// Truncates toward zero into an int, saturating at the int range; NaN gives 0.
// Used wherever a double from user data becomes a coordinate or a count.
inline int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (v >= kMax) return std::numeric_limits<int>::max();
  if (v <= kMin) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

// Squared Euclidean distance on integer coordinates, without overflow.
inline std::int64_t SquaredDistance(Point a, Point b) {
  const std::int64_t dx = static_cast<std::int64_t>(a.x) - b.x;
  const std::int64_t dy = static_cast<std::int64_t>(a.y) - b.y;
  return dx * dx + dy * dy;
}

}  // namespace tracemont
