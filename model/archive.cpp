#include "model/archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include <sys/mman.h>

#include "model/cp1251.h"
#include "model/object_ids.h"

namespace tracemont {
namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// Plot coordinates read from files are kept within this range.
constexpr std::int64_t kCoordLimit = 1'000'000'000;
// Font faces are taken into font records of 32 characters with terminator.
constexpr std::size_t kFaceLength = 31;

// Reference tags.
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint32_t kBigIndex = 0x7FFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;

constexpr std::string_view kSeriesClass = "CPlotDot";
constexpr std::string_view kAreaClass = "CPlotClip";
constexpr std::string_view kFunctionClass = "CPlotFunc";
constexpr std::string_view kCommentaryClass = "CPlotText";

bool IsPlotClass(std::string_view name) {
  return name == kSeriesClass || name == kAreaClass || name == kFunctionClass ||
         name == kCommentaryClass;
}

int ClampCoord(std::int32_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit));
}

template <class T>
T FromLittle(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  if constexpr (std::is_same_v<T, double>)
    return std::bit_cast<double>(v);
  else
    return static_cast<T>(v);
}

template <class T>
void ToLittle(T value, std::uint8_t* p) {
  std::uint64_t v = 0;
  if constexpr (std::is_same_v<T, double>)
    v = std::bit_cast<std::uint64_t>(value);
  else
    v = static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(value));
  for (std::size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// New memory costs a page fault per page on first touch; for the big
// arrays of a document, large pages make that a few hundred faults instead
// of tens of thousands. Only advice: nothing changes where it is not taken.
void AdviseLargePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kLarge - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace

// --- errors ------------------------------------------------------------------------

ArchiveError::ArchiveError(Kind kind, const std::string& detail)
    : std::runtime_error(detail), kind_(kind) {}

const char* ArchiveError::UserMessage() const {
  return kind_ == Kind::Generic ? kMsgFailedToOpen : kMsgUnexpectedFormat;
}

// --- writer ------------------------------------------------------------------------

void ArchiveWriter::Byte(std::uint8_t v) { Raw(&v, 1); }

void ArchiveWriter::Word(std::uint16_t v) {
  std::uint8_t b[2];
  ToLittle(v, b);
  Raw(b, 2);
}

void ArchiveWriter::Dword(std::uint32_t v) {
  std::uint8_t b[4];
  ToLittle(v, b);
  Raw(b, 4);
}

void ArchiveWriter::Int(std::int32_t v) { Dword(static_cast<std::uint32_t>(v)); }

void ArchiveWriter::Double(double v) {
  std::uint8_t b[8];
  ToLittle(v, b);
  Raw(b, 8);
}

void ArchiveWriter::RectItem(const Rect& r) {
  Int(r.left);
  Int(r.top);
  Int(r.right);
  Int(r.bottom);
}

void ArchiveWriter::PointItem(Point p) {
  Int(p.x);
  Int(p.y);
}

void ArchiveWriter::LengthPrefix(std::uint64_t n) {
  if (n < 0xFF) {
    Byte(static_cast<std::uint8_t>(n));
    return;
  }
  Byte(0xFF);
  if (n < 0xFFFE) {
    Word(static_cast<std::uint16_t>(n));
    return;
  }
  if (n > 0xFFFFFFFFull) throw ArchiveError(ArchiveError::Kind::BadCount, "string too long");
  Word(0xFFFF);
  Dword(static_cast<std::uint32_t>(n));
}

void ArchiveWriter::String(std::string_view utf8) {
  if (const auto bytes = Utf8ToCp1251(utf8)) {
    LengthPrefix(bytes->size());
    Raw(bytes->data(), bytes->size());
    return;
  }
  // The wide form keeps characters the code page has no byte for.
  const std::u16string units = Utf8ToUtf16(utf8);
  Byte(0xFF);
  Word(kWideMarker);
  LengthPrefix(units.size());
  std::vector<std::uint8_t> raw(units.size() * 2);
  for (std::size_t i = 0; i < units.size(); ++i) ToLittle<std::uint16_t>(units[i], &raw[2 * i]);
  Raw(raw.data(), raw.size());
}

void ArchiveWriter::Count(std::uint64_t n) {
  if (n < 0xFFFF) {
    Word(static_cast<std::uint16_t>(n));
    return;
  }
  if (n > 0xFFFFFFFFull) throw ArchiveError(ArchiveError::Kind::BadCount, "array too long");
  Word(0xFFFF);
  Dword(static_cast<std::uint32_t>(n));
}

void ArchiveWriter::Points(const std::vector<Point>& points) {
  Count(points.size());
  if constexpr (kLittleEndian) {
    static_assert(sizeof(Point) == 8);
    Raw(points.data(), points.size() * sizeof(Point));
  } else {
    for (const Point& p : points) PointItem(p);
  }
}

void ArchiveWriter::Doubles(const std::vector<double>& values) {
  Count(values.size());
  for (const double v : values) Double(v);
}

void ArchiveWriter::Dwords(const std::vector<std::int32_t>& values) {
  Count(values.size());
  for (const std::int32_t v : values) Int(v);
}

void ArchiveWriter::Values(const std::vector<DotValue>& values) {
  Count(values.size());
  if constexpr (kLittleEndian) {
    Raw(values.data(), values.size() * sizeof(DotValue));
  } else {
    for (const DotValue& v : values) {
      Int(v.count);
      Int(v.reserved0);
      Double(v.x);
      Double(v.y);
      Double(v.z);
      for (const double r : v.reserved) Double(r);
      Int(v.flag);
      Int(v.reserved1);
    }
  }
}

void ArchiveWriter::NewObject(const std::string& className) {
  const auto known = classIndex_.find(className);
  if (known == classIndex_.end()) {
    Word(kNewClassTag);
    Word(0);  // schema of every plot object class
    Word(static_cast<std::uint16_t>(className.size()));
    Raw(className.data(), className.size());
    classIndex_.emplace(className, nextIndex_++);
  } else if (known->second < kBigIndex) {
    Word(static_cast<std::uint16_t>(kClassTag | known->second));
  } else {
    Word(kBigObjectTag);
    Dword(kBigClassTag | known->second);
  }
  ++nextIndex_;  // the object's own index
}

// --- reader ------------------------------------------------------------------------

void ArchiveReader::Raw(void* data, std::size_t n) {
  try {
    source_.Read(data, n);
  } catch (const StreamEnd&) {
    throw ArchiveError(ArchiveError::Kind::EndOfFile, "the data ends inside an item");
  }
}

void ArchiveReader::RequireRoom(std::uint64_t n, std::uint64_t size) const {
  if (size != 0 && n > Remaining() / size)
    throw ArchiveError(ArchiveError::Kind::BadCount, "a count exceeds the rest of the data");
}

void ArchiveReader::CountSampled(std::size_t records) {
  sampled_ += records;
  if (sampled_ > 1'000'000 + size_ / 8)
    throw ArchiveError(ArchiveError::Kind::BadCount, "function curves beyond what the file can describe");
}

std::uint8_t ArchiveReader::Byte() {
  std::uint8_t v;
  Raw(&v, 1);
  return v;
}

std::uint16_t ArchiveReader::Word() {
  std::uint8_t b[2];
  Raw(b, 2);
  return FromLittle<std::uint16_t>(b);
}

std::uint32_t ArchiveReader::Dword() {
  std::uint8_t b[4];
  Raw(b, 4);
  return FromLittle<std::uint32_t>(b);
}

std::int32_t ArchiveReader::Int() { return static_cast<std::int32_t>(Dword()); }

double ArchiveReader::Double() {
  std::uint8_t b[8];
  Raw(b, 8);
  return FromLittle<double>(b);
}

Rect ArchiveReader::RectItem() {
  Rect r;
  r.left = ClampCoord(Int());
  r.top = ClampCoord(Int());
  r.right = ClampCoord(Int());
  r.bottom = ClampCoord(Int());
  return r;
}

Point ArchiveReader::PointItem() {
  const int x = ClampCoord(Int());
  const int y = ClampCoord(Int());
  return {x, y};
}

std::uint64_t ArchiveReader::LengthPrefix(bool& wide) {
  const std::uint8_t b = Byte();
  if (b < 0xFF) return b;
  const std::uint16_t w = Word();
  if (w == kWideMarker) {
    // The wide marker comes once; the length follows in the usual form.
    if (wide) throw ArchiveError(ArchiveError::Kind::BadCount, "wide marker repeated");
    wide = true;
    return LengthPrefix(wide);
  }
  if (w < 0xFFFF) return w;
  return Dword();
}

std::string ArchiveReader::String() {
  bool wide = false;
  const std::uint64_t n = LengthPrefix(wide);
  RequireRoom(n, wide ? 2 : 1);
  if (!wide) {
    std::string bytes(static_cast<std::size_t>(n), '\0');
    Raw(bytes.data(), bytes.size());
    return Cp1251ToUtf8(bytes);
  }
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(n) * 2);
  Raw(raw.data(), raw.size());
  std::u16string units(static_cast<std::size_t>(n), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(FromLittle<std::uint16_t>(&raw[2 * i]));
  return Utf16ToUtf8(units);
}

std::uint64_t ArchiveReader::Count() {
  const std::uint16_t w = Word();
  if (w < 0xFFFF) return w;
  return Dword();
}

std::vector<Point> ArchiveReader::Points() {
  const std::uint64_t n = Count();
  RequireRoom(n, 8);
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(n));
  AdviseLargePages(points.data(), static_cast<std::size_t>(n) * sizeof(Point));
  points.resize(static_cast<std::size_t>(n));
  if constexpr (kLittleEndian) {
    Raw(points.data(), points.size() * sizeof(Point));
    for (Point& p : points) p = {ClampCoord(p.x), ClampCoord(p.y)};
  } else {
    for (Point& p : points) p = PointItem();
  }
  return points;
}

