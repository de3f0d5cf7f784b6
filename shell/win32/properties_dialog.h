// The Properties dialog: what the file on display is and what its metadata
// record says about the art, one "label: value" line each, in a read-only
// text box. Labels come from the resource module's string table, so a
// language pack translates them.
#pragma once

#include <windows.h>

#include <string>

#include "document/text_document.h"

namespace mosaikon {

// Runs the dialog for `document`, loaded from `path` (UTF-8), owned by `owner`.
void ShowPropertiesDialog(HWND owner, const TextDocument& document, const std::string& path);

}  // namespace mosaikon
