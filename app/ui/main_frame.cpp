#include "app/ui/main_frame.h"

#include <QTimer>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include "acquire/ui/digitizing.h"
#include "app/command_table.h"
#include "app/help_texts.h"
#include "app/ui/help_system.h"
#include "app/ui/icons.h"
#include "app/ui/list_bar.h"
#include "app/ui/main_view.h"
#include "app/ui/options_sheet.h"
#include "app/ui/plot_bar.h"
#include "app/ui/points_export_dialogs.h"
#include "app/ui/read_pages.h"
#include "app/ui/scales_window.h"
#include "approx/ui/func_pages.h"
#include "model/main_doc.h"
#include "model/text.h"
#include "platform/app_settings.h"
#include "platform/border_window.h"
#include "platform/page_output.h"

namespace tracemont {
namespace {

const QString kDocumentFilter = QStringLiteral("Tracemont documents (*.tmr);;All files (*)");

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Commands that later parts of the program carry out; until then they are
// present but disabled.
bool IsPending(int id) {
  switch (id) {
    case cmd::kTransformSelected: case cmd::kTransformAll:
    case cmd::kFormula:
    case cmd::kCorrelation: case cmd::kFiltersWindow:
      return true;
    default:
      return false;
  }
}

}  // namespace

CMainFrame::CMainFrame(CMainDoc& document, AppSettings& settings, QString programFolder, QWidget* parent)
    : QMainWindow(parent), document_(document), settings_(settings), programFolder_(std::move(programFolder)) {
  setObjectName("MainFrame");
  setWindowIcon(CommandIcon(cmd::kApproximation));
  help_ = std::make_unique<HelpSystem>(programFolder_, this);
  CreateActions();
  view_ = new CMainView(document_, this);
  setCentralWidget(view_);
  CreateMenus();
  CreateToolBars();
  CreateStatusBar();
  document_.AddObserver(*this);

  connect(view_, &CMainView::PositionText, positionPane_, &QLabel::setText);
  connect(view_, &CMainView::AxisValues, plotBar_, &CPlotBar::ShowAxisValues);
  connect(view_, &CMainView::ScalesWindowRequested, this, [this] { ToggleScalesWindow(); });
  connect(view_, &CMainView::CommandRequested, this, [this](int id) { Dispatch(id); });
  connect(view_, &CMainView::DrawingSettingsChosen, this, [this](int colour, int shape, int radius) {
    plotBar_->SelectColour(colour);
    plotBar_->SelectShape(shape);
    plotBar_->SetPointSize(radius);
  });
  view_->SetCommandAvailability([this](int id) {
    const QAction* action = Action(id);
    return action == nullptr || action->isEnabled();
  });
  view_->SetSettingsSource([this] {
    return DrawingSettings{plotBar_->Tool(), plotBar_->Colour(), plotBar_->Shape(), plotBar_->PointSize()};
  });
  connect(plotBar_, &CPlotBar::ToolChanged, this, [this] { view_->Canvas().ToolChanged(); });
  connect(plotBar_, &CPlotBar::ColourChanged, this, [this] {
    view_->Canvas().DrawingStyleChanged();
    if (BorderWindow* border = FindBorderWindow(*view_)) ShowBorderColour(*border, plotBar_->Colour());
  });
  connect(plotBar_, &CPlotBar::ShapeChanged, this, [this] { view_->Canvas().DrawingStyleChanged(); });
  connect(plotBar_, &CPlotBar::SizeChanged, this, [this] { view_->Canvas().DrawingStyleChanged(); });
  connect(view_, &CMainView::FilesDropped, this, [this](const QStringList& paths) {
    if (!paths.isEmpty() && MaybeSave()) OpenFile(paths.first());
  });
  connect(listBar_, &CListBar::CommandRequested, this, [this](int id) { Dispatch(id); });
  if (QGuiApplication::clipboard())
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateCommandStates(); });
  connect(listBar_, &CListBar::SelectionChanged, this, [this] { UpdateCommandStates(); });

  const DocumentData& d = document_.Data();
  DocumentReset(d.inches != 0, d.axisX.scale.k, d.axisY.scale.k);
  UpdateTitle();
  UpdateCommandStates();
  resize(1100, 780);
}

