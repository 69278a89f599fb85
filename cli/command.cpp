#include "cli/command.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace tracemont::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0') return std::nullopt;
  return value;
}

OptionReader::OptionReader(const std::vector<std::string>& args, std::vector<std::string> known) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      error_ = "unexpected argument '" + a + "'";
      return;
    }
    const std::string name = a.substr(2);
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      error_ = "unknown option '" + a + "'";
      return;
    }
    if (i + 1 >= args.size()) {
      error_ = "option '" + a + "' needs a value";
      return;
    }
    values_.emplace_back(name, args[++i]);
  }
}

std::optional<std::string> OptionReader::Text(const std::string& name) const {
  for (auto it = values_.rbegin(); it != values_.rend(); ++it)
    if (it->first == name) return it->second;
  return std::nullopt;
}

std::optional<double> OptionReader::Number(const std::string& name) {
  const auto text = Text(name);
  if (!text) return std::nullopt;
  const auto value = ParseNumber(*text);
  if (!value && error_.empty()) error_ = "--" + name + " is not a number: '" + *text + "'";
  return value;
}

std::optional<double> OptionReader::RequiredNumber(const std::string& name) {
  if (!Text(name)) {
    if (error_.empty()) error_ = "missing --" + name;
    return std::nullopt;
  }
  return Number(name);
}

}  // namespace tracemont::cli
