// The user-interface resources as the running program shows them: the
// toolbar's buttons, and a language pack replacing the English texts.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

TEST(ProgramResources, ToolbarHoldsTheButtonsInCommandOrder) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_NE(viewer.ToolBar(), nullptr);
  // Open | Copy | Column Select | GB, Big5 | Always on Top | Settings | About | Exit
  std::vector<int> expected = {57601, 0, 57634, 0, 5002, 0, 5008, 5009, 0, 5005, 0, 5004, 0, 57664, 0, 57665};
  EXPECT_EQ(viewer.ToolBarCommands(), expected);
}

TEST(ProgramResources, GermanPackSuppliesTitleAndStatusTexts) {
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  ProgramFolder folder;
  folder.WriteIni({"[Settings]", "LangDll=mkn_deu.dll", "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"});
  const std::string text = "Hallo\r\n";
  std::string sample = folder.WriteFile("hallo.txt", text);
  ASSERT_TRUE(SetLocalWriteTime(sample, 2003, 1, 2, 3, 4, 5));

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample)) << viewer.Title();
  // The pack's strings arrive in the ANSI code page (1252).
  EXPECT_EQ(viewer.PaneText(0), "Bereit");
  EXPECT_EQ(viewer.PaneText(1), "\xC4nderungszeit: 2003-01-02 03:04:05");
  EXPECT_EQ(viewer.PaneText(2),
            "Dateigr\xF6\xDF"
            "e: " +
                std::to_string(text.size()));
}

// The box comes from the language pack when one is chosen; its link lines are
// windows of a class the program registers, which must serve the pack's
// dialog template too.
TEST(ProgramResources, AboutBoxShowsVersionAndLinksAndEscClosesOnlyTheBox) {
  struct Case {
    const char* langDll;
    const char* caption;
  };
  const Case cases[] = {{"", "About"}, {"mkn_deu.dll", "Info"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("LangDll=") + c.langDll);
    if (*c.langDll && Program().languageDir.empty()) continue;
    ProgramFolder folder;
    folder.WriteIni({"[Settings]", std::string("LangDll=") + c.langDll, "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"});
    ViewerSession viewer(folder);
    ASSERT_TRUE(viewer.Start(""));
    ASSERT_TRUE(viewer.WaitForWindow());
    // The About command has no key of its own; post it as the menu would.
    PostMessageA(viewer.frame(), WM_COMMAND, 57664, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = viewer.FindDialog()) != nullptr; })) << "no About box";
    EXPECT_EQ(WindowText(box), c.caption);
    EXPECT_NE(FindWindowExA(box, nullptr, "Static", "Mosaikon 2.2.0"), nullptr);
    HWND home = GetDlgItem(box, 1005);
    HWND help = GetDlgItem(box, 1006);
    ASSERT_NE(home, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(ClassName(home), "MosaikonHyperLink");
    EXPECT_EQ(WindowText(home), "http://mosaikon.example/");
    EXPECT_EQ(WindowText(help), "http://mosaikon.example/help");
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);

    ASSERT_TRUE(viewer.PressKeyIn(box, VK_ESCAPE));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); })) << "Esc did not close the box";
    EXPECT_TRUE(viewer.Running());
    EXPECT_TRUE(IsWindowVisible(viewer.frame()));
    ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
    EXPECT_EQ(viewer.WaitForExit(), 1);
  }
}

}  // namespace
}  // namespace mosaikon::e2e
