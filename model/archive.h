// The document archive (.tmr): a little-endian byte stream of a header and
// every part of the document in a fixed order, the four object lists written
// as typed object references.
//
// The writer always writes the current version 1.10. The reader takes every
// version from 1.00 to 1.10, applies the defaults of fields an older version
// lacks, and validates as it goes: truncation, unknown classes, bad class or
// object indices and counts larger than the rest of the data are refused,
// so that a hostile file never makes it allocate much more than its own
// size. Strings are Windows-1251 on disk and UTF-8 in memory; a string with
// a character Windows-1251 cannot hold is written in the wide (UTF-16) form
// that every reader accepts.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/byte_stream.h"
#include "model/document_data.h"

namespace tracemont {

constexpr std::uint16_t kArchiveMagic = 0x0CD0;
// Versions as major x 100 + minor (1.10 is 110).
constexpr int kArchiveVersion = 110;
constexpr int kOldestArchiveVersion = 100;
// The reserved 8-character text of the header.
constexpr std::string_view kArchiveMarker = "Tracemnt";

// The system's messages for documents that cannot be read.
inline constexpr const char* kMsgFailedToOpen = "Failed to open document.";
inline constexpr const char* kMsgUnexpectedFormat = "Unexpected file format.";

// A document stream that cannot be read (or written). `Generic` is the
// general archive error ("Failed to open document."), every other kind is
// reported as "Unexpected file format.".
class ArchiveError : public std::runtime_error {
 public:
  enum class Kind { Generic, EndOfFile, BadClass, BadIndex, BadCount, BadVersion, ClassMismatch };
  ArchiveError(Kind kind, const std::string& detail);
  Kind GetKind() const { return kind_; }
  // The text shown to the user.
  const char* UserMessage() const;

 private:
  Kind kind_;
};

// Writes the primitive items and object references of the format.
class ArchiveWriter {
 public:
  explicit ArchiveWriter(ByteSink& sink) : sink_(sink) {}

  void Byte(std::uint8_t v);
  void Word(std::uint16_t v);
  void Dword(std::uint32_t v);
  void Int(std::int32_t v);
  void Double(double v);
  void RectItem(const Rect& r);
  void PointItem(Point p);
  // 8-bit Windows-1251 form when every character fits, else the wide form.
  void String(std::string_view utf8);
  void Count(std::uint64_t n);
  void Points(const std::vector<Point>& points);
  void Doubles(const std::vector<double>& values);
  void Dwords(const std::vector<std::int32_t>& values);
  void Values(const std::vector<DotValue>& values);
  // Announces the class of a new object (by name the first time, by index
  // later); the object then takes the next index and its body follows.
  void NewObject(const std::string& className);

 private:
  void Raw(const void* data, std::size_t n) { sink_.Write(data, n); }
  void LengthPrefix(std::uint64_t n);
  ByteSink& sink_;
  std::map<std::string, std::uint32_t> classIndex_;
  std::uint32_t nextIndex_ = 1;
};

// Reads the primitive items and object references of the format, throwing
// ArchiveError on anything malformed.
class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource& source) : source_(source), size_(source.Remaining()) {}

  std::uint8_t Byte();
  std::uint16_t Word();
  std::uint32_t Dword();
  std::int32_t Int();
  double Double();
  // Coordinates are kept within +-1e9 plot units, as everything this system
  // writes is, so that later arithmetic on them cannot overflow.
  Rect RectItem();
  Point PointItem();
  std::string String();
  std::uint64_t Count();
  std::vector<Point> Points();
  std::vector<double> Doubles();
  std::vector<std::int32_t> Dwords();
  std::vector<DotValue> Values();

  // The class name of the next object reference, the object having taken
  // its index; empty for a null reference.
  std::string NextObject();

  std::uint64_t Remaining() const { return source_.Remaining(); }
  // The version of the file being read (from its header).
  int version = kArchiveVersion;

  // Records of function curves sampled while reading so far; throws BadCount
  // once they pass 1,000,000 plus one per 8 bytes of the file, so that a
  // small file of many function families cannot take gigabytes.
  void CountSampled(std::size_t records);

 private:
  void Raw(void* data, std::size_t n);
  // Throws BadCount unless n items of `size` bytes fit in what is left.
  void RequireRoom(std::uint64_t n, std::uint64_t size) const;
  std::uint64_t LengthPrefix(bool& wide);
  ByteSource& source_;
  std::uint64_t size_;
  std::uint64_t sampled_ = 0;
  // Index 0 is null; each class and each object takes the next entry.
  // An entry holds a class name, or is empty for an object.
  std::vector<std::string> table_{std::string()};
  std::vector<bool> isClass_{false};
};

// What reading a document found besides its content.
struct ReadReport {
  int version = kArchiveVersion;
  std::vector<std::string> notes;  // things read but ignored
};

// Writes the whole document, version 1.10. Objects the document would purge
// before writing (empty series, areas too small to draw) are left out.
// Throws what the sink throws.
void WriteDocument(ByteSink& sink, const DocumentData& doc);

// Reads a whole document into `out`, which must be a fresh record. Raises
// the process-wide id counter to every id read. Throws ArchiveError (and
// FileError from file sources); `out` is then partly filled and should be
// dropped.
ReadReport ReadDocument(ByteSource& source, DocumentData& out);

}  // namespace tracemont
