// The main frame without a document: placement and bars from the INI, the
// toolbar, the About box, the menu toggles and what exit saves of them; and
// the language pack the system's language chooses.
#include <gtest/gtest.h>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

TEST(FrameCommands, BarsAboutBoxAndTogglesAreSavedAtExit) {
  // Show command 7 (minimised, not active) restores as a normal window.
  ProgramFolder folder({"[Settings]", "LangDll=", "WindowPos=0,7,-1,-1,-1,-1,60,70,760,570", "ToolBarVisible=5",
                        "StatusBarVisible=0", "ColumnMode=0", "DecodeMode=0"});
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open());
  RECT frame;
  GetWindowRect(viewer.frame(), &frame);
  EXPECT_EQ(std::vector<long>({frame.left, frame.top, frame.right, frame.bottom}),
            std::vector<long>({60, 70, 760, 570}));
  ASSERT_NE(viewer.StatusBar(), nullptr);
  // The window shows before the bars are set up, so wait for the outcome.
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(viewer.StatusBar()); })) << "StatusBarVisible=0";
  ASSERT_NE(viewer.ToolBar(), nullptr);
  EXPECT_TRUE(IsWindowVisible(viewer.ToolBar())) << "ToolBarVisible=5 reads as shown";
  // Open | Copy | Column Select | GB, Big5 | Always on Top | Settings | About | Exit
  const std::vector<int> buttons = {kOpen,        0, kCopy,     0, kColumnSelect, 0, kViewGb, kViewBig5, 0,
                                    kAlwaysOnTop, 0, kSettings, 0, kAbout,        0, kExit};
  EXPECT_EQ(viewer.ToolBarCommands(), buttons);

  auto topmost = [&] { return (GetWindowLongPtrA(viewer.frame(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  for (bool on : {true, false, true}) {
    ASSERT_TRUE(viewer.Press('A', {VK_MENU}));
    EXPECT_TRUE(WaitFor([&] { return topmost() == on && viewer.ButtonChecked(kAlwaysOnTop) == on; }))
        << "Alt+A did not make the window " << (on ? "topmost" : "normal") << " with the button to match";
  }
  ASSERT_TRUE(viewer.Press('C', {VK_MENU}));
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kColumnSelect); })) << "Alt+C did not press the button";
  // GB and Big5 exclude each other: every change between the three modes
  // (0 neither, 1 GB, 2 Big5), shown as pressed buttons.
  for (auto [key, mode] : {std::pair{'G', 1}, {'G', 0}, {'B', 2}, {'G', 1}, {'B', 2}, {'B', 0}, {'G', 1}, {'B', 2}}) {
    ASSERT_TRUE(viewer.Press(static_cast<WORD>(key), {VK_MENU}));
    EXPECT_TRUE(WaitFor([&] {
      return viewer.ButtonChecked(kViewGb) == (mode == 1) && viewer.ButtonChecked(kViewBig5) == (mode == 2);
    })) << "Alt+"
        << key << " to mode " << mode;
  }
  // Last: under Wine a frame whose toolbar has shown a tooltip (the pointer
  // on a button) no longer gets the topmost style.
  ASSERT_NO_FATAL_FAILURE(ExpectAboutBox(viewer, "About"));

  EXPECT_EQ(viewer.Exit(), 1);
  for (auto [key, value] : IniKeys{{"AlwaysOnTop", "1"},
                                   {"ColumnMode", "1"},
                                   {"DecodeMode", "2"},
                                   {"ToolBarVisible", "1"},
                                   {"StatusBarVisible", "0"}})
    EXPECT_EQ(folder.Setting(key), value) << key;
  std::string placement = folder.Setting("WindowPos");
  EXPECT_TRUE(placement.starts_with("0,1,") && placement.ends_with(",60,70,760,570")) << placement;
}

// Without LangDll in the INI the system's default language chooses the pack,
// and the choice is not stored (only the Settings dialog writes LangDll);
// an empty LangDll is a stored choice of English. run.sh runs this case a
// second time with a German system language (LC_ALL=de_DE.UTF-8); otherwise
// it is skipped.
TEST(SystemLanguage, ChoosesThePackWhenTheIniNamesNone) {
  if (GetSystemDefaultLangID() != 0x0407) GTEST_SKIP() << "needs a German system language";
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  for (bool named : {false, true}) {
    ProgramFolder folder(named ? StandardIni()
                               : std::vector<std::string>{"[Settings]", "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"});
    Viewer viewer(folder);
    ASSERT_TRUE(viewer.Open());
    EXPECT_EQ(viewer.PaneText(0), named ? "Ready" : "Bereit");
    EXPECT_EQ(viewer.Close(), 1);
    EXPECT_EQ(folder.Setting("LangDll"), named ? "" : "<missing>");
  }
}

}  // namespace
}  // namespace mosaikon::e2e
