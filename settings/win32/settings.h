// The process-wide settings object: the stored settings plus what the program
// derives from them (fonts, background brush), the link cursor, the ANSI
// palette and the paths. Constructed during static initialisation, before
// WinMain runs; its destruction writes every setting back to the INI file
// (unless a copy that hands its file over wrote them before, SaveBeforeHandOver,
// or the file was there but could not be read: then nothing is written to it).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/system.h"
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
  // For a copy about to hand its file to the running viewer: writes the
  // settings now instead of at exit. Once the file is handed over the running
  // viewer writes the same file (its recently viewed list), and two processes
  // rewriting one INI file at once lose each other's changes.
  void SaveBeforeHandOver();
  // For such a copy whose hand-over failed and which shows the file itself.
  void SaveAtExitAgain() { saveAtExit_ = true; }

  // The INI store of iniPath, or none when storage is refused. Every write
  // goes through it, and it refuses them all when the file could not be read.
  IniStore* ini() const { return ini_.get(); }

  // Writes the fifteen settings now, or one key of section "Settings", for a
  // caller that tells the user when they could not be stored: false with the
  // system's reason for the first write the INI file refused (or for not
  // reading it).
  bool SaveReporting(ErrorCode& error);
  bool WriteReporting(const char* key, const std::string& value, ErrorCode& error);

 private:
  void LoadStored();

  std::unique_ptr<IniStore> ini_;
  ErrorCode unreadable_ = 0;  // why an existing INI file could not be read at start
  bool saveAtExit_ = true;
};

// The "Terminal" OEM font of `width` x `height` pixel cells; 0 x 0 asks for
// the face's own size.
GdiFont MakeTerminalFont(std::int32_t width, std::int32_t height);

// The one instance, made during static initialisation.
Settings& TheSettings();

}  // namespace mosaikon
