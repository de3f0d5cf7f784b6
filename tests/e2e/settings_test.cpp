// The Settings dialog driven from outside: registration at start-up, Cancel,
// OK on every page with its effects at once, the Add File Type rules, a
// settings file that cannot be written, the language pack of the next
// start; what the program keeps of values it cannot use and of other
// programs' registry keys, and a settings file it could not read.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <tuple>
#include <utility>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

constexpr char kClassKey[] = "Mosaikon.Document";
constexpr int kApplyButton = 0x3021;

// The class's keys and those of `extensions`, which carry the driver's
// process id so that runs sharing a prefix do not meet; under the classes
// root and among the user's classes.
void Unregister(const std::vector<std::string>& extensions) {
  std::vector<std::string> keys = {kClassKey, "Applications\\Mosaikon.exe"};
  for (const std::string& extension : extensions) keys.push_back("." + extension);
  for (const std::string& key : keys) {
    SHDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Classes\\" + key).c_str());
  }
}

HWND ShowPage(HWND sheet, int index) {
  if (index >= 0) SendMessageA(sheet, PSM_SETCURSEL, index, 0);
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Opens the dialog with Alt+S; null when it does not show its first page.
HWND OpenSettings(Viewer& viewer, const std::string& caption = "Settings") {
  HWND sheet = viewer.Press('S', {VK_MENU}) ? viewer.Shown(kDialogClass, caption) : nullptr;
  return sheet && WaitFor([&] { return ShowPage(sheet, -1) != nullptr; }) ? sheet : nullptr;
}

bool Tick(HWND page, int box, bool on) {
  return ClickButton(page, box) && WaitFor([&] { return (IsDlgButtonChecked(page, box) == BST_CHECKED) == on; });
}

// Presses OK or Cancel; true once the dialog is gone and the program has
// done what the button starts.
bool Close(Viewer& viewer, HWND sheet, int button) {
  if (!ClickButton(sheet, button) || !WaitFor([&] { return !IsWindow(sheet); })) return false;
  viewer.Settle();
  return true;
}

// The File menu's height, which its recently viewed entries add to. Right
// after the sheet closes, Wine now and then loses the first F10 on a loaded
// machine; the key is pressed again then.
int FileMenuHeight(Viewer& viewer) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    HWND menu = viewer.Press(VK_F10) ? viewer.Shown(kMenuClass, "", 3s) : nullptr;
    RECT box{};
    if (!menu || !GetWindowRect(menu, &box)) continue;
    const bool closed = SendKey(VK_ESCAPE) && WaitFor([&] { return !IsWindow(menu); });
    if (closed) return box.bottom - box.top;
  }
  return -1;
}

// The command the registration writes for the copy in `folder`.
std::string OpenCommand(const ProgramFolder& folder) {
  return std::string("\"").append(folder.exe()).append("\" \"%1\"");
}

// Types `input` into the Add File Type dialog and presses OK: the error
// message that follows and whether the dialog stayed open (it is then
// cancelled).
std::pair<std::string, bool> TryToAdd(Viewer& viewer, HWND page, const std::string& input) {
  HWND add = ClickButton(page, 1008) ? viewer.Shown(kDialogClass, "Add File Type") : nullptr;
  if (!add) return {"<no dialog>", false};
  SetText(add, 1011, input);
  if (!ClickButton(add, IDOK)) return {"<no OK>", false};
  const std::string message = viewer.TakeMessage("Error");
  const bool stayed = IsWindow(add);
  if (stayed && !(ClickButton(add, IDCANCEL) && WaitFor([&] { return !IsWindow(add); }))) return {"<stuck>", true};
  return {message, stayed};
}

// Switches Column Select Mode off and presses OK while the settings file at
// `path` is held by another program: one message naming the file and the
// reason, and no other.
void ExpectOkNotSaved(Viewer& viewer, const std::string& path) {
  HWND sheet = OpenSettings(viewer);
  ASSERT_TRUE(sheet && Tick(ShowPage(sheet, 0), 1014, false) && ClickButton(sheet, IDOK));
  const std::string message = viewer.TakeMessage("Error");
  EXPECT_TRUE(message.find(path) != std::string::npos &&
              message.find(SystemText(ERROR_SHARING_VIOLATION)) != std::string::npos)
      << message;
  viewer.Settle();
  EXPECT_EQ(viewer.Shown(kDialogClass, "", 0s), nullptr) << "a second message";
}

