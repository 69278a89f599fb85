#include "acquire/points_import.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <system_error>
#include <thread>

#include "model/memory_advice.h"
#include "model/main_doc.h"
#include "model/points_export.h"

namespace tracemont {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the row's fields make a point, and the point.
template <class Field>
std::optional<DotValue> PointOfFields(const std::vector<Field>& fields, std::size_t nonEmpty,
                                      const ColumnChoice& choice) {
  const auto within = [&](int column) {
    return column >= 1 && static_cast<std::size_t>(column) <= nonEmpty &&
           static_cast<std::size_t>(column) <= fields.size();
  };
  if (!within(choice.xColumn) || !within(choice.yColumn)) return std::nullopt;
  const auto value = [&](int column) {
    return AsciiToDouble(fields[static_cast<std::size_t>(column - 1)]);
  };
  return DotValue(value(choice.xColumn), value(choice.yColumn),
                  within(choice.zColumn) ? value(choice.zColumn) : 0.0);
}

std::size_t FirstRowIndex(const ColumnChoice& choice) {
  return choice.firstDataLine <= 1 ? 0 : static_cast<std::size_t>(choice.firstDataLine - 1);
}

}  // namespace

void SplitFieldViews(std::string_view line, std::vector<std::string_view>& out,
                     std::string_view separators) {
  std::string_view rest = Trim(line);
  while (!rest.empty()) {
    const std::size_t p = rest.find_first_of(separators);
    if (p == std::string_view::npos) {
      out.push_back(rest);
      return;
    }
    const std::string_view field = Trim(rest.substr(0, p));
    if (!field.empty()) out.push_back(field);
    rest = Trim(rest.substr(p + 1));
  }
}

int SplitFields(std::string& line, std::vector<std::string>& out, std::string_view separators) {
  line = std::string(Trim(line));
  std::vector<std::string_view> views;
  SplitFieldViews(line, views, separators);
  for (const std::string_view v : views) out.emplace_back(v);
  return static_cast<int>(out.size());
}

bool LooksNumeric(std::string_view field) {
  return !field.empty() && (IsDigit(field.front()) || field.front() == '-' || field.front() == '.');
}

bool IsNumberText(std::string_view text) {
  if (text.empty()) return true;
  text = Trim(text);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return IsDigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  });
}

double AsciiToDouble(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
    // from_chars takes its own minus only; a second sign is no number.
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return 0.0;
  }
  double v = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) {
    // Like strtod: overflow gives infinity, underflow zero. from_chars
    // leaves v untouched, so decide from the exponent's sign.
    const std::string_view digits(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    const std::size_t e = digits.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    v = tiny ? 0.0 : HUGE_VAL;
  }
  return negative ? -v : v;
}

std::vector<std::string> ClipboardLines(std::string_view text) {
  std::vector<std::string_view> views;
  SplitFieldViews(text, views, "\n");
  std::vector<std::string> lines;
  lines.reserve(views.size());
  for (const std::string_view v : views) {
    std::string line(v);
    std::replace(line.begin(), line.end(), ',', '.');
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string RowsToClipboardText(const std::vector<std::vector<std::string>>& rows,
                                std::size_t firstColumn) {
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t c = firstColumn; c < row.size(); ++c) {
      if (c > firstColumn) out += '\t';
      out += row[c];
    }
    out += "\r\n";
  }
  std::replace(out.begin(), out.end(), '.', ',');
  return out;
}

