// Points in and out from the command line:
//   export FILE.tmr OUT.(txt|xml) [options]   the text or XML export
//   import IN.(txt|csv) OUT.tmr [options]     a new series as the add-points wizard makes it
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "acquire/points_import.h"
#include "cli/command.h"
#include "cli/document_input.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "model/points_export.h"
#include "model/text.h"

namespace tracemont::cli {
namespace {

// Flags without a value and options with a fixed number of values.
class ArgReader {
 public:
  ArgReader(const std::vector<std::string>& args, std::set<std::string> flags,
            std::map<std::string, int> valued) {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (a.rfind("--", 0) != 0) {
        positional_.push_back(a);
        continue;
      }
      const std::string name = a.substr(2);
      if (flags.count(name)) {
        flags_.insert(name);
        continue;
      }
      const auto it = valued.find(name);
      if (it == valued.end()) {
        error_ = "unknown option " + a;
        return;
      }
      std::vector<std::string> values;
      for (int k = 0; k < it->second; ++k) {
        if (++i >= args.size()) {
          error_ = "option " + a + " needs " + std::to_string(it->second) + " value(s)";
          return;
        }
        values.push_back(args[i]);
      }
      values_[name] = std::move(values);
    }
  }
  const std::string& Error() const { return error_; }
  const std::vector<std::string>& Positional() const { return positional_; }
  bool Has(const std::string& flag) const { return flags_.count(flag) > 0; }
  std::optional<std::string> Text(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second[0];
  }
  // The values of an option as numbers; sets the error when one is not a number.
  std::optional<std::vector<double>> Numbers(const std::string& name) {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    std::vector<double> out;
    for (const std::string& v : it->second) {
      const auto n = ParseNumber(v);
      if (!n) {
        error_ = "--" + name + " needs a number, not " + v;
        return std::nullopt;
      }
      out.push_back(*n);
    }
    return out;
  }
  std::optional<double> Number(const std::string& name) {
    auto n = Numbers(name);
    if (!n) return std::nullopt;
    return (*n)[0];
  }

