#include "app/window_placement.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "model/text.h"

namespace tracemont {

std::string FormatPlacement(const WindowPlacement& p) {
  return StrFormat("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand, p.minX, p.minY, p.maxX,
                   p.maxY, p.left, p.top, p.right, p.bottom);
}

std::optional<WindowPlacement> ParsePlacement(const std::string& text) {
  std::vector<long long> numbers;
  const char* at = text.c_str();
  while (*at != '\0') {
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(at, &end, 10);
    if (end == at || errno != 0) return std::nullopt;
    numbers.push_back(n);
    at = end;
    while (*at == ' ') ++at;
    if (*at == ',') ++at;
    else if (*at != '\0') return std::nullopt;
  }
  if (numbers.size() != 10) return std::nullopt;
  for (int i = 0; i < 2; ++i)
    if (numbers[static_cast<std::size_t>(i)] < 0 || numbers[static_cast<std::size_t>(i)] > std::numeric_limits<std::uint32_t>::max())
      return std::nullopt;
  for (std::size_t i = 2; i < 10; ++i)
    if (numbers[i] < std::numeric_limits<int>::min() || numbers[i] > std::numeric_limits<int>::max())
      return std::nullopt;
  WindowPlacement p;
  p.flags = static_cast<std::uint32_t>(numbers[0]);
  p.showCommand = static_cast<std::uint32_t>(numbers[1]);
  int* fields[] = {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom};
  for (std::size_t i = 0; i < 8; ++i) *fields[i] = static_cast<int>(numbers[i + 2]);
  return p;
}

WindowPlacement PlacementToRestore(WindowPlacement stored, std::uint32_t requestedShow) {
  if (requestedShow != WindowPlacement::kShowNormal) stored.showCommand = requestedShow;
  return stored;
}

std::string ScaleFieldText(double value) {
  const double whole = std::fabs(std::trunc(value));
  if (whole <= 1000) return StrFormat("%6.2f", value);
  if (whole <= 10000) return StrFormat("%6.1f", value);
  return StrFormat("%4.4g", value);
}

}  // namespace tracemont
