// The view under real keyboard and mouse input, seen on screen: the wheel
// scrolls by lines, keys reach the ends of a file of a million lines, the
// right button opens the context menu over the view only; and GB mode draws
// a GB2312 character over two cells and selects it only whole.
#include <gtest/gtest.h>

#include <algorithm>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

// Lines of links, one line wider than the window, a million short lines,
// and a last line that begins with a link.
std::string ScrollFile() {
  std::string text = LinkLines(200) + std::string(300, ' ') + "wide\r\n";
  text.reserve(text.size() + 9000000 + 30);
  for (int i = 0; i < 1000000; ++i) text += "xxxxxxx\r\n";
  return text + "http://last.example/ end";  // no line break: no empty line after it
}

// The bottom cell row of the view shows the last line's link at its left edge.
bool LastLineAtBottomLeft(HWND view) {
  Capture shot = Capture::OfClient(view);
  int bottom = shot.height();
  return bottom >= kCellHeight && shot.Contains({0, bottom - kCellHeight, 4 * kCellWidth, bottom}, kLinkBlue);
}

bool AnyLinkShown(HWND view) {
  Capture shot = Capture::OfClient(view);
  return shot.Contains({0, 0, shot.width(), shot.height()}, kLinkBlue);
}

TEST(ViewInput, WheelKeysAndContextMenuOnAMillionLines) {
  ProgramFolder folder(StandardIni());
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("lines.txt", ScrollFile()), 30s));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(WaitFor([&] { return TopLineIs(view, 0); })) << "the view never showed line 0 at the top";

  ASSERT_TRUE(Wheel(view, CentreOf(view), -1));
  EXPECT_TRUE(WaitFor([&] { return TopLineIs(view, 3); })) << "one notch down did not show line 3 at the top";
  ASSERT_TRUE(Wheel(view, CentreOf(view), 1));
  EXPECT_TRUE(WaitFor([&] { return TopLineIs(view, 0); })) << "one notch up did not return to the top";

  HWND menu = Click(view, CentreOf(view), Button::kRight) ? viewer.Shown(kMenuClass) : nullptr;
  ASSERT_NE(menu, nullptr) << "no menu over the view";
  ASSERT_TRUE(SendKey(VK_ESCAPE));  // to the menu, which has the input while it is shown
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); })) << "Esc did not close the menu";
  EXPECT_TRUE(viewer.Running()) << "Esc reached the frame and closed the program";
  // A menu would show within a fraction of a second, as it did above.
  for (HWND bar : {viewer.StatusBar(), viewer.ToolBar()}) {
    ASSERT_TRUE(Click(bar, CentreOf(bar), Button::kRight));
    EXPECT_EQ(viewer.Shown(kMenuClass, "", 1s), nullptr) << "a menu showed over " << ClassName(bar);
  }
  ParkPointer();

  ASSERT_TRUE(viewer.Press(VK_END, {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return LastLineAtBottomLeft(view); }, 5s)) << "Ctrl+End was not prompt";
  ASSERT_TRUE(viewer.Press(VK_END));
  EXPECT_TRUE(WaitFor([&] { return !AnyLinkShown(view); })) << "End did not scroll to the far right";
  ASSERT_TRUE(viewer.Press(VK_HOME));
  EXPECT_TRUE(WaitFor([&] { return LastLineAtBottomLeft(view); })) << "Home did not return to the far left";
  ASSERT_TRUE(viewer.Press(VK_HOME, {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return TopLineIs(view, 0); }, 5s)) << "Ctrl+Home did not return to the top";
  EXPECT_EQ(viewer.Exit(), 1);
}

// Ink (anything but the white background) of one cell, row by row.
std::vector<bool> InkOf(const Capture& shot, Box box) {
  std::vector<bool> ink;
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x)
      ink.push_back(y < shot.height() && x < shot.width() && !(shot.At(x, y) == kWhite));
  return ink;
}

bool HasInk(const std::vector<bool>& ink) {
  return std::find(ink.begin(), ink.end(), true) != ink.end();
}

TEST(ViewInput, GbModeDrawsEachChineseCharacterOverTwoCellsAndCopiesItWhole) {
  // Row 0: "AB", the GB2312 bytes of two characters, "CD"; row 1: "CD" alone,
  // the reference glyphs of the terminal font.
  ProgramFolder folder(StandardIni({"DecodeMode=1", "ColumnMode=1", "CopyOnSelect=0"}));
  std::string sample = folder.WriteFile("gb.txt",
                                        "AB\xD6\xD0\xCE\xC4"
                                        "CD\r\nCD\r\n");
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  const Box chinese{2 * kCellWidth, 0, 6 * kCellWidth, kCellHeight};
  // Painted once the reference "D" of row 1, the "D" of row 0 and ink in the
  // four middle cells show; after the switch to byte mode, once those cells
  // differ from GB mode's drawing, which comes from the Chinese font.
  Capture gb, bytes;
  auto painted = [&](Capture& shot, const Capture* before) {
    shot = Capture::OfClient(view);
    bool middle = true;
    for (int column = 2; column <= 5; ++column) middle = middle && HasInk(InkOf(shot, Cell(column, 0)));
    return middle && shot.Contains(Cell(1, 1), kBlack) && InkOf(shot, Cell(7, 0)) == InkOf(shot, Cell(1, 1)) &&
           (!before || InkOf(shot, chinese) != InkOf(*before, chinese));
  };
  ASSERT_TRUE(WaitFor([&] { return painted(gb, nullptr); })) << "GB mode never showed all of row 0";
  EXPECT_TRUE(viewer.ButtonChecked(kViewGb));
  ASSERT_TRUE(viewer.Press('G', {VK_MENU}));
  ASSERT_TRUE(WaitFor([&] { return painted(bytes, &gb); })) << "byte mode never drew the bytes in their own cells";

  for (const Capture* shot : {&gb, &bytes}) {
    SCOPED_TRACE(shot == &gb ? "GB mode" : "byte mode");
    // "C" and "D" of row 0 sit in columns 6 and 7, the same glyphs as row 1's.
    EXPECT_TRUE(HasInk(InkOf(*shot, Cell(0, 1))));
    EXPECT_EQ(InkOf(*shot, Cell(6, 0)), InkOf(*shot, Cell(0, 1))) << "no C in column 6";
    EXPECT_EQ(InkOf(*shot, Cell(7, 0)), InkOf(*shot, Cell(1, 1))) << "no D in column 7";
    EXPECT_FALSE(HasInk(InkOf(*shot, Cell(8, 0)))) << "something after the D";
  }

  // Back in GB mode, a column selection whose left edge cuts the first
  // character leaves it out; without copy on select only Ctrl+C copies.
  ASSERT_TRUE(viewer.Press('G', {VK_MENU}));
  const DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(Drag(view, CellCentre(3, 0), CellCentre(8, 1)));
  EXPECT_TRUE(WaitFor([&] { return !Captured(view) && viewer.ButtonEnabled(kCopy); })) << "nothing selected";
  EXPECT_EQ(GetClipboardSequenceNumber(), before) << "copied without copy on select";
  EXPECT_EQ(viewer.Copy(), std::string("\xCE\xC4") + "CD");
  EXPECT_EQ(viewer.Exit(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