std::vector<double> ArchiveReader::Doubles() {
  const std::uint64_t n = Count();
  RequireRoom(n, 8);
  std::vector<double> values(static_cast<std::size_t>(n));
  for (double& v : values) v = Double();
  return values;
}

std::vector<std::int32_t> ArchiveReader::Dwords() {
  const std::uint64_t n = Count();
  RequireRoom(n, 4);
  std::vector<std::int32_t> values(static_cast<std::size_t>(n));
  for (std::int32_t& v : values) v = Int();
  return values;
}

std::vector<DotValue> ArchiveReader::Values() {
  const std::uint64_t n = Count();
  RequireRoom(n, sizeof(DotValue));
  std::vector<DotValue> values;
  if constexpr (kLittleEndian) {
    // Made and filled a slice at a time: the slice is still in the cache
    // when the bytes arrive, so the memory is walked once, not twice.
    constexpr std::size_t kSlice = 4096;
    values.reserve(static_cast<std::size_t>(n));
    AdviseLargePages(values.data(), static_cast<std::size_t>(n) * sizeof(DotValue));
    while (values.size() < n) {
      const std::size_t at = values.size();
      const std::size_t count = std::min<std::size_t>(kSlice, static_cast<std::size_t>(n) - at);
      values.resize(at + count);
      Raw(values.data() + at, count * sizeof(DotValue));
    }
  } else {
    values.resize(static_cast<std::size_t>(n));
    for (DotValue& v : values) {
      v.count = Int();
      v.reserved0 = Int();
      v.x = Double();
      v.y = Double();
      v.z = Double();
      for (double& r : v.reserved) r = Double();
      v.flag = Int();
      v.reserved1 = Int();
    }
  }
  return values;
}

