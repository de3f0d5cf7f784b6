// The setup program as a user meets it, in a Wine prefix of its own
// (installer.sh makes one for each run): a silent install, the installed
// program opening a file and registering its types, an update over a running
// copy, and an uninstall that takes back what the program registered and
// nothing else; a folder of the user's choice, kept for updates, and an
// update started by hand.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

namespace fs = std::filesystem;
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mosaikon";
constexpr char kUserClasses[] = "Software\\Classes\\";
constexpr char kClassKey[] = "Mosaikon.Document";

std::string SpecialFolder(int id) {
  char path[MAX_PATH] = "";
  return SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "<none>";
}

// A REG_DWORD value, -1 when there is none.
long NumberValue(HKEY root, const std::string& key, const char* name) {
  DWORD number = 0, type = 0, size = sizeof number;
  if (SHGetValueA(root, key.c_str(), name, &type, &number, &size) != ERROR_SUCCESS || type != REG_DWORD) return -1;
  return static_cast<long>(number);
}
bool MakeKey(HKEY root, const std::string& key) {
  HKEY made = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr) != ERROR_SUCCESS)
    return false;
  return RegCloseKey(made) == ERROR_SUCCESS;
}

// A process started from a command line, ended when the case did not wait
// for it to end.
class Started {
 public:
  explicit Started(std::string commandLine) {
    STARTUPINFOA startup{.cb = sizeof(STARTUPINFOA)};
    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
  }
  ~Started() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  // The exit code; -1 when the process did not end in time, -2 when it did
  // not start.
  long Wait(Duration timeout = 120s) {
    DWORD code = static_cast<DWORD>(-1);
    if (!process_.hProcess) return -2;
    if (WaitFor([&] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }, timeout))
      GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION process_{};
};
long RunToEnd(const std::string& commandLine) {
  return Started(commandLine).Wait();
}
long RunSetup(const std::string& switches) {
  return RunToEnd("\"" + Program().setup + "\" " + switches);
}

// Closes a main window of the program as its close box does; true once its
// process has ended, which writes the settings after the window has gone.
bool CloseProgram(HWND frame) {
  DWORD id = 0;
  GetWindowThreadProcessId(frame, &id);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  const bool ended = process && PostMessageA(frame, WM_CLOSE, 0, 0) &&
                     WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
  if (process) CloseHandle(process);
  return ended;
}

// The uninstaller runs on from a copy of itself and lets the command that
// started it end at once; the entry in the list of installed programs goes
// last, when it is done.
testing::AssertionResult Uninstalled(Duration timeout = 60s) {
  if (WaitFor([] { return !RegistryKeyExists(HKEY_CURRENT_USER, kUninstallKey); }, timeout))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the uninstall entry is still there";
}

// The files under `folder`, by their paths inside it, sorted; or "<none>"
// when the folder is not there.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return {"<none>"};
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder).string());
  std::ranges::sort(files);
  return files;
}
std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the setup must install, compared with the files the build made, and
// `more` files of the user's.
void ExpectInstalled(const std::string& folder, std::vector<std::string> more = {}) {
  std::vector<std::string> expected = {"Mosaikon.exe", "MosaikonTerminal.fon", "Uninstall.exe"};
  expected.insert(expected.end(), more.begin(), more.end());
  for (const std::string& pack : FilesIn(Program().languageDir)) expected.push_back("language\\" + pack);
  std::ranges::sort(expected);
  EXPECT_EQ(FilesIn(folder), expected);
  EXPECT_TRUE(Bytes(folder + "Mosaikon.exe") == Bytes(Program().exe)) << "not the program the build made";
  EXPECT_TRUE(Bytes(folder + "MosaikonTerminal.fon") == Bytes(Program().font));
}

