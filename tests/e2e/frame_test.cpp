// The main frame without a document: placement and bars from the INI, the
// toolbar, the About box, the menu toggles and what exit saves of them; and
// the language of the user interface, from the INI or from the system.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

// Opens the About box from its toolbar button and closes it with Esc, which
// leaves the program running. The box comes from the language pack when one
// is chosen; its link lines are windows of a class the program registers,
// which must serve the pack's dialog template too.
void ExpectAboutBox(Viewer& viewer, const std::string& caption) {
  ASSERT_TRUE(Click(viewer.ToolBar(), viewer.ButtonCentre(kAbout)));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = viewer.Shown("#32770")) != nullptr; })) << "no About box";
  ParkPointer();
  EXPECT_EQ(WindowText(box), caption);
  EXPECT_NE(FindWindowExA(box, nullptr, "Static", "Mosaikon 2.2.0"), nullptr);
  HWND home = GetDlgItem(box, 1005);
  HWND help = GetDlgItem(box, 1006);
  ASSERT_NE(home, nullptr);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(ClassName(home), "MosaikonHyperLink");
  EXPECT_EQ(WindowText(home), "http://mosaikon.example/");
  EXPECT_EQ(WindowText(help), "http://mosaikon.example/help");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);

  ASSERT_TRUE(PressKey(box, VK_ESCAPE));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); })) << "Esc did not close the box";
  EXPECT_TRUE(viewer.Running());
  EXPECT_TRUE(IsWindowVisible(viewer.frame()));
}

TEST(FrameCommands, BarsAboutBoxAndTogglesAreSavedAtExit) {
  // Show command 7 (minimised, not active) restores as a normal window.
  ProgramFolder folder({"[Settings]", "LangDll=", "WindowPos=0,7,-1,-1,-1,-1,60,70,760,570", "ToolBarVisible=5",
                        "StatusBarVisible=0", "ColumnMode=0", "DecodeMode=0"});
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open());
  RECT frame;
  GetWindowRect(viewer.frame(), &frame);
  EXPECT_EQ(frame.left, 60);
  EXPECT_EQ(frame.top, 70);
  EXPECT_EQ(frame.right - frame.left, 700);
  EXPECT_EQ(frame.bottom - frame.top, 500);
  ASSERT_NE(viewer.StatusBar(), nullptr);
  // The window shows before the bars are set up, so wait for the outcome.
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(viewer.StatusBar()); })) << "StatusBarVisible=0";
  ASSERT_NE(viewer.ToolBar(), nullptr);
  EXPECT_TRUE(IsWindowVisible(viewer.ToolBar())) << "ToolBarVisible=5 reads as shown";
  // Open | Copy | Column Select | GB, Big5 | Always on Top | Settings | About | Exit
  const std::vector<int> buttons = {kOpen,        0, kCopy,     0, kColumnSelect, 0, kViewGb, kViewBig5, 0,
                                    kAlwaysOnTop, 0, kSettings, 0, kAbout,        0, kExit};
  EXPECT_EQ(viewer.ToolBarCommands(), buttons);
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "Copy enabled without a document";

  auto topmost = [&] { return (GetWindowLongPtrA(viewer.frame(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_FALSE(topmost());
  EXPECT_FALSE(viewer.ButtonChecked(kAlwaysOnTop));
  for (bool on : {true, false, true}) {
    ASSERT_TRUE(viewer.Press('A', {VK_MENU}));
    EXPECT_TRUE(WaitFor([&] { return topmost() == on && viewer.ButtonChecked(kAlwaysOnTop) == on; }))
        << "Alt+A did not make the window " << (on ? "topmost" : "normal") << " with the button to match";
  }
  ASSERT_TRUE(viewer.Press('C', {VK_MENU}));
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kColumnSelect); })) << "Alt+C did not press the button";
  // GB and Big5 exclude each other: every change between the three modes,
  // shown as pressed buttons.
  struct Step {
    char key;
    int mode;
  };
  for (Step step : {Step{'G', 1}, {'G', 0}, {'B', 2}, {'G', 1}, {'B', 2}, {'B', 0}, {'G', 1}, {'B', 2}}) {
    SCOPED_TRACE(std::string("Alt+") + step.key + " to mode " + std::to_string(step.mode));
    ASSERT_TRUE(viewer.Press(static_cast<WORD>(step.key), {VK_MENU}));
    EXPECT_TRUE(WaitFor([&] {
      return viewer.ButtonChecked(kViewGb) == (step.mode == 1) && viewer.ButtonChecked(kViewBig5) == (step.mode == 2);
    })) << "GB pressed "
        << viewer.ButtonChecked(kViewGb) << ", Big5 pressed " << viewer.ButtonChecked(kViewBig5);
  }
  // Last: under Wine a frame whose toolbar has shown a tooltip (the pointer
  // on a button) no longer gets the topmost style.
  ASSERT_NO_FATAL_FAILURE(ExpectAboutBox(viewer, "About"));

  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.Setting("AlwaysOnTop"), "1");
  EXPECT_EQ(folder.Setting("ColumnMode"), "1");
  EXPECT_EQ(folder.Setting("DecodeMode"), "2");
  EXPECT_EQ(folder.Setting("ToolBarVisible"), "1");
  EXPECT_EQ(folder.Setting("StatusBarVisible"), "0");
  std::string placement = folder.Setting("WindowPos");
  EXPECT_TRUE(placement.starts_with("0,1,") && placement.ends_with(",60,70,760,570")) << placement;
}

