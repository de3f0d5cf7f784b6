// Loading and saving of the fifteen stored settings in section "Settings",
// the font cell of each FontSize step, and the INI file's path beside the
// executable.
#include "settings/settings_model.h"

#include <string>

namespace mosaikon {

namespace {

constexpr std::size_t kFileTypesBuffer = 1024;  // so at most 1023 characters arrive
constexpr const char* kModernRenderingKey = "ModernRendering";
// A value no stored key has: the default that tells a missing key.
constexpr const char* kAbsent = "\x01";

std::string Decimal(std::int32_t value) {
  return std::to_string(value);
}

// Colours are unsigned in memory but stored as signed decimal numbers, so a
// value with bit 31 set (only a hand-edited file holds one) keeps its bits.
std::int32_t ColourAsSigned(std::uint32_t colour) {
  return static_cast<std::int32_t>(colour);
}

const char* Flag(std::int32_t value) {
  return value != 0 ? "1" : "0";
}

}  // namespace

FontCell FontCellForSize(std::int32_t fontSize) {
  switch (fontSize) {
    case 1:
      return {4, 6};
    case 2:
      return {6, 8};
    case 4:
      return {12, 16};
    case 5:
      return {16, 24};
    default:
      return {8, 12};
  }
}

void SettingsModel::Load(const IniStore& ini) {
  auto integer = [&](const char* key, std::int32_t defaultValue) {
    return ini.GetInt(kSettingsSection, key, defaultValue);
  };
  auto colour = [&](const char* key, std::uint32_t defaultValue) {
    return static_cast<std::uint32_t>(integer(key, ColourAsSigned(defaultValue)));
  };

  const SettingsModel defaults;
  TabSize = integer("TabSize", defaults.TabSize);
  FontSize = integer("FontSize", defaults.FontSize);
  ForeColor = colour("ForeColor", defaults.ForeColor);
  BackColor = colour("BackColor", defaults.BackColor);
  HyperLinkColor = colour("HyperLinkColor", defaults.HyperLinkColor);
  FileTypes = ini.GetString(kSettingsSection, "FileTypes", defaults.FileTypes, kFileTypesBuffer);
  RegisterOnStart = integer("RegisterOnStart", defaults.RegisterOnStart);
  CopyOnSelect = integer("CopyOnSelect", defaults.CopyOnSelect);
  ColumnMode = integer("ColumnMode", defaults.ColumnMode);
  SupportAnsi = integer("SupportAnsi", defaults.SupportAnsi);
  AlwaysOnTop = integer("AlwaysOnTop", defaults.AlwaysOnTop);
  ReuseViewer = integer("ReuseViewer", defaults.ReuseViewer);
  SaveMruFiles = integer("SaveMruFiles", defaults.SaveMruFiles);
  MurFileNum = integer("MurFileNum", defaults.MurFileNum);
  DecodeMode = integer("DecodeMode", defaults.DecodeMode);
  ModernRendering = integer(kModernRenderingKey, defaults.ModernRendering);

  if (TabSize < 1) TabSize = 8;
}

void SettingsModel::Save(IniStore& ini) const {
  // Failed writes are ignored: the values in memory stay as they are.
  auto write = [&](const char* key, const std::string& value) { ini.WriteString(kSettingsSection, key, value); };
  write("TabSize", Decimal(TabSize));
  write("FontSize", Decimal(FontSize));
  write("ForeColor", Decimal(ColourAsSigned(ForeColor)));
  write("BackColor", Decimal(ColourAsSigned(BackColor)));
  write("HyperLinkColor", Decimal(ColourAsSigned(HyperLinkColor)));
  write("FileTypes", FileTypes);
  write("RegisterOnStart", Flag(RegisterOnStart));
  write("CopyOnSelect", Flag(CopyOnSelect));
  write("ColumnMode", Flag(ColumnMode));
  write("SupportAnsi", Flag(SupportAnsi));
  write("AlwaysOnTop", Flag(AlwaysOnTop));
  write("ReuseViewer", Flag(ReuseViewer));
  write("SaveMruFiles", Flag(SaveMruFiles));
  write("MurFileNum", Decimal(MurFileNum));
  write("DecodeMode", Decimal(DecodeMode));
  if (ModernRendering != 0 || ini.GetString(kSettingsSection, kModernRenderingKey, kAbsent, 2) != kAbsent) {
    write(kModernRenderingKey, Flag(ModernRendering));
  }
}

std::optional<std::string> IniPathFor(const std::string& modulePath) {
  const std::size_t slash = modulePath.rfind('\\');
  // A module path always names a folder; without one there is no safe place.
  if (slash == std::string::npos) return std::nullopt;
  std::string path = modulePath.substr(0, slash + 1) + kIniFileName;
  if (path.size() + 1 > kMaxPath) return std::nullopt;
  return path;
}

}  // namespace mosaikon
