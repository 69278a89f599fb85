// CMainFrame: the main window. Menus, the standard and points tool bars,
// the editor bar, the objects bar, the status panes and the commands that
// act on the document as a whole (files, printing, undo, the options sheet,
// the "Scales" window, help).
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <map>
#include <memory>

#include "model/doc_observer.h"
#include "platform/keyboard_locks.h"

class QMenu;
class QToolButton;

namespace tracemont {

class AppSettings;
class CListBar;
class CScalesWindow;
class HelpSystem;
class CMainDoc;
class CMainView;
class CPlotBar;

class CMainFrame : public QMainWindow, public DocObserver {
  Q_OBJECT

 public:
  // The document and settings must outlive the frame. `programFolder` holds
  // the data folders (StrRes, HTML, Appr).
  CMainFrame(CMainDoc& document, AppSettings& settings, QString programFolder,
             QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Opens a document, reporting failures in a message box. False on failure.
  bool OpenFile(const QString& path);
  // The action of a command id (nullptr for an unknown one).
  QAction* Action(int id) const;
  CMainView* View() const { return view_; }
  CPlotBar* PlotBar() const { return plotBar_; }
  CListBar* ListBar() const { return listBar_; }
  // Shows the window where it was last closed (or as the system places it).
  void ShowWithSavedPlacement();

  // DocObserver
  void ModifiedChanged(bool modified) override;
  void DocumentReset(bool inches, double kx, double ky) override;
  void SelectedAreasCounted(int count) override;
  void DocumentChanged() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateStatusBar();
  void CreateLockPanes();
  void UpdateLockPanes();
  void UpdateTitle();
  void UpdateCommandStates();
  void RebuildRecentMenu();
  void Dispatch(int id);
  // Digitizing from the picture (32816) or the screen (32817 opens the
  // border window, 32818 traces it); the new series' panel follows.
  void Digitize(int id);

  // Saves when the user wants to; false when the user cancelled.
  bool MaybeSave();
  bool SaveTo(const QString& path);
  // The document's file is now `path`: title and recent files follow.
  void RememberPath(const QString& path);
  bool SaveAs();
  void NewFile();
  void Open();
  void Print();
  void PrintPreview();
  void CopyPlot();
  void RemoveSelectedObjects();
  void CombineSelected();
  void ShowAbout();
  void ShowOptions(bool pageSetup);
  void ToggleScalesWindow();
  void ShowMessage(const QString& text, bool error = true);

  CMainDoc& document_;
  AppSettings& settings_;
  QString programFolder_;
  QString path_;
  std::map<int, QAction*> actions_;
  CMainView* view_ = nullptr;
  CPlotBar* plotBar_ = nullptr;
  CListBar* listBar_ = nullptr;
  QToolBar* standardBar_ = nullptr;
  QToolBar* pointsBar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QLabel* unitPane_ = nullptr;
  QLabel* positionPane_ = nullptr;
  QLabel* selectPane_ = nullptr;
  KeyboardLocks keyboardLocks_;
  std::array<QLabel*, 3> lockPanes_{};  // caps, num, scroll lock
  std::unique_ptr<HelpSystem> help_;
  CScalesWindow* scales_ = nullptr;
};

}  // namespace tracemont
