// Mouse input on the view and Chinese drawing, seen from outside: the wheel
// scrolls by lines, the right button opens the context menu over the view
// only, and GB mode draws a GB2312 character over two cells.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

// Line k starts with k blanks and then a link (blue on screen), so the column
// where a row's blue begins tells which line the row shows.
std::string StaircaseFile(int lines) {
  std::string text;
  for (int k = 0; k < lines; ++k)
    text += std::string(static_cast<size_t>(k), ' ') + "http://line.example/ " + std::to_string(k) + "\r\n";
  return text;
}

// Row `row` of the view shows line `line` of the staircase file.
bool RowShowsLine(const Capture& shot, int row, int line) {
  if (shot.height() < (row + 1) * kCellHeight || shot.width() < (line + 1) * kCellWidth) return false;
  CellBox blanks{0, row * kCellHeight, line * kCellWidth, (row + 1) * kCellHeight};
  return CellHas(shot, Cell(line, row), kLinkBlue) && (line == 0 || CellOnly(shot, blanks, {kWhite}));
}

bool TopLinesAre(HWND view, int line) {
  Capture shot = Capture::OfClient(view);
  return RowShowsLine(shot, 0, line) && RowShowsLine(shot, 1, line + 1);
}

POINT CentreOf(HWND window) {
  RECT box;
  GetWindowRect(window, &box);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// Brings the frame to the front and puts the pointer on `at`.
bool PointAt(HWND frame, POINT at) {
  SetForegroundWindow(frame);
  if (!WaitFor([&] { return GetForegroundWindow() == frame; }, 5s)) return false;
  SetCursorPos(at.x, at.y);
  return WaitFor(
      [&] {
        POINT now;
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
      },
      5s);
}

bool SendMouse(std::vector<DWORD> flags, DWORD data = 0) {
  std::vector<INPUT> inputs;
  for (DWORD flag : flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    input.mi.mouseData = data;
    inputs.push_back(input);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool Wheel(int delta) {
  return SendMouse({MOUSEEVENTF_WHEEL}, static_cast<DWORD>(delta));
}

bool RightClick() {
  return SendMouse({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

// Parks the pointer in the screen's far corner when a case ends: left over
// where the next case's window opens, it would change what that case sees
// (a pointer resting on the toolbar swallowed the next window's Alt keys).
struct ParkPointerAfterwards {
  ~ParkPointerAfterwards() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }
};

struct MenuSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindProcessMenu(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MenuSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && ClassName(window) == "#32768" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible popup menu window of process `pid`, or null.
HWND ShownMenuOf(DWORD pid) {
  MenuSearch search{pid, nullptr};
  EnumWindows(&FindProcessMenu, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(ViewerMouse, WheelNotchScrollsThreeLinesEachWay) {
  ParkPointerAfterwards park;
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  std::string sample = folder.WriteFile("stairs.txt", StaircaseFile(200));

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(WaitFor([&] { return TopLinesAre(view, 0); })) << "the view never showed lines 0 and 1 at the top";

  ASSERT_TRUE(PointAt(viewer.frame(), CentreOf(view)));
  ASSERT_TRUE(Wheel(-WHEEL_DELTA));
  EXPECT_TRUE(WaitFor([&] { return TopLinesAre(view, 3); })) << "one notch down did not show line 3 at the top";
  ASSERT_TRUE(Wheel(WHEEL_DELTA));
  EXPECT_TRUE(WaitFor([&] { return TopLinesAre(view, 0); })) << "one notch up did not return to the top";
}

TEST(ViewerMouse, RightClickOpensContextMenuOverViewOnly) {
  ParkPointerAfterwards park;
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  std::string sample = folder.WriteFile("plain.txt", "Hello world\r\n");

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
  HWND view = viewer.View();
  HWND status = viewer.StatusBar();
  HWND tools = viewer.ToolBar();
  ASSERT_NE(view, nullptr);
  ASSERT_NE(status, nullptr);
  ASSERT_NE(tools, nullptr);
  const DWORD pid = viewer.processId();

  ASSERT_TRUE(PointAt(viewer.frame(), CentreOf(view)));
  ASSERT_TRUE(RightClick());
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = ShownMenuOf(pid)) != nullptr; })) << "no menu over the view";
  // Esc goes to the menu, which has the input while it is shown.
  INPUT esc[2]{};
  esc[0].type = esc[1].type = INPUT_KEYBOARD;
  esc[0].ki.wVk = esc[1].ki.wVk = VK_ESCAPE;
  esc[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, esc, sizeof(INPUT)), 2u);
  EXPECT_TRUE(WaitFor([&] { return ShownMenuOf(pid) == nullptr; })) << "Esc did not close the menu";
  EXPECT_TRUE(viewer.Running()) << "Esc reached the frame and closed the program";

  // A menu would show within a fraction of a second, as it did above.
  for (HWND bar : {status, tools}) {
    SCOPED_TRACE(ClassName(bar));
    ASSERT_TRUE(PointAt(viewer.frame(), CentreOf(bar)));
    ASSERT_TRUE(RightClick());
    EXPECT_FALSE(WaitFor([&] { return ShownMenuOf(pid) != nullptr; }, 1s)) << "a menu showed over a bar";
  }
  EXPECT_TRUE(viewer.Running());
}

// Ink (anything but the white background) of one cell, row by row.
std::vector<bool> InkOf(const Capture& shot, CellBox box) {
  std::vector<bool> ink;
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) ink.push_back(!(shot.At(x, y) == kWhite));
  return ink;
}

bool HasInk(const std::vector<bool>& ink) {
  return std::find(ink.begin(), ink.end(), true) != ink.end();
}

// Row 0: "AB", the GB2312 bytes of two characters, "CD"; row 1: "CD" alone,
// the reference glyphs of the terminal font.
Capture ShowChineseSample(int decodeMode) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"DecodeMode=" + std::to_string(decodeMode)}));
  std::string sample = folder.WriteFile("gb.txt",
                                        "AB\xD6\xD0\xCE\xC4"
                                        "CD\r\nCD\r\n");
  ViewerSession viewer(folder);
  Capture shot;
  if (!viewer.Start(Quoted(sample)) || !viewer.WaitForWindow() || !viewer.WaitForTitle("Mosaikon - " + sample))
    return shot;
  HWND view = viewer.View();
  if (!view) return shot;
  // Painted once the reference "D" of row 1 and the "D" of row 0 show.
  WaitFor([&] {
    shot = Capture::OfClient(view);
    return shot.width() > 8 * kCellWidth && shot.height() > 2 * kCellHeight && CellHas(shot, Cell(1, 1), kBlack) &&
           InkOf(shot, Cell(7, 0)) == InkOf(shot, Cell(1, 1));
  });
  return shot;
}

