// Documents as files: reading with the system's messages, saving that never
// destroys the previous file, and the plain writes of undo snapshots.
#pragma once

#include <string>
#include <vector>

#include "model/document_data.h"

namespace tracemont {

// File messages; "%1" stands for the path.
inline constexpr const char* kMsgDiskFull = "Destination disk drive is full.";
inline constexpr const char* kMsgSharingViolation =
    "Unable to read from %1, it is opened by someone else.";
inline constexpr const char* kMsgWriteProtected =
    "Unable to write to %1, it is read-only or opened by someone else.";
inline constexpr const char* kMsgAccessDenied = "Access to %1 was denied.";
inline constexpr const char* kMsgNotFound = "%1 was not found.";
inline constexpr const char* kMsgBadPath = "%1 contains an invalid path.";
inline constexpr const char* kMsgFileGeneric = "An unexpected error occurred while accessing %1.";

// The message for a system error number met while reading or writing `path`.
std::string FileErrorMessage(int error, const std::string& path, bool writing);

struct FileResult {
  bool ok = false;
  std::string message;             // for the user when not ok
  int version = 0;                 // of a file read
  std::vector<std::string> notes;  // what reading ignored
};

// Reads the document at `path`. On success `out` receives it; on failure
// `out` is left as it was and the message tells why.
FileResult LoadDocumentFile(const std::string& path, DocumentData& out);

// Whether a save waits until the new file is on the disk before it replaces
// the old one (so that not even a power failure can leave an empty file), or
// trusts the file system's ordering of the rename after the data.
enum class SaveSync { ToDisk, FileSystem };

// Writes the document to a new file in the folder of `path` and renames it
// over `path` once it is complete, so that a failure half-way leaves the
// previous file as it was. A symbolic link is followed, and an existing
// file's permissions are kept.
FileResult SaveDocumentFile(const std::string& path, const DocumentData& doc,
                            SaveSync sync = SaveSync::ToDisk);

// Writes the document straight to `path` (created or truncated, mode 0600):
// for undo snapshots in a private folder, where no earlier content needs
// protecting and speed matters.
FileResult WriteSnapshotFile(const std::string& path, const DocumentData& doc);

}  // namespace tracemont
