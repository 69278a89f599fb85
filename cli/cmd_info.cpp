// tracemont-cli info FILE: a document as JSON.
#include <charconv>
#include <cstdio>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/document_input.h"
#include "model/archive.h"
#include "model/document_file.h"

namespace tracemont::cli {
namespace {

// A small JSON writer: objects and arrays of objects are indented one
// member a line; arrays of numbers stay on one line.
class Json {
 public:
  explicit Json(std::ostream& out) : out_(out) {}

  void BeginObject() { Open('{', false); }
  void EndObject() { Close('}'); }
  // inlined: the elements stay on the line of the array
  void BeginArray(bool inlined = false) { Open('[', inlined); }
  void EndArray() { Close(']'); }
  void Key(const std::string& key) {
    Separate();
    WriteString(key);
    out_ << ": ";
    keyPending_ = true;
  }
  void Number(double v) {
    Separate();
    if (!std::isfinite(v)) {
      out_ << "null";  // JSON has no infinities or NaN
      return;
    }
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    out_.write(buf, result.ptr - buf);
  }
  void Integer(long long v) {
    Separate();
    out_ << v;
  }
  void Text(const std::string& s) {
    Separate();
    WriteString(s);
  }
  void Bool(bool v) {
    Separate();
    out_ << (v ? "true" : "false");
  }
  void Finish() { out_ << "\n"; }

  // key: value shorthands
  void Field(const std::string& key, double v) {
    Key(key);
    Number(v); }
  void Field(const std::string& key, long long v) {
    Key(key);
    Integer(v); }
  void Field(const std::string& key, int v) {
    Key(key);
    Integer(v); }
  void Field(const std::string& key, std::uint32_t v) {
    Key(key);
    Integer(v); }
  void Field(const std::string& key, const std::string& v) {
    Key(key);
    Text(v); }
  void Flag(const std::string& key, std::int32_t v) {
    Key(key);
    Bool(v != 0); }

 private:
  struct Level {
    bool inlined;
    bool empty = true;
  };

  void Open(char bracket, bool inlined) {
    Separate();
    out_ << bracket;
    // An array inside an inlined one is inlined too.
    const bool parentInlined = !levels_.empty() && levels_.back().inlined;
    levels_.push_back({inlined || parentInlined});
  }

  void Close(char bracket) {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.inlined && !level.empty) NewLine();
    out_ << bracket;
  }

