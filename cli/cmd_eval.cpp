// tracemont-cli eval: the formula evaluator over JSON lines. Each line of
// standard input is one request, each answer one line of standard output:
//
//   {"entry":"CalcUV"|"CalcWithParams"|"CheckOnRange"|"CheckWithParams"|
//            "CheckUV"|"Tabulate", "text":..., "u":..., "v":...,
//    "params":[a,b,c,d], "uMin":..., "uMax":..., "n":...}
//   -> {"ok":true|false, "value":... | "values":[...], "buffer":...}
//
// "buffer" is what the entry point leaves in the caller's text: the cleaned
// formula after a successful call, the message after a failed check. All
// requests share the program's one evaluator. Numbers missing from a request
// are 0; non-finite numbers are written (and may be given) as "nan", "inf",
// "-inf". A line that is no valid request is answered with
// {"ok":false,"error":...} and the run goes on; blank lines are skipped.
#include <cmath>
#include <cstdio>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/command.h"
#include "formula/formula_calc.h"
#include "formula/formula_syntax.h"

namespace tracemont::cli {
namespace {

// --- A small JSON reader: one value per line, strict grammar. ---

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

struct JsonError {
  std::string message;
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  // The one value of the text; throws JsonError.
  JsonValue ReadDocument() {
    JsonValue value = ReadValue(0);
    SkipSpace();
    if (pos_ != text_.size()) Fail("unexpected text after the value");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const std::string& what) const {
    throw JsonError{"invalid JSON at column " + std::to_string(pos_ + 1) + ": " + what};
  }

  void SkipSpace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }

  bool Take(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }

  JsonValue ReadValue(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    SkipSpace();
    if (pos_ >= text_.size()) Fail("missing value");
    JsonValue v;
    const char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      v.kind = JsonValue::Kind::kObject;
      if (Take('}')) return v;
      do {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a member name");
        std::string key = ReadString();
        Expect(':');
        v.members.emplace_back(std::move(key), ReadValue(depth + 1));
      } while (Take(','));
      Expect('}');
      return v;
    }
    if (c == '[') {
      ++pos_;
      v.kind = JsonValue::Kind::kArray;
      if (Take(']')) return v;
      do v.items.push_back(ReadValue(depth + 1));
      while (Take(','));
      Expect(']');
      return v;
    }
    if (c == '"') {
      v.kind = JsonValue::Kind::kString;
      v.text = ReadString();
      return v;
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      v.kind = JsonValue::Kind::kNumber;
      v.number = ReadNumber();
      return v;
    }
    for (const auto& [word, kind, flag] :
         {std::tuple{"true", JsonValue::Kind::kBool, true},
          std::tuple{"false", JsonValue::Kind::kBool, false},
          std::tuple{"null", JsonValue::Kind::kNull, false}}) {
      const std::string_view w(word);
      if (text_.substr(pos_, w.size()) == w) {
        pos_ += w.size();
        v.kind = kind;
        v.boolean = flag;
        return v;
      }
    }
    Fail("unexpected character");
  }

  double ReadNumber() {
    const std::size_t start = pos_;
    auto digits = [this] {
      const std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (text_[pos_] == '-') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0')
      ++pos_;
    else if (!digits())
      Fail("bad number");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!digits()) Fail("bad number");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) Fail("bad number");
    }
    return formula::NumberValue(text_.substr(start, pos_ - start));
  }

  unsigned ReadHex4() {
    if (pos_ + 4 > text_.size()) Fail("bad \\u escape");
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[pos_++];
      code <<= 4;
      if (h >= '0' && h <= '9')
        code |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f')
        code |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F')
        code |= static_cast<unsigned>(h - 'A' + 10);
      else
        Fail("bad \\u escape");
    }
    return code;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string ReadString() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code = ReadHex4();
          if (code >= 0xD800 && code <= 0xDBFF) {
            if (text_.substr(pos_, 2) != "\\u") Fail("lone surrogate");
            pos_ += 2;
            const unsigned low = ReadHex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("lone surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            Fail("lone surrogate");
          }
          AppendUtf8(out, code);
          break;
        }
        default: Fail("bad escape");
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// --- Writing answers. ---

// Length of the valid UTF-8 sequence at the start of `s`, 0 if none.
std::size_t Utf8Length(std::string_view s) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  std::size_t n = 0;
  unsigned min = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  unsigned code = c & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

