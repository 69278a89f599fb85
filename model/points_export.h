// Export of points: the text form (files, preview and clipboard) and the XML
// form with the series' drawing attributes, areas, functions and
// commentaries. Everything here only reads the document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/document_data.h"
#include "model/dot_value.h"

namespace tracemont {

inline constexpr const char* kMsgFileAccessDenied = "File access denied";   // 41535
inline constexpr const char* kMsgNoFreeSpace = "No free space on disk";     // 41536
inline constexpr const char* kMsgFileReadWrite = "File read/write error";   // 41533

// The separators a text export can use, by index: space, tab, comma,
// semicolon, vertical bar. Every one of them is cleaned out of axis names
// and units in the text form.
inline constexpr std::string_view kPointSeparators = " \t,;|";

// Which points are taken from the document.
struct PointFilter {
  bool selectedOnly = false;  // only each series' selected points, in selection order
  bool colouredOnly = false;  // only series whose colour command equals `colour`
  int colour = 0;             // a colour command; 0 lets every series through
};

// Sort keys of the text export.
enum class PointSort { ByX = 0, ByY = 1, None = 2 };

// Where the text goes: the preview takes at most kPreviewPointLimit points;
// the clipboard writes decimal commas.
enum class PointsTextMode { File, Preview, Clipboard };
inline constexpr std::size_t kPreviewPointLimit = 500;

// The text export's choices, with the text dialog's defaults.
struct PointsTextOptions {
  bool plotHeader = false;
  bool notes = false;
  std::string notesText;  // the line written when `notes` is on
  bool axisTitle = true;
  bool units = true;
  bool zParameter = true;
  int divider = 1;  // index into kPointSeparators (0..4); others are taken as tab
  PointSort sort = PointSort::None;
  PointFilter filter;
};

// The XML export's choices, with the XML dialog's defaults.
struct PointsXmlOptions {
  bool plotHeader = true;
  bool notes = true;
  std::string notesText;
  bool axisTitle = true;
  bool units = true;
  bool zParameter = false;
  bool combineSeries = false;
  bool functions = false;
  bool areas = false;
  bool commentary = false;
  PointFilter filter;
};

// Whether the series passes the colour part of the filter.
bool SeriesPassesFilter(const CPlotDot& series, const PointFilter& filter);

// X, Y, Z of the points of one series: all in outline order, or the selected
// ones in selection order (stale selection entries are skipped). Appends to
// `out`, at most up to `limit` records in `out`.
void GatherSeriesPoints(const CPlotDot& series, bool selectedOnly, std::vector<DotValue>& out,
                        std::size_t limit = static_cast<std::size_t>(-1));

// The points of every series (visible or not, list order) that pass the
// filter; at most `limit` of them.
std::vector<DotValue> GatherPoints(const DocumentData& doc, const PointFilter& filter,
                                   std::size_t limit = static_cast<std::size_t>(-1));

// Stable ascending sort on X or Y; points whose key is not a number go to the
// end in their order. None leaves the list alone.
void SortPoints(std::vector<DotValue>& points, PointSort sort);

// Every separator character in `text` replaced by "_".
std::string CleanAxisText(std::string_view text);

// The whole text of the text export: header lines, then one line per point,
// every line ending in CR LF. The points are gathered from the document with
// the options' filter (and the preview limit).
std::string BuildPointsText(const DocumentData& doc, const PointsTextOptions& options,
                            PointsTextMode mode);
// The same with the given points instead of gathered ones (the filter and
// the preview limit are not applied; the sort is).
std::string BuildPointsText(const DocumentData& doc, const PointsTextOptions& options,
                            std::vector<DotValue> points, PointsTextMode mode);

// Clipboard text of points: axis-name and unit lines, then tab-separated
// X, Y, Z with decimal commas and CR LF. With `points` given they are written
// as they are; otherwise they are gathered with `filter`. `count` receives the
// number of points; the text is empty when there is none.
std::string PointsClipboardText(const DocumentData& doc, const std::vector<DotValue>* points,
                                const PointFilter& filter, int& count);

// The XML export as UTF-8 text (the caller encodes it; see EncodeXmlCp1251).
std::string BuildPointsXml(const DocumentData& doc, const PointsXmlOptions& options);

// UTF-8 XML text to Windows-1251 bytes, as its declaration says. A character
// the code page cannot hold becomes a numeric character reference, so that
// nothing is lost; the tags and declaration are ASCII and unaffected.
std::string EncodeXmlCp1251(std::string_view utf8);

// The characters XML reserves written as entities ("&amp;", "&lt;", "&gt;",
// and "&quot;" when `attribute`).
std::string XmlEscape(std::string_view text, bool attribute);

// The label of function parameter i in the XML export ("" for 9 and above 10).
std::string ParamLabel(std::size_t i);

// The outcome of writing an export file: empty message on success, else one
// of kMsgFileAccessDenied, kMsgNoFreeSpace, kMsgFileReadWrite.
struct ExportResult {
  bool ok = false;
  std::string message;
};

// Creates or replaces `path` and writes `bytes`. Nothing is written when the
// file cannot be created.
ExportResult WriteExportFile(const std::string& path, std::string_view bytes);

// The message for a system error number met while creating or writing.
std::string ExportErrorMessage(int error);

// The name proposed by "Save Points As...": the document's path with its
// extension replaced by "txt", or "test.txt" without a path.
std::string ProposedPointsFileName(const std::string& documentPath);

// Which export dialog a chosen file name leads to, by its extension (case
// ignored): "txt" text, "xml" XML, anything else none.
enum class PointsFileKind { None, Text, Xml };
PointsFileKind PointsFileKindOf(const std::string& path);

}  // namespace tracemont