CMainFrame::~CMainFrame() {
  document_.RemoveObserver(*this);
  // The Scales window observes the document through its own calls only; it
  // goes with the frame.
  delete scales_;
}

QAction* CMainFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
  for (const CommandInfo& command : Commands()) {
    auto* action = new QAction(CommandIcon(command.id), Q(command.menuText).section('\t', 0, 0), this);
    action->setData(command.id);
    action->setStatusTip(Q(StatusLine(command)));
    action->setToolTip(Q(ToolTip(command)));
    // "What's this" shows the command's pop-up text, or its status line.
    const QString popup = help_->PopupText(static_cast<std::uint32_t>(command.id), CommandHelpTable());
    action->setWhatsThis(popup.isEmpty() ? Q(StatusLine(command)) : popup);
    const QString shortcut = Q(command.menuText).section('\t', 1, 1);
    if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
    const int id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
    if (IsPending(id)) action->setEnabled(false);
    actions_[id] = action;
  }
  for (const int id : {cmd::kLegend, cmd::kGrid, cmd::kStandardBar, cmd::kPointsBar, cmd::kEditorBar,
                       cmd::kObjectsBar, cmd::kAreasMarks, cmd::kPointsConnection, cmd::kColorFilledAreas,
                       cmd::kShowPicture, cmd::kScalesWindow})
    Action(id)->setCheckable(true);
  auto* modes = new QActionGroup(this);
  for (const int id : {cmd::kPointsEditor, 32873, 32871, 32870}) {
    Action(id)->setCheckable(true);
    modes->addAction(Action(id));
  }
  Action(cmd::kPointsEditor)->setChecked(true);
}

void CMainFrame::CreateMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  for (const int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs}) file->addAction(Action(id));
  file->addSeparator();
  file->addAction(Action(cmd::kSavePointsAs));
  file->addSeparator();
  for (const int id : {cmd::kPageSetup, cmd::kPrintPreview, cmd::kFilePrint}) file->addAction(Action(id));
  file->addSeparator();
  recentMenu_ = file->addMenu(tr("Recent &Files"));
  file->addSeparator();
  file->addAction(Action(cmd::kAppExit));
  RebuildRecentMenu();

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  for (const int id : {cmd::kUndo, cmd::kRedo}) edit->addAction(Action(id));
  edit->addSeparator();
  for (const int id : {cmd::kCopyPlot, cmd::kCopySelected, cmd::kPastePoints}) edit->addAction(Action(id));
  edit->addSeparator();
  for (const int id : {cmd::kUnselectAll, cmd::kRemoveSelectedObjects, cmd::kCombinePoints, cmd::kEraseAll})
    edit->addAction(Action(id));

  QMenu* points = menuBar()->addMenu(tr("&Points"));
  for (const int id : {cmd::kAddFromFile, cmd::kAddFromTable, cmd::kAddFromPicture, cmd::kAddFromScreen})
    points->addAction(Action(id));
  points->addSeparator();
  for (const int id : {cmd::kRemoveAllSelectedPoints, cmd::kRemoveColoredPoints}) points->addAction(Action(id));
  points->addSeparator();
  for (const int id : {cmd::kTransformSelected, cmd::kTransformAll}) points->addAction(Action(id));
  // The colour-filtered fit (32874) is offered by the view's context menu only.
  points->addSeparator();
  points->addAction(Action(cmd::kApproximation));

  QMenu* functions = menuBar()->addMenu(tr("F&unctions"));
  functions->addAction(Action(cmd::kFormula));
  functions->addSeparator();
  functions->addAction(Action(cmd::kCorrelation));

  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  for (const int id : ToolCommands()) tools->addAction(Action(id));
  tools->addAction(Action(cmd::kDensityInformation));
  tools->addAction(Action(cmd::kMagnifier));
  tools->addSeparator();
  QMenu* colours = tools->addMenu(tr("&Colour"));
  for (const int id : ColourCommands()) colours->addAction(Action(id));
  QMenu* shapes = tools->addMenu(tr("&Marker"));
  for (const int id : ShapeCommands()) shapes->addAction(Action(id));

  QMenu* view = menuBar()->addMenu(tr("&View"));
  for (const int id : {cmd::kPointsEditor, 32873, 32871, 32870}) view->addAction(Action(id));
  view->addSeparator();
  for (const int id : {cmd::kPointsConnection, cmd::kShowPicture, cmd::kColorFilledAreas, cmd::kAreasMarks})
    view->addAction(Action(id));
  view->addSeparator();
  for (const int id : {cmd::kLegend, cmd::kGrid, cmd::kFitSize, cmd::kOptions}) view->addAction(Action(id));
  view->addSeparator();
  for (const int id : {cmd::kScalesWindow, cmd::kFiltersWindow}) view->addAction(Action(id));
  QMenu* bars = view->addMenu(tr("&Toolbars"));
  for (const int id : {cmd::kStandardBar, cmd::kPointsBar, cmd::kEditorBar, cmd::kObjectsBar})
    bars->addAction(Action(id));
  view->addAction(Action(cmd::kRefresh));

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  for (const int id : {cmd::kHelpTopics, cmd::kContextHelp}) help->addAction(Action(id));
  help->addSeparator();
  help->addAction(Action(cmd::kAbout));
}

