// One page of the plot options sheet. A page shows the document's values
// when it is built, keeps the user's edits to itself, and writes them into
// the document only when the sheet applies all pages at once.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "model/document_data.h"

namespace tracemont {

class OptionsPage : public QWidget {
  Q_OBJECT

 public:
  // What applying a page would change, in increasing order of the work the
  // document must do afterwards.
  enum class Impact {
    None = 0,      // the page shows the document's values
    Redraw = 1,    // texts, colours or settings: announce and repaint
    Outlines = 2,  // scales or layout: lay the page out, recompute outlines
    PageSize = 3,  // the page size: apply it (clamped) to the document
  };

  // A field whose text cannot be applied, with the message for the user.
  struct Problem {
    QWidget* field;
    QString message;
  };

  using QWidget::QWidget;

  // Dialog resource id of the page (its help topic follows from it).
  virtual int DialogId() const = 0;
  // The first field that cannot be applied; nothing when all can.
  virtual std::optional<Problem> Validate() const { return std::nullopt; }
  // How applying the page would change `data` (None when nothing differs).
  virtual Impact Pending(const DocumentData& data) const = 0;
  // Writes the page's values into `data`; the caller takes the undo
  // checkpoint before and announces the change after.
  virtual void Apply(DocumentData& data) const = 0;
  // The unit chosen on the "Page" page changed (not yet applied): pages
  // showing lengths re-show them. The values they hold do not change.
  virtual void ShowUnit(bool /*inches*/) {}
};

}  // namespace tracemont
