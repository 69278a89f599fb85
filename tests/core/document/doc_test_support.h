// Helpers of the document tests: byte building, in-memory archives, sample
// documents and a scratch folder.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/archive.h"
#include "model/document_data.h"

namespace tracemont::testing {

using Bytes = std::vector<std::uint8_t>;

// Little-endian bytes written by hand, independent of the archive writer.
class ByteBuilder {
 public:
  ByteBuilder& U8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  ByteBuilder& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  ByteBuilder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  ByteBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  ByteBuilder& F64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    return U32(static_cast<std::uint32_t>(u)).U32(static_cast<std::uint32_t>(u >> 32));
  }
  // Short 8-bit string (below 255 bytes).
  ByteBuilder& Str(std::string_view s) {
    U8(static_cast<std::uint8_t>(s.size()));
    return Raw(s);
  }
  ByteBuilder& Raw(std::string_view s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  ByteBuilder& Append(const Bytes& b) {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
  }
  Bytes bytes;
};

inline Bytes ToBytes(const DocumentData& doc) {
  MemorySink sink;
  WriteDocument(sink, doc);
  return sink.Bytes();
}

// The outcome of reading bytes: the report, or the message shown to the user.
struct ReadOutcome {
  std::optional<ReadReport> report;
  std::string message;
  ArchiveError::Kind kind = ArchiveError::Kind::Generic;
};

inline ReadOutcome FromBytes(const Bytes& bytes, DocumentData& out) {
  MemorySource source(bytes);
  ReadOutcome outcome;
  try {
    outcome.report = ReadDocument(source, out);
  } catch (const ArchiveError& e) {
    outcome.message = e.UserMessage();
    outcome.kind = e.GetKind();
  }
  return outcome;
}

// Index where two byte strings first differ (the shorter length when one is
// a prefix of the other).
inline std::size_t FirstDifference(const Bytes& a, const Bytes& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

// Scales with one value unit per plot unit, so outline points equal values.
inline CAxeScale UnitScale() { return CAxeScale(1 / 0.0254, 0.0, 1e-9, 1e-9, 1, CAxeScale::kLinear); }

// A series of the given points (values = plot units), finished.
std::unique_ptr<CPlotDot> MakeSeries(const std::vector<Point>& points, int colour = cmd::kRedPoints);
// An area with the given vertices, finished.
std::unique_ptr<CPlotClip> MakeArea(const std::vector<Point>& vertices, int colour = cmd::kBluePoints);
// A document with one object of every kind and every setting off its default.
DocumentData MakeRichDocument();

// A folder under the temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace tracemont::testing
