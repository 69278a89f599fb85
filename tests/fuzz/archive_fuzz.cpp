// libFuzzer target of the document reader: any bytes must be read or refused
// with an archive error, never crash, hang or allocate wildly; a document
// that reads must write and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/archive.h"
#include "render/recording_surface.h"

using namespace tracemont;

namespace {

// What opening a document does with every object: new outlines from the
// document's axes (commentaries lay themselves out), then drawing and hit
// tests.
template <class List>
void Exercise(const List& list, DocumentData& doc, RecordingSurface& surface) {
  DrawContext context;
  context.page = LayoutPage(doc.pageWidth, doc.pageHeight, doc.axisX, doc.axisY);
  for (const auto& object : list) {
    object->ApplyScales(doc.axisX.scale, doc.axisY.scale);
    object->Draw(surface, context);
    object->HitTest({0, 0});
    surface.Clear();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemorySource source(std::span<const std::uint8_t>(data, size));
  DocumentData doc;
  try {
    ReadDocument(source, doc);
  } catch (const ArchiveError&) {
    return 0;
  }
  RecordingSurface surface;
  Exercise(doc.series, doc, surface);
  Exercise(doc.areas, doc, surface);
  Exercise(doc.functions, doc, surface);
  Exercise(doc.commentaries, doc, surface);
  MemorySink sink;
  WriteDocument(sink, doc);
  MemorySource again(sink.Bytes());
  DocumentData copy;
  try {
    ReadDocument(again, copy);
  } catch (const ArchiveError&) {
    std::abort();  // what this system writes it must read
  }
  return 0;
}