TEST(SettingsDialog, RegistrationCancelOkEveryPageAndAnUnwritableIni) {
  std::vector<std::string> types;
  for (const char* name : {"ma", "mn", "mz"}) types.push_back(name + std::to_string(GetCurrentProcessId()));
  Unregister(types);
  const std::string classKey = kClassKey, stale = "." + types[2], list = types[0] + ";" + types[1] + ";";
  ASSERT_TRUE(SetClassesValue(stale, "Other.Document"));
  ProgramFolder folder(StandardIni({"RegisterOnStart=1", "FileTypes=" + list}));
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("links.txt", LinkLines(100))));
  // Registered at start-up, where nothing is unregistered.
  const std::string command = OpenCommand(folder);
  EXPECT_EQ(ClassesValue(classKey + "\\shell\\open\\command"), command);
  EXPECT_EQ(ClassesValue("." + types[0]) + ClassesValue(stale), classKey + "Other.Document");

  // Cancel after a change on every page, each seen done before the next.
  Unregister({});
  HWND view = viewer.View();
  ASSERT_TRUE(Wheel(view, CentreOf(view), -1));
  ASSERT_TRUE(WaitFor([&] { return TopLineIs(view, 3); })) << "the wheel did not scroll";
  const std::string ini = folder.ReadIni();
  HWND sheet = OpenSettings(viewer);
  ASSERT_NE(sheet, nullptr) << "no Settings dialog";
  for (int button : {IDOK, IDCANCEL, kApplyButton, IDHELP})
    EXPECT_EQ(IsWindowVisible(GetDlgItem(sheet, button)), button == IDOK || button == IDCANCEL) << button;
  RECT box, frame;
  GetWindowRect(sheet, &box);
  GetWindowRect(viewer.frame(), &frame);
  const long across = box.left + box.right - frame.left - frame.right,
             down = box.top + box.bottom - frame.top - frame.bottom;
  EXPECT_LE(std::abs(across) + std::abs(down), 4) << "not centred";
  HWND page = ShowPage(sheet, 0);
  ASSERT_TRUE(Tick(page, 1014, false));
  page = ShowPage(sheet, 1);
  ASSERT_TRUE(PressIn(page, 1001, VK_END));  // the size slider to Large
  ASSERT_TRUE(WaitFor([&] { return SendDlgItemMessageA(page, 1001, TBM_GETPOS, 0, 0) == 5; }));
  page = ShowPage(sheet, 2);
  ASSERT_TRUE(ClickButton(page, 1007) &&
              WaitFor([&] { return SendDlgItemMessageA(page, 1009, LB_GETCOUNT, 0, 0) == 1; }));
  ASSERT_TRUE(Close(viewer, sheet, IDCANCEL));
  EXPECT_EQ(folder.ReadIni(), ini);
  EXPECT_EQ(ClassesValue(classKey), "<missing>");
  EXPECT_TRUE(TopLineIs(view, 3));

  // OK without a change writes all fifteen settings and the registration,
  // keeps the scroll position and announces nothing.
  sheet = OpenSettings(viewer);
  ASSERT_TRUE(sheet && Close(viewer, sheet, IDOK));
  EXPECT_EQ(viewer.Shown(kDialogClass, "", 0s), nullptr) << "a message after OK";
  EXPECT_TRUE(TopLineIs(view, 3)) << "the scroll position was lost";
  EXPECT_EQ(folder.Settings(),
            "LangDll= WindowPos=0,1,-1,-1,-1,-1,40,40,840,640 RegisterOnStart=1 FileTypes=" + list +
                " TabSize=8 FontSize=3 ForeColor=0 BackColor=16777215 HyperLinkColor=16711680 CopyOnSelect=1"
                " ColumnMode=1 SupportAnsi=1 AlwaysOnTop=0 ReuseViewer=0 SaveMruFiles=1 MurFileNum=10"
                " DecodeMode=0 ");
  for (const auto& [key, value] : {std::pair{classKey, std::string("ASCII Art File")},
                                   {classKey + "\\DefaultIcon", folder.exe() + ",0"},
                                   {classKey + "\\shell\\open\\command", command},
                                   {std::string("Applications\\Mosaikon.exe\\shell\\open\\command"), command},
                                   {"." + types[0], classKey},
                                   {"." + types[1], classKey}})
    EXPECT_EQ(ClassesValue(key), value) << key;

  // The Add File Type rules; then the first entry removed.
  ASSERT_NE(sheet = OpenSettings(viewer), nullptr);
  page = ShowPage(sheet, 2);
  std::string known = "." + types[1];
  CharUpperA(known.data());
  for (const std::string& input : {std::string(), std::string("."), known}) {
    SCOPED_TRACE("typed \"" + input + "\"");
    const auto [message, stayed] = TryToAdd(viewer, page, input);
    EXPECT_EQ(message, input == known ? "File type already exists!" : "Invalid input!");
    EXPECT_EQ(stayed, input != known) << "the dialog stays open only for invalid input";
  }
  ASSERT_TRUE(ClickButton(page, 1007));
  ASSERT_TRUE(Close(viewer, sheet, IDOK));
  EXPECT_EQ(folder.Setting("FileTypes"), types[1] + ";");
  EXPECT_EQ(ClassesValue("." + types[0]) + ClassesValue("." + types[1]), "<missing>" + classKey);

  // The recently viewed entries leave the File menu and come back; Always
  // on Top applies at once.
  const int withRecent = FileMenuHeight(viewer);
  sheet = OpenSettings(viewer);
  ASSERT_TRUE(sheet && Tick(ShowPage(sheet, 0), 1016, false) && Tick(ShowPage(sheet, 0), 1015, true));
  ASSERT_TRUE(Close(viewer, sheet, IDOK));
  EXPECT_TRUE(GetWindowLongPtrA(viewer.frame(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kAlwaysOnTop); }));
  EXPECT_LT(FileMenuHeight(viewer), withRecent);
  sheet = OpenSettings(viewer);
  ASSERT_TRUE(sheet && Tick(ShowPage(sheet, 0), 1016, true));
  ASSERT_TRUE(Close(viewer, sheet, IDOK));
  EXPECT_EQ(FileMenuHeight(viewer), withRecent) << "the stored list was lost";

  // A new font size and background colour show at once.
  ASSERT_TRUE(viewer.Press(VK_HOME, {VK_CONTROL}));
  ASSERT_TRUE(WaitFor([&] { return TopLineIs(view, 0); }));
  ASSERT_NE(sheet = OpenSettings(viewer), nullptr);
  page = ShowPage(sheet, 1);
  ASSERT_TRUE(PressIn(page, 1001, VK_END));
  ASSERT_TRUE(WaitFor([&] { return SendDlgItemMessageA(page, 1001, TBM_GETPOS, 0, 0) == 5; }));
  HWND colours = ClickButton(page, 1003) ? viewer.Shown(kDialogClass, "Color") : nullptr;  // Background...
  ASSERT_NE(colours, nullptr);
  for (auto [field, text] : {std::pair{706, "0"}, {707, "128"}, {708, "0"}}) SetText(colours, field, text);
  ASSERT_TRUE(ClickButton(colours, IDOK) && WaitFor([&] { return !IsWindow(colours); }));
  ASSERT_TRUE(Close(viewer, sheet, IDOK));
  EXPECT_TRUE(WaitFor([&] { return TopLineIs(view, 0, {16, 24}, {0, 128, 0}); })) << "not 16 x 24 cells on green";
  EXPECT_EQ(folder.Setting("FontSize") + " " + folder.Setting("BackColor"), "5 32768");

  // A settings file another program holds open (Wine, running as root,
  // writes a read-only one): one message naming it and the reason; the
  // change applies all the same, and the saves at exit are silent.
  const std::string path = folder.path() + "Mosaikon.ini", before = folder.ReadIni();
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(ExpectOkNotSaved(viewer, path));
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonChecked(kColumnSelect); }));
  EXPECT_EQ(viewer.Exit(), 1);
  CloseHandle(held);
  EXPECT_EQ(folder.ReadIni(), before);
  Unregister(types);
}

