// fit: fitting, evaluation, texts and sampling of functions as JSON lines.
// Each line on standard input is one request object with an "op"; each gets
// one answer line. A malformed request is answered with {"error": ...} and
// the run goes on. Non-finite numbers travel as the strings "nan", "inf"
// and "-inf", both ways.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "approx/approx.h"
#include "approx/correlation.h"
#include "approx/func_params.h"
#include "cli/command.h"
#include "cli/json.h"
#include "model/text.h"

namespace tracemont::cli {
namespace {

// --- a small JSON value -----------------------------------------------------

struct Json;
using JsonArray = std::vector<Json>;
using JsonObject = std::map<std::string, Json, std::less<>>;

struct Json {
  std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>,
               std::shared_ptr<JsonObject>>
      value = nullptr;

  Json() = default;
  Json(bool b) : value(b) {}
  Json(double d) : value(d) {}
  Json(int i) : value(static_cast<double>(i)) {}
  Json(std::string s) : value(std::move(s)) {}
  Json(const char* s) : value(std::string(s)) {}
  Json(JsonArray a) : value(std::make_shared<JsonArray>(std::move(a))) {}
  Json(JsonObject o) : value(std::make_shared<JsonObject>(std::move(o))) {}

  const JsonArray* Array() const {
    const auto* p = std::get_if<std::shared_ptr<JsonArray>>(&value);
    return p ? p->get() : nullptr;
  }
  const JsonObject* Object() const {
    const auto* p = std::get_if<std::shared_ptr<JsonObject>>(&value);
    return p ? p->get() : nullptr;
  }
  const std::string* String() const { return std::get_if<std::string>(&value); }
  // A number, or one of the strings that stand for non-finite numbers.
  std::optional<double> Number() const {
    if (const double* d = std::get_if<double>(&value)) return *d;
    if (const std::string* s = String()) {
      if (*s == "nan") return std::nan("");
      if (*s == "inf") return HUGE_VAL;
      if (*s == "-inf") return -HUGE_VAL;
    }
    return std::nullopt;
  }
};

// A request that cannot be answered; its text becomes the error answer.
struct RequestError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Requests are read by the batch tool's JSON reader; answers are built as
// Json values.
Json FromParsed(const JsonValue& v) {
  switch (v.kind) {
    case JsonValue::Kind::kNull: return Json();
    case JsonValue::Kind::kBool: return Json(v.boolean);
    case JsonValue::Kind::kNumber: return Json(v.number);
    case JsonValue::Kind::kString: return Json(v.text);
    case JsonValue::Kind::kArray: {
      JsonArray array;
      array.reserve(v.items.size());
      for (const JsonValue& item : v.items) array.push_back(FromParsed(item));
      return array;
    }
    case JsonValue::Kind::kObject: {
      JsonObject object;
      for (const auto& [name, member] : v.members) object[name] = FromParsed(member);
      return object;
    }
  }
  return Json();
}

Json ReadRequest(std::string_view line) {
  try {
    return FromParsed(ParseJson(line));
  } catch (const JsonError& e) {
    throw RequestError("malformed JSON at offset " + std::to_string(e.column - 1) + ": " + e.what);
  }
}

void WriteString(std::ostream& out, const std::string& s) { out << JsonQuote(s); }

void WriteNumber(std::ostream& out, double v) {
  if (std::isnan(v)) {
    out << "\"nan\"";
  } else if (std::isinf(v)) {
    out << (v > 0 ? "\"inf\"" : "\"-inf\"");
  } else {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    out.write(buf, result.ptr - buf);
  }
}

void Write(std::ostream& out, const Json& json) {
  if (std::holds_alternative<std::nullptr_t>(json.value)) {
    out << "null";
  } else if (const bool* b = std::get_if<bool>(&json.value)) {
    out << (*b ? "true" : "false");
  } else if (const double* d = std::get_if<double>(&json.value)) {
    WriteNumber(out, *d);
  } else if (const std::string* s = json.String()) {
    WriteString(out, *s);
  } else if (const JsonArray* a = json.Array()) {
    out << '[';
    for (std::size_t i = 0; i < a->size(); ++i) {
      if (i) out << ',';
      Write(out, (*a)[i]);
    }
    out << ']';
  } else if (const JsonObject* o = json.Object()) {
    out << '{';
    bool first = true;
    for (const auto& [name, value] : *o) {
      if (!first) out << ',';
      first = false;
      WriteString(out, name);
      out << ':';
      Write(out, value);
    }
    out << '}';
  }
}

// --- reading request fields ---------------------------------------------------

const Json* Member(const JsonObject& request, std::string_view name) {
  const auto it = request.find(name);
  return it == request.end() ? nullptr : &it->second;
}

double NumberOf(const Json& json, const std::string& what) {
  const auto number = json.Number();
  if (!number) throw RequestError(what + " must be a number");
  return *number;
}

int IntOf(const Json& json, const std::string& what) {
  const double v = NumberOf(json, what);
  if (!(v >= -2147483648.0 && v <= 2147483647.0)) throw RequestError(what + " is out of range");
  return static_cast<int>(v);
}

std::vector<double> NumbersOf(const Json& json, const std::string& what) {
  const JsonArray* array = json.Array();
  if (!array) throw RequestError(what + " must be an array of numbers");
  std::vector<double> out;
  out.reserve(array->size());
  for (const Json& item : *array) out.push_back(NumberOf(item, what + " entry"));
  return out;
}

DotValue PointOf(const Json& json, const std::string& what) {
  const std::vector<double> v = NumbersOf(json, what);
  if (v.size() < 2 || v.size() > 3) throw RequestError(what + " must be [x, y] or [x, y, z]");
  return DotValue(v[0], v[1], v.size() > 2 ? v[2] : 0.0);
}

std::vector<DotValue> PointsOf(const JsonObject& request, const char* name, bool required) {
  const Json* json = Member(request, name);
  if (!json) {
    if (required) throw RequestError(std::string("missing \"") + name + "\"");
    return {};
  }
  const JsonArray* array = json->Array();
  if (!array) throw RequestError(std::string("\"") + name + "\" must be an array of points");
  std::vector<DotValue> points;
  points.reserve(array->size());
  for (const Json& item : *array) points.push_back(PointOf(item, std::string("a point of \"") + name + "\""));
  return points;
}

FuncParams ParamsOf(const JsonObject& request) {
  const Json* json = Member(request, "params");
  if (!json) throw RequestError("missing \"params\"");
  return NumbersOf(*json, "\"params\"");
}

// (min X, min Y), (min X, max Y), (max X, max Y), (max X, min Y)
std::vector<DotValue> BoundingRange(double x0, double y0, double x1, double y1) {
  return {DotValue(x0, y0), DotValue(x0, y1), DotValue(x1, y1), DotValue(x1, y0)};
}

std::vector<DotValue> BoundingRange(const std::vector<DotValue>& points) {
  if (points.empty()) return BoundingRange(0, 0, 0, 0);
  double x0 = points[0].x, x1 = points[0].x, y0 = points[0].y, y1 = points[0].y;
  for (const DotValue& p : points) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  return BoundingRange(x0, y0, x1, y1);
}

JsonArray ToJson(const std::vector<double>& values) {
  return JsonArray(values.begin(), values.end());
}

JsonArray ToJson(const std::vector<std::string>& rows) {
  JsonArray out;
  for (const std::string& row : rows) out.emplace_back(row);
  return out;
}

// eval, describe0, describe1 and samples of a vector, added to `answer`.
void DescribeVector(const JsonObject& request, const FuncParams& params,
                    const std::vector<DotValue>& defaultRange, JsonObject& answer) {
  answer["pointwise"] = IsPointwise(params);
  JsonArray eval;
  if (const Json* json = Member(request, "eval")) {
    for (const double u : NumbersOf(*json, "\"eval\"")) eval.emplace_back(JsonArray{u, EvalFunction(params, u)});
  }
  answer["eval"] = eval;
  std::vector<std::string> rows;
  DescribeFunction(params, rows, 0);
  answer["describe0"] = ToJson(rows);
  DescribeFunction(params, rows, 1);
  answer["describe1"] = ToJson(rows);

  JsonArray samples;
  if (const Json* json = Member(request, "samples")) {
    const JsonArray* list = json->Array();
    if (!list) throw RequestError("\"samples\" must be an array of objects");
    for (const Json& item : *list) {
      const JsonObject* sampling = item.Object();
      if (!sampling) throw RequestError("\"samples\" must be an array of objects");
      DotValue a = defaultRange[0];
      DotValue c = defaultRange[2];
      if (const Json* j = Member(*sampling, "cornerA")) a = PointOf(*j, "\"cornerA\"");
      if (const Json* j = Member(*sampling, "cornerC")) c = PointOf(*j, "\"cornerC\"");
      const auto option = [&](const char* name, int fallback) {
        const Json* j = Member(*sampling, name);
        return j ? IntOf(*j, std::string("\"") + name + "\"") : fallback;
      };
      const int count = option("S", 100);
      // Keeps a request from asking for more memory than the machine has.
      if (count > 10'000'000) throw RequestError("\"S\" is larger than 10000000");
      std::vector<DotValue> curve;
      SampleCurve(params, a, c, curve, count, option("straight", 0) != 0, option("subdivide", 0),
                  option("centre", 0));
      JsonArray points;
      points.reserve(curve.size());
      for (const DotValue& p : curve) points.emplace_back(JsonArray{p.x, p.y});
      samples.emplace_back(std::move(points));
    }
  }
  answer["samples"] = samples;
}

void ReadApproxSettings(const JsonObject& request, CApprox& approx) {
  const Json* json = Member(request, "approx");
  if (!json) return;
  const JsonObject* settings = json->Object();
  if (!settings) throw RequestError("\"approx\" must be an object");
  const auto text = [&](const char* name) -> std::optional<std::string> {
    const Json* j = Member(*settings, name);
    if (!j) return std::nullopt;
    if (!j->String()) throw RequestError(std::string("\"") + name + "\" must be a string");
    return *j->String();
  };
  if (auto v = text("formula")) approx.formula = *v;
  if (auto v = text("argument")) approx.argumentName = *v;
  if (auto v = text("plugin")) approx.pluginFile = *v;
  if (const Json* j = Member(*settings, "start")) {
    const std::vector<double> start = NumbersOf(*j, "\"start\"");
    if (start.size() > 4) throw RequestError("\"start\" holds at most 4 values");
    approx.startValues = {};
    for (std::size_t i = 0; i < start.size(); ++i) approx.startValues[i] = start[i];
  }
  if (const Json* j = Member(*settings, "keep")) approx.keepParameters = IntOf(*j, "\"keep\"") != 0;
  if (const Json* j = Member(*settings, "settings")) approx.methodSettings = NumbersOf(*j, "\"settings\"");
}

JsonObject Fit(const JsonObject& request) {
  const std::vector<DotValue> points = PointsOf(request, "points", true);
  FuncParams params = ParamsOf(request);
  std::vector<DotValue> range = PointsOf(request, "range", false);
  if (Member(request, "range") && range.size() != 4)
    throw RequestError("\"range\" must hold 4 corner points");
  if (range.empty()) range = BoundingRange(points);
  CApprox approx(6);
  ReadApproxSettings(request, approx);
  JsonObject answer;
  answer["result"] = approx.FitFunction(points, params, range);
  answer["params"] = ToJson(params);
  DescribeVector(request, params, range, answer);
  return answer;
}

JsonObject Vector(const JsonObject& request) {
  const FuncParams params = ParamsOf(request);
  JsonObject answer;
  answer["valid"] = IsValidParams(params);
  const std::vector<DotValue> range =
      params.size() >= 7 ? BoundingRange(params[3], params[4], params[5], params[6])
                         : BoundingRange(0, 0, 0, 0);
  DescribeVector(request, params, range, answer);
  return answer;
}

JsonObject Stats(const JsonObject& request) {
  const std::vector<DotValue> points = PointsOf(request, "points", true);
  CApprox approx(6);
  approx.ComputeStats(points);
  JsonObject answer;
  answer["count"] = approx.count;
  const auto triple = [](const std::array<double, 3>& v) { return JsonArray{v[0], v[1], v[2]}; };
  answer["min"] = triple(approx.min);
  answer["max"] = triple(approx.max);
  answer["mean"] = triple(approx.mean);
  answer["deviation"] = triple(approx.deviation);
  answer["correlation"] = approx.correlation;
  JsonObject rows;
  std::vector<std::string> texts;
  for (int kind = 0; kind <= 8; ++kind) {
    approx.StatRows(kind, texts, 0);
    rows[std::to_string(kind)] = ToJson(texts);
  }
  answer["rows"] = rows;
  return answer;
}

JsonObject Interfacing(const JsonObject& request) {
  const std::vector<DotValue> points = PointsOf(request, "points", true);
  const Json* rows = Member(request, "rows");
  const Json* cols = Member(request, "cols");
  if (!rows || !cols) throw RequestError("missing \"rows\" or \"cols\"");
  CApprox approx(6);
  const double correlation = approx.ComputeStats(points);
  JsonObject answer;
  answer["value"] =
      InterfacingCoefficient(approx, points, IntOf(*rows, "\"rows\""), IntOf(*cols, "\"cols\""));
  answer["correlationText"] = FormatG(correlation);
  return answer;
}

JsonObject DeleteSectionOp(const JsonObject& request) {
  FuncParams params = ParamsOf(request);
  const Json* index = Member(request, "index");
  if (!index) throw RequestError("missing \"index\"");
  JsonObject answer;
  answer["result"] = DeleteSection(params, IntOf(*index, "\"index\""));
  answer["params"] = ToJson(params);
  return answer;
}

JsonObject Answer(const std::string& line) {
  const Json request = ReadRequest(line);
  const JsonObject* object = request.Object();
  if (!object) throw RequestError("a request must be a JSON object");
  const Json* op = Member(*object, "op");
  if (!op || !op->String()) throw RequestError("missing \"op\"");
  const std::string& name = *op->String();
  if (name == "fit") return Fit(*object);
  if (name == "vector") return Vector(*object);
  if (name == "stats") return Stats(*object);
  if (name == "interfacing") return Interfacing(*object);
  if (name == "deleteSection") return DeleteSectionOp(*object);
  throw RequestError("unknown op \"" + name + "\"");
}

int RunFit(const std::vector<std::string>& args, CommandIo& io) {
  if (!args.empty()) {
    io.err << "usage: tracemont-cli fit   (JSON requests on standard input, one per line)\n";
    return 2;
  }
  std::string line;
  while (std::getline(io.in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    Json answer;
    try {
      answer = Answer(line);
    } catch (const RequestError& e) {
      answer = JsonObject{{"error", e.what()}};
    } catch (const std::bad_alloc&) {
      answer = JsonObject{{"error", "out of memory"}};
    }
    Write(io.out, answer);
    io.out << '\n' << std::flush;
  }
  return 0;
}

const CommandRegistration kFit{
    {"fit",
     "fit  JSON lines on stdin: {\"op\":\"fit\"|\"vector\"|\"stats\"|\"interfacing\"|"
     "\"deleteSection\", ...}; one JSON answer line each",
     RunFit}};

}  // namespace
}  // namespace tracemont::cli