// The program's version ("2.2.0") and maker, from its version record.
std::pair<std::string, std::string> VersionAndPublisher(const std::string& exe) {
  std::vector<char> record(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
  if (record.empty() || !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(record.size()), record.data()))
    return {"<no version record>", ""};
  VS_FIXEDFILEINFO* fixed = nullptr;
  char* company = nullptr;
  UINT size = 0;
  VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &size);
  VerQueryValueA(record.data(), "\\StringFileInfo\\040904E4\\CompanyName", reinterpret_cast<void**>(&company), &size);
  return {std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." + std::to_string(LOWORD(fixed->dwProductVersionMS)) +
              "." + std::to_string(HIWORD(fixed->dwProductVersionLS)),
          company ? company : ""};
}

// Where a shortcut leads, "<none>" without one.
std::string ShortcutTarget(const std::string& link) {
  std::string target = "<none>";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* shell = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell))) &&
      SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(link.begin(), link.end());
    char path[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
  }
  if (file) file->Release();
  if (shell) shell->Release();
  CoUninitialize();
  return target;
}

// The entry in the list of installed programs, as "name=value" lines.
std::string UninstallEntry() {
  std::string entry;
  for (const char* name : {"DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "InstallLocation",
                           "UninstallString", "QuietUninstallString"})
    entry += std::string(name) + "=" + RegistryValue(HKEY_CURRENT_USER, kUninstallKey, name) + "\n";
  return entry;
}

