// Program folders, process start and end, and cross-process reads of the
// main window's bars.
#include "viewer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace mosaikon::e2e {

namespace fs = std::filesystem;
constexpr int kToolBarId = 59392;

ProgramFiles& Program() {
  static ProgramFiles files;
  return files;
}

ProgramFolder::ProgramFolder(const std::vector<std::string>& ini) {
  static int counter = 0;
  std::string name = "mosaikon-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  path_ = (fs::temp_directory_path() / name).string() + "\\";
  std::error_code error;
  fs::remove_all(path_, error);
  fs::create_directory(path_, error);
  fs::copy_file(Program().exe, exe(), error);
  if (!Program().font.empty()) fs::copy_file(Program().font, path_ + "MosaikonTerminal.fon", error);
  if (!Program().languageDir.empty()) fs::copy(Program().languageDir, path_ + "language", error);
  std::string text;
  for (const auto& line : ini) text += line + "\r\n";
  if (!ini.empty()) WriteFile("Mosaikon.ini", text);
}

ProgramFolder::~ProgramFolder() {
  std::error_code error;
  if (owned_ && !GetEnvironmentVariableA("MOSAIKON_E2E_KEEP", nullptr, 0)) fs::remove_all(path_, error);
}

std::string ProgramFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  std::string full = path_ + name;
  std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::wstring ProgramFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
  std::wstring full = Widen(path_) + name;
  std::ofstream(fs::path(full), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string ProgramFolder::ReadFile(const std::string& name) const {
  std::ifstream in(path_ + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

IniKeys ProgramFolder::Section(const std::string& section) const {
  IniKeys keys;
  std::istringstream in(ReadIni());
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) inside = _stricmp(line.c_str(), ("[" + section + "]").c_str()) == 0;
    auto equals = line.find('=');
    if (inside && equals != std::string::npos) keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return keys;
}

std::string ProgramFolder::Setting(const std::string& key) const {
  for (const auto& [name, value] : Section("Settings"))
    if (name == key) return value;
  return "<missing>";
}

std::string ProgramFolder::Settings(const std::vector<std::string>& varying) const {
  std::string text;
  for (const auto& [key, value] : Section("Settings"))
    text += key + "=" + (std::ranges::find(varying, key) != varying.end() ? "*" : value) + " ";
  return text;
}

Viewer::~Viewer() {
  if (Running() && TerminateProcess(process_.hProcess, 99)) WaitForSingleObject(process_.hProcess, 5000);
  for (HANDLE handle : {process_.hThread, process_.hProcess})
    if (handle) CloseHandle(handle);
}

bool Viewer::Start(const std::string& file) {
  return Start(Widen(file));
}

bool Viewer::Start(const std::wstring& file) {
  // A pointer left over a bar by an earlier case would change what keys do.
  ParkPointer();
  const std::wstring exe = Widen(folder_.exe()), directory = Widen(folder_.path());
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!file.empty()) commandLine += L" \"" + file + L"\"";
  STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
  return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &process_);
}

testing::AssertionResult Viewer::Open(const std::string& file, Duration timeout) {
  if (!Start(file)) return testing::AssertionFailure() << "could not start " << folder_.exe();
  auto shown = WaitForWindow(timeout);
  return shown ? WaitForTitleOf(file, timeout) : shown;
}

testing::AssertionResult Viewer::Open(const std::wstring& file, Duration timeout) {
  if (!Start(file)) return testing::AssertionFailure() << "could not start " << folder_.exe();
  auto shown = WaitForWindow(timeout);
  return shown ? WaitForTitleOf(file, timeout) : shown;
}

testing::AssertionResult Viewer::WaitForWindow(Duration timeout) {
  if (!WaitFor([&] { return (frame_ = FindFrame()) && IsWindowVisible(frame_); }, timeout)) {
    std::string windows;
    for (HWND window : TopWindows(process_.dwProcessId, "", true)) windows += " \"" + WindowText(window) + "\"";
    return testing::AssertionFailure() << "no main window; the process " << (Running() ? "runs" : "has ended")
                                       << ", its windows:" << windows;
  }
  // Start-up goes on after the window shows (bars, layout); wait until the
  // program's message loop waits for input.
  WaitForInputIdle(process_.hProcess, 5000);
  return testing::AssertionSuccess();
}

