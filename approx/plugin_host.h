// The plug-in host: finds approximation plug-ins in the folder "Appr"
// beside the program, binds their seven entry points by name, lists them
// with their titles and gives the parameter labels and defaults of one.
//
// Libraries are loaded on first use and stay loaded until the process ends.
// A document may name a library of another system ("Gradus.dll"): when that
// file is absent, the same base name with the ".so" suffix, with or without
// a "lib" prefix, is looked for, ignoring case.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "approx/plugin_method.h"

namespace tracemont {

// The binding of one library.
class CApprPlugin {
 public:
  // Binds `fileName` (no path) from the plug-in folder; not valid when the
  // file is missing, does not load or lacks MaxOfFactors or Prepare.
  explicit CApprPlugin(const std::string& fileName);

  bool IsValid() const { return entry_.IsValid(); }
  const PluginEntryPoints& Entry() const { return entry_; }
  // FunctionTitle / FunctionName texts (255-byte buffers); "" when absent.
  std::string Title() const;
  std::string Name() const;

 private:
  PluginEntryPoints entry_;
};

// Installs the host: plug-ins are looked for in `programFolder` + "/Appr".
// Until it is called, every plug-in counts as missing.
void InstallPluginHost(const std::string& programFolder);
// The folder searched, "" before InstallPluginHost.
std::string PluginFolder();

// The valid plug-ins of the folder, in file-name order, with their titles.
struct PluginListing {
  std::vector<std::string> names;
  std::vector<std::string> titles;
};
PluginListing DiscoverPlugins();

// The four shape parameters of a plug-in as its page shows them.
struct PluginParameters {
  std::array<std::string, 4> labels{"Param1", "Param2", "Param3", "Param4"};
  std::array<double, 4> values{};
};
// Selecting a plug-in: each ParamInfo that answers renames its label and
// resets its value to the library's default. Nothing changes for an invalid
// library or a parameter it does not describe.
void SelectPlugin(const std::string& fileName, PluginParameters& parameters);

// The file name of entry `index` of a listing and whether it is valid.
std::optional<std::string> ResolvePlugin(const PluginListing& listing, int index);

}  // namespace tracemont
