// CListBar: the objects bar. Four buttons ("Points", "Areas", "Functions",
// "Comments") and, under the one last pressed, the list of the complete
// objects of that kind, each painted by the object's own label drawing.
#pragma once

#include <QDockWidget>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <vector>

#include "model/doc_observer.h"

namespace tracemont {

class CMainDoc;
class CPlot;

class CListBar : public QDockWidget, public DocObserver {
  Q_OBJECT

 public:
  enum class Kind { Series = 0, Areas = 1, Functions = 2, Commentaries = 3 };

  CListBar(CMainDoc& document, QWidget* parent = nullptr);
  ~CListBar() override;

  Kind ShownKind() const { return kind_; }
  void ShowKind(Kind kind);
  // The selected objects of the shown list, in list order (looked up by id,
  // so an object removed meanwhile is simply missing).
  std::vector<CPlot*> SelectedObjects() const;
  int SelectedCount() const;
  // Opens the points editor on the one selected series; an accepted edit is
  // one undo step and announces the change.
  void EditSelectedSeries();
  // Rebuilds the shown list from the document.
  void Rebuild();

  // DocObserver
  void ObjectListChanged() override { Rebuild(); }

 signals:
  // Remove (33010) or Combine (33020) asked from the context menu.
  void CommandRequested(int command);
  void SelectionChanged();

 private:
  CMainDoc& document_;
  Kind kind_ = Kind::Series;
  std::array<QPushButton*, 4> buttons_{};
  QListWidget* list_ = nullptr;
};

}  // namespace tracemont
