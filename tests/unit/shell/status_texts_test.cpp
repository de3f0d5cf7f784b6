// Tests of the frame's texts: title, file panes, menu prompts and tooltips.
#include "shell/status_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

TEST(TitleText, AppendsThePathAsGiven) {
  EXPECT_EQ(TitleText("Mosaikon", ""), "Mosaikon");
  EXPECT_EQ(TitleText("Mosaikon", "C:\\art\\cat.ans"), "Mosaikon - C:\\art\\cat.ans");
  EXPECT_EQ(TitleText("Mosaikon", "..\\Cat.ANS"), "Mosaikon - ..\\Cat.ANS");
}

TEST(PaneTexts, ModifyTimePadsAllButTheYear) {
  FileTime time;
  time.year = 2002, time.month = 12, time.day = 31, time.hour = 23, time.minute = 59, time.second = 7;
  EXPECT_EQ(ModifyTimeText("Modify Time", time), "Modify Time: 2002-12-31 23:59:07");
  FileTime early;
  early.year = 987, early.month = 1, early.day = 2, early.hour = 0, early.minute = 5, early.second = 0;
  EXPECT_EQ(ModifyTimeText("Modify Time", early), "Modify Time: 987-01-02 00:05:00");
}

TEST(PaneTexts, FileSizeInDecimalBytes) {
  EXPECT_EQ(FileSizeText("File Size", 1234), "File Size: 1234");
  EXPECT_EQ(FileSizeText("File Size", 0), "File Size: 0");
  EXPECT_EQ(FileSizeText("File Size", 3000000000u), "File Size: 3000000000");
}

TEST(MenuPromptStringId, MapsCommandBlocks) {
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
      {0xF000, 61184},   // Size
      {0xF010, 61185},   // Move
      {0xF020, 61186},   // Minimize
      {0xF030, 61187},   // Maximize
      {0xF060, 0xEF06},  // Close: no string behind it
      {0xF120, 61202},   // Restore
      {0xF130, 61203},   // Task List
      {0xF1EF, 0xEF1E}, {0xF1F0, 0xF1F0}, {0xEFFF, 0xEFFF}, {0xE10F, 0xE10F}, {0xE110, 61402},
      {0xE11F, 61402},  {0xE120, 0xE120}, {0xFEFF, 0xFEFF}, {0xFF00, 61215},  {0xFFFF, 61215},
      {57665, 57665},   {5000, 5000},     {10001, 10001},   {0, 0},
  };
  for (const auto& [id, expected] : cases) EXPECT_EQ(MenuPromptStringId(id), expected) << std::hex << id;
}

TEST(CommandStrings, PromptIsTextBeforeFirstNewline) {
  EXPECT_EQ(PromptFromCommandString("Open an existing document\nOpen"), "Open an existing document");
  EXPECT_EQ(PromptFromCommandString("&Clear Recently Viewed List"), "&Clear Recently Viewed List");
  EXPECT_EQ(PromptFromCommandString("a\nb\nc"), "a");
  EXPECT_EQ(PromptFromCommandString("\nTip"), "");
  EXPECT_EQ(PromptFromCommandString(""), "");
}

TEST(CommandStrings, TooltipIsTextAfterFirstNewlineUpTo79Bytes) {
  EXPECT_EQ(TooltipFromCommandString("Show or hide the toolbar\nToggle ToolBar"), "Toggle ToolBar");
  EXPECT_EQ(TooltipFromCommandString("no newline"), "");
  EXPECT_EQ(TooltipFromCommandString("a\nb\nc"), "b\nc");
  EXPECT_EQ(TooltipFromCommandString("a\n"), "");
  EXPECT_EQ(TooltipFromCommandString("p\n" + std::string(79, 't')), std::string(79, 't'));
  EXPECT_EQ(TooltipFromCommandString("p\n" + std::string(80, 't')), std::string(79, 't'));
}

}  // namespace
}  // namespace mosaikon
