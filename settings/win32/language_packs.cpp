// Finding the language packs in the language folder.
#include "settings/win32/language_packs.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/win32/handles.h"

namespace mosaikon {

namespace {

// The language of a pack: the first translation entry of its version record.
bool PackLanguage(const std::string& path, WORD& languageId) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return false;
  void* translation = nullptr;
  UINT translationSize = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &translation, &translationSize)) return false;
  // Each entry is a language id followed by a code page; only the first counts.
  if (!translation || translationSize < sizeof(WORD)) return false;
  languageId = *static_cast<const WORD*>(translation);
  return true;
}

}  // namespace

std::string ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string ModuleDirectory() {
  std::string directory = ModulePath();
  const std::size_t slash = directory.rfind('\\');
  directory.resize(slash == std::string::npos ? 0 : slash + 1);
  return directory;
}

std::string LanguageName(LANGID languageId) {
  char name[256] = {};  // a name too long for it comes back cut, still terminated
  VerLanguageNameA(languageId, name, sizeof name);
  return std::string(name, strnlen(name, sizeof name));
}

LanguageMap EnumerateLanguagePacks() {
  LanguageMap languages;
  const std::string directory = ModuleDirectory();
  WIN32_FIND_DATAA entry{};
  const std::string folder = directory + "language\\";
  const FindHandle search(directory.empty() ? INVALID_HANDLE_VALUE
                                            : FindFirstFileA((folder + "mkn_*.dll").c_str(), &entry));
  for (bool found = static_cast<bool>(search); found; found = FindNextFileA(search.get(), &entry) != FALSE) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    WORD languageId = 0;
    if (PackLanguage(folder + entry.cFileName, languageId)) languages[LanguageName(languageId)] = entry.cFileName;
  }
  // The program's own resources are English; no pack can stand in for them.
  languages[LanguageName(1033)] = "";
  return languages;
}

}  // namespace mosaikon
