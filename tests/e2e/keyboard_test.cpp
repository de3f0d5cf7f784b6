// Keys and menu toggles through the real input queue: scrolling to the end and
// back to the left, Always on Top, the GB and Big5 display modes, and a file
// of a million lines.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

// Lines of `width` x's, the last one beginning with a link (blue on screen),
// so the bottom row of the view tells where the view is scrolled.
std::string LongFile(int lines, int width) {
  std::string text;
  std::string line(static_cast<size_t>(width), 'x');
  text.reserve(static_cast<size_t>(lines) * (width + 2));
  for (int i = 0; i < lines - 1; ++i) text += line + "\r\n";
  text += "http://last.example/ end";  // no line break: no empty line after it
  return text;
}

// The bottom cell row of the view shows the link at its left edge.
bool LastLineAtBottomLeft(HWND view) {
  Capture shot = Capture::OfClient(view);
  if (shot.height() < kCellHeight) return false;
  int bottom = shot.height();
  return shot.Contains(0, bottom - kCellHeight, 4 * kCellWidth, bottom, kLinkBlue);
}

bool AnyLinkShown(HWND view) {
  Capture shot = Capture::OfClient(view);
  return shot.Contains(0, 0, shot.width(), shot.height(), kLinkBlue);
}

std::string SettingOf(const ProgramFolder& folder, const std::string& key) {
  for (const auto& [name, value] : IniSection(folder.ReadIni(), "Settings"))
    if (name == key) return value;
  return "<missing>";
}

TEST(ViewerKeys, CtrlEndThenHomeShowsLastRowsAtFarLeft) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  std::string sample = folder.WriteFile("long.txt", LongFile(400, 300));

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  // Painted: the first cell shows an x, black on white.
  ASSERT_TRUE(WaitFor([&] {
    Capture shot = Capture::OfClient(view);
    return CellHas(shot, Cell(0, 0), kBlack) && CellHas(shot, Cell(0, 0), kWhite);
  }));
  EXPECT_FALSE(AnyLinkShown(view)) << "the last line is not shown at the start";

  ASSERT_TRUE(viewer.PressKey(VK_END, {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return LastLineAtBottomLeft(view); })) << "Ctrl+End did not reach the last line";
  ASSERT_TRUE(viewer.PressKey(VK_END));
  EXPECT_TRUE(WaitFor([&] { return !AnyLinkShown(view); })) << "End did not scroll to the far right";
  ASSERT_TRUE(viewer.PressKey(VK_HOME));
  EXPECT_TRUE(WaitFor([&] { return LastLineAtBottomLeft(view); })) << "Home did not return to the far left";
}

TEST(ViewerKeys, MillionLineFileOpensAndCtrlEndReachesItsLastLine) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  const std::string text = LongFile(1000000, 7);
  std::string sample = folder.WriteFile("million.txt", text);

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow(30s));
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample, 30s));
  EXPECT_EQ(viewer.PaneText(2), "File Size: " + std::to_string(text.size()));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(viewer.PressKey(VK_END, {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return LastLineAtBottomLeft(view); }, 5s)) << "Ctrl+End was not prompt";
  ASSERT_TRUE(viewer.PressKey(VK_HOME, {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return !AnyLinkShown(view); }, 5s)) << "Ctrl+Home did not return to the top";
}

TEST(ViewerKeys, AlwaysOnTopTogglesTopmostAndIsSavedAtExit) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
  auto topmost = [&] { return (GetWindowLongPtrA(viewer.frame(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_FALSE(topmost());

  EXPECT_FALSE(viewer.ButtonChecked(5005));
  ASSERT_TRUE(viewer.PressKey('A', {VK_MENU}));
  EXPECT_TRUE(WaitFor(topmost)) << "Alt+A did not make the window topmost";
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(5005); })) << "the button does not show it";
  ASSERT_TRUE(viewer.PressKey('A', {VK_MENU}));
  EXPECT_TRUE(WaitFor([&] { return !topmost(); })) << "a second Alt+A did not end topmost";
  ASSERT_TRUE(viewer.PressKey('A', {VK_MENU}));
  EXPECT_TRUE(WaitFor(topmost));
  ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
  EXPECT_EQ(viewer.WaitForExit(), 1);
  EXPECT_EQ(SettingOf(folder, "AlwaysOnTop"), "1");
}

// The display modes leave no trace outside the process but the saved
// DecodeMode, so each row runs keys and reads the INI after exit.
TEST(ViewerKeys, GbAndBig5TogglesExcludeEachOther) {
  struct Case {
    std::vector<char> keys;
    const char* decodeMode;
  };
  const Case cases[] = {
      {{'G'}, "1"}, {{'G', 'G'}, "0"}, {{'B'}, "2"}, {{'G', 'B'}, "2"}, {{'B', 'G'}, "1"}, {{'B', 'B'}, "0"},
  };
  for (const Case& c : cases) {
    std::string keys(c.keys.begin(), c.keys.end());
    SCOPED_TRACE("Alt+" + keys);
    ProgramFolder folder;
    folder.WriteIni(StandardIni());
    ViewerSession viewer(folder);
    ASSERT_TRUE(viewer.Start(""));
    ASSERT_TRUE(viewer.WaitForWindow());
    for (char key : c.keys) ASSERT_TRUE(viewer.PressKey(static_cast<WORD>(key), {VK_MENU}));
    // The check marks show on the toolbar as pressed buttons.
    std::string mode = c.decodeMode;
    EXPECT_TRUE(WaitFor([&] {
      return viewer.ButtonChecked(5008) == (mode == "1") && viewer.ButtonChecked(5009) == (mode == "2");
    })) << "GB pressed "
        << viewer.ButtonChecked(5008) << ", Big5 pressed " << viewer.ButtonChecked(5009);
    ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
    EXPECT_EQ(viewer.WaitForExit(), 1);
    EXPECT_EQ(SettingOf(folder, "DecodeMode"), c.decodeMode);
  }
}

}  // namespace
}  // namespace mosaikon::e2e
