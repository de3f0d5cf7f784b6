// The first start of a fresh copy: a file that cannot be read, the error box
// owned by the viewer, and the settings the first exit writes.
#include <gtest/gtest.h>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

TEST(FirstStart, UnreadableFileShowsAnErrorBoxAndExitWritesTheDefaults) {
  ProgramFolder folder;  // no INI
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Start(folder.path() + "no such file.txt"));
  HWND box = viewer.Shown(kDialogClass, "Error", 15s);
  ASSERT_NE(box, nullptr) << "no error box";
  // The window is still hidden, but the box already belongs to it.
  HWND owner = GetWindow(box, GW_OWNER), frame = viewer.FindFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(owner == frame || GetAncestor(owner, GA_ROOT) == frame) << "owner " << owner << ", frame " << frame;

  ASSERT_TRUE(Dismiss(box, VK_RETURN));
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_EQ(viewer.Title(), "Mosaikon");
  EXPECT_EQ(viewer.PaneText(1) + viewer.PaneText(2), "");
  EXPECT_EQ(viewer.Exit(), 1);
  // Placement and band widths depend on the screen; the rest is fixed.
  EXPECT_EQ(folder.Settings({"WindowPos", "Rebar0_CX", "Rebar1_CX"}),
            "WindowPos=* ToolBarVisible=1 StatusBarVisible=1 Rebar_BandCount=2 Rebar0_ID=60160 Rebar0_CX=* "
            "Rebar0_BreakLine=0 Rebar1_ID=60161 Rebar1_CX=* Rebar1_BreakLine=1 TabSize=8 FontSize=3 ForeColor=0 "
            "BackColor=16777215 HyperLinkColor=16711680 FileTypes= RegisterOnStart=0 CopyOnSelect=1 ColumnMode=1 "
            "SupportAnsi=1 AlwaysOnTop=0 ReuseViewer=0 SaveMruFiles=1 MurFileNum=10 DecodeMode=0 ");
  // The failed path is not listed among the recently viewed files.
  EXPECT_TRUE(folder.Section("MRU").empty()) << folder.ReadIni();
}

}  // namespace
}  // namespace mosaikon::e2e
