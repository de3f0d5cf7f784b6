// Tests of the frame's texts: menu prompts and tooltips.
#include "shell/status_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

TEST(MenuPromptStringId, MapsCommandBlocks) {
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
      {0xF000, 61184},   // Size
      {0xF060, 0xEF06},  // Close: no string behind it
      {0xF120, 61202},   // Restore
      {0xF130, 61203},   // Task List
      {0xF1EF, 0xEF1E}, {0xF1F0, 0xF1F0}, {0xEFFF, 0xEFFF}, {0xE10F, 0xE10F}, {0xE110, 61402}, {0xE11F, 61402},
      {0xE120, 0xE120}, {0xFEFF, 0xFEFF}, {0xFF00, 61215},  {0xFFFF, 61215},  {5000, 5000},    {0, 0},
  };
  for (const auto& [id, expected] : cases) EXPECT_EQ(MenuPromptStringId(id), expected) << std::hex << id;
}

TEST(CommandStrings, PromptBeforeTheFirstNewlineTooltipAfterItUpTo79Bytes) {
  const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
      {"Open an existing document\nOpen", {"Open an existing document", "Open"}},
      {"&Clear Recently Viewed List", {"&Clear Recently Viewed List", ""}},
      {"a\nb\nc", {"a", "b\nc"}},
      {"\nTip", {"", "Tip"}},
      {"p\n" + std::string(80, 't'), {"p", std::string(79, 't')}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(PromptFromCommandString(text), expected.first) << text;
    EXPECT_EQ(TooltipFromCommandString(text), expected.second) << text;
  }
}

}  // namespace
}  // namespace mosaikon
