// Browsing the menu bar from the keyboard: the status bar shows the prompt of
// the highlighted item, and the panes come back when the menu closes.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

TEST(MenuPrompts, HighlightedItemShowsItsPromptUntilTheMenuCloses) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  std::string sample = folder.WriteFile("menu.txt", "menu\r\n");
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
  std::string sizePane = viewer.PaneText(2);
  ASSERT_EQ(sizePane, "File Size: 6");

  auto prompt = [&](const std::string& text) {
    return WaitFor([&] { return viewer.StatusSimple() && viewer.PaneText(0) == text; });
  };
  // File: Open, the one recently viewed entry, Clear Recently Viewed List,
  // Settings, Exit. Opened from the keyboard, its first item is highlighted.
  ASSERT_TRUE(viewer.PressKey('F', {VK_MENU}));
  EXPECT_TRUE(prompt("Open an existing document")) << viewer.PaneText(0);
  const char* following[] = {"", "&Clear Recently Viewed List", "Settings",
                             "Quit the application; prompts to save documents"};
  for (const char* text : following) {
    ASSERT_TRUE(viewer.PressKey(VK_DOWN));
    EXPECT_TRUE(prompt(text)) << "expected \"" << text << "\", shown \"" << viewer.PaneText(0) << "\"";
  }

  // Esc closes the menu, not the program.
  ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
  EXPECT_TRUE(WaitFor([&] { return !viewer.StatusSimple(); })) << "the panes did not come back";
  EXPECT_EQ(viewer.PaneText(2), sizePane);
  EXPECT_TRUE(viewer.Running());
  EXPECT_EQ(viewer.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
