// The executable's folder and the language packs installed beside it:
// resource-only modules "language\mkn_*.dll", each named by the language of
// the first entry of its version translation table.
#pragma once

#include <string>

#include "settings/win32/settings.h"

namespace mosaikon {

// The executable's full path without its file name, ending with "\".
std::string ModuleDirectory();

// Display name -> pack file name for every pack found, plus the built-in
// English under the name of identifier 1033 with an empty file name.
LanguageMap EnumerateLanguagePacks();

}  // namespace mosaikon
