// The JSON of the batch commands: a strict reader of one value per text
// and the quoting of strings for the answers.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tracemont::cli {

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;

  // The member of an object (the last one when repeated); nullptr if none.
  const JsonValue* Find(std::string_view name) const {
    const JsonValue* found = nullptr;
    for (const auto& [key, value] : members)
      if (key == name) found = &value;
    return found;
  }
};

// A text that is not JSON: where (1-based column) and what is wrong.
struct JsonError {
  std::size_t column;
  std::string what;
};

// The one value of `text` (strict grammar, nesting up to 64 deep); throws
// JsonError. Numbers are read with "." whatever the locale.
JsonValue ParseJson(std::string_view text);

// A JSON string: valid UTF-8 passes through, any other byte is written as the
// character of the same code, control characters escaped.
std::string JsonQuote(std::string_view s);

}  // namespace tracemont::cli
