// tracemont-cli digitize IMAGE OUT.tmr --color NAME --region X1 Y1 X2 Y2 ...
// --limits XMIN XMAX YMIN YMAX [--step TENTHS_MM] [--dpi N]: traces a curve
// of one colour in a picture file, in batch, and writes a document with the
// digitized series (and the picture as its background).
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "acquire/digitize.h"
#include "cli/command.h"
#include "cli/qt/gui_application.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "platform/picture_loader.h"
#include "platform/qt_picture.h"
#include "render/page_painter.h"
#include "render/picture_placement.h"

namespace tracemont::cli {
namespace {

const char* const kUsage =
    "usage: tracemont-cli digitize IMAGE OUT.tmr --color red|green|blue|black|brown|gray\n"
    "         (--region X1 Y1 X2 Y2 | --polygon X1 Y1 X2 Y2 X3 Y3 ...)...\n"
    "         --limits XMIN XMAX YMIN YMAX [--step TENTHS_MM] [--dpi N]\n";

std::optional<int> ColourCommandNamed(const std::string& name) {
  static const std::pair<const char*, int> kNames[] = {
      {"red", cmd::kRedPoints},     {"green", cmd::kGreenPoints}, {"blue", cmd::kBluePoints},
      {"black", cmd::kBlackPoints}, {"brown", cmd::kBrownPoints}, {"gray", cmd::kGrayPoints},
      {"grey", cmd::kGrayPoints}};
  for (const auto& [text, command] : kNames)
    if (name == text) return command;
  return std::nullopt;
}

struct DigitizeArgs {
  std::vector<std::string> files;
  std::optional<int> colour;
  std::vector<std::vector<Point>> polygons;
  std::optional<std::array<double, 4>> limits;
  int step = 10;
  int dpi = 96;
};

bool IsOption(const std::string& arg) { return arg.rfind("--", 0) == 0; }

// Reads the arguments; the error text is empty when they are well formed.
std::string Parse(const std::vector<std::string>& args, DigitizeArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // The numbers following an option, up to the next option.
    std::vector<double> numbers;
    const auto takeNumbers = [&](std::size_t most) -> std::string {
      while (numbers.size() < most && i + 1 < args.size() && !IsOption(args[i + 1])) {
        const auto value = ParseNumber(args[i + 1]);
        if (!value || !std::isfinite(*value)) return arg + ": '" + args[i + 1] + "' is not a number";
        numbers.push_back(*value);
        ++i;
      }
      return {};
    };
    if (!IsOption(arg)) {
      out.files.push_back(arg);
    } else if (arg == "--color" || arg == "--colour") {
      if (i + 1 >= args.size()) return arg + " needs a colour name";
      out.colour = ColourCommandNamed(args[++i]);
      if (!out.colour) return "unknown colour '" + args[i] + "'";
    } else if (arg == "--region" || arg == "--polygon") {
      if (auto error = takeNumbers(arg == "--region" ? 4 : 100000); !error.empty()) return error;
      if (arg == "--region") {
        if (numbers.size() != 4) return "--region needs X1 Y1 X2 Y2";
        const int x1 = TruncToInt(numbers[0]), y1 = TruncToInt(numbers[1]);
        const int x2 = TruncToInt(numbers[2]), y2 = TruncToInt(numbers[3]);
        out.polygons.push_back({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}});
      } else {
        if (numbers.size() < 6 || numbers.size() % 2 != 0) return "--polygon needs at least 3 X Y pairs";
        std::vector<Point> polygon;
        for (std::size_t k = 0; k < numbers.size(); k += 2)
          polygon.push_back({TruncToInt(numbers[k]), TruncToInt(numbers[k + 1])});
        out.polygons.push_back(std::move(polygon));
      }
    } else if (arg == "--limits") {
      if (auto error = takeNumbers(4); !error.empty()) return error;
      if (numbers.size() != 4) return "--limits needs XMIN XMAX YMIN YMAX";
      out.limits = std::array<double, 4>{numbers[0], numbers[1], numbers[2], numbers[3]};
    } else if (arg == "--step" || arg == "--dpi") {
      if (auto error = takeNumbers(1); !error.empty()) return error;
      if (numbers.size() != 1) return arg + " needs a number";
      const bool step = arg == "--step";
      const double lo = step ? 0 : 10, hi = step ? DigitLimits::kMaxStep : 2400;
      if (numbers[0] < lo || numbers[0] > hi)
        return arg + " must lie between " + std::to_string(static_cast<int>(lo)) + " and " +
               std::to_string(static_cast<int>(hi));
      (step ? out.step : out.dpi) = static_cast<int>(numbers[0]);
    } else {
      return "unknown option '" + arg + "'";
    }
  }
  if (out.files.size() != 2) return "IMAGE and OUT.tmr are needed";
  if (!out.colour) return "--color is needed";
  if (out.polygons.empty()) return "--region or --polygon is needed";
  if (!out.limits) return "--limits is needed";
  return {};
}

