// tracemont-cli convert IN OUT: reads a document and writes it again in the
// current format version.
#include <ostream>

#include "cli/command.h"
#include "cli/document_input.h"
#include "model/document_file.h"

namespace tracemont::cli {
namespace {

int RunConvert(const std::vector<std::string>& args, CommandIo& io) {
  if (args.size() != 2) {
    io.err << "usage: tracemont-cli convert IN.tmr OUT.tmr\n";
    return 2;
  }
  DocumentData doc;
  if (!ReadDocument(args[0], doc, io)) return 2;
  const FileResult written = SaveDocumentFile(args[1], doc);
  if (!written.ok) {
    io.err << written.message << "\n";
    return 2;
  }
  return 0;
}

const CommandRegistration kConvert{
    {"convert", "convert IN.tmr OUT.tmr  read a document and write it as version 1.10", RunConvert}};

}  // namespace
}  // namespace tracemont::cli