// A JSON string. Formula texts are byte strings: valid UTF-8 passes through,
// any other byte is written as the character of the same code.
std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(s.substr(i)); n > 0) {
        out.append(s.substr(i, n));
        i += n;
        continue;
      }
    }
    ++i;
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Number(double v) {
  if (std::isnan(v)) return "\"nan\"";
  if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string ErrorLine(const std::string& message) {
  return "{\"ok\":false,\"error\":" + Quote(message) + "}";
}

// --- Requests. ---

struct RequestError {
  std::string message;
};

double NumberOf(const JsonValue& v, std::string_view name) {
  if (v.kind == JsonValue::Kind::kNumber) return v.number;
  if (v.kind == JsonValue::Kind::kString) {
    if (v.text == "nan") return std::nan("");
    if (v.text == "inf") return HUGE_VAL;
    if (v.text == "-inf") return -HUGE_VAL;
  }
  throw RequestError{"\"" + std::string(name) + "\" must hold numbers, \"nan\", \"inf\" or \"-inf\""};
}

double NumberField(const JsonValue& request, std::string_view name) {
  const JsonValue* v = request.Find(name);
  return v == nullptr ? 0.0 : NumberOf(*v, name);
}

std::optional<CFormulaCalc::Params> ParamsField(const JsonValue& request) {
  const JsonValue* v = request.Find("params");
  if (v == nullptr) return std::nullopt;
  if (v->kind != JsonValue::Kind::kArray || v->items.size() != 4)
    throw RequestError{"\"params\" must be an array of 4 numbers"};
  CFormulaCalc::Params params{};
  for (std::size_t i = 0; i < 4; ++i) params[i] = NumberOf(v->items[i], "params");
  return params;
}

constexpr int kMaxTabulatePoints = 10'000'000;

std::string Answer(CFormulaCalc& calc, const JsonValue& request) {
  if (request.kind != JsonValue::Kind::kObject) throw RequestError{"a request is a JSON object"};
  const JsonValue* entry = request.Find("entry");
  if (entry == nullptr || entry->kind != JsonValue::Kind::kString)
    throw RequestError{"\"entry\" must name an entry point"};
  const JsonValue* textField = request.Find("text");
  if (textField == nullptr || textField->kind != JsonValue::Kind::kString)
    throw RequestError{"\"text\" must be a string"};
  std::string text = textField->text;
  const double u = NumberField(request, "u");
  const double v = NumberField(request, "v");
  const double uMin = NumberField(request, "uMin");
  const double uMax = NumberField(request, "uMax");
  const std::optional<CFormulaCalc::Params> params = ParamsField(request);
  const std::string& name = entry->text;
  auto requiredParams = [&]() -> const CFormulaCalc::Params& {
    if (!params) throw RequestError{name + " needs \"params\""};
    return *params;
  };

  bool ok = false;
  std::string result;  // ,"value":... or ,"values":[...]
  if (name == "CalcUV" || name == "CalcWithParams") {
    double value = 0.0;
    const CFormulaCalc::Params* p = params ? &*params : nullptr;
    ok = name == "CalcUV" ? calc.CalcUV(text, u, v, p, value)
                          : calc.CalcWithParams(text, p, u, value);
    if (ok) result = ",\"value\":" + Number(value);
  } else if (name == "CheckOnRange") {
    ok = calc.CheckOnRange(text, uMin, uMax);
  } else if (name == "CheckWithParams") {
    ok = calc.CheckWithParams(text, requiredParams());
  } else if (name == "CheckUV") {
    ok = calc.CheckUV(text, u, v, requiredParams());
  } else if (name == "Tabulate") {
    const double n = NumberField(request, "n");
    if (n != std::trunc(n) || std::fabs(n) > kMaxTabulatePoints)
      throw RequestError{"\"n\" must be an integer of at most " + std::to_string(kMaxTabulatePoints)};
    const int intervals = static_cast<int>(n);
    std::vector<double> values(intervals >= 1 ? static_cast<std::size_t>(intervals) + 1 : 0);
    ok = calc.Tabulate(text, uMin, uMax, values, intervals, v);
    if (ok) {
      result = ",\"values\":[";
      for (std::size_t i = 0; i < values.size(); ++i) result += (i ? "," : "") + Number(values[i]);
      result += "]";
    }
  } else {
    throw RequestError{"unknown entry \"" + name + "\""};
  }
  return std::string("{\"ok\":") + (ok ? "true" : "false") + result + ",\"buffer\":" + Quote(text) +
         "}";
}

int RunEval(const std::vector<std::string>& args, CommandIo& io) {
  if (!args.empty()) {
    io.err << "usage: tracemont-cli eval < requests.jsonl   (one JSON request per line)\n";
    return 2;
  }
  CFormulaCalc& calc = CFormulaCalc::Instance();
  std::string line;
  while (std::getline(io.in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::string answer;
    try {
      answer = Answer(calc, JsonReader(line).ReadDocument());
    } catch (const JsonError& e) {
      answer = ErrorLine(e.message);
    } catch (const RequestError& e) {
      answer = ErrorLine(e.message);
    }
    io.out << answer << '\n' << std::flush;
  }
  return 0;
}

const CommandRegistration kEval{
    {"eval",
     "eval  evaluate formulas: JSON requests on standard input, one answer per line",
     RunEval}};

}  // namespace
}  // namespace tracemont::cli