void CMainFrame::CreateToolBars() {
  standardBar_ = addToolBar(tr("Standart toolbar"));
  standardBar_->setObjectName("StandardBar");
  for (const int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave}) standardBar_->addAction(Action(id));
  // The arrow beside "Open" lists the recent files.
  if (auto* open = qobject_cast<QToolButton*>(standardBar_->widgetForAction(Action(cmd::kFileOpen)))) {
    open->setMenu(recentMenu_);
    open->setPopupMode(QToolButton::MenuButtonPopup);
  }
  standardBar_->addSeparator();
  for (const int id : {cmd::kUndo, cmd::kRedo}) standardBar_->addAction(Action(id));
  standardBar_->addSeparator();
  for (const int id : {cmd::kCopyPlot, cmd::kFilePrint, cmd::kPrintPreview}) standardBar_->addAction(Action(id));
  standardBar_->addSeparator();
  for (const int id : {cmd::kOptions, cmd::kScalesWindow, cmd::kLegend}) standardBar_->addAction(Action(id));
  standardBar_->addSeparator();
  standardBar_->addAction(Action(cmd::kContextHelp));

  pointsBar_ = addToolBar(tr("Points toolbar"));
  pointsBar_->setObjectName("PointsBar");
  for (const int id : {cmd::kAddFromFile, cmd::kAddFromTable, cmd::kPastePoints}) pointsBar_->addAction(Action(id));
  pointsBar_->addSeparator();
  for (const int id : {cmd::kApproximation, cmd::kFormula, cmd::kCorrelation}) pointsBar_->addAction(Action(id));
  pointsBar_->addSeparator();
  // Display modes with their drop-down menus of settings.
  const std::pair<int, std::vector<int>> modes[] = {
      {cmd::kPointsEditor, {cmd::kPointsConnection, cmd::kShowPicture}},
      {32873, {cmd::kColorFilledAreas, cmd::kAreasMarks}},
      {32871, {}},
      {32870, {}},
  };
  for (const auto& [mode, items] : modes) {
    pointsBar_->addAction(Action(mode));
    if (items.empty()) continue;
    auto* menu = new QMenu(this);
    for (const int id : items) menu->addAction(Action(id));
    if (auto* button = qobject_cast<QToolButton*>(pointsBar_->widgetForAction(Action(mode)))) {
      button->setMenu(menu);
      button->setPopupMode(QToolButton::MenuButtonPopup);
    }
  }

  addToolBarBreak(Qt::RightToolBarArea);
  plotBar_ = new CPlotBar([this](int id) { return Action(id); }, this);
  addToolBar(Qt::RightToolBarArea, plotBar_);
  listBar_ = new CListBar(document_, this);
  addDockWidget(Qt::LeftDockWidgetArea, listBar_);

  const auto bindToggle = [this](int id, QWidget* bar) {
    QAction* action = Action(id);
    action->setChecked(true);
    connect(action, &QAction::toggled, bar, &QWidget::setVisible);
  };
  bindToggle(cmd::kStandardBar, standardBar_);
  bindToggle(cmd::kPointsBar, pointsBar_);
  bindToggle(cmd::kEditorBar, plotBar_);
  bindToggle(cmd::kObjectsBar, listBar_);
  connect(listBar_, &QDockWidget::visibilityChanged, Action(cmd::kObjectsBar), &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
  unitPane_ = new QLabel(this);
  positionPane_ = new QLabel(" X:           Y:      ", this);
  selectPane_ = new QLabel(this);
  positionPane_->setMinimumWidth(210);
  statusBar()->addPermanentWidget(unitPane_);
  statusBar()->addPermanentWidget(positionPane_);
  statusBar()->addPermanentWidget(selectPane_);
  statusBar()->showMessage(tr("Ready"));
  CreateLockPanes();
}

