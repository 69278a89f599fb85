#include "model/object_ids.h"

#include <limits>

namespace tracemont {

std::optional<std::uint32_t> IdCounter::Next() {
  std::uint32_t current = highest_.load();
  do {
    if (current == std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  } while (!highest_.compare_exchange_weak(current, current + 1));
  return current + 1;
}

void IdCounter::Raise(std::uint32_t id) {
  std::uint32_t current = highest_.load();
  while (id > current && !highest_.compare_exchange_weak(current, id)) {
  }
}

IdCounter& ObjectIds() {
  static IdCounter counter;
  return counter;
}

}  // namespace tracemont
