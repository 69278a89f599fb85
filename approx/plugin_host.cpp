#include "approx/plugin_host.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace tracemont {
namespace {

namespace fs = std::filesystem;

// The host is process-wide by design: one program folder, libraries that
// stay loaded.
struct HostState {
  std::string folder;
  std::map<std::string, PluginEntryPoints> bound;  // by resolved path
};

HostState& Host() {
  static HostState state;
  return state;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The file in the folder that stands for `fileName`: the name itself, or the
// same base name as a shared object of this platform.
std::optional<fs::path> ResolveFile(const std::string& fileName) {
  const std::string& folder = Host().folder;
  if (folder.empty() || fileName.empty() || fileName.find('/') != std::string::npos) return std::nullopt;
  std::error_code error;
  const fs::path exact = fs::path(folder) / fileName;
  if (fs::is_regular_file(exact, error)) return exact;
  const std::string base = Lower(fs::path(fileName).stem().string());
  const std::string wanted[] = {base + ".so", "lib" + base + ".so", Lower(fileName)};
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (!entry.is_regular_file(error)) continue;
    const std::string name = Lower(entry.path().filename().string());
    if (std::find(std::begin(wanted), std::end(wanted), name) != std::end(wanted)) return entry.path();
  }
  return std::nullopt;
}

template <class F>
F Lookup(void* module, const char* name) {
  return reinterpret_cast<F>(dlsym(module, name));
}

std::optional<PluginEntryPoints> BindPath(const fs::path& path) {
  HostState& host = Host();
  const std::string key = path.string();
  if (const auto it = host.bound.find(key); it != host.bound.end()) return it->second;
  void* module = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) return std::nullopt;  // not a library (a text file named like one)
  PluginEntryPoints entry;
  entry.maxOfFactors = Lookup<decltype(entry.maxOfFactors)>(module, "MaxOfFactors");
  entry.prepare = Lookup<decltype(entry.prepare)>(module, "Prepare");
  entry.calcInPoint = Lookup<decltype(entry.calcInPoint)>(module, "CalcInPoint");
  entry.functionTitle = Lookup<decltype(entry.functionTitle)>(module, "FunctionTitle");
  entry.functionName = Lookup<decltype(entry.functionName)>(module, "FunctionName");
  entry.functionString = Lookup<decltype(entry.functionString)>(module, "FunctionString");
  entry.paramInfo = Lookup<decltype(entry.paramInfo)>(module, "ParamInfo");
  host.bound.emplace(key, entry);
  return entry;
}

std::optional<PluginEntryPoints> Bind(const std::string& fileName) {
  const auto path = ResolveFile(fileName);
  if (!path) return std::nullopt;
  return BindPath(*path);
}

std::string Text(int (*fn)(char*, int)) {
  if (!fn) return {};
  char buffer[256] = {};
  const int n = fn(buffer, 255);
  if (n <= 0) return {};
  buffer[255] = '\0';
  return std::string(buffer, static_cast<std::size_t>(std::min(n, 255)));
}

}  // namespace

CApprPlugin::CApprPlugin(const std::string& fileName) {
  if (const auto entry = Bind(fileName)) entry_ = *entry;
}

std::string CApprPlugin::Title() const { return Text(entry_.functionTitle); }
std::string CApprPlugin::Name() const { return Text(entry_.functionName); }

void InstallPluginHost(const std::string& programFolder) {
  Host().folder = programFolder.empty() ? std::string() : (fs::path(programFolder) / "Appr").string();
  SetPluginBinder([](const std::string& fileName) { return Bind(fileName); });
}

std::string PluginFolder() { return Host().folder; }

PluginListing DiscoverPlugins() {
  PluginListing listing;
  const std::string& folder = Host().folder;
  if (folder.empty()) return listing;
  std::error_code error;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (!entry.is_directory(error)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    const auto entry = BindPath(file);
    if (!entry || !entry->IsValid()) continue;
    listing.names.push_back(file.filename().string());
    listing.titles.push_back(Text(entry->functionTitle));
  }
  return listing;
}

void SelectPlugin(const std::string& fileName, PluginParameters& parameters) {
  const CApprPlugin plugin(fileName);
  if (!plugin.IsValid() || !plugin.Entry().paramInfo) return;
  for (int i = 1; i <= 4; ++i) {
    char buffer[256] = {};
    double value = parameters.values[static_cast<std::size_t>(i - 1)];
    const int n = plugin.Entry().paramInfo(i, buffer, 255, &value);
    buffer[255] = '\0';
    parameters.values[static_cast<std::size_t>(i - 1)] = value;
    if (n > 0) parameters.labels[static_cast<std::size_t>(i - 1)] = std::string(buffer, static_cast<std::size_t>(std::min(n, 255)));
  }
}

std::optional<std::string> ResolvePlugin(const PluginListing& listing, int index) {
  if (index < 0 || index >= static_cast<int>(listing.names.size())) return std::nullopt;
  const std::string& name = listing.names[static_cast<std::size_t>(index)];
  if (!CApprPlugin(name).IsValid()) return std::nullopt;
  return name;
}

}  // namespace tracemont
