#include "model/document_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/archive.h"
#include "model/byte_stream.h"

namespace tracemont {
namespace {

std::string WithPath(const char* message, const std::string& path) {
  std::string out = message;
  const std::size_t at = out.find("%1");
  if (at != std::string::npos) out.replace(at, 2, path);
  return out;
}

FileResult Failure(std::string message) {
  FileResult r;
  r.message = std::move(message);
  return r;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save replaces: the target of a symbolic link, else the path.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

// Creates a file of a fresh name next to `target` (mode 0666 less the umask).
UniqueFd CreateTemporary(const std::string& target, std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".~%012llx.tmp",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    const std::string candidate = target + suffix;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      name = candidate;  // only a file this call made may be removed later
      return UniqueFd(fd);
    }
    if (errno != EEXIST) throw FileError(errno, target);
  }
  throw FileError(EEXIST, target);
}

}  // namespace

std::string FileErrorMessage(int error, const std::string& path, bool writing) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kMsgDiskFull;
    case EACCES:
    case EPERM: return WithPath(kMsgAccessDenied, path);
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EWOULDBLOCK:
      return WithPath(writing ? kMsgWriteProtected : kMsgSharingViolation, path);
    case ENOENT: return WithPath(writing ? kMsgBadPath : kMsgNotFound, path);
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP: return WithPath(kMsgBadPath, path);
    default: return WithPath(kMsgFileGeneric, path);
  }
}

FileResult LoadDocumentFile(const std::string& path, DocumentData& out) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) return Failure(FileErrorMessage(errno, path, false));
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) return Failure(FileErrorMessage(errno, path, false));
  if (!S_ISREG(st.st_mode)) return Failure(FileErrorMessage(EISDIR, path, false));
  try {
    FileSource source(fd.Get(), static_cast<std::uint64_t>(st.st_size), path);
    DocumentData doc;
    const ReadReport report = ReadDocument(source, doc);
    out = std::move(doc);
    FileResult r;
    r.ok = true;
    r.version = report.version;
    r.notes = report.notes;
    return r;
  } catch (const ArchiveError& e) {
    return Failure(e.UserMessage());
  } catch (const FileError& e) {
    return Failure(FileErrorMessage(e.Error(), path, false));
  } catch (const std::bad_alloc&) {
    return Failure(kMsgFailedToOpen);
  }
}

FileResult SaveDocumentFile(const std::string& path, const DocumentData& doc, SaveSync sync) {
  const bool toDisk = sync == SaveSync::ToDisk;
  const std::string target = ResolveTarget(path);
  std::string temporary;
  try {
    UniqueFd fd = CreateTemporary(target, temporary);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
      ::fchmod(fd.Get(), old.st_mode & 07777);  // best effort: the content matters more
    FileSink sink(fd.Get(), temporary);
    if (toDisk) sink.StartWritebackEarly();
    WriteDocument(sink, doc);
    sink.Flush();
    // On disk before the rename: a crash can then leave the old file or the
    // new one, never an empty one.
    if (toDisk && ::fsync(fd.Get()) != 0) throw FileError(errno, target);
    if (const int error = fd.Close(); error != 0) throw FileError(error, target);
    if (::rename(temporary.c_str(), target.c_str()) != 0) throw FileError(errno, target);
    // The rename itself reaches the disk with the folder.
    if (toDisk) {
      if (UniqueFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
          folder.IsOpen())
        ::fsync(folder.Get());
    }
    FileResult r;
    r.ok = true;
    r.version = kArchiveVersion;
    return r;
  } catch (const FileError& e) {
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return Failure(FileErrorMessage(e.Error(), path, true));
  } catch (const ArchiveError& e) {
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return Failure(e.UserMessage());
  } catch (const std::bad_alloc&) {
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return Failure(WithPath(kMsgFileGeneric, path));
  }
}

FileResult WriteSnapshotFile(const std::string& path, const DocumentData& doc) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.IsOpen()) return Failure(FileErrorMessage(errno, path, true));
  try {
    FileSink sink(fd.Get(), path);
    WriteDocument(sink, doc);
    sink.Flush();
    if (const int error = fd.Close(); error != 0) throw FileError(error, path);
    FileResult r;
    r.ok = true;
    r.version = kArchiveVersion;
    return r;
  } catch (const FileError& e) {
    return Failure(FileErrorMessage(e.Error(), path, true));
  } catch (const ArchiveError& e) {
    return Failure(e.UserMessage());
  } catch (const std::bad_alloc&) {
    return Failure(WithPath(kMsgFileGeneric, path));
  }
}

}  // namespace tracemont
