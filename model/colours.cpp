#include "model/colours.h"

#include "model/text.h"

namespace tracemont {
namespace {

struct ColourEntry {
  int command;
  int nameId;
  Colour line;
  Colour fill;
};

// Indexed by the file index.
constexpr ColourEntry kColours[kColourCount] = {
    {cmd::kBlackPoints, 41650, Rgb(0, 0, 0), Rgb(192, 192, 192)},
    {cmd::kBluePoints, 41651, Rgb(0, 0, 128), Rgb(173, 216, 230)},
    {cmd::kGreenPoints, 41652, Rgb(0, 128, 0), Rgb(144, 238, 144)},
    {cmd::kRedPoints, 41653, Rgb(255, 0, 0), Rgb(255, 182, 193)},
    {cmd::kBrownPoints, 41654, Rgb(165, 42, 42), Rgb(255, 250, 205)},
    {cmd::kGrayPoints, 41655, Rgb(128, 128, 128), Rgb(211, 211, 211)},
};

const ColourEntry* FindColour(int command) {
  for (const ColourEntry& e : kColours)
    if (e.command == command) return &e;
  return nullptr;
}

}  // namespace

int ColourIndexOfCommand(int command) {
  for (int i = 0; i < kColourCount; ++i)
    if (kColours[i].command == command) return i;
  return 5;
}

int ColourCommandOfIndex(int index) {
  if (index < 0 || index >= kColourCount) return cmd::kGrayPoints;
  return kColours[index].command;
}

Colour LineColourOfCommand(int command) {
  const ColourEntry* e = FindColour(command);
  return e ? e->line : Rgb(0, 0, 0);
}

Colour FillColourOfCommand(int command) {
  const ColourEntry* e = FindColour(command);
  return e ? e->fill : Rgb(192, 192, 192);
}

std::string ColourNameOfCommand(int command) {
  const ColourEntry* e = FindColour(command);
  return e ? LoadStr(e->nameId) : std::string();
}

int ShapeIndexOfCommand(int command) {
  if (command == cmd::kCrossPoints) return 0;
  if (command == cmd::kTrianglePoints) return 1;
  return 2;
}

int ShapeCommandOfIndex(int index) {
  if (index == 0) return cmd::kCrossPoints;
  if (index == 1) return cmd::kTrianglePoints;
  return cmd::kRoundPoints;
}

}  // namespace tracemont
