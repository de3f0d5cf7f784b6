// The one Settings object of the process. It is made during static
// initialisation, before WinMain, and its destruction after WinMain has
// returned writes the settings back to the INI file.
#include "settings/win32/settings.h"

#include <windows.h>

#include "framework/window.h"
#include "settings/settings_resource_ids.h"
#include "settings/win32/language_packs.h"

namespace mosaikon {

Settings::Settings() {
  palette = DefaultAnsiPalette();
  modulePath = ModulePath();
  if (!modulePath.empty()) iniPath = IniPathFor(modulePath).value_or("");
  if (!iniPath.empty()) ini_ = OpenIniStore(iniPath);
  linkCursor = LoadCursorA(ProgramModule(), MAKEINTRESOURCEA(IDCUR_LINK));
  languages = EnumerateLanguagePacks();
  if (ini_) Load(*ini_);
  CreateFonts();
}

Settings::~Settings() {
  terminalFont.Reset();
  chineseFont.Reset();
  backgroundBrush.Reset();
  if (ini_ && saveAtExit) Save(*ini_);
}

Settings& TheSettings() {
  // Made by whoever asks first, so no order among the globals matters.
  static Settings settings;
  return settings;
}

namespace {
// Makes sure the object exists before WinMain even if nothing asked earlier.
[[maybe_unused]] Settings& constructedAtStart = TheSettings();
}  // namespace

}  // namespace mosaikon
