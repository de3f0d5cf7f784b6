// More than one start: with ReuseViewer on, a second start hands its file to
// the running window and ends with 0; with it off, every start has a window.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

// Closes a viewer the way the user does and returns its exit code.
long Close(ViewerSession& viewer) {
  PostMessageA(viewer.frame(), WM_CLOSE, 0, 0);
  return viewer.WaitForExit();
}

TEST(SingleInstance, ReuseViewerHandsFileToRunningWindow) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"ReuseViewer=1"}));
  std::string first = folder.WriteFile("first.txt", "first\r\n");
  std::string second = folder.WriteFile("second.txt", "second file\r\n");

  ViewerSession running(folder);
  ASSERT_TRUE(running.Start(Quoted(first)));
  ASSERT_TRUE(running.WaitForWindow());
  ASSERT_TRUE(running.WaitForTitle("Mosaikon - " + first)) << running.Title();

  ViewerSession starter(folder);
  ASSERT_TRUE(starter.Start(Quoted(second)));
  EXPECT_EQ(starter.WaitForExit(), 0);
  EXPECT_TRUE(running.WaitForTitle("Mosaikon - " + second)) << running.Title();
  EXPECT_EQ(running.PaneText(2), "File Size: 13");
  EXPECT_EQ(AllFrames().size(), 1u);
  EXPECT_EQ(Close(running), 1);
}

TEST(SingleInstance, ReuseViewerHandsOverUnreadableFileLeavingTitleAndPanes) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"ReuseViewer=1"}));
  std::string first = folder.WriteFile("first.txt", "first\r\n");

  ViewerSession running(folder);
  ASSERT_TRUE(running.Start(Quoted(first)));
  ASSERT_TRUE(running.WaitForWindow());
  ASSERT_TRUE(running.WaitForTitle("Mosaikon - " + first)) << running.Title();
  std::string timePane = running.PaneText(1);

  ViewerSession starter(folder);
  ASSERT_TRUE(starter.Start(Quoted(folder.path() + "gone.txt")));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = running.FindDialog()) != nullptr; })) << "no error box";
  // The hand-over is synchronous: the starter waits until the box is closed.
  EXPECT_TRUE(starter.Running());
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(starter.WaitForExit(), 0);
  EXPECT_EQ(running.Title(), "Mosaikon - " + first);
  EXPECT_EQ(running.PaneText(1), timePane);
  EXPECT_EQ(running.PaneText(2), "File Size: 7");
  EXPECT_EQ(Close(running), 1);
}

TEST(SingleInstance, ReuseViewerOffGivesEveryStartItsOwnWindow) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"ReuseViewer=0"}));
  std::string first = folder.WriteFile("first.txt", "first\r\n");
  std::string second = folder.WriteFile("second.txt", "second\r\n");

  ViewerSession one(folder);
  ASSERT_TRUE(one.Start(Quoted(first)));
  ASSERT_TRUE(one.WaitForWindow());
  ViewerSession two(folder);
  ASSERT_TRUE(two.Start(Quoted(second)));
  ASSERT_TRUE(two.WaitForWindow());
  EXPECT_TRUE(one.WaitForTitle("Mosaikon - " + first)) << one.Title();
  EXPECT_TRUE(two.WaitForTitle("Mosaikon - " + second)) << two.Title();
  EXPECT_NE(one.frame(), two.frame());
  EXPECT_EQ(AllFrames().size(), 2u);
  EXPECT_EQ(Close(two), 1);
  EXPECT_EQ(Close(one), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
