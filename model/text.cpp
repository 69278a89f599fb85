#include "model/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>

namespace tracemont {

std::string StrFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (needed > 0) {
    out.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(needed));
  }
  va_end(args);
  return out;
}

std::string FormatG(double v) { return StrFormat("%4.4g", v); }

namespace {

struct StringEntry {
  int id;
  const char* text;
};

// Sorted by id.
constexpr StringEntry kStrings[] = {
    {110, " X: %5.2f     Y: %5.2f"},
    {2602, "Check strings, please. Possible errors are:"},
    {32702, "Paint 'Legend'"},
    {32712, "Remove commentary"},
    {33302, "Build function on formula"},
    {41510, "cm."},
    {41514, "inch"},
    {41522, "%d"},
    {41523, "%6.2f"},
    {41524, "%6.1f"},
    {41525, "%4.4g"},
    {41526, "%6.3f"},
    {41527, "%6.4f"},
    {41528, "%7.5f"},
    {41529, "%6.0f"},
    {41547, "Points min"},
    {41550, "Points max"},
    {41551, "(Min+Max)/2"},
    {41552, "Deviation"},
    {41553, "Computed area"},
    {41554, "Mean"},
    {41555, "Correlation"},
    {41560, "Parameter"},
    {41561, "%s from"},
    {41562, "%s to"},
    {41570, "Spray"},
    {41571, "Line"},
    {41572, "Read"},
    {41573, "Digit"},
    {41575, "Clip"},
    {41576, "Rect"},
    {41577, "Range"},
    {41590, "Points (X,Y) distribution"},
    {41591, "Commentaries: "},
    {41634, "All objects selecteded will be removed."},
    {41639, "All points in area will be removed."},
    {41641, "Copy selected %s points"},
    {41642, "Copy all selected points"},
    {41643, "Remove selected %s points"},
    {41644, "Remove all selected points"},
    {41645, "The number of iterations had appeared poor\nfor neural network training.\n\nChange the step or the number of neurons\nand repeat the calculation."},
    {41646, "User defined function is absent.\n\nChange the plug-in DLL in subdirectory [Appr]\nand repeat the calculation."},
    {41650, "Black"},
    {41651, "Blue"},
    {41652, "Green"},
    {41653, "Red"},
    {41654, "Brown"},
    {41655, "Gray"},
    {41670, "Function through %s selected point"},
    {41671, "Function through all selected points"},
    {41673, "Correlation of points in area"},
    {41675, "There are no points in areas selected"},
    {41679, "Choose function "},
    {41682, "Transformation through %s selected point"},
    {41683, "Transformation through all selected points"},
    {41691, "Lines with step %4.4g"},
    {41692, "Closed spline curve on %d points"},
    {41693, "Spline error: it is not enough points"},
    {41694, "Sections %d"},
    {41695, "Neural network on %d neurons"},
    {41696, "Logistic V = %f + %f/(1 + exp(%f+%f*U))"},
    {41697, "Logistic ln(V-%f) = %f - %f*exp(-U)"},
    {41698, "Fourier approximation on %d harmonics"},
    {41700, "Ellipse: %4.4g *dX2 %s %4.4g*dX*dY + %4.4g *dY2 = 1"},
    {41701, "Ellipse: point"},
};

}  // namespace

std::string LoadStr(int id) {
  const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                   [](const StringEntry& e, int key) { return e.id < key; });
  if (it == std::end(kStrings) || it->id != id) return {};
  return it->text;
}

}  // namespace tracemont
