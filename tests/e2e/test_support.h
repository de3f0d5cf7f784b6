// What the end-to-end cases share: the INI a case starts from, command ids,
// sample files, the cell geometry of the default font step, the colours the
// rules promise, waits for the view to show them, and the About box.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "viewer.h"

namespace mosaikon::e2e {

// Commands, as the toolbar reports its buttons.
constexpr int kOpen = 57601;
constexpr int kCopy = 57634;
constexpr int kColumnSelect = 5002;
constexpr int kSettings = 5004;
constexpr int kAlwaysOnTop = 5005;
constexpr int kViewGb = 5008;
constexpr int kViewBig5 = 5009;
constexpr int kAbout = 57664;
constexpr int kExit = 57665;

// FontSize 3 requests the 8 x 12 strike of the terminal font.
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 12;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLinkBlue{0, 0, 255};  // HyperLinkColor 16711680
// Entries of the 16-colour palette of ANSI documents.
constexpr Rgb kDarkRed{0x80, 0, 0};
constexpr Rgb kDarkBlue{0, 0, 0x80};
constexpr Rgb kLightGreen{0, 0xFF, 0};

// An INI that places the window at a known spot in English, plus `extra`
// lines of section "Settings".
inline std::vector<std::string> StandardIni(std::vector<std::string> extra = {}) {
  std::vector<std::string> lines = {"[Settings]", "LangDll=", "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  return lines;
}

// Gives `path` the last-write time of the local wall-clock time stated.
inline bool SetLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                              WORD second) {
  const SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
  FILETIME localTime, utc;
  if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool done = SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
  return done;
}

// The pixels of cell (column, row) in a view shown from its origin, and
// its middle.
inline Box Cell(int column, int row) {
  return {column * kCellWidth, row * kCellHeight, (column + 1) * kCellWidth, (row + 1) * kCellHeight};
}
inline POINT CellCentre(int column, int row) {
  return {column * kCellWidth + kCellWidth / 2, row * kCellHeight + kCellHeight / 2};
}

// What a cell of the view shows: every pixel one of `only`, `has` among them.
struct CellColours {
  int column, row;
  std::vector<Rgb> only;
  Rgb has;
};

// The system's text for an error code, as the viewer's error box shows it.
inline std::string SystemText(DWORD code) {
  char text[1024] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), text, sizeof text, nullptr);
  return text;
}

// Waits until the view shows every cell as stated; else names the first cell
// that does not, with its colours.
inline testing::AssertionResult ViewShows(HWND view, const std::vector<CellColours>& cells, Duration timeout = 10s) {
  Capture shot;
  auto wrong = cells.end();
  WaitFor(
      [&] {
        shot = Capture::OfClient(view);
        wrong = std::find_if(cells.begin(), cells.end(), [&](const CellColours& c) {
          return !shot.Only(Cell(c.column, c.row), c.only) || !shot.Contains(Cell(c.column, c.row), c.has);
        });
        return wrong == cells.end();
      },
      timeout);
  if (wrong == cells.end()) return testing::AssertionSuccess();
  auto failure = testing::AssertionFailure() << "cell (" << wrong->column << ", " << wrong->row << ") shows";
  for (Rgb c : shot.ColoursIn(Cell(wrong->column, wrong->row))) failure << " " << +c.r << "," << +c.g << "," << +c.b;
  return failure;
}

// Lines of links: line k holds k % 10 blanks and a link of kLinkLength cells,
// so the cell where a row's blue begins tells which line the row shows.
constexpr int kLinkLength = 17;
inline std::string LinkLines(int count) {
  std::string text;
  for (int k = 0; k < count; ++k) text += std::string(k % 10, ' ') + "http://l.example/\r\n";
  return text;
}
// The view's top row shows line `line` of LinkLines in cells of `cell` on
// `background`.
inline bool TopLineIs(HWND view, int line, SIZE cell = {kCellWidth, kCellHeight}, Rgb background = kWhite) {
  Capture shot = Capture::OfClient(view);
  const int start = line % 10 * cell.cx, end = start + kLinkLength * cell.cx;
  return shot.Only({0, 0, start, cell.cy}, {background}) &&
         shot.Contains({start, 0, start + cell.cx, cell.cy}, kLinkBlue) &&
         shot.Contains({end - cell.cx, 0, end, cell.cy}, kLinkBlue) &&
         shot.Only({end, 0, end + cell.cx, cell.cy}, {background});
}

// Opens the About box from its toolbar button and closes it with Esc, which
// leaves the program running. The box comes from the language pack when one
// is chosen; its link lines are windows of a class the program registers,
// which must serve the pack's dialog template too.
inline void ExpectAboutBox(Viewer& viewer, const std::string& caption) {
  ASSERT_TRUE(Click(viewer.ToolBar(), viewer.ButtonCentre(kAbout)));
  HWND box = viewer.Shown(kDialogClass);
  ASSERT_NE(box, nullptr) << "no About box";
  ParkPointer();
  EXPECT_EQ(WindowText(box), caption);
  EXPECT_NE(FindWindowExA(box, nullptr, "Static", "Mosaikon 2.2.0"), nullptr);
  EXPECT_EQ(ClassName(GetDlgItem(box, 1005)), "MosaikonHyperLink");
  EXPECT_EQ(WindowText(GetDlgItem(box, 1005)) + " " + WindowText(GetDlgItem(box, 1006)),
            "http://mosaikon.example/ http://mosaikon.example/help");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_TRUE(Dismiss(box)) << "Esc did not close the box";
  EXPECT_TRUE(viewer.Running() && IsWindowVisible(viewer.frame()));
}

}  // namespace mosaikon::e2e
