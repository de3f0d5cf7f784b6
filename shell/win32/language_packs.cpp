// Finding the language packs in the language folder.
#include "shell/win32/language_packs.h"

#include <windows.h>

#include <vector>

namespace mosaikon {

namespace {

std::string LanguageName(WORD languageId) {
  char name[256] = {};
  const DWORD length = VerLanguageNameA(languageId, name, sizeof name);
  return std::string(name, length < sizeof name ? length : sizeof name - 1);
}

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

std::string ModuleDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length < sizeof path ? length : 0);
  const std::size_t slash = directory.rfind('\\');
  directory.resize(slash == std::string::npos ? 0 : slash + 1);
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory;
}

LanguageMap EnumerateLanguagePacks() {
  LanguageMap languages;
  const std::string folder = ModuleDirectory() + "language\\";
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "mkn_*.dll").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      WORD languageId = 0;
      if (!PackLanguage(folder + entry.cFileName, languageId)) continue;
      languages[LanguageName(languageId)] = entry.cFileName;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  // The program's own resources are English; no pack can stand in for them.
  languages[LanguageName(1033)] = "";
  return languages;
}

}  // namespace mosaikon
