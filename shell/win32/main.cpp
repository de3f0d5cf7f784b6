// The entry point and the run routine: single-instance hand-over, the
// language pack, the main frame and the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "common/utf8.h"
#include "common/win32/handles.h"
#include "framework/exception_barrier.h"
#include "framework/message_loop.h"
#include "framework/window.h"
#include "settings/win32/language_packs.h"
#include "settings/win32/settings.h"
#include "shell/command_line.h"
#include "shell/win32/main_frame.h"

namespace mosaikon {

namespace {

constexpr const char* kInstanceEventName = "MosaikonEvent";
constexpr const char* kNoLanguageChosen = "<NA>";

// Held until the process ends, so the mark outlasts the run routine.
KernelHandle instanceMarker;

// How long a second copy waits for the first copy's window, which may still
// be starting.
constexpr DWORD kWindowWaitMs = 10000;

// Hands the file to the running viewer; false when there is no viewer window
// to take it, and the caller then shows the file itself. The marker exists
// before the first copy's window does, and a window that is still being made
// would drop the record: a copy signals the marker once its window is
// complete, and the record goes only to a window that has been signalled
// (or, from a copy that never signals, that has had ample time). The
// sender's buffer outlives the synchronous call; the receiver copies what it
// needs. A path the ANSI code page cannot hold goes in a wide record, and
// only to a window that says it takes such records: an older copy would read
// the units as bytes and open the wrong file, so its window is left alone.
bool HandOverToRunningViewer(const std::string& fileName) {
  WaitForSingleObject(instanceMarker.get(), kWindowWaitMs);
  HWND running = FindWindowA(kFrameClassName, nullptr);
  if (!running) return false;
  HandOverRecord handOver = EncodeHandOver(fileName);
  COPYDATASTRUCT record{};
  record.dwData = handOver.kind;
  if (handOver.kind == kWideHandOver &&
      SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)) != kWideHandOverTaken)
    return false;
  record.cbData = static_cast<DWORD>(handOver.bytes.size());
  record.lpData = handOver.bytes.data();
  SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
  SetForegroundWindow(running);
  return true;
}

// The language pack's file name: the stored choice, or the pack of the
// system's language when nothing has been chosen yet ("" is English).
std::string ChooseLanguagePack(const Settings& settings) {
  std::string stored = kNoLanguageChosen;
  if (settings.ini()) stored = settings.ini()->GetString(kSettingsSection, "LangDll", kNoLanguageChosen, 1024);
  if (stored != kNoLanguageChosen) return stored;
  const auto found = settings.languages.find(LanguageName(GetSystemDefaultLangID()));
  return found != settings.languages.end() ? found->second : std::string();
}

}  // namespace

// `commandLine` is the whole command line, the program's own name first.
int RunApplication(const wchar_t* commandLine) {
  MessageLoop loop;
  RegisterMessageLoop(&loop);
  int result = 0;
  ModuleHandle languageModule;
  {
    MainFrame frame;
    const std::string wholeLine = commandLine ? Utf16ToUtf8(reinterpret_cast<const char16_t*>(commandLine)) : "";
    const std::string fileName = CommandLineFileName(CommandLineArguments(wholeLine));
    Settings& settings = TheSettings();

    // The event marks that a viewer runs. Creating it and learning whether
    // it existed is one step, so two copies starting together cannot both
    // take themselves for the first. A failed call counts as the first copy.
    instanceMarker.Reset(CreateEventA(nullptr, TRUE, FALSE, kInstanceEventName));
    const bool anotherRuns = instanceMarker && GetLastError() == ERROR_ALREADY_EXISTS;
    if (anotherRuns && settings.ReuseViewer) {
      // Without a file there is nothing to hand over, and nothing to show.
      if (fileName.empty()) {
        RegisterMessageLoop(nullptr);
        return 0;
      }
      settings.SaveBeforeHandOver();
      if (HandOverToRunningViewer(fileName)) {
        RegisterMessageLoop(nullptr);
        return 0;
      }
      settings.SaveAtExitAgain();
    }

    frame.languagePack = ChooseLanguagePack(settings);
    // An empty name makes the path the folder itself, which fails to load.
    // Without a folder nothing is loaded: a bare relative name would be
    // looked for along the search path.
    const std::string directory = ModuleDirectory();
    if (!directory.empty()) languageModule.Reset(LoadLibraryA((directory + "language\\" + frame.languagePack).c_str()));
    if (languageModule) SetResourceModule(languageModule.get());

    if (frame.CreateFrame()) {
      // A copy waiting to hand its file over may send it to this window now.
      if (instanceMarker) SetEvent(instanceMarker.get());
      if (!fileName.empty()) {
        frame.OpenFile(fileName);
      } else {
        frame.UpdateRecentFiles(nullptr, false, false);
      }
      frame.RestoreLayout();
      result = loop.Run();
    }
    RegisterMessageLoop(nullptr);
    // The frame's window is gone; its object goes before the pack it used.
  }
  if (languageModule) SetResourceModule(nullptr);
  languageModule.Reset();
  return result;
}

}  // namespace mosaikon

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const mosaikon::ComApartment com;
  DefWindowProcA(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);
  // Past this point the settings are still saved at exit.
  // The narrow command line would turn a name outside the ANSI code page
  // into question marks.
  return mosaikon::CallGuarded([] { return mosaikon::RunApplication(GetCommandLineW()); }, [] { return 0; });
}
