// The desktop as another program sees it: waiting on conditions, finding
// windows, real keyboard and mouse input through the system's input queue,
// screen pixels and the clipboard.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace mosaikon::e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// Polls `condition` until it holds or `timeout` passes; pumps this thread's
// messages in between so nothing of ours blocks the program under test.
bool WaitFor(const std::function<bool()>& condition, Duration timeout = 10s);

// Top-level windows of process `pid` (any process when 0), of class
// `className` (any when empty), visible ones only unless `hidden` is set.
std::vector<HWND> TopWindows(DWORD pid, const std::string& className, bool hidden = false);
// Descendants of `parent` of class `className` (any when empty).
std::vector<HWND> ChildWindows(HWND parent, const std::string& className);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// One line per top-level window of `pid`, for failure reports.
std::string DescribeWindows(DWORD pid);

// Keyboard input. SendKey goes to whatever has the focus (an open menu, say);
// PressKey first brings `window`'s top-level window to the front.
// `modifiers` are virtual keys held down around `key`.
bool BringToFront(HWND window);
bool SendKey(WORD key, std::initializer_list<WORD> modifiers = {});
bool PressKey(HWND window, WORD key, std::initializer_list<WORD> modifiers = {});

// Mouse input at client coordinates of `window`, after bringing it to the
// front and putting the pointer there.
enum class Button { kLeft, kRight };
bool MoveTo(HWND window, POINT client);
bool Click(HWND window, POINT client, Button button = Button::kLeft);
bool DoubleClick(HWND window, POINT client);
// A drag with the left button: StartDrag presses it at `from` and waits
// until the window's thread has captured the mouse (the system routes the
// moves that follow by that capture only once it exists); EndDrag moves to
// `to`, which may lie outside the window, and releases it there.
bool StartDrag(HWND window, POINT from);
// Whether the thread of `window` holds the mouse capture.
bool Captured(HWND window);
bool EndDrag(HWND window, POINT to);
bool Drag(HWND window, POINT from, POINT to);
// Positive notches turn the wheel away from the user (scroll up); keys in
// `modifiers` are held down meanwhile.
bool Wheel(HWND window, POINT client, int notches, std::initializer_list<WORD> modifiers = {});
// Moves the pointer to the screen's far corner, away from every window: left
// resting on a bar, it changes what later input does there.
void ParkPointer();
POINT CentreOf(HWND window);  // client coordinates
// The pointer's shape as the thread in front has set it.
HCURSOR ShownCursor();

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// The pixels [x0, x1) x [y0, y1).
struct Box {
  int x0, y0, x1, y1;
};

// A copy of the screen pixels of a window's client area.
class Capture {
 public:
  static Capture OfClient(HWND window);
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const;
  // Every distinct colour inside the box (clipped to the capture).
  std::vector<Rgb> ColoursIn(Box box) const;
  bool Contains(Box box, Rgb colour) const;
  // Every pixel of the box has one of `allowed`.
  bool Only(Box box, const std::vector<Rgb>& allowed) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down, 0x00RRGGBB
};

// Waits for the clipboard to change after its sequence number was `sequence`
// and returns its CF_TEXT ("<none>" without text); "<unchanged>" when it did
// not change in time. The sequence number needs no open clipboard: holding it
// open while polling would make the program's own OpenClipboard fail.
std::string ClipboardTextAfter(DWORD sequence, Duration timeout = 10s);

}  // namespace mosaikon::e2e
