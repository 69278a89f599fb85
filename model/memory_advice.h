// Advice to the operating system about large buffers about to be filled.
#pragma once

#include <cstddef>

namespace tracemont {

// Asks for transparent huge pages on the whole 2 MiB pages inside
// [data, data + bytes): filling a buffer of a hundred megabytes (a million
// points) then takes a few dozen page faults instead of tens of thousands.
// Call it right after reserving, before the buffer is written. Only advice:
// buffers under 4 MiB, systems without the feature and failures are ignored.
void PreferHugePages(const void* data, std::size_t bytes);

}  // namespace tracemont
