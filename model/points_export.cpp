#include "model/points_export.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "model/axes.h"
#include "model/cp1251.h"
#include "model/text.h"

namespace tracemont {
namespace {

constexpr const char* kCrLf = "\r\n";

// printf of one double with a format taken from LabelFormat or "%4.4g".
void AppendNumber(std::string& out, const char* format, double v) {
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, format, v);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof buf) {
    out.append(buf, static_cast<std::size_t>(n));
    return;
  }
  out += StrFormat(format, v);  // huge fixed-point values
}

std::string NumberText(const char* format, double v) {
  std::string s;
  AppendNumber(s, format, v);
  return s;
}

// Z of the text export: truncated toward zero; values a long cannot hold are
// clamped (and not-a-number written as 0) instead of overflowing.
long TruncatedZ(double z) {
  if (std::isnan(z)) return 0;
  constexpr double kMax = static_cast<double>(std::numeric_limits<long>::max());
  if (z >= kMax) return std::numeric_limits<long>::max();
  if (z <= -kMax) return std::numeric_limits<long>::min();
  return static_cast<long>(z);
}

struct AxisFormats {
  const char* x;
  const char* y;
};

AxisFormats FormatsOf(const DocumentData& doc) {
  return {LabelFormat(doc.axisX.scale.k * 0.01), LabelFormat(doc.axisY.scale.k * 0.01)};
}

// Streams XML elements. An opened element is held back until it gets its
// first child or is closed, so that one without children can be written as
// a leaf on one line.
class XmlWriter {
 public:
  explicit XmlWriter(std::string& out) : out_(out) {}

  void Open(const char* tag, std::optional<std::string> id = std::nullopt,
            std::optional<std::string> comment = std::nullopt, std::string_view text = {}) {
    FlushPending();
    std::string line = "<";
    line += tag;
    if (id) line += " ID=\"" + XmlEscape(*id, true) + "\"";
    if (comment) line += " COMMENT=\"" + XmlEscape(*comment, true) + "\"";
    line += ">";
    line += XmlEscape(text, false);
    stack_.push_back({tag, std::move(line), false});
  }
  void Close() {
    if (stack_.empty()) return;
    Element& e = stack_.back();
    if (!e.written) {
      out_ += e.openLine;
    }
    out_ += "</";
    out_ += e.tag;
    out_ += ">";
    out_ += kCrLf;
    stack_.pop_back();
  }
  void Leaf(const char* tag, std::string_view text, std::optional<std::string> id = std::nullopt,
            std::optional<std::string> comment = std::nullopt) {
    Open(tag, std::move(id), std::move(comment), text);
    Close();
  }

 private:
  struct Element {
    const char* tag;
    std::string openLine;
    bool written;
  };
  // The parent of a new child gets its own line.
  void FlushPending() {
    if (stack_.empty() || stack_.back().written) return;
    out_ += stack_.back().openLine;
    out_ += kCrLf;
    stack_.back().written = true;
  }
  std::string& out_;
  std::vector<Element> stack_;
};

// Ascending order with every not-a-number after all numbers, so that the
// order is strict and weak and a sort never misbehaves.
bool KeyLess(double a, double b) {
  if (std::isnan(b)) return !std::isnan(a);
  return a < b;
}

std::string IntText(long long v) { return StrFormat("%lld", v); }

void WriteVal(XmlWriter& xml, const AxisFormats& f, const DotValue& v, bool withZ,
              std::optional<std::string> id = std::nullopt) {
  xml.Open("VAL", std::move(id));
  xml.Leaf("X", NumberText(f.x, v.x));
  xml.Leaf("Y", NumberText(f.y, v.y));
  if (withZ) xml.Leaf("Z", FormatG(v.z));
  xml.Close();
}

void WriteVals(XmlWriter& xml, const AxisFormats& f, const std::vector<DotValue>& values,
               bool withZ) {
  xml.Open("VALS");
  for (const DotValue& v : values) WriteVal(xml, f, v, withZ);
  xml.Close();
}

}  // namespace

bool SeriesPassesFilter(const CPlotDot& series, const PointFilter& filter) {
  return !filter.colouredOnly || filter.colour == 0 || series.ColourCommand() == filter.colour;
}