// The pack chosen is announced once and used from the next start for the
// menus, the dialogs, the status texts (in the ANSI code page, 1252) and the
// About box.
TEST(SettingsDialog, ChosenLanguageIsAnnouncedOnceAndShownFromTheNextStart) {
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  char german[256] = "";
  VerLanguageNameA(0x0407, german, sizeof german);
  ProgramFolder folder(StandardIni());
  Viewer first(folder);
  ASSERT_TRUE(first.Open());
  HWND sheet = OpenSettings(first);
  ASSERT_NE(sheet, nullptr);
  HWND language = GetDlgItem(ShowPage(sheet, 0), 1023);
  ASSERT_TRUE(PressIn(ShowPage(sheet, 0), 1023, 'G'));
  ASSERT_TRUE(WaitFor([&] { return WindowText(language) == german; })) << WindowText(language);
  ASSERT_TRUE(ClickButton(sheet, IDOK));
  EXPECT_EQ(first.TakeMessage("Mosaikon"),
            "You need to restart this Application for the language change to take effect.");
  first.Settle();
  EXPECT_EQ(folder.Setting("LangDll"), "mkn_deu.dll");
  sheet = OpenSettings(first);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 0), 1023)), german);
  ASSERT_TRUE(Close(first, sheet, IDOK));
  EXPECT_EQ(first.Shown(kDialogClass, "", 0s), nullptr) << "announced a second time";

  // The next start, while this one runs: without ReuseViewer it has a window
  // of its own.
  const std::string sample = folder.WriteFile("hallo.txt", "Hallo\r\n");
  ASSERT_TRUE(SetLocalWriteTime(sample, 2003, 1, 2, 3, 4, 5));
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  EXPECT_EQ(TopWindows(0, kFrameClass).size(), 2u);
  EXPECT_EQ(viewer.MenuBarText(0), "&Datei");
  EXPECT_EQ(viewer.PaneText(0) + "|" + viewer.PaneText(1) + "|" + viewer.PaneText(2),
            "Bereit|\xC4nderungszeit: 2003-01-02 03:04:05|Dateigr\xF6\xDF"
            "e: 7");
  ASSERT_NO_FATAL_FAILURE(ExpectAboutBox(viewer, "Info"));
  sheet = OpenSettings(viewer, "Einstellungen");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 0), 1014)), "Spaltenweise markieren");
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 1), 1003)), "Hintergrund...");
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 2), 1007)), "Entfernen");
  ASSERT_TRUE(Close(viewer, sheet, IDCANCEL));
  EXPECT_EQ(viewer.Close(), 1);
  EXPECT_EQ(first.Close(), 1);
}