testing::AssertionResult Viewer::WaitForTitleOf(const std::string& file, Duration timeout) {
  std::string title = file.empty() ? "Mosaikon" : "Mosaikon - " + file;
  if (WaitFor([&] { return Title() == title; }, timeout)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the title is \"" << Title() << "\", not \"" << title << "\"";
}

testing::AssertionResult Viewer::WaitForTitleOf(const std::wstring& file, Duration timeout) {
  std::wstring title = file.empty() ? L"Mosaikon" : L"Mosaikon - " + file;
  if (WaitFor([&] { return WideTitle() == title; }, timeout)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the title is \"" << Utf8Of(WideTitle()) << "\", not \"" << Utf8Of(title)
                                     << "\"";
}

long Viewer::WaitForExit(Duration timeout) {
  if (!process_.hProcess || !WaitFor([&] { return !Running(); }, timeout)) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

HWND Viewer::FindFrame() const {
  auto frames = TopWindows(process_.dwProcessId, kFrameClass, true);
  return frames.empty() ? nullptr : frames.front();
}

HWND Viewer::View() const {
  // The view is the frame's child that is neither the rebar nor a bar.
  for (HWND child = GetWindow(frame_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string name = ClassName(child);
    if (name != REBARCLASSNAMEA && name != STATUSCLASSNAMEA && name != TOOLBARCLASSNAMEA && IsWindowVisible(child))
      return child;
  }
  return nullptr;
}

HWND Viewer::ToolBar() const {
  // The menu bar may be a toolbar as well; the button bar has its own id.
  for (HWND bar : ChildWindows(frame_, TOOLBARCLASSNAMEA))
    if (GetDlgCtrlID(bar) == kToolBarId) return bar;
  return nullptr;
}

std::vector<char> Viewer::SendWithBuffer(HWND window, UINT message, WPARAM wParam, size_t size) const {
  // Messages whose lParam points at a buffer are not marshalled between
  // processes: lend the window a buffer in its own address space, then read
  // it back from there. One more byte ends a text the buffer holds.
  std::vector<char> local(size + 1, '\0');
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_.dwProcessId);
  if (!target) return local;
  if (void* remote = VirtualAllocEx(target, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &result);
    SIZE_T done = 0;
    ReadProcessMemory(target, remote, local.data(), size, &done);
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  }
  CloseHandle(target);
  return local;
}

std::string Viewer::PaneText(int index) const {
  HWND bar = StatusBar();
  if (!bar) return "<no status bar>";
  constexpr size_t kSize = 1024;
  if (LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, index, 0)) >= kSize) return "<too long>";
  return SendWithBuffer(bar, SB_GETTEXTA, index, kSize).data();
}

std::vector<int> Viewer::ToolBarCommands() const {
  std::vector<int> commands;
  HWND bar = ToolBar();
  auto count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    std::memcpy(&button, SendWithBuffer(bar, TB_GETBUTTON, i, sizeof button).data(), sizeof button);
    commands.push_back((button.fsStyle & BTNS_SEP) ? 0 : button.idCommand);
  }
  return commands;
}

POINT Viewer::ButtonCentre(int command) const {
  RECT box;
  std::memcpy(&box, SendWithBuffer(ToolBar(), TB_GETRECT, command, sizeof box).data(), sizeof box);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

HWND Viewer::Shown(const char* className, const std::string& title, Duration timeout) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND window : TopWindows(process_.dwProcessId, className))
          if (title.empty() || WindowText(window) == title) return (found = window) != nullptr;
        return false;
      },
      timeout);
  return found;
}

std::string Viewer::TakeMessage(const std::string& caption) const {
  HWND box = Shown(kDialogClass, caption);
  if (!box) return "<none>";
  constexpr int kMessageText = 0xFFFF;  // the static that holds a message box's text
  std::string text = WindowText(GetDlgItem(box, kMessageText));
  return Dismiss(box, VK_RETURN) ? text : "<not closed> " + text;
}

std::string Viewer::MenuBarText(int index) const {
  // The command bar is the toolbar that is not the button bar; its buttons
  // have the command ids 1, 2, ... in menu order.
  for (HWND bar : ChildWindows(frame_, TOOLBARCLASSNAMEA)) {
    if (GetDlgCtrlID(bar) == kToolBarId) continue;
    return SendWithBuffer(bar, TB_GETBUTTONTEXTA, index + 1, 256).data();
  }
  return "<no menu bar>";
}

void Viewer::Settle() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
  if (HWND view = View()) UpdateWindow(view);
}

std::string ComparePng(const std::string& png, const Capture& shot, int w, int h) {
  const std::string ppm = png + ".ppm", result = png + ".result";
  std::string pixels = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
  for (int i = 0; i < w * h; ++i) {
    const Rgb c = shot.At(i % w, i / w);
    pixels += {char(c.r), char(c.g), char(c.b)};
  }
  std::ofstream(ppm, std::ios::binary) << pixels;
  // The checker is a Unix program: it gets Unix paths, and Wine runs it apart
  // from the process it reports, so the answer is the file it writes last.
  auto unixPath = reinterpret_cast<char*(CDECL*)(const WCHAR*)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  std::string commandLine = "\"" + Program().pngCheck + "\"";
  for (const std::string& file : {png, ppm, result}) {
    const std::wstring wide(file.begin(), file.end());
    commandLine += std::string(" \"") + (unixPath ? unixPath(wide.c_str()) : file.c_str()) + "\"";
  }
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(Program().pngCheck.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return "<the checker did not start>";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::string verdict = "<no answer from the checker>";
  WaitFor(
      [&] {
        std::ifstream in(result, std::ios::binary);
        return in && !verdict.assign(std::istreambuf_iterator<char>(in), {}).empty();
      },
      60s);
  return verdict;
}

}  // namespace mosaikon::e2e