// The Settings dialog opened with Alt+S, Column Select Mode turned off on
// its first page, and OK, which registers the file types.
testing::AssertionResult ChangeSettings(Viewer& viewer) {
  HWND sheet = viewer.Press('S', {VK_MENU}) ? viewer.Shown(kDialogClass, "Settings") : nullptr;
  HWND page = nullptr;
  if (!sheet || !WaitFor([&] { return (page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; }))
    return testing::AssertionFailure() << "no Settings dialog";
  constexpr int kColumnMode = 1014;
  if (!ClickButton(page, kColumnMode) || !WaitFor([&] { return !IsDlgButtonChecked(page, kColumnMode); }))
    return testing::AssertionFailure() << "Column Select Mode stayed on";
  if (!ClickButton(sheet, IDOK) || !WaitFor([&] { return !IsWindow(sheet); }))
    return testing::AssertionFailure() << "the dialog did not close";
  viewer.Settle();
  return testing::AssertionSuccess();
}

TEST(Installer, SilentInstallRegistrationUpdateOverARunningCopyAndUninstall) {
  if (Program().setup.empty()) GTEST_SKIP() << "no setup program given";
  const std::string folder = SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Mosaikon\\",
                    exe = folder + "Mosaikon.exe", shortcut = SpecialFolder(CSIDL_PROGRAMS) + "\\Mosaikon.lnk";
  ASSERT_EQ(FilesIn(folder), std::vector<std::string>{"<none>"}) << "not a fresh prefix";

  // Silent: into the user's own program folder, with a shortcut and an
  // entry in the list of installed programs.
  ASSERT_EQ(RunSetup("/S"), 0);
  ExpectInstalled(folder);
  EXPECT_EQ(ShortcutTarget(shortcut), exe);
  const auto [version, publisher] = VersionAndPublisher(exe);
  const std::string uninstaller = "\"" + folder + "Uninstall.exe\"";
  const std::string entry = "DisplayName=Mosaikon\nDisplayVersion=" + version + "\nPublisher=" + publisher +
                            "\nDisplayIcon=" + exe + ",0\nInstallLocation=" + folder.substr(0, folder.size() - 1) +
                            "\nUninstallString=" + uninstaller + "\nQuietUninstallString=" + uninstaller + " /S\n";
  EXPECT_EQ(UninstallEntry(), entry);
  size_t bytes = 0;
  for (const std::string& file : FilesIn(folder)) bytes += Bytes(folder + file).size();
  EXPECT_NEAR(NumberValue(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize"), static_cast<long>(bytes / 1024), 1)
      << "EstimatedSize";

  // The installed program writes its settings beside itself, opens and
  // shows a file, and registers its types from the Settings dialog, one of
  // them another program's until then; the shell then opens a file of such
  // a type with it.
  ProgramFolder installed(ProgramFolder::Installed{folder});
  installed.WriteFile("Mosaikon.ini",
                      "[Settings]\r\nLangDll=\r\nWindowPos=0,1,-1,-1,-1,-1,40,40,840,640\r\n"
                      "FileTypes=mzaa;mzbb;mzcc;\r\n[Kept]\r\nMarker=from an earlier version\r\n");
  ASSERT_TRUE(SetClassesValue(".mzcc", "Foreign.Document") &&
              SetRegistryValue(HKEY_CLASSES_ROOT, ".mzcc", "Content Type", "text/plain"));
  const std::string temp = fs::temp_directory_path().string() + "\\";
  const std::string sample = temp + "setup-sample.txt", typed = temp + "setup-sample.mzaa";
  std::ofstream(sample, std::ios::binary) << "Hello\r\n";
  std::ofstream(typed, std::ios::binary) << "Hello\r\n";
  auto viewer = std::make_unique<Viewer>(installed);
  ASSERT_TRUE(viewer->Open(sample));
  EXPECT_TRUE(ViewShows(viewer->View(), {{0, 0, {kBlack, kWhite}, kBlack}, {5, 0, {kWhite}, kWhite}}));
  ASSERT_TRUE(ChangeSettings(*viewer));
  EXPECT_EQ(installed.Setting("ColumnMode"), "0");
  EXPECT_EQ(ClassesValue(kClassKey), "ASCII Art File");
  const std::string classes = kUserClasses;
  for (const char* type : {".mzaa", ".mzbb", ".mzcc"}) {
    EXPECT_EQ(ClassesValue(type), kClassKey);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, classes + type)) << "no per-user " << type;
  }
  EXPECT_EQ(RegistryValue(HKEY_CLASSES_ROOT, ".mzcc", "Mosaikon.Backup"), "Foreign.Document");
  EXPECT_NE(ClassesValue(std::string(kClassKey) + "\\shell\\open\\command").find(exe), std::string::npos);
  ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", typed.c_str(), nullptr, nullptr, SW_SHOW)), 32);
  HWND opened = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    for (HWND frame : TopWindows(0, kFrameClass))
      if (WindowText(frame).ends_with("setup-sample.mzaa")) opened = frame;
    return opened != nullptr;
  })) << "the shell did not open the file with the program";
  EXPECT_TRUE(opened && CloseProgram(opened));

  // An update while the program runs: the setup closes it as its close box
  // does, so it saves its settings, and keeps the settings file.
  ASSERT_EQ(RunSetup("/S"), 0);
  EXPECT_EQ(viewer->WaitForExit(), 1) << "the running copy was not closed";
  ExpectInstalled(folder, {"Mosaikon.ini"});
  EXPECT_EQ(installed.Setting("ColumnMode") + " " + installed.Setting("FileTypes"), "0 mzaa;mzbb;mzcc;");
  EXPECT_EQ(installed.Section("Kept"), (IniKeys{{"Marker", "from an earlier version"}}));
  EXPECT_EQ(UninstallEntry(), entry);

  // What other programs did meanwhile, and keys shaped as the program's
  // registration leaves them elsewhere: a saved default, per-user values.
  ASSERT_TRUE(SetClassesValue(".mzbb", "Other.Document"));  // taken over by another program
  ASSERT_TRUE(SetClassesValue(".mzfor", kClassKey) &&
              SetRegistryValue(HKEY_CLASSES_ROOT, ".mzfor", "Mosaikon.Backup", "Foreign.Document") &&
              SetRegistryValue(HKEY_CLASSES_ROOT, ".mzfor", "Content Type", "text/plain"));
  ASSERT_TRUE(SetClassesValue(".mzown", "Other.Document") &&
              SetRegistryValue(HKEY_CLASSES_ROOT, ".mzown", "Mosaikon.Backup", "Old.Document"));
  ASSERT_TRUE(SetClassesValue(".mzold", kClassKey));  // a type taken off the list by hand
  ASSERT_TRUE(SetClassesValue(".mzunrel", "Other.Document") &&
              SetClassesValue("Other.Document\\shell\\open\\command", "other.exe \"%1\"") &&
              SetClassesValue("Applications\\Other.exe\\shell\\open\\command", "other.exe \"%1\""));
  ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, classes + ".mzempty"));
  ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, classes + ".mzcu", "", kClassKey));
  ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, classes + ".mzcuown", "", "Other.Document") &&
              SetRegistryValue(HKEY_CURRENT_USER, classes + ".mzcuown", "Mosaikon.Backup", "Old.Document"));

  // The silent uninstall, while the program runs: it closes the program,
  // keeps the settings file and takes back exactly what the program wrote.
  viewer = std::make_unique<Viewer>(installed);
  ASSERT_TRUE(viewer->Open());
  ASSERT_EQ(RunToEnd(RegistryValue(HKEY_CURRENT_USER, kUninstallKey, "QuietUninstallString")), 0);
  ASSERT_TRUE(Uninstalled());
  EXPECT_EQ(viewer->WaitForExit(), 1) << "the running copy was not closed";
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"Mosaikon.ini"});
  EXPECT_EQ(installed.Section("Kept"), (IniKeys{{"Marker", "from an earlier version"}}));
  EXPECT_EQ(ShortcutTarget(shortcut), "<none>");
  EXPECT_FALSE(fs::exists(shortcut));
  for (const std::string& key : {std::string(kClassKey), std::string("Applications\\Mosaikon.exe"),
                                 std::string(".mzaa"), std::string(".mzold")}) {
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, classes + key)) << key;
  }
  for (const char* type : {".mzbb", ".mzcc", ".mzcu"})
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, classes + type)) << type;
  auto values = [](HKEY root, const std::string& key) {
    return RegistryValue(root, key) + "|" + RegistryValue(root, key, "Mosaikon.Backup") + "|" +
           RegistryValue(root, key, "Content Type");
  };
  EXPECT_EQ(values(HKEY_CLASSES_ROOT, ".mzbb"), "Other.Document|<missing>|<missing>");
  EXPECT_EQ(values(HKEY_CLASSES_ROOT, ".mzcc"), "Foreign.Document|<missing>|text/plain");
  EXPECT_EQ(values(HKEY_CLASSES_ROOT, ".mzfor"), "Foreign.Document|<missing>|text/plain");
  EXPECT_EQ(values(HKEY_CLASSES_ROOT, ".mzown"), "Other.Document|<missing>|<missing>");
  EXPECT_EQ(values(HKEY_CLASSES_ROOT, ".mzunrel"), "Other.Document|<missing>|<missing>");
  EXPECT_EQ(values(HKEY_CURRENT_USER, classes + ".mzcuown"), "Other.Document|<missing>|<missing>");
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, classes + ".mzempty")) << "an empty key not known as ours";
  EXPECT_EQ(ClassesValue("Other.Document\\shell\\open\\command"), "other.exe \"%1\"");
  EXPECT_EQ(ClassesValue("Applications\\Other.exe\\shell\\open\\command"), "other.exe \"%1\"");

  std::error_code error;
  fs::remove_all(folder, error);
  fs::remove(sample, error);
  fs::remove(typed, error);
}

