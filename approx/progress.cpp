#include "approx/progress.h"

#include <utility>

#include "model/text.h"

namespace tracemont {
namespace {

// Process-wide by design: one window at a time shows the fit's progress.
ProgressSlot& Slot() {
  static ProgressSlot slot;
  return slot;
}

}  // namespace

ProgressSlot SetProgressSlot(ProgressSlot slot) { return std::exchange(Slot(), std::move(slot)); }

void ReportProgress(int iteration, int maximum) {
  const ProgressSlot& slot = Slot();
  if (slot) slot(StrFormat("%d/%d", iteration, maximum));
}

}  // namespace tracemont
