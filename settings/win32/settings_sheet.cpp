// The Settings dialog's pages and their copy of the settings.
#include "settings/win32/settings_sheet.h"

#include "framework/property_sheet.h"
#include "framework/resource_string.h"
#include "settings/settings_resource_ids.h"

namespace mosaikon {

SettingsSheet::SettingsSheet(const Settings& settings, const std::string& languagePack) : values(settings) {
  general.language = languagePack;
  general.languages = settings.languages;
}

bool SettingsSheet::Run(HWND owner) {
  return RunPropertySheet(
      owner, LoadResourceString(IDS_SETTINGS_CAPTION),
      {general.CreatePage(IDD_GENERAL_PAGE), font.CreatePage(IDD_FONT_PAGE), shell.CreatePage(IDD_SHELL_PAGE)});
}

void SettingsSheet::CopyBack(Settings& settings) const {
  settings.MurFileNum = values.MurFileNum;
  settings.TabSize = values.TabSize;
  settings.FontSize = values.FontSize;
  settings.CopyOnSelect = values.CopyOnSelect;
  settings.ForeColor = values.ForeColor;
  settings.ColumnMode = values.ColumnMode;
  settings.BackColor = values.BackColor;
  settings.SupportAnsi = values.SupportAnsi;
  settings.HyperLinkColor = values.HyperLinkColor;
  settings.AlwaysOnTop = values.AlwaysOnTop;
  settings.RegisterOnStart = values.RegisterOnStart;
  settings.ReuseViewer = values.ReuseViewer;
  settings.SaveMruFiles = values.SaveMruFiles;
}

}  // namespace mosaikon
