#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "app/help_texts.h"
#include "app/window_placement.h"

namespace tracemont {
namespace {

class LanguageFileTest : public ::testing::Test {
 protected:
  // One file per test process: the tests run in parallel.
  std::string path = ::testing::TempDir() + "/help_test_" + std::to_string(::getpid()) + ".lng";
  void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(LanguageFileTest, ReadsTextsByIdTurningBarsIntoLineBreaksExceptInFilters) {
  Write("[Main]\r\nlang=English\r\n[Strings]\r\n10102=Create a new plot.|Opens empty.\r\n"
        "41500=Text Files (*.txt)|*.txt|All|*.*\r\n 11102 = Shows information \r\n");
  LanguageFile file(path);
  EXPECT_EQ(file.Language(), "English");
  EXPECT_EQ(file.String(10102), "Create a new plot.\nOpens empty.");
  EXPECT_EQ(file.String(41500), "Text Files (*.txt)|*.txt|All|*.*");
  EXPECT_EQ(file.String(11102), "Shows information");
  EXPECT_EQ(file.String(0x10000 + 10102), "Create a new plot.\nOpens empty.");  // low 16 bits
  EXPECT_EQ(file.String(999, "a|b"), "a\nb");
}

TEST_F(LanguageFileTest, AMissingFileOrKeyLeavesTheDefaults) {
  LanguageFile missing(path + ".absent", "Other");
  EXPECT_EQ(missing.Language(), "???");
  EXPECT_EQ(missing.Section(), "Other");
  EXPECT_EQ(missing.String(10102), "");
  Write("[Strings]\n1=x\n");
  missing.Repoint(path);
  EXPECT_EQ(missing.Section(), "Strings");
  EXPECT_EQ(missing.String(1), "x");
  EXPECT_EQ(missing.Language(), "???");
}

TEST(HelpTables, MapCommandsToSharedTextsAndDialogsToTopics) {
  const auto table = CommandHelpTable();
  EXPECT_EQ(table.size(), 61u);
  EXPECT_EQ(HelpTextId(table, 57600), 10102u);
  EXPECT_EQ(HelpTextId(table, 57601), 10105u);
  EXPECT_EQ(HelpTextId(table, 33300), 11500u);
  EXPECT_EQ(HelpTextId(table, 32814), HelpTextId(table, 32815));
  EXPECT_EQ(HelpTextId(table, 32802), 21202u);
  EXPECT_EQ(HelpTextId(table, 194), 21202u);
  for (int colour = 32850; colour <= 32855; ++colour) EXPECT_EQ(HelpTextId(table, colour), 11402u);
  for (int shape = 32843; shape <= 32845; ++shape) EXPECT_EQ(HelpTextId(table, shape), 11452u);
  EXPECT_FALSE(HelpTextId(table, 12345).has_value());
  EXPECT_FALSE(HelpTextId(table, 0).has_value());
  EXPECT_EQ(HelpTextId(AboutHelpTable(), 12321), 4018u);

  const std::pair<int, int> topics[] = {{144, 146}, {166, 146}, {156, 159}, {182, 182},
                                        {189, 182}, {192, 182}, {190, 190}, {213, 212},
                                        {221, 222}, {191, 0},   {147, 0}};
  for (const auto& [dialog, topic] : topics) EXPECT_EQ(HelpTopicForDialog(dialog), topic) << dialog;
}

TEST(WindowPlacement, RoundTripsTenNumbersAndRejectsAnythingElse) {
  WindowPlacement p{2, 3, -1, -1, -8, -8, 10, 20, 810, 620};
  EXPECT_EQ(FormatPlacement(p), "2,3,-1,-1,-8,-8,10,20,810,620");
  EXPECT_EQ(ParsePlacement(FormatPlacement(p)), p);
  for (const char* bad : {"", "1,2,3", "1,2,3,4,5,6,7,8,9", "1,2,3,4,5,6,7,8,9,10,11",
                          "a,2,3,4,5,6,7,8,9,10", "-1,1,0,0,0,0,0,0,0,0", "1,1,0,0,0,0,0,0,0,9999999999"})
    EXPECT_FALSE(ParsePlacement(bad).has_value()) << bad;
}

TEST(WindowPlacement, ARequestOtherThanNormalReplacesTheStoredShowCommand) {
  const WindowPlacement maximised{2, WindowPlacement::kShowMaximized, 0, 0, 0, 0, 0, 0, 100, 100};
  EXPECT_EQ(PlacementToRestore(maximised, WindowPlacement::kShowNormal).showCommand, 3u);
  EXPECT_EQ(PlacementToRestore(maximised, WindowPlacement::kShowMinimized).showCommand, 2u);
}

TEST(ScaleField, ChoosesItsFormatByTheSizeOfTheIntegerPart) {
  EXPECT_EQ(ScaleFieldText(0.5), "  0.50");
  EXPECT_EQ(ScaleFieldText(-1000.9), "-1000.90");
  EXPECT_EQ(ScaleFieldText(1001), "1001.0");
  EXPECT_EQ(ScaleFieldText(10001), "1e+04");
}

}  // namespace
}  // namespace tracemont
