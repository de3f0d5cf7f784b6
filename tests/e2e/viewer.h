// Runs of the real Mosaikon.exe: a private copy of the program folder with its
// own INI file, and a process observed from outside: its main window, title,
// bars, status texts, dialogs, keys and exit code. Then what the cases share:
// the INI a case starts from, command ids, sample files, the cell geometry of
// the default font step, the colours the rules promise, waits for the view to
// show them, and the About box.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "desktop.h"

namespace mosaikon::e2e {

constexpr char kFrameClass[] = "MosaikonWndClass";
constexpr char kDialogClass[] = "#32770";  // dialogs and message boxes
constexpr char kMenuClass[] = "#32768";    // popup menus

// Where the program under test lives, set once from the command line: the
// exe, and when present its font and folder of language packs (copied beside
// each copy of the exe), the folder of real art files, png_check.py, and the
// setup program that installs them.
struct ProgramFiles {
  std::string exe, font, languageDir, corpus, pngCheck, setup;
  std::string fullDisk;  // a folder on a file system with almost no room
};
ProgramFiles& Program();

// Keys of an INI section, in file order, with their values.
using IniKeys = std::vector<std::pair<std::string, std::string>>;

// A fresh folder holding a copy of the program, removed again on destruction
// (kept when MOSAIKON_E2E_KEEP is set).
class ProgramFolder {
 public:
  // Writes Mosaikon.ini from ready lines ("[Settings]", "Key=Value", ...)
  // unless there are none: then the program starts for the first time.
  explicit ProgramFolder(const std::vector<std::string>& ini = {});
  // A folder the program was installed in, used as it is and kept.
  struct Installed {
    std::string path;  // ends with a backslash
  };
  explicit ProgramFolder(Installed installed) : path_(std::move(installed.path)), owned_(false) {}
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }  // ends with a backslash
  std::string exe() const { return path_ + "Mosaikon.exe"; }
  // Writes `bytes` to a file in the folder and returns its full path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;
  std::wstring WriteFile(const std::wstring& name, const std::string& bytes) const;
  // The bytes of a file in the folder (empty when there is none).
  std::string ReadFile(const std::string& name) const;
  std::string ReadIni() const { return ReadFile("Mosaikon.ini"); }
  IniKeys Section(const std::string& section) const;
  // A key of section "Settings", or "<missing>".
  std::string Setting(const std::string& key) const;
  // Every key of section "Settings" as "Key=Value ", in file order; the
  // values of `varying` keys (screen-dependent ones) show as "*".
  std::string Settings(const std::vector<std::string>& varying = {}) const;

 private:
  std::string path_;
  bool owned_ = true;
};