ReadLinesResult ReadTextLines(const std::string& path, std::optional<std::size_t> limit,
                              const ReadProgress& progress) {
  ReadLinesResult result;
  const auto closer = [](std::FILE* f) { std::fclose(f); };
  std::unique_ptr<std::FILE, decltype(closer)> file(std::fopen(path.c_str(), "rb"), closer);
  if (!file) {
    result.error = ExportErrorMessage(errno);
    return result;
  }
  long long fileSize = -1;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) fileSize = std::ftell(file.get());
  std::rewind(file.get());

  std::string pending;  // a line not yet ended
  long long bytesInLines = 0;
  std::vector<char> buffer(1 << 16);
  const auto full = [&] { return limit && result.lines.size() >= *limit; };
  const auto store = [&](std::string_view line) {
    bytesInLines += static_cast<long long>(line.size()) + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.lines.emplace_back(line);
    if (progress && result.lines.size() % 4096 == 0) {
      const long long mean = bytesInLines / static_cast<long long>(result.lines.size());
      if (!progress(static_cast<long long>(result.lines.size()),
                    fileSize > 0 && mean > 0 ? fileSize / mean : 1))
        return false;
    }
    return true;
  };

  bool stopped = false;
  while (!full() && !stopped) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (got == 0) {
      if (std::ferror(file.get())) result.error = ExportErrorMessage(errno ? errno : EIO);
      break;
    }
    std::string_view chunk(buffer.data(), got);
    while (!chunk.empty() && !full()) {
      const std::size_t nl = chunk.find('\n');
      if (nl == std::string_view::npos) {
        pending.append(chunk);
        chunk = {};
        break;
      }
      if (pending.empty()) {
        stopped = !store(chunk.substr(0, nl));
      } else {
        pending.append(chunk.substr(0, nl));
        stopped = !store(pending);
        pending.clear();
      }
      chunk.remove_prefix(nl + 1);
      if (stopped) break;
    }
    if (full() || stopped) {
      // Complete when nothing but the end of the file follows.
      if (chunk.empty() && pending.empty())
        result.complete = std::fgetc(file.get()) == EOF;
      break;
    }
  }
  if (!full() && !stopped && result.error.empty()) {
    if (!pending.empty()) store(pending);
    result.complete = true;
  }

  const long long count = static_cast<long long>(result.lines.size());
  if (result.complete) {
    result.estimatedLines = std::max(1LL, count);
  } else {
    const long long mean = count > 0 ? bytesInLines / count : 0;
    result.estimatedLines = mean > 0 && fileSize > 0 ? std::max(count, fileSize / mean) : 1;
  }
  return result;
}

LineAnalysis AnalyseLines(const std::vector<std::string>& lines) {
  LineAnalysis analysis;
  bool found = false;
  std::vector<std::string_view> fields;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    fields.clear();
    SplitFieldViews(lines[i], fields);
    analysis.columns = std::max(analysis.columns, static_cast<int>(fields.size()));
    if (found || fields.empty()) continue;
    const auto numeric = std::count_if(fields.begin(), fields.end(),
                                       [](std::string_view f) { return LooksNumeric(f); });
    if (fields.size() <= static_cast<std::size_t>(numeric) + 1) {
      analysis.firstDataLine = static_cast<int>(i + 1);
      found = true;
    }
  }
  return analysis;
}

std::vector<DotValue> CollectPoints(const std::vector<std::string>& lines,
                                    const ColumnChoice& choice) {
  std::vector<DotValue> points;
  std::vector<std::string_view> fields;
  for (std::size_t i = FirstRowIndex(choice); i < lines.size(); ++i) {
    fields.clear();
    SplitFieldViews(lines[i], fields);
    if (auto p = PointOfFields(fields, fields.size(), choice)) points.push_back(*p);
  }
  return points;
}

namespace {

// The points of whole lines of text, appended to `out` in order.
void CollectLines(std::string_view text, const ColumnChoice& choice, std::vector<DotValue>& out) {
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    fields.clear();
    SplitFieldViews(line, fields);
    if (auto p = PointOfFields(fields, fields.size(), choice)) out.push_back(*p);
  }
}

}  // namespace

std::vector<DotValue> CollectPointsFromText(std::string_view text, const ColumnChoice& choice) {
  for (std::size_t skip = FirstRowIndex(choice); skip > 0 && !text.empty(); --skip) {
    const std::size_t nl = text.find('\n');
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
  }
  std::vector<DotValue> points;
  // One record per line at most: reserving spares the copies of growth.
  points.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  PreferHugePages(points.data(), points.capacity() * sizeof(DotValue));
  // Lines are independent: a long text is read in two halves at once, split
  // at a line end, and the second half's points follow the first's.
  constexpr std::size_t kParallelFrom = 4 << 20;
  const std::size_t middle = text.size() >= kParallelFrom ? text.find('\n', text.size() / 2) : std::string_view::npos;
  if (middle == std::string_view::npos || std::thread::hardware_concurrency() < 2) {
    CollectLines(text, choice, points);
    return points;
  }
  const std::string_view rest = text.substr(middle + 1);
  std::vector<DotValue> second;
  std::thread helper;
  try {
    helper = std::thread([&] {
      second.reserve(static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1);
      PreferHugePages(second.data(), second.capacity() * sizeof(DotValue));
      CollectLines(rest, choice, second);
    });
  } catch (const std::system_error&) {
    CollectLines(text, choice, points);  // no thread to be had: one pass
    return points;
  }
  CollectLines(text.substr(0, middle + 1), choice, points);
  helper.join();
  points.insert(points.end(), second.begin(), second.end());
  return points;
}

