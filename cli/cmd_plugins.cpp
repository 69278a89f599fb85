// tracemont-cli plugins: the valid approximation plug-ins of the folder
// "Appr" beside the program, with their titles and shape parameters.
#include <ostream>

#include "approx/plugin_host.h"
#include "cli/command.h"
#include "model/text.h"

namespace tracemont::cli {
namespace {

int RunPlugins(const std::vector<std::string>& args, CommandIo& io) {
  if (!args.empty()) {
    io.err << "usage: tracemont-cli plugins\n";
    return 2;
  }
  const PluginListing listing = DiscoverPlugins();
  if (listing.names.empty()) {
    io.out << "no plug-ins in " << PluginFolder() << "\n";
    return 0;
  }
  for (std::size_t i = 0; i < listing.names.size(); ++i) {
    io.out << listing.names[i] << "\t" << listing.titles[i] << "\n";
    PluginParameters parameters;
    SelectPlugin(listing.names[i], parameters);
    for (std::size_t k = 0; k < parameters.labels.size(); ++k)
      io.out << "  " << parameters.labels[k] << " = " << StrFormat("%g", parameters.values[k]) << "\n";
  }
  return 0;
}

const CommandRegistration kPlugins{
    {"plugins", "plugins  list the approximation plug-ins of Appr/ with their parameters", RunPlugins}};

}  // namespace
}  // namespace tracemont::cli
