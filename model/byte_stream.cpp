#include "model/byte_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tracemont {
namespace {

constexpr std::size_t kSinkBuffer = 1 << 20;
constexpr std::size_t kSourceBuffer = 1 << 16;
constexpr std::size_t kWritebackChunk = 8 << 20;

}  // namespace

FileError::FileError(int error, std::string path)
    : std::runtime_error(std::strerror(error)), error_(error), path_(std::move(path)) {}

void MemorySink::Write(const void* data, std::size_t n) {
  if (n == 0) return;
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + n);
}

void MemorySource::Read(void* data, std::size_t n) {
  if (n > bytes_.size() - at_) throw StreamEnd();
  if (n == 0) return;
  std::memcpy(data, bytes_.data() + at_, n);
  at_ += n;
}

// --- UniqueFd ---------------------------------------------------------------------

UniqueFd::~UniqueFd() { Close(); }

UniqueFd& UniqueFd::operator=(UniqueFd&& o) noexcept {
  if (this != &o) {
    Close();
    fd_ = o.Release();
  }
  return *this;
}

int UniqueFd::Close() {
  if (fd_ < 0) return 0;
  const int result = ::close(fd_);
  fd_ = -1;
  // EINTR still closes the descriptor on Linux; it is no write error.
  return result == 0 || errno == EINTR ? 0 : errno;
}

// --- FileSink ---------------------------------------------------------------------

FileSink::FileSink(int fd, std::string path)
    : fd_(fd), path_(std::move(path)), buffer_(new std::uint8_t[kSinkBuffer]) {}

void FileSink::WriteAll(const std::uint8_t* data, std::size_t n) {
  if (!earlyWriteback_) {
    WriteChunk(data, n);
    return;
  }
  while (n > 0) {
    const std::size_t chunk = std::min(n, kWritebackChunk);
    WriteChunk(data, chunk);
    data += chunk;
    n -= chunk;
    written_ += chunk;
    if (written_ - scheduled_ >= kWritebackChunk) {
#ifdef __linux__
      // Only a hint: a failure shows again in the final fsync.
      ::sync_file_range(fd_, static_cast<off_t>(scheduled_), static_cast<off_t>(written_ - scheduled_),
                        SYNC_FILE_RANGE_WRITE);
#endif
      scheduled_ = written_;
    }
  }
}

void FileSink::WriteChunk(const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t written = ::write(fd_, data, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw FileError(errno, path_);
    }
    if (written == 0) throw FileError(ENOSPC, path_);
    data += written;
    n -= static_cast<std::size_t>(written);
  }
}

void FileSink::Flush() {
  WriteAll(buffer_.get(), used_);
  used_ = 0;
}

void FileSink::Write(const void* data, std::size_t n) {
  if (n == 0) return;  // an empty array may pass no pointer at all
  const auto* p = static_cast<const std::uint8_t*>(data);
  if (used_ + n <= kSinkBuffer) {
    std::memcpy(buffer_.get() + used_, p, n);
    used_ += n;
    return;
  }
  Flush();
  if (n >= kSinkBuffer / 2) {
    WriteAll(p, n);
    return;
  }
  std::memcpy(buffer_.get(), p, n);
  used_ = n;
}

// --- FileSource -------------------------------------------------------------------

FileSource::FileSource(int fd, std::uint64_t size, std::string path)
    : fd_(fd), size_(size), path_(std::move(path)), buffer_(new std::uint8_t[kSourceBuffer]) {}

std::size_t FileSource::ReadSome(std::uint8_t* data, std::size_t n) {
  for (;;) {
    const ssize_t got = ::read(fd_, data, n);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw FileError(errno, path_);
  }
}

void FileSource::Read(void* data, std::size_t n) {
  if (n > Remaining()) throw StreamEnd();
  if (n == 0) return;
  auto* out = static_cast<std::uint8_t*>(data);
  const std::size_t buffered = std::min(n, end_ - begin_);
  if (buffered > 0) std::memcpy(out, buffer_.get() + begin_, buffered);
  begin_ += buffered;
  out += buffered;
  n -= buffered;
  consumed_ += buffered;
  while (n > 0) {
    if (n >= kSourceBuffer) {
      // Straight into the caller's memory: big arrays are not copied twice.
      const std::size_t got = ReadSome(out, n);
      if (got == 0) throw StreamEnd();
      out += got;
      n -= got;
      consumed_ += got;
      continue;
    }
    const std::uint64_t left = size_ - consumed_;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kSourceBuffer, left));
    const std::size_t got = ReadSome(buffer_.get(), want);
    if (got == 0) throw StreamEnd();
    begin_ = 0;
    end_ = got;
    const std::size_t take = std::min(n, got);
    std::memcpy(out, buffer_.get(), take);
    begin_ = take;
    out += take;
    n -= take;
    consumed_ += take;
  }
}

}  // namespace tracemont
