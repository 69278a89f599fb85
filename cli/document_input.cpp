#include "cli/document_input.h"

#include <ostream>

#include "model/document_file.h"

namespace tracemont::cli {

bool ReadDocument(const std::string& path, DocumentData& doc, CommandIo& io, int* version) {
  const FileResult read = LoadDocumentFile(path, doc);
  if (!read.ok) {
    io.err << read.message << "\n";
    return false;
  }
  for (const std::string& note : read.notes) io.err << "note: " << note << "\n";
  if (version) *version = read.version;
  return true;
}

}  // namespace tracemont::cli