void CMainFrame::CreateLockPanes() {
  if (!keyboardLocks_.Read()) return;  // nothing can tell the states here
  const char* const texts[] = {"CAP", "NUM", "SCRL"};
  for (std::size_t i = 0; i < lockPanes_.size(); ++i) {
    lockPanes_[i] = new QLabel(QString::fromLatin1(texts[i]), this);
    lockPanes_[i]->setMinimumWidth(lockPanes_[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 6);
    lockPanes_[i]->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(lockPanes_[i]);
  }
  // The X server sends no event to a window without focus when a lock key
  // changes, so the indicators are polled.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, [this] { UpdateLockPanes(); });
  timer->start(250);
  UpdateLockPanes();
}

void CMainFrame::UpdateLockPanes() {
  const std::optional<LockStates> states = keyboardLocks_.Read();
  if (!states || !lockPanes_[0]) return;
  const bool on[] = {states->caps, states->num, states->scroll};
  for (std::size_t i = 0; i < lockPanes_.size(); ++i) lockPanes_[i]->setEnabled(on[i]);
}

void CMainFrame::RebuildRecentMenu() {
  recentMenu_->clear();
  const QStringList files = settings_.RecentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString path = files[i];
    recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this, [this, path] {
      if (MaybeSave()) OpenFile(path);
    })->setStatusTip(path);
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::UpdateTitle() {
  const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
  setWindowTitle(QStringLiteral("%1[*] - Tracemont").arg(name));
  setWindowModified(document_.IsModified());
}

void CMainFrame::UpdateCommandStates() {
  Action(cmd::kUndo)->setEnabled(document_.CanUndo());
  Action(cmd::kRedo)->setEnabled(document_.CanRedo());
  Action(cmd::kRemoveSelectedObjects)->setEnabled(listBar_ && listBar_->SelectedCount() > 0);
  Action(cmd::kCombinePoints)->setEnabled(listBar_ && listBar_->SelectedCount() > 1 &&
                                         (listBar_->ShownKind() == CListBar::Kind::Series ||
                                          listBar_->ShownKind() == CListBar::Kind::Commentaries));
  Action(cmd::kUnselectAll)->setEnabled(document_.SelectedAreaCount() > 0);
  Action(cmd::kAddFromPicture)->setEnabled(CanDigitizePicture(document_));
  Action(cmd::kApproximation)->setEnabled(document_.SelectedAreaCount() > 0);
  Action(cmd::kFunctionOnColored)->setEnabled(document_.SelectedAreaCount() > 0);
  Action(cmd::kLegend)->setChecked(document_.Data().legend.visible != 0);
  Action(cmd::kAreasMarks)->setChecked(document_.Data().editor.areasMarks != 0);
  Action(cmd::kPointsConnection)->setChecked(document_.Data().editor.connectDefault != 0);
  Action(cmd::kColorFilledAreas)->setChecked(document_.Data().editor.fillDefault != 0);
  Action(cmd::kShowPicture)->setChecked(document_.Data().editor.pictureShown != 0);
  Action(cmd::kGrid)->setChecked(view_ && view_->GridShown());
  const QMimeData* clip = QGuiApplication::clipboard() ? QGuiApplication::clipboard()->mimeData() : nullptr;
  Action(cmd::kPastePoints)->setEnabled(clip && clip->hasText());
}

// --- observer ----------------------------------------------------------------------

void CMainFrame::ModifiedChanged(bool) {
  UpdateTitle();
  UpdateCommandStates();
}

void CMainFrame::DocumentChanged() {
  const DocumentData& d = document_.Data();
  if (plotBar_) plotBar_->ShowScales(d.axisX.scale.k, d.axisY.scale.k);
  UpdateCommandStates();
}

void CMainFrame::DocumentReset(bool inches, double kx, double ky) {
  unitPane_->setText(Q(LoadStr(inches ? 41514 : 41510)));
  if (plotBar_) plotBar_->ShowScales(kx, ky);
  UpdateCommandStates();
}

void CMainFrame::SelectedAreasCounted(int count) {
  selectPane_->setText(Q(StrFormat(" Select: %5.2f ", static_cast<double>(count))));
  UpdateCommandStates();
}

// --- commands -----------------------------------------------------------------------

void CMainFrame::Dispatch(int id) {
  if (std::find(ColourCommands().begin(), ColourCommands().end(), id) != ColourCommands().end()) {
    plotBar_->SelectColour(id);
    return;
  }
  switch (id) {
    case cmd::kAddFromPicture: case cmd::kAddFromScreen: case kFinishScreenDigitizing:
      Digitize(id);
      break;
    case cmd::kFileNew: NewFile(); break;
    case cmd::kFileOpen: Open(); break;
    case cmd::kFileSave: path_.isEmpty() ? static_cast<void>(SaveAs()) : static_cast<void>(SaveTo(path_)); break;
    case cmd::kFileSaveAs: SaveAs(); break;
    case cmd::kFilePrint: Print(); break;
    case cmd::kPrintPreview: PrintPreview(); break;
    case cmd::kAppExit: close(); break;
    case cmd::kUndo: document_.Undo(); break;
    case cmd::kRedo: document_.Redo(); break;
    case cmd::kCopyPlot: CopyPlot(); break;
    case cmd::kEraseAll: document_.ClearAll(); break;
    case cmd::kUnselectAll: document_.UnselectAllAreas(); break;
    case cmd::kLegend: document_.ToggleLegend(); break;
    case cmd::kGrid: view_->SetGridShown(!view_->GridShown()); break;
    case cmd::kRefresh: view_->RepaintAll(); break;
    case cmd::kFitSize:
      document_.Checkpoint();
      document_.FitPageToWindow(view_->viewport()->width(), view_->viewport()->height(),
                                view_->PixelsPerInchX(), view_->PixelsPerInchY());
      break;
    case cmd::kRemoveSelectedObjects: RemoveSelectedObjects(); break;
    case cmd::kCombinePoints: CombineSelected(); break;
    case cmd::kSavePointsAs: SavePointsAs(document_, path_, plotBar_->Colour(), this); break;
    case cmd::kCopySelected:
      document_.SelectPointsInSelectedAreas(0);
      CopyPointsText(document_, plotBar_->Colour(), nullptr, true, false);
      break;
    case cmd::kCopyColoured:
      // The selection left behind is that of the selected areas in the current
      // colour, which is what was copied.
      document_.SelectPointsInSelectedAreas(plotBar_->Colour());
      CopyPointsText(document_, plotBar_->Colour(), nullptr, true, true);
      break;
    case cmd::kPastePoints: case cmd::kAddFromFile: case cmd::kAddFromTable: {
      const ImportMode mode = id == cmd::kPastePoints  ? ImportMode::Clipboard
                              : id == cmd::kAddFromFile ? ImportMode::File
                                                        : ImportMode::NewTable;
      ReadDefaults chosen;
      if (RunImportCommand(document_, mode, path_, {plotBar_->Colour(), plotBar_->Shape(), plotBar_->PointSize()},
                           this, &chosen)) {
        plotBar_->SelectColour(chosen.colourCommand);
        plotBar_->SelectShape(chosen.shapeCommand);
        plotBar_->SetPointSize(chosen.radius);
      }
      break;
    }
    case cmd::kPointsEditor: case 32873: case 32871: case 32870:
      plotBar_->SetEditorMode(id);
      document_.SetDistributionMode(id);
      break;
    case cmd::kAreasMarks:
      document_.Data().editor.areasMarks = document_.Data().editor.areasMarks ? 0 : 1;
      document_.Changed();
      break;
    case cmd::kPointsConnection:
      document_.Data().editor.connectDefault = document_.Data().editor.connectDefault ? 0 : 1;
      document_.SetModified(true);
      break;
    case cmd::kColorFilledAreas:
      document_.Data().editor.fillDefault = document_.Data().editor.fillDefault ? 0 : 1;
      document_.SetModified(true);
      break;
    case cmd::kShowPicture:
      document_.Data().editor.pictureShown = document_.Data().editor.pictureShown ? 0 : 1;
      document_.Changed();
      break;
    case cmd::kRoundPoints: case cmd::kCrossPoints: case cmd::kTrianglePoints:
      plotBar_->SelectShape(id);
      break;
    case cmd::kMagnifier:
      view_->Canvas().MagnifierCommand();
      plotBar_->SelectMagnifier(view_->Canvas().MagnifierState() != 0);
      break;
    case cmd::kRemoveColoredPoints: view_->Canvas().RemoveSelectedPoints(plotBar_->Colour()); break;
    case cmd::kRemoveAllSelectedPoints: view_->Canvas().RemoveSelectedPoints(0); break;
    case cmd::kContextHelp: QWhatsThis::enterWhatsThisMode(); break;
    case cmd::kHelpTopics: help_->ShowTopic(0); break;
    case cmd::kOptions: ShowOptions(false); break;
    case cmd::kPageSetup: ShowOptions(true); break;
    case cmd::kScalesWindow: ToggleScalesWindow(); break;
    case cmd::kApproximation: case cmd::kFunctionOnColored:
      if (document_.SelectedAreaCount() <= 0) break;
      RunFunctionCommand(document_, id, plotBar_->Colour(), [this](int topic) { help_->ShowTopic(topic); }, this);
      break;
    case cmd::kAbout: ShowAbout(); break;
    default:
      if (std::find(ToolCommands().begin(), ToolCommands().end(), id) != ToolCommands().end() ||
          id == cmd::kDensityInformation) {
        plotBar_->SelectTool(id);
        plotBar_->SelectMagnifier(view_->Canvas().MagnifierState() != 0);
      }
      break;
  }
  UpdateCommandStates();
}

void CMainFrame::ShowMessage(const QString& text, bool error) {
  if (error)
    QMessageBox::warning(this, tr("Tracemont"), text);
  else
    QMessageBox::information(this, tr("Tracemont"), text);
}

bool CMainFrame::MaybeSave() {
  if (!document_.ShouldAskToSave()) return true;
  const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
  const auto answer = QMessageBox::question(this, tr("Tracemont"), tr("Save changes to %1?").arg(name),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                            QMessageBox::Yes);
  if (answer == QMessageBox::Cancel) return false;
  if (answer == QMessageBox::No) return true;
  return path_.isEmpty() ? SaveAs() : SaveTo(path_);
}

void CMainFrame::NewFile() {
  if (!MaybeSave()) return;
  document_.NewDocument();
  path_.clear();
  UpdateTitle();
}

void CMainFrame::Open() {
  if (!MaybeSave()) return;
  const QString start = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
  const QString path = QFileDialog::getOpenFileName(this, tr("Open"), start, kDocumentFilter);
  if (!path.isEmpty()) OpenFile(path);
}

bool CMainFrame::OpenFile(const QString& path) {
  const FileResult result = document_.Open(path.toStdString());
  if (!result.ok) {
    path_.clear();
    UpdateTitle();
    settings_.RemoveRecentFile(path);
    RebuildRecentMenu();
    ShowMessage(Q(result.message));
    return false;
  }
  RememberPath(path);
  return true;
}

void CMainFrame::RememberPath(const QString& path) {
  path_ = QFileInfo(path).absoluteFilePath();
  settings_.AddRecentFile(path_);
  RebuildRecentMenu();
  UpdateTitle();
}

bool CMainFrame::SaveTo(const QString& path) {
  const FileResult result = document_.Save(path.toStdString());
  if (!result.ok) {
    ShowMessage(Q(result.message));
    return false;
  }
  RememberPath(path);
  statusBar()->showMessage(tr("Saved %1").arg(path_), 4000);
  return true;
}

bool CMainFrame::SaveAs() {
  QString path = QFileDialog::getSaveFileName(this, tr("Save As"), path_.isEmpty() ? tr("Untitled.tmr") : path_,
                                              kDocumentFilter);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += ".tmr";
  return SaveTo(path);
}

void CMainFrame::Print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintPage(document_.Data(), printer);
}

