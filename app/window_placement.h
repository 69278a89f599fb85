// The main window's remembered placement: ten numbers stored as text under
// "Settings"/"WindowPos".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tracemont {

struct WindowPlacement {
  static constexpr std::uint32_t kRestoreToMaximized = 2;
  static constexpr std::uint32_t kShowNormal = 1;
  static constexpr std::uint32_t kShowMinimized = 2;
  static constexpr std::uint32_t kShowMaximized = 3;

  std::uint32_t flags = 0;
  std::uint32_t showCommand = kShowNormal;
  int minX = 0, minY = 0;  // minimised position
  int maxX = 0, maxY = 0;  // maximised position
  int left = 0, top = 0, right = 0, bottom = 0;  // normal rectangle

  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
std::string FormatPlacement(const WindowPlacement& p);
// Nothing unless the text holds exactly ten numbers of the right kinds.
std::optional<WindowPlacement> ParsePlacement(const std::string& text);

// The placement to apply at start: the stored one, with the requested show
// mode replacing the stored show command unless the request is "normal".
WindowPlacement PlacementToRestore(WindowPlacement stored, std::uint32_t requestedShow);

// The text of an axis scale factor in the editor bar: "%6.2f" while the
// integer part is at most 1000 in magnitude, "%6.1f" up to 10000, else "%4.4g".
std::string ScaleFieldText(double value);

}  // namespace tracemont