std::vector<DotValue> CollectPointsFromFile(const std::string& path, const ColumnChoice& choice,
                                            std::string& error) {
  error.clear();
  const auto closer = [](std::FILE* f) { std::fclose(f); };
  std::unique_ptr<std::FILE, decltype(closer)> file(std::fopen(path.c_str(), "rb"), closer);
  if (!file) {
    error = ExportErrorMessage(errno);
    return {};
  }
  std::string text;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0) {
      text.reserve(static_cast<std::size_t>(size));
      PreferHugePages(text.data(), text.capacity());
    }
  }
  std::rewind(file.get());
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    text.append(buffer.data(), got);
    if (got < buffer.size()) break;
  }
  if (std::ferror(file.get())) {
    error = ExportErrorMessage(errno ? errno : EIO);
    return {};
  }
  return CollectPointsFromText(text, choice);
}

std::vector<DotValue> CollectPointsFromRows(const std::vector<std::vector<std::string>>& rows,
                                            const ColumnChoice& choice) {
  std::vector<DotValue> points;
  for (std::size_t i = FirstRowIndex(choice); i < rows.size(); ++i) {
    const auto& cells = rows[i];
    const auto nonEmpty = static_cast<std::size_t>(std::count_if(
        cells.begin(), cells.end(), [](const std::string& c) { return !Trim(c).empty(); }));
    if (auto p = PointOfFields(cells, nonEmpty, choice)) points.push_back(*p);
  }
  return points;
}

std::optional<ValueRange> RangeOf(const std::vector<DotValue>& points) {
  if (points.empty()) return std::nullopt;
  ValueRange r{points[0].x, points[0].x, points[0].y, points[0].y};
  for (const DotValue& p : points) {
    if (p.x < r.xMin) r.xMin = p.x;
    if (p.x > r.xMax) r.xMax = p.x;
    if (p.y < r.yMin) r.yMin = p.y;
    if (p.y > r.yMax) r.yMax = p.y;
  }
  return r;
}

double ClampMultiplier(double k) {
  if (!(k > 0.0)) return 0.0;  // also not-a-number
  return std::min(k, 1000000.0);
}

double ClampAspect(double aspect) {
  if (!(aspect > 0.1)) return 0.1;
  return std::min(aspect, 10.0);
}

std::vector<DotValue> FilterAndScale(std::vector<DotValue> points, const std::optional<ValueRange>& range,
                                     double kx, double ky) {
  std::size_t kept = 0;
  for (const DotValue& p : points) {
    if (range && !(range->xMin <= p.x && p.x <= range->xMax && range->yMin <= p.y &&
                   p.y <= range->yMax))
      continue;
    points[kept++] = DotValue(p.x * kx, p.y * ky, p.z);
  }
  points.resize(kept);
  return points;
}

ImportOutcome CreateImportedSeries(CMainDoc& doc, std::vector<DotValue> points,
                                   const ImportSeriesSettings& settings) {
  ImportOutcome outcome;
  if (points.empty()) return outcome;
  SeriesStyle style;
  if (settings.colourCommand != 0) style.colourCommand = settings.colourCommand;
  if (settings.shapeCommand != 0) style.shapeCommand = settings.shapeCommand;
  style.size = std::clamp(settings.radius, 0, 100);
  style.aspect = ClampAspect(settings.aspect);
  // The series first, so that one undo step takes back the axes too.
  outcome.series = doc.NewSeriesFromValues(std::move(points), style, source::kRead, settings.title);
  if (!outcome.series) return outcome;
  DocumentData& data = doc.Data();
  const bool xChanged = data.axisX.FitToValues(settings.axes.xMin, settings.axes.xMax);
  const bool yChanged = data.axisY.FitToValues(settings.axes.yMin, settings.axes.yMax);
  outcome.scalesChanged = xChanged || yChanged;
  if (outcome.scalesChanged) outcome.series->ApplyScales(data.axisX.scale, data.axisY.scale);
  return outcome;
}

std::vector<DotValue> PointsFromEditorRows(const std::vector<std::vector<std::string>>& rows) {
  std::vector<DotValue> points;
  for (const auto& row : rows) {
    std::string_view cells[3];
    int filled = 0;
    for (std::size_t c = 0; c < 3 && c < row.size(); ++c) {
      std::string_view cell = row[c];
      while (!cell.empty() && IsSpace(cell.front())) cell.remove_prefix(1);
      cells[c] = cell;
      if (!cell.empty()) ++filled;
    }
    if (filled < 2) continue;
    points.emplace_back(AsciiToDouble(cells[0]), AsciiToDouble(cells[1]),
                        filled == 3 ? AsciiToDouble(cells[2]) : 0.0);
  }
  return points;
}

std::string ProposedImportFileName(const std::string& documentPath) {
  return ProposedPointsFileName(documentPath);
}

}  // namespace tracemont
