// HelpSystem: the program's help. Help topics are HTML pages in the
// program's "HTML" folder, shown in one help window; pop-up texts for
// commands and controls come from "StrRes/HelpEnglish.lng" and are shown at
// the pointer. "lang.lng" is read once; its language changes nothing shown.
//
// The application creates one HelpSystem with the program folder and keeps
// it for its whole run:
//   HelpSystem help(QCoreApplication::applicationDirPath(), &mainWindow);
//   action->setWhatsThis(help.WhatsThisText(32776));
//   help.ShowTopic(HelpTopicForDialog(186));
//
// Every failure (missing page, missing text file, id not in a table, empty
// text) ends the request silently: help never shows an error.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "app/help_texts.h"

class QDialogButtonBox;
class QWidget;
class QWizard;

namespace tracemont {

class HelpWindow;

class HelpSystem : public QObject {
  Q_OBJECT

 public:
  // programFolder: the folder holding "HTML/", "StrRes/" and "lang.lng".
  // mainWindow: where the help window is placed first; not owned, may be
  // null, may be destroyed before the help system.
  explicit HelpSystem(QString programFolder, QWidget* mainWindow = nullptr);
  ~HelpSystem() override;
  HelpSystem(const HelpSystem&) = delete;
  HelpSystem& operator=(const HelpSystem&) = delete;

  const QString& ProgramFolder() const { return folder_; }
  // The language named by "lang.lng" ("???" when absent).
  const std::string& Language() const { return language_.Language(); }
  // The reader of the pop-up texts.
  const LanguageFile& PopupTexts() const { return popups_; }

  // The page of a help topic: "<folder>/HTML/index.html" for topic 0,
  // "<folder>/HTML/topic-<id>.html" otherwise.
  QString TopicFile(int topicId) const;
  // Opens the help window (created on first use) on the topic's page; a
  // topic without a page opens the index. False when neither exists.
  bool ShowTopic(int topicId);
  // The topic of a dialog (HelpTopicForDialog).
  bool ShowDialogHelp(int dialogId) { return ShowTopic(HelpTopicForDialog(dialogId)); }
  // The page the help window shows (empty before the first topic).
  QUrl ShownPage() const;

  // The pop-up text of `id` in `table`: empty when the id is not in the
  // table (or the table ends first), its text id is 0, or the text file has
  // no text for it. Line breaks written "|" in the file are line breaks.
  QString PopupText(std::uint32_t id, std::span<const HelpPair> table) const;
  // Shows PopupText at `globalPos` (screen coordinates) over `owner`;
  // false, showing nothing, when there is no text.
  bool ShowPopup(QWidget* owner, QPoint globalPos, std::uint32_t id, std::span<const HelpPair> table) const;
  // Context help for a command: its pop-up at the pointer.
  bool ShowCommandHelp(QWidget* owner, int commandId) const;
  // The "What's this" text of a command (pop-up text of the command table).
  QString WhatsThisText(int commandId) const;

  // The help system of the running program: the one most recently created
  // and not yet destroyed, or null. Dialogs reach help through it without a
  // pointer to the main window.
  static HelpSystem* Current();

 private:
  QString folder_;
  QPointer<QWidget> mainWindow_;
  LanguageFile language_;
  LanguageFile popups_;
  std::unique_ptr<HelpWindow> window_;
};

// Opens the help topic of the dialog through HelpSystem::Current(); does
// nothing when the program has no help system (tests, the command-line tool).
void ShowDialogHelp(int dialogId);
// Adds a "Help" button to the box that opens the dialog's topic.
void AddDialogHelp(QDialogButtonBox& buttons, int dialogId);
// Shows the wizard's "Help" button; `dialogOfPage` gives the dialog id of
// the page shown when it is pressed.
void AddDialogHelp(QWizard& wizard, std::function<int()> dialogOfPage);

}  // namespace tracemont
