// Observing and driving windows of other processes the way a user's machine
// does: window enumeration, SendInput, screen copies and the clipboard.
#include "desktop.h"

#include <shlwapi.h>

#include <algorithm>

namespace mosaikon::e2e {
namespace {

// Enumeration callbacks are stdcall on 32-bit Windows, which a lambda cannot
// convert to; hence one named collector for every search.
BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  // Page Up to Down arrow, Insert and Delete sit on the extended part of the keyboard.
  bool extended = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
  input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

// `inputs` with the keys of `modifiers` pressed before and released after.
bool SendWith(std::initializer_list<WORD> modifiers, std::vector<INPUT> inputs) {
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
    inputs.insert(inputs.begin(), KeyInput(*it, false));
    inputs.push_back(KeyInput(*it, true));
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// A mouse event at a client point of `window`, with its own absolute
// position: a pointer update the program under test handles late can move
// the cursor back, and a relative event would land there.
INPUT MouseInput(HWND window, POINT client, DWORD flag, DWORD data = 0) {
  ClientToScreen(window, &client);
  const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Rounded up, so that the system's scaling back gives the same pixel.
  input.mi.dx = (client.x * 65536 + width - 1) / width;
  input.mi.dy = (client.y * 65536 + height - 1) / height;
  input.mi.dwFlags = flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input.mi.mouseData = data;
  return input;
}

bool SendMouse(HWND window, POINT client, std::initializer_list<DWORD> flags) {
  std::vector<INPUT> inputs;
  for (DWORD flag : flags) inputs.push_back(MouseInput(window, client, flag));
  return SendWith({}, inputs);
}

// The clipboard's CF_TEXT, "<none>" without text, "<closed>" while another
// program holds it open.
std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "<closed>";
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  std::string text = bytes ? bytes : "<none>";
  if (bytes) GlobalUnlock(data);
  CloseClipboard();
  return text;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, Duration timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    // Wait for input to us or a short while, whichever comes first: a bounded
    // poll interval, never a fixed delay standing in for a condition.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

std::vector<HWND> TopWindows(DWORD pid, const std::string& className, bool hidden) {
  std::vector<HWND> all, found;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((pid == 0 || owner == pid) && (className.empty() || ClassName(window) == className) &&
        (hidden || IsWindowVisible(window)))
      found.push_back(window);
  }
  return found;
}

std::vector<HWND> ChildWindows(HWND parent, const std::string& className) {
  std::vector<HWND> all;
  EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&all));
  std::erase_if(all, [&](HWND child) { return !className.empty() && ClassName(child) != className; });
  return all;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT is marshalled between processes, unlike most buffer messages.
  char text[1024] = "";
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &result);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool BringToFront(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (top && GetForegroundWindow() != top) SetForegroundWindow(top);
  return top && WaitFor([&] { return GetForegroundWindow() == top; }, 5s);
}

bool SendKey(WORD key, std::initializer_list<WORD> modifiers) {
  return SendWith(modifiers, {KeyInput(key, false), KeyInput(key, true)});
}

bool MoveTo(HWND window, POINT client) {
  POINT at = client;
  ClientToScreen(window, &at);
  if (!BringToFront(window) || !SetCursorPos(at.x, at.y)) return false;
  POINT now{};
  // The window learns of it by a move through the input queue.
  return WaitFor([&] { return GetCursorPos(&now) && now.x == at.x && now.y == at.y; }, 5s) &&
         SendMouse(window, client, {0});
}

bool Click(HWND window, POINT client, Button button) {
  const bool left = button == Button::kLeft;
  const DWORD down = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN,
              up = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
  return MoveTo(window, client) && SendMouse(window, client, {down, up});
}

bool DoubleClick(HWND window, POINT client) {
  return MoveTo(window, client) &&
         SendMouse(window, client,
                   {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

bool StartDrag(HWND window, POINT from) {
  return MoveTo(window, from) && SendMouse(window, from, {MOUSEEVENTF_LEFTDOWN}) &&
         WaitFor([&] { return Captured(window); }, 5s);
}

bool EndDrag(HWND window, POINT to) {
  return MoveTo(window, to) && SendMouse(window, to, {MOUSEEVENTF_LEFTUP});
}

bool Captured(HWND window) {
  GUITHREADINFO info{.cbSize = sizeof(GUITHREADINFO)};
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCapture;
}

bool Wheel(HWND window, POINT client, int notches, std::initializer_list<WORD> modifiers) {
  return MoveTo(window, client) && SendWith(modifiers, {MouseInput(window, client, MOUSEEVENTF_WHEEL,
                                                                   static_cast<DWORD>(notches * WHEEL_DELTA))});
}

POINT CentreOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right / 2, client.bottom / 2};
}

HCURSOR ShownCursor() {
  CURSORINFO info{.cbSize = sizeof(CURSORINFO)};
  return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

Capture Capture::OfClient(HWND window) {
  Capture capture;
  RECT client;
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return capture;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  capture.width_ = client.right;
  capture.height_ = client.bottom;
  capture.pixels_.resize(static_cast<size_t>(capture.width_) * capture.height_);
  // The screen shows what the user sees; a window DC of another process is
  // only right where that window is visible anyway.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), capture.width_, -capture.height_, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width_, capture.height_, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<const std::uint32_t*>(bits), capture.pixels_.size(), capture.pixels_.begin());
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (auto& pixel : capture.pixels_) pixel &= 0x00FFFFFF;
  return capture;
}

Rgb Capture::At(int x, int y) const {
  std::uint32_t value = pixels_[static_cast<size_t>(y) * width_ + x];
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

std::vector<Rgb> Capture::ColoursIn(Box box) const {
  std::vector<Rgb> colours;
  for (int y = std::max(0, box.y0); y < std::min(height_, box.y1); ++y) {
    for (int x = std::max(0, box.x0); x < std::min(width_, box.x1); ++x) {
      if (std::ranges::count(colours, At(x, y)) == 0) colours.push_back(At(x, y));
    }
  }
  return colours;
}

bool Capture::Contains(Box box, Rgb colour) const {
  return std::ranges::count(ColoursIn(box), colour) > 0;
}

bool Capture::Only(Box box, const std::vector<Rgb>& allowed) const {
  return std::ranges::all_of(ColoursIn(box), [&](Rgb colour) { return std::ranges::count(allowed, colour) > 0; });
}

std::string ClipboardTextAfter(DWORD sequence, Duration timeout) {
  // Once the number moved the program holds the clipboard open until its copy
  // is complete, so our opening fails until then.
  std::string text = "<unchanged>";
  WaitFor([&] { return GetClipboardSequenceNumber() != sequence && (text = ClipboardText()) != "<closed>"; }, timeout);
  return text;
}

std::string RegistryValue(HKEY root, const std::string& key, const std::string& name) {
  char value[1024] = "";
  DWORD size = sizeof value - 1;
  return SHGetValueA(root, key.c_str(), name.c_str(), nullptr, value, &size) == ERROR_SUCCESS ? value : "<missing>";
}

bool SetRegistryValue(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
  return SHSetValueA(root, key.c_str(), name.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1)) ==
         ERROR_SUCCESS;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

}  // namespace mosaikon::e2e
