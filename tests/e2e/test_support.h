// What the end-to-end cases share: the INI a case starts from, the cell
// geometry of the default font step, the colours the rules promise, and
// helpers to make sample files with a known modification time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "viewer_session.h"

namespace mosaikon::e2e {

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

inline std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

// Gives `path` the last-write time of the local wall-clock time stated.
inline bool SetLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                              WORD second) {
  SYSTEMTIME local{};
  local.wYear = year;
  local.wMonth = month;
  local.wDay = day;
  local.wHour = hour;
  local.wMinute = minute;
  local.wSecond = second;
  FILETIME localTime, utc;
  if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool done = SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
  return done;
}

// The pixel rectangle of cell (column, row) in a view shown from its origin.
struct CellBox {
  int x0, y0, x1, y1;
};
inline CellBox Cell(int column, int row) {
  return {column * kCellWidth, row * kCellHeight, (column + 1) * kCellWidth, (row + 1) * kCellHeight};
}

inline bool CellHas(const Capture& capture, CellBox box, Rgb colour) {
  return capture.Contains(box.x0, box.y0, box.x1, box.y1, colour);
}

// True when every pixel of the box has one of `allowed`.
inline bool CellOnly(const Capture& capture, CellBox box, std::vector<Rgb> allowed) {
  for (const Rgb& colour : capture.ColoursIn(box.x0, box.y0, box.x1, box.y1)) {
    bool found = false;
    for (const Rgb& a : allowed) found = found || a == colour;
    if (!found) return false;
  }
  return true;
}

}  // namespace mosaikon::e2e