// A window of the setup or the uninstaller, whose title begins with
// `title`: the wizard when `message` is empty, else a message box saying
// `message`. Null when none shows in time.
HWND SetupWindow(const std::string& title, const std::string& message = "", Duration timeout = 10s) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND window : TopWindows(0, kDialogClass)) {
          HWND text = GetDlgItem(window, 0xFFFF);  // a message box's text
          if (WindowText(window).starts_with(title) &&
              (message.empty() ? !text : WindowText(text).find(message) != std::string::npos))
            found = window;
        }
        return found != nullptr;
      },
      timeout);
  return found;
}
// The dialogs and message boxes shown, for a failure's message.
std::string DialogsShown() {
  std::string shown;
  for (HWND window : TopWindows(0, kDialogClass))
    shown += " [" + WindowText(window) + ": " + WindowText(GetDlgItem(window, 0xFFFF)) + "]";
  return shown.empty() ? " none" : shown;
}

// Presses a button of the setup's windows until `done` holds: a click that
// comes while the window still sets up its page is lost, and one more on a
// page that has moved on finds the button greyed or gone.
bool PressUntil(HWND window, int button, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (!IsWindow(window) || (ClickButton(window, button) && WaitFor(done, 2s))) return done();
  }
  return false;
}
// A visible control of the wizard's current page.
HWND PageControl(HWND wizard, const std::string& className, const std::string& text = "") {
  for (HWND control : ChildWindows(wizard, className))
    if (IsWindowVisible(control) && (text.empty() || WindowText(control) == text)) return control;
  return nullptr;
}