void CMainFrame::PrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* p) { PrintPage(document_.Data(), *p); });
  preview.exec();
}

void CMainFrame::CopyPlot() {
  const int dpi = std::max(96, view_->PixelsPerInchX());
  auto* data = new QMimeData;
  data->setImageData(RenderPageImage(document_.Data(), dpi));
  QApplication::clipboard()->setMimeData(data);
  statusBar()->showMessage(tr("The plot is on the clipboard"), 3000);
}

void CMainFrame::RemoveSelectedObjects() {
  const std::vector<CPlot*> objects = listBar_->SelectedObjects();
  if (objects.empty()) return;
  if (QMessageBox::question(this, tr("Tracemont"), Q(LoadStr(41634)), QMessageBox::Ok | QMessageBox::Cancel) !=
      QMessageBox::Ok)
    return;
  document_.RemoveObjects(std::vector<const CPlot*>(objects.begin(), objects.end()));
  document_.Changed();
}

void CMainFrame::CombineSelected() {
  const std::vector<CPlot*> objects = listBar_->SelectedObjects();
  if (objects.size() < 2) return;
  // One undo step for the whole combination.
  document_.Checkpoint();
  if (listBar_->ShownKind() == CListBar::Kind::Commentaries) {
    for (std::size_t i = 1; i < objects.size(); ++i) objects[i]->CopyStyle(*objects[0]);
    document_.Changed();
    return;
  }
  auto* target = dynamic_cast<CPlotVal*>(objects[0]);
  if (!target) return;
  std::vector<const CPlotVal*> others;
  for (std::size_t i = 1; i < objects.size(); ++i)
    if (auto* v = dynamic_cast<const CPlotVal*>(objects[i])) others.push_back(v);
  target->Combine(others);
  document_.RemoveObjects(std::vector<const CPlot*>(others.begin(), others.end()), false);
  document_.Changed();
}

