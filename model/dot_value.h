// DotValue: the 96-byte point record exchanged by every subsystem.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tracemont {

// Copied as a whole block; the reserved fields are carried along untouched.
struct DotValue {
  std::int32_t count = 3;  // valid coordinates; 3 for records this system makes
  std::int32_t reserved0 = 0;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;  // for points placed by hand: running number in the series
  std::array<double, 7> reserved{};
  std::int32_t flag = 0;  // 0 whenever a record is created, copied or sorted
  std::int32_t reserved1 = 0;

  DotValue() = default;
  DotValue(double x_, double y_, double z_ = 0.0) : x(x_), y(y_), z(z_) {}

  // Coordinate by index 0 (X), 1 (Y), 2 (Z); other indices read as 0.
  double Coordinate(int index) const {
    switch (index) {
      case 0: return x;
      case 1: return y;
      case 2: return z;
      default: return 0.0;
    }
  }
  // A sort key is valid only when it is below count (and names X, Y or Z).
  bool IsValidKey(int key) const { return key >= 0 && key < count && key < 3; }
};

static_assert(sizeof(DotValue) == 96, "DotValue is a 96-byte record");
static_assert(offsetof(DotValue, count) == 0);
static_assert(offsetof(DotValue, x) == 8);
static_assert(offsetof(DotValue, y) == 16);
static_assert(offsetof(DotValue, z) == 24);
static_assert(offsetof(DotValue, reserved) == 32);
static_assert(offsetof(DotValue, flag) == 88);
static_assert(offsetof(DotValue, reserved1) == 92);

}  // namespace tracemont