  void Separate() {
    if (keyPending_) {
      keyPending_ = false;
      return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (!level.empty) out_ << (level.inlined ? ", " : ",");
    level.empty = false;
    if (!level.inlined) NewLine();
  }

  void NewLine() { out_ << "\n" << std::string(2 * levels_.size(), ' '); }

  void WriteString(const std::string& s) { out_ << JsonQuote(s); }

  std::ostream& out_;
  std::vector<Level> levels_;
  bool keyPending_ = false;
};

void WriteValues(Json& j, const std::string& key, const std::vector<DotValue>& values) {
  j.Key(key);
  j.BeginArray(values.size() <= 1);
  for (const DotValue& v : values) {
    j.BeginArray(true);
    j.Number(v.x);
    j.Number(v.y);
    j.Number(v.z);
    j.EndArray();
  }
  j.EndArray();
}

void WriteScale(Json& j, const CAxeScale& s) {
  j.Key("scale");
  j.BeginObject();
  j.Field("direction", s.direction);
  j.Field("type", s.type);
  j.Field("k", s.k);
  j.Field("b", s.b);
  j.Field("base", s.base);
  j.Field("lo", s.lo);
  j.Field("hi", s.hi);
  j.EndObject();
}

void WriteAxis(Json& j, const CPlaneAxe& a) {
  j.BeginObject();
  j.Field("name", a.name);
  j.Field("unit", a.unit);
  j.Field("note", a.note);
  j.Field("position", a.position);
  j.Field("titleMode", a.titleMode);
  j.Field("tickLines", a.tickLines);
  j.Field("band", a.band);
  j.Field("tickStep", a.tickStep);
  j.Flag("arrow", a.arrow);
  WriteScale(j, a.scale);
  j.EndObject();
}

void WriteRect(Json& j, const std::string& key, const Rect& r) {
  j.Key(key);
  j.BeginArray(true);
  j.Integer(r.left);
  j.Integer(r.top);
  j.Integer(r.right);
  j.Integer(r.bottom);
  j.EndArray();
}

void WriteCommon(Json& j, const CHbaseSettings& c) {
  j.Flag("areaProportional", c.areaProportional);
  j.Flag("sizeFollowsScale", c.sizeFollowsScale);
  j.Flag("byColour", c.byColour);
  j.Flag("labelMaximum", c.labelMaximum);
}

void WriteCell(Json& j, const std::string& key, const CHCell& c) {
  j.Key(key);
  j.BeginObject();
  j.Field("width", c.width);
  j.Field("height", c.height);
  j.EndObject();
}

void WriteDistribution(Json& j, const CHisto& h) {
  j.Key("distribution");
  j.BeginObject();
  j.Field("mode", h.mode);
  j.Key("density");
  j.BeginObject();
  const CHdist& d = h.density;
  WriteCommon(j, d);
  j.Field("quality", d.quality);
  WriteCell(j, "fineCell", d.fine);
  WriteCell(j, "coarseCell", d.coarse);
  j.Field("kernelKind", d.kernelKind);
  j.Flag("transparent", d.transparent);
  j.Field("showMode", d.showMode);
  j.Flag("selectOutside", d.selectOutside);
  j.Key("colourScale");
  j.BeginObject();
  j.Field("maximumPercent", d.colourScale.first);
  j.Field("minimumPercent", d.colourScale.second);
  j.Flag("logarithmic", d.colourScale.flag);
  j.Key("palette");
  j.BeginArray(true);
  for (const std::int32_t c : d.colourScale.values) j.Integer(static_cast<std::uint32_t>(c));
  j.EndArray();
  j.EndObject();
  j.Key("range");
  j.BeginObject();
  j.Flag("enabled", d.range.enabled);
  j.Field("minimum", d.range.minimum);
  j.Field("maximum", d.range.maximum);
  j.Field("colour", d.range.colour);
  j.EndObject();
  j.EndObject();
  j.Key("diagram");
  j.BeginObject();
  const CHstat& g = h.diagram;
  WriteCommon(j, g);
  j.Field("symbols", g.symbols);
  WriteCell(j, "cell", g.cell);
  j.Flag("fixedPosition", g.fixedPosition);
  j.Flag("centreLines", g.centreLines);
  j.Flag("trendLines", g.trendLines);
  j.EndObject();
  j.EndObject();
}

void WriteDocumentJson(Json& j, const DocumentData& doc, int version) {
  j.BeginObject();
  j.Field("version", std::to_string(version / 100) + "." + (version % 100 < 10 ? "0" : "") +
                         std::to_string(version % 100));
  j.Field("unit", std::string(doc.inches == 1 ? "inch" : "cm"));
  j.Key("page");
  j.BeginObject();
  j.Field("width", doc.pageWidth);
  j.Field("height", doc.pageHeight);
  j.EndObject();
  j.Field("title", doc.title);
  j.Field("comment", doc.comment);

  j.Key("axes");
  j.BeginArray();
  WriteAxis(j, doc.axisX);
  WriteAxis(j, doc.axisY);
  j.EndArray();

  j.Key("legend");
  j.BeginObject();
  j.Flag("visible", doc.legend.visible);
  WriteRect(j, "rect", doc.legend.rect);
  j.EndObject();

  j.Key("series");
  j.BeginArray();
  for (const auto& s : doc.series) {
    j.BeginObject();
    j.Field("id", s->id);
    j.Field("name", s->name);
    j.Field("colorIndex", s->ColourIndex());
    j.Field("shapeIndex", s->ShapeIndex());
    j.Field("size", s->size);
    j.Field("aspect", s->aspect);
    j.Field("sizeX", s->sizeX);
    j.Field("sizeY", s->sizeY);
    j.Flag("connect", s->connect);
    j.Field("lineWidth", s->connectWidth);
    j.Field("source", s->source);
    j.Flag("visible", s->visible);
    WriteValues(j, "values", s->Values());
    j.EndObject();
  }
  j.EndArray();

  j.Key("areas");
  j.BeginArray();
  for (const auto& a : doc.areas) {
    j.BeginObject();
    j.Field("id", a->id);
    j.Field("name", a->name);
    j.Field("colorIndex", a->ColourIndex());
    j.Flag("fill", a->fill);
    j.Flag("visible", a->visible);
    WriteValues(j, "values", a->Values());
    j.EndObject();
  }
  j.EndArray();

  j.Key("functions");
  j.BeginArray();
  for (const auto& f : doc.functions) {
    j.BeginObject();
    j.Field("id", f->id);
    j.Field("name", f->name);
    j.Field("colorIndex", f->ColourIndex());
    j.Field("color", f->colour);
    j.Flag("corridor", f->corridor);
    j.Field("sampler", f->samplerOption);
    j.Key("params");
    j.BeginArray(true);
    for (const double p : f->params) j.Number(p);
    j.EndArray();
    WriteValues(j, "range", f->rangeCorners);
    j.Flag("visible", f->visible);
    j.EndObject();
  }
  j.EndArray();

  j.Key("commentaries");
  j.BeginArray();
  for (const auto& c : doc.commentaries) {
    j.BeginObject();
    j.Field("id", c->id);
    j.Field("text", c->text);
    j.Field("position", c->position);
    j.Field("textSize", c->textSize);
    j.Field("angle", c->angle);
    j.Flag("drawText", c->drawText);
    j.Flag("background", c->background);
    j.Flag("shadow", c->shadow);
    j.Field("textColor", c->textColour);
    j.Field("backgroundColor", c->backgroundColour);
    WriteValues(j, "values", c->Values());
    j.EndObject();
  }
  j.EndArray();

  j.Key("editor");
  j.BeginObject();
  j.Field("step", doc.editor.drawingStep);
  j.Flag("areasMarks", doc.editor.areasMarks);
  j.Flag("pictureShown", doc.editor.pictureShown);
  j.Flag("pictureCentred", doc.editor.pictureCentred);
  j.Flag("pictureStretched", doc.editor.pictureStretched);
  j.Field("pictureFile", doc.editor.pictureFile);
  j.EndObject();

  WriteDistribution(j, doc.histo);
  j.EndObject();
  j.Finish();
}

int RunInfo(const std::vector<std::string>& args, CommandIo& io) {
  if (args.size() != 1) {
    io.err << "usage: tracemont-cli info FILE.tmr\n";
    return 2;
  }
  DocumentData doc;
  int version = 0;
  if (!ReadDocument(args[0], doc, io, &version)) return 2;
  Json json(io.out);
  WriteDocumentJson(json, doc, version);
  return 0;
}

const CommandRegistration kInfo{
    {"info", "info FILE.tmr  print a document as JSON", RunInfo}};

}  // namespace
}  // namespace tracemont::cli
