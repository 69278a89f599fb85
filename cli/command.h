// Subcommands of tracemont-cli. Each subcommand lives in its own file and
// registers itself with a static CommandRegistration, so adding one needs no
// edit elsewhere.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tracemont::cli {

struct CommandIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Runs with the arguments after the subcommand name; returns the exit code.
// Errors are printed to io.err and give a non-zero code; nothing may throw out.
using CommandFn = std::function<int(const std::vector<std::string>& args, CommandIo& io)>;

struct Command {
  std::string name;
  std::string synopsis;  // one line for --help
  CommandFn run;
};

std::vector<Command>& Commands();

struct CommandRegistration {
  explicit CommandRegistration(Command command) { Commands().push_back(std::move(command)); }
};

// Reads "--name value" options. Unknown options and missing values are errors.
class OptionReader {
 public:
  OptionReader(const std::vector<std::string>& args, std::vector<std::string> known);
  // Empty when the arguments were well formed, else the error text.
  const std::string& Error() const { return error_; }
  std::optional<std::string> Text(const std::string& name) const;
  // Reads a number; sets the error text when present but not a number.
  std::optional<double> Number(const std::string& name);
  std::optional<double> RequiredNumber(const std::string& name);

 private:
  std::vector<std::pair<std::string, std::string>> values_;
  std::string error_;
};

// Parses a whole argument as a finite or infinite double; nullopt when it is not one.
std::optional<double> ParseNumber(const std::string& text);

}  // namespace tracemont::cli
