// The fifteen stored settings with their defaults, and their loading from and
// saving to section "Settings" of the INI file. A value the program cannot
// use is shown as its default but written back as it was read. The Win32
// objects derived from them (fonts, brush, cursor) live with the window code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/ini_store.h"

namespace mosaikon {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kIniFileName = "Mosaikon.ini";
constexpr std::size_t kMaxPath = 260;  // bytes, terminator included

struct FontCell {
  std::int32_t width;
  std::int32_t height;
};

// The FontSize steps.
constexpr std::int32_t kSmallestFontSize = 1;
constexpr std::int32_t kLargestFontSize = 5;
constexpr std::int32_t kDefaultFontSize = 3;

// The cell that a FontSize step asks for; any value outside 1-5 is step 3.
FontCell FontCellForSize(std::int32_t fontSize);

class SettingsModel {
 public:
  // In the INI file's order; names are the INI keys.
  std::int32_t TabSize = 8;
  std::int32_t FontSize = 3;
  std::uint32_t ForeColor = 0;              // black
  std::uint32_t BackColor = 16777215;       // white
  std::uint32_t HyperLinkColor = 16711680;  // blue
  std::string FileTypes;
  std::int32_t RegisterOnStart = 0;
  std::int32_t CopyOnSelect = 1;
  std::int32_t ColumnMode = 1;
  std::int32_t SupportAnsi = 1;
  std::int32_t AlwaysOnTop = 0;
  std::int32_t ReuseViewer = 0;
  std::int32_t SaveMruFiles = 1;
  std::int32_t MurFileNum = 10;
  std::int32_t DecodeMode = 0;

  void Load(const IniStore& ini);
  void Save(IniStore& ini) const;

 private:
  // The stored texts of ForeColor, BackColor and HyperLinkColor when they lay
  // outside 0 to 0xFFFFFF (the colour then holds its default), else empty.
  std::string keptColours_[3];
  // FileTypes as loaded when the stored list had to be cut: left as stored
  // unless the list is changed.
  std::optional<std::string> cutFileTypes_;
};

// The INI path beside the executable: everything after the module path's last
// backslash replaced by "Mosaikon.ini". None when the result would not fit in
// kMaxPath bytes: storage is then refused rather than cut into another name.
std::optional<std::string> IniPathFor(const std::string& modulePath);

}  // namespace mosaikon
