// The six point colours and the three marker shapes, each known by the id of
// the command that selects it and by the index stored in files.
#pragma once

#include <string>

#include "model/geometry.h"

namespace tracemont {

namespace cmd {
constexpr int kRedPoints = 32850;
constexpr int kGreenPoints = 32851;
constexpr int kBluePoints = 32852;
constexpr int kBlackPoints = 32853;
constexpr int kBrownPoints = 32854;
constexpr int kGrayPoints = 32855;

constexpr int kRoundPoints = 32843;
constexpr int kCrossPoints = 32844;
constexpr int kTrianglePoints = 32845;

constexpr int kRectArea = 32780;
constexpr int kIrregularArea = 32781;
constexpr int kRangeArea = 32782;
}  // namespace cmd

constexpr int kColourCount = 6;

// Colour command to file index; unknown commands give 5 (gray).
int ColourIndexOfCommand(int command);
// File index to colour command; unknown indices give 32855 (gray).
int ColourCommandOfIndex(int index);
// Line colour of a colour command; unknown commands give black.
Colour LineColourOfCommand(int command);
// Fill colour of a colour command; unknown commands give (192, 192, 192).
Colour FillColourOfCommand(int command);
// "Black", "Blue", ... of a colour command ("" for unknown commands).
std::string ColourNameOfCommand(int command);

enum class MarkerShape { Cross = 0, Triangle = 1, Round = 2 };

// Shape command to file index: 32844 gives 0, 32845 gives 1, anything else 2.
int ShapeIndexOfCommand(int command);
// File index to shape command: 0 gives 32844, 1 gives 32845, anything else 32843.
int ShapeCommandOfIndex(int index);

}  // namespace tracemont
