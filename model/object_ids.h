// Object ids: every plot object carries a 32-bit id from one counter of the
// process. The counter only grows, so ids stay unique across new objects and
// across every document read in one run.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

namespace tracemont {

class IdCounter {
 public:
  // The highest id handed out or read so far (0 before any).
  std::uint32_t Highest() const { return highest_.load(); }
  // Hands out highest + 1 and records it. Nothing when every 32-bit id is
  // used up (a file may carry the largest id): the caller then creates no
  // object rather than reuse an id.
  std::optional<std::uint32_t> Next();
  // Raises the counter to `id` when that is larger (ids read from a file).
  void Raise(std::uint32_t id);

 private:
  std::atomic<std::uint32_t> highest_{0};
};

// The one counter of the process.
IdCounter& ObjectIds();

}  // namespace tracemont