void GatherSeriesPoints(const CPlotDot& series, bool selectedOnly, std::vector<DotValue>& out,
                        std::size_t limit) {
  const auto& values = series.Values();
  if (!selectedOnly) {
    for (const DotValue& v : values) {
      if (out.size() >= limit) return;
      out.emplace_back(v.x, v.y, v.z);
    }
    return;
  }
  for (const std::uint32_t index : series.Selection()) {
    if (out.size() >= limit) return;
    if (index >= values.size()) continue;
    const DotValue& v = values[index];
    out.emplace_back(v.x, v.y, v.z);
  }
}

std::vector<DotValue> GatherPoints(const DocumentData& doc, const PointFilter& filter,
                                   std::size_t limit) {
  std::vector<DotValue> points;
  for (const auto& series : doc.series) {
    if (points.size() >= limit) break;
    if (!SeriesPassesFilter(*series, filter)) continue;
    GatherSeriesPoints(*series, filter.selectedOnly, points, limit);
  }
  return points;
}

void SortPoints(std::vector<DotValue>& points, PointSort sort) {
  if (sort == PointSort::None || points.size() < 2) return;
  const int key = sort == PointSort::ByX ? 0 : 1;
  std::stable_sort(points.begin(), points.end(), [key](const DotValue& a, const DotValue& b) {
    return KeyLess(a.Coordinate(key), b.Coordinate(key));
  });
}

std::string CleanAxisText(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (kPointSeparators.find(c) != std::string_view::npos) c = '_';
  return out;
}

namespace {

// The records of the points that pass the filter, in gathered order, without
// copying them (they stay in their series).
std::vector<const DotValue*> GatherPointers(const DocumentData& doc, const PointFilter& filter,
                                            std::size_t limit) {
  std::vector<const DotValue*> points;
  for (const auto& series : doc.series) {
    if (points.size() >= limit) break;
    if (!SeriesPassesFilter(*series, filter)) continue;
    const auto& values = series->Values();
    if (!filter.selectedOnly) {
      for (std::size_t i = 0; i < values.size() && points.size() < limit; ++i) points.push_back(&values[i]);
      continue;
    }
    for (const std::uint32_t index : series->Selection()) {
      if (points.size() >= limit) break;
      if (index < values.size()) points.push_back(&values[index]);
    }
  }
  return points;
}

std::string BuildText(const DocumentData& doc, const PointsTextOptions& options,
                      std::vector<const DotValue*> points, PointsTextMode mode) {
  const std::size_t dividerIndex =
      options.divider >= 0 && static_cast<std::size_t>(options.divider) < kPointSeparators.size()
          ? static_cast<std::size_t>(options.divider)
          : 1;
  const char divider = kPointSeparators[dividerIndex];
  std::string out;
  if (options.plotHeader) out += doc.title + kCrLf;
  if (options.notes) out += options.notesText + kCrLf;
  if (options.axisTitle) {
    out += CleanAxisText(doc.axisX.name) + divider + CleanAxisText(doc.axisY.name);
    if (options.zParameter) out += std::string(1, divider) + "Z";
    out += kCrLf;
  }
  if (options.units) {
    out += CleanAxisText(doc.axisX.unit) + divider + CleanAxisText(doc.axisY.unit);
    if (options.zParameter) out += std::string(1, divider) + "?";
    out += kCrLf;
  }
  if (options.sort != PointSort::None && points.size() >= 2) {
    const int key = options.sort == PointSort::ByX ? 0 : 1;
    std::stable_sort(points.begin(), points.end(), [key](const DotValue* a, const DotValue* b) {
      return KeyLess(a->Coordinate(key), b->Coordinate(key));
    });
  }

  // One printf per point: X, divider, Y (and divider, Z) in one format.
  const AxisFormats f = FormatsOf(doc);
  const std::string divider1(1, divider);
  const std::string xyFormat = std::string(f.x) + divider1 + f.y;
  const std::string lineFormat = options.zParameter ? xyFormat + divider1 + "%ld\r\n" : xyFormat + "\r\n";
  const bool decimalComma = mode == PointsTextMode::Clipboard;
  out.reserve(out.size() + points.size() * 24);
  char line[160];
  for (const DotValue* point : points) {
    const DotValue& p = *point;
    const std::size_t start = out.size();
    const int n = options.zParameter
                      ? std::snprintf(line, sizeof line, lineFormat.c_str(), p.x, p.y, TruncatedZ(p.z))
                      : std::snprintf(line, sizeof line, lineFormat.c_str(), p.x, p.y);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof line) {
      out.append(line, static_cast<std::size_t>(n));
    } else {  // huge fixed-point values
      AppendNumber(out, f.x, p.x);
      out += divider;
      AppendNumber(out, f.y, p.y);
      if (options.zParameter) out += divider + StrFormat("%ld", TruncatedZ(p.z));
      out += kCrLf;
    }
    // Only X and Y hold points; Z is an integer.
    if (decimalComma) std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '.', ',');
  }
  return out;
}

}  // namespace

