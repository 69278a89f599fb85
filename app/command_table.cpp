#include "app/command_table.h"

#include <algorithm>

#include "model/colours.h"

namespace tracemont {
namespace {

constexpr CommandInfo kCommands[] = {
    // File
    {cmd::kFileNew, "&New\tCtrl+N", "Create a new document\nNew"},
    {cmd::kFileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen"},
    {cmd::kFileSave, "&Save\tCtrl+S", "Save the active document\nSave"},
    {cmd::kFileSaveAs, "Save &As...", "Save the active document with a new name\nSave As"},
    {cmd::kSavePointsAs, "Save Points As...", "Save only points in text file\nSave Points"},
    {cmd::kPageSetup, "Page Set&up...", "Change the printing options\nPage Setup"},
    {cmd::kFilePrint, "&Print...\tCtrl+P", "Print the active document\nPrint"},
    {cmd::kPrintPreview, "Print Pre&view", "Display full pages\nPrint Preview"},
    {cmd::kAppExit, "E&xit", "Quit the application; prompts to save documents\nExit"},
    // Edit
    {cmd::kUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo"},
    {cmd::kRedo, "&Redo\tCtrl+Y", "Redo the previously undone action\nRedo"},
    {cmd::kCopyPlot, "Copy Plot", "Copy plot and put it on the Clipboard\nCopy Plot"},
    {cmd::kCopySelected, "Copy Selected", "Copy only points  to the Clipboard\nCopy Points"},
    {cmd::kPastePoints, "Paste Points", "Add a series of points from text on the Clipboard\nPaste Points"},
    {cmd::kUnselectAll, "Unselect All", "Unselect all areas\nUnselect All"},
    {cmd::kRemoveSelectedObjects, "Remove Selected Objects",
     "Remove all selected objects (serieses, areas, functions)\nRemove Selected Objects"},
    {cmd::kCombinePoints, "Combine Points", "Combine serieses of points in one\nCombine Points"},
    {cmd::kEraseAll, "Erase All", "Erase everything\nErase All"},
    // Points
    {cmd::kAddFromFile, "Add Points from File...", "Add a series of points read from a text file\nAdd from File"},
    {cmd::kAddFromTable, "Add Points from Table...", "Add a series of points typed into a table\nAdd from Table"},
    {cmd::kAddFromPicture, "Add Points from Picture",
     "Digitize new series of points from background picture\nAdd Points  from Picture"},
    {cmd::kAddFromScreen, "Add Points from Screen",
     "Digitize new series of points from screen\nAdd Points  from Screen"},
    {cmd::kRemoveAllSelectedPoints, "Remove All Selected Points",
     "Remove the points of every colour inside the selected areas\nRemove All Selected Points"},
    {cmd::kRemoveColoredPoints, "Remove Colored Points",
     "Remove the points of the current colour inside the selected areas\nRemove Colored Points"},
    {cmd::kTransformSelected, "Transform Selected Points",
     "Transform selected points to new series\nTransform Selected Points"},
    {cmd::kTransformAll, "Transform All Points", "Transform all points to new series\nTransform All Points"},
    // Functions and statistics
    {cmd::kApproximation, "Approximation...",
     "Build aproximation function on all selected points\nFunction on Selected Points"},
    {cmd::kFunctionOnColored, "Function on Colored Points",
     "Build aproximation function on selected points with current color\nFunction on Colored Points"},
    {cmd::kFormula, "Formula...", "Build function on formula\nFunction on Formula"},
    {cmd::kCorrelation, "Correlation", "Correlation of the points in the selected areas\nCorrelation"},
    // View
    {cmd::kPointsEditor, "Points Editor", "Visual redact points\nPoints Editor"},
    {32873, "Points Occupation", "Points occupation\nPoints Occupation"},
    {32871, "Distribution", "Density distribution of the points\nDistribution"},
    {32870, "Diagram", "Diagram of the points on squares\nDiagram"},
    {cmd::kPointsConnection, "Points Connection", "Connect all points by lines\nPoints Connection"},
    {cmd::kShowPicture, "Show Picture", "Show background picture\nShow Picture"},
    {cmd::kColorFilledAreas, "Color Filled Areas", "Fill areas with color\nColor Filled Areas"},
    {cmd::kAreasMarks, "Areas Marks", "Draw areas marks to erase and edit\nAreas Marks"},
    {cmd::kLegend, "Legend", "Paint the 'Legend' \nLegend"},
    {cmd::kGrid, "Grid", "Show the page grid\nGrid"},
    {cmd::kFitSize, "&Fit Size", "Fit plot size on full workspace\nFit Size"},
    {cmd::kOptions, "&Options...", "Change plot properties\nOptions"},
    {cmd::kScalesWindow, "Scales", "Show/Hide 'Scales' window\nScales"},
    {cmd::kFiltersWindow, "Filters", "Show/Hide 'Filters' window\nFilters"},
    {cmd::kStandardBar, "Standart toolbar", "Show or hide the standard toolbar\nToggle Toolbar"},
    {cmd::kPointsBar, "Points toolbar", "Show or hide the points toolbar\nToggle Points Toolbar"},
    {cmd::kEditorBar, "Editor toolbar", "Show/Hide the 'Editor' toolbar\nEditor Toolbar"},
    {cmd::kObjectsBar, "Objects toolbar", "Show/Hide the 'Objects' toolbar\nObjects Toolbar"},
    {cmd::kRefresh, "&Refresh", "Repaint the plot\nRefresh"},
    // Tools
    {cmd::kPointsOnLines, "Points on Lines", "Create new serie and draw points on straight lines\nPoints on Lines"},
    {cmd::kDropPoints, "Drop Points", "Create new serie and drop points\nDrop Points"},
    {cmd::kRectArea, "Rectangle Area", "Create new rectangle area to move and edit\nRectangle Area"},
    {cmd::kIrregularArea, "Irregular Area", "Create new irregular area to move and edit\nIrregular Area"},
    {cmd::kCommentaryTool, "Commentary", "Create new text commentary or edits existing\nCommentary"},
    {cmd::kErasePoints, "Erase Points", "Erase colored or all plot points\nErase Points"},
    {cmd::kInformation, "Information", "Show information on areas, points serieses and functions\nInformation"},
    {cmd::kDensityInformation, "Density Information",
     "Show information on areas, points serieses and functions\nInformation"},
    {cmd::kRemoveAreaAndFunction, "Remove Area and Function",
     "Remove the area or function under cursor\nRemove Area and Function"},
    {cmd::kSelectArea, "Select Area", "Select the area, move points\nSelect Area"},
    {cmd::kMagnifier, "Magnifier", "Change scale and view all area with magnifying glass.\nMagnifying glass."},
    {cmd::kAxisX, "Axis X", "Scale of the X axis\nAxis X"},
    {cmd::kAxisY, "Axis Y", "Scale of the Y axis\nAxis Y"},
    {cmd::kPointsSize, "Points size", "Size of new points\nPoints size"},
    // Colours and shapes
    {cmd::kBlackPoints, "Black Points", "Draw black points\nBlack"},
    {cmd::kBluePoints, "Blue Points", "Draw blue points\nBlue"},
    {cmd::kGreenPoints, "Green Points", "Draw green points\nGreen"},
    {cmd::kRedPoints, "Red Points", "Draw red points\nRed"},
    {cmd::kBrownPoints, "Brown Points", "Draw brown points\nBrown"},
    {cmd::kGrayPoints, "Gray Points", "Draw gray points\nGray"},
    {cmd::kRoundPoints, "Round points", "Draw round points\nRound points"},
    {cmd::kCrossPoints, "Crosses points", "Draw crosses\nCrosses points"},
    {cmd::kTrianglePoints, "Triangular points", "Draw triangles\nTriangular points"},
    // Help
    {cmd::kHelpTopics, "&Help Topics\tF1", "List Help topics\nHelp Topics"},
    {cmd::kContextHelp, "&What's This?\tShift+F1", "Display help for clicked on buttons, menus and windows\nHelp"},
    {cmd::kAbout, "&About Tracemont...", "Display program information, version number and copyright\nAbout"},
};

std::string StripMenu(const char* text) {
  std::string s;
  for (const char* p = text; *p && *p != '\t'; ++p)
    if (*p != '&') s.push_back(*p);
  return s;
}

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommand(int id) {
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [id](const CommandInfo& c) { return c.id == id; });
  return it == std::end(kCommands) ? nullptr : &*it;
}

std::string StatusLine(const CommandInfo& command) {
  const std::string s = command.statusText;
  return s.substr(0, s.find('\n'));
}

std::string ToolTip(const CommandInfo& command) {
  const std::string s = command.statusText;
  const auto newline = s.find('\n');
  if (newline == std::string::npos || newline + 1 >= s.size()) return StripMenu(command.menuText);
  return s.substr(newline + 1);
}

}  // namespace tracemont
