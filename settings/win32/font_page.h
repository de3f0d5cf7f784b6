// The Font page of the Settings dialog: the size step of the cell font on a
// slider, the three colours through the system's colour dialog, and a
// preview of text and a link in that font and those colours. It edits the
// sheet's copy of the settings.
#pragma once

#include <windows.h>

#include "framework/property_sheet.h"
#include "settings/settings_model.h"

namespace mosaikon {

class FontPage : public PropertyPage<FontPage> {
 public:
  explicit FontPage(SettingsModel& values) : values_(values) {}

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void ChooseColour(std::uint32_t& colour);
  void DrawPreview(const DRAWITEMSTRUCT& item) const;
  void RedrawPreview() const;

  SettingsModel& values_;
  HWND slider_ = nullptr;
};

}  // namespace mosaikon