void CMainFrame::ShowOptions(bool pageSetup) {
  COptionsSheet sheet(document_, pageSetup ? COptionsSheet::Mode::PageSetup : COptionsSheet::Mode::PlotOptions, this);
  sheet.SetHelpHandler([this](int topic) { help_->ShowTopic(topic); });
  sheet.exec();
  // The unit or the scales may have changed: the panes follow.
  const DocumentData& d = document_.Data();
  DocumentReset(d.inches != 0, d.axisX.scale.k, d.axisY.scale.k);
}

void CMainFrame::ToggleScalesWindow() {
  if (!scales_) {
    scales_ = new CScalesWindow(document_, this);
    connect(scales_, &QDialog::finished, this, [this] { Action(cmd::kScalesWindow)->setChecked(false); });
  }
  if (scales_->isVisible()) {
    scales_->hide();
  } else {
    scales_->show();
    scales_->raise();
  }
  Action(cmd::kScalesWindow)->setChecked(scales_->isVisible());
}

void CMainFrame::ShowAbout() {
  QMessageBox::about(this, tr("About Tracemont"),
                     tr("<h3>Tracemont %1</h3><p>Turns graphs into numbers and numbers into fitted curves.</p>"
                        "<p>Digitize published graphs, fit them, and export the points.</p>")
                         .arg(TM_VERSION));
}

