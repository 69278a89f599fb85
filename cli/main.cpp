// tracemont-cli: the batch face of the core. Every subsystem exposes its
// logic here so it can be scripted and checked without the desktop program.
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>

#include "approx/plugin_host.h"
#include "cli/command.h"

namespace tracemont::cli {
namespace {

// The folder of this program: plug-ins and data live beside it.
std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

void PrintHelp(std::ostream& out) {
  out << "Usage: tracemont-cli <command> [arguments]\n"
         "       tracemont-cli --version | --help\n\n"
         "Commands:\n";
  std::vector<Command> commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  for (const Command& c : commands) out << "  " << c.synopsis << "\n";
}

}  // namespace
}  // namespace tracemont::cli

int main(int argc, char** argv) {
  using namespace tracemont::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  tracemont::InstallPluginHost(ProgramFolder());
  if (args.empty()) {
    PrintHelp(std::cerr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(std::cout);
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "tracemont-cli " << TM_VERSION << "\n";
    return 0;
  }
  for (const Command& c : Commands()) {
    if (c.name != args[0]) continue;
    CommandIo io{std::cin, std::cout, std::cerr};
    try {
      return c.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
    } catch (const std::exception& e) {
      std::cerr << "tracemont-cli " << c.name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "tracemont-cli: unknown command '" << args[0] << "' (see --help)\n";
  return 2;
}
