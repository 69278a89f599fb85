// What a document tells the parts of the program that show or hold it
// (views, the object list, embedding containers, the distribution display).
// The core calls these; the Qt layer implements them, so the document never
// knows about windows.
#pragma once

#include "model/geometry.h"

namespace tracemont {

class DocObserver {
 public:
  virtual ~DocObserver() = default;

  // The content changed: containers holding the plot update, the
  // distribution display recomputes when it is shown.
  virtual void DocumentChanged() {}
  // Repaint every view.
  virtual void RepaintAll() {}
  // Repaint the part of the page in `region` (plot units).
  virtual void RepaintRegion(const Rect& /*region*/) {}
  // Objects were added or removed: rebuild the object list.
  virtual void ObjectListChanged() {}
  // The number of selected areas, for the status area.
  virtual void SelectedAreasCounted(int /*count*/) {}
  // The page size changed: resize the views.
  virtual void PageResized() {}
  // After new, open, undo and redo: the measurement unit (inches or
  // centimetres) and the axis scale factors (value units per cm).
  virtual void DocumentReset(bool /*inches*/, double /*kx*/, double /*ky*/) {}
  // The modified flag changed.
  virtual void ModifiedChanged(bool /*modified*/) {}
};

}  // namespace tracemont