std::string ArchiveReader::NextObject() {
  const std::uint16_t tag = Word();
  const std::uint32_t v =
      tag == kBigObjectTag ? Dword() : ((static_cast<std::uint32_t>(tag & 0x8000) << 16) | (tag & 0x7FFF));
  if ((v & kBigClassTag) == 0) {
    if (v == 0) return {};
    // Every object belongs to exactly one list, so a reference to an object
    // read before (or to anything else) cannot be honoured.
    throw ArchiveError(ArchiveError::Kind::BadIndex, "object reference to index " + std::to_string(v));
  }
  std::string className;
  if (tag == kNewClassTag) {
    Word();  // schema: the body layout follows the file version alone
    const std::uint16_t length = Word();
    RequireRoom(length, 1);
    className.assign(length, '\0');
    Raw(className.data(), className.size());
    if (!IsPlotClass(className))
      throw ArchiveError(ArchiveError::Kind::BadClass, "unknown class");
    table_.push_back(className);
    isClass_.push_back(true);
  } else {
    const std::uint32_t index = v & ~kBigClassTag;
    if (index == 0 || index >= table_.size() || !isClass_[index])
      throw ArchiveError(ArchiveError::Kind::BadClass, "bad class index " + std::to_string(index));
    className = table_[index];
  }
  table_.emplace_back();
  isClass_.push_back(false);
  return className;
}

// --- bodies --------------------------------------------------------------------------