// /D= chooses the folder. An update started by hand finds that folder, asks
// before it closes the program running from there, and starts it again from
// its last page.
TEST(Installer, ChosenFolderUpdatedByHand) {
  if (Program().setup.empty()) GTEST_SKIP() << "no setup program given";
  const std::string folder = SpecialFolder(CSIDL_WINDOWS).substr(0, 3) + "Mosaikon Test\\Viewer\\",
                    standard = SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Mosaikon\\";
  ASSERT_EQ(RunSetup("/S /D=" + folder.substr(0, folder.size() - 1)), 0);
  ExpectInstalled(folder);
  EXPECT_EQ(RegistryValue(HKEY_CURRENT_USER, kUninstallKey, "InstallLocation") + "\\", folder);

  ProgramFolder installed(ProgramFolder::Installed{folder});
  installed.WriteFile("Mosaikon.ini", "[Settings]\r\nLangDll=\r\nTabSize=4\r\n");
  Viewer viewer(installed);
  ASSERT_TRUE(viewer.Open());
  Started setup("\"" + Program().setup + "\"");
  HWND wizard = SetupWindow("Mosaikon Setup");
  ASSERT_NE(wizard, nullptr) << "no setup window";
  HWND field = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (field = PageControl(wizard, "Edit")) != nullptr; }));
  EXPECT_EQ(WindowText(field), folder);
  HWND question = nullptr;
  const auto asked = [&] { return (question = SetupWindow("Mosaikon Setup", "Mosaikon is running", 0s)) != nullptr; };
  ASSERT_TRUE(PressUntil(wizard, IDOK, asked))  // Install
      << "not asked to close the running program"
      << ", shown:" << DialogsShown();
  EXPECT_TRUE(viewer.Running()) << "closed before the answer";
  ASSERT_TRUE(PressUntil(question, IDOK, [&] { return !IsWindow(question); }));
  EXPECT_EQ(viewer.WaitForExit(), 1);
  ASSERT_TRUE(WaitFor([&] { return PageControl(wizard, "Button", "&Run Mosaikon") != nullptr; }))
      << "no last page"
      << ", shown:" << DialogsShown();
  ASSERT_TRUE(PressUntil(wizard, IDOK, [&] { return !IsWindow(wizard); }));  // Finish
  EXPECT_EQ(setup.Wait(), 0);
  ExpectInstalled(folder, {"Mosaikon.ini"});
  EXPECT_EQ(FilesIn(standard), std::vector<std::string>{"<none>"});
  EXPECT_EQ(installed.Setting("TabSize"), "4");
  // The program the last page started.
  HWND started = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    auto frames = TopWindows(0, kFrameClass);
    return (started = frames.empty() ? nullptr : frames.front()) != nullptr;
  })) << "the program did not start";
  EXPECT_TRUE(started && CloseProgram(started));

  ASSERT_EQ(RunToEnd(RegistryValue(HKEY_CURRENT_USER, kUninstallKey, "QuietUninstallString")), 0);
  ASSERT_TRUE(Uninstalled());
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"Mosaikon.ini"});
  std::error_code error;
  fs::remove_all(folder, error);
}

}  // namespace
}  // namespace mosaikon::e2e
