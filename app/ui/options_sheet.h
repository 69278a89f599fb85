// COptionsSheet: the plot options sheet ("Plot options") and its page setup
// form ("Page Setup"). Every page shows the document's values; OK applies
// all pages at once behind one undo checkpoint and announces the change;
// Cancel leaves the document untouched.
//
// Typical use by the main window:
//   COptionsSheet sheet(doc, COptionsSheet::Mode::PlotOptions, this);
//   sheet.SetHelpHandler([&](int topic) { help.ShowTopic(topic); });
//   sheet.exec();
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <functional>
#include <memory>

#include "app/ui/options_page.h"
#include "model/main_doc.h"

namespace tracemont {

class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  enum class Mode {
    PlotOptions,  // "Plot options": Page, Axie X, Axie Y, Format, Editor
    PageSetup,    // "Page Setup": Page, Axie X, Axie Y
  };
  // Shows a help topic (topic id of the help pages).
  using HelpHandler = std::function<void(int topicId)>;

  // doc: borrowed for the sheet's lifetime; it must outlive the sheet and
  // must not be changed by anything else while the sheet is open.
  COptionsSheet(CMainDoc& doc, Mode mode, QWidget* parent = nullptr);

  // Appends a page after the existing ones; the sheet owns it. Pages added
  // later (density, distribution, diagram) take part in OK like the others.
  void AddPage(std::unique_ptr<OptionsPage> page, const QString& title);
  // Without a handler the Help button is disabled.
  void SetHelpHandler(HelpHandler handler);

  int PageCount() const { return tabs_->count(); }
  OptionsPage* Page(int index) const;
  // The first page of type T, or null.
  template <class T>
  T* FindPage() const {
    for (int i = 0; i < PageCount(); ++i)
      if (auto* page = qobject_cast<T*>(Page(i))) return page;
    return nullptr;
  }
  QTabWidget& Tabs() { return *tabs_; }

  // Applies every page to the document, as OK does, without closing. Takes
  // one undo checkpoint and announces the change only when some page
  // differs from the document. Returns false, changing nothing, when a field
  // cannot be applied (the page is shown and the field focused; with
  // `report` a message box says why).
  bool ApplyAll(bool report = true);

 public slots:
  // OK: applies and closes; stays open when a field cannot be applied.
  void accept() override;

 private:
  void ShowHelp();
  void BroadcastUnit(bool inches);

  CMainDoc& doc_;
  QTabWidget* tabs_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  HelpHandler help_;
};

}  // namespace tracemont
