// Export as Image: asks where to save the PNG (and, for a document too large
// for one image, whether its first part will do), writes it, showing the
// progress of a long export, which Cancel stops, and reports a failure.
#pragma once

#include <windows.h>

#include <string>

#include "view/win32/text_view.h"

namespace mosaikon {

// `documentPath` (UTF-8) gives the name and folder the Save dialog proposes.
void ExportAsImage(HWND owner, const TextView& view, const std::string& documentPath);

}  // namespace mosaikon
