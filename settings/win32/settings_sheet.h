// The Settings dialog: the General, Font and Shell Integration pages in one
// modal sheet. The pages work on a copy of the settings; nothing outside
// the dialog changes before OK.
#pragma once

#include <windows.h>

#include <string>

#include "settings/settings_model.h"
#include "settings/win32/font_page.h"
#include "settings/win32/general_page.h"
#include "settings/win32/settings.h"
#include "settings/win32/shell_page.h"

namespace mosaikon {

class SettingsSheet {
 public:
  // The copy of the settings and the language pack in use.
  SettingsSheet(const Settings& settings, const std::string& languagePack);

  // Runs the dialog owned by `owner`; true when it ended with OK.
  bool Run(HWND owner);

  // Copies what the pages edit into `settings`, all but FileTypes, which
  // the caller needs in its old state to unregister dropped extensions.
  void CopyBack(Settings& settings) const;

  SettingsModel values;  // the pages' copy
  GeneralPage general{values};
  FontPage font{values};
  ShellPage shell{values};
};

}  // namespace mosaikon
