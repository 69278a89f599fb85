// The progress slot of the iterative fits: one process-wide callback that
// the user interface installs while a window should show the iteration
// count. The core never draws; it only hands over the text.
#pragma once

#include <functional>
#include <string>

namespace tracemont {

// Receives the progress text ("%d/%d": iteration, maximum). It runs on the
// fitting thread and should show the text at once.
using ProgressSlot = std::function<void(const std::string& text)>;

// Installs the slot (an empty function removes it); returns the previous one.
ProgressSlot SetProgressSlot(ProgressSlot slot);

// Shows "iteration/maximum" through the slot; nothing without a slot.
void ReportProgress(int iteration, int maximum);

// Installs a slot for its lifetime and puts the previous one back after.
class ScopedProgressSlot {
 public:
  explicit ScopedProgressSlot(ProgressSlot slot) : previous_(SetProgressSlot(std::move(slot))) {}
  ~ScopedProgressSlot() { SetProgressSlot(std::move(previous_)); }
  ScopedProgressSlot(const ScopedProgressSlot&) = delete;
  ScopedProgressSlot& operator=(const ScopedProgressSlot&) = delete;

 private:
  ProgressSlot previous_;
};

}  // namespace tracemont
