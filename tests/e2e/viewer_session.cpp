// Running and observing the real program from another process: folders,
// process start and end, window lookup, cross-process reads of status texts,
// screen captures and keyboard input through the system's input queue.
#include "viewer_session.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace mosaikon::e2e {
namespace {

constexpr char kFrameClass[] = "MosaikonWndClass";

bool CopyInto(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + name + "\\");
      } else {
        SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((folder + name).c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

struct FrameSearch {
  DWORD pid;
  bool anyProcess;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectFrames(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FrameSearch*>(param);
  if (ClassName(window) != kFrameClass) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (search->anyProcess ? IsWindowVisible(window) : pid == search->pid) search->found.push_back(window);
  return TRUE;
}

struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && ClassName(window) == "#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Window-enumeration callbacks are stdcall on 32-bit Windows, which a lambda
// cannot convert to; hence named functions.
BOOL CALLBACK DescribeWindow(HWND window, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(pid)) {
    std::fprintf(stderr, "    %p class \"%s\" title \"%s\" %s owner %p\n", static_cast<void*>(window),
                 ClassName(window).c_str(), WindowText(window).c_str(), IsWindowVisible(window) ? "visible" : "hidden",
                 static_cast<void*>(GetWindow(window, GW_OWNER)));
  }
  return TRUE;
}

struct ToolBarSearch {
  HWND found = nullptr;
};

// The command bar may be a toolbar as well; the button bar has the id 59392.
BOOL CALLBACK FindToolBar(HWND child, LPARAM param) {
  if (ClassName(child) == TOOLBARCLASSNAMEA && GetDlgCtrlID(child) == 59392) {
    reinterpret_cast<ToolBarSearch*>(param)->found = child;
    return FALSE;
  }
  return TRUE;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  switch (key) {
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

}  // namespace

ProgramFiles& Program() {
  static ProgramFiles files;
  return files;
}

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

ProgramFolder::ProgramFolder() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  char name[64];
  std::snprintf(name, sizeof name, "mosaikon-e2e-%lu-%d\\", GetCurrentProcessId(), ++counter);
  path_ = std::string(temp) + name;
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
  CopyInto(Program().exe, exe());
  if (!Program().font.empty()) CopyInto(Program().font, path_ + "MosaikonTerminal.fon");
  if (!Program().languageDir.empty()) {
    std::string language = path_ + "language\\";
    CreateDirectoryA(language.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((Program().languageDir + "\\mkn_*.dll").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        CopyInto(Program().languageDir + "\\" + entry.cFileName, language + entry.cFileName);
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
  }
}

ProgramFolder::~ProgramFolder() {
  if (!GetEnvironmentVariableA("MOSAIKON_E2E_KEEP", nullptr, 0)) RemoveTree(path_);
}

std::string ProgramFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  std::string full = path_ + name;
  std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

void ProgramFolder::WriteIni(const std::vector<std::string>& lines) const {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  WriteFile("Mosaikon.ini", text);
}

std::string ProgramFolder::ReadIni() const {
  std::ifstream in(ini(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::pair<std::string, std::string>> IniSection(const std::string& text, const std::string& section) {
  std::vector<std::pair<std::string, std::string>> keys;
  std::istringstream in(text);
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      inside = _stricmp(line.c_str(), ("[" + section + "]").c_str()) == 0;
      continue;
    }
    auto equals = line.find('=');
    if (inside && equals != std::string::npos) keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return keys;
}

std::string ToString(const Rgb& colour) {
  char text[32];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
  return text;
}

Rgb Capture::At(int x, int y) const {
  std::uint32_t value = pixels_[static_cast<size_t>(y) * width_ + x];
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

std::vector<Rgb> Capture::ColoursIn(int x0, int y0, int x1, int y1) const {
  std::vector<Rgb> colours;
  for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) {
      Rgb colour = At(x, y);
      if (std::find(colours.begin(), colours.end(), colour) == colours.end()) colours.push_back(colour);
    }
  }
  return colours;
}

bool Capture::Contains(int x0, int y0, int x1, int y1, Rgb colour) const {
  auto colours = ColoursIn(x0, y0, x1, y1);
  return std::find(colours.begin(), colours.end(), colour) != colours.end();
}

Capture Capture::OfClient(HWND window) {
  Capture capture;
  RECT client;
  if (!GetClientRect(window, &client)) return capture;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  capture.width_ = client.right;
  capture.height_ = client.bottom;
  if (capture.width_ <= 0 || capture.height_ <= 0) return capture;
  capture.pixels_.resize(static_cast<size_t>(capture.width_) * capture.height_);

  // The screen DC shows what the user sees; a window DC of another process
  // is only right where that window is visible anyway.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width_;
  info.bmiHeader.biHeight = -capture.height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
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

ViewerSession::~ViewerSession() {
  if (process_.hProcess) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
}

bool ViewerSession::Start(const std::string& arguments) {
  std::string commandLine;
  commandLine.append(1, '"').append(folder_.exe()).append(1, '"');
  if (!arguments.empty()) commandLine.append(1, ' ').append(arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  return CreateProcessA(folder_.exe().c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.path().c_str(), &startup, &process_);
}

bool ViewerSession::WaitForWindow(Duration timeout) {
  bool shown = WaitFor(
      [&] {
        frame_ = FindFrameOf(process_.dwProcessId);
        return frame_ && IsWindowVisible(frame_);
      },
      timeout);
  if (!shown) {
    DescribeWindows();
    return false;
  }
  // Start-up goes on after the window shows (bars, layout); wait until the
  // program's message loop waits for input.
  WaitForInputIdle(process_.hProcess, 5000);
  return true;
}

void ViewerSession::DescribeWindows() const {
  std::fprintf(stderr, "  process %lu %s; its top-level windows:\n", process_.dwProcessId,
               Running() ? "runs" : "has ended");
  EnumWindows(&DescribeWindow, static_cast<LPARAM>(process_.dwProcessId));
}

bool ViewerSession::WaitForTitle(const std::string& title, Duration timeout) {
  return WaitFor([&] { return frame_ && Title() == title; }, timeout);
}

long ViewerSession::WaitForExit(Duration timeout) {
  if (!process_.hProcess) return -1;
  bool ended = WaitFor([&] { return !Running(); }, timeout);
  if (!ended) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

long ViewerSession::Close() {
  if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
  return WaitForExit();
}

bool ViewerSession::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ViewerSession::View() const {
  // The view is the frame's child that is neither the rebar nor the status bar.
  for (HWND child = GetWindow(frame_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string name = ClassName(child);
    if (name != REBARCLASSNAMEA && name != STATUSCLASSNAMEA && name != TOOLBARCLASSNAMEA && IsWindowVisible(child))
      return child;
  }
  return nullptr;
}

HWND ViewerSession::StatusBar() const {
  return FindWindowExA(frame_, nullptr, STATUSCLASSNAMEA, nullptr);
}

std::string ViewerSession::Title() const {
  return WindowText(frame_);
}

std::vector<char> ViewerSession::SendWithBuffer(HWND window, UINT message, WPARAM wParam, size_t size,
                                                const std::vector<char>& input) const {
  // Messages whose lParam points at a buffer are not marshalled between
  // processes: lend the window a buffer in its own address space, then read
  // it back from there.
  std::vector<char> local(size, '\0');
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_.dwProcessId);
  if (!target) return {};
  void* remote = VirtualAllocEx(target, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote) {
    SIZE_T done = 0;
    if (!input.empty()) WriteProcessMemory(target, remote, input.data(), std::min(size, input.size()), &done);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &result);
    ReadProcessMemory(target, remote, local.data(), size, &done);
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  }
  CloseHandle(target);
  return local;
}

std::string ViewerSession::PaneText(int index) const {
  HWND bar = StatusBar();
  if (!bar) return "<no status bar>";
  constexpr size_t kSize = 1024;
  if (LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, index, 0)) >= kSize) return "<too long>";
  std::vector<char> text = SendWithBuffer(bar, SB_GETTEXTA, index, kSize);
  text.push_back('\0');
  return text.data();
}

bool ViewerSession::StatusSimple() const {
  return SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0) != 0;
}

HWND ViewerSession::ToolBar() const {
  ToolBarSearch search;
  EnumChildWindows(frame_, &FindToolBar, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<int> ViewerSession::ToolBarCommands() const {
  std::vector<int> commands;
  HWND bar = ToolBar();
  if (!bar) return commands;
  auto count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::vector<char> bytes = SendWithBuffer(bar, TB_GETBUTTON, i, sizeof(TBBUTTON));
    TBBUTTON button;
    std::memcpy(&button, bytes.data(), sizeof button);
    commands.push_back((button.fsStyle & BTNS_SEP) ? 0 : button.idCommand);
  }
  return commands;
}

HWND ViewerSession::FindDialog() const {
  DialogSearch search{process_.dwProcessId, nullptr};
  EnumWindows(&FindProcessDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ViewerSession::PressKey(WORD key, std::vector<WORD> modifiers) {
  return PressKeyIn(frame_, key, std::move(modifiers));
}

bool ViewerSession::PressKeyIn(HWND window, WORD key, std::vector<WORD> modifiers) {
  if (!window) return false;
  SetForegroundWindow(window);
  if (!WaitFor([&] { return GetForegroundWindow() == window; }, 5s)) return false;
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(KeyInput(*it, true));
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool ViewerSession::ButtonChecked(int command) const {
  return SendMessageA(ToolBar(), TB_ISBUTTONCHECKED, command, 0) != 0;
}

bool ViewerSession::ButtonEnabled(int command) const {
  return SendMessageA(ToolBar(), TB_ISBUTTONENABLED, command, 0) != 0;
}

HWND FindFrameOf(DWORD pid) {
  FrameSearch search{pid, false, {}};
  EnumWindows(&CollectFrames, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> AllFrames() {
  FrameSearch search{0, true, {}};
  EnumWindows(&CollectFrames, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT is marshalled between processes, unlike most buffer messages.
  char text[1024] = "";
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &result);
  return text;
}

std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "<closed>";
  std::string text = "<none>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace mosaikon::e2e
