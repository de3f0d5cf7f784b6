// The Font page of the Settings dialog: the size step of the cell font on a
// slider, the three colours through the system's colour dialog, and a
// preview of text and a link in that font and those colours. It edits its
// own copies, which the Settings command fills in and reads back.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/property_sheet.h"

namespace mosaikon {

class FontPage : public PropertyPage<FontPage> {
 public:
  std::int32_t FontSize = 3;
  std::uint32_t ForeColor = 0;
  std::uint32_t BackColor = 16777215;
  std::uint32_t HyperLinkColor = 16711680;

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void ChooseColour(std::uint32_t& colour);
  void DrawPreview(const DRAWITEMSTRUCT& item) const;
  void RedrawPreview() const;

  HWND slider_ = nullptr;
};

}  // namespace mosaikon
