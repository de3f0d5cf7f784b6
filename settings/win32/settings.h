// The process-wide settings object: the stored settings plus what the program
// derives from them (fonts, background brush), the link cursor, the ANSI
// palette and the paths. Constructed during static initialisation, before
// WinMain runs; its destruction writes every setting back to the INI file
// (unless saveAtExit was cleared).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/handles.h"
#include "document/ansi_interpreter.h"
#include "settings/ini_store.h"
#include "settings/settings_model.h"
#include "settings/win32/language_packs.h"

namespace mosaikon {

class Settings : public SettingsModel {
 public:
  Settings();
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // Rebuilds the fonts and the brush from FontSize, DecodeMode and BackColor.
  void CreateFonts();
  // Rebuilds only the Chinese font, for a new DecodeMode.
  void CreateChineseFont();

  std::int32_t fontWidth = 8;
  std::int32_t fontHeight = 12;
  GdiFont terminalFont;
  GdiFont chineseFont;
  GdiBrush backgroundBrush;
  HCURSOR linkCursor = nullptr;  // a resource cursor: shared, never destroyed
  AnsiPalette palette{};
  std::string modulePath;
  std::string iniPath;  // empty when the folder's path is too long: nothing is stored
  LanguageMap languages;
  // Cleared by a copy that only hands its file over: it changed nothing, and
  // its write would race the running copy's own writes to the same file.
  bool saveAtExit = true;

  // The INI store of iniPath, or none when storage is refused.
  IniStore* ini() const { return ini_.get(); }

 private:
  std::unique_ptr<IniStore> ini_;
};

// The one instance, made during static initialisation.
Settings& TheSettings();

}  // namespace mosaikon
