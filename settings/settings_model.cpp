// Loading and saving of the fifteen stored settings in section "Settings",
// the font cell of each FontSize step, and the INI file's path beside the
// executable.
#include "settings/settings_model.h"

#include <algorithm>
#include <string>

namespace mosaikon {

namespace {

std::string Decimal(std::int32_t value) {
  return std::to_string(value);
}

// Colours are unsigned in memory but stored as signed decimal numbers.
std::int32_t ColourAsSigned(std::uint32_t colour) {
  return static_cast<std::int32_t>(colour);
}

constexpr std::int64_t kLargestColour = 0xFFFFFF;

// True when the number a stored colour's text begins with lies outside 0 to
// 0xFFFFFF, however many digits it has (the integer read would have wrapped
// or saturated it).
bool BeyondColours(std::string_view text) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLargestColour + 1);
  }
  return magnitude > kLargestColour || (negative && magnitude > 0);
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
  // A colour outside 0 to 0xFFFFFF shows as its default; its text is kept
  // and written back as it was read while the colour stays so.
  auto colour = [&](const char* key, std::uint32_t defaultValue, std::string& kept) {
    const std::int32_t value = integer(key, ColourAsSigned(defaultValue));
    const std::string text = ReadWholeString(ini, kSettingsSection, key, "");
    kept.clear();
    if (value >= 0 && value <= kLargestColour && !BeyondColours(text)) return static_cast<std::uint32_t>(value);
    kept = text;
    return defaultValue;
  };

  const SettingsModel defaults;
  TabSize = integer("TabSize", defaults.TabSize);
  FontSize = integer("FontSize", defaults.FontSize);
  ForeColor = colour("ForeColor", defaults.ForeColor, keptColours_[0]);
  BackColor = colour("BackColor", defaults.BackColor, keptColours_[1]);
  HyperLinkColor = colour("HyperLinkColor", defaults.HyperLinkColor, keptColours_[2]);
  // Read whole: a list cut short would register a fragment of an extension
  // and lose the rest when written back. Only a list beyond any sensible
  // length is cut, after its last whole extension, and then stays as stored.
  bool cut = false;
  FileTypes = ReadWholeString(ini, kSettingsSection, "FileTypes", defaults.FileTypes, &cut);
  cutFileTypes_.reset();
  if (cut) {
    const std::size_t end = FileTypes.rfind(';');
    FileTypes.resize(end == std::string::npos ? 0 : end + 1);
    cutFileTypes_ = FileTypes;
  }
  RegisterOnStart = integer("RegisterOnStart", defaults.RegisterOnStart);
  CopyOnSelect = integer("CopyOnSelect", defaults.CopyOnSelect);
  ColumnMode = integer("ColumnMode", defaults.ColumnMode);
  SupportAnsi = integer("SupportAnsi", defaults.SupportAnsi);
  AlwaysOnTop = integer("AlwaysOnTop", defaults.AlwaysOnTop);
  ReuseViewer = integer("ReuseViewer", defaults.ReuseViewer);
  SaveMruFiles = integer("SaveMruFiles", defaults.SaveMruFiles);
  MurFileNum = integer("MurFileNum", defaults.MurFileNum);
  DecodeMode = integer("DecodeMode", defaults.DecodeMode);

  if (TabSize < 1) TabSize = 8;
}

void SettingsModel::Save(IniStore& ini) const {
  // Failed writes are ignored: the values in memory stay as they are.
  auto write = [&](const char* key, const std::string& value) { ini.WriteString(kSettingsSection, key, value); };
  const SettingsModel defaults;
  auto colour = [&](std::uint32_t value, std::uint32_t defaultValue, const std::string& kept) {
    return !kept.empty() && value == defaultValue ? kept : Decimal(ColourAsSigned(value));
  };
  write("TabSize", Decimal(TabSize));
  write("FontSize", Decimal(FontSize));
  write("ForeColor", colour(ForeColor, defaults.ForeColor, keptColours_[0]));
  write("BackColor", colour(BackColor, defaults.BackColor, keptColours_[1]));
  write("HyperLinkColor", colour(HyperLinkColor, defaults.HyperLinkColor, keptColours_[2]));
  if (FileTypes != cutFileTypes_) write("FileTypes", FileTypes);
  write("RegisterOnStart", Flag(RegisterOnStart));
  write("CopyOnSelect", Flag(CopyOnSelect));
  write("ColumnMode", Flag(ColumnMode));
  write("SupportAnsi", Flag(SupportAnsi));
  write("AlwaysOnTop", Flag(AlwaysOnTop));
  write("ReuseViewer", Flag(ReuseViewer));
  write("SaveMruFiles", Flag(SaveMruFiles));
  write("MurFileNum", Decimal(MurFileNum));
  write("DecodeMode", Decimal(DecodeMode));
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