// --- window placement -------------------------------------------------------------

void CMainFrame::ShowWithSavedPlacement() {
  const std::optional<WindowPlacement> stored = settings_.WindowPos();
  if (!stored) {
    show();
    return;
  }
  const WindowPlacement p = PlacementToRestore(*stored, WindowPlacement::kShowNormal);
  const QRect normal(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
  // A rectangle off every screen (a monitor removed since) is not restored.
  bool onScreen = false;
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersects(normal)) onScreen = true;
  if (onScreen && normal.width() > 100 && normal.height() > 100) setGeometry(normal);
  if (p.showCommand == WindowPlacement::kShowMaximized || (p.flags & WindowPlacement::kRestoreToMaximized))
    showMaximized();
  else if (p.showCommand == WindowPlacement::kShowMinimized)
    showMinimized();
  else
    show();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!MaybeSave()) {
    event->ignore();
    return;
  }
  WindowPlacement p;
  p.flags = isMaximized() ? WindowPlacement::kRestoreToMaximized : 0;
  p.showCommand = isMaximized() ? WindowPlacement::kShowMaximized
                                : (isMinimized() ? WindowPlacement::kShowMinimized : WindowPlacement::kShowNormal);
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  p.minX = p.minY = -1;
  p.maxX = p.maxY = -1;
  p.left = normal.left();
  p.top = normal.top();
  p.right = normal.right() + 1;
  p.bottom = normal.bottom() + 1;
  settings_.SetWindowPos(p);
  event->accept();
}

void CMainFrame::Digitize(int id) {
  const DigitizeStyle style{plotBar_->Colour(), plotBar_->Shape(), plotBar_->PointSize()};
  CPlotDot* series = nullptr;
  if (id == cmd::kAddFromPicture) {
    if (!CanDigitizePicture(document_)) return;
    series = DigitizePicture(document_, style, view_->PixelsPerInchX(), view_->PixelsPerInchY(), this);
  } else if (id == cmd::kAddFromScreen) {
    // The border window reports back through the event loop, after its
    // button has finished handling the click.
    OpenBorderWindow(*view_, style.colourCommand, [this] {
      QMetaObject::invokeMethod(this, [this] { Dispatch(kFinishScreenDigitizing); }, Qt::QueuedConnection);
    });
    return;
  } else {
    BorderWindow* border = FindBorderWindow(*view_);
    if (border == nullptr || !border->PickedColour()) return;
    series = DigitizeScreen(document_, style, border->FramedRect(), *border->PickedColour(), this);
  }
  if (series == nullptr) return;
  const Rect box = series->Bounds();
  view_->OpenPanel(PanelKind::kSeries, *series, {box.left, box.top});
}

}  // namespace tracemont
