// Reading the document a subcommand works on, with the file's messages on
// the error stream.
#pragma once

#include <string>

#include "cli/command.h"
#include "model/document_data.h"

namespace tracemont::cli {

// Reads `path` into `doc`; notes about ignored content go to io.err. On
// failure the message goes to io.err and the result is false. `version`,
// when given, receives the file's format version.
bool ReadDocument(const std::string& path, DocumentData& doc, CommandIo& io, int* version = nullptr);

}  // namespace tracemont::cli
