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
#include "cli/json.h"
#include "formula/formula_calc.h"

namespace tracemont::cli {
namespace {

std::string Number(double v) {
  if (std::isnan(v)) return "\"nan\"";
  if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string ErrorLine(const std::string& message) {
  return "{\"ok\":false,\"error\":" + JsonQuote(message) + "}";
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
  return std::string("{\"ok\":") + (ok ? "true" : "false") + result + ",\"buffer\":" + JsonQuote(text) +
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
      answer = Answer(calc, ParseJson(line));
    } catch (const JsonError& e) {
      answer = ErrorLine("invalid JSON at column " + std::to_string(e.column) + ": " + e.what);
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