std::string BuildPointsText(const DocumentData& doc, const PointsTextOptions& options,
                            PointsTextMode mode) {
  const std::size_t limit = mode == PointsTextMode::Preview ? kPreviewPointLimit
                                                            : static_cast<std::size_t>(-1);
  return BuildText(doc, options, GatherPointers(doc, options.filter, limit), mode);
}

std::string BuildPointsText(const DocumentData& doc, const PointsTextOptions& options,
                            std::vector<DotValue> points, PointsTextMode mode) {
  std::vector<const DotValue*> pointers;
  pointers.reserve(points.size());
  for (const DotValue& p : points) pointers.push_back(&p);
  return BuildText(doc, options, std::move(pointers), mode);
}

std::string PointsClipboardText(const DocumentData& doc, const std::vector<DotValue>* points,
                                const PointFilter& filter, int& count) {
  std::vector<DotValue> list = points ? *points : GatherPoints(doc, filter);
  count = static_cast<int>(std::min<std::size_t>(list.size(), std::numeric_limits<int>::max()));
  if (list.empty()) return {};
  PointsTextOptions options;  // header off, notes off, names and units on, tab, Z on, unsorted
  return BuildPointsText(doc, options, std::move(list), PointsTextMode::Clipboard);
}

std::string XmlEscape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) {
          out += "&quot;";
          break;
        }
        [[fallthrough]];
      default: out += c;
    }
  }
  return out;
}

std::string ParamLabel(std::size_t i) {
  static constexpr const char* kLabels[] = {"Poly / Curv", "Y=f(X) / X=f(Y)", "N appr", "min X",
                                            "min Y",       "max X",           "max Y",  "Deviation",
                                            "Weight",      "",                "Data"};
  return i < std::size(kLabels) ? kLabels[i] : "";
}

