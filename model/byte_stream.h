// Byte sinks and sources that documents are written to and read from: memory
// buffers and files. Failures throw (FileError for the system's errors,
// StreamEnd when a source runs dry), so that archive code stays linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tracemont {

// A failed system call on a file: errno and the path it concerned.
class FileError : public std::runtime_error {
 public:
  FileError(int error, std::string path);
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  int error_;
  std::string path_;
};

// A source that ends before the bytes asked for.
class StreamEnd : public std::runtime_error {
 public:
  StreamEnd() : std::runtime_error("unexpected end of data") {}
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends n bytes; throws FileError when they cannot be stored.
  virtual void Write(const void* data, std::size_t n) = 0;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills n bytes; throws StreamEnd when fewer remain, FileError on a read error.
  virtual void Read(void* data, std::size_t n) = 0;
  // Bytes left to read (what a count in the data may claim at most).
  virtual std::uint64_t Remaining() const = 0;
};

class MemorySink final : public ByteSink {
 public:
  void Write(const void* data, std::size_t n) override;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Reads a buffer that must outlive the source.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  void Read(void* data, std::size_t n) override;
  std::uint64_t Remaining() const override { return bytes_.size() - at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// An open file descriptor, closed on destruction.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& o) noexcept : fd_(o.Release()) {}
  UniqueFd& operator=(UniqueFd&& o) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports the error close() gives (0 when none); a file
  // written through NFS or a full disk may fail only here.
  int Close();

 private:
  int fd_ = -1;
};

// Buffered writes to a file descriptor it does not own. Large blocks go to
// the file directly, so that big arrays are written without a copy.
class FileSink final : public ByteSink {
 public:
  FileSink(int fd, std::string path);
  void Write(const void* data, std::size_t n) override;
  // Writes what is buffered; throws FileError.
  void Flush();
  // For a file that will be synced to disk at the end: starts the disk
  // writes of each few megabytes as soon as they are written, so that a
  // final fsync has little left to wait for.
  void StartWritebackEarly() { earlyWriteback_ = true; }

 private:
  void WriteAll(const std::uint8_t* data, std::size_t n);
  void WriteChunk(const std::uint8_t* data, std::size_t n);
  int fd_;
  std::string path_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  bool earlyWriteback_ = false;
  std::uint64_t written_ = 0;
  std::uint64_t scheduled_ = 0;  // bytes whose writeback has been started
};

// Buffered reads of `size` bytes from a file descriptor it does not own;
// large blocks are read straight into the caller's memory.
class FileSource final : public ByteSource {
 public:
  FileSource(int fd, std::uint64_t size, std::string path);
  void Read(void* data, std::size_t n) override;
  std::uint64_t Remaining() const override { return size_ - consumed_; }

 private:
  // Reads up to n bytes (at least 1 unless the file ended); returns the count.
  std::size_t ReadSome(std::uint8_t* data, std::size_t n);
  int fd_;
  std::uint64_t size_;
  std::uint64_t consumed_ = 0;
  std::string path_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace tracemont
