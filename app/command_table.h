// The program's commands: numeric id, menu text and status text. The id is
// the key everything agrees on: menus, tool bars, help texts and the
// handlers that carry the commands out.
#pragma once

#include <span>
#include <string>

namespace tracemont {

namespace cmd {
// File
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kPageSetup = 57605;
constexpr int kFilePrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kFirstRecentFile = 57616;  // ten in a row
constexpr int kAppExit = 57665;
constexpr int kSavePointsAs = 32811;
// Edit
constexpr int kUndo = 57643;
constexpr int kRedo = 57644;
constexpr int kEraseAll = 57633;
constexpr int kCopyPlot = 32823;
constexpr int kCopySelected = 32831;
constexpr int kCopyColoured = 32830;  // the view's context menu only
constexpr int kPastePoints = 32822;
constexpr int kUnselectAll = 32838;
constexpr int kRemoveSelectedObjects = 33010;
constexpr int kCombinePoints = 33020;
// Points
constexpr int kAddFromTable = 32810;
constexpr int kAddFromFile = 32812;
constexpr int kAddFromPicture = 32816;
constexpr int kAddFromScreen = 32817;
constexpr int kRemoveColoredPoints = 32834;
constexpr int kRemoveAllSelectedPoints = 32835;
constexpr int kTransformSelected = 32796;
constexpr int kTransformAll = 32797;
// Functions and statistics
constexpr int kFunctionOnColored = 32874;
constexpr int kApproximation = 32875;
constexpr int kFormula = 33300;
constexpr int kCorrelation = 32876;
// View
constexpr int kPointsEditor = 32879;
constexpr int kLegend = 32700;
constexpr int kGrid = 402;
constexpr int kFitSize = 32750;
constexpr int kOptions = 32776;
constexpr int kScalesWindow = 32802;
constexpr int kFiltersWindow = 32803;
constexpr int kEditorBar = 32800;
constexpr int kObjectsBar = 32801;
constexpr int kStandardBar = 59392;
constexpr int kPointsBar = 32805;
constexpr int kRefresh = 57610;
constexpr int kPointsConnection = 32880;
constexpr int kShowPicture = 32884;
constexpr int kColorFilledAreas = 32882;
constexpr int kAreasMarks = 32883;
// Tools
constexpr int kPointsOnLines = 32778;
constexpr int kDropPoints = 32779;
constexpr int kCommentaryTool = 32783;
constexpr int kErasePoints = 32784;
constexpr int kInformation = 32814;
constexpr int kDensityInformation = 32815;
constexpr int kRemoveAreaAndFunction = 32836;
constexpr int kSelectArea = 32837;
constexpr int kMagnifier = 32813;
constexpr int kAxisX = 32788;
constexpr int kAxisY = 32790;
constexpr int kPointsSize = 32839;
// Help
constexpr int kHelpTopics = 57667;
constexpr int kContextHelp = 57669;
constexpr int kAbout = 57664;
}  // namespace cmd

struct CommandInfo {
  int id;
  const char* menuText;    // with "&" for the mnemonic and "\t" before a shortcut
  const char* statusText;  // "long text\nshort text (tool tip)"
};

// Every command with a menu or tool-bar entry.
std::span<const CommandInfo> Commands();
// The command of an id; nullptr for an unknown id.
const CommandInfo* FindCommand(int id);
// The status line part of a status text (before "\n").
std::string StatusLine(const CommandInfo& command);
// The tool-tip part (after "\n", or the whole menu text without "&" and
// shortcut when there is none).
std::string ToolTip(const CommandInfo& command);

}  // namespace tracemont
