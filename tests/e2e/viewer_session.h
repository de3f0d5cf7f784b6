// One run of the real Mosaikon.exe, observed from outside as a user's machine
// would see it: a private copy of the program folder with its own INI file,
// the process, its main window, status texts, screen pixels, keys and exit code.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mosaikon::e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// Where the program under test lives; set once from the command line.
struct ProgramFiles {
  std::string exe;          // Mosaikon.exe
  std::string font;         // MosaikonTerminal.fon, copied beside the exe when present
  std::string languageDir;  // folder with mkn_*.dll, copied as "language" when present
};
ProgramFiles& Program();

// Polls `condition` until it holds or `timeout` passes; pumps this thread's
// messages in between so nothing of ours blocks the target.
bool WaitFor(const std::function<bool()>& condition, Duration timeout = 10s);

// A fresh folder holding a copy of the program; removed again on destruction.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }  // ends with a backslash
  std::string exe() const { return path_ + "Mosaikon.exe"; }
  std::string ini() const { return path_ + "Mosaikon.ini"; }

  // Writes `bytes` to a file in the folder and returns its full path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;
  // Writes the INI file from ready lines ("[Settings]", "Key=Value", ...).
  void WriteIni(const std::vector<std::string>& lines) const;
  std::string ReadIni() const;

 private:
  std::string path_;
};

// Keys of a section of an INI text, in file order, with their values.
std::vector<std::pair<std::string, std::string>> IniSection(const std::string& text, const std::string& section);

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};
std::string ToString(const Rgb& colour);

// A copy of screen pixels of a window's client area.
class Capture {
 public:
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const;
  // Every distinct colour inside the rectangle [x0, x1) x [y0, y1).
  std::vector<Rgb> ColoursIn(int x0, int y0, int x1, int y1) const;
  bool Contains(int x0, int y0, int x1, int y1, Rgb colour) const;

  static Capture OfClient(HWND window);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down, 0x00RRGGBB
};

class ViewerSession {
 public:
  explicit ViewerSession(const ProgramFolder& folder) : folder_(folder) {}
  ~ViewerSession();  // ends a process that is still running
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  // Starts the program with `arguments` as its command line (after its own
  // name). False when the process could not be created.
  bool Start(const std::string& arguments);
  // Waits for the process's visible main window ("MosaikonWndClass"), then
  // for its message loop to become idle.
  bool WaitForWindow(Duration timeout = 15s);
  // Waits until the title equals `title`.
  bool WaitForTitle(const std::string& title, Duration timeout = 15s);
  // Waits for the process to end; its exit code, or -1 on timeout.
  long WaitForExit(Duration timeout = 15s);
  bool Running() const;
  // Closes the main window as the close box does; the exit code.
  long Close();

  HWND frame() const { return frame_; }
  DWORD processId() const { return process_.dwProcessId; }
  HWND View() const;       // the client window (not a bar)
  HWND StatusBar() const;  // msctls_statusbar32
  std::string Title() const;
  // Text of a status bar part, read through a buffer inside the target.
  std::string PaneText(int index) const;
  // The status bar shows one prompt text instead of its panes (menu browsing).
  bool StatusSimple() const;
  // The button bar, and its buttons' command ids in order (0 for a separator).
  HWND ToolBar() const;
  std::vector<int> ToolBarCommands() const;
  // Toolbar button states by command id: shown pressed (a check mark), enabled.
  bool ButtonChecked(int command) const;
  bool ButtonEnabled(int command) const;
  // A dialog (#32770) of this process, or null.
  HWND FindDialog() const;
  // Lists the process's top-level windows on stderr (for failure reports).
  void DescribeWindows() const;

  // Real keyboard input to the foreground window: brings the frame to the
  // front, then sends the keys with SendInput. `modifiers` are virtual keys
  // held down around `key`.
  bool PressKey(WORD key, std::vector<WORD> modifiers = {});
  // The same for another window of the program (a dialog).
  bool PressKeyIn(HWND window, WORD key, std::vector<WORD> modifiers = {});

 private:
  // Sends `message` with lParam pointing at a `size`-byte buffer inside the
  // target process (filled with `input` first) and returns its contents after.
  std::vector<char> SendWithBuffer(HWND window, UINT message, WPARAM wParam, size_t size,
                                   const std::vector<char>& input = {}) const;

  const ProgramFolder& folder_;
  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

// The main window of process `pid`, or null.
HWND FindFrameOf(DWORD pid);
// Every visible main window of the class, whichever process owns it.
std::vector<HWND> AllFrames();
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// The clipboard's CF_TEXT, or "<none>"; and emptying it.
std::string ClipboardText();
void EmptyTheClipboard();

}  // namespace mosaikon::e2e
