// The About box: dialog 100 with the program's icon, name and version and
// two hyperlink lines; OK or Esc closes it.
#pragma once

#include <windows.h>

#include "framework/dialog.h"

namespace mosaikon {

class AboutDialog : public ModalDialog<AboutDialog> {
 public:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

// Runs the About box, owned by `owner`.
void ShowAboutBox(HWND owner);

}  // namespace mosaikon
