// Runs of the real Mosaikon.exe: a private copy of the program folder with its
// own INI file, and a process observed from outside: its main window, title,
// bars, status texts, dialogs, keys and exit code.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "desktop.h"

namespace mosaikon::e2e {

constexpr char kFrameClass[] = "MosaikonWndClass";
constexpr char kDialogClass[] = "#32770";  // dialogs and message boxes
constexpr char kMenuClass[] = "#32768";    // popup menus

// Where the program under test lives; set once from the command line.
struct ProgramFiles {
  std::string exe;          // Mosaikon.exe
  std::string font;         // MosaikonTerminal.fon, copied beside the exe when present
  std::string languageDir;  // folder with mkn_*.dll, copied as "language" when present
  std::string corpus;       // the folder of real art files, when there is one
  std::string pngCheck;     // png_check.py, which compares a PNG with expected pixels
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
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }  // ends with a backslash
  std::string exe() const { return path_ + "Mosaikon.exe"; }
  // Writes `bytes` to a file in the folder and returns its full path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;
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
};

class Viewer {
 public:
  explicit Viewer(const ProgramFolder& folder) : folder_(folder) {}
  ~Viewer();  // ends a process that is still running
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  // Starts the program with `file` (quoted) on its command line, or none.
  bool Start(const std::string& file = "");
  // Starts the program and waits until its window shows `file` in the title
  // ("Mosaikon" alone without a file) and its message loop is idle.
  testing::AssertionResult Open(const std::string& file = "", Duration timeout = 15s);
  // Waits for the visible main window, then for the message loop to be idle.
  testing::AssertionResult WaitForWindow(Duration timeout = 15s);
  testing::AssertionResult WaitForTitleOf(const std::string& file, Duration timeout = 15s);
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
  // Text of a status bar part, read through a buffer inside the target.
  std::string PaneText(int index) const;
  // The status bar shows one prompt text instead of its panes (menu browsing).
  bool StatusSimple() const { return SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0) != 0; }
  // The toolbar's command ids in order (0 for a separator), their states, and
  // where a button is in the bar's client coordinates.
  std::vector<int> ToolBarCommands() const;
  bool ButtonChecked(int command) const { return SendMessageA(ToolBar(), TB_ISBUTTONCHECKED, command, 0) != 0; }
  bool ButtonEnabled(int command) const { return SendMessageA(ToolBar(), TB_ISBUTTONENABLED, command, 0) != 0; }
  POINT ButtonCentre(int command) const;
  // The text of a menu bar entry (a button of the command bar), from 0.
  std::string MenuBarText(int index) const;

  // A visible top-level window of this process by class and, when given, by
  // title, waited for up to `timeout` (0: as things are now); or null.
  HWND Shown(const char* className, const std::string& title = "", Duration timeout = 10s) const;
  // The text of a message box (with this caption, when given), which is then
  // closed with Enter; "<none>" when no box shows.
  std::string TakeMessage(const std::string& caption = "") const;
  // Returns once the program is back in its message loop (a sent message
  // waits for that, or for a message box's loop) and its view has painted.
  void Settle() const;

  // Keys to the main window, brought to the front first.
  bool Press(WORD key, std::initializer_list<WORD> modifiers = {}) { return PressKey(frame_, key, modifiers); }

 private:
  // Sends `message` with lParam pointing at a `size`-byte buffer inside the
  // target process and returns the buffer's contents afterwards.
  std::vector<char> SendWithBuffer(HWND window, UINT message, WPARAM wParam, size_t size) const;

  const ProgramFolder& folder_;
  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

}  // namespace mosaikon::e2e
