// What the end-to-end cases share: the INI a case starts from, command ids,
// sample files with a known modification time, the cell geometry of the
// default font step, the colours the rules promise and a wait for the view
// to show them.
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

// The message of a message box (the icon is a static without text).
inline std::string BoxText(HWND box) {
  for (HWND child : ChildWindows(box, "Static")) {
    if (std::string text = WindowText(child); !text.empty()) return text;
  }
  return "<no text>";
}

// The system's text for an error code, as the viewer's error box shows it.
inline std::string SystemText(DWORD code) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string result = text ? text : "";
  LocalFree(text);
  return result;
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

}  // namespace mosaikon::e2e