namespace {

std::string FaceOf(const std::string& face) { return Utf8Prefix(face, kFaceLength); }

void WriteScale(ArchiveWriter& w, const CAxeScale& s) {
  w.Int(s.direction);
  w.Int(s.type);
  w.Double(s.k);
  w.Double(s.b);
  w.Double(s.lo);
  w.Double(s.hi);
  w.Int(0);
  w.Int(0);
  w.Double(0.0);
  w.Double(0.0);
  w.Double(s.base);
}

CAxeScale ReadScale(ArchiveReader& r) {
  CAxeScale s;
  s.direction = r.Int();
  s.type = r.Int();
  s.k = r.Double();
  s.b = r.Double();
  s.lo = r.Double();
  s.hi = r.Double();
  r.Int();
  r.Int();
  r.Double();
  r.Double();
  if (r.version > 102) s.base = r.Double();
  s.Normalise();
  return s;
}

void WriteVisu(ArchiveWriter& w, const CVisuPara& v) {
  w.String(v.font.face);
  w.Int(v.font.weight);
  w.Byte(static_cast<std::uint8_t>(v.font.italic));
  w.Byte(static_cast<std::uint8_t>(v.font.underline));
  for (const Colour c : v.textColours) w.Dword(c);
  for (const std::int32_t s : v.textSizes) w.Int(s);
  for (const CLinePara& l : v.lines) {
    w.Dword(l.colour);
    w.Int(l.width);
    w.Int(l.style);
  }
}

void ReadVisu(ArchiveReader& r, CVisuPara& v) {
  v.font.face = FaceOf(r.String());
  v.font.weight = r.Int();
  v.font.italic = r.Byte();
  v.font.underline = r.Byte();
  for (Colour& c : v.textColours) c = r.Dword();
  for (std::int32_t& s : v.textSizes) s = r.Int();
  for (CLinePara& l : v.lines) {
    l.colour = r.Dword();
    l.width = r.Int();
    l.style = r.Int();
  }
}

void WriteIndent(ArchiveWriter& w, const CIndent& i) {
  w.Int(i.kind);
  w.Double(i.factor);
  w.Int(i.flag);
}

void ReadIndent(ArchiveReader& r, CIndent& i) {
  i.kind = r.Int();
  i.factor = r.Double();
  i.flag = r.Int();
}

void WriteAxis(ArchiveWriter& w, const CPlaneAxe& a) {
  w.Int(a.position);
  w.Int(a.titleMode);
  w.Int(a.tickLines);
  w.String(a.name);
  w.String(a.name);
  w.String(a.unit);
  w.String(a.note);
  w.Double(a.band);
  w.Double(a.tickStep);
  WriteScale(w, a.scale);
  w.Int(a.arrow);
}

void ReadAxis(ArchiveReader& r, CPlaneAxe& a) {
  a.position = r.Int();
  if (a.position != 1 && a.position != 2) a.position = 0;
  a.titleMode = r.Int();
  a.tickLines = r.Int();
  r.String();  // the first copy of the name; the second one counts
  a.name = r.String();
  a.unit = r.String();
  a.note = r.String();
  a.band = r.Double();
  a.tickStep = r.Double();
  a.scale = ReadScale(r);
  if (r.version > 102) a.arrow = r.Int();
}

void WriteEditor(ArchiveWriter& w, const CPlotEdit& e) {
  w.Int(e.drawingStep);
  w.Int(e.areasMarks);
  w.Int(e.pictureShown);
  w.Int(e.pictureCentred);
  w.Int(e.pictureStretched);
  w.String(e.pictureFile);
}

void ReadEditor(ArchiveReader& r, CPlotEdit& e) {
  e.drawingStep = r.Int();
  e.areasMarks = r.Int();
  e.pictureShown = r.Int();
  e.pictureCentred = r.Int();
  e.pictureStretched = r.Int();
  e.pictureFile = r.String();
}

void WriteCommon(ArchiveWriter& w, const CHbaseSettings& c) {
  w.Int(c.areaProportional);
  w.Int(c.sizeFollowsScale);
  w.Int(c.byColour);
  w.Int(c.labelMaximum);
}

void ReadCommon(ArchiveReader& r, CHbaseSettings& c) {
  c.areaProportional = r.Int();
  c.sizeFollowsScale = r.Int();
  c.byColour = r.Int();
  c.labelMaximum = r.Int();
}

void WriteCell(ArchiveWriter& w, const CHCell& c) {
  w.Double(c.width);
  w.Double(c.height);
}

CHCell ReadCell(ArchiveReader& r) {
  CHCell c;
  c.width = r.Double();
  c.height = r.Double();
  return c;
}

void WriteDistribution(ArchiveWriter& w, const CHisto& h) {
  w.Int(h.mode);
  const CHdist& d = h.density;
  WriteCommon(w, d);
  w.Int(d.quality);
  WriteCell(w, d.fine);
  WriteCell(w, d.coarse);
  w.Int(d.kernelKind);
  w.Int(d.transparent);
  w.Int(d.showMode);
  w.Int(d.selectOutside);
  const CMathScale& s = d.colourScale;
  w.Double(s.first);
  w.Double(s.second);
  w.Int(s.flag);
  w.Int(s.values.empty() ? 0 : s.values.front());
  w.Dwords(s.values);
  w.Double(d.range.minimum);
  w.Double(d.range.maximum);
  w.Int(d.range.enabled);
  w.Dword(d.range.colour);

  const CHstat& g = h.diagram;
  WriteCommon(w, g);
  w.Int(g.symbols);
  WriteCell(w, g.cell);
  w.Int(g.fixedPosition);
  w.Int(g.centreLines);
  w.Int(g.trendLines);
}

void ReadDistribution(ArchiveReader& r, CHisto& h) {
  h.mode = r.Int();
  CHdist& d = h.density;
  ReadCommon(r, d);
  d.quality = r.Int();
  d.fine = ReadCell(r);
  d.coarse = ReadCell(r);
  d.kernelKind = r.Int();
  d.transparent = r.Int();
  d.showMode = r.Int();
  d.selectOutside = r.Int();
  CMathScale& s = d.colourScale;
  s.first = r.Double();
  s.second = r.Double();
  s.flag = r.Int();
  const std::int32_t firstColour = r.Int();
  s.values = {firstColour};
  if (r.version > 100) {
    std::vector<std::int32_t> palette = r.Dwords();
    if (!palette.empty()) s.values = std::move(palette);
  }
  d.range.minimum = r.Double();
  d.range.maximum = r.Double();
  d.range.enabled = r.Int();
  d.range.colour = r.Dword();
  d.DeriveCells();

  CHstat& g = h.diagram;
  ReadCommon(r, g);
  g.symbols = r.Int();
  g.cell = ReadCell(r);
  g.fixedPosition = r.Int();
  g.centreLines = r.Int();
  g.trendLines = r.Int();
  g.ClampCell();
  h.recomputeNeeded = true;
}

// --- plot objects: own fields first, then the base body ---

void WritePlot(ArchiveWriter& w, const CPlot& o) {
  w.Dword(o.id);
  w.Word(static_cast<std::uint16_t>(o.ColourIndex()));
  w.String(o.name);
  w.RectItem(o.Bounds());
  w.Word(static_cast<std::uint16_t>(o.lineWidth));
  w.Int(o.step);
  w.PointItem(o.position);
  w.Points(o.Outline());
  w.Int(o.visible);
}

// Reads the CPlot body; the outline goes to the caller, who pairs it with
// the values read before it.
std::vector<Point> ReadPlot(ArchiveReader& r, CPlot& o) {
  o.id = r.Dword();
  const int colourIndex = r.Word();
  // The base operation: a function keeps the colour stored in its own body.
  o.CPlot::SetColourCommand(ColourCommandOfIndex(colourIndex));
  o.name = r.String();
  r.RectItem();  // recomputed when the edit is finished
  o.lineWidth = r.Word();
  o.step = r.Int();
  o.position = r.PointItem();
  std::vector<Point> outline = r.Points();
  if (r.version >= 110) o.visible = r.Int();
  ObjectIds().Raise(o.id);
  return outline;
}

void WriteVal(ArchiveWriter& w, const CPlotVal& o) {
  w.Word(static_cast<std::uint16_t>(o.source));
  w.Int(o.nextNumber);
  w.Int(o.sortKey);
  w.Int(o.sortDirection);
  WriteScale(w, o.xScale);
  WriteScale(w, o.yScale);
  w.Values(o.Values());
  WritePlot(w, o);
}

void ReadVal(ArchiveReader& r, CPlotVal& o) {
  o.source = r.Word();
  o.nextNumber = r.Int();
  o.sortKey = r.Int();
  o.sortDirection = r.Int();
  o.xScale = ReadScale(r);
  o.yScale = ReadScale(r);
  std::vector<DotValue> values = r.Values();
  std::vector<Point> outline = ReadPlot(r, o);
  // Every operation indexes both lists alike; a file that pairs them
  // differently cannot be used safely.
  if (!o.RestorePoints(std::move(outline), std::move(values)))
    throw ArchiveError(ArchiveError::Kind::BadCount, "outline and values differ in length");
}

void WriteDot(ArchiveWriter& w, const CPlotDot& o) {
  w.Word(static_cast<std::uint16_t>(o.ShapeIndex()));
  w.Word(static_cast<std::uint16_t>(o.size));
  w.Double(o.aspect);
  w.Double(o.sizeX);
  w.Double(o.sizeY);
  w.Int(o.connect);
  w.Int(o.connectWidth);
  WriteVal(w, o);
}

std::unique_ptr<CPlotDot> ReadDot(ArchiveReader& r) {
  auto o = std::make_unique<CPlotDot>(cmd::kBlackPoints, cmd::kRoundPoints, source::kDropped);
  const int shapeIndex = r.Word();
  o->size = r.Word();
  o->aspect = r.Double();
  o->sizeX = r.Double();
  o->sizeY = r.Double();
  o->connect = r.Int();
  if (r.version > 102) o->connectWidth = r.Int();
  ReadVal(r, *o);
  o->SetShape(ShapeCommandOfIndex(shapeIndex));
  o->RecalcMarker();
  o->FinishEdit();
  return o;
}

void WriteClipOwn(ArchiveWriter& w, const CPlotClip& o) {
  w.Int(o.fill);
  WriteVal(w, o);
}

void ReadClipOwn(ArchiveReader& r, CPlotClip& o) {
  o.fill = r.Int();
  ReadVal(r, o);
}

std::unique_ptr<CPlotClip> ReadClip(ArchiveReader& r) {
  auto o = std::make_unique<CPlotClip>(cmd::kBlackPoints, 0);
  ReadClipOwn(r, *o);
  o->FinishEdit();
  return o;
}

void WriteFunc(ArchiveWriter& w, const CPlotFunc& o) {
  w.Doubles(o.params);
  w.Values(o.rangeCorners);
  w.Dword(o.colour);
  w.Int(o.corridor);
  w.Int(o.samplerOption);
  WriteClipOwn(w, o);
}

std::unique_ptr<CPlotFunc> ReadFunc(ArchiveReader& r) {
  auto o = std::make_unique<CPlotFunc>(cmd::kBlackPoints, 0);
  o->params = r.Doubles();
  o->rangeCorners = r.Values();
  o->colour = r.Dword();
  o->corridor = r.Int();
  o->samplerOption = r.Int();
  ReadClipOwn(r, *o);
  // The curve is not stored: it is sampled again.
  o->Resample();
  r.CountSampled(o->curve.size());
  o->FinishEdit();
  return o;
}

void WriteText(ArchiveWriter& w, const CPlotText& o) {
  w.Int(o.anchor.x);
  w.Int(o.anchor.y);
  w.String(o.text);
  w.String(o.font.face);
  w.Int(o.font.weight);
  w.Byte(static_cast<std::uint8_t>(o.font.italic));
  w.Byte(static_cast<std::uint8_t>(o.font.underline));
  w.Dword(o.textColour);
  w.Int(o.textSize);
  w.Int(o.angle);
  w.Int(o.drawText);
  w.Dword(o.backgroundColour);
  w.Dword(o.reserved);
  w.Int(o.position);
  w.Int(o.background);
  w.Int(o.shadow);
  WriteVal(w, o);
}

std::unique_ptr<CPlotText> ReadText(ArchiveReader& r) {
  auto o = std::make_unique<CPlotText>(Point{}, CPlotText::kMadeByUser);
  const int x = ClampCoord(r.Int());
  const int y = ClampCoord(r.Int());
  o->anchor = {x, y};
  o->text = r.String();
  o->font.face = FaceOf(r.String());
  o->font.weight = r.Int();
  o->font.italic = r.Byte();
  o->font.underline = r.Byte();
  o->textColour = r.Dword();
  o->textSize = r.Int();
  o->angle = r.Int();
  o->drawText = r.Int();
  o->backgroundColour = r.Dword();
  o->reserved = r.Dword();
  o->position = r.Int();
  o->background = r.Int();
  o->shadow = r.Int();
  ReadVal(r, *o);
  o->RebuildLines();
  o->FinishEdit();
  return o;
}

template <class T, class WriteBody>
void WriteList(ArchiveWriter& w, const PlotList<T>& list, const std::string& className,
               WriteBody writeBody) {
  const auto kept = [](const T& o) {
    if constexpr (std::is_same_v<T, CPlotDot> || std::is_same_v<T, CPlotClip>)
      return !IsPurgeable(o);
    else
      return true;
  };
  std::uint64_t count = 0;
  for (const auto& o : list) count += kept(*o) ? 1 : 0;
  w.Count(count);
  for (const auto& o : list) {
    if (!kept(*o)) continue;
    w.NewObject(className);
    writeBody(w, *o);
  }
}

template <class T, class ReadBody>
void ReadList(ArchiveReader& r, PlotList<T>& list, std::string_view className, ReadBody readBody) {
  const std::uint64_t count = r.Count();
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string found = r.NextObject();
    if (found.empty()) continue;  // a null reference holds no object
    if (found != className)
      throw ArchiveError(ArchiveError::Kind::ClassMismatch, found + " in the list of " + std::string(className));
    list.push_back(readBody(r));
  }
}

}  // namespace

