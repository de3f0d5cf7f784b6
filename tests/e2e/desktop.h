// The desktop as another program sees it: waiting on conditions, finding
// windows, real keyboard and mouse input through the system's input queue,
// screen pixels, the clipboard and the registry.
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
std::vector<HWND> ChildWindows(HWND parent, const std::string& className);  // descendants
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Keyboard input, `modifiers` held down around `key`. SendKey goes to
// whatever has the focus (an open menu, say); PressKey first brings
// `window`'s top-level window to the front.
bool BringToFront(HWND window);
bool SendKey(WORD key, std::initializer_list<WORD> modifiers = {});
inline bool PressKey(HWND window, WORD key, std::initializer_list<WORD> modifiers = {}) {
  return BringToFront(window) && SendKey(key, modifiers);
}
// Presses `key` in `window` (Esc, Enter) and waits until the window is gone.
inline bool Dismiss(HWND window, WORD key = VK_ESCAPE) {
  return PressKey(window, key) && WaitFor([&] { return !IsWindow(window); });
}

// Controls of a dialog. A button is pressed by a posted BM_CLICK: under Wine
// a mouse click now and then lands where an earlier, still pending pointer
// move put the pointer. SetText changes a field as typing does (the field
// reports the change); PressIn gives a control the focus, as Tab does, and
// presses a key there.
inline bool ClickButton(HWND dialog, int button) {
  HWND control = GetDlgItem(dialog, button);
  return control && PostMessageA(control, BM_CLICK, 0, 0);
}
inline void SetText(HWND dialog, int field, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
inline bool PressIn(HWND dialog, int control, WORD key) {
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, control)), TRUE);
  return PressKey(dialog, key);
}

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
bool EndDrag(HWND window, POINT to);
inline bool Drag(HWND window, POINT from, POINT to) {
  return StartDrag(window, from) && EndDrag(window, to);
}
bool Captured(HWND window);  // the thread of `window` holds the mouse capture
// Positive notches turn the wheel away from the user (scroll up).
bool Wheel(HWND window, POINT client, int notches, std::initializer_list<WORD> modifiers = {});
// Moves the pointer to the screen's far corner, away from every window: left
// resting on a bar, it changes what later input does there.
inline void ParkPointer() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}
POINT CentreOf(HWND window);  // client coordinates
HCURSOR ShownCursor();        // the pointer's shape as the thread in front has set it

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct Box {
  int x0, y0, x1, y1;  // the pixels [x0, x1) x [y0, y1)
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
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down, 0x00RRGGBB
};

// Waits for the clipboard to change after its sequence number was `sequence`
// and returns its CF_TEXT ("<none>" without text); "<unchanged>" when it did
// not change in time. The sequence number needs no open clipboard: holding it
// open while polling would make the program's own OpenClipboard fail.
std::string ClipboardTextAfter(DWORD sequence, Duration timeout = 10s);

// A text value of a key ("" names its unnamed value), or "<missing>";
// setting one, making the key as needed; whether a key is there.
std::string RegistryValue(HKEY root, const std::string& key, const std::string& name = "");
bool SetRegistryValue(HKEY root, const std::string& key, const std::string& name, const std::string& value);
bool RegistryKeyExists(HKEY root, const std::string& key);
// The same for the unnamed value under HKEY_CLASSES_ROOT.
inline std::string ClassesValue(const std::string& key) {
  return RegistryValue(HKEY_CLASSES_ROOT, key);
}
inline bool SetClassesValue(const std::string& key, const std::string& value) {
  return SetRegistryValue(HKEY_CLASSES_ROOT, key, "", value);
}

}  // namespace mosaikon::e2e
