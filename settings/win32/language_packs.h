// The executable's folder and the language packs installed beside it:
// resource-only modules "language\mkn_*.dll", each named by the language of
// the first entry of its version translation table.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace mosaikon {

// Language display name -> pack file name (empty for the built-in English).
using LanguageMap = std::map<std::string, std::string>;

// The executable's full path; empty when it does not fit the 260 bytes the
// program allows for a path, since a path cut short names another file.
std::string ModulePath();

// The executable's folder ending with "\"; empty when ModulePath() is, and
// then nothing is looked for beside the executable.
std::string ModuleDirectory();

// The system's display name of a language identifier.
std::string LanguageName(LANGID languageId);

// Display name -> pack file name for every pack found, plus the built-in
// English under the name of identifier 1033 with an empty file name.
LanguageMap EnumerateLanguagePacks();

}  // namespace mosaikon
