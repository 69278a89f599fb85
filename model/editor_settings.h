// The editor settings and background picture of a document (`CPlotEdit`):
// the stored record only; loading and drawing the picture belong to the
// digitizing and rendering code.
#pragma once

#include <cstdint>
#include <string>

namespace tracemont {

// Folder of the program file, used for the default background picture.
// Process-wide (the program has one location); empty until the application
// sets it, and then the default picture is the bare "Demo.bmp".
void SetProgramFolder(std::string folder);
const std::string& ProgramFolder();
// "Demo.bmp" in the program folder.
std::string DefaultPictureFile();

struct CPlotEdit {
  std::int32_t connectDefault = 0;  // new series connect their points
  std::int32_t fillDefault = 1;     // new areas are filled
  std::int32_t areasMarks = 1;      // areas and functions draw their marks
  std::int32_t drawingStep = 10;    // least distance between points of a new series, 0.1 mm
  std::int32_t pictureShown = 0;
  std::int32_t pictureCentred = 0;
  std::int32_t pictureStretched = 1;
  std::string pictureFile = DefaultPictureFile();

  friend bool operator==(const CPlotEdit&, const CPlotEdit&) = default;
};

}  // namespace tracemont