// Values the program cannot use and keys other programs share, as a careless
// hand or another program leaves them: a type list far longer than the
// 1,023 bytes once read back (and cut there inside an extension), colours
// outside the colour range, and an extension's key with another program's
// class, values and subkeys. Registration claims the key and keeps the old
// class; removing the type gives it back and touches nothing else; the
// list and the colours are written back as they were.
TEST(SettingsDialog, ALongTypeListOddColoursAndAnotherProgramsKeySurviveEditing) {
  const std::string id = std::to_string(GetCurrentProcessId()), foreign = "f" + id;
  std::vector<std::string> types;
  std::string list;
  for (int i = 1; i <= 150; ++i) {
    types.push_back("m" + id + "x" + std::to_string(1000 + i).substr(1));
    list += types.back() + ";";
  }
  // The second type is as long as makes 1,023 bytes end inside a type.
  std::string plain = "g" + id, stored;
  for (;; plain += "z") {
    stored = foreign + ";" + plain + ";" + list;
    if (stored[1022] != ';' && stored[1023] != ';') break;
  }
  const std::string fragment = stored.substr(0, 1023).substr(stored.rfind(';', 1022) + 1);
  std::vector<std::string> every = types;
  every.insert(every.end(), {foreign, plain, fragment});
  Unregister(every);
  const std::string foreignKey = "." + foreign, userClasses = "Software\\Classes\\";
  for (const auto& [key, name, value] : {std::tuple{foreignKey, "", "Other.Document"},
                                         {foreignKey, "Content Type", "text/plain"},
                                         {foreignKey, "PerceivedType", "text"},
                                         {foreignKey + "\\ShellNew", "NullFile", ""},
                                         {foreignKey + "\\OpenWithProgids", "Other.Document", ""}})
    ASSERT_TRUE(SetRegistryValue(HKEY_CLASSES_ROOT, key, name, value));
  const auto foreignValuesKept = [&] {
    return RegistryValue(HKEY_CLASSES_ROOT, foreignKey, "Content Type") + "|" +
           RegistryValue(HKEY_CLASSES_ROOT, foreignKey, "PerceivedType") + "|" +
           RegistryValue(HKEY_CLASSES_ROOT, foreignKey + "\\ShellNew", "NullFile") + "|" +
           RegistryValue(HKEY_CLASSES_ROOT, foreignKey + "\\OpenWithProgids", "Other.Document");
  };
  ProgramFolder folder(
      StandardIni({"RegisterOnStart=1", "FileTypes=" + stored, "BackColor=-1", "HyperLinkColor=12345678901234567890"}));
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("links.txt", LinkLines(100))));

  // Registered at start-up: the program's path quoted, every type and no
  // fragment of one, the other program's class kept beside the claim, and
  // the keys made among the user's classes first.
  const std::string command = OpenCommand(folder);
  EXPECT_EQ(ClassesValue(std::string(kClassKey) + "\\shell\\open\\command"), command);
  EXPECT_EQ(ClassesValue("Applications\\Mosaikon.exe\\shell\\open\\command"), command);
  EXPECT_EQ(ClassesValue("." + types.back()) + ClassesValue("." + plain) + ClassesValue(foreignKey),
            std::string(kClassKey) + kClassKey + kClassKey);
  EXPECT_EQ(ClassesValue("." + fragment), "<missing>") << "a fragment of a type was registered";
  EXPECT_EQ(RegistryValue(HKEY_CLASSES_ROOT, foreignKey, "Mosaikon.Backup"), "Other.Document");
  EXPECT_EQ(foreignValuesKept(), "text/plain|text||");
  for (const std::string& key : {foreignKey, std::string(kClassKey) + "\\shell\\open\\command"})
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, userClasses + key)) << key;
  // The default colours: links blue on white.
  EXPECT_TRUE(WaitFor([&] { return TopLineIs(viewer.View(), 0); })) << "not the default colours";

  // The page lists every type; the first two are removed. Refused: two
  // types in one, a subkey, and the types of programs and shortcuts.
  HWND sheet = OpenSettings(viewer);
  ASSERT_NE(sheet, nullptr);
  HWND page = ShowPage(sheet, 2);
  const auto listed = [&] { return SendDlgItemMessageA(page, 1009, LB_GETCOUNT, 0, 0); };
  EXPECT_EQ(listed(), 152);
  for (const LRESULT count : {listed() - 1, listed() - 2})
    ASSERT_TRUE(ClickButton(page, 1007) && WaitFor([&] { return listed() == count; }));
  const std::string program =
      " is the type of programs, scripts or shortcuts. Windows could no longer run such files "
      "if Mosaikon opened them.";
  const std::pair<std::string, std::string> refusals[] = {{"a;b", "Invalid input!"},
                                                          {"a\\b", "Invalid input!"},
                                                          {"Shell\\Open", "Invalid input!"},
                                                          {"exe", "\".exe\"" + program},
                                                          {".LNK", "\".LNK\"" + program}};
  for (const auto& [input, expected] : refusals) {
    SCOPED_TRACE("typed \"" + input + "\"");
    EXPECT_EQ(TryToAdd(viewer, page, input), std::pair(expected, true));
  }
  EXPECT_EQ(listed(), 150);

  // The other program's class comes back and nothing else of its key
  // changes; the key the program made alone goes.
  ASSERT_TRUE(Close(viewer, sheet, IDOK));
  EXPECT_EQ(ClassesValue(foreignKey), "Other.Document");
  EXPECT_EQ(RegistryValue(HKEY_CLASSES_ROOT, foreignKey, "Mosaikon.Backup"), "<missing>");
  EXPECT_EQ(foreignValuesKept(), "text/plain|text||");
  for (const std::string& key : {"." + plain, userClasses + foreignKey, userClasses + "." + plain})
    EXPECT_FALSE(RegistryKeyExists(key.starts_with(".") ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER, key)) << key;
  EXPECT_EQ(ClassesValue("." + types.front()), kClassKey);

  // Written back whole, and the colours as they were read.
  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.Setting("FileTypes"), list);
  EXPECT_EQ(folder.Setting("BackColor") + " " + folder.Setting("HyperLinkColor"), "-1 12345678901234567890");
  Unregister(every);
}

// Another program holds the settings file without sharing while the program
// starts: it reads defaults, so it must not write them over the file, not
// when a setting changes, not when the window closes, not at exit. A change
// in the Settings dialog says once that it is not saved.
TEST(SettingsDialog, AnIniLockedAtStartIsNeverWrittenOver) {
  std::vector<std::string> ini =
      StandardIni({"TabSize=4", "FontSize=2", "ColumnMode=0", "CopyOnSelect=0", "MurFileNum=7", "BackColor=255"});
  ini.insert(ini.end(), {"[MRU]", "1=C:\\art\\old.ans"});
  ProgramFolder folder(ini);
  const std::string path = folder.path() + "Mosaikon.ini", before = folder.ReadIni();
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Viewer viewer(folder);
  const bool opened = viewer.Open(folder.WriteFile("links.txt", LinkLines(10)));
  CloseHandle(held);
  ASSERT_TRUE(opened);

  ASSERT_NO_FATAL_FAILURE(ExpectOkNotSaved(viewer, path));
  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.ReadIni(), before);
}

}  // namespace
}  // namespace mosaikon::e2e