TEST(ViewerMouse, GbModeDrawsEachChineseCharacterOverTwoCells) {
  Capture gb = ShowChineseSample(1);
  ASSERT_GT(gb.width(), 0) << "the GB-mode viewer did not show the file";
  Capture bytes = ShowChineseSample(0);
  ASSERT_GT(bytes.width(), 0) << "the byte-mode viewer did not show the file";

  for (const Capture* shot : {&gb, &bytes}) {
    SCOPED_TRACE(shot == &gb ? "DecodeMode=1" : "DecodeMode=0");
    // "C" and "D" of row 0 sit in columns 6 and 7, the same glyphs as row 1's.
    EXPECT_TRUE(HasInk(InkOf(*shot, Cell(0, 1))));
    EXPECT_EQ(InkOf(*shot, Cell(6, 0)), InkOf(*shot, Cell(0, 1))) << "no C in column 6";
    EXPECT_EQ(InkOf(*shot, Cell(7, 0)), InkOf(*shot, Cell(1, 1))) << "no D in column 7";
    EXPECT_FALSE(HasInk(InkOf(*shot, Cell(8, 0)))) << "something after the D";
  }
  // Both halves of each character carry ink, drawn by the Chinese font: the
  // cells differ from the byte-by-byte drawing of the terminal font.
  for (int column = 2; column <= 5; ++column) {
    SCOPED_TRACE("column " + std::to_string(column));
    EXPECT_TRUE(HasInk(InkOf(gb, Cell(column, 0))));
  }
  CellBox chinese{2 * kCellWidth, 0, 6 * kCellWidth, kCellHeight};
  EXPECT_NE(InkOf(gb, chinese), InkOf(bytes, chinese)) << "GB mode drew the bytes as the terminal font does";
}

}  // namespace
}  // namespace mosaikon::e2e
