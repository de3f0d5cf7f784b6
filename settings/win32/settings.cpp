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
  if (ini_) LoadStored();
  CreateFonts();
}

void Settings::LoadStored() {
  // A file that is there but cannot be read (another program holds it locked)
  // gives the defaults. Written back, they would replace what the user set:
  // nothing is written to the file while the program runs. Asked before and
  // after, so a lock taken while the keys are read counts too. Other copies
  // of this program do not touch the file in between.
  const IniLock lock;
  unreadable_ = IniReadFailure(iniPath);
  Load(*ini_);
  if (!unreadable_) unreadable_ = IniReadFailure(iniPath);
  if (unreadable_) ini_ = ReadOnlyIniStore(std::move(ini_));
}

Settings::~Settings() {
  terminalFont.Reset();
  chineseFont.Reset();
  backgroundBrush.Reset();
  if (ini_ && saveAtExit_) Save(*ini_);
}

void Settings::SaveBeforeHandOver() {
  if (ini_) Save(*ini_);
  saveAtExit_ = false;
}

namespace {

// Passes everything to the INI store and keeps the reason for the first
// write it refused: `refusal` when the file is not written at all.
class ReportingStore final : public IniStore {
 public:
  ReportingStore(IniStore* store, ErrorCode refusal) : store_(store), refusal_(refusal) {}

  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override {
    return store_ ? store_->GetInt(section, key, defaultValue) : defaultValue;
  }
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    return store_ ? store_->GetString(section, key, defaultValue, bufferSize) : std::string(defaultValue);
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    return Note([&] { return store_->WriteString(section, key, value); });
  }
  bool ClearSection(std::string_view section) override {
    return Note([&] { return store_->ClearSection(section); });
  }
  std::vector<std::string> Lines(std::string_view section) const override {
    return store_ ? store_->Lines(section) : std::vector<std::string>{};
  }

  bool Failed(ErrorCode& error) const {
    if (failed_) error = error_;
    return failed_;
  }

 private:
  template <typename Write>
  bool Note(Write write) {
    // No store: the executable's folder path is too long for an INI path.
    if (!store_) return Refused(ERROR_FILENAME_EXCED_RANGE);
    if (refusal_) return Refused(refusal_);
    SetLastError(ERROR_SUCCESS);
    if (write()) return true;
    // A value the store refuses itself (a line break) has no system error.
    const DWORD code = GetLastError();
    return Refused(code != ERROR_SUCCESS ? code : ERROR_INVALID_DATA);
  }
  bool Refused(ErrorCode code) {
    if (!failed_) error_ = code;
    failed_ = true;
    return false;
  }

  IniStore* store_;
  ErrorCode refusal_;
  bool failed_ = false;
  ErrorCode error_ = 0;
};

}  // namespace

bool Settings::SaveReporting(ErrorCode& error) {
  ReportingStore store(ini_.get(), unreadable_);
  Save(store);
  return !store.Failed(error);
}

bool Settings::WriteReporting(const char* key, const std::string& value, ErrorCode& error) {
  ReportingStore store(ini_.get(), unreadable_);
  store.WriteString(kSettingsSection, key, value);
  return !store.Failed(error);
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
