// What a closed window leaves for the next start: placement, bar visibility
// and the recently viewed list, observed in the INI file and on screen.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

std::string SettingOf(const std::string& ini, const std::string& section, const std::string& key) {
  for (const auto& [name, value] : IniSection(ini, section))
    if (name == key) return value;
  return "<missing>";
}

TEST(WindowLayout, PlacementAndBarsComeBackAndAreWrittenAgain) {
  ProgramFolder folder;
  folder.WriteIni(
      {"[Settings]", "LangDll=", "WindowPos=0,1,-1,-1,-1,-1,60,70,760,570", "ToolBarVisible=5", "StatusBarVisible=0"});
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
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

  EXPECT_EQ(viewer.Close(), 1);
  std::string ini = folder.ReadIni();
  EXPECT_EQ(SettingOf(ini, "Settings", "ToolBarVisible"), "1");
  EXPECT_EQ(SettingOf(ini, "Settings", "StatusBarVisible"), "0");
  std::string placement = SettingOf(ini, "Settings", "WindowPos");
  EXPECT_TRUE(placement.ends_with(",60,70,760,570")) << placement;
  EXPECT_TRUE(placement.starts_with("0,1,")) << placement;
}

TEST(RecentFiles, OpenedFilesGoToTheTopAndAFailedOneLeavesTheList) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"ReuseViewer=1"}));
  std::string a = folder.WriteFile("a.txt", "a\r\n");
  std::string b = folder.WriteFile("b.txt", "b\r\n");
  std::string c = folder.WriteFile("c.txt", "c\r\n");

  ViewerSession running(folder);
  ASSERT_TRUE(running.Start(Quoted(a)));
  ASSERT_TRUE(running.WaitForWindow());
  ASSERT_TRUE(running.WaitForTitle("Mosaikon - " + a));
  // Each hand-over opens its file in the running window, like the Open dialog.
  for (const std::string& path : {b, c, a}) {
    ViewerSession starter(folder);
    ASSERT_TRUE(starter.Start(Quoted(path)));
    EXPECT_EQ(starter.WaitForExit(), 0);
    ASSERT_TRUE(running.WaitForTitle("Mosaikon - " + path));
  }
  std::vector<std::pair<std::string, std::string>> expected = {{"1", a}, {"2", c}, {"3", b}};
  EXPECT_EQ(IniSection(folder.ReadIni(), "MRU"), expected);

  // c disappears and is chosen again: the error box, and c leaves the list.
  ASSERT_TRUE(DeleteFileA(c.c_str()));
  ViewerSession starter(folder);
  ASSERT_TRUE(starter.Start(Quoted(c)));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = running.FindDialog()) != nullptr; })) << "no error box";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(starter.WaitForExit(), 0);
  expected = {{"1", a}, {"2", b}};
  EXPECT_EQ(IniSection(folder.ReadIni(), "MRU"), expected);
  EXPECT_EQ(running.Title(), "Mosaikon - " + a);
  EXPECT_EQ(running.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