void WriteDocument(ByteSink& sink, const DocumentData& doc) {
  ArchiveWriter w(sink);
  w.Word(kArchiveMagic);
  w.Word(kArchiveVersion / 100);
  w.Word(kArchiveVersion % 100);
  w.String(kArchiveMarker);
  w.Int(doc.inches == 1 ? 1 : 0);
  w.Int(doc.pageWidth);
  w.Int(doc.pageHeight);
  w.String(doc.title);
  w.String(doc.comment);

  WriteVisu(w, doc.visu);
  for (const CIndent& indent : doc.indents) WriteIndent(w, indent);
  WriteAxis(w, doc.axisX);
  WriteAxis(w, doc.axisY);
  WriteList(w, doc.series, std::string(kSeriesClass), WriteDot);
  WriteList(w, doc.areas, std::string(kAreaClass), WriteClipOwn);
  WriteList(w, doc.functions, std::string(kFunctionClass), WriteFunc);
  WriteList(w, doc.commentaries, std::string(kCommentaryClass), WriteText);
  WriteEditor(w, doc.editor);
  WriteDistribution(w, doc.histo);
  w.Int(doc.legend.visible);
  w.RectItem(doc.legend.rect);
  w.Dword(0);  // the items containers hold are never stored in the plot's file
}

