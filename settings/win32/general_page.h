// The General page of the Settings dialog: the selection, ANSI and window
// switches, the recently viewed list, the tab size and the language. It
// edits the sheet's copy of the settings, which the Settings command reads
// back after OK; every change of a control updates the copy at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/property_sheet.h"
#include "settings/settings_model.h"
#include "settings/win32/language_packs.h"

namespace mosaikon {

class GeneralPage : public PropertyPage<GeneralPage> {
 public:
  explicit GeneralPage(SettingsModel& values) : values_(values) {}

  std::string language;   // the pack's file name, empty for English
  LanguageMap languages;  // what the language box offers

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void OnCommand(UINT id, UINT code);
  void ReadNumber(UINT id);
  void EnableMaxNum();
  void FillLanguages();
  void OnLanguageChosen();

  SettingsModel& values_;
  std::vector<std::string> packs_;  // the pack of each language box entry, by the entry's item data
};

}  // namespace mosaikon
