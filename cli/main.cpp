// tracemont-cli: the batch face of the core. Every subsystem exposes its
// logic here so it can be scripted and checked without the desktop program.
#include <algorithm>
#include <exception>
#include <iostream>

#include "cli/command.h"

namespace tracemont::cli {
namespace {

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
