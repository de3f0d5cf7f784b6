// The General page of the Settings dialog: the selection, ANSI and window
// switches, the recently viewed list, the tab size and the language. It
// edits its own copies, which the Settings command fills in before the
// dialog opens and reads back after OK; every change of a control updates
// its copy at once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/property_sheet.h"
#include "settings/win32/language_packs.h"

namespace mosaikon {

class GeneralPage : public PropertyPage<GeneralPage> {
 public:
  std::int32_t TabSize = 8;
  std::int32_t CopyOnSelect = 1;
  std::int32_t ColumnMode = 1;
  std::int32_t SupportAnsi = 1;
  std::int32_t AlwaysOnTop = 0;
  std::int32_t ReuseViewer = 0;
  std::int32_t SaveMruFiles = 1;
  std::int32_t MurFileNum = 10;
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

  std::vector<std::string> packs_;  // the pack of each language box entry, by the entry's item data
};

}  // namespace mosaikon
