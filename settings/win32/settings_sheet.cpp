// The Settings dialog's pages and their copies.
#include "settings/win32/settings_sheet.h"

#include "framework/property_sheet.h"
#include "framework/resource_string.h"
#include "settings/settings_resource_ids.h"

namespace mosaikon {

SettingsSheet::SettingsSheet(const Settings& settings, const std::string& languagePack) {
  general.TabSize = settings.TabSize;
  general.CopyOnSelect = settings.CopyOnSelect;
  general.ColumnMode = settings.ColumnMode;
  general.SupportAnsi = settings.SupportAnsi;
  general.AlwaysOnTop = settings.AlwaysOnTop;
  general.ReuseViewer = settings.ReuseViewer;
  general.SaveMruFiles = settings.SaveMruFiles;
  general.MurFileNum = settings.MurFileNum;
  general.language = languagePack;
  general.languages = settings.languages;
  font.FontSize = settings.FontSize;
  font.ForeColor = settings.ForeColor;
  font.BackColor = settings.BackColor;
  font.HyperLinkColor = settings.HyperLinkColor;
  shell.FileTypes = settings.FileTypes;
  shell.RegisterOnStart = settings.RegisterOnStart;
}

bool SettingsSheet::Run(HWND owner) {
  return RunPropertySheet(
      owner, LoadResourceString(IDS_SETTINGS_CAPTION),
      {general.CreatePage(IDD_GENERAL_PAGE), font.CreatePage(IDD_FONT_PAGE), shell.CreatePage(IDD_SHELL_PAGE)});
}

void SettingsSheet::CopyBack(Settings& settings) const {
  settings.MurFileNum = general.MurFileNum;
  settings.TabSize = general.TabSize;
  settings.FontSize = font.FontSize;
  settings.CopyOnSelect = general.CopyOnSelect;
  settings.ForeColor = font.ForeColor;
  settings.ColumnMode = general.ColumnMode;
  settings.BackColor = font.BackColor;
  settings.SupportAnsi = general.SupportAnsi;
  settings.HyperLinkColor = font.HyperLinkColor;
  settings.AlwaysOnTop = general.AlwaysOnTop;
  settings.RegisterOnStart = shell.RegisterOnStart;
  settings.ReuseViewer = general.ReuseViewer;
  settings.SaveMruFiles = general.SaveMruFiles;
}

}  // namespace mosaikon
