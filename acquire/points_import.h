// Import of points: splitting text lines into fields, finding where the data
// starts, reading text files and clipboard text into lines, collecting
// points from chosen columns, the range filter and multipliers, and the
// creation of the new series. The wizard pages only gather the user's
// choices and call these.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/dot_value.h"

namespace tracemont {

class CMainDoc;
class CPlotDot;
struct DocumentData;

// Default field separators: space, tab, comma, semicolon, vertical bar.
inline constexpr std::string_view kFieldSeparators = " \t,;|";

// Messages of the wizard.
inline constexpr const char* kMsgClipboardError = "Clipboard error";                     // 515
inline constexpr const char* kMsgNoDataRead = "Data was not intended from file";         // 41600
inline constexpr const char* kMsgNotAllPointsRead = "Not all points were read succesfully.";  // 41633
inline constexpr const char* kTitleFromClipboard = "Data from Clipboard";                // 41630
inline constexpr const char* kTitleNewData = "New data";                                 // 41631
inline constexpr const char* kTitleFromFunction = "Convert function to series of points";  // 41629
inline constexpr const char* kMsgRemoveRowsFormat =
    "%d lines were selected.\n All of these will are removed.";

// Splits a line into fields at any of `separators`. `line` is trimmed of
// white space at both ends in place; empty fields are dropped and every
// field is trimmed. The fields are appended to `out`; returns out.size().
int SplitFields(std::string& line, std::vector<std::string>& out,
                std::string_view separators = kFieldSeparators);
// The same without copies: the views point into `line`, which must outlive them.
void SplitFieldViews(std::string_view line, std::vector<std::string_view>& out,
                     std::string_view separators = kFieldSeparators);

// Not empty and starting with a digit, "-" or ".".
bool LooksNumeric(std::string_view field);
// True for an empty text; otherwise, once trimmed, not empty and made only of
// digits and "-", "+", ".", "e", "E".
bool IsNumberText(std::string_view text);
// The C library's ASCII-to-double reading, independent of the locale:
// leading white space skipped, the longest number prefix taken, 0 when none.
double AsciiToDouble(std::string_view text);

// Clipboard text to lines: split at line feeds, each line trimmed (so
// carriage returns go), empty lines dropped, every "," made ".".
std::vector<std::string> ClipboardLines(std::string_view text);
// Rows as clipboard text: each row's cells from `firstColumn` on joined by
// tabs with "." made ",", every line ending in CR LF.
std::string RowsToClipboardText(const std::vector<std::vector<std::string>>& rows,
                                std::size_t firstColumn = 0);

// Lines read from a text file.
struct ReadLinesResult {
  std::vector<std::string> lines;  // without their line ends
  long long estimatedLines = 1;    // file length / mean line length, at least 1
  bool complete = false;           // every line of the file was read
  std::string error;               // empty, or the message for the user
};
// Called with the lines read so far and the estimate; returns false to stop.
using ReadProgress = std::function<bool(long long linesRead, long long estimated)>;
// Reads up to `limit` lines (nullopt: every line, however many). A line may
// be of any length. On an error the lines read before it are kept.
ReadLinesResult ReadTextLines(const std::string& path, std::optional<std::size_t> limit,
                              const ReadProgress& progress = {});

// What the first look at the lines finds.
struct LineAnalysis {
  int columns = 3;        // the most fields of any line, at least 3
  int firstDataLine = 1;  // 1-based; 1 when no line looks like data
};
LineAnalysis AnalyseLines(const std::vector<std::string>& lines);

// Which fields make a point; column numbers and the first line are 1-based
// (a first line of 0 or less is taken as 1).
struct ColumnChoice {
  int firstDataLine = 1;
  int xColumn = 1;
  int yColumn = 2;
  int zColumn = 3;
};
// Points of lines (split with SplitFields) or of table rows (cells as
// fields): a row makes a point when it has at least as many non-empty fields
// as the X and the Y column number; Z is 0 when the row is too short for it.
std::vector<DotValue> CollectPoints(const std::vector<std::string>& lines, const ColumnChoice& choice);
// The same over a whole text (lines split at line feeds), without a line store.
std::vector<DotValue> CollectPointsFromText(std::string_view text, const ColumnChoice& choice);
// Reads the whole file and collects its points; `error` receives the
// message when the file cannot be read (no point is returned then).
std::vector<DotValue> CollectPointsFromFile(const std::string& path, const ColumnChoice& choice,
                                            std::string& error);
std::vector<DotValue> CollectPointsFromRows(const std::vector<std::vector<std::string>>& rows,
                                            const ColumnChoice& choice);

// Smallest and largest X and Y of the points; nothing for no point.
struct ValueRange {
  double xMin, xMax, yMin, yMax;
};
std::optional<ValueRange> RangeOf(const std::vector<DotValue>& points);

// Multiplier of step 2: the decimal value of the text, clamped to 0..1000000.
double ClampMultiplier(double k);
// Aspect ratio of step 3, clamped to 0.1..10.
double ClampAspect(double aspect);

// Step 2's filter: with `range` only points inside it (bounds inclusive, on
// the values as read) are kept; kept points are multiplied by kx and ky.
// Works in the given list's storage: pass it with std::move when it is no
// longer needed.
std::vector<DotValue> FilterAndScale(std::vector<DotValue> points, const std::optional<ValueRange>& range,
                                     double kx, double ky);

// The new series' drawing and axis choices (step 3).
struct ImportSeriesSettings {
  std::string title;
  int colourCommand = 0;  // a colour command (32850..32855); 0 keeps the document's default
  int shapeCommand = 0;   // a shape command (32843..32845); 0 keeps the default
  int radius = 10;        // 0.1 mm, clamped to 0..100
  double aspect = 1.0;    // clamped with ClampAspect
  ValueRange axes{};      // the axes are asked to take these ranges
};
struct ImportOutcome {
  CPlotDot* series = nullptr;  // owned by the document; null when nothing was created
  bool scalesChanged = false;
};
// Creates the series (source 2) holding every point, after the axes were
// asked to take the ranges. Nothing when `points` is empty.
ImportOutcome CreateImportedSeries(CMainDoc& doc, std::vector<DotValue> points,
                                   const ImportSeriesSettings& settings);

// Points of the points editor's rows (cells X, Y, Z): leading white space
// is ignored; a row with fewer than 2 non-empty cells is dropped; X and Y
// are the first two cells' values, Z the third's when all three are filled,
// else 0. Records are fresh (count 3, flag 0).
std::vector<DotValue> PointsFromEditorRows(const std::vector<std::vector<std::string>>& rows);

// The file the wizard proposes: the document's path without its extension
// and ".txt", or "test.txt".
std::string ProposedImportFileName(const std::string& documentPath);

}  // namespace tracemont