ReadReport ReadDocument(ByteSource& source, DocumentData& doc) {
  ArchiveReader r(source);
  ReadReport report;
  if (r.Word() != kArchiveMagic) throw ArchiveError(ArchiveError::Kind::Generic, "not a document");
  const int major = r.Word();
  const int minor = r.Word();
  if (major != 1 || minor > 10)
    throw ArchiveError(ArchiveError::Kind::BadVersion,
                       "version " + std::to_string(major) + "." + std::to_string(minor));
  r.version = major * 100 + minor;
  report.version = r.version;
  r.String();  // reserved marker
  doc.inches = r.Int() == 1 ? 1 : 0;
  doc.pageWidth = r.Int();
  doc.pageHeight = r.Int();
  doc.title = r.String();
  doc.comment = r.String();

  ReadVisu(r, doc.visu);
  for (CIndent& indent : doc.indents) ReadIndent(r, indent);
  ReadAxis(r, doc.axisX);
  ReadAxis(r, doc.axisY);
  ReadList(r, doc.series, kSeriesClass, ReadDot);
  ReadList(r, doc.areas, kAreaClass, ReadClip);
  ReadList(r, doc.functions, kFunctionClass, ReadFunc);
  ReadList(r, doc.commentaries, kCommentaryClass, ReadText);
  ReadEditor(r, doc.editor);
  ReadDistribution(r, doc.histo);
  if (r.version > 103) {
    doc.legend.visible = r.Int();
    doc.legend.rect = r.RectItem();
  }
  const std::uint32_t items = r.Dword();
  if (items != 0)
    report.notes.push_back("The file holds " + std::to_string(items) +
                           " contained items; they were ignored.");
  doc.BindVisu();
  return report;
}

}  // namespace tracemont