class Viewer {
 public:
  explicit Viewer(const ProgramFolder& folder) : folder_(folder) {}
  ~Viewer();  // ends a process that is still running
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  bool Start(const std::string& file = "");  // `file` (quoted) on its command line
  bool Start(const std::wstring& file);      // the same through the wide command line
  // Starts the program and waits until its window shows `file` in the title
  // ("Mosaikon" alone without a file) and its message loop is idle.
  testing::AssertionResult Open(const std::string& file = "", Duration timeout = 15s);
  testing::AssertionResult Open(const std::wstring& file, Duration timeout = 15s);
  // The visible main window, then an idle message loop.
  testing::AssertionResult WaitForWindow(Duration timeout = 15s);
  testing::AssertionResult WaitForTitleOf(const std::string& file, Duration timeout = 15s);
  testing::AssertionResult WaitForTitleOf(const std::wstring& file, Duration timeout = 15s);
  // The exit code once the process ended, -1 on timeout.
  long WaitForExit(Duration timeout = 15s);
  // Closes the main window as its close box does, or presses Esc in it; the
  // exit code.
  long Close() { return frame_ && PostMessageA(frame_, WM_CLOSE, 0, 0) ? WaitForExit() : -1; }
  long Exit() { return Press(VK_ESCAPE) ? WaitForExit() : -1; }
  bool Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  HWND frame() const { return frame_; }  // found by WaitForWindow
  HWND FindFrame() const;                // the main window, shown or hidden
  HWND View() const;                     // the client window (not a bar)
  HWND StatusBar() const { return FindWindowExA(frame_, nullptr, STATUSCLASSNAMEA, nullptr); }
  HWND ToolBar() const;  // the button bar
  std::string Title() const { return WindowText(frame_); }
  std::wstring WideTitle() const { return Caption(frame_); }
  std::string PaneText(int index) const;  // a part of the status bar
  // The status bar shows one prompt text instead of its panes (menu browsing).
  bool StatusSimple() const { return SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0) != 0; }
  // The toolbar's command ids in order (0 for a separator), their states, and
  // where a button is in the bar's client coordinates.
  std::vector<int> ToolBarCommands() const;
  bool ButtonChecked(int command) const { return SendMessageA(ToolBar(), TB_ISBUTTONCHECKED, command, 0) != 0; }
  bool ButtonEnabled(int command) const { return SendMessageA(ToolBar(), TB_ISBUTTONENABLED, command, 0) != 0; }
  POINT ButtonCentre(int command) const;
  std::string MenuBarText(int index) const;  // an entry of the menu bar, from 0

  // A visible top-level window of this process by class and, when given, by
  // title, waited for up to `timeout` (0: as things are now); or null.
  HWND Shown(const char* className, const std::string& title = "", Duration timeout = 10s) const;
  // The text of a message box (with this caption, when given), which is then
  // closed with Enter; "<none>" when no box shows.
  std::string TakeMessage(const std::string& caption = "") const;
  // Returns once the program is back in its message loop (a sent message
  // waits for that, or for a message box's loop) and its view has painted.
  void Settle() const;

  bool Press(WORD key, std::initializer_list<WORD> modifiers = {}) { return PressKey(frame_, key, modifiers); }
  // Presses Ctrl+C; the clipboard's text once it has changed.
  std::string Copy(Duration timeout = 10s) {
    const DWORD before = GetClipboardSequenceNumber();
    return Press('C', {VK_CONTROL}) ? ClipboardTextAfter(before, timeout) : "<no key>";
  }

 private:
  // Sends `message` with lParam pointing at a `size`-byte buffer inside the
  // target process and returns the buffer's contents afterwards.
  std::vector<char> SendWithBuffer(HWND window, UINT message, WPARAM wParam, size_t size) const;

  const ProgramFolder& folder_;
  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

// Commands, as the toolbar reports its buttons.
constexpr int kOpen = 57601, kCopy = 57634, kColumnSelect = 5002, kSettings = 5004, kAlwaysOnTop = 5005, kViewGb = 5008,
              kViewBig5 = 5009, kAbout = 57664, kExit = 57665;

// FontSize 3 requests the 8 x 12 strike of the terminal font.
constexpr int kCellWidth = 8, kCellHeight = 12;

// Black text on white, links in HyperLinkColor 16711680, and entries of the
// 16-colour palette of ANSI documents.
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kLinkBlue{0, 0, 255};
constexpr Rgb kDarkRed{0x80, 0, 0}, kDarkBlue{0, 0, 0x80}, kLightGreen{0, 0xFF, 0};

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
  bool done = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &utc);
  return CloseHandle(file) && done;
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

// Opens the File menu from the keyboard and chooses its item of mnemonic
// `key`. Right after a dialog closes, Wine now and then loses the first key
// on a loaded machine; the menu is asked for again then.
inline bool ChooseFromFileMenu(Viewer& viewer, WORD key) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (viewer.Press('F', {VK_MENU}) && viewer.Shown(kMenuClass, "", 3s)) return SendKey(key);
  }
  return false;
}

// png_check.py's verdict on the PNG file `png` against the capture's pixels
// [0, w) x [0, h): "same", or what differs.
std::string ComparePng(const std::string& png, const Capture& shot, int w, int h);

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