TEST(LanguagePacks, GermanPackSuppliesStatusTextsAndAboutBox) {
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  // 12 is no show command: a normal window all the same.
  ProgramFolder folder({"[Settings]", "LangDll=mkn_deu.dll", "WindowPos=0,12,-1,-1,-1,-1,40,40,840,640"});
  const std::string text = "Hallo\r\n";
  std::string sample = folder.WriteFile("hallo.txt", text);
  ASSERT_TRUE(SetLocalWriteTime(sample, 2003, 1, 2, 3, 4, 5));
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  // The pack's strings arrive in the ANSI code page (1252).
  EXPECT_EQ(viewer.PaneText(0), "Bereit");
  EXPECT_EQ(viewer.PaneText(1), "\xC4nderungszeit: 2003-01-02 03:04:05");
  EXPECT_EQ(viewer.PaneText(2), std::string("Dateigr\xF6\xDF") + "e: " + std::to_string(text.size()));
  ASSERT_NO_FATAL_FAILURE(ExpectAboutBox(viewer, "Info"));
  EXPECT_EQ(viewer.Exit(), 1);
}

// Without LangDll in the INI the system's default language chooses the pack,
// and the choice is not stored (only the Settings dialog writes LangDll);
// an empty LangDll is a stored choice of English. run.sh runs this case a
// second time with a German system language (LC_ALL=de_DE.UTF-8); otherwise
// it is skipped.
TEST(SystemLanguage, ChoosesThePackWhenTheIniNamesNone) {
  if (GetSystemDefaultLangID() != 0x0407) GTEST_SKIP() << "needs a German system language";
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  struct Case {
    std::vector<std::string> ini;
    const char* ready;
    const char* langDll;
  };
  const Case cases[] = {{{"[Settings]", "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"}, "Bereit", "<missing>"},
                        {StandardIni(), "Ready", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ready);
    ProgramFolder folder(c.ini);
    Viewer viewer(folder);
    ASSERT_TRUE(viewer.Open());
    EXPECT_EQ(viewer.PaneText(0), c.ready);
    EXPECT_EQ(viewer.Close(), 1);
    EXPECT_EQ(folder.Setting("LangDll"), c.langDll);
  }
}

}  // namespace
}  // namespace mosaikon::e2e
