// Files whose names lie outside the ANSI code page (Windows-1252 here), in
// Cyrillic, Greek and Japanese: every road opens them (command line,
// hand-over, Open dialog, drop, recently viewed list), the title, Properties
// and Export show and propose their names, the recent list reopens them after
// a restart, and a copy of an older kind running is still served as before.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13 of the Open and Save dialogs
constexpr int kPropertiesText = 1201;

// A second start on `file`; its exit code once it handed the file over.
long HandOver(const ProgramFolder& folder, const std::wstring& file) {
  Viewer starter(folder);
  return starter.Start(file) ? starter.WaitForExit() : -1;
}

// Drops `file` on `window` as the shell does, with a WM_DROPFILES whose block
// of wide names lies in the window's own process (the message carries only
// its address). Posting it needs no marshalling.
bool DropFile(HWND window, const std::wstring& file) {
  std::vector<char> block(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), '\0');
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(block.data() + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!target) return false;
  void* remote = VirtualAllocEx(target, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written = remote && WriteProcessMemory(target, remote, block.data(), block.size(), nullptr);
  CloseHandle(target);
  return written && PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(AnyName, EveryRoadOpensNamesOutsideTheAnsiCodePageAndTheRecentListKeepsThem) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";
  ProgramFolder folder(StandardIni({"ReuseViewer=1"}));
  const std::wstring cyrillic = folder.WriteFile(L"Пример.txt", "cyrillic\r\n");
  const std::wstring greek = folder.WriteFile(L"Ελληνικά.nfo", "greek\r\n");
  const std::wstring japanese = folder.WriteFile(L"日本語.ans", "\x1b[31mjapanese\r\n");
  const std::string cafe = folder.WriteFile("caf\xE9.txt", "cafe\r\n");  // the code page holds this one
  ASSERT_TRUE(CreateDirectoryW((Widen(folder.path()) + L"Папка").c_str(), nullptr));
  const std::wstring dropped = folder.WriteFile(L"Папка\\Ωmega 日.txt", "dropped\r\n");

  // The command line, then hand-overs: a wide record for a name outside the
  // code page, the narrow one for a name inside it.
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(cyrillic));
  EXPECT_EQ(viewer.PaneText(2), "File Size: 10");
  EXPECT_EQ(HandOver(folder, greek), 0);
  EXPECT_TRUE(viewer.WaitForTitleOf(greek));
  EXPECT_EQ(HandOver(folder, Widen(cafe)), 0);
  EXPECT_TRUE(viewer.WaitForTitleOf(cafe));

  // The Open dialog and a drop.
  ASSERT_TRUE(viewer.Press('O', {VK_CONTROL}));
  HWND open = viewer.Shown(kDialogClass, "Open");
  ASSERT_NE(open, nullptr) << "no Open dialog";
  SendMessageW(GetDlgItem(open, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(japanese.c_str()));
  ASSERT_TRUE(PressKey(open, VK_RETURN));
  EXPECT_TRUE(viewer.WaitForTitleOf(japanese));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); }));
  ASSERT_TRUE(DropFile(viewer.frame(), dropped));
  ASSERT_TRUE(viewer.WaitForTitleOf(dropped));
  EXPECT_EQ(viewer.PaneText(2), "File Size: 9");

  // Properties show the name, Export proposes it with .png and writes there.
  ASSERT_TRUE(viewer.Press(VK_RETURN, {VK_MENU}));
  HWND box = viewer.Shown(kDialogClass, "Properties");
  ASSERT_NE(box, nullptr) << "Alt+Enter showed no Properties dialog";
  const std::wstring properties = WideWindowText(GetDlgItem(box, kPropertiesText));
  EXPECT_NE(properties.find(L"Path:\t" + dropped + L"\r\n"), std::wstring::npos) << Utf8Of(properties);
  EXPECT_TRUE(Dismiss(box));
  ASSERT_TRUE(ChooseFromFileMenu(viewer, 'E'));
  HWND save = viewer.Shown(kDialogClass, "Export as Image");
  ASSERT_NE(save, nullptr) << "no Save dialog";
  EXPECT_EQ(WideWindowText(GetDlgItem(save, kFileNameBox)), L"Ωmega 日.png");
  ASSERT_TRUE(PressKey(save, VK_RETURN));
  const std::wstring png = Widen(folder.path()) + L"Папка\\Ωmega 日.png";
  EXPECT_TRUE(WaitFor([&] { return Exists(png); })) << "no " << Utf8Of(png);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(save); }));
  EXPECT_EQ(viewer.Exit(), 1);

  // The INI keeps the name the code page holds as it always did; the others
  // in a form of their own.
  const IniKeys recent = folder.Section("MRU");
  ASSERT_EQ(recent.size(), 5u) << folder.ReadIni();
  EXPECT_EQ(recent[2], (std::pair<std::string, std::string>{"3", cafe}));
  for (int i : {0, 1, 3, 4}) EXPECT_TRUE(recent[i].second.starts_with("<utf-8:")) << recent[i].second;

  // After a restart every entry opens again, the oldest each time.
  Viewer again(folder);
  ASSERT_TRUE(again.Open());
  for (const std::wstring& file : {cyrillic, greek, Widen(cafe), japanese, dropped}) {
    ASSERT_TRUE(ChooseFromFileMenu(again, '5'));  // the oldest of five
    EXPECT_TRUE(again.WaitForTitleOf(file));
  }
  EXPECT_EQ(again.Exit(), 1);
}