 private:
  std::vector<std::string> positional_;
  std::set<std::string> flags_;
  std::map<std::string, std::vector<std::string>> values_;
  std::string error_;
};

// A point filter from --selected and --color (a colour index 0..5 or a
// colour command 32850..32855).
std::optional<PointFilter> FilterOf(ArgReader& args, std::string& error) {
  PointFilter filter;
  filter.selectedOnly = args.Has("selected");
  if (const auto colour = args.Number("color")) {
    const int c = static_cast<int>(*colour);
    if (c >= 0 && c < kColourCount) {
      filter.colour = ColourCommandOfIndex(c);
    } else if (c >= cmd::kRedPoints && c <= cmd::kGrayPoints) {
      filter.colour = c;
    } else {
      error = "--color must be a colour index 0..5 or a colour command 32850..32855";
      return std::nullopt;
    }
    filter.colouredOnly = true;
  }
  if (!args.Error().empty()) {
    error = args.Error();
    return std::nullopt;
  }
  return filter;
}

// Says why the arguments were refused and how the command is used; the
// exit code of a usage error.
int Refuse(CommandIo& io, const char* command, const std::string& why, const char* arguments) {
  io.err << "tracemont-cli " << command << ": " << why << "\n"
         << "usage: tracemont-cli " << command << " " << arguments << "\n";
  return 2;
}

int RunExport(const std::vector<std::string>& raw, CommandIo& io) {
  ArgReader args(raw,
                 {"selected", "no-header", "header", "notes", "no-notes", "z", "no-z", "combine",
                  "functions", "areas", "commentary", "no-axis-title", "no-units"},
                 {{"color", 1}, {"divider", 1}, {"sort", 1}});
  const auto usage = [&io](const std::string& why) {
    return Refuse(io, "export", why,
                  "FILE.tmr OUT.(txt|xml) [--selected] [--color N]"
                  " [--header|--no-header] [--notes|--no-notes] [--z|--no-z] [--no-axis-title]"
                  " [--no-units] [--divider space|tab|comma] [--sort x|y|none] [--combine]"
                  " [--functions] [--areas] [--commentary]");
  };
  if (!args.Error().empty()) return usage(args.Error());
  if (args.Positional().size() != 2) return usage("FILE.tmr and OUT are needed");
  const std::string& out = args.Positional()[1];
  const PointsFileKind kind = PointsFileKindOf(out);
  if (kind == PointsFileKind::None) return usage("OUT must end in .txt or .xml");
  std::string error;
  const auto filter = FilterOf(args, error);
  if (!filter) return usage(error);

  DocumentData doc;
  if (!ReadDocument(args.Positional()[0], doc, io)) return 2;

  std::string bytes;
  if (kind == PointsFileKind::Text) {
    PointsTextOptions options;
    options.filter = *filter;
    options.notesText = doc.comment;
    if (args.Has("header")) options.plotHeader = true;
    if (args.Has("no-header")) options.plotHeader = false;
    if (args.Has("notes")) options.notes = true;
    if (args.Has("no-notes")) options.notes = false;
    if (args.Has("z")) options.zParameter = true;
    if (args.Has("no-z")) options.zParameter = false;
    if (args.Has("no-axis-title")) options.axisTitle = false;
    if (args.Has("no-units")) options.units = false;
    if (const auto divider = args.Text("divider")) {
      static const std::map<std::string, int> kDividers = {{"space", 0}, {"tab", 1}, {"comma", 2}};
      const auto it = kDividers.find(*divider);
      if (it == kDividers.end()) return usage("--divider must be space, tab or comma");
      options.divider = it->second;
    }
    if (const auto sort = args.Text("sort")) {
      static const std::map<std::string, PointSort> kSorts = {
          {"x", PointSort::ByX}, {"y", PointSort::ByY}, {"none", PointSort::None}};
      const auto it = kSorts.find(*sort);
      if (it == kSorts.end()) return usage("--sort must be x, y or none");
      options.sort = it->second;
    }
    bytes = BuildPointsText(doc, options, PointsTextMode::File);
  } else {
    if (args.Text("divider") || args.Text("sort"))
      return usage("--divider and --sort belong to the text export");
    PointsXmlOptions options;
    options.filter = *filter;
    options.notesText = doc.comment;
    if (args.Has("header")) options.plotHeader = true;
    if (args.Has("no-header")) options.plotHeader = false;
    if (args.Has("notes")) options.notes = true;
    if (args.Has("no-notes")) options.notes = false;
    if (args.Has("z")) options.zParameter = true;
    if (args.Has("no-z")) options.zParameter = false;
    if (args.Has("no-axis-title")) options.axisTitle = false;
    if (args.Has("no-units")) options.units = false;
    options.combineSeries = args.Has("combine");
    options.functions = args.Has("functions");
    options.areas = args.Has("areas");
    options.commentary = args.Has("commentary");
    bytes = EncodeXmlCp1251(BuildPointsXml(doc, options));
  }
  const ExportResult written = WriteExportFile(out, bytes);
  if (!written.ok) {
    io.err << out << ": " << written.message << "\n";
    return 2;
  }
  return 0;
}

// A "%4.4g" field of the wizard read back, as the wizard does with its texts.
double FieldValue(double v) { return AsciiToDouble(FormatG(v)); }

int RunImport(const std::vector<std::string>& raw, CommandIo& io) {
  ArgReader args(raw, {"recalc-scales"},
                 {{"x", 1}, {"y", 1}, {"z", 1}, {"first-line", 1}, {"multiply-x", 1},
                  {"multiply-y", 1}, {"range", 4}, {"into", 1}, {"title", 1}, {"color", 1},
                  {"aspect", 1}, {"radius", 1}});
  const auto usage = [&io](const std::string& why) {
    return Refuse(io, "import", why,
                  "IN.(txt|csv) OUT.tmr [--x COL] [--y COL] [--z COL]"
                  " [--first-line N] [--multiply-x K] [--multiply-y K]"
                  " [--range XMIN XMAX YMIN YMAX] [--recalc-scales] [--into DOC.tmr]"
                  " [--title TEXT] [--color 0..5] [--radius R] [--aspect A]");
  };
  if (!args.Error().empty()) return usage(args.Error());
  if (args.Positional().size() != 2) return usage("IN and OUT.tmr are needed");
  const std::string& in = args.Positional()[0];

  // The first look, as the wizard's first page has it: the first 100 lines.
  const ReadLinesResult first = ReadTextLines(in, 100);
  if (!first.error.empty()) {
    io.err << in << ": " << first.error << "\n";
    return 2;
  }
  if (first.lines.empty()) {
    io.err << in << ": " << kMsgNoDataRead << "\n";
    return 1;
  }
  const LineAnalysis analysis = AnalyseLines(first.lines);

  ColumnChoice choice;
  choice.firstDataLine = analysis.firstDataLine;
  const auto column = [&](const char* name, int& target) {
    if (const auto v = args.Number(name)) target = static_cast<int>(*v);
  };
  column("x", choice.xColumn);
  column("y", choice.yColumn);
  column("z", choice.zColumn);
  column("first-line", choice.firstDataLine);
  const double kx = ClampMultiplier(args.Number("multiply-x").value_or(1.0));
  const double ky = ClampMultiplier(args.Number("multiply-y").value_or(1.0));
  const auto range = args.Numbers("range");
  const double aspect = args.Number("aspect").value_or(1.0);
  const double radius = args.Number("radius").value_or(10.0);
  const auto colour = args.Number("color");
  if (!args.Error().empty()) return usage(args.Error());
  if (colour && (*colour < 0 || *colour >= kColourCount)) return usage("--color must be 0..5");

  // Every line, however many; nothing is dropped.
  std::string readError;
  std::vector<DotValue> read = first.complete ? CollectPoints(first.lines, choice)
                                                    : CollectPointsFromFile(in, choice, readError);
  if (!readError.empty()) {
    io.err << in << ": " << readError << "\n";
    return 2;
  }
  if (read.empty()) {
    io.err << in << ": " << kMsgNoDataRead << "\n";
    return 1;
  }
  std::optional<ValueRange> filter;
  if (range) filter = ValueRange{(*range)[0], (*range)[1], (*range)[2], (*range)[3]};
  // The range of what was read, before the list is filtered in place.
  const ValueRange readRange = *RangeOf(read);
  const std::size_t readCount = read.size();
  std::vector<DotValue> kept = FilterAndScale(std::move(read), filter, kx, ky);
  const std::size_t keptCount = kept.size();
  if (kept.empty()) {
    io.err << in << ": " << kMsgNoDataRead << "\n";
    return 1;
  }

  CMainDoc doc;
  if (const auto into = args.Text("into")) {
    const FileResult opened = doc.Open(*into);
    if (!opened.ok) {
      io.err << opened.message << "\n";
      return 2;
    }
  }
  ImportSeriesSettings settings;
  settings.title = args.Text("title").value_or(std::filesystem::absolute(in).string());
  if (colour) settings.colourCommand = ColourCommandOfIndex(static_cast<int>(*colour));
  settings.radius = static_cast<int>(radius);
  settings.aspect = AsciiToDouble(StrFormat("%g", aspect));
  const DocumentData& data = doc.Data();
  if (args.Has("recalc-scales")) {
    // The range of the points read, through the fields' "%4.4g" texts, and
    // multiplied as the points are so that every point is shown.
    const ValueRange r = filter ? *filter : readRange;
    settings.axes = {FieldValue(r.xMin) * kx, FieldValue(r.xMax) * kx, FieldValue(r.yMin) * ky,
                     FieldValue(r.yMax) * ky};
  } else {
    settings.axes = {FieldValue(data.axisX.scale.b),
                     FieldValue(data.axisX.scale.ToValue(data.axisX.Length())),
                     FieldValue(data.axisY.scale.b),
                     FieldValue(data.axisY.scale.ToValue(data.axisY.Length()))};
  }
  const ImportOutcome outcome = CreateImportedSeries(doc, std::move(kept), settings);
  if (!outcome.series) {
    io.err << "no series could be created\n";
    return 2;
  }
  if (outcome.scalesChanged) doc.ChangedWithOutlines();
  const FileResult saved = doc.Save(args.Positional()[1]);
  if (!saved.ok) {
    io.err << saved.message << "\n";
    return 2;
  }
  io.out << "read " << readCount << " kept " << keptCount << "\n";
  return 0;
}

const CommandRegistration kExport{
    {"export",
     "export FILE.tmr OUT.(txt|xml) [options]  write the points as text or XML",
     RunExport}};
const CommandRegistration kImport{
    {"import", "import IN.(txt|csv) OUT.tmr [options]  read points from a text file into a new series",
     RunImport}};

}  // namespace
}  // namespace tracemont::cli
