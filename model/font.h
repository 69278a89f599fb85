// The description of a font as documents store it (a logical font record).
#pragma once

#include <string>

namespace tracemont {

// Heights are in the unit of whoever holds the record: plot units when handed
// to a Surface, 0.1 mm inside CVisuPara text sizes. Escapement is in tenths
// of a degree, counter-clockwise.
struct FontDescription {
  int height = 20;
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 600;
  int italic = 0;
  int underline = 0;
  int strikeOut = 0;
  int charSet = 204;
  int outPrecision = 0;
  int clipPrecision = 0;
  int quality = 2;
  int pitchAndFamily = 18;
  std::string face = "Times New Roman";

  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

}  // namespace tracemont