// Sets linear scales on both axes so that the picture, stretched over the
// page as the document draws it, lies under the series: the region's edges
// take the limits' values at the page positions where the picture shows
// them (pixel centres, as the tracer reports pixels). False, leaving the
// axes, when the limits run backwards or the picture cannot be placed.
bool AlignAxesWithPicture(CMainDoc& doc, const QtPicture& picture, const Rect& box, double xMin,
                          double xMax, double yMin, double yMax) {
  if (!(xMax > xMin) || !(yMax > yMin)) return false;
  DocumentData& data = doc.Data();
  const PicturePlacement at = PlacePicture(picture.PixelSize(), picture.NaturalSize(), PageRectOf(data),
                                           data.editor.pictureStretched != 0, data.editor.pictureCentred != 0);
  if (at.IsEmpty()) return false;
  const Rect dest = at.dest.Normalized();
  const auto pageX = [&](double px) {
    return dest.left + (px + 0.5 - at.sourceLeft) * dest.Width() / at.sourceWidth;
  };
  const auto pageY = [&](double py) {
    return dest.top - (py + 0.5 - at.sourceTop) * dest.Height() / at.sourceHeight;
  };
  // Pixel space has y down: the box's "bottom" field is its upper edge.
  const auto fit = [](CAxeScale& scale, double plotLow, double plotHigh, double vLow, double vHigh) {
    const auto u = [&](double plot) {
      const double cm = plot * 0.001 * 25.4;
      return scale.direction >= 0 ? cm - scale.lo : scale.hi - cm;
    };
    const double k = (vHigh - vLow) / (u(plotHigh) - u(plotLow));
    if (!(k > 0) || !std::isfinite(k)) return false;
    scale.type = CAxeScale::kLinear;
    scale.k = k;
    scale.b = vLow - k * u(plotLow);
    scale.Normalise();
    return true;
  };
  CAxeScale x = data.axisX.scale;
  CAxeScale y = data.axisY.scale;
  if (!fit(x, pageX(box.left), pageX(box.right), xMin, xMax) ||
      !fit(y, pageY(box.top), pageY(box.bottom), yMin, yMax))
    return false;
  data.axisX.scale = x;
  data.axisY.scale = y;
  return true;
}

int RunDigitize(const std::vector<std::string>& args, CommandIo& io) {
  DigitizeArgs a;
  if (const std::string error = Parse(args, a); !error.empty()) {
    io.err << "tracemont-cli digitize: " << error << "\n" << kUsage;
    return 2;
  }
  const auto app = MakeGuiApplication();
  std::error_code ec;
  const std::string image = std::filesystem::absolute(a.files[0], ec).string();
  const QtPicture picture(LoadPictureFile(image));
  const PixelBuffer pixels = ToPixelBuffer(picture.Image());
  if (pixels.IsEmpty()) {
    io.err << "tracemont-cli digitize: cannot read the picture '" << a.files[0] << "'\n";
    return 2;
  }
  const auto& [xMin, xMax, yMin, yMax] = *a.limits;
  const std::vector<DotValue> values =
      DigitizeImage(pixels, *a.colour, a.polygons, xMin, xMax, yMin, yMax, a.step, a.dpi);
  if (values.empty()) {
    io.err << "tracemont-cli digitize: no point of that colour inside the region\n";
    return 1;
  }

  CMainDoc doc;
  doc.Data().editor.pictureFile = image;
  doc.Data().editor.pictureShown = 1;
  SeriesStyle style;
  style.colourCommand = *a.colour;
  CPlotDot* series = doc.NewSeriesFromValues(values, style, source::kDigitized, FileNameOf(image));
  if (series == nullptr) {
    io.err << "tracemont-cli digitize: no series could be created\n";
    return 2;
  }
  // The picture is drawn behind the series: with the axes aligned to it the
  // traced points lie on the curve they came from. Limits that run backwards
  // get axes fitted to them instead.
  if (AlignAxesWithPicture(doc, picture, SelectedRegion(a.polygons).Bounds(), xMin, xMax, yMin, yMax)) {
    doc.ChangedWithOutlines();
  } else {
    const bool xChanged = doc.Data().axisX.FitToValues(std::min(xMin, xMax), std::max(xMin, xMax));
    const bool yChanged = doc.Data().axisY.FitToValues(std::min(yMin, yMax), std::max(yMin, yMax));
    if (xChanged || yChanged) doc.ChangedWithOutlines();
  }
  const FileResult saved = doc.Save(a.files[1]);
  if (!saved.ok) {
    io.err << "tracemont-cli digitize: " << saved.message << "\n";
    return 2;
  }
  io.out << "digitized " << values.size() << " points\n";
  return 0;
}

const CommandRegistration kDigitize{
    {"digitize",
     "digitize IMAGE OUT.tmr --color C --region X1 Y1 X2 Y2 --limits XMIN XMAX YMIN YMAX  trace a curve "
     "of a picture into a new series",
     RunDigitize}};

}  // namespace
}  // namespace tracemont::cli