std::string BuildPointsXml(const DocumentData& doc, const PointsXmlOptions& options) {
  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n";
  out += "<!--Generated by program Tracemont-->\r\n";
  out += "<!--  <!DOCTYPE TRACEMONT SYSTEM \"Tracemont.dtd\">  -->\r\n";

  const AxisFormats f = FormatsOf(doc);
  XmlWriter xml(out);
  int nextId = 0;
  auto takeId = [&nextId] { return IntText(nextId++); };

  xml.Open("TRACEMONT");
  if (options.plotHeader) xml.Leaf("TITLE", doc.title);
  if (options.notes) xml.Leaf("COMMENT", options.notesText);
  if (options.axisTitle || options.units) {
    for (const CPlaneAxe* axis : {&doc.axisX, &doc.axisY}) {
      xml.Open(axis == &doc.axisX ? "AXEX" : "AXEY");
      if (options.axisTitle) xml.Leaf("NAME", axis->name);
      if (options.units) xml.Leaf("UNIT", axis->unit);
      xml.Close();
    }
  }

  if (options.combineSeries) {
    const std::vector<DotValue> points = GatherPoints(doc, options.filter);
    if (!points.empty()) {
      xml.Open("LISTDOTS");
      xml.Open("PLOT", takeId(), std::string("Combined"));
      WriteVals(xml, f, points, options.zParameter);
      xml.Close();
      xml.Close();
    }
  } else {
    xml.Open("LISTDOTS");
    std::vector<DotValue> points;
    for (const auto& series : doc.series) {
      if (!SeriesPassesFilter(*series, options.filter)) continue;
      points.clear();
      GatherSeriesPoints(*series, options.filter.selectedOnly, points);
      if (points.empty()) continue;
      xml.Open("PLOT", takeId());
      xml.Leaf("STRID", series->GetName());
      xml.Leaf("COLORNUM", IntText(series->ColourIndex()));
      xml.Leaf("SHAPENUM", IntText(series->ShapeIndex()));
      xml.Leaf("WIDTH", IntText(series->size));
      xml.Leaf("ASPECT", FormatG(series->aspect));
      xml.Leaf("SOURCE", IntText(series->source));
      WriteVals(xml, f, points, options.zParameter);
      xml.Close();
    }
    xml.Close();
  }

  if (options.areas && !doc.areas.empty()) {
    xml.Open("LISTCLIP");
    for (const auto& area : doc.areas) {
      if (area->PointCount() < 1) continue;
      xml.Open("PLOT", takeId());
      xml.Leaf("STRID", area->GetName());
      xml.Leaf("COLORNUM", IntText(area->ColourIndex()));
      WriteVals(xml, f, area->Values(), false);
      xml.Close();
    }
    xml.Close();
  }

  if (options.functions && !doc.functions.empty()) {
    xml.Open("LISTFUNC");
    for (const auto& function : doc.functions) {
      if (function->PointCount() < 1) continue;
      xml.Open("PLOT", takeId());
      xml.Leaf("STRID", function->GetName());
      xml.Leaf("COLORNUM", IntText(function->ColourIndex()));
      if (function->rangeCorners.size() == 4) {
        xml.Open("REPERS");
        WriteVal(xml, f, function->rangeCorners[0], false, std::string("Min"));
        WriteVal(xml, f, function->rangeCorners[2], false, std::string("Max"));
        xml.Close();
      }
      if (!function->params.empty()) {
        xml.Open("PARAMS");
        for (std::size_t i = 0; i < function->params.size(); ++i)
          xml.Leaf("PARAM", FormatG(function->params[i]), IntText(static_cast<long long>(i)),
                   ParamLabel(i));
        xml.Close();
      }
      xml.Close();
    }
    xml.Close();
  }

  if (options.commentary && !doc.commentaries.empty()) {
    xml.Open("LISTTEXT");
    for (const auto& commentary : doc.commentaries) {
      if (commentary->PointCount() < 1) continue;
      xml.Open("PLOT", takeId());
      xml.Leaf("STRID", commentary->GetName());
      xml.Leaf("COLORNUM", IntText(commentary->ColourIndex()));
      if (!commentary->Values().empty()) WriteVal(xml, f, commentary->Values().front(), false);
      xml.Close();
    }
    xml.Close();
  }
  xml.Close();
  return out;
}

std::string EncodeXmlCp1251(std::string_view utf8) {
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; }))
    return std::string(utf8);
  if (auto whole = Utf8ToCp1251(utf8)) return *whole;
  std::string out;
  out.reserve(utf8.size());
  for (const std::string& ch : Utf8Characters(utf8)) {
    if (auto one = Utf8ToCp1251(ch)) {
      out += *one;
      continue;
    }
    const std::u16string units = Utf8ToUtf16(ch);
    char32_t code = units.empty() ? 0xFFFD : units[0];
    if (units.size() == 2) code = 0x10000 + ((units[0] - 0xD800) << 10) + (units[1] - 0xDC00);
    out += StrFormat("&#%u;", static_cast<unsigned>(code));
  }
  return out;
}

std::string ExportErrorMessage(int error) {
  if (error == EACCES || error == EPERM || error == EROFS) return kMsgFileAccessDenied;
  if (error == ENOSPC || error == EDQUOT) return kMsgNoFreeSpace;
  return kMsgFileReadWrite;
}

ExportResult WriteExportFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return {false, ExportErrorMessage(errno)};
  errno = 0;
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
  int error = written == bytes.size() ? 0 : (errno ? errno : EIO);
  if (std::fflush(file) != 0 && error == 0) error = errno ? errno : EIO;
  if (std::fclose(file) != 0 && error == 0) error = errno ? errno : EIO;
  if (error != 0) return {false, ExportErrorMessage(error)};
  return {true, {}};
}

std::string ProposedPointsFileName(const std::string& documentPath) {
  if (documentPath.empty()) return "test.txt";
  const std::size_t slash = documentPath.find_last_of('/');
  const std::size_t dot = documentPath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return documentPath + ".txt";
  return documentPath.substr(0, dot) + ".txt";
}

PointsFileKind PointsFileKindOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return PointsFileKind::None;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "txt") return PointsFileKind::Text;
  if (ext == "xml") return PointsFileKind::Xml;
  return PointsFileKind::None;
}

}  // namespace tracemont