// A window of the program's class in this process, standing for a running
// copy of an older kind: it takes every record and answers 0, as such a copy
// does, and keeps what it was sent.
class OlderCopy {
 public:
  OlderCopy() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &OlderCopy::Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kFrameClass, "Mosaikon", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
    // The marker says a copy runs; signalled, it says the window is complete.
    marker_ = CreateEventA(nullptr, TRUE, TRUE, "MosaikonEvent");
    alone_ = marker_ && GetLastError() != ERROR_ALREADY_EXISTS;
    records().clear();
  }
  ~OlderCopy() {
    DestroyWindow(window_);
    UnregisterClassA(kFrameClass, GetModuleHandleA(nullptr));
    CloseHandle(marker_);
  }
  OlderCopy(const OlderCopy&) = delete;
  OlderCopy& operator=(const OlderCopy&) = delete;

  bool ok() const { return window_ && alone_; }
  // "kind:bytes" of each record received.
  static std::vector<std::string>& records() {
    static std::vector<std::string> received;
    return received;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::string bytes;
    if (record->lpData) bytes.assign(static_cast<const char*>(record->lpData), record->cbData);
    records().push_back(std::to_string(record->dwData) + ":" + bytes);
    return 0;
  }

  HWND window_ = nullptr;
  HANDLE marker_ = nullptr;
  bool alone_ = false;  // no copy of the program runs beside it
};

TEST(AnyName, AnOlderCopyGetsTheNarrowRecordAndNeverOneItWouldMisread) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";
  ProgramFolder folder(StandardIni({"ReuseViewer=1"}));
  const std::string cafe = folder.WriteFile("caf\xE9.txt", "cafe\r\n");
  const std::wstring japanese = folder.WriteFile(L"日本語.txt", "japanese\r\n");
  OlderCopy older;
  ASSERT_TRUE(older.ok());
  // A name the code page holds goes over byte for byte, as it always did.
  Viewer first(folder);
  ASSERT_TRUE(first.Start(cafe));
  EXPECT_TRUE(WaitFor([&] { return !first.Running(); })) << "the start did not hand its file over";
  EXPECT_EQ(OlderCopy::records(), std::vector<std::string>{"0:" + cafe});
  // Another is only offered; the older copy does not take it, so the start
  // shows the file itself.
  Viewer second(folder);
  ASSERT_TRUE(second.Start(japanese));
  ASSERT_TRUE(second.WaitForWindow());
  EXPECT_TRUE(second.WaitForTitleOf(japanese));
  EXPECT_EQ(OlderCopy::records(), (std::vector<std::string>{"0:" + cafe, "1296783189:"}));
  EXPECT_EQ(second.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
