// Scale arithmetic from the command line: scale, nice, labelformat.
#include <charconv>
#include <ostream>

#include "cli/command.h"
#include "model/axes.h"

namespace tracemont::cli {
namespace {

// The shortest text that reads back as the same double.
std::string Format(double v) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, result.ptr);
}

int RunScale(const std::vector<std::string>& args, CommandIo& io) {
  OptionReader opts(args, {"k", "b", "type", "base", "lo", "hi", "value", "direction"});
  const auto k = opts.Number("k");
  const auto b = opts.Number("b");
  const auto type = opts.Number("type");
  const auto base = opts.Number("base");
  const auto lo = opts.Number("lo");
  const auto hi = opts.Number("hi");
  const auto direction = opts.Number("direction");
  const auto value = opts.RequiredNumber("value");
  if (!opts.Error().empty()) {
    io.err << "tracemont-cli scale: " << opts.Error() << "\n";
    return 2;
  }
  if (type && *type != 0 && *type != 1) {
    io.err << "tracemont-cli scale: --type must be 0 (linear) or 1 (logarithmic)\n";
    return 2;
  }
  CAxeScale scale(k.value_or(1.0), b.value_or(0.0), lo.value_or(0.0), hi.value_or(1.0),
                  direction && *direction < 0 ? -1 : 1, type ? static_cast<int>(*type) : 0,
                  base.value_or(2.0));
  const double distance = scale.ToDistance(*value);
  const int plot = scale.ToPlot(*value);
  io.out << "distance_cm " << Format(distance) << "\n"
         << "plot_units " << plot << "\n"
         << "value_back " << Format(scale.FromPlot(plot)) << "\n"
         << "normalised k=" << Format(scale.k) << " b=" << Format(scale.b)
         << " base=" << Format(scale.base) << " lo=" << Format(scale.lo)
         << " hi=" << Format(scale.hi) << "\n";
  return 0;
}

int RunNice(const std::vector<std::string>& args, CommandIo& io) {
  const auto v = args.size() == 2 ? ParseNumber(args[0]) : std::nullopt;
  const auto mode = args.size() == 2 ? ParseNumber(args[1]) : std::nullopt;
  if (!v || !mode || (*mode != -1 && *mode != 0 && *mode != 1)) {
    io.err << "usage: tracemont-cli nice V MODE   (MODE -1 down, 0 nearest, 1 up)\n";
    return 2;
  }
  io.out << Format(Nice(*v, static_cast<int>(*mode))) << "\n";
  return 0;
}

int RunLabelFormat(const std::vector<std::string>& args, CommandIo& io) {
  const auto step = args.size() == 1 ? ParseNumber(args[0]) : std::nullopt;
  if (!step) {
    io.err << "usage: tracemont-cli labelformat STEP\n";
    return 2;
  }
  io.out << LabelFormat(*step) << "\n";
  return 0;
}

const CommandRegistration kScale{
    {"scale",
     "scale --value V [--k K --b B --type 0|1 --base BASE --lo LO --hi HI --direction 1|-1]"
     "  value to distance (cm), page position (plot units) and back",
     RunScale}};
const CommandRegistration kNice{
    {"nice", "nice V MODE  round V for axis starts and scales (MODE -1, 0, 1)", RunNice}};
const CommandRegistration kLabelFormat{
    {"labelformat", "labelformat STEP  printf format of tick labels for a tick step", RunLabelFormat}};

}  // namespace
}  // namespace tracemont::cli
