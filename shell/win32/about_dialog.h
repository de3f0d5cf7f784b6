// The About box: dialog 100 with the program's icon, name and version and
// two hyperlink lines; OK or Esc closes it.
#pragma once

#include <windows.h>

namespace mosaikon {

// Runs the About box, owned by `owner`.
void ShowAboutBox(HWND owner);

}  // namespace mosaikon
